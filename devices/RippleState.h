#pragma once
// Per-light intensities of the wave and reactive effects, and the rotating
// row of triggers that seeds them. The light thread steps them; key events
// from a synchronisation thread may set levels at any time, so every byte is
// atomic and a step sees an event now or on its next pass.
#include <array>
#include <atomic>
#include <cstdint>

class CRippleState {
 public:
  // Lights are numbered up to 170 (the triggers seed light position + 1).
  static constexpr int kLevelCount = 171;
  static constexpr int kTriggerCount = 23;

  // 0 for an index outside the table.
  uint8_t Level(int light) const;
  void SetLevel(int light, uint8_t level);
  uint8_t Trigger(int position) const;
  void SetTrigger(int position, uint8_t value);

  // Positions 0..count-1 (at most all 23) that hold a trigger light the light
  // one above them fully.
  void SeedFromTriggers(int count);
  // Rotates the first `count` triggers (at most 23) by one place: towards
  // higher positions when direction != 0, else towards lower ones.
  void RotateTriggers(uint8_t direction, int count = kTriggerCount);
  // Lowers one light's level by a step that depends on the level and on the
  // effect's curve; returns the new level (0 for a light outside the table).
  int Decay(int light, int curve);
  void Clear();

 private:
  std::array<std::atomic<uint8_t>, kLevelCount> levels_{};
  std::array<std::atomic<uint8_t>, kTriggerCount> triggers_{};
};
