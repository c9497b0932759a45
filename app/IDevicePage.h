#pragma once
// What the main window asks of a device page. The pages themselves (keyboard,
// mouse, mouse pad, headset) implement it; the window and its threads know
// them only through this interface.
//
// Threads: everything runs on the user-interface thread except the four
// members marked "any thread", which the synchronised-lighting thread calls.
#include <cstdint>
#include <span>

#include "profiles/ProfileRecords.h"

class IDevicePage {
 public:
  virtual ~IDevicePage() = default;

  // 1 keyboard, 2 mouse, 3 mouse pad, 7 headset (the cable kinds).
  virtual int PageKind() const = 0;

  // Any thread.
  virtual bool IsChannelOpen() const = 0;
  virtual bool IsSyncLighting() const = 0;
  virtual void SetSyncLighting(bool on) = 0;
  // Every light zone shows R | G << 8 | B << 16 | level << 24; the page's
  // periodic refresh carries it to the device.
  virtual void SetSyncColour(std::uint32_t packed) = 0;

  // The page's lighting record and the flow that makes a change stick.
  virtual LightInfoData GetLightInfo() const = 0;
  virtual void SetLightInfo(const LightInfoData& info) = 0;
  virtual void SaveProfile() = 0;
  virtual void LoadProfileToPage() = 0;
  virtual int WriteDeviceSettings(int bank, int activeProfile, int flag, int screenWidth, int screenHeight) = 0;
  // Whether the page's kind has this light effect; other programs name effects
  // by number, and a number the device does not know must not reach it.
  virtual bool AcceptsLightEffect(int effect) const = 0;
  // The page's lighting panel.
  virtual void SelectLightEffect(int effect) = 0;
  virtual void ShowLightInfo(const LightInfoData& info) = 0;

  // Whether this program drives the device's lighting (1) or leaves it to others (0).
  virtual void SetLightingControl(bool on) = 0;
  virtual void SetWindowActive(bool active) = 0;
  // Battery polling pauses while the window is hidden.
  virtual void SetPowerPolling(bool on) = 0;
  // Data of the audio companion: kind 1 an audio light frame, kind 2 the
  // keyboard's 6 bytes. Already checked for size.
  virtual void OnAudioData(int kind, std::span<const std::uint8_t> data) = 0;
};
