#include "devices/LightRecordPlayer.h"

#include <algorithm>

#include "devices/LightFrame.h"
#include "devices/LightingTables.h"

using namespace koru::lighting;

void CLightRecordPlayer::Replace(std::vector<LightInfoData> records, uint64_t nowMs) {
  std::lock_guard lock(lock_);
  records_ = std::move(records);
  animations_.assign(records_.size(), {});
  for (size_t i = 0; i < records_.size(); ++i) {
    LightAnimation& a = animations_[i];
    a.stepTicks = SpeedTicksOf(records_[i].speed);
    a.toggleIntervalMs = uint64_t{a.stepTicks} * kBlinkMsPerTick;
    a.toggledMs = nowMs;
  }
}

size_t CLightRecordPlayer::RecordCount() const {
  std::lock_guard lock(lock_);
  return records_.size();
}

void CLightRecordPlayer::PlayPass(CLightFrame& frame, uint64_t nowMs) {
  std::lock_guard lock(lock_);
  const int count = std::min(static_cast<int>(records_.size()), frame.Size());
  for (int i = 0; i < count; ++i) {
    const LightInfoData& r = records_[i];
    LightAnimation& a = animations_[i];
    const uint8_t level = BrightnessOf(r.light);
    const WheelColour own{r.red, r.green, r.blue};

    // Every light's blink clock runs, so a light switched to blinking keeps
    // the rhythm of its neighbours; only a blinking light moves its colour with it.
    if (nowMs - a.toggledMs >= a.toggleIntervalMs) {
      a.on = !a.on;
      a.toggledMs = nowMs;
      if (r.selectItem == kBlinking) a.colour = a.colour + 14 > kWheelLength - 1 ? 0 : a.colour + 14;
    }

    switch (r.selectItem) {
      case kBreathing: {
        if (!r.valid) break;
        const WheelColour colour = r.multiColor ? WheelAt(a.colour) : own;
        const int next = a.phase + ClampLevel(r.speed) + 4;
        if (next >= kBreathingLength) {
          a.phase = 0;
          // The breathing colour stops at the end of the wheel.
          if (a.colour < kWheelLength - 1) ++a.colour;
        } else {
          a.phase = static_cast<uint8_t>(next);
        }
        frame.Set(i, LightFrameEntry::Of(colour, Scale(BreathingAt(a.phase), level)));
        break;
      }
      case kSteady:
        frame.Set(i, LightFrameEntry::Of(own, level));
        break;
      case kSpectrum:
        if (!r.valid) break;
        if (++a.counter >= a.stepTicks) {
          a.counter = 0;
          a.colour = a.colour >= kWheelLength - 1 ? 0 : a.colour + 1;
        }
        frame.Set(i, LightFrameEntry::Of(WheelAt(a.colour), level));
        break;
      case kBlinking:
        frame.Set(i, a.on ? LightFrameEntry::Of(r.multiColor ? WheelAt(a.colour) : own, level) : LightFrameEntry{});
        break;
      case kDark:
        frame.Set(i, {});
        break;
      default:
        break;
    }
  }
}
