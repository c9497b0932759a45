#pragma once
// The page of a lighted mouse pad. Its picture lives in "mousepad_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroMousePadDevice : public CKestroUSBDevice {
 public:
  CKestroMousePadDevice();
  ~CKestroMousePadDevice() override;

  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  void InitDevicePage() override;
  void BuildDeviceControls() override;
  // Every light of the strip, not only the first nine.
  void SeedRippleFromTriggers() override;

 protected:
  std::span<const EffectSlot> EffectTable() const override;
};
