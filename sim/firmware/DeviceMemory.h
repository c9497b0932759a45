#pragma once
// The memory of one simulated device as the command set reaches it: the
// information block, the key tables, the settings records, the light pages,
// the macro and shoot images, the power block and the last streamed light frame.
// Not synchronised: the firmware that owns it guards it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/SimulatedDevice.h"

namespace koru::sim {

enum class MemoryRegion {
    DeviceInfo,
    KeyMap,        // normal layer: 3 bytes per key, in LED order
    KeyMapExtra,   // per LED its position in the light frame and the light pages
    KeyMapLayer2,  // Fn layer
    KeyMapLayer3,
    Settings,      // the raw records, profile after profile (see SettingsLayout)
    LightPages,
    Macro,
    Shoot,
    Power,
    LightFrame,    // what the host streamed last
};

// Where the settings records live. Reads and writes may use different strides
// (the mouse pad and headset read at profile x 40 and write at profile x 64);
// both reach the same record, so what was written reads back.
struct SettingsLayout {
    size_t recordSize = 0;
    uint16_t readStride = 0;
    uint16_t writeStride = 0;
    int profileCount = 0;
};

class DeviceMemory {
public:
    explicit DeviceMemory(SimModel model);
    void ResetToFactory();

    SimModel Model() const { return model_; }
    const SettingsLayout& Settings() const { return settings_; }

    // Out-of-range accesses are refused whole (false) and change nothing.
    bool Read(MemoryRegion region, uint32_t address, uint8_t* out, size_t length) const;
    bool Write(MemoryRegion region, uint32_t address, const uint8_t* in, size_t length);
    // Settings memory as the commands address it.
    bool ReadSettings(uint32_t address, uint8_t* out, size_t length) const;
    bool WriteSettings(uint32_t address, const uint8_t* in, size_t length);

    const std::vector<uint8_t>& Region(MemoryRegion region) const;
    std::vector<uint8_t>& Region(MemoryRegion region);
    // The byte at settings address 0.
    uint8_t ActiveProfile() const;
    void SetActiveProfile(uint8_t profile);
    // Record p as far as reads see it (readStride bytes, at most the record).
    std::vector<uint8_t> SettingsRecord(int profile) const;

private:
    // Offset into the settings region of settings address `address` read or
    // written with `stride`; -1 when it is outside every record.
    long SettingsOffset(uint32_t address, uint16_t stride) const;

    SimModel model_;
    SettingsLayout settings_;
    std::vector<uint8_t> regions_[11];
};

// The factory contents, per model (sim/firmware/FactoryData.cpp).
void FillFactoryMemory(SimModel model, SettingsLayout& settings, std::vector<uint8_t> (&regions)[11]);

}  // namespace koru::sim
