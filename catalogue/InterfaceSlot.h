#pragma once
// The identity of one HID interface of a supported device. The same record is
// a row of DeviceInterfaceTable and, in the slot list, a live slot.
#include <cstdint>
#include <string>

// Device kind codes: how a device is reached. Pages carry only the cable kinds
// and the headset (1, 2, 3, 7).
constexpr uint16_t kKindKeyboard = 1;
constexpr uint16_t kKindMouse = 2;
constexpr uint16_t kKindMousePad = 3;
constexpr uint16_t kKindMouseReceiver = 6;
constexpr uint16_t kKindHeadset = 7;
constexpr uint16_t kKindKeyboardReceiver = 9;

// Interface roles.
constexpr uint16_t kRoleCommand = 0;     // carries the 64-byte command reports
constexpr uint16_t kRoleConsumer = 255;  // consumer control: device-side events

constexpr bool IsReceiverKind(uint16_t kind) {
    return kind == kKindMouseReceiver || kind == kKindKeyboardReceiver;
}
// The kind of the same device by cable (6 -> 2, 9 -> 1); other kinds unchanged.
constexpr uint16_t CableKindOf(uint16_t kind) {
    return kind == kKindMouseReceiver ? kKindMouse
           : kind == kKindKeyboardReceiver ? kKindKeyboard
                                           : kind;
}

struct InterfaceSlot {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    uint16_t kind = 0;
    uint16_t role = 0;
    uint16_t connected = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t hasTwin = 0;
    uint16_t twinIndex = 0;  // row of the same interface on the other path
    std::string path;        // empty when not connected

    bool IsFree() const { return connected == 0 && path.empty(); }
};

// Two records name the same interface when everything but connected, the twin
// fields and the path agree.
bool SameInterface(const InterfaceSlot& a, const InterfaceSlot& b);
