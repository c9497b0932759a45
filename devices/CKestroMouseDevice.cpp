#include "devices/CKestroMouseDevice.h"

#include "controls/CSelectPanelUI.h"
#include "devices/EffectTables.h"
#include "profiles/CMouseProfiledata.h"
#include "toolkit/core/CContainerUI.h"

CKestroMouseDevice::CKestroMouseDevice() : CKestroUSBDevice(kKindMouse, "KestroMouseDevice") {}

// The light thread calls this kind's steps, so it stops before the kind goes.
CKestroMouseDevice::~CKestroMouseDevice() { StopLightThread(); }

void CKestroMouseDevice::BuildDeviceControls() {
  CContainerUI* settings = FindContainer("mouse_device_seting_layout");
  if (settings == nullptr) return;
  for (int i = 0; i < settings->GetCount(); ++i) {
    CControlUI* child = settings->GetItemAt(i);
    if (child->GetClass() == kSelectPanelClass)
      BindPictureContainer(static_cast<CContainerUI*>(child->GetInterface(DUI_CTR_CONTAINER)), true);
  }
}

std::span<const CKestroUSBDevice::EffectSlot> CKestroMouseDevice::EffectTable() const {
  return koru::MouseEffects();
}

std::unique_ptr<CBasicProfiledata> CKestroMouseDevice::MakeProfile() const { return std::make_unique<CMouseProfiledata>(); }
