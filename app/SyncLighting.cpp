#include "app/SyncLighting.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/DevicePageLists.h"
#include "app/IDevicePage.h"
#include "catalogue/InterfaceSlot.h"
#include "devices/LightingTables.h"

namespace {

using ModeTable = std::array<int, kSyncEffectCount>;  // mode by effect type

// Breathing, static, blinking, spectrum, off.
constexpr ModeTable kKeyboardModes{5, 6, 34, 4, 20};
constexpr ModeTable kMouseModes{2, 3, 4, 1, 10};
constexpr ModeTable kPadAndHeadsetModes{2, 3, 4, 1, 8};

const ModeTable* ModesOfKind(int pageKind) {
  switch (pageKind) {
    case kKindKeyboard: return &kKeyboardModes;
    case kKindMouse: return &kMouseModes;
    case kKindMousePad:
    case kKindHeadset: return &kPadAndHeadsetModes;
    default: return nullptr;
  }
}

constexpr int kBlinkWheelStep = 14;
constexpr int kBreathingWheelStep = 16;

}  // namespace

std::optional<int> SyncTypeOfMode(int pageKind, int mode) {
  const ModeTable* modes = ModesOfKind(pageKind);
  if (modes == nullptr) return std::nullopt;
  for (int type = 0; type < kSyncEffectCount; ++type) {
    if ((*modes)[type] == mode) return type;
  }
  return std::nullopt;
}

std::optional<int> ModeOfSyncType(int pageKind, int type) {
  const ModeTable* modes = ModesOfKind(pageKind);
  if (modes == nullptr || type < 0 || type >= kSyncEffectCount) return std::nullopt;
  return (*modes)[type];
}

SyncLightingSettings CSyncLightingSettingsStore::Get() const {
  std::lock_guard lock(mutex_);
  return settings_;
}

void CSyncLightingSettingsStore::Set(const SyncLightingSettings& settings) {
  std::lock_guard lock(mutex_);
  settings_ = settings;
}

std::uint32_t PackSyncColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t level) {
  return std::uint32_t(red) | std::uint32_t(green) << 8 | std::uint32_t(blue) << 16 | std::uint32_t(level) << 24;
}

std::uint32_t CSyncLightingEngine::Step(const SyncLightingSettings& s, std::uint64_t nowMs) {
  using namespace koru::lighting;
  const std::uint8_t level = BrightnessOf(s.brightness);
  const WheelColour fixed{s.red, s.green, s.blue};
  switch (static_cast<SyncEffect>(s.type)) {
    case SyncEffect::Breathing: {
      breathing_ = s.direction != 0 ? (breathing_ + 1) % kBreathingLength
                                    : (breathing_ + kBreathingLength - 1) % kBreathingLength;
      if (breathing_ <= 1) wheel_ = (wheel_ + kBreathingWheelStep) % kWheelLength;
      const WheelColour colour = s.colourful ? WheelAt(wheel_) : fixed;
      return PackSyncColour(colour.red, colour.green, colour.blue, Scale(BreathingAt(breathing_), level));
    }
    case SyncEffect::Static: return PackSyncColour(fixed.red, fixed.green, fixed.blue, level);
    case SyncEffect::Blinking: {
      const std::uint64_t toggleMs = std::uint64_t(SpeedTicksOf(s.speed)) * kBlinkMsPerTick;
      if (!lastToggleMs_ || nowMs - *lastToggleMs_ >= toggleMs) {
        blinkOn_ = !blinkOn_;
        lastToggleMs_ = nowMs;
        wheel_ = (wheel_ + kBlinkWheelStep) % kWheelLength;
      }
      if (!blinkOn_) return 0;
      const WheelColour colour = s.colourful ? WheelAt(wheel_) : fixed;
      return PackSyncColour(colour.red, colour.green, colour.blue, level);
    }
    case SyncEffect::Spectrum: {
      wheel_ = (wheel_ + 1) % kWheelLength;
      const WheelColour colour = WheelAt(wheel_);
      return PackSyncColour(colour.red, colour.green, colour.blue, level);
    }
    case SyncEffect::Off:
    default: return 0;
  }
}

std::uint64_t CSyncLightingEngine::NextStepDue(const SyncLightingSettings& s, std::uint64_t nowMs) const {
  const std::uint64_t ticks = koru::lighting::SpeedTicksOf(s.speed);
  switch (static_cast<SyncEffect>(s.type)) {
    case SyncEffect::Breathing:
    case SyncEffect::Spectrum: return nowMs + ticks * kTickMs;
    case SyncEffect::Blinking:
      return lastToggleMs_ ? std::max(nowMs, *lastToggleMs_ + ticks * koru::lighting::kBlinkMsPerTick) : nowMs;
    default: return nowMs + kSteadyRepeatMs;
  }
}

bool JoinSynchronisedLighting(IDevicePage& selected, const CDevicePageLists& pages,
                              CSyncLightingSettingsStore& settings, ScreenSize screen) {
  const LightInfoData source = selected.GetLightInfo();
  const std::optional<int> type = SyncTypeOfMode(selected.PageKind(), source.selectItem);
  if (!type) return false;

  SyncLightingSettings shared = settings.Get();
  shared.type = *type;
  shared.brightness = source.light;
  shared.speed = source.speed;
  shared.direction = source.fx;
  shared.colourful = source.multiColor != 0;
  shared.red = source.red;
  shared.green = source.green;
  shared.blue = source.blue;
  settings.Set(shared);

  for (IDevicePage* page : pages.KeyboardsFirst()) {
    if (!page->IsChannelOpen()) continue;
    const std::optional<int> mode = ModeOfSyncType(page->PageKind(), *type);
    if (!mode) continue;
    page->SetSyncLighting(true);
    LightInfoData info = source;
    info.selectItem = std::uint8_t(*mode);
    page->ShowLightInfo(info);
    page->SetLightInfo(info);
    page->SaveProfile();
    page->LoadProfileToPage();
    page->WriteDeviceSettings(0, 0, 1, screen.width, screen.height);
  }
  return true;
}
