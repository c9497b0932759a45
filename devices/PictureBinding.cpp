#include "devices/PictureBinding.h"

#include <algorithm>
#include <cctype>

#include "controls/CDeviceKeyButtonUI.h"
#include "toolkit/core/CContainerUI.h"

namespace koru {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Puts the control at `number` when it is inside the table.
bool Place(std::vector<CControlUI*>* table, int number, CControlUI* control) {
  if (table == nullptr || number < 0 || number >= static_cast<int>(table->size())) return false;
  (*table)[static_cast<size_t>(number)] = control;
  return true;
}

}  // namespace

std::optional<NumberedName> SplitNumberedName(std::string_view text) {
  const size_t underscore = text.rfind('_');
  if (underscore == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(underscore + 1);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return NumberedName{text.substr(0, underscore + 1), number};
}

CDeviceKeyButtonUI* AsKeyButton(CControlUI* control) {
  return control != nullptr && control->GetClass() == kDeviceKeyButtonClass ? static_cast<CDeviceKeyButtonUI*>(control)
                                                                            : nullptr;
}

int BindPictureButtons(CContainerUI& panel, const PictureTables& tables) {
  int bound = 0;
  for (int i = 0; i < panel.GetCount(); ++i) {
    CDeviceKeyButtonUI* button = AsKeyButton(panel.GetItemAt(i));
    if (button == nullptr) continue;
    const auto name = SplitNumberedName(button->GetName());
    const auto data = SplitNumberedName(button->GetUserData());
    bool placed = false;
    if (name && EqualsIgnoringCase(name->prefix, "key_")) placed |= Place(tables.keys, name->number, button);
    std::optional<int> light;
    if (data && EqualsIgnoringCase(data->prefix, "light_")) light = data->number;
    else if (tables.lightByName && name && EqualsIgnoringCase(name->prefix, "light_")) light = name->number;
    if (light && Place(tables.lights, *light, button)) {
      placed = true;
      button->SetLightState(0xFFFFFF, 255, true);
    }
    bound += placed ? 1 : 0;
  }
  return bound;
}

}  // namespace koru
