#pragma once
// The page of a keyboard. Its picture lives in "keyboard_device_key_light".
#include "devices/CKestroUSBDevice.h"

class CKestroKeyboardDevice : public CKestroUSBDevice {
 public:
  CKestroKeyboardDevice();
  ~CKestroKeyboardDevice() override;

  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  void InitDevicePage() override;
  void BuildDeviceControls() override;

 protected:
  std::span<const EffectSlot> EffectTable() const override;
  const char* LightThreadExitLine() const override { return "KB灯光线程设定退出"; }
};
