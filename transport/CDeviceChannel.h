#pragma once
// The framed 64-byte command exchange with one device, by cable or through its
// 2.4 GHz receiver. One channel per device page; the command functions
// (protocol/) build the frames and read the answers through it.
#include <atomic>
#include <cstdint>
#include <mutex>

#include "transport/CHidDevice.h"

// Result codes shared by the exchange routines and the command functions.
namespace koru::result {
constexpr int kSuccess = 1;
constexpr int kNoAnswer = 0;        // channel not open, or the answer could not be read
constexpr int kWriteFailed = -1;    // the command report could not be written
constexpr int kLinkDown = -101;     // receiver answered 0xAA: the wireless device is out of reach
constexpr int kStatusFailed = -102; // answer status 0xFF
constexpr int kStatusBusy = -103;   // answer status 0xFE
constexpr int kBadBank = -201;      // block command for a bank other than 0
}  // namespace koru::result

// A short English name for a result code ("success", "link down", ...), for tools and traces.
const char* ExchangeResultName(int code);

class CDeviceChannel {
public:
    static constexpr int kFrameSize = 64;
    static constexpr uint16_t kMaxBlockSize = 512;
    static constexpr uint8_t kCableChunkSize = 56;
    static constexpr uint8_t kReceiverChunkSize = 24;
    static constexpr int kCableMode = 1;
    static constexpr int kReceiverMode = 2;

    // Time-outs per endpoint operation, in milliseconds.
    static constexpr uint32_t kCableTimeoutMs = 1000;
    static constexpr uint32_t kReceiverTimeoutMs = 5000;
    static constexpr uint32_t kReceiverFastTimeoutMs = 500;

    CDeviceChannel();
    ~CDeviceChannel();
    CDeviceChannel(const CDeviceChannel&) = delete;
    CDeviceChannel& operator=(const CDeviceChannel&) = delete;

    // Refuses (false, unchanged) a size above 512.
    bool SetBlockSize(uint16_t size);
    // kReceiverMode: receiver endpoint, 24-byte chunks; anything else: cable, 56-byte chunks.
    void SetConnectionMode(int mode);

    // Writes one command report and reads answers until one echoes the command
    // (at most two reads). Traced. Returns a koru::result code.
    int Exchange(const uint8_t* request, uint32_t requestLength, uint8_t* answer,
                 uint32_t answerLength, uint32_t* transferred);
    // The same, untraced and with a short receiver time-out: for the light stream.
    int ExchangeFast(const uint8_t* request, uint32_t requestLength, uint8_t* answer,
                     uint32_t answerLength, uint32_t* transferred);

    bool IsOpen() const { return open_.load(std::memory_order_acquire); }
    // Set by whoever opens or closes the endpoint of the current mode, under the exchange lock.
    void SetOpen(bool open) { open_.store(open, std::memory_order_release); }
    // True while any exchange runs on this channel.
    bool IsBusy() const { return busyCount_.load(std::memory_order_acquire) != 0; }
    bool IsSyncLightingMember() const { return syncLighting_.load(std::memory_order_acquire); }
    void SetSyncLightingMember(bool member) { syncLighting_.store(member, std::memory_order_release); }

    bool IsReceiverMode() const { return receiverMode_.load(std::memory_order_acquire); }
    uint8_t GetChunkSize() const { return chunkSize_.load(std::memory_order_acquire); }
    uint16_t GetBlockSize() const { return blockSize_.load(std::memory_order_acquire); }

    CHidDevice& CableEndpoint() { return cable_; }
    CHidDevice& ReceiverEndpoint() { return receiver_; }
    // Recursive, like the critical sections the callers were written against.
    // Order: command or lighting lock first, then the exchange lock.
    std::recursive_mutex& ExchangeLock() { return exchangeLock_; }
    std::recursive_mutex& CommandLock() { return commandLock_; }
    std::recursive_mutex& LightingLock() { return lightingLock_; }

private:
    int Run(const uint8_t* request, uint32_t requestLength, uint8_t* answer, uint32_t answerLength,
            uint32_t* transferred, bool traced);

    std::atomic<uint16_t> blockSize_{kMaxBlockSize};
    // A count rather than a flag: with two exchanges in flight the first to end
    // must not make the channel look idle.
    std::atomic<int> busyCount_{0};
    std::atomic<bool> open_{false};
    std::atomic<bool> syncLighting_{false};
    CHidDevice cable_;
    CHidDevice receiver_;
    std::recursive_mutex exchangeLock_;
    std::recursive_mutex commandLock_;
    std::recursive_mutex lightingLock_;
    std::atomic<bool> receiverMode_{false};
    std::atomic<uint8_t> chunkSize_{kReceiverChunkSize};
};

// The exchange trace: the label, then bytes 0-31 and 32-63 as hex lines.
// Formats nothing when the debug output is off.
void TraceFrame(const char* label, const uint8_t* frame);
