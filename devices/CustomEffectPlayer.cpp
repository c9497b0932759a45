#include "devices/CustomEffectPlayer.h"

#include <algorithm>

#include "devices/LightFrame.h"
#include "devices/LightingTables.h"

using namespace koru::lighting;

void CCustomEffectPlayer::Replace(std::vector<LightEffectStep> steps, uint64_t nowMs) {
  std::lock_guard lock(lock_);
  steps_ = std::move(steps);
  index_ = 0;
  stepStartMs_ = nowMs;
}

size_t CCustomEffectPlayer::StepCount() const {
  std::lock_guard lock(lock_);
  return steps_.size();
}

size_t CCustomEffectPlayer::CurrentStep() const {
  std::lock_guard lock(lock_);
  return index_;
}

void CCustomEffectPlayer::PlayPass(CLightFrame& frame, uint8_t blinkSpeed, uint64_t nowMs) {
  std::lock_guard lock(lock_);
  if (index_ >= steps_.size()) index_ = 0;
  if (steps_.empty()) {
    frame.Fill({});
    return;
  }
  const LightEffectStep& step = steps_[index_];
  counter_ = counter_ == 254 ? 0 : static_cast<uint8_t>(counter_ + 1);
  Advance(step);
  Draw(frame, step, blinkSpeed, nowMs);

  const uint64_t duration = static_cast<uint64_t>(std::max(step.time, 0));
  if (nowMs - stepStartMs_ > duration) {
    index_ = index_ + 1 >= steps_.size() ? 0 : index_ + 1;
    stepStartMs_ = nowMs;
  }
}

void CCustomEffectPlayer::Advance(const LightEffectStep& step) {
  const uint8_t mode = step.light.selectItem;
  const uint8_t due = mode == kSpectrum ? kFastSpeedTicks[ClampLevel(step.light.speed)] : SpeedTicksOf(step.light.speed);
  const bool reached = counter_ >= due;
  switch (mode) {
    case kBreathing:
      if (!reached) return;
      phase_ = phase_ + 1 >= kBreathingLength ? 0 : phase_ + 1;
      if (phase_ == 0) breathColour_ = breathColour_ + 16 >= kWheelLength ? 0 : breathColour_ + 16;
      counter_ = 0;
      return;
    case kSteady:
      if (!reached) return;
      phase_ = phase_ + 1 >= 9 ? 0 : phase_ + 1;
      counter_ = 0;
      return;
    case kBlinking:
      phase_ = phase_ + 1 >= kBreathingLength ? 0 : phase_ + 1;
      if (reached) counter_ = 0;
      return;
    case kFlow:
    case kSpectrum:
      if (!reached) return;
      phase_ = phase_ + 1 >= kWheelLength ? 0 : phase_ + 1;
      counter_ = 0;
      return;
    default:
      return;
  }
}

void CCustomEffectPlayer::Draw(CLightFrame& frame, const LightEffectStep& step, uint8_t blinkSpeed, uint64_t nowMs) {
  const LightInfoData& light = step.light;
  const uint8_t level = BrightnessOf(light.light);
  const WheelColour own{light.red, light.green, light.blue};
  switch (light.selectItem) {
    case kBreathing: {
      const WheelColour colour = light.multiColor ? WheelAt(breathColour_) : own;
      frame.Fill(LightFrameEntry::Of(colour, Scale(BreathingAt(phase_), level)));
      return;
    }
    case kSteady:
      frame.Fill(LightFrameEntry::Of(own, level));
      return;
    case kBlinking: {
      const uint64_t interval = uint64_t{SpeedTicksOf(blinkSpeed)} * kBlinkMsPerTick;
      if (nowMs - lastToggleMs_ >= interval) {
        blinkOn_ = !blinkOn_;
        lastToggleMs_ = nowMs;
        blinkColour_ = phase_ + 14 >= kWheelLength ? 0 : phase_ + 14;
      }
      if (!blinkOn_) {
        frame.Fill({});
        return;
      }
      frame.Fill(LightFrameEntry::Of(light.multiColor ? WheelAt(blinkColour_) : own, level));
      return;
    }
    case kFlow:
      DrawFlow(frame, light, level);
      return;
    case kSpectrum:
      frame.Fill(LightFrameEntry::Of(WheelAt(phase_), level));
      return;
    default:  // kHold and modes this program does not know keep the frame
      return;
  }
}

void CCustomEffectPlayer::DrawFlow(CLightFrame& frame, const LightInfoData& light, uint8_t level) const {
  int position = light.fx == 0 ? (phase_ + 1 >= kWheelLength ? 0 : phase_ + 1) : (phase_ == 0 ? 191 : 192 - phase_);
  if (light.multiColor) {
    for (int i = 0; i < frame.Size(); ++i, position += 12) frame.Set(i, LightFrameEntry::Of(WheelAt(position), level));
    return;
  }
  const WheelColour own{light.red, light.green, light.blue};
  int flow = position + 12;
  for (int i = 0; i < frame.Size(); ++i, flow += 12) frame.Set(i, LightFrameEntry::Of(own, Scale(level, FlowAt(flow))));
}
