#include "protocol/CommandFrame.h"

#include <algorithm>
#include <cstring>

#include "transport/CDeviceChannel.h"

namespace koru::frame {

uint16_t Checksum(const uint8_t* frame) {
    uint32_t sum = 0;
    for (size_t i = kCommand; i < kSize; ++i) sum += frame[i];
    return static_cast<uint16_t>(sum);
}

bool ChecksumValid(const uint8_t* frame) {
    const uint16_t stored = static_cast<uint16_t>(frame[kChecksum] | frame[kChecksum + 1] << 8);
    return stored == Checksum(frame);
}

void Build(uint8_t* frame, uint8_t command, uint8_t length, uint16_t address,
           const uint8_t* payload, size_t payloadLength) {
    std::memset(frame, 0, kSize);
    frame[0] = kReportId;
    frame[kCommand] = command;
    frame[kLength] = length;
    frame[kAddress] = static_cast<uint8_t>(address);
    frame[kAddress + 1] = static_cast<uint8_t>(address >> 8);
    if (payload) std::memcpy(frame + kPayload, payload, std::min(payloadLength, kMaxPayload));
    const uint16_t sum = Checksum(frame);
    frame[kChecksum] = static_cast<uint8_t>(sum);
    frame[kChecksum + 1] = static_cast<uint8_t>(sum >> 8);
}

uint16_t Address(const uint8_t* frame) {
    return static_cast<uint16_t>(frame[kAddress] | frame[kAddress + 1] << 8);
}

int StatusResult(const uint8_t* answer) {
    if (answer[kStatus] == kStatusFailed) return koru::result::kStatusFailed;
    if (answer[kStatus] == kStatusBusy) return koru::result::kStatusBusy;
    return koru::result::kSuccess;
}

}  // namespace koru::frame
