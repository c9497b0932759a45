#include "devices/LightingTables.h"

#include <algorithm>

namespace koru::lighting {
namespace {

constexpr std::array<uint8_t, 64> kBreathingRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, 32> kWheelRise{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                             44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                             140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kWheelFall{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                             114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                             29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

constexpr std::array<uint8_t, kBreathingLength> MakeBreathing() {
  std::array<uint8_t, kBreathingLength> curve{};
  for (int i = 0; i < 64; ++i) {
    curve[i] = kBreathingRise[i];
    curve[127 - i] = kBreathingRise[i];
  }
  return curve;
}

constexpr std::array<WheelColour, kWheelLength> MakeWheel() {
  std::array<WheelColour, kWheelLength> wheel{};
  for (int i = 0; i < 32; ++i) {
    const uint8_t r = kWheelRise[i];
    const uint8_t f = kWheelFall[i];
    wheel[i] = {255, r, 0};
    wheel[32 + i] = {f, 255, 0};
    wheel[64 + i] = {0, 255, r};
    wheel[96 + i] = {0, f, 255};
    wheel[128 + i] = {r, 0, 255};
    wheel[160 + i] = {255, 0, f};
  }
  return wheel;
}

// The upper part of the breathing rise (entries 16..63), up and down again.
constexpr std::array<uint8_t, kFlowLength> MakeFlow() {
  std::array<uint8_t, kFlowLength> flow{};
  for (int i = 0; i < 48; ++i) {
    flow[i] = kBreathingRise[16 + i];
    flow[95 - i] = kBreathingRise[16 + i];
  }
  return flow;
}

int Wrap(int position, int length) {
  const int r = position % length;
  return r < 0 ? r + length : r;
}

}  // namespace

const std::array<uint8_t, kLevelCount> kBrightness{0, 80, 135, 195, 255};
const std::array<uint8_t, kBreathingLength> kBreathingCurve = MakeBreathing();
const std::array<WheelColour, kWheelLength> kColourWheel = MakeWheel();
const std::array<WheelColour, kPaletteLength> kPalette{
    WheelColour{0, 255, 180}, WheelColour{0, 255, 0}, WheelColour{255, 255, 255}, WheelColour{255, 0, 0}};
const std::array<uint8_t, kFlowLength> kFlowCurve = MakeFlow();
const std::array<uint8_t, kLevelCount> kSpeedTicks{8, 6, 4, 2, 1};
const std::array<uint8_t, kLevelCount> kFastSpeedTicks{8, 5, 3, 1, 0};

int ClampLevel(int level) { return std::clamp(level, 0, kLevelCount - 1); }
uint8_t BrightnessOf(int level) { return kBrightness[ClampLevel(level)]; }
uint8_t SpeedTicksOf(int speed) { return kSpeedTicks[ClampLevel(speed)]; }
const WheelColour& WheelAt(int position) { return kColourWheel[Wrap(position, kWheelLength)]; }
const WheelColour& PaletteAt(int position) { return kPalette[Wrap(position, kPaletteLength)]; }
uint8_t BreathingAt(int position) { return kBreathingCurve[Wrap(position, kBreathingLength)]; }
uint8_t FlowAt(int position) { return kFlowCurve[Wrap(position, kFlowLength)]; }

}  // namespace koru::lighting

uint8_t PhaseStep(uint8_t direction, uint8_t limit, uint8_t value, uint8_t step) {
  if (direction != 0) {
    const uint8_t next = static_cast<uint8_t>(value + step);
    return next >= limit ? 0 : next;
  }
  const uint8_t next = static_cast<uint8_t>(value - step);
  return next < limit ? next : static_cast<uint8_t>(limit - step);
}
