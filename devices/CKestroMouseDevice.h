#pragma once
// The page of a mouse, by cable or through its receiver. Its pictures are the
// "SelectPanel" children of "mouse_device_seting_layout".
#include "devices/CKestroUSBDevice.h"

class CKestroMouseDevice : public CKestroUSBDevice {
 public:
  CKestroMouseDevice();
  ~CKestroMouseDevice() override;

  void BuildDeviceControls() override;
  void UpdatePowerStatus() override { ReadPowerIntoIndicator(true); }
  bool IsWirelessLinkUp() override { return ReceiverLinkAnswers(); }

 protected:
  std::unique_ptr<CBasicProfiledata> MakeProfile() const override;
  std::span<const EffectSlot> EffectTable() const override;
  bool PlaysLightRecords() const override { return false; }
};
