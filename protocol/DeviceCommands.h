#pragma once
// Every command the program sends to a peripheral, as a function over a channel.
// Each builds its frames, runs the exchanges under the command's lock (taken and
// released per frame, so two multi-frame commands may interleave), checks each
// answer's status, and returns a koru::result code: 1 when every frame
// succeeded, otherwise the code of the first failing frame. Nothing is retried;
// a failed write leaves the chunks before it written.
#include <cstddef>
#include <cstdint>

class CDeviceChannel;

int BeginSession(CDeviceChannel& channel);
// Sent after a 10 ms pause.
int EndSession(CDeviceChannel& channel);
int TakeLightControl(CDeviceChannel& channel);

// `info` (34 bytes) is written only when every chunk succeeded.
int ReadDeviceInfo(CDeviceChannel& channel, uint8_t* info);
// Block-size bytes; chunks are copied as they arrive.
int ReadKeyMap(CDeviceChannel& channel, uint8_t* destination);
// Block-size / 3 bytes.
int ReadKeyMapExtra(CDeviceChannel& channel, uint8_t* destination);
int ReadProfileData(CDeviceChannel& channel, uint8_t* destination, size_t length, uint16_t base);
int ReadLightPage(CDeviceChannel& channel, uint8_t* destination, size_t length, unsigned page,
                  uint16_t pageSize);

// Block-size bytes of `source`; any bank but 0 is refused with -201 before anything is sent.
int WriteKeyMap(CDeviceChannel& channel, const uint8_t* source, unsigned bank);
int WriteKeyMapLayer2(CDeviceChannel& channel, const uint8_t* source, unsigned bank);
int WriteKeyMapLayer3(CDeviceChannel& channel, const uint8_t* source, unsigned bank);
int WriteMacroData(CDeviceChannel& channel, const uint8_t* source, size_t length);
// Always 56-byte chunks and no command lock (the exchange lock suffices).
int WriteShootData(CDeviceChannel& channel, const uint8_t* source, size_t length);
int WriteProfileData(CDeviceChannel& channel, const uint8_t* source, size_t length, uint16_t base);
// Under the lighting lock.
int WriteLightPage(CDeviceChannel& channel, const uint8_t* source, size_t length, unsigned page,
                   uint16_t pageSize);
// Host-computed light frame, under the lighting lock with the fast exchange. A
// chunk that falls due while another exchange runs is dropped, not waited for.
int StreamLightFrame(CDeviceChannel& channel, const uint8_t* source, size_t length);

// One frame: `length` (at most 56) bytes at `address`, copied on success.
// A longer request is refused with 0 and sends nothing.
int ReadPowerStatus(CDeviceChannel& channel, uint8_t* destination, size_t length,
                    uint16_t address);
// True when the wireless device answers behind the receiver; always true by
// cable, where nothing is sent.
bool QueryWirelessLink(CDeviceChannel& channel);
