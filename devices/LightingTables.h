#pragma once
// The constant tables every lighting effect is built from, and the phase
// arithmetic they share. Levels and indexes that come from profiles or devices
// go through the clamping lookups, never straight into a table.
#include <array>
#include <cstdint>

struct WheelColour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const WheelColour&) const = default;
};

namespace koru::lighting {

inline constexpr int kLevelCount = 5;  // brightness and speed levels 0..4
inline constexpr int kBreathingLength = 128;
inline constexpr int kWheelLength = 192;
inline constexpr int kPaletteLength = 4;
inline constexpr int kFlowLength = 96;
// Blinking toggles every speedTicks × this many milliseconds.
inline constexpr int kBlinkMsPerTick = 200;

extern const std::array<uint8_t, kLevelCount> kBrightness;
extern const std::array<uint8_t, kBreathingLength> kBreathingCurve;
extern const std::array<WheelColour, kWheelLength> kColourWheel;
extern const std::array<WheelColour, kPaletteLength> kPalette;
extern const std::array<uint8_t, kFlowLength> kFlowCurve;
// Ticks per step by speed level: the common table, and the faster one of
// custom steps in spectrum mode.
extern const std::array<uint8_t, kLevelCount> kSpeedTicks;
extern const std::array<uint8_t, kLevelCount> kFastSpeedTicks;

// Out-of-range levels read as the nearest valid one.
uint8_t BrightnessOf(int level);
uint8_t SpeedTicksOf(int speed);
int ClampLevel(int level);
// Positions wrap around their table.
const WheelColour& WheelAt(int position);
const WheelColour& PaletteAt(int position);
uint8_t BreathingAt(int position);
uint8_t FlowAt(int position);
// value × level / 256, the way every effect scales a curve or colour.
constexpr uint8_t Scale(int value, int level) { return static_cast<uint8_t>((value * level) >> 8); }

}  // namespace koru::lighting

// Steps an animation phase in byte arithmetic. Forward (direction != 0): value
// + step, 0 once that reaches limit. Backward: value - step while that (as a
// byte) is below limit, else limit - step, so a backward phase wraps from 0 to
// limit - step.
uint8_t PhaseStep(uint8_t direction, uint8_t limit, uint8_t value, uint8_t step);
