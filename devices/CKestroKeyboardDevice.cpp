#include "devices/CKestroKeyboardDevice.h"

#include "devices/EffectTables.h"
#include "toolkit/core/CPaintManagerUI.h"

CKestroKeyboardDevice::CKestroKeyboardDevice() { SetKind(kKindKeyboard); }

CKestroKeyboardDevice::~CKestroKeyboardDevice() { StopLightThread(); }

std::string CKestroKeyboardDevice::GetClass() const { return "KestroKeyboardDeviceUI"; }

void* CKestroKeyboardDevice::GetInterface(std::string_view name) {
  if (name == "KestroKeyboardDevice") return this;
  return CKestroUSBDevice::GetInterface(name);
}

void CKestroKeyboardDevice::InitDevicePage() {
  if (m_pManager != nullptr) m_pManager->AddNotifier(this);
  if (PreparePictureTables()) BuildDeviceControls();
}

void CKestroKeyboardDevice::BuildDeviceControls() {
  BindPictureContainer(FindContainer("keyboard_device_key_light"), true);
}

std::span<const CKestroUSBDevice::EffectSlot> CKestroKeyboardDevice::EffectTable() const { return koru::KeyboardEffects(); }
