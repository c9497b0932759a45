#include "controls/CMpDevicePowerUI.h"

#include <algorithm>
#include <cstring>

#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/CProgressUI.h"
#include "toolkit/core/CPaintManagerUI.h"

namespace {

struct PhoneLook {
  const char* textId;
  const char* image;
};

PhoneLook LookOfPhone(std::uint8_t type) {
  switch (type) {
    case 1:
      return {"Phone_type_iphone", "file='power/Phone_type_iphone.png'"};
    case 2:
      return {"Phone_type_samsung", "file='power/Phone_type_samsung.png'"};
    case 3:
      return {"Phone_type_other", "file='power/Phone_type_other.png'"};
    default:
      return {"Phone_type_no_device", "file='power/Phone_type_no_device.png'"};
  }
}

}  // namespace

std::string CMpDevicePowerUI::GetClass() const { return kMpDevicePowerClass; }

CMpDevicePowerUI::Parts& CMpDevicePowerUI::FindParts() {
  if (m_parts.Complete()) return m_parts;
  // Looked up on first use, and again while a part is still missing.
  m_parts.layout = FindSubControl("device_power_Layout");
  m_parts.value = dynamic_cast<CLabelUI*>(FindSubControl("device_power_value"));
  m_parts.wireless = FindSubControl("device_wuxian_logo");
  m_parts.progress = dynamic_cast<CProgressUI*>(FindSubControl("device_Power_progress"));
  m_parts.status = FindSubControl("device_power_status");
  m_parts.phone = FindSubControl("device_phone_type");
  return m_parts;
}

void CMpDevicePowerUI::ShowBattery(bool shown) {
  if (CControlUI* layout = FindParts().layout) layout->SetVisible(shown);
}

void CMpDevicePowerUI::SetPowerData(const std::uint8_t* data, std::size_t length) {
  if (!data || length == 0) return;
  std::array<std::uint8_t, powerbyte::kMaxBytes> block{};
  std::memcpy(block.data(), data, std::min(length, block.size()));
  Parts& parts = FindParts();
  if (!parts.CompleteFor(m_kind)) return;

  int level = std::min<int>(block[powerbyte::kLevel], 100);
  parts.progress->SetValue(100 - level);
  parts.value->SetText(std::to_string(level) + "%");

  bool receiver = block[powerbyte::kReceiver] == 1;
  if (m_kind == 1 || m_kind == 2) parts.wireless->SetVisible(receiver);

  switch (block[powerbyte::kState]) {
    case 0:
      parts.progress->SetVisible(true);
      parts.progress->SetBkImage("file='power/powered.png'");
      break;
    case 1:
      // Through the receiver the charge a cable gives is not the battery's own state.
      parts.progress->SetVisible(block[powerbyte::kReceiver] == 0);
      parts.progress->SetBkImage("file='power/powering.png'");
      break;
    case 2:
      parts.progress->SetVisible(true);
      parts.progress->SetBkImage("file='power/power.png'");
      break;
    default:
      break;
  }

  if (m_kind == 3) {
    PhoneLook look = LookOfPhone(block[powerbyte::kPhone]);
    parts.phone->SetResourceText(true);
    parts.phone->SetText(look.textId);
    parts.phone->SetBkImage(look.image);
  }
}
