#include "app/LightingControlSwitch.h"

#include "app/DevicePageLists.h"

CLightingControlSwitch::CLightingControlSwitch(const CDevicePageLists& pages, ShowLabel showLabel, Announce announce)
    : pages_(pages), showLabel_(std::move(showLabel)), announce_(std::move(announce)) {}

void CLightingControlSwitch::TellPages(bool on) {
  for (IDevicePage* page : pages_.LightingPages()) page->SetLightingControl(on);
}

void CLightingControlSwitch::Apply(bool on) {
  on_ = on;
  if (showLabel_) showLabel_(on);
  TellPages(on);
}

void CLightingControlSwitch::SetByButton(bool on) {
  Apply(on);
  if (announce_) announce_(on);
}

bool CLightingControlSwitch::SetByRequest(std::uint64_t wParam, std::int64_t lParam) {
  if (wParam != 1 || (lParam != 0 && lParam != 1)) return false;
  Apply(lParam == 1);
  return true;
}

void CLightingControlSwitch::OnSuspend() { TellPages(false); }

void CLightingControlSwitch::OnResume() { Apply(on_); }
