#pragma once
// The page of a headset. Its picture lives in "hs6533_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroHS6533Device : public CKestroUSBDevice {
 public:
  CKestroHS6533Device();
  ~CKestroHS6533Device() override;

  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  void InitDevicePage() override;
  void BuildDeviceControls() override;
  // Every light of the strip, not only the first nine.
  void SeedRippleFromTriggers() override;

 protected:
  std::span<const EffectSlot> EffectTable() const override;
};
