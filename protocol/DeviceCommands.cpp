#include "protocol/DeviceCommands.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/DebugOutput.h"
#include "protocol/CommandFrame.h"
#include "protocol/DeviceLayouts.h"
#include "transport/CDeviceChannel.h"

namespace {

using koru::frame::kSize;

enum class Lock { Command, Lighting, None };
enum class Speed { Normal, Fast };

std::recursive_mutex* LockOf(CDeviceChannel& channel, Lock lock) {
    switch (lock) {
        case Lock::Command: return &channel.CommandLock();
        case Lock::Lighting: return &channel.LightingLock();
        case Lock::None: break;
    }
    return nullptr;
}

// One frame under its lock; the exchange result, then the answer's status.
int RunFrame(CDeviceChannel& channel, Lock lock, Speed speed, const uint8_t* frame,
             uint8_t* answer) {
    int result;
    {
        std::recursive_mutex* mutex = LockOf(channel, lock);
        std::unique_lock guard = mutex ? std::unique_lock(*mutex) : std::unique_lock<std::recursive_mutex>();
        result = speed == Speed::Fast ? channel.ExchangeFast(frame, kSize, answer, kSize, nullptr)
                                      : channel.Exchange(frame, kSize, answer, kSize, nullptr);
    }
    if (result != koru::result::kSuccess) return result;
    return koru::frame::StatusResult(answer);
}

int Simple(CDeviceChannel& channel, uint8_t command) {
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    koru::frame::Build(frame, command, 0, 0);
    return RunFrame(channel, Lock::Command, Speed::Normal, frame, answer);
}

// A transfer split into chunks of min(chunk, remaining) bytes at base + offset.
struct Transfer {
    uint8_t command;
    size_t total;
    uint32_t base;
    size_t chunk;
    Lock lock;
};

uint16_t ChunkAddress(const Transfer& t, size_t offset) {
    return static_cast<uint16_t>(t.base + offset);  // the wire holds 16 bits
}

int ChunkedRead(CDeviceChannel& channel, const Transfer& t, uint8_t* destination) {
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    for (size_t offset = 0; offset < t.total; offset += t.chunk) {
        const size_t length = std::min(t.chunk, t.total - offset);
        koru::frame::Build(frame, t.command, static_cast<uint8_t>(length), ChunkAddress(t, offset));
        const int result = RunFrame(channel, t.lock, Speed::Normal, frame, answer);
        if (result != koru::result::kSuccess) return result;
        std::memcpy(destination + offset, answer + koru::frame::kPayload, length);
    }
    return koru::result::kSuccess;
}

int ChunkedWrite(CDeviceChannel& channel, const Transfer& t, const uint8_t* source) {
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    for (size_t offset = 0; offset < t.total; offset += t.chunk) {
        const size_t length = std::min(t.chunk, t.total - offset);
        koru::frame::Build(frame, t.command, static_cast<uint8_t>(length), ChunkAddress(t, offset),
                           source + offset, length);
        const int result = RunFrame(channel, t.lock, Speed::Normal, frame, answer);
        if (result != koru::result::kSuccess) return result;
    }
    return koru::result::kSuccess;
}

size_t ChunkOf(CDeviceChannel& channel) {
    // A chunk of 0 would never advance; a chunk above 56 would not fit a frame.
    return std::clamp<size_t>(channel.GetChunkSize(), 1, koru::frame::kMaxPayload);
}

int WriteKeyTable(CDeviceChannel& channel, uint8_t command, const uint8_t* source, unsigned bank) {
    if (bank != 0) return koru::result::kBadBank;
    const Transfer t{command, channel.GetBlockSize(), bank * koru::memory::kKeyTableBankSize,
                     ChunkOf(channel), Lock::Command};
    return ChunkedWrite(channel, t, source);
}

}  // namespace

int BeginSession(CDeviceChannel& channel) { return Simple(channel, koru::cmd::kBeginSession); }

int EndSession(CDeviceChannel& channel) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Simple(channel, koru::cmd::kEndSession);
}

int TakeLightControl(CDeviceChannel& channel) {
    return Simple(channel, koru::cmd::kTakeLightControl);
}

int ReadDeviceInfo(CDeviceChannel& channel, uint8_t* info) {
    uint8_t block[koru::info::kSize] = {};
    const Transfer t{koru::cmd::kReadDeviceInfo, koru::info::kSize, 0, ChunkOf(channel), Lock::Command};
    const int result = ChunkedRead(channel, t, block);
    if (result == koru::result::kSuccess) std::memcpy(info, block, sizeof block);
    return result;
}

int ReadKeyMap(CDeviceChannel& channel, uint8_t* destination) {
    const Transfer t{koru::cmd::kReadKeyMap, channel.GetBlockSize(), 0, ChunkOf(channel), Lock::Command};
    return ChunkedRead(channel, t, destination);
}

int ReadKeyMapExtra(CDeviceChannel& channel, uint8_t* destination) {
    const Transfer t{koru::cmd::kReadKeyMapExtra, channel.GetBlockSize() / 3u, 0, ChunkOf(channel),
                     Lock::Command};
    return ChunkedRead(channel, t, destination);
}

int ReadProfileData(CDeviceChannel& channel, uint8_t* destination, size_t length, uint16_t base) {
    const Transfer t{koru::cmd::kReadProfileData, length, base, ChunkOf(channel), Lock::Command};
    return ChunkedRead(channel, t, destination);
}

int ReadLightPage(CDeviceChannel& channel, uint8_t* destination, size_t length, unsigned page,
                  uint16_t pageSize) {
    const Transfer t{koru::cmd::kReadLightPage, length, page * pageSize, ChunkOf(channel),
                     Lock::Command};
    return ChunkedRead(channel, t, destination);
}

int WriteKeyMap(CDeviceChannel& channel, const uint8_t* source, unsigned bank) {
    return WriteKeyTable(channel, koru::cmd::kWriteKeyMap, source, bank);
}

int WriteKeyMapLayer2(CDeviceChannel& channel, const uint8_t* source, unsigned bank) {
    return WriteKeyTable(channel, koru::cmd::kWriteKeyMapLayer2, source, bank);
}

int WriteKeyMapLayer3(CDeviceChannel& channel, const uint8_t* source, unsigned bank) {
    return WriteKeyTable(channel, koru::cmd::kWriteKeyMapLayer3, source, bank);
}

int WriteMacroData(CDeviceChannel& channel, const uint8_t* source, size_t length) {
    const Transfer t{koru::cmd::kWriteMacroData, length, 0, ChunkOf(channel), Lock::Command};
    return ChunkedWrite(channel, t, source);
}

int WriteShootData(CDeviceChannel& channel, const uint8_t* source, size_t length) {
    const Transfer t{koru::cmd::kWriteShootData, length, 0, koru::frame::kMaxPayload, Lock::None};
    return ChunkedWrite(channel, t, source);
}

int WriteProfileData(CDeviceChannel& channel, const uint8_t* source, size_t length, uint16_t base) {
    const Transfer t{koru::cmd::kWriteProfileData, length, base, ChunkOf(channel), Lock::Command};
    return ChunkedWrite(channel, t, source);
}

int WriteLightPage(CDeviceChannel& channel, const uint8_t* source, size_t length, unsigned page,
                   uint16_t pageSize) {
    const Transfer t{koru::cmd::kWriteLightPage, length, page * pageSize, ChunkOf(channel),
                     Lock::Lighting};
    return ChunkedWrite(channel, t, source);
}

int StreamLightFrame(CDeviceChannel& channel, const uint8_t* source, size_t length) {
    const size_t chunk = ChunkOf(channel);
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    for (size_t offset = 0; offset < length; offset += chunk) {
        if (channel.IsBusy()) {
            // A light frame is stale a moment later; waiting would only delay the next one.
            koru::DebugOutput("放弃灯光数据");
            continue;
        }
        const size_t part = std::min(chunk, length - offset);
        koru::frame::Build(frame, koru::cmd::kStreamLightFrame, static_cast<uint8_t>(part),
                           static_cast<uint16_t>(offset), source + offset, part);
        const int result = RunFrame(channel, Lock::Lighting, Speed::Fast, frame, answer);
        if (result != koru::result::kSuccess) return result;
    }
    return koru::result::kSuccess;
}

int ReadPowerStatus(CDeviceChannel& channel, uint8_t* destination, size_t length,
                    uint16_t address) {
    if (length > koru::frame::kMaxPayload) return koru::result::kNoAnswer;
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    koru::frame::Build(frame, koru::cmd::kReadPowerStatus, static_cast<uint8_t>(length), address);
    const int result = RunFrame(channel, Lock::Command, Speed::Normal, frame, answer);
    if (result == koru::result::kSuccess)
        std::memcpy(destination, answer + koru::frame::kPayload, length);
    return result;
}

bool QueryWirelessLink(CDeviceChannel& channel) {
    if (!channel.IsReceiverMode()) return true;
    uint8_t frame[kSize];
    uint8_t answer[kSize];
    koru::frame::Build(frame, koru::cmd::kQueryWirelessLink, 0, 0);
    // The receiver's 0xAA is this command's own echo here, never "link down".
    const int result = RunFrame(channel, Lock::Command, Speed::Normal, frame, answer);
    return result == koru::result::kSuccess && answer[koru::frame::kPayload] == koru::frame::kLinkUp;
}
