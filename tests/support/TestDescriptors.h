#pragma once
// Report descriptors shared by the transport and platform tests.
#include <cstdint>
#include <vector>

namespace koru::test {

// One interface with three top-level collections:
//  1. consumer control, report ID 3: two array fields of two 8-bit slots each,
//     usages 0xE0..0xEF and 0x180..0x18F (indexes 1..16, 0 = nothing);
//  2. vendor 0xFF1C/0x0092, report ID 4: 64-byte input and output reports;
//  3. a wheel, report ID 5: one signed 8-bit relative value.
inline std::vector<uint8_t> ThreeCollectionDescriptor() {
    return {
        0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,  // Consumer / Consumer Control / Application
        0x85, 0x03,                          // Report ID 3
        0x15, 0x01, 0x25, 0x10,              // Logical 1..16
        0x75, 0x08, 0x95, 0x02,              // 2 x 8 bits
        0x19, 0xE0, 0x29, 0xEF,              // Usages 0xE0..0xEF
        0x81, 0x00,                          // Input (Data, Array)
        0x1A, 0x80, 0x01, 0x2A, 0x8F, 0x01,  // Usages 0x180..0x18F
        0x81, 0x00,                          // Input (Data, Array)
        0xC0,
        0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01,  // Vendor 0xFF1C / 0x92 / Application
        0x85, 0x04,                                // Report ID 4
        0x15, 0x00, 0x26, 0xFF, 0x00,              // Logical 0..255
        0x75, 0x08, 0x95, 0x40,                    // 64 x 8 bits
        0x09, 0x01, 0x81, 0x02,                    // Input (Data, Var)
        0x09, 0x01, 0x91, 0x02,                    // Output (Data, Var)
        0xC0,
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,  // Generic Desktop / Mouse / Application
        0x85, 0x05,                          // Report ID 5
        0x09, 0x38, 0x15, 0x81, 0x25, 0x7F,  // Wheel, -127..127
        0x75, 0x08, 0x95, 0x01, 0x81, 0x06,  // Input (Data, Var, Rel)
        0xC0,
    };
}

}  // namespace koru::test
