#pragma once
// A device page as the main window sees it: the window's page interface
// mapped onto the page control that drives the device.
#include "app/IDevicePage.h"

class CKestroUSBDevice;

class CDevicePageAdapter : public IDevicePage {
 public:
  // The page outlives the adapter: both live as long as the main window.
  explicit CDevicePageAdapter(CKestroUSBDevice& page) : page_(page) {}

  CKestroUSBDevice& Page() const { return page_; }

  int PageKind() const override;
  bool IsChannelOpen() const override;
  bool IsSyncLighting() const override;
  void SetSyncLighting(bool on) override;
  void SetSyncColour(std::uint32_t packed) override;
  LightInfoData GetLightInfo() const override;
  void SetLightInfo(const LightInfoData& info) override;
  void SaveProfile() override;
  void LoadProfileToPage() override;
  int WriteDeviceSettings(int bank, int activeProfile, int flag, int screenWidth, int screenHeight) override;
  bool AcceptsLightEffect(int effect) const override;
  void SelectLightEffect(int effect) override;
  void ShowLightInfo(const LightInfoData& info) override;
  void SetLightingControl(bool on) override;
  void SetWindowActive(bool active) override;
  void SetPowerPolling(bool on) override;
  void OnAudioData(int kind, std::span<const std::uint8_t> data) override;

 private:
  CKestroUSBDevice& page_;
};
