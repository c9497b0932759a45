#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <vector>

#include "protocol/CommandFrame.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceLayouts.h"
#include "tests/transport/channel/SimulatedChannel.h"

using koru::sim::MemoryRegion;
using koru::sim::SimModel;
namespace result = koru::result;

namespace {

TEST(DeviceFirmwareTest, InformationBlockPerModel) {
    struct Case {
        SimModel model;
        int keys, macroUnits, sensor, step, maxPosition, lowest;
    };
    for (const Case c : {Case{SimModel::Keyboard, 126, 32, 0, 0, 0, 0},
                         Case{SimModel::Mouse, 11, 16, 0x3325, 100, 148, 200},
                         Case{SimModel::MousePad, 0, 0, 0, 0, 0, 0},
                         Case{SimModel::Headset, 0, 0, 0, 0, 0, 0}}) {
        koru::test::SimulatedChannel sim(c.model);
        ASSERT_TRUE(sim.ConnectCable());
        uint8_t info[34] = {};
        ASSERT_EQ(ReadDeviceInfo(sim.channel, info), result::kSuccess) << sim.device->Name();
        EXPECT_EQ(info[koru::info::kKeyCount], c.keys) << sim.device->Name();
        EXPECT_EQ(info[koru::info::kMacroUnits], c.macroUnits);
        EXPECT_EQ(koru::info::Read16(info, koru::info::kSensorCode), c.sensor);
        EXPECT_EQ(info[koru::info::kDpiStep], c.step);
        EXPECT_EQ(koru::info::Read16(info, koru::info::kMaxDpiPosition), c.maxPosition);
        EXPECT_EQ(koru::info::Read16(info, koru::info::kLowestDpi), c.lowest);
        // Three bytes per key fit the 512-byte block.
        EXPECT_TRUE(sim.channel.SetBlockSize(static_cast<uint16_t>(info[koru::info::kKeyCount] * 3)));
    }
}

TEST(DeviceFirmwareTest, KeyboardTablesNameEveryKeyOnceAndEveryFramePositionOnce) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectCable());
    ASSERT_TRUE(sim.channel.SetBlockSize(126 * 3));
    std::vector<uint8_t> codes(378), positions(126);
    ASSERT_EQ(ReadKeyMap(sim.channel, codes.data()), result::kSuccess);
    ASSERT_EQ(ReadKeyMapExtra(sim.channel, positions.data()), result::kSuccess);
    std::set<std::vector<uint8_t>> distinct;
    for (size_t k = 0; k < 126; ++k) distinct.insert({codes.begin() + 3 * k, codes.begin() + 3 * k + 3});
    EXPECT_EQ(distinct.size(), 126u);
    EXPECT_EQ(std::set<uint8_t>(positions.begin(), positions.end()).size(), 126u);
    EXPECT_LT(*std::max_element(positions.begin(), positions.end()), 170);
}

// The mouse pad and the headset read records at profile x 40 and write them at
// profile x 64; the device keeps one record per profile either way.
TEST(DeviceFirmwareTest, LightStateWrittenAtStrideSixtyFourReadsBackAtStrideForty) {
    for (SimModel model : {SimModel::MousePad, SimModel::Headset}) {
        koru::test::SimulatedChannel sim(model);
        ASSERT_TRUE(sim.ConnectCable());
        std::vector<uint8_t> state(21);
        for (size_t i = 0; i < state.size(); ++i) state[i] = static_cast<uint8_t>(0x40 + i);
        const auto layout = model == SimModel::MousePad ? koru::settings::kMousePad : koru::settings::kHeadset;
        ASSERT_EQ(WriteProfileData(sim.channel, state.data(), layout.writeLength, 3 * layout.writeStride),
                  result::kSuccess);
        std::vector<uint8_t> record(layout.readLength);
        ASSERT_EQ(ReadProfileData(sim.channel, record.data(), record.size(), 3 * layout.readStride),
                  result::kSuccess);
        EXPECT_TRUE(std::equal(state.begin(), state.end(), record.begin())) << sim.device->Name();
    }
}

TEST(DeviceFirmwareTest, SettingsOutsideTheProfilesAreRefused) {
    koru::test::SimulatedChannel sim(SimModel::Mouse);
    ASSERT_TRUE(sim.ConnectCable());
    std::vector<uint8_t> record(71);
    EXPECT_EQ(ReadProfileData(sim.channel, record.data(), record.size(), 7 * 128), result::kSuccess);
    EXPECT_EQ(ReadProfileData(sim.channel, record.data(), record.size(), 8 * 128), result::kStatusFailed);
}

TEST(DeviceFirmwareTest, MemorySurvivesUnplugging) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectCable());
    const uint8_t record[39] = {0, 9, 9, 9};
    ASSERT_EQ(WriteProfileData(sim.channel, record, sizeof record, 40), result::kSuccess);
    sim.device->UnplugCable();
    sim.channel.SetOpen(false);
    ASSERT_TRUE(sim.ConnectCable());
    uint8_t back[39] = {};
    ASSERT_EQ(ReadProfileData(sim.channel, back, sizeof back, 40), result::kSuccess);
    EXPECT_TRUE(std::equal(std::begin(record), std::end(record), back));
}

TEST(DeviceFirmwareTest, PowerStateFollowsTheRoute) {
    struct Case {
        bool receiver;
        uint8_t level;
        uint8_t state;
    };
    for (const Case c : {Case{false, 50, koru::memory::kCharging}, Case{false, 100, koru::memory::kExternalPower},
                         Case{true, 50, koru::memory::kOnBattery}}) {
        koru::test::SimulatedChannel sim(SimModel::Mouse);
        ASSERT_TRUE(c.receiver ? sim.ConnectReceiver() : sim.ConnectCable());
        sim.firmware->SetBattery(c.level);
        uint8_t power[6] = {};
        ASSERT_EQ(ReadPowerStatus(sim.channel, power, 6, 0), result::kSuccess);
        EXPECT_EQ(power[0], c.level);
        EXPECT_EQ(power[1], c.state) << "receiver " << c.receiver << " level " << int(c.level);
    }
}

TEST(DeviceFirmwareTest, BadChecksumAndUnknownCommandsAreFailedStatus) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectCable());
    uint8_t frame[64], answer[64];
    koru::frame::Build(frame, koru::cmd::kBeginSession, 0, 0);
    frame[1] ^= 0x10;
    ASSERT_EQ(sim.channel.Exchange(frame, 64, answer, 64, nullptr), result::kSuccess);
    EXPECT_EQ(answer[7], 0xFF);
    koru::frame::Build(frame, 0x42, 0, 0);
    ASSERT_EQ(sim.channel.Exchange(frame, 64, answer, 64, nullptr), result::kSuccess);
    EXPECT_EQ(answer[7], 0xFF);
}

TEST(DeviceFirmwareTest, AnswersWithLatencyArriveInOrder) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectReceiver());
    sim.firmware->SetLatency(std::chrono::milliseconds(1));
    uint8_t info[34] = {};
    ASSERT_EQ(ReadDeviceInfo(sim.channel, info), result::kSuccess);
    EXPECT_EQ(info[koru::info::kKeyCount], 126);
    sim.firmware->AddFault({koru::sim::FaultAction::StaleAnswer, koru::cmd::kReadDeviceInfo});
    EXPECT_EQ(ReadDeviceInfo(sim.channel, info), result::kSuccess);
}

// Notifications come on the consumer-control collection, as the pages' threads read them.
TEST(DeviceFirmwareTest, ProfileSwitchOnTheDeviceIsNotifiedAndStored) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectCable());
    CHidDevice events;
    ASSERT_TRUE(events.Open(sim.PathOf(*sim.device->CableId(), "&mi_01&col03"), true, false, true, false));
    ASSERT_TRUE(sim.firmware->SwitchProfile(3));
    ASSERT_TRUE(sim.firmware->KeyEvent(5, true));
    uint8_t report[3] = {};
    uint32_t count = 0;
    ASSERT_TRUE(events.Read(report, sizeof report, &count, 1000));
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(report[0], 3);
    EXPECT_EQ(report[1] | report[2] << 8, 0x1003);
    ASSERT_TRUE(events.Read(report, sizeof report, &count, 1000));
    EXPECT_EQ(report[1] | report[2] << 8, 1280 + 5);
    uint8_t active = 0;
    ASSERT_EQ(ReadProfileData(sim.channel, &active, 1, 0), result::kSuccess);
    EXPECT_EQ(active, 3);
    EXPECT_FALSE(sim.firmware->SwitchProfile(8));
}

TEST(DeviceFirmwareTest, HeadsetKeepsTheLightReportsItWasSent) {
    koru::test::SimulatedChannel sim(SimModel::Headset);
    ASSERT_TRUE(sim.ConnectCable());
    const uint8_t controllers[2] = {0x22, 0x44};
    for (int c = 0; c < 2; ++c) {
        for (uint8_t block = 0xAA; block <= 0xAF; ++block) {
            uint8_t report[17] = {0xFF, controllers[c], block, 0};
            for (int i = 0; i < 7; ++i) report[4 + i] = static_cast<uint8_t>(c * 100 + (block - 0xAA) * 10 + i);
            ASSERT_TRUE(sim.channel.CableEndpoint().SetOutputReport(report, sizeof report));
        }
    }
    const auto lights = sim.firmware->HeadsetLightState();
    EXPECT_EQ(lights.reportCount, 12u);
    EXPECT_EQ(lights.colour[0][0][0], 0);       // red of light 0: block 0xAA, value 0
    EXPECT_EQ(lights.colour[0][8][0], 31);      // red of light 8: block 0xAD, value 1
    EXPECT_EQ(lights.colour[1][12][2], 155);    // blue of light 12: block 0xAF, value 5
    EXPECT_EQ(lights.colour[1][6][1], 100 + 16);  // green of light 6: block 0xAB, value 6
}

TEST(DeviceFirmwareTest, HeadsetNotifiesOnItsOwnInterface) {
    koru::test::SimulatedChannel sim(SimModel::Headset);
    ASSERT_TRUE(sim.ConnectCable());
    ASSERT_TRUE(sim.firmware->SendNotification(koru::notify::kReload));
    uint8_t report[64] = {};
    uint32_t count = 0;
    ASSERT_TRUE(sim.channel.CableEndpoint().Read(report, sizeof report, &count, 1000));
    EXPECT_EQ(report[0], 2);
    EXPECT_EQ(report[1] | report[2] << 8, 1025);
}

}  // namespace
