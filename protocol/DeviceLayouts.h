#pragma once
// Where things live in a device's memory, as the command set reaches them.
#include <cstddef>
#include <cstdint>

// The 34-byte device information block (ReadDeviceInfo); multi-byte values little-endian.
namespace koru::info {
constexpr size_t kSize = 34;
constexpr size_t kKeyCount = 5;         // keyboard: lit keys (at most 170); mouse: buttons
constexpr size_t kMacroUnits = 6;       // macro memory in units of 128 bytes
constexpr size_t kSensorCode = 9;       // 16-bit, mouse
constexpr size_t kDpiStep = 11;         // DPI per slider position, mouse
constexpr size_t kMaxDpiPosition = 12;  // 16-bit, mouse
constexpr size_t kLowestDpi = 14;       // 16-bit, mouse
constexpr size_t kMacroUnitBytes = 128;
constexpr unsigned kMaxKeyCount = 170;

inline uint16_t Read16(const uint8_t* block, size_t offset) {
    return static_cast<uint16_t>(block[offset] | block[offset + 1] << 8);
}
}  // namespace koru::info

// Settings memory (ReadProfileData / WriteProfileData): the active profile byte
// at address 0, then one record per onboard profile.
namespace koru::settings {
constexpr uint16_t kActiveProfileAddress = 0;

struct RecordLayout {
    uint16_t readLength;
    uint16_t readStride;
    uint16_t writeLength;
    uint16_t writeStride;
};
constexpr RecordLayout kKeyboard{39, 40, 39, 40};
constexpr RecordLayout kMouse{71, 128, 71, 128};
// The mouse pad and the headset read a 39-byte record at profile x 40 but write
// its first 21 bytes at profile x 64.
constexpr RecordLayout kMousePad{39, 40, 21, 64};
constexpr RecordLayout kHeadset{39, 40, 21, 64};
}  // namespace koru::settings

namespace koru::memory {
constexpr uint16_t kKeyTableBankSize = 512;  // the banks of the key-table writes
constexpr uint16_t kLightPageSize = 512;     // keyboard light pages
constexpr uint16_t kPowerBlockSize = 6;      // ReadPowerStatus at address 0
constexpr size_t kPowerBatteryLevel = 0;     // percent
constexpr size_t kPowerState = 1;            // see PowerState
constexpr size_t kPowerConnection = 3;       // overwritten by the pages with the mode
constexpr size_t kPowerForwarded = 4;        // handed to the main window
constexpr size_t kPowerPhone = 5;            // mouse pads: phone on the charging surface
enum PowerState : uint8_t { kExternalPower = 0, kCharging = 1, kOnBattery = 2 };
enum PhoneKind : uint8_t { kNoPhone = 0, kIPhone = 1, kSamsungPhone = 2, kOtherPhone = 3 };
// Macro and shoot images: 0x55AA, total length, count, 10 reserved bytes, offsets.
constexpr uint16_t kImageMagic = 0x55AA;
constexpr size_t kImageHeaderSize = 16;
}  // namespace koru::memory

// Notification codes of the consumer-control interface (first 16-bit usage value).
namespace koru::notify {
constexpr uint16_t kReload = 1025;            // settings changed on the device
constexpr uint16_t kReloadProfile = 1026;     // profile changed: reload the profile as well
constexpr uint16_t kMouseReaction = 1027;     // mouse: reaction on every light
constexpr uint16_t kKeyboardIgnored = 1028;
constexpr uint16_t kKeyPressedBase = 1280;    // + LED, keyboard
constexpr uint16_t kKeyReleasedBase = 1536;   // + LED, keyboard
constexpr uint16_t kProfileSwitch = 0x1000;   // | profile
constexpr uint16_t kProfileAndState = 0x1100; // | state << 4 | profile
}  // namespace koru::notify
