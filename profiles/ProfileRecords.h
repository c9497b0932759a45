#pragma once
// The fixed records the device pages and editors work with. Byte fields are
// unsigned 8-bit and packed in this order; the pages hand some of them to the
// devices as they are.
#include <cstdint>
#include <string>

struct LightInfoData {
  uint8_t selectItem = 0;  // effect
  uint8_t light = 0;       // brightness level
  uint8_t speed = 0;
  uint8_t fx = 0;  // direction
  uint8_t multiColor = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t spare8 = 0;
  uint8_t spare9 = 0;
  uint8_t valid = 0;  // light list entries only: 1 when the entry is present
  uint8_t zzccLedMode = 0;
  uint8_t customGroup = 0;
  uint8_t oldLedMode = 0;
  uint8_t voiceLedModeSwitch = 0;
  uint8_t voiceLedMode = 0;
  uint8_t voiceSensitivity = 0;
  bool operator==(const LightInfoData&) const = default;
};
static_assert(sizeof(LightInfoData) == 17);

struct AudioLightInfoData {
  uint8_t audioMode = 0;
  uint8_t bkColorR = 0;
  uint8_t bkColorG = 0;
  uint8_t bkColorB = 0;
  uint8_t fgColorR = 0;
  uint8_t fgColorG = 0;
  uint8_t fgColorB = 0;
  uint8_t sevenColorFlags = 0;
  uint8_t colorTypeFlags = 0;
  bool operator==(const AudioLightInfoData&) const = default;
};
static_assert(sizeof(AudioLightInfoData) == 9);

// One step of a custom light effect.
struct LightEffectStep {
  LightInfoData light;
  int32_t time = 0;  // milliseconds the step lasts
  int32_t cycle = 0;
  bool operator==(const LightEffectStep&) const = default;
};

// Three assignment bytes (type, p1, p2); stored in JSON as type << 16 | p1 << 8 | p2.
struct KeyAssignment {
  uint16_t keyIndex = 0;
  uint8_t b0 = 0;
  uint8_t b1 = 0;
  uint8_t b2 = 0;
  static KeyAssignment FromPacked(uint16_t keyIndex, uint32_t packed) {
    return {keyIndex, static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
            static_cast<uint8_t>(packed)};
  }
  uint32_t Packed() const { return uint32_t{b0} << 16 | uint32_t{b1} << 8 | b2; }
  bool operator==(const KeyAssignment&) const = default;
};

struct KeyListItem {
  KeyAssignment fnAssignment;
  KeyAssignment assignment;
  KeyAssignment defaultAssignment;
  bool operator==(const KeyListItem&) const = default;
};

struct KeyboardSystemStages {
  uint16_t repeat = 0;
  uint16_t repeatDelay = 0;
  uint16_t key6Flag = 0;
  uint16_t pollingRate = 0;
  uint16_t wFlag = 0;
  uint16_t winFlag = 0;
  bool operator==(const KeyboardSystemStages&) const = default;
};

struct MouseSystemStages {
  uint16_t doubleClickTime = 0;
  uint16_t mouseSpeed = 0;
  uint16_t pointerPrecision = 0;
  uint16_t scrollPage = 0;
  uint16_t wheelScrollLines = 0;
  uint16_t reportRate = 0;  // "ReportStages"."StageActive": the polling rate option
  bool operator==(const MouseSystemStages&) const = default;
};

struct DpiStage {
  uint8_t active = 0;
  uint8_t xyMode = 0;
  uint16_t dpiX = 0;  // slider positions, not DPI values
  uint16_t dpiY = 0;
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const DpiStage&) const = default;
};

struct CorrectItem {
  uint8_t pixThresh = 0;
  uint8_t minSq = 0;
  uint8_t select = 0;
  std::string name;
  bool operator==(const CorrectItem&) const = default;
};

struct HeadsetSystemSetStages {
  int32_t magicEnable = 0;
  int32_t magicType = 0;
  int32_t eqType = 0;
  int32_t customEqSelectIndex = 0;  // -1: no custom preset chosen
  int32_t micInSelect = 0;
  int32_t micInValue = 0;
  int32_t micMonitorSelect = 0;
  int32_t micMonitorValue = 0;
  bool operator==(const HeadsetSystemSetStages&) const = default;
};

struct LightColor {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t alpha = 0;
  bool operator==(const LightColor&) const = default;
};
