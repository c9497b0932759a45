#pragma once
// Finds the key and light buttons of a device picture by their names ("key_7",
// "light_12") and their user data, and puts each into its table at its number.
#include <optional>
#include <string_view>
#include <vector>

class CControlUI;
class CContainerUI;
class CDeviceKeyButtonUI;

namespace koru {

struct NumberedName {
  std::string_view prefix;  // up to and including the last underscore
  int number = 0;
};

// Splits at the last underscore. Nothing for a text without one, or whose rest
// is not a plain decimal number (digits only, at most nine).
std::optional<NumberedName> SplitNumberedName(std::string_view text);

// The picture button a bound control is, or null.
CDeviceKeyButtonUI* AsKeyButton(CControlUI* control);

struct PictureTables {
  std::vector<CControlUI*>* keys = nullptr;
  std::vector<CControlUI*>* lights = nullptr;
  // Page kinds also take "light_" from the name, not only from the user data.
  bool lightByName = false;
};

// Binds every "DeviceKeyButton" child of the panel into the tables, whose sizes
// stay as they are: numbers outside them are ignored, the later of two buttons
// with one number wins. A bound light starts white and lit. Returns the number
// of buttons bound.
int BindPictureButtons(CContainerUI& panel, const PictureTables& tables);

}  // namespace koru
