#include "app/DevicePageAdapter.h"

#include <vector>

#include "devices/CKestroUSBDevice.h"

int CDevicePageAdapter::PageKind() const { return page_.GetKind(); }
bool CDevicePageAdapter::IsChannelOpen() const { return page_.IsChannelOpen(); }
bool CDevicePageAdapter::IsSyncLighting() const { return page_.IsSyncLighting(); }
void CDevicePageAdapter::SetSyncLighting(bool on) { page_.SetSyncLighting(on); }
void CDevicePageAdapter::SetSyncColour(std::uint32_t packed) { page_.SetSyncColour(packed); }
LightInfoData CDevicePageAdapter::GetLightInfo() const { return page_.GetLightInfo(); }
void CDevicePageAdapter::SetLightInfo(const LightInfoData& info) { page_.SetLightInfo(info); }
void CDevicePageAdapter::SaveProfile() { page_.SaveProfile(); }
void CDevicePageAdapter::LoadProfileToPage() { page_.LoadProfileToPage(); }

int CDevicePageAdapter::WriteDeviceSettings(int bank, int activeProfile, int flag, int screenWidth, int screenHeight) {
  return page_.WriteDeviceSettings(bank, activeProfile, flag, screenWidth, screenHeight);
}

bool CDevicePageAdapter::AcceptsLightEffect(int effect) const {
  // Effects are numbered by their place in the kind's effect list.
  return effect >= 0 && std::size_t(effect) < page_.NameLists().effectNames.size();
}

void CDevicePageAdapter::SelectLightEffect(int effect) {
  if (!AcceptsLightEffect(effect)) return;
  LightInfoData info = page_.GetLightInfo();
  info.selectItem = std::uint8_t(effect);
  page_.SetLightInfo(info);
}

void CDevicePageAdapter::ShowLightInfo(const LightInfoData& info) { page_.SetLightInfo(info); }
void CDevicePageAdapter::SetLightingControl(bool on) { page_.SetHostLighting(on ? 1 : 0); }
void CDevicePageAdapter::SetWindowActive(bool active) { page_.SetPreviewActive(active ? 1 : 0); }

void CDevicePageAdapter::SetPowerPolling(bool on) { page_.SetPowerPolling(on); }

void CDevicePageAdapter::OnAudioData(int kind, std::span<const std::uint8_t> data) {
  const std::vector<std::int32_t> values(data.begin(), data.end());
  if (kind == 1) page_.OnAudioSpectrum(values.data(), int(values.size()));
  if (kind == 2) page_.OnAudioPeaks(values.data(), int(values.size()));
}
