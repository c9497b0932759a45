#include "transport/CDeviceChannel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/DebugOutput.h"

namespace {

constexpr int kCommandByte = 3;
constexpr int kStatusByte = 7;
constexpr uint8_t kReceiverLinkDown = 0xAA;

// Decrements the busy count on every way out of an exchange.
class BusyScope {
public:
    explicit BusyScope(std::atomic<int>& count) : count_(count) {
        count_.fetch_add(1, std::memory_order_acq_rel);
    }
    ~BusyScope() { count_.fetch_sub(1, std::memory_order_acq_rel); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    std::atomic<int>& count_;
};

void TraceHalf(const uint8_t* b) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%02x %02x %02x %02x   %02x %02x %02x %02x   %02x %02x %02x %02x   "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x  %02x %02x %02x %02x  "
                  "%02x %02x %02x %02x  %02x %02x %02x %02x",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12],
                  b[13], b[14], b[15], b[16], b[17], b[18], b[19], b[20], b[21], b[22], b[23],
                  b[24], b[25], b[26], b[27], b[28], b[29], b[30], b[31]);
    koru::DebugOutput(line);
}

}  // namespace

const char* ExchangeResultName(int code) {
    switch (code) {
        case koru::result::kSuccess: return "success";
        case koru::result::kNoAnswer: return "no answer (channel closed, read failed or timed out)";
        case koru::result::kWriteFailed: return "write failed";
        case koru::result::kLinkDown: return "wireless link down (receiver answered 0xAA)";
        case koru::result::kStatusFailed: return "device status 0xFF (command failed)";
        case koru::result::kStatusBusy: return "device status 0xFE (command refused)";
        case koru::result::kBadBank: return "unsupported bank";
        default: return "unknown result";
    }
}

void TraceFrame(const char* label, const uint8_t* frame) {
    if (!koru::DebugOutputEnabled()) return;
    koru::DebugOutput(label);
    TraceHalf(frame);
    TraceHalf(frame + 32);
}

CDeviceChannel::CDeviceChannel() = default;

CDeviceChannel::~CDeviceChannel() {
    open_.store(false, std::memory_order_release);
    // The endpoints close themselves, receiver first (reverse order of declaration).
}

bool CDeviceChannel::SetBlockSize(uint16_t size) {
    if (size > kMaxBlockSize) return false;
    blockSize_.store(size, std::memory_order_release);
    return true;
}

void CDeviceChannel::SetConnectionMode(int mode) {
    const bool receiver = mode == kReceiverMode;
    receiverMode_.store(receiver, std::memory_order_release);
    chunkSize_.store(receiver ? kReceiverChunkSize : kCableChunkSize, std::memory_order_release);
}

int CDeviceChannel::Exchange(const uint8_t* request, uint32_t requestLength, uint8_t* answer,
                             uint32_t answerLength, uint32_t* transferred) {
    return Run(request, requestLength, answer, answerLength, transferred, true);
}

int CDeviceChannel::ExchangeFast(const uint8_t* request, uint32_t requestLength, uint8_t* answer,
                                 uint32_t answerLength, uint32_t* transferred) {
    return Run(request, requestLength, answer, answerLength, transferred, false);
}

int CDeviceChannel::Run(const uint8_t* request, uint32_t requestLength, uint8_t* answer,
                        uint32_t answerLength, uint32_t* transferred, bool traced) {
    BusyScope busy(busyCount_);
    if (transferred) *transferred = 0;
    if (!IsOpen()) return koru::result::kNoAnswer;

    uint8_t frame[kFrameSize] = {};
    if (request) std::memcpy(frame, request, std::min<uint32_t>(requestLength, kFrameSize));
    if (traced) TraceFrame("命令", frame);

    bool receiver = false;
    bool written = false;
    {
        std::lock_guard lock(exchangeLock_);
        receiver = IsReceiverMode();
        CHidDevice& endpoint = receiver ? receiver_ : cable_;
        written = endpoint.Write(frame, kFrameSize, nullptr,
                                 receiver ? kReceiverTimeoutMs : kCableTimeoutMs);
    }
    if (!written) return koru::result::kWriteFailed;

    const uint32_t timeout =
        receiver ? (traced ? kReceiverTimeoutMs : kReceiverFastTimeoutMs) : kCableTimeoutMs;
    // Answers land in our own 64 bytes first: the caller's buffer may be shorter,
    // and a failed read must not leave the previous answer's bytes to be judged.
    uint8_t reply[kFrameSize];
    uint32_t count = 0;
    int result = koru::result::kNoAnswer;
    {
        std::lock_guard lock(exchangeLock_);
        CHidDevice& endpoint = receiver ? receiver_ : cable_;
        for (int attempt = 0; attempt < 2; ++attempt) {
            std::memset(reply, 0, sizeof reply);
            count = 0;
            const bool read = endpoint.Read(reply, kFrameSize, &count, timeout);
            // An answer too short to hold a status byte is no answer.
            result = read && count > kStatusByte ? koru::result::kSuccess : koru::result::kNoAnswer;
            if (result != koru::result::kSuccess) continue;
            if (reply[kCommandByte] == frame[kCommandByte]) break;
            if (receiver && reply[kCommandByte] == kReceiverLinkDown) {
                result = koru::result::kLinkDown;
                break;
            }
            // Two answers to something else: what we hold belongs to another
            // command, so its data must not be taken for ours.
            result = koru::result::kNoAnswer;
        }
    }
    if (transferred) *transferred = count;
    if (answer) {
        std::memset(answer, 0, answerLength);
        std::memcpy(answer, reply, std::min<uint32_t>(answerLength, kFrameSize));
    }
    if (traced) TraceFrame("返回", reply);
    return result;
}
