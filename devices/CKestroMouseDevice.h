#pragma once
// The page of a mouse, by cable or through its receiver. Its pictures are the
// "SelectPanel" children of "mouse_device_seting_layout".
#include "devices/CKestroUSBDevice.h"

class CKestroMouseDevice : public CKestroUSBDevice {
 public:
  CKestroMouseDevice();
  ~CKestroMouseDevice() override;

  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  void InitDevicePage() override;
  void BuildDeviceControls() override;

 protected:
  std::span<const EffectSlot> EffectTable() const override;
  bool PlaysLightRecords() const override { return false; }
};
