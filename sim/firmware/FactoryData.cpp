#include <algorithm>
#include <array>
#include <cstring>

#include "protocol/DeviceLayouts.h"
#include "sim/firmware/DeviceMemory.h"

// Factory contents of the simulated devices. The values are ours (docs/protocol.md
// lists them); they fit what the pages read: a keyboard of 126 lit keys, a mouse
// of 11 buttons with a 0x3325 sensor, and a mouse pad and headset without keys.
namespace koru::sim {
namespace {

using Code = std::array<uint8_t, 3>;

// The key code under each of the keyboard's keys, in the order of its picture.
constexpr Code kKeyboardKeys[] = {
    {0x20, 0x00, 0x29}, {0x20, 0x00, 0x3A}, {0x20, 0x00, 0x3B}, {0x20, 0x00, 0x3C}, {0x20, 0x00, 0x3D}, {0x20, 0x00, 0x3E},
    {0x20, 0x00, 0x3F}, {0x20, 0x00, 0x40}, {0x20, 0x00, 0x41}, {0x20, 0x00, 0x42}, {0x20, 0x00, 0x43}, {0x20, 0x00, 0x44},
    {0x20, 0x00, 0x45}, {0x20, 0x00, 0x46}, {0x20, 0x00, 0x47}, {0x20, 0x00, 0x48}, {0xA0, 0x1B, 0x00}, {0x30, 0x92, 0x01},
    {0x30, 0xE2, 0x00}, {0x30, 0xEA, 0x00}, {0x30, 0xE9, 0x00}, {0x20, 0x00, 0x35}, {0x20, 0x00, 0x1E}, {0x20, 0x00, 0x1F},
    {0x20, 0x00, 0x20}, {0x20, 0x00, 0x21}, {0x20, 0x00, 0x22}, {0x20, 0x00, 0x23}, {0x20, 0x00, 0x24}, {0x20, 0x00, 0x25},
    {0x20, 0x00, 0x26}, {0x20, 0x00, 0x27}, {0x20, 0x00, 0x2D}, {0x20, 0x00, 0x2E}, {0x20, 0x00, 0x2A}, {0x20, 0x00, 0x49},
    {0x20, 0x00, 0x4A}, {0x20, 0x00, 0x4B}, {0x20, 0x00, 0x53}, {0x20, 0x00, 0x54}, {0x20, 0x00, 0x55}, {0x20, 0x00, 0x56},
    {0x20, 0x00, 0x2B}, {0x20, 0x00, 0x14}, {0x20, 0x00, 0x1A}, {0x20, 0x00, 0x08}, {0x20, 0x00, 0x15}, {0x20, 0x00, 0x17},
    {0x20, 0x00, 0x1C}, {0x20, 0x00, 0x18}, {0x20, 0x00, 0x0C}, {0x20, 0x00, 0x12}, {0x20, 0x00, 0x13}, {0x20, 0x00, 0x2F},
    {0x20, 0x00, 0x30}, {0x20, 0x00, 0x31}, {0x20, 0x00, 0x4C}, {0x20, 0x00, 0x4D}, {0x20, 0x00, 0x4E}, {0x20, 0x00, 0x5F},
    {0x20, 0x00, 0x60}, {0x20, 0x00, 0x61}, {0x20, 0x00, 0x32}, {0x20, 0x00, 0x39}, {0x20, 0x00, 0x04}, {0x20, 0x00, 0x16},
    {0x20, 0x00, 0x07}, {0x20, 0x00, 0x09}, {0x20, 0x00, 0x0A}, {0x20, 0x00, 0x0B}, {0x20, 0x00, 0x0D}, {0x20, 0x00, 0x0E},
    {0x20, 0x00, 0x0F}, {0x20, 0x00, 0x33}, {0x20, 0x00, 0x34}, {0x20, 0x00, 0x28}, {0x20, 0x00, 0x5C}, {0x20, 0x00, 0x5D},
    {0x20, 0x00, 0x5E}, {0x20, 0x00, 0x8A}, {0x20, 0x00, 0x8B}, {0x20, 0x00, 0x90}, {0x20, 0x00, 0x91}, {0x20, 0x00, 0x88},
    {0x20, 0x02, 0x00}, {0x20, 0x00, 0x1D}, {0x20, 0x00, 0x1B}, {0x20, 0x00, 0x06}, {0x20, 0x00, 0x19}, {0x20, 0x00, 0x05},
    {0x20, 0x00, 0x11}, {0x20, 0x00, 0x10}, {0x20, 0x00, 0x36}, {0x20, 0x00, 0x37}, {0x20, 0x00, 0x38}, {0x20, 0x20, 0x00},
    {0x20, 0x00, 0x52}, {0x20, 0x00, 0x59}, {0x20, 0x00, 0x5A}, {0x20, 0x00, 0x5B}, {0x20, 0x00, 0x87}, {0x20, 0x00, 0x89},
    {0x20, 0x00, 0x64}, {0x20, 0x00, 0x85}, {0x20, 0x00, 0x00}, {0x20, 0x01, 0x00}, {0x20, 0x08, 0x00}, {0x20, 0x04, 0x00},
    {0x20, 0x00, 0x2C}, {0x20, 0x40, 0x00}, {0xA0, 0x01, 0x00}, {0x20, 0x00, 0x65}, {0x20, 0x10, 0x00}, {0x20, 0x00, 0x50},
    {0x20, 0x00, 0x51}, {0x20, 0x00, 0x4F}, {0x20, 0x00, 0x62}, {0x20, 0x00, 0x63}, {0x20, 0x00, 0x58}, {0x20, 0x00, 0x57},
    {0xD0, 0xA2, 0x01}, {0xD0, 0xA2, 0x02}, {0xD0, 0xA2, 0x03}, {0xD0, 0xA2, 0x04}, {0xD0, 0xA2, 0x05}, {0x20, 0x80, 0x00},
};
constexpr int kKeyboardKeyCount = static_cast<int>(std::size(kKeyboardKeys));

constexpr Code kMouseButtons[] = {
    {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x10, 0x00},
    {0x10, 0x08, 0x00}, {0x13, 0x01, 0x00}, {0x13, 0x02, 0x00}, {0x13, 0x03, 0x00},
    {0xA0, 0x1B, 0x00}, {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02},
};
// The mouse wires forward and back the other way round than its picture lists them.
constexpr int kMouseButtonAtPosition[] = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10};
constexpr int kMouseButtonCount = static_cast<int>(std::size(kMouseButtons));

constexpr uint16_t kFirmwareVersion = 0x0105;
constexpr int kProfileCount = 8;
constexpr size_t kKeyTableSize = koru::memory::kKeyTableBankSize;
constexpr size_t kLightPageCount = 8;
constexpr size_t kLightFrameSize = 512;

// One colour per onboard profile, so that a profile switch shows.
constexpr uint8_t kProfileColours[kProfileCount][3] = {
    {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00},
    {0xFF, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0xFF, 0x80, 0x00}, {0xFF, 0xFF, 0xFF},
};

struct ModelFacts {
    uint8_t modelNumber;
    uint8_t keyCount;
    uint8_t macroUnits;
    uint16_t sensorCode;
    uint8_t dpiStep;
    uint16_t maxDpiPosition;
    uint16_t lowestDpi;
    SettingsLayout settings;
    size_t shootBytes;
    uint8_t batteryLevel;
};

ModelFacts FactsOf(SimModel model) {
    switch (model) {
        case SimModel::Keyboard:
            return {1, kKeyboardKeyCount, 32, 0, 0, 0, 0, {40, 40, 40, kProfileCount}, 0, 85};
        case SimModel::Mouse:
            return {2, kMouseButtonCount, 16, 0x3325, 100, 148, 200,
                    {128, 128, 128, kProfileCount}, 4096, 60};
        case SimModel::MousePad:
            return {3, 0, 0, 0, 0, 0, 0, {64, 40, 64, kProfileCount}, 0, 100};
        case SimModel::Headset:
            return {7, 0, 0, 0, 0, 0, 0, {64, 40, 64, kProfileCount}, 0, 100};
    }
    return {};
}

void Put16(std::vector<uint8_t>& bytes, size_t offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}

std::vector<uint8_t> InfoBlock(const ModelFacts& f) {
    std::vector<uint8_t> info(koru::info::kSize, 0);
    Put16(info, 0, kFirmwareVersion);
    info[2] = f.modelNumber;
    info[3] = kProfileCount;
    info[koru::info::kKeyCount] = f.keyCount;
    info[koru::info::kMacroUnits] = f.macroUnits;
    Put16(info, koru::info::kSensorCode, f.sensorCode);
    info[koru::info::kDpiStep] = f.dpiStep;
    Put16(info, koru::info::kMaxDpiPosition, f.maxDpiPosition);
    Put16(info, koru::info::kLowestDpi, f.lowestDpi);
    return info;
}

// The LED under key k of the picture, and the frame position of each LED: both
// permutations, so that a page that confuses the three orders shows it.
int KeyboardKeyOfLed(int led) { return (led * 5) % kKeyboardKeyCount; }
int KeyboardFramePosition(int led) { return (led * 11) % kKeyboardKeyCount; }

void FillKeyTables(SimModel model, std::vector<uint8_t>& normal, std::vector<uint8_t>& extra) {
    if (model == SimModel::Keyboard) {
        for (int led = 0; led < kKeyboardKeyCount; ++led) {
            std::memcpy(&normal[led * 3], kKeyboardKeys[KeyboardKeyOfLed(led)].data(), 3);
            extra[led] = static_cast<uint8_t>(KeyboardFramePosition(led));
        }
    } else if (model == SimModel::Mouse) {
        for (int position = 0; position < kMouseButtonCount; ++position) {
            std::memcpy(&normal[position * 3], kMouseButtons[kMouseButtonAtPosition[position]].data(), 3);
            extra[position] = static_cast<uint8_t>(position);
        }
    }
}

// Bytes 1..8 of every record: effect, brightness, 4 - speed, direction,
// multicolour, red, green, blue.
void FillLighting(uint8_t* r, int profile) {
    r[1] = 0x00;
    r[2] = 4;
    r[3] = 2;
    r[5] = 1;
    std::memcpy(r + 6, kProfileColours[profile], 3);
}

// Keyboard record: the lighting, then the system bytes (polling rate 3 = 1000 Hz).
void FillKeyboardRecord(uint8_t* r, int profile) {
    FillLighting(r, profile);
    r[22] = 3;
    r[38] = 2;
}

// Mouse record: the lighting, polling rate, active stage, five DPI
// stages (slider positions for 400, 800, 1600, 3200 and 6400 DPI) with colours.
void FillMouseRecord(uint8_t* r, int profile) {
    static constexpr uint16_t kStagePositions[5] = {2, 6, 14, 30, 55};
    static constexpr uint8_t kStageColours[5][3] = {
        {0xFF, 0x00, 0x00}, {0x00, 0xFF, 0x00}, {0x00, 0x00, 0xFF}, {0xFF, 0xFF, 0x00}, {0xFF, 0x00, 0xFF}};
    FillLighting(r, profile);
    r[11] = 3;
    r[12] = 1;
    for (int i = 0; i < 5; ++i) {
        uint8_t* stage = r + 14 + 9 * i;
        stage[0] = 1;
        stage[2] = static_cast<uint8_t>(kStagePositions[i]);
        stage[3] = static_cast<uint8_t>(kStagePositions[i] >> 8);
        stage[4] = stage[2];
        stage[5] = stage[3];
        std::memcpy(stage + 6, kStageColours[i], 3);
    }
    r[59] = 1;
    r[60] = 1920 & 0xFF;
    r[61] = 1920 >> 8;
    r[62] = 1080 & 0xFF;
    r[63] = 1080 >> 8;
}


}  // namespace

void FillFactoryMemory(SimModel model, SettingsLayout& settings, std::vector<uint8_t> (&regions)[11]) {
    const ModelFacts facts = FactsOf(model);
    settings = facts.settings;
    auto region = [&](MemoryRegion r) -> std::vector<uint8_t>& { return regions[static_cast<size_t>(r)]; };

    region(MemoryRegion::DeviceInfo) = InfoBlock(facts);
    for (MemoryRegion table : {MemoryRegion::KeyMap, MemoryRegion::KeyMapExtra,
                               MemoryRegion::KeyMapLayer2, MemoryRegion::KeyMapLayer3})
        region(table).assign(kKeyTableSize, 0);
    FillKeyTables(model, region(MemoryRegion::KeyMap), region(MemoryRegion::KeyMapExtra));

    auto& records = region(MemoryRegion::Settings);
    records.assign(settings.recordSize * settings.profileCount, 0);
    for (int p = 0; p < settings.profileCount; ++p) {
        uint8_t* r = records.data() + p * settings.recordSize;
        if (model == SimModel::Keyboard) FillKeyboardRecord(r, p);
        else if (model == SimModel::Mouse) FillMouseRecord(r, p);
        else FillLighting(r, p);  // the 21-byte light state of the pad and the headset
        r[0] = static_cast<uint8_t>(p);  // record 0 starts with the active profile, 0
    }

    auto& pages = region(MemoryRegion::LightPages);
    pages.assign(model == SimModel::Keyboard ? kLightPageCount * koru::memory::kLightPageSize : 0, 0);
    for (size_t page = 0; page < pages.size() / koru::memory::kLightPageSize; ++page)
        for (int position = 0; position < facts.keyCount; ++position)
            std::memcpy(&pages[page * koru::memory::kLightPageSize + position * 3], kProfileColours[page], 3);
    region(MemoryRegion::Macro).assign(facts.macroUnits * koru::info::kMacroUnitBytes, 0);
    region(MemoryRegion::Shoot).assign(facts.shootBytes, 0);
    auto& power = region(MemoryRegion::Power);
    power.assign(koru::memory::kPowerBlockSize, 0);
    power[koru::memory::kPowerBatteryLevel] = facts.batteryLevel;
    region(MemoryRegion::LightFrame).assign(kLightFrameSize, 0);
}

}  // namespace koru::sim
