#pragma once
// Plays the per-light records of a profile ("LightList"): record i drives
// light i on its own, over whatever the effect drew there. Each light keeps
// its own animation. The light thread plays; the user-interface thread
// replaces the records when a profile loads, under the same lock.
#include <cstdint>
#include <mutex>
#include <vector>

#include "profiles/ProfileRecords.h"

class CLightFrame;

class CLightRecordPlayer {
 public:
  enum Mode : uint8_t { kBreathing = 0, kSteady = 1, kBlinking = 2, kSpectrum = 3, kDark = 4 };

  // Every light's animation restarts now.
  void Replace(std::vector<LightInfoData> records, uint64_t nowMs);
  size_t RecordCount() const;

  // One pass of the light thread over the lights that have a record.
  void PlayPass(CLightFrame& frame, uint64_t nowMs);

 private:
  struct LightAnimation {
    uint8_t phase = 0;
    uint8_t colour = 0;  // wheel position
    bool on = false;
    uint64_t toggledMs = 0;
    uint64_t toggleIntervalMs = 0;
    uint8_t counter = 0;
    uint8_t stepTicks = 0;
  };

  mutable std::mutex lock_;
  std::vector<LightInfoData> records_;
  std::vector<LightAnimation> animations_;
};
