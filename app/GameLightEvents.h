#pragma once
// Game light events ("Game_Start", "Game_End", "Game_Kill", "Game_Death"): a
// game shows a light effect on the selected device for five seconds after its
// last event; step 0 marks the effect that comes back afterwards.
#include <cstdint>
#include <functional>
#include <utility>

#include "app/SyncLighting.h"

class IDevicePage;

class CGameLightEvents {
 public:
  static constexpr unsigned kRestoreTimerId = 1066;
  static constexpr unsigned kRestoreDelayMs = 5000;
  // The first effect number that is not remembered as the one to restore.
  static constexpr int kHighestRestorableEffect = 20;

  using ArmTimer = std::function<void(unsigned id, unsigned elapseMs)>;

  explicit CGameLightEvents(ArmTimer armTimer) : armTimer_(std::move(armTimer)) {}

  // wParam the step (0, 1 or 2 change the lighting; others only restart the
  // five seconds), lParam the effect. The restore timer is armed in every case.
  void OnGameEvent(IDevicePage* selected, std::uint64_t wParam, std::int64_t lParam, ScreenSize screen);
  // The restore timer fired (already killed by the caller).
  void OnRestoreTimer(IDevicePage* selected, ScreenSize screen);

 private:
  ArmTimer armTimer_;
};

// Hands the page's changed lighting on: record, profile, page, device.
void ApplyPageLighting(IDevicePage& page, const LightInfoData& info, ScreenSize screen);
