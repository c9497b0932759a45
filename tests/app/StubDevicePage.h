#pragma once
// A device page that records what the main window asks of it.
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "app/IDevicePage.h"

class StubDevicePage : public IDevicePage {
 public:
  explicit StubDevicePage(int kind, bool channelOpen = true) : kind_(kind), channelOpen_(channelOpen) {}

  int PageKind() const override { return kind_; }
  bool IsChannelOpen() const override { return channelOpen_; }
  bool IsSyncLighting() const override { return sync_; }
  void SetSyncLighting(bool on) override { sync_ = on; }
  void SetSyncColour(std::uint32_t packed) override {
    syncColour_ = packed;
    syncColours_.fetch_add(1);
  }

  LightInfoData GetLightInfo() const override { return light; }
  void SetLightInfo(const LightInfoData& info) override {
    light = info;
    calls.push_back("SetLightInfo");
  }
  void SaveProfile() override { calls.push_back("SaveProfile"); }
  void LoadProfileToPage() override { calls.push_back("LoadProfileToPage"); }
  int WriteDeviceSettings(int bank, int activeProfile, int flag, int w, int h) override {
    calls.push_back("WriteDeviceSettings " + std::to_string(bank) + " " + std::to_string(activeProfile) + " " +
                    std::to_string(flag) + " " + std::to_string(w) + "x" + std::to_string(h));
    return 1;
  }
  bool AcceptsLightEffect(int effect) const override { return effect >= 0 && effect <= maxEffect; }
  void SelectLightEffect(int effect) override { panelEffect = effect; }
  void ShowLightInfo(const LightInfoData& info) override { shownOnPanel = info; }
  void SetLightingControl(bool on) override { lightingControl.push_back(on); }
  void SetWindowActive(bool active) override { windowActive = active; }
  void SetPowerPolling(bool on) override { powerPolling = on; }
  void OnAudioData(int kind, std::span<const std::uint8_t> data) override {
    audio.push_back({kind, std::vector<std::uint8_t>(data.begin(), data.end())});
  }

  void SetChannelOpen(bool open) { channelOpen_ = open; }
  std::uint32_t SyncColour() const { return syncColour_; }
  int SyncColourCount() const { return syncColours_.load(); }

  struct AudioBlock {
    int kind;
    std::vector<std::uint8_t> bytes;
  };

  LightInfoData light;
  int maxEffect = 40;
  int panelEffect = -1;
  LightInfoData shownOnPanel;
  std::vector<std::string> calls;
  std::vector<bool> lightingControl;
  bool windowActive = false;
  bool powerPolling = true;
  std::vector<AudioBlock> audio;

 private:
  int kind_;
  std::atomic<bool> channelOpen_;
  std::atomic<bool> sync_{false};
  std::atomic<std::uint32_t> syncColour_{0};
  std::atomic<int> syncColours_{0};
};
