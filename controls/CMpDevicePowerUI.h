#pragma once
// A device's power indicator in the main window: battery level as a bar and a
// percentage, the charging state, the wireless sign and, for the mouse pad,
// the phone lying on its charging surface.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "controls/CMarkupItemUI.h"

class CControlUI;
class CLabelUI;
class CProgressUI;

inline constexpr const char* kMpDevicePowerClass = "MpDevicePower";
inline constexpr const char* kMpDevicePowerMarkup = "XML/CustomControlXML/MpDevicePower.xml";

// The block the pages hand on: the device's power status with byte 3 set by the page.
namespace powerbyte {
inline constexpr std::size_t kLevel = 0;     // percent
inline constexpr std::size_t kState = 1;     // 0 external power, 1 charging, 2 on battery
inline constexpr std::size_t kReceiver = 3;  // 1 through the receiver, 0 by cable
inline constexpr std::size_t kPhone = 5;     // mouse pad: 1 iPhone, 2 Samsung, 3 other, else none
inline constexpr std::size_t kMaxBytes = 64;
}  // namespace powerbyte

class CMpDevicePowerUI : public CMarkupItemUI {
 public:
  CMpDevicePowerUI() : CMarkupItemUI(kMpDevicePowerMarkup) {}
  std::string GetClass() const override;

  // Cabled-only devices show no battery.
  void ShowBattery(bool shown);
  // Reads at most `length` bytes (and at most 64); bytes not given count as 0.
  // A level above 100 shows as 100. Nothing changes when no byte was given or
  // a part the device's kind uses is missing ("device_power_status" is not
  // used: the bar's background shows the charging state).
  void SetPowerData(const std::uint8_t* data, std::size_t length);

 private:
  struct Parts {
    CControlUI* layout = nullptr;
    CLabelUI* value = nullptr;
    CControlUI* wireless = nullptr;
    CProgressUI* progress = nullptr;
    CControlUI* status = nullptr;
    CControlUI* phone = nullptr;
    bool Complete() const { return layout && value && wireless && progress && status && phone; }
    bool CompleteFor(int kind) const {
      return value && progress && (wireless || (kind != 1 && kind != 2)) && (phone || kind != 3);
    }
  };
  Parts& FindParts();

  Parts m_parts;
};
