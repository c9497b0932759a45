#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>

#include "sim/SimulatedDevice.h"
#include "transport/CHidDevice.h"

using koru::hid::VirtualDeviceId;
using koru::hid::VirtualHidBus;
using koru::sim::Appearance;
using koru::sim::SimModel;
using koru::sim::SimulatedDevice;

namespace {

// Records each output report with the route the device reports for it.
class RouteRecordingFirmware : public koru::hid::VirtualFirmware {
public:
    explicit RouteRecordingFirmware(std::weak_ptr<SimulatedDevice> device) : device_(std::move(device)) {}

    void OnOutputReport(VirtualHidBus&, VirtualDeviceId id, int iface,
                        std::span<const uint8_t> report) override {
        auto device = device_.lock();
        std::lock_guard lock(mutex_);
        seen.push_back({device ? device->RouteOf(id) : koru::sim::ReportRoute{}, iface, report[0]});
    }
    struct Seen {
        koru::sim::ReportRoute route;
        int iface;
        uint8_t reportId;
    };
    std::vector<Seen> seen;

private:
    std::mutex mutex_;
    std::weak_ptr<SimulatedDevice> device_;
};

class SimulatedDeviceTest : public testing::Test {
protected:
    void SetUp() override { koru::hid::SetBackends({bus}); }
    void TearDown() override { koru::hid::SetBackends({}); }

    static std::string PathWith(const std::vector<std::string>& paths, std::string_view part) {
        for (const auto& p : paths)
            if (p.find(part) != std::string::npos) return p;
        ADD_FAILURE() << "no path with " << part;
        return {};
    }
    static std::vector<uint8_t> CommandReport(uint8_t command) {
        std::vector<uint8_t> report(koru::sim::kCommandReportSize, 0);
        report[0] = koru::sim::kCommandReportId;
        report[3] = command;
        return report;
    }

    std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>();
};

TEST_F(SimulatedDeviceTest, MakerDevicesShowABootInterfaceAndFourCollectionsOnInterfaceOne) {
    struct Case {
        SimModel model;
        bool receiver;
        const char* ids;
    };
    const Case cases[] = {
        {SimModel::Keyboard, false, "vid_320f&pid_5055"}, {SimModel::Keyboard, true, "vid_320f&pid_5088"},
        {SimModel::Mouse, false, "vid_320f&pid_50ef"},    {SimModel::Mouse, true, "vid_320f&pid_221d"},
        {SimModel::MousePad, false, "vid_320f&pid_1004"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ids);
        auto device = SimulatedDevice::Create(c.model, bus);
        if (c.receiver) {
            ASSERT_TRUE(device->PlugReceiver());
        } else {
            device->PlugCable();
        }
        const auto id = c.receiver ? device->ReceiverId() : device->CableId();
        ASSERT_TRUE(id);
        const auto paths = bus->PathsOf(*id);
        ASSERT_EQ(paths.size(), 5u);
        for (const auto& p : paths) EXPECT_NE(p.find(c.ids), std::string::npos) << p;

        // The system holds the boot interface; the collections of interface 1 open.
        CHidDevice hid;
        EXPECT_FALSE(hid.Open(PathWith(paths, "&mi_00#"), true, false, true, false));
        struct Expected {
            const char* marker;
            uint16_t page, usage, inputLength, outputLength;
        };
        const Expected collections[] = {{"&col01#", 0x01, 0x06, 17, 0},
                                        {"&col02#", 0x01, 0x80, 2, 0},
                                        {"&col03#", 0x0C, 0x01, 3, 0},
                                        {"&col04#", 0xFF1C, 0x92, 64, 64}};
        for (const Expected& e : collections) {
            ASSERT_TRUE(hid.Open(PathWith(paths, std::string("&mi_01") + e.marker), true, false, true, false))
                << e.marker;
            EXPECT_EQ(hid.GetCaps().usagePage, e.page) << e.marker;
            EXPECT_EQ(hid.GetCaps().usage, e.usage) << e.marker;
            EXPECT_EQ(hid.GetCaps().inputReportByteLength, e.inputLength) << e.marker;
            EXPECT_EQ(hid.GetCaps().outputReportByteLength, e.outputLength) << e.marker;
            hid.Close();
        }
    }
}

TEST_F(SimulatedDeviceTest, HeadsetIsInterfaceThreeWithOneConsumerCollection) {
    auto headset = SimulatedDevice::Create(SimModel::Headset, bus);
    EXPECT_FALSE(headset->PlugReceiver());
    headset->PlugCable();
    const std::string path = PathWith(bus->PathsOf(*headset->CableId()), "&mi_03#");
    EXPECT_EQ(path.find("&col"), std::string::npos);
    EXPECT_NE(path.find("vid_0c76&pid_1630"), std::string::npos);

    CHidDevice hid;
    ASSERT_TRUE(hid.Open(path, true, true, true, false));
    EXPECT_EQ(hid.GetCaps().usagePage, 0x000C);
    EXPECT_EQ(hid.GetCaps().usage, 0x0001);
    EXPECT_EQ(hid.GetCaps().inputReportByteLength, 64);
    EXPECT_EQ(hid.GetCaps().outputReportByteLength, 64);
    EXPECT_EQ(hid.GetInterfaceNumber(), 3u);
    EXPECT_EQ(hid.GetCollectionNumber(), 0u);
}

TEST_F(SimulatedDeviceTest, OneFirmwareHearsBothAppearancesAndLearnsTheRouteAndLink) {
    auto keyboard = SimulatedDevice::Create(SimModel::Keyboard, bus);
    auto firmware = std::make_shared<RouteRecordingFirmware>(keyboard);
    keyboard->SetFirmware(firmware);
    keyboard->PlugCable();
    ASSERT_TRUE(keyboard->PlugReceiver());

    auto write = [&](std::optional<VirtualDeviceId> id) {
        CHidDevice hid;
        ASSERT_TRUE(hid.Open(PathWith(bus->PathsOf(*id), "&col04#"), true, true, true, false));
        const auto report = CommandReport(0x01);
        uint32_t written = 0;
        ASSERT_TRUE(hid.Write(report.data(), static_cast<uint32_t>(report.size()), &written, 1000));
    };
    write(keyboard->CableId());
    write(keyboard->ReceiverId());
    keyboard->SetLinkUp(false);
    write(keyboard->ReceiverId());

    ASSERT_EQ(firmware->seen.size(), 3u);
    EXPECT_EQ(firmware->seen[0].route.appearance, Appearance::Cable);
    EXPECT_EQ(firmware->seen[1].route.appearance, Appearance::Receiver);
    EXPECT_TRUE(firmware->seen[1].route.linkUp);
    EXPECT_EQ(firmware->seen[2].route.appearance, Appearance::Receiver);
    EXPECT_FALSE(firmware->seen[2].route.linkUp);
    for (const auto& s : firmware->seen) {
        EXPECT_EQ(s.iface, koru::sim::kVendorInterface);
        EXPECT_EQ(s.reportId, koru::sim::kCommandReportId);
    }

    // The firmware, and so the device's memory, outlives both appearances.
    keyboard->UnplugCable();
    keyboard->UnplugReceiver();
    EXPECT_EQ(keyboard->Firmware(), firmware);
    EXPECT_EQ(keyboard->RouteOf(1).appearance, Appearance::None);
    keyboard->SetFirmware(nullptr);
    EXPECT_NE(keyboard->Firmware(), nullptr);
}

TEST_F(SimulatedDeviceTest, InputGoesThroughTheCurrentAppearance) {
    auto mouse = SimulatedDevice::Create(SimModel::Mouse, bus);
    mouse->PlugCable();
    ASSERT_TRUE(mouse->PlugReceiver());
    CHidDevice byCable, byReceiver;
    ASSERT_TRUE(byCable.Open(PathWith(bus->PathsOf(*mouse->CableId()), "&col03#"), true, false, true, false));
    ASSERT_TRUE(byReceiver.Open(PathWith(bus->PathsOf(*mouse->ReceiverId()), "&col03#"), true, false, true, false));
    const uint8_t event[] = {koru::sim::kEventReportId, 0x01, 0x04};
    uint8_t buffer[8] = {};
    uint32_t got = 0;

    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::Cable);
    ASSERT_TRUE(mouse->SendInput(koru::sim::kVendorInterface, event));
    EXPECT_TRUE(byCable.Read(buffer, sizeof buffer, &got, 1000));
    EXPECT_EQ(got, sizeof event);
    EXPECT_FALSE(byReceiver.Read(buffer, sizeof buffer, &got, 0));

    mouse->UnplugCable();
    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::Receiver);
    ASSERT_TRUE(mouse->SendInput(koru::sim::kVendorInterface, event));
    EXPECT_TRUE(byReceiver.Read(buffer, sizeof buffer, &got, 1000));

    mouse->SetLinkUp(false);
    EXPECT_EQ(mouse->CurrentAppearance(), Appearance::None);
    EXPECT_FALSE(mouse->SendInput(koru::sim::kVendorInterface, event));
}

}  // namespace
