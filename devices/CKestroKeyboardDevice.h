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

 protected:
  std::span<const EffectSlot> EffectTable() const override;
  const char* LightThreadExitLine() const override { return "KB灯光线程设定退出"; }
};
