#pragma once
// The catalogue devices present on the machine, real (hidraw) and simulated
// (virtual bus), found by their command interface as the scanner finds them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace koru::tool {

struct PresentDevice {
    int row = -1;          // DeviceInterfaceTable row of the command interface
    uint16_t kind = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t version = 0;
    std::string path;
    bool simulated = false;
    hid::OpenError openError = hid::OpenError::None;  // why it could not be opened
};

// "keyboard", "mouse", "mousepad" or "headset".
const char* DeviceTypeName(uint16_t kind);
// "cable" or "receiver".
const char* PathName(uint16_t kind);
const char* OpenErrorText(hid::OpenError error);

// Every present command interface of the catalogue, in table order.
std::vector<PresentDevice> FindPresentDevices();

}  // namespace koru::tool
