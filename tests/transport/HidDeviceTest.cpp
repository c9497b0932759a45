#include <gtest/gtest.h>

#include <thread>

#include "platform/hid/VirtualHidBus.h"
#include "tests/platform/HidDescriptorSamples.h"
#include "tests/support/TestDescriptors.h"
#include "transport/CHidDevice.h"

using koru::hid::VirtualHidBus;

namespace {

// Records output reports and, when asked, answers each with an input report
// that echoes it on the same interface.
class EchoFirmware : public koru::hid::VirtualFirmware {
public:
    void OnOutputReport(VirtualHidBus& bus, koru::hid::VirtualDeviceId device, int iface,
                        std::span<const uint8_t> report) override {
        received.emplace_back(report.begin(), report.end());
        if (echo) bus.SendInput(device, iface, report);
    }
    std::vector<std::vector<uint8_t>> received;
    bool echo = false;
};

class HidDeviceTest : public testing::Test {
protected:
    void SetUp() override { koru::hid::SetBackends({bus}); }
    void TearDown() override { koru::hid::SetBackends({}); }

    koru::hid::VirtualDeviceId PlugKeyboard() {
        koru::hid::VirtualDeviceDescription d;
        d.vendorId = 0x320F;
        d.productId = 0x5055;
        d.versionNumber = 0x0102;
        d.name = "keyboard";
        d.interfaces = {{0, koru::hid::samples::kBootKeyboard},
                        {1, koru::test::ThreeCollectionDescriptor()}};
        return bus->Plug(d, firmware);
    }
    std::string PathWith(koru::hid::VirtualDeviceId id, std::string_view marker) {
        for (const auto& p : bus->PathsOf(id)) {
            if (p.find(marker) != std::string::npos) return p;
        }
        ADD_FAILURE() << "no path with " << marker;
        return {};
    }

    std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>();
    std::shared_ptr<EchoFirmware> firmware = std::make_shared<EchoFirmware>();
    CHidDevice hid;
};

TEST_F(HidDeviceTest, EnumerationWithNothingPresentIsAnEmptySuccess) {
    EXPECT_TRUE(hid.Enumerate());
    EXPECT_EQ(hid.PathCount(), 0);
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, EnumerationNamesEveryCollectionInOrder) {
    PlugKeyboard();
    ASSERT_TRUE(hid.Enumerate());
    std::vector<std::string> paths;
    while (const char* p = hid.NextPath()) paths.emplace_back(p);
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_NE(paths[0].find("vid_320f&pid_5055&mi_00#"), std::string::npos) << paths[0];
    EXPECT_NE(paths[1].find("&mi_01&col01#"), std::string::npos) << paths[1];
    EXPECT_NE(paths[3].find("&mi_01&col03#"), std::string::npos) << paths[3];
    EXPECT_EQ(hid.NextPath(), nullptr);
    hid.FreePathList();
    EXPECT_EQ(hid.PathCount(), 0);
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, FailedEnumerationLeavesAnEmptyList) {
    PlugKeyboard();
    ASSERT_TRUE(hid.Enumerate());
    bus->FailNextEnumerate();
    EXPECT_FALSE(hid.Enumerate());
    EXPECT_EQ(hid.PathCount(), 0);
    EXPECT_EQ(hid.NextPath(), nullptr);
}

TEST_F(HidDeviceTest, OpenFillsCapabilitiesOfItsCollection) {
    const auto id = PlugKeyboard();
    ASSERT_TRUE(hid.Open(PathWith(id, "&col02"), true, true, true, false));
    EXPECT_TRUE(hid.IsOpen());
    EXPECT_EQ(hid.GetCaps().usagePage, 0xFF1C);
    EXPECT_EQ(hid.GetCaps().usage, 0x0092);
    EXPECT_EQ(hid.GetCaps().inputReportByteLength, 65);
    EXPECT_EQ(hid.GetCaps().outputReportByteLength, 65);
    EXPECT_EQ(hid.GetAttributes().vendorId, 0x320F);
    EXPECT_EQ(hid.GetAttributes().productId, 0x5055);
    EXPECT_EQ(hid.GetAttributes().versionNumber, 0x0102);
    EXPECT_EQ(hid.GetInterfaceNumber(), 1u);
    EXPECT_EQ(hid.GetCollectionNumber(), 2u);
    hid.Close();
    EXPECT_FALSE(hid.IsOpen());
    hid.Close();  // closing a closed endpoint does nothing
}

TEST_F(HidDeviceTest, FailedOpensLeaveTheEndpointClosed) {
    const auto id = PlugKeyboard();
    const std::string keyboard = PathWith(id, "&mi_00#");
    bus->SetAccessDenied(id, 0, true);
    EXPECT_FALSE(hid.Open(keyboard, true, false, true, false));
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_FALSE(hid.Open("\\\\?\\hid#vid_320f&pid_5055#koru-virtual&99&0#{x}", true, true, true, false));
    EXPECT_FALSE(hid.IsOpen());
    EXPECT_FALSE(hid.Open("not a path", false, false, false, false));
    // Attributes of a system collection can still be read without access.
    ASSERT_TRUE(hid.Open(keyboard, false, false, false, false));
    EXPECT_EQ(hid.GetCaps().usage, 0x06);
    uint8_t buffer[9];
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, nullptr, 0));
}

TEST_F(HidDeviceTest, ReadTimesOutThenReadsTheNextReportOfItsCollectionOnly) {
    const auto id = PlugKeyboard();
    ASSERT_TRUE(hid.Open(PathWith(id, "&col02"), true, true, true, false));
    uint8_t buffer[65] = {};
    uint32_t count = 99;
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, &count, 5));
    EXPECT_EQ(count, 0u);

    const uint8_t consumer[] = {0x03, 0x0A, 0x00, 0x00, 0x00};
    uint8_t vendor[65] = {0x04, 0xA5};
    ASSERT_TRUE(bus->SendInput(id, 1, consumer));  // another collection's report
    ASSERT_TRUE(bus->SendInput(id, 1, vendor));
    EXPECT_TRUE(hid.Read(buffer, sizeof buffer, &count, 1000));
    EXPECT_EQ(count, 65u);
    EXPECT_EQ(buffer[0], 0x04);
    EXPECT_EQ(buffer[1], 0xA5);
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, &count, 0));
}

TEST_F(HidDeviceTest, WriteReachesTheFirmwareAndItsAnswerIsRead) {
    const auto id = PlugKeyboard();
    firmware->echo = true;
    ASSERT_TRUE(hid.Open(PathWith(id, "&col02"), true, true, true, false));
    uint8_t out[65] = {0x04, 0x01, 0x02};
    uint32_t count = 0;
    ASSERT_TRUE(hid.Write(out, sizeof out, &count, 100));
    EXPECT_EQ(count, 65u);
    ASSERT_EQ(firmware->received.size(), 1u);
    EXPECT_EQ(firmware->received[0][2], 0x02);
    uint8_t in[65] = {};
    EXPECT_TRUE(hid.Read(in, sizeof in, &count, 100));
    EXPECT_EQ(in[1], 0x01);
}

TEST_F(HidDeviceTest, CloseFromAnotherThreadEndsAnInfiniteRead) {
    const auto id = PlugKeyboard();
    ASSERT_TRUE(hid.Open(PathWith(id, "&col01"), true, false, true, false));
    bool result = true;
    uint32_t count = 7;
    std::thread reader([&] {
        uint8_t buffer[5];
        result = hid.Read(buffer, sizeof buffer, &count, INFINITE);
    });
    // Whether Close lands before or during the read, the read must fail.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    hid.Close();
    reader.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(count, 0u);
    EXPECT_FALSE(hid.IsOpen());
}

TEST_F(HidDeviceTest, UnplugEndsAPendingRead) {
    const auto id = PlugKeyboard();
    ASSERT_TRUE(hid.Open(PathWith(id, "&col01"), true, false, true, false));
    std::thread unplug([&] { bus->Unplug(id); });
    uint8_t buffer[5];
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, nullptr, INFINITE));
    unplug.join();
    EXPECT_FALSE(hid.Reopen());
    EXPECT_FALSE(hid.IsOpen());
}

class DecodeReportTest : public HidDeviceTest {
protected:
    void SetUp() override {
        HidDeviceTest::SetUp();
        id = PlugKeyboard();
    }
    koru::hid::VirtualDeviceId id = 0;
};

TEST_F(DecodeReportTest, ButtonEntriesKeepOnlyTheirOwnRangeAndEndWithZero) {
    ASSERT_TRUE(hid.Open(PathWith(id, "&col01"), true, false, true, false));
    ASSERT_EQ(hid.GetInputDataEntryCount(), 2u);
    HidDataEntry* e = hid.GetInputDataEntries();
    ASSERT_EQ(e[0].maxUsageListLength, 4u);
    // Field one selects 0xE9 and 0xEA, field two 0x183 and nothing.
    const uint8_t report[] = {0x03, 0x0A, 0x0B, 0x04, 0x00};
    ASSERT_TRUE(DecodeReport(report, sizeof report, HidReportType::Input, e,
                             hid.GetInputDataEntryCount(), hid.GetPreparsedData()));
    EXPECT_TRUE(e[0].dataSet);
    EXPECT_EQ(e[0].usageList, (std::vector<uint16_t>{0xE9, 0xEA, 0, 0}));
    EXPECT_EQ(e[1].usageList[0], 0x183);
    EXPECT_EQ(e[1].usageList[1], 0);
}

TEST_F(DecodeReportTest, AReportOfAnotherIdLeavesEveryEntryUntouched) {
    ASSERT_TRUE(hid.Open(PathWith(id, "&col01"), true, false, true, false));
    HidDataEntry* e = hid.GetInputDataEntries();
    e[0].usageList = {1, 2, 3, 4};
    const uint8_t report[] = {0x07, 0x0A, 0x0B, 0x04, 0x00};
    EXPECT_TRUE(DecodeReport(report, sizeof report, HidReportType::Input, e,
                             hid.GetInputDataEntryCount(), hid.GetPreparsedData()));
    EXPECT_FALSE(e[0].dataSet);
    EXPECT_EQ(e[0].usageList, (std::vector<uint16_t>{1, 2, 3, 4}));
    EXPECT_FALSE(DecodeReport(report, 0, HidReportType::Input, e, 2, hid.GetPreparsedData()));
}

TEST_F(DecodeReportTest, ValueEntriesGetRawAndSignedValues) {
    ASSERT_TRUE(hid.Open(PathWith(id, "&col03"), true, false, true, false));
    ASSERT_EQ(hid.GetInputDataEntryCount(), 1u);
    HidDataEntry* e = hid.GetInputDataEntries();
    EXPECT_EQ(e[0].usage, 0x38);
    const uint8_t report[] = {0x05, 0xFE};
    ASSERT_TRUE(DecodeReport(report, sizeof report, HidReportType::Input, e, 1, hid.GetPreparsedData()));
    EXPECT_EQ(e[0].rawValue, 0xFEu);
    EXPECT_EQ(e[0].scaledValue, -2);
    EXPECT_EQ(e[0].status, HidStatus::Success);
    // Too short for its report length: the value cannot be read.
    EXPECT_FALSE(DecodeReport(report, 1, HidReportType::Input, e, 1, hid.GetPreparsedData()));
}

}  // namespace
