#pragma once
// The page of a headset: its light zones live in "hs6533_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroHS6533Device : public CKestroUSBDevice {
 public:
  CKestroHS6533Device();
  ~CKestroHS6533Device() override;

  void BuildDeviceControls() override;
  // No link to check and no pause.
  void UpdatePowerStatus() override { ReadPowerIntoIndicator(false); }
  // Every light, not only the first nine.
  void SeedRippleFromTriggers() override;

 protected:
  std::unique_ptr<CBasicProfiledata> MakeProfile() const override;
  std::span<const EffectSlot> EffectTable() const override;
};
