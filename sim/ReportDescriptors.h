#pragma once
// Report descriptors of the simulated devices' HID interfaces, shaped like
// those of the real hardware so that the scanner's pre-filter, the exclusive
// system collections and the capability match are all exercised.
#include <cstdint>
#include <vector>

namespace koru::sim {

// Interface 0 of a keyboard (or its receiver, or the mouse pad): the boot
// keyboard, which the system holds for itself.
std::vector<uint8_t> BootKeyboardDescriptor();
// Interface 0 of a mouse or its receiver: the boot mouse with a wheel.
std::vector<uint8_t> BootMouseDescriptor();
// Interface 1 of the maker's devices, four top-level collections:
//   1 keyboard (N-key bitmap, report 1), 2 system control (report 2),
//   3 consumer control 0x000C/0x0001 (report 3: one 16-bit event code),
//   4 vendor 0xFF1C/0x0092 (report 4: 63 data bytes in and out).
std::vector<uint8_t> VendorInterfaceDescriptor();
// Interface 3 of the headset: one consumer-control collection holding the
// volume buttons (report 1), an event code (report 2), the 64-byte command
// reports (report 4) and the light output report (report 0xFF, 16 data bytes).
std::vector<uint8_t> HeadsetDescriptor();

}  // namespace koru::sim
