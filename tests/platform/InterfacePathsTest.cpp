#include <gtest/gtest.h>

#include "platform/hid/InterfacePaths.h"
#include "platform/hid/LinuxHidrawBackend.h"
#include "tests/platform/HidDescriptorSamples.h"
#include "tests/support/TestDescriptors.h"

using namespace koru::hid;

namespace {

std::vector<std::string> PathsFor(bool multipleInterfaces, int interfaceNumber,
                                  std::vector<uint8_t> descriptor) {
    UsbHidInterface usb;
    usb.vendorId = 0x320F;
    usb.productId = 0x5055;
    usb.interfaceNumber = interfaceNumber;
    usb.multipleInterfaces = multipleInterfaces;
    usb.instance = "hidraw7";
    usb.reportDescriptor = std::move(descriptor);
    std::vector<InterfaceInfo> out;
    AppendInterfacePaths(usb, out);
    std::vector<std::string> paths;
    for (const auto& info : out) paths.push_back(info.path);
    return paths;
}

TEST(InterfacePaths, MarkersAppearOnlyWhereWindowsWouldWriteThem) {
    const std::string tail = "#hidraw7#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    EXPECT_EQ(PathsFor(false, 0, koru::hid::samples::kBootKeyboard),
              std::vector<std::string>{"\\\\?\\hid#vid_320f&pid_5055" + tail});
    EXPECT_EQ(PathsFor(true, 0, koru::hid::samples::kBootKeyboard),
              std::vector<std::string>{"\\\\?\\hid#vid_320f&pid_5055&mi_00" + tail});
    EXPECT_EQ(PathsFor(true, 1, koru::test::ThreeCollectionDescriptor()),
              (std::vector<std::string>{"\\\\?\\hid#vid_320f&pid_5055&mi_01&col01" + tail,
                                        "\\\\?\\hid#vid_320f&pid_5055&mi_01&col02" + tail,
                                        "\\\\?\\hid#vid_320f&pid_5055&mi_01&col03" + tail}));
    // A descriptor we cannot read still gives the interface one path.
    EXPECT_EQ(PathsFor(false, 0, {0xA1, 0x01}).size(), 1u);
    // Bluetooth and other non-USB nodes have no interface number.
    EXPECT_EQ(PathsFor(true, -1, koru::hid::samples::kBootKeyboard),
              std::vector<std::string>{"\\\\?\\hid#vid_320f&pid_5055" + tail});
}

TEST(InterfacePaths, CollectionFilterPassesOnlyItsReportIds) {
    const auto three = koru::test::ThreeCollectionDescriptor();
    const CollectionFilter vendor = FilterForCollection(three, 2);
    EXPECT_TRUE(vendor.Accepts(4));
    EXPECT_FALSE(vendor.Accepts(3));
    EXPECT_FALSE(vendor.Accepts(0));
    const CollectionFilter whole = FilterForCollection(three, 0);
    EXPECT_TRUE(whole.Accepts(3) && whole.Accepts(4));
    const CollectionFilter boot = FilterForCollection(koru::hid::samples::kBootKeyboard, 0);
    EXPECT_FALSE(boot.usesReportIds);
    EXPECT_TRUE(boot.Accepts(0));
}

TEST(InterfacePaths, InstanceAndHidIdParsing) {
    EXPECT_EQ(PathInstance("\\\\?\\hid#vid_1&pid_2#hidraw3#{guid}"), "hidraw3");
    EXPECT_EQ(PathInstance("\\\\?\\hid#vid_1&pid_2#hidraw3"), "hidraw3");
    EXPECT_EQ(PathInstance("no hashes"), "");
    uint16_t vid = 0, pid = 0;
    ASSERT_TRUE(ParseHidId("0003:0000320F:00005055", &vid, &pid));
    EXPECT_EQ(vid, 0x320F);
    EXPECT_EQ(pid, 0x5055);
    EXPECT_FALSE(ParseHidId("garbage", &vid, &pid));
    EXPECT_FALSE(ParseHidId(nullptr, &vid, &pid));
}

TEST(LinuxHidrawBackend, EnumeratesThisMachineWithoutFailing) {
    LinuxHidrawBackend backend;
    std::vector<InterfaceInfo> found;
    EXPECT_TRUE(backend.Enumerate(found));  // a machine with no HID device gives an empty list
    for (const auto& info : found) EXPECT_TRUE(backend.Owns(info.path)) << info.path;
    EXPECT_FALSE(backend.Exists("\\\\?\\hid#vid_320f&pid_5055#hidraw999#{x}"));
    EXPECT_FALSE(backend.Owns("\\\\?\\hid#vid_320f&pid_5055#koru-virtual&1&0#{x}"));
    OpenError error = OpenError::None;
    EXPECT_EQ(backend.Open("\\\\?\\hid#vid_320f&pid_5055#hidraw999#{x}", {true, true, false}, &error),
              nullptr);
    EXPECT_EQ(error, OpenError::NotFound);
}

}  // namespace
