#include "devices/CKestroMousePadDevice.h"

#include "devices/EffectTables.h"

CKestroMousePadDevice::CKestroMousePadDevice() : CKestroUSBDevice(kKindMousePad, "KestroMousePadDevice") {}

// The light thread calls this kind's steps, so it stops before the kind goes.
CKestroMousePadDevice::~CKestroMousePadDevice() { StopLightThread(); }

void CKestroMousePadDevice::BuildDeviceControls() { BindPictureContainer(FindContainer("mousepad_device_key_light"), true); }

void CKestroMousePadDevice::SeedRippleFromTriggers() { Ripple().SeedFromTriggers(GetLightCount()); }

std::span<const CKestroUSBDevice::EffectSlot> CKestroMousePadDevice::EffectTable() const {
  return koru::LightStripEffects();
}
