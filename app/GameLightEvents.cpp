#include "app/GameLightEvents.h"

#include <string>

#include "app/IDevicePage.h"
#include "platform/DebugOutput.h"

void ApplyPageLighting(IDevicePage& page, const LightInfoData& info, ScreenSize screen) {
  page.SetLightInfo(info);
  page.SaveProfile();
  page.LoadProfileToPage();
  page.WriteDeviceSettings(0, 0, 1, screen.width, screen.height);
}

void CGameLightEvents::OnGameEvent(IDevicePage* selected, std::uint64_t wParam, std::int64_t lParam,
                                   ScreenSize screen) {
  const bool changesLighting = wParam <= 2;
  // The effect number comes from another program: only an effect the device
  // has may reach it.
  const bool knownEffect = selected != nullptr && lParam >= 0 && lParam <= 0xFF &&
                           selected->AcceptsLightEffect(int(lParam));
  if (changesLighting && selected != nullptr && !knownEffect && koru::DebugOutputEnabled()) {
    koru::DebugOutput("game light event: effect " + std::to_string(lParam) + " refused for this device");
  }
  if (changesLighting && knownEffect) {
    const int effect = int(lParam);
    selected->SetSyncLighting(false);
    selected->SelectLightEffect(effect);
    LightInfoData info = selected->GetLightInfo();
    if (wParam == 0) {
      const int current = info.selectItem;
      info.oldLedMode = std::uint8_t(current == 0 || current > kHighestRestorableEffect ? 1 : current);
    }
    info.selectItem = std::uint8_t(effect);
    ApplyPageLighting(*selected, info, screen);
  }
  if (armTimer_) armTimer_(kRestoreTimerId, kRestoreDelayMs);
}

void CGameLightEvents::OnRestoreTimer(IDevicePage* selected, ScreenSize screen) {
  if (selected == nullptr) return;
  selected->SetSyncLighting(false);
  LightInfoData info = selected->GetLightInfo();
  selected->SelectLightEffect(info.oldLedMode);
  info.selectItem = info.oldLedMode;
  ApplyPageLighting(*selected, info, screen);
}
