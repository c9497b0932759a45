#pragma once
// The page of a lighted mouse pad: a strip of light zones in "mousepad_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroMousePadDevice : public CKestroUSBDevice {
 public:
  CKestroMousePadDevice();
  ~CKestroMousePadDevice() override;

  void BuildDeviceControls() override;
  // No link to check and no pause.
  void UpdatePowerStatus() override { ReadPowerIntoIndicator(false); }
  // Every light, not only the first nine.
  void SeedRippleFromTriggers() override;

 protected:
  std::span<const EffectSlot> EffectTable() const override;
};
