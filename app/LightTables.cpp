#include "app/LightTables.h"

#include <algorithm>

namespace koru::light {
namespace {

constexpr std::array<std::uint8_t, 5> kBrightness{0, 80, 135, 195, 255};
constexpr std::array<int, 5> kSpeedTicks{8, 6, 4, 2, 1};

constexpr std::array<std::uint8_t, 64> kBreathRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,  22,  24,  27,  30,  33,  36,
    39,  42,  45,  49,  53,  57,  61,  65,  69,  73,  77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129,
    134, 140, 146, 152, 158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<std::uint8_t, 32> kWheelRise{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                                  44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                                  140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, 32> kWheelFall{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                                  114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                                  29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

std::array<std::uint8_t, kBreathingPositions> MakeBreathing() {
  std::array<std::uint8_t, kBreathingPositions> curve{};
  for (int i = 0; i < 64; ++i) {
    curve[i] = kBreathRise[i];
    curve[127 - i] = kBreathRise[i];
  }
  return curve;
}

std::array<Rgb, kWheelPositions> MakeWheel() {
  std::array<Rgb, kWheelPositions> wheel{};
  for (int i = 0; i < 32; ++i) {
    const std::uint8_t r = kWheelRise[i];
    const std::uint8_t f = kWheelFall[i];
    wheel[i] = {255, r, 0};
    wheel[32 + i] = {f, 255, 0};
    wheel[64 + i] = {0, 255, r};
    wheel[96 + i] = {0, f, 255};
    wheel[128 + i] = {r, 0, 255};
    wheel[160 + i] = {255, 0, f};
  }
  return wheel;
}

}  // namespace

std::uint8_t BrightnessOfLevel(int level) { return kBrightness[std::clamp(level, 0, kBrightnessLevels - 1)]; }

int SpeedTicksOfLevel(int level) { return kSpeedTicks[std::clamp(level, 0, kSpeedLevels - 1)]; }

const std::array<std::uint8_t, kBreathingPositions>& BreathingCurve() {
  static const auto curve = MakeBreathing();
  return curve;
}

const std::array<Rgb, kWheelPositions>& ColourWheel() {
  static const auto wheel = MakeWheel();
  return wheel;
}

}  // namespace koru::light
