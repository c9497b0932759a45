#include "sim/firmware/DeviceMemory.h"

#include <algorithm>
#include <cstring>

namespace koru::sim {

DeviceMemory::DeviceMemory(SimModel model) : model_(model) { ResetToFactory(); }

void DeviceMemory::ResetToFactory() {
    for (auto& region : regions_) region.clear();
    FillFactoryMemory(model_, settings_, regions_);
}

const std::vector<uint8_t>& DeviceMemory::Region(MemoryRegion region) const {
    return regions_[static_cast<size_t>(region)];
}

std::vector<uint8_t>& DeviceMemory::Region(MemoryRegion region) {
    return regions_[static_cast<size_t>(region)];
}

bool DeviceMemory::Read(MemoryRegion region, uint32_t address, uint8_t* out, size_t length) const {
    if (region == MemoryRegion::Settings) return ReadSettings(address, out, length);
    const auto& bytes = Region(region);
    if (address > bytes.size() || length > bytes.size() - address) return false;
    if (length) std::memcpy(out, bytes.data() + address, length);
    return true;
}

bool DeviceMemory::Write(MemoryRegion region, uint32_t address, const uint8_t* in, size_t length) {
    if (region == MemoryRegion::Settings) return WriteSettings(address, in, length);
    auto& bytes = Region(region);
    if (address > bytes.size() || length > bytes.size() - address) return false;
    if (length) std::memcpy(bytes.data() + address, in, length);
    return true;
}

long DeviceMemory::SettingsOffset(uint32_t address, uint16_t stride) const {
    if (stride == 0) return -1;
    const uint32_t record = address / stride;
    const uint32_t offset = address % stride;
    if (record >= static_cast<uint32_t>(settings_.profileCount) || offset >= settings_.recordSize)
        return -1;
    return static_cast<long>(record * settings_.recordSize + offset);
}

bool DeviceMemory::ReadSettings(uint32_t address, uint8_t* out, size_t length) const {
    const auto& bytes = Region(MemoryRegion::Settings);
    for (size_t i = 0; i < length; ++i)
        if (SettingsOffset(address + static_cast<uint32_t>(i), settings_.readStride) < 0) return false;
    for (size_t i = 0; i < length; ++i)
        out[i] = bytes[SettingsOffset(address + static_cast<uint32_t>(i), settings_.readStride)];
    return true;
}

bool DeviceMemory::WriteSettings(uint32_t address, const uint8_t* in, size_t length) {
    auto& bytes = Region(MemoryRegion::Settings);
    for (size_t i = 0; i < length; ++i)
        if (SettingsOffset(address + static_cast<uint32_t>(i), settings_.writeStride) < 0) return false;
    for (size_t i = 0; i < length; ++i)
        bytes[SettingsOffset(address + static_cast<uint32_t>(i), settings_.writeStride)] = in[i];
    return true;
}

uint8_t DeviceMemory::ActiveProfile() const {
    const auto& bytes = Region(MemoryRegion::Settings);
    return bytes.empty() ? 0 : bytes[0];
}

void DeviceMemory::SetActiveProfile(uint8_t profile) {
    auto& bytes = Region(MemoryRegion::Settings);
    if (!bytes.empty()) bytes[0] = profile;
}

std::vector<uint8_t> DeviceMemory::SettingsRecord(int profile) const {
    if (profile < 0 || profile >= settings_.profileCount) return {};
    const size_t visible = std::min<size_t>(settings_.readStride, settings_.recordSize);
    const auto& bytes = Region(MemoryRegion::Settings);
    const auto first = bytes.begin() + static_cast<long>(profile * settings_.recordSize);
    return {first, first + static_cast<long>(visible)};
}

}  // namespace koru::sim
