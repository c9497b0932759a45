#pragma once
// The page of a keyboard. Its picture lives in "keyboard_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroKeyboardDevice : public CKestroUSBDevice {
 public:
  CKestroKeyboardDevice();
  ~CKestroKeyboardDevice() override;

  // The keyboard also hears the notifications of the whole window.
  void InitDevicePage() override;
  void BuildDeviceControls() override;
  void UpdatePowerStatus() override { ReadPowerIntoIndicator(true); }
  bool IsWirelessLinkUp() override { return ReceiverLinkAnswers(); }
  // Effect 1: the grid's columns take wheel colours 7 apart that move with the
  // phase; in single colour the flow curve moves across them instead.
  void StepColumnsWave();

 protected:
  std::unique_ptr<CBasicProfiledata> MakeProfile() const override;
  std::span<const EffectSlot> EffectTable() const override;
  const char* LightThreadExitLine() const override { return "KB灯光线程设定退出"; }
};
