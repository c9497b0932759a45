#include <gtest/gtest.h>

#include <ostream>

#include "transport/CHidDevice.h"

namespace {

struct PathCase {
    const char* path;
    uint16_t vendor, product, interface, collection;
};

void PrintTo(const PathCase& c, std::ostream* os) { *os << c.path; }

class HidPathParsers : public testing::TestWithParam<PathCase> {};

TEST_P(HidPathParsers, ReadHexAfterMarkersIgnoringCase) {
    const PathCase& c = GetParam();
    EXPECT_EQ(ParseVendorId(c.path), c.vendor);
    EXPECT_EQ(ParseProductId(c.path), c.product);
    EXPECT_EQ(ParseInterfaceNumber(c.path), c.interface);
    EXPECT_EQ(ParseCollectionNumber(c.path), c.collection);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, HidPathParsers,
    testing::Values(
        PathCase{"\\\\?\\hid#vid_320f&pid_5055&mi_01&col04#7&1a2b&0&0003#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                 0x320F, 0x5055, 1, 4},
        PathCase{"\\\\?\\HID#VID_320F&PID_5055&MI_01&COL04#7&1A2B&0&0003", 0x320F, 0x5055, 1, 4},
        // A single interface with a single collection names neither.
        PathCase{"\\\\?\\hid#vid_0c76&pid_1630#6&abc&0&0000", 0x0C76, 0x1630, 0, 0},
        PathCase{"no markers at all", 0, 0, 0, 0},
        // Digits stop at the first non-hex character; values are cut to 16 bits.
        PathCase{"vid_12xz&pid_123456789&mi_&col", 0x12, 0x6789, 0, 0},
        PathCase{"vid_320f&pid_221d&col0a", 0x320F, 0x221D, 0, 0x0A}));

}  // namespace
