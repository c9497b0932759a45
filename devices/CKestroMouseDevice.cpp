#include "devices/CKestroMouseDevice.h"

#include "devices/EffectTables.h"
#include "controls/CSelectPanelUI.h"
#include "toolkit/core/CContainerUI.h"

CKestroMouseDevice::CKestroMouseDevice() { SetKind(kKindMouse); }

CKestroMouseDevice::~CKestroMouseDevice() { StopLightThread(); }

std::string CKestroMouseDevice::GetClass() const { return "KestroMouseDeviceUI"; }

void* CKestroMouseDevice::GetInterface(std::string_view name) {
  if (name == "KestroMouseDevice") return this;
  return CKestroUSBDevice::GetInterface(name);
}

void CKestroMouseDevice::InitDevicePage() {
  if (PreparePictureTables()) BuildDeviceControls();
}

void CKestroMouseDevice::BuildDeviceControls() {
  CContainerUI* settings = FindContainer("mouse_device_seting_layout");
  if (settings == nullptr) return;
  for (int i = 0; i < settings->GetCount(); ++i) {
    CControlUI* child = settings->GetItemAt(i);
    if (child->GetClass() == kSelectPanelClass)
      BindPictureContainer(static_cast<CContainerUI*>(child->GetInterface(DUI_CTR_CONTAINER)), true);
  }
}

std::span<const CKestroUSBDevice::EffectSlot> CKestroMouseDevice::EffectTable() const { return koru::MouseEffects(); }
