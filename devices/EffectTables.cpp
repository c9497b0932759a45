#include "devices/EffectTables.h"

#include "devices/CKestroKeyboardDevice.h"

namespace koru {
namespace {

using Page = CKestroUSBDevice;
using Ticks = std::array<uint8_t, 5>;

constexpr Ticks kCommonTicks{8, 6, 4, 2, 1};
constexpr Ticks kKeyboardTicks{8, 5, 3, 1, 0};
constexpr Ticks kEveryTick{0, 0, 0, 0, 0};
constexpr Ticks kMouseWaveTicks{16, 12, 8, 4, 2};

// Only the keyboard's table holds it.
void ColumnsWave(Page& p) { static_cast<CKestroKeyboardDevice&>(p).StepColumnsWave(); }
void Flow(Page& p) { p.StepFlowEffect(); }
void Spectrum(Page& p) { p.StepSpectrumEffect(); }
void Breath(Page& p) { p.StepBreathEffect(); }
void Static(Page& p) { p.StepStaticEffect(); }
void Blink(Page& p) { p.StepBlinkEffect(); }
void Wave(Page& p) { p.StepWaveEffect(); }
void Wave2(Page& p) { p.StepWaveEffect2(); }
void BreathPalette(Page& p) { p.StepBreathPaletteEffect(); }
void BlinkPalette(Page& p) { p.StepBlinkPaletteEffect(); }
void Off(Page& p) { p.StepLightsOff(); }

// The keyboard's own effect engine adds the rest of its effects.
constexpr Page::EffectSlot kKeyboard[] = {
    {1, ColumnsWave, kKeyboardTicks},    {4, Spectrum, kKeyboardTicks},       {5, Breath, kKeyboardTicks},  {6, Static, kKeyboardTicks},
    {20, Off, kKeyboardTicks},           {26, BreathPalette, kKeyboardTicks},
    {27, BlinkPalette, kEveryTick},      {34, Blink, kEveryTick},
};

constexpr Page::EffectSlot kMouse[] = {
    {0, Flow, kCommonTicks},   {1, Spectrum, kCommonTicks},      {2, Breath, kCommonTicks},
    {3, Static, kCommonTicks}, {4, Blink, kCommonTicks},         {5, Wave, kMouseWaveTicks},
    {6, Wave2, kCommonTicks},  {7, BreathPalette, kCommonTicks}, {8, BlinkPalette, kCommonTicks},
    {10, Off, kCommonTicks},
};

constexpr Page::EffectSlot kLightStrip[] = {
    {0, Flow, kCommonTicks},   {1, Spectrum, kCommonTicks}, {2, Breath, kCommonTicks}, {3, Static, kCommonTicks},
    {4, Blink, kCommonTicks},  {6, Wave2, kCommonTicks},    {7, Wave, kCommonTicks},   {8, Off, kCommonTicks},
};

}  // namespace

std::span<const CKestroUSBDevice::EffectSlot> KeyboardEffects() { return kKeyboard; }
std::span<const CKestroUSBDevice::EffectSlot> MouseEffects() { return kMouse; }
std::span<const CKestroUSBDevice::EffectSlot> LightStripEffects() { return kLightStrip; }

}  // namespace koru
