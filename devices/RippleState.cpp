#include "devices/RippleState.h"

#include <algorithm>

namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

// The decay step of one level: rows of (lowest level, step for curve 0,
// curve 29, any other curve), first matching row from the top.
struct DecayRow {
  int from;
  int curve0;
  int curve29;
  int other;
};
constexpr DecayRow kDecayRows[] = {
    {144, 40, 45, 40}, {128, 40, 40, 40}, {112, 30, 35, 30}, {96, 30, 30, 30}, {80, 30, 25, 30},
    {64, 30, 20, 30},  {32, 15, 10, 10},  {17, 8, 5, 8},     {1, 1, 1, 1},
};

}  // namespace

uint8_t CRippleState::Level(int light) const {
  return light >= 0 && light < kLevelCount ? levels_[light].load(kRelaxed) : 0;
}

void CRippleState::SetLevel(int light, uint8_t level) {
  if (light >= 0 && light < kLevelCount) levels_[light].store(level, kRelaxed);
}

uint8_t CRippleState::Trigger(int position) const {
  return position >= 0 && position < kTriggerCount ? triggers_[position].load(kRelaxed) : 0;
}

void CRippleState::SetTrigger(int position, uint8_t value) {
  if (position >= 0 && position < kTriggerCount) triggers_[position].store(value, kRelaxed);
}

void CRippleState::SeedFromTriggers(int count) {
  count = std::clamp(count, 0, kTriggerCount);
  for (int p = 0; p < count; ++p)
    if (triggers_[p].load(kRelaxed) != 0) levels_[p + 1].store(255, kRelaxed);
}

void CRippleState::RotateTriggers(uint8_t direction, int count) {
  count = std::clamp(count, 0, kTriggerCount);
  if (count < 2) return;
  if (direction != 0) {
    const uint8_t last = triggers_[count - 1].load(kRelaxed);
    for (int p = count - 1; p > 0; --p) triggers_[p].store(triggers_[p - 1].load(kRelaxed), kRelaxed);
    triggers_[0].store(last, kRelaxed);
  } else {
    const uint8_t first = triggers_[0].load(kRelaxed);
    for (int p = 0; p + 1 < count; ++p) triggers_[p].store(triggers_[p + 1].load(kRelaxed), kRelaxed);
    triggers_[count - 1].store(first, kRelaxed);
  }
}

int CRippleState::Decay(int light, int curve) {
  if (light < 0 || light >= kLevelCount) return 0;
  const int level = levels_[light].load(kRelaxed);
  for (const DecayRow& row : kDecayRows) {
    if (level < row.from) continue;
    const int step = curve == 0 ? row.curve0 : curve == 29 ? row.curve29 : row.other;
    const int next = std::max(level - step, 0);
    levels_[light].store(static_cast<uint8_t>(next), kRelaxed);
    return next;
  }
  return 0;
}

void CRippleState::Clear() {
  for (auto& level : levels_) level.store(0, kRelaxed);
  for (auto& trigger : triggers_) trigger.store(0, kRelaxed);
}
