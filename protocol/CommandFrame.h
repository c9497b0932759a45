#pragma once
// The 64-byte command report and its answer: offsets, command codes, checksum.
// Shared by the command functions and by the firmware emulation that answers them.
#include <cstddef>
#include <cstdint>

namespace koru::frame {

constexpr size_t kSize = 64;
constexpr uint8_t kReportId = 0x04;
constexpr size_t kChecksum = 1;  // 16-bit little-endian sum of bytes 3..63
constexpr size_t kCommand = 3;
constexpr size_t kLength = 4;
constexpr size_t kAddress = 5;  // 16-bit little-endian
constexpr size_t kStatus = 7;   // in answers; 0 in requests
constexpr size_t kPayload = 8;
constexpr size_t kMaxPayload = kSize - kPayload;  // 56

constexpr uint8_t kStatusFailed = 0xFF;
constexpr uint8_t kStatusBusy = 0xFE;
constexpr uint8_t kStatusOk = 0x00;
// Byte 3 of the receiver's answer when the wireless device cannot be reached.
constexpr uint8_t kLinkDownEcho = 0xAA;
// Data byte 0 of the link query's answer when the link is up.
constexpr uint8_t kLinkUp = 0xFF;

uint16_t Checksum(const uint8_t* frame);
bool ChecksumValid(const uint8_t* frame);
// Fills all 64 bytes: report ID, command, length, address, payload (zero-filled
// after `payloadLength` bytes, which must not exceed 56), then the checksum.
void Build(uint8_t* frame, uint8_t command, uint8_t length, uint16_t address,
           const uint8_t* payload = nullptr, size_t payloadLength = 0);
uint16_t Address(const uint8_t* frame);
// The result an answer's status byte stands for: 1, -102 or -103.
int StatusResult(const uint8_t* answer);

}  // namespace koru::frame

namespace koru::cmd {
constexpr uint8_t kBeginSession = 0x01;
constexpr uint8_t kEndSession = 0x02;
constexpr uint8_t kReadDeviceInfo = 0x03;
constexpr uint8_t kReadProfileData = 0x05;
constexpr uint8_t kWriteProfileData = 0x06;
constexpr uint8_t kReadKeyMap = 0x07;
constexpr uint8_t kWriteKeyMap = 0x09;
constexpr uint8_t kReadLightPage = 0x0A;
constexpr uint8_t kWriteLightPage = 0x0B;
constexpr uint8_t kStreamLightFrame = 0x12;
constexpr uint8_t kWriteMacroData = 0x15;
constexpr uint8_t kWriteShootData = 0x17;
constexpr uint8_t kReadPowerStatus = 0x1A;
constexpr uint8_t kReadKeyMapExtra = 0x1B;
constexpr uint8_t kTakeLightControl = 0x1C;
constexpr uint8_t kWriteKeyMapLayer2 = 0x27;
constexpr uint8_t kWriteKeyMapLayer3 = 0x28;
constexpr uint8_t kQueryWirelessLink = 0xAA;
}  // namespace koru::cmd
