#include "devices/CKestroMousePadDevice.h"

#include "devices/EffectTables.h"

CKestroMousePadDevice::CKestroMousePadDevice() { SetKind(kKindMousePad); }

CKestroMousePadDevice::~CKestroMousePadDevice() { StopLightThread(); }

std::string CKestroMousePadDevice::GetClass() const { return "KestroMousePadDeviceUI"; }

void* CKestroMousePadDevice::GetInterface(std::string_view name) {
  if (name == "KestroMousePadDevice") return this;
  return CKestroUSBDevice::GetInterface(name);
}

void CKestroMousePadDevice::InitDevicePage() {
  if (PreparePictureTables()) BuildDeviceControls();
}

void CKestroMousePadDevice::BuildDeviceControls() { BindPictureContainer(FindContainer("mousepad_device_key_light"), true); }

void CKestroMousePadDevice::SeedRippleFromTriggers() { Ripple().SeedFromTriggers(GetLightCount()); }

std::span<const CKestroUSBDevice::EffectSlot> CKestroMousePadDevice::EffectTable() const {
  return koru::LightStripEffects();
}
