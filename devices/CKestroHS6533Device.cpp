#include "devices/CKestroHS6533Device.h"

#include "devices/EffectTables.h"

CKestroHS6533Device::CKestroHS6533Device() { SetKind(kKindHeadset); }

CKestroHS6533Device::~CKestroHS6533Device() { StopLightThread(); }

std::string CKestroHS6533Device::GetClass() const { return "KestroHS6533DeviceUI"; }

void* CKestroHS6533Device::GetInterface(std::string_view name) {
  if (name == "KestroHS6533Device") return this;
  return CKestroUSBDevice::GetInterface(name);
}

void CKestroHS6533Device::InitDevicePage() {
  if (PreparePictureTables()) BuildDeviceControls();
}

void CKestroHS6533Device::BuildDeviceControls() { BindPictureContainer(FindContainer("hs6533_device_key_light"), true); }

void CKestroHS6533Device::SeedRippleFromTriggers() { Ripple().SeedFromTriggers(GetLightCount()); }

std::span<const CKestroUSBDevice::EffectSlot> CKestroHS6533Device::EffectTable() const {
  return koru::LightStripEffects();
}
