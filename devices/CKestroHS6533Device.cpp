#include "devices/CKestroHS6533Device.h"

#include "devices/EffectTables.h"
#include "profiles/CHs6533Profiledata.h"

CKestroHS6533Device::CKestroHS6533Device() : CKestroUSBDevice(kKindHeadset, "KestroHS6533Device") {}

// The light thread calls this kind's steps, so it stops before the kind goes.
CKestroHS6533Device::~CKestroHS6533Device() { StopLightThread(); }

void CKestroHS6533Device::BuildDeviceControls() { BindPictureContainer(FindContainer("hs6533_device_key_light"), true); }

void CKestroHS6533Device::SeedRippleFromTriggers() { Ripple().SeedFromTriggers(GetLightCount()); }

std::span<const CKestroUSBDevice::EffectSlot> CKestroHS6533Device::EffectTable() const {
  return koru::LightStripEffects();
}

std::unique_ptr<CBasicProfiledata> CKestroHS6533Device::MakeProfile() const { return std::make_unique<CHs6533Profiledata>(); }
