#pragma once
// Plays a custom light effect: the steps of the profile's selected effect one
// after the other, each for its own time, each drawn in its own mode. The
// light thread plays it; the user-interface thread replaces the steps when a
// profile loads. One lock covers both, so a pass never sees half a list.
#include <cstdint>
#include <mutex>
#include <vector>

#include "profiles/ProfileRecords.h"

class CLightFrame;

class CCustomEffectPlayer {
 public:
  // Step modes of "LEDREGMode".
  enum Mode : uint8_t { kBreathing = 0, kSteady = 1, kBlinking = 2, kHold = 3, kFlow = 4, kSpectrum = 5 };

  // Playback restarts at the first step, which begins now.
  void Replace(std::vector<LightEffectStep> steps, uint64_t nowMs);
  size_t StepCount() const;
  size_t CurrentStep() const;

  // One pass of the light thread. `blinkSpeed` is the page's own speed level,
  // which paces blinking steps.
  void PlayPass(CLightFrame& frame, uint8_t blinkSpeed, uint64_t nowMs);

 private:
  void Advance(const LightEffectStep& step);
  void Draw(CLightFrame& frame, const LightEffectStep& step, uint8_t blinkSpeed, uint64_t nowMs);
  void DrawFlow(CLightFrame& frame, const LightInfoData& light, uint8_t level) const;

  mutable std::mutex lock_;
  std::vector<LightEffectStep> steps_;
  size_t index_ = 0;
  uint64_t stepStartMs_ = 0;
  // Carried from step to step.
  uint8_t counter_ = 0;
  uint8_t phase_ = 0;
  // Multicolour breathing moves on by one colour per breath.
  uint8_t breathColour_ = 0;
  bool blinkOn_ = false;
  uint64_t lastToggleMs_ = 0;
  uint8_t blinkColour_ = 0;
};
