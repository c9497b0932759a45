#pragma once
// Report descriptors of real device kinds, shared by the parser tests and the
// parser benchmark.
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace koru::hid::samples {

using Bytes = std::vector<uint8_t>;

// Boot-protocol keyboard: modifier bitfield, reserved byte, 6-key array, LED output report.
inline const Bytes kBootKeyboard = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x06,  // Usage (Keyboard)
    0xA1, 0x01,  // Collection (Application)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0xE0,  //   Usage Minimum (Left Control)
    0x29, 0xE7,  //   Usage Maximum (Right GUI)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x08,  //   Report Count (8)
    0x81, 0x02,  //   Input (Data, Variable, Absolute): modifiers
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x08,  //   Report Size (8)
    0x81, 0x01,  //   Input (Constant): reserved byte
    0x95, 0x05,  //   Report Count (5)
    0x75, 0x01,  //   Report Size (1)
    0x05, 0x08,  //   Usage Page (LEDs)
    0x19, 0x01,  //   Usage Minimum (Num Lock)
    0x29, 0x05,  //   Usage Maximum (Kana)
    0x91, 0x02,  //   Output (Data, Variable, Absolute): LEDs
    0x95, 0x01,  //   Report Count (1)
    0x75, 0x03,  //   Report Size (3)
    0x91, 0x01,  //   Output (Constant): padding
    0x95, 0x06,  //   Report Count (6)
    0x75, 0x08,  //   Report Size (8)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x65,  //   Logical Maximum (101)
    0x05, 0x07,  //   Usage Page (Keyboard)
    0x19, 0x00,  //   Usage Minimum (0)
    0x29, 0x65,  //   Usage Maximum (101)
    0x81, 0x00,  //   Input (Data, Array): key codes
    0xC0,        // End Collection
};

// Three-button mouse with wheel; the axes sit in a nested Pointer collection.
inline const Bytes kWheelMouse = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x02,  // Usage (Mouse)
    0xA1, 0x01,  // Collection (Application)
    0x09, 0x01,  //   Usage (Pointer)
    0xA1, 0x00,  //   Collection (Physical)
    0x05, 0x09,  //     Usage Page (Button)
    0x19, 0x01,  //     Usage Minimum (1)
    0x29, 0x03,  //     Usage Maximum (3)
    0x15, 0x00,  //     Logical Minimum (0)
    0x25, 0x01,  //     Logical Maximum (1)
    0x95, 0x03,  //     Report Count (3)
    0x75, 0x01,  //     Report Size (1)
    0x81, 0x02,  //     Input (Data, Variable, Absolute)
    0x95, 0x01,  //     Report Count (1)
    0x75, 0x05,  //     Report Size (5)
    0x81, 0x01,  //     Input (Constant): padding
    0x05, 0x01,  //     Usage Page (Generic Desktop)
    0x09, 0x30,  //     Usage (X)
    0x09, 0x31,  //     Usage (Y)
    0x09, 0x38,  //     Usage (Wheel)
    0x15, 0x81,  //     Logical Minimum (-127)
    0x25, 0x7F,  //     Logical Maximum (127)
    0x75, 0x08,  //     Report Size (8)
    0x95, 0x03,  //     Report Count (3)
    0x81, 0x06,  //     Input (Data, Variable, Relative)
    0xC0,        //   End Collection
    0xC0,        // End Collection
};

// Consumer control, report ID 3: two 16-bit selectors.
inline const Bytes kConsumerControl = {
    0x05, 0x0C,        // Usage Page (Consumer)
    0x09, 0x01,        // Usage (Consumer Control)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x03,        //   Report ID (3)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x03,  //   Logical Maximum (1023)
    0x19, 0x00,        //   Usage Minimum (0)
    0x2A, 0xFF, 0x03,  //   Usage Maximum (1023)
    0x75, 0x10,        //   Report Size (16)
    0x95, 0x02,        //   Report Count (2)
    0x81, 0x00,        //   Input (Data, Array)
    0xC0,              // End Collection
};

// The command interface: 64-byte input and output reports with report ID 4.
inline const Bytes kVendorCommand = {
    0x06, 0x1C, 0xFF,  // Usage Page (Vendor 0xFF1C)
    0x09, 0x92,        // Usage (0x92)
    0xA1, 0x01,        // Collection (Application)
    0x85, 0x04,        //   Report ID (4)
    0x15, 0x00,        //   Logical Minimum (0)
    0x26, 0xFF, 0x00,  //   Logical Maximum (255)
    0x75, 0x08,        //   Report Size (8)
    0x95, 0x40,        //   Report Count (64)
    0x09, 0x01,        //   Usage (1)
    0x81, 0x02,        //   Input (Data, Variable, Absolute)
    0x09, 0x02,        //   Usage (2)
    0x91, 0x02,        //   Output (Data, Variable, Absolute)
    0xC0,              // End Collection
};

// System control, report ID 2: power down, sleep, wake up.
inline const Bytes kSystemControl = {
    0x05, 0x01,  // Usage Page (Generic Desktop)
    0x09, 0x80,  // Usage (System Control)
    0xA1, 0x01,  // Collection (Application)
    0x85, 0x02,  //   Report ID (2)
    0x19, 0x81,  //   Usage Minimum (System Power Down)
    0x29, 0x83,  //   Usage Maximum (System Wake Up)
    0x15, 0x00,  //   Logical Minimum (0)
    0x25, 0x01,  //   Logical Maximum (1)
    0x75, 0x01,  //   Report Size (1)
    0x95, 0x03,  //   Report Count (3)
    0x81, 0x02,  //   Input (Data, Variable, Absolute)
    0x95, 0x05,  //   Report Count (5)
    0x81, 0x01,  //   Input (Constant): padding
    0xC0,        // End Collection
};

// One top-level collection, two reports: buttons and X in ID 1, a pan value in ID 2.
inline const Bytes kTwoReportMouse = {
    0x05, 0x01,              // Usage Page (Generic Desktop)
    0x09, 0x02,              // Usage (Mouse)
    0xA1, 0x01,              // Collection (Application)
    0x85, 0x01,              //   Report ID (1)
    0x05, 0x09,              //   Usage Page (Button)
    0x19, 0x01,              //   Usage Minimum (1)
    0x29, 0x08,              //   Usage Maximum (8)
    0x15, 0x00,              //   Logical Minimum (0)
    0x25, 0x01,              //   Logical Maximum (1)
    0x75, 0x01,              //   Report Size (1)
    0x95, 0x08,              //   Report Count (8)
    0x81, 0x02,              //   Input (Data, Variable, Absolute)
    0x05, 0x01,              //   Usage Page (Generic Desktop)
    0x09, 0x30,              //   Usage (X)
    0x16, 0x01, 0x80,        //   Logical Minimum (-32767)
    0x26, 0xFF, 0x7F,        //   Logical Maximum (32767)
    0x75, 0x10,              //   Report Size (16)
    0x95, 0x01,              //   Report Count (1)
    0x81, 0x06,              //   Input (Data, Variable, Relative)
    0x85, 0x02,              //   Report ID (2)
    0x05, 0x0C,              //   Usage Page (Consumer)
    0x0A, 0x38, 0x02,        //   Usage (AC Pan)
    0x15, 0x81,              //   Logical Minimum (-127)
    0x25, 0x7F,              //   Logical Maximum (127)
    0x75, 0x08,              //   Report Size (8)
    0x81, 0x06,              //   Input (Data, Variable, Relative)
    0xC0,                    // End Collection
};

// Values for scaling: a dial with a physical range, a slider with a null
// state, a wheel whose maximum 255 is written as the single byte 0xFF, and a
// value whose physical range is empty.
inline const Bytes kScaledValues = {
    0x05, 0x01,              // Usage Page (Generic Desktop)
    0x09, 0x04,              // Usage (Joystick)
    0xA1, 0x01,              // Collection (Application)
    0x09, 0x37,              //   Usage (Dial)
    0x15, 0x00,              //   Logical Minimum (0)
    0x26, 0xE8, 0x03,        //   Logical Maximum (1000)
    0x35, 0x00,              //   Physical Minimum (0)
    0x45, 0x64,              //   Physical Maximum (100)
    0x75, 0x10,              //   Report Size (16)
    0x95, 0x01,              //   Report Count (1)
    0x81, 0x02,              //   Input (Data, Variable, Absolute)
    0x35, 0x00,              //   Physical Minimum (0)
    0x45, 0x00,              //   Physical Maximum (0): none
    0x09, 0x36,              //   Usage (Slider)
    0x15, 0x81,              //   Logical Minimum (-127)
    0x25, 0x7F,              //   Logical Maximum (127)
    0x75, 0x08,              //   Report Size (8)
    0x81, 0x42,              //   Input (Data, Variable, Absolute, Null State)
    0x09, 0x38,              //   Usage (Wheel)
    0x15, 0x00,              //   Logical Minimum (0)
    0x25, 0xFF,              //   Logical Maximum (255)
    0x81, 0x02,              //   Input (Data, Variable, Absolute)
    0x09, 0x35,              //   Usage (Rz)
    0x25, 0x0A,              //   Logical Maximum (10)
    0x35, 0x07,              //   Physical Minimum (7)
    0x45, 0x07,              //   Physical Maximum (7)
    0x81, 0x02,              //   Input (Data, Variable, Absolute)
    0xC0,                    // End Collection
};

inline Bytes Concat(std::initializer_list<const Bytes*> parts) {
    Bytes all;
    for (const Bytes* part : parts) all.insert(all.end(), part->begin(), part->end());
    return all;
}

// One interface carrying consumer control (ID 3), the command collection (ID 4) and system control (ID 2).
inline Bytes MultiCollectionInterface() { return Concat({&kConsumerControl, &kVendorCommand, &kSystemControl}); }

}  // namespace koru::hid::samples
