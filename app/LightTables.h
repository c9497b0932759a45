#pragma once
// The lighting constants every animated effect shares: brightness per level,
// the breathing curve and the colour wheel.
#include <array>
#include <cstdint>

namespace koru::light {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr int kBrightnessLevels = 5;
inline constexpr int kSpeedLevels = 5;
inline constexpr int kBreathingPositions = 128;
inline constexpr int kWheelPositions = 192;

// Level byte for brightness level 0..4; out-of-range levels (from old or
// damaged profiles) are clamped.
std::uint8_t BrightnessOfLevel(int level);
// Ticks per step for speed level 0..4 (clamped): 8, 6, 4, 2, 1.
int SpeedTicksOfLevel(int level);

const std::array<std::uint8_t, kBreathingPositions>& BreathingCurve();
const std::array<Rgb, kWheelPositions>& ColourWheel();

}  // namespace koru::light
