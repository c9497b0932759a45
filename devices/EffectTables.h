#pragma once
// Which effect number each device kind animates with which step, and how many
// light-thread ticks a step takes at each speed level.
#include <span>

#include "devices/CKestroUSBDevice.h"

namespace koru {

std::span<const CKestroUSBDevice::EffectSlot> KeyboardEffects();
std::span<const CKestroUSBDevice::EffectSlot> MouseEffects();
// The mouse pad's and the headset's: both are strips of light zones.
std::span<const CKestroUSBDevice::EffectSlot> LightStripEffects();

}  // namespace koru
