#include "devices/CKestroKeyboardDevice.h"

#include "devices/EffectTables.h"
#include "toolkit/core/CPaintManagerUI.h"

CKestroKeyboardDevice::CKestroKeyboardDevice() : CKestroUSBDevice(kKindKeyboard, "KestroKeyboardDevice") {}

// The light thread calls this kind's steps, so it stops before the kind goes.
CKestroKeyboardDevice::~CKestroKeyboardDevice() { StopLightThread(); }

void CKestroKeyboardDevice::InitDevicePage() {
  if (m_pManager != nullptr) m_pManager->AddNotifier(this);
  CKestroUSBDevice::InitDevicePage();
}

void CKestroKeyboardDevice::BuildDeviceControls() {
  BindPictureContainer(FindContainer("keyboard_device_key_light"), true);
}

std::span<const CKestroUSBDevice::EffectSlot> CKestroKeyboardDevice::EffectTable() const {
  return koru::KeyboardEffects();
}
