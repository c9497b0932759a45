#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <thread>
#include <utility>
#include <vector>

#include "protocol/CommandFrame.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceLayouts.h"
#include "tests/transport/channel/SimulatedChannel.h"

using koru::sim::FaultAction;
using koru::sim::MemoryRegion;
using koru::sim::SimModel;
namespace result = koru::result;
namespace cmd = koru::cmd;

namespace {

using Chunk = std::pair<int, int>;  // length, address

std::vector<Chunk> ChunksOf(const koru::sim::DeviceFirmware& firmware, uint8_t command) {
    std::vector<Chunk> chunks;
    for (const auto& f : firmware.ReceivedFrames())
        if (f[3] == command) chunks.emplace_back(f[4], f[5] | f[6] << 8);
    return chunks;
}

std::vector<uint8_t> Pattern(size_t n, uint8_t seed) {
    std::vector<uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), seed);
    return bytes;
}

class DeviceCommandsTest : public testing::Test {
protected:
    koru::test::SimulatedChannel sim;
};

TEST_F(DeviceCommandsTest, SessionCommandsSendOneEmptyFrameEach) {
    ASSERT_TRUE(sim.ConnectCable());
    EXPECT_EQ(BeginSession(sim.channel), result::kSuccess);
    EXPECT_TRUE(sim.firmware->SessionOpen());
    EXPECT_EQ(TakeLightControl(sim.channel), result::kSuccess);
    EXPECT_TRUE(sim.firmware->HostLightControl());
    EXPECT_EQ(EndSession(sim.channel), result::kSuccess);
    EXPECT_FALSE(sim.firmware->SessionOpen());
    const auto frames = sim.firmware->ReceivedFrames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0][3], cmd::kBeginSession);
    EXPECT_EQ(frames[1][3], cmd::kTakeLightControl);
    EXPECT_EQ(frames[2][3], cmd::kEndSession);
    EXPECT_EQ(frames[2][1], 0x02);
}

TEST_F(DeviceCommandsTest, StatusBytesBecomeResultCodes) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->AddFault({FaultAction::StatusFailed, cmd::kBeginSession});
    sim.firmware->AddFault({FaultAction::StatusBusy, cmd::kEndSession});
    EXPECT_EQ(BeginSession(sim.channel), result::kStatusFailed);
    EXPECT_EQ(EndSession(sim.channel), result::kStatusBusy);
}

TEST_F(DeviceCommandsTest, DeviceInfoIsReadInChunksOfTheMode) {
    struct Case {
        bool receiver;
        std::vector<Chunk> chunks;
    };
    for (const Case& c : {Case{true, {{24, 0}, {10, 24}}}, Case{false, {{34, 0}}}}) {
        koru::test::SimulatedChannel s;
        ASSERT_TRUE(c.receiver ? s.ConnectReceiver() : s.ConnectCable());
        uint8_t info[34] = {};
        ASSERT_EQ(ReadDeviceInfo(s.channel, info), result::kSuccess);
        EXPECT_EQ(ChunksOf(*s.firmware, cmd::kReadDeviceInfo), c.chunks);
        EXPECT_EQ(std::vector<uint8_t>(info, info + 34), s.firmware->Snapshot(MemoryRegion::DeviceInfo));
    }
}

TEST_F(DeviceCommandsTest, DeviceInfoIsLeftUntouchedWhenALaterChunkFails) {
    ASSERT_TRUE(sim.ConnectReceiver());
    sim.firmware->AddFault({FaultAction::StatusFailed, cmd::kReadDeviceInfo, 1});
    uint8_t info[34];
    std::fill(std::begin(info), std::end(info), 0xEE);
    EXPECT_EQ(ReadDeviceInfo(sim.channel, info), result::kStatusFailed);
    for (uint8_t b : info) EXPECT_EQ(b, 0xEE);
}

TEST_F(DeviceCommandsTest, BlockOfThreeHundredGoesAsFiveFullChunksAndOneOfTwenty) {
    ASSERT_TRUE(sim.ConnectCable());
    ASSERT_TRUE(sim.channel.SetBlockSize(300));
    const auto table = Pattern(300, 1);
    ASSERT_EQ(WriteKeyMap(sim.channel, table.data(), 0), result::kSuccess);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kWriteKeyMap),
              (std::vector<Chunk>{{56, 0}, {56, 56}, {56, 112}, {56, 168}, {56, 224}, {20, 280}}));
    const auto stored = sim.firmware->Snapshot(MemoryRegion::KeyMap);
    EXPECT_TRUE(std::equal(table.begin(), table.end(), stored.begin()));

    std::vector<uint8_t> extra(100, 0xEE);
    ASSERT_EQ(ReadKeyMapExtra(sim.channel, extra.data()), result::kSuccess);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kReadKeyMapExtra), (std::vector<Chunk>{{56, 0}, {44, 56}}));
    const auto stock = sim.firmware->Snapshot(MemoryRegion::KeyMapExtra);
    EXPECT_TRUE(std::equal(extra.begin(), extra.end(), stock.begin()));
}

TEST_F(DeviceCommandsTest, KeyTableWritesRefuseBankOneWithoutSending) {
    ASSERT_TRUE(sim.ConnectCable());
    const std::vector<uint8_t> table(512, 1);
    for (auto write : {&WriteKeyMap, &WriteKeyMapLayer2, &WriteKeyMapLayer3})
        EXPECT_EQ(write(sim.channel, table.data(), 1), result::kBadBank);
    EXPECT_EQ(sim.firmware->FrameCount(), 0u);
}

TEST_F(DeviceCommandsTest, KeyTableLayersLandInTheirOwnTables) {
    ASSERT_TRUE(sim.ConnectReceiver());
    ASSERT_TRUE(sim.channel.SetBlockSize(126 * 3));
    const auto two = Pattern(378, 2);
    const auto three = Pattern(378, 3);
    ASSERT_EQ(WriteKeyMapLayer2(sim.channel, two.data(), 0), result::kSuccess);
    ASSERT_EQ(WriteKeyMapLayer3(sim.channel, three.data(), 0), result::kSuccess);
    EXPECT_TRUE(std::equal(two.begin(), two.end(), sim.firmware->Snapshot(MemoryRegion::KeyMapLayer2).begin()));
    EXPECT_TRUE(std::equal(three.begin(), three.end(), sim.firmware->Snapshot(MemoryRegion::KeyMapLayer3).begin()));
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kWriteKeyMapLayer2).size(), 16u);  // 15 x 24 + 18
}

// The first chunk stays written: there is no roll-back on the device.
TEST_F(DeviceCommandsTest, BusyStatusInSecondChunkEndsTheWriteAfterTheFirst) {
    ASSERT_TRUE(sim.ConnectCable());
    ASSERT_TRUE(sim.channel.SetBlockSize(126 * 3));
    const auto before = sim.firmware->Snapshot(MemoryRegion::KeyMap);
    sim.firmware->AddFault({FaultAction::StatusBusy, cmd::kWriteKeyMap, 1});
    const std::vector<uint8_t> table(378, 0x5A);
    EXPECT_EQ(WriteKeyMap(sim.channel, table.data(), 0), result::kStatusBusy);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kWriteKeyMap).size(), 2u);
    const auto after = sim.firmware->Snapshot(MemoryRegion::KeyMap);
    EXPECT_TRUE(std::all_of(after.begin(), after.begin() + 56, [](uint8_t b) { return b == 0x5A; }));
    EXPECT_TRUE(std::equal(after.begin() + 56, after.end(), before.begin() + 56));
}

TEST_F(DeviceCommandsTest, SettingsRecordsRoundTripAtTheirBase) {
    ASSERT_TRUE(sim.ConnectReceiver());
    const auto record = Pattern(39, 7);
    ASSERT_EQ(WriteProfileData(sim.channel, record.data(), record.size(), 2 * 40), result::kSuccess);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kWriteProfileData), (std::vector<Chunk>{{24, 80}, {15, 104}}));
    std::vector<uint8_t> back(39);
    ASSERT_EQ(ReadProfileData(sim.channel, back.data(), back.size(), 2 * 40), result::kSuccess);
    EXPECT_EQ(back, record);
    uint8_t active = 0xFF;
    ASSERT_EQ(ReadProfileData(sim.channel, &active, 1, 0), result::kSuccess);
    EXPECT_EQ(active, 0);
}

TEST_F(DeviceCommandsTest, LightPagesAreAddressedByPageTimesPageSize) {
    ASSERT_TRUE(sim.ConnectCable());
    const auto colours = Pattern(378, 9);
    ASSERT_EQ(WriteLightPage(sim.channel, colours.data(), colours.size(), 3, 512), result::kSuccess);
    const auto chunks = ChunksOf(*sim.firmware, cmd::kWriteLightPage);
    ASSERT_EQ(chunks.size(), 7u);
    EXPECT_EQ(chunks.front(), (Chunk{56, 1536}));
    EXPECT_EQ(chunks.back(), (Chunk{42, 1536 + 336}));
    std::vector<uint8_t> back(378);
    ASSERT_EQ(ReadLightPage(sim.channel, back.data(), back.size(), 3, 512), result::kSuccess);
    EXPECT_EQ(back, colours);
}

TEST_F(DeviceCommandsTest, ShootDataAlwaysGoesInFiftySixByteChunks) {
    koru::test::SimulatedChannel mouse(SimModel::Mouse);
    ASSERT_TRUE(mouse.ConnectReceiver());
    const auto image = Pattern(120, 0);
    ASSERT_EQ(WriteShootData(mouse.channel, image.data(), image.size()), result::kSuccess);
    EXPECT_EQ(ChunksOf(*mouse.firmware, cmd::kWriteShootData),
              (std::vector<Chunk>{{56, 0}, {56, 56}, {8, 112}}));
}

TEST_F(DeviceCommandsTest, MacroImageBeyondTheMemoryIsRefusedByTheDevice) {
    ASSERT_TRUE(sim.ConnectCable());
    const std::vector<uint8_t> image(32 * 128 + 1, 1);  // one byte more than the keyboard holds
    EXPECT_EQ(WriteMacroData(sim.channel, image.data(), image.size()), result::kStatusFailed);
}

TEST_F(DeviceCommandsTest, PowerStatusIsOneFrameAtTheGivenAddress) {
    ASSERT_TRUE(sim.ConnectReceiver());
    sim.firmware->SetBattery(42);
    uint8_t power[6] = {};
    ASSERT_EQ(ReadPowerStatus(sim.channel, power, 6, 0), result::kSuccess);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kReadPowerStatus), (std::vector<Chunk>{{6, 0}}));
    EXPECT_EQ(power[koru::memory::kPowerBatteryLevel], 42);
    EXPECT_EQ(power[koru::memory::kPowerState], koru::memory::kOnBattery);

    uint8_t tooMuch[64];
    EXPECT_EQ(ReadPowerStatus(sim.channel, tooMuch, 57, 0), result::kNoAnswer);
    EXPECT_EQ(ChunksOf(*sim.firmware, cmd::kReadPowerStatus).size(), 1u);
}

TEST_F(DeviceCommandsTest, WirelessLinkQuery) {
    {
        koru::test::SimulatedChannel cable;
        ASSERT_TRUE(cable.ConnectCable());
        EXPECT_TRUE(QueryWirelessLink(cable.channel));
        EXPECT_EQ(cable.firmware->FrameCount(), 0u);
    }
    ASSERT_TRUE(sim.ConnectReceiver());
    EXPECT_TRUE(QueryWirelessLink(sim.channel));
    const auto frames = sim.firmware->ReceivedFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][1], 0xAA);
    sim.device->SetLinkUp(false);
    EXPECT_FALSE(QueryWirelessLink(sim.channel));
    sim.device->SetLinkUp(true);
    sim.firmware->AddFault({FaultAction::StatusFailed, cmd::kQueryWirelessLink});
    EXPECT_FALSE(QueryWirelessLink(sim.channel));
}

TEST_F(DeviceCommandsTest, ReadsThroughABrokenLinkAreLinkDown) {
    ASSERT_TRUE(sim.ConnectReceiver());
    sim.device->SetLinkUp(false);
    std::vector<uint8_t> buffer(512);
    EXPECT_EQ(ReadKeyMap(sim.channel, buffer.data()), result::kLinkDown);
}

TEST_F(DeviceCommandsTest, LightFrameIsKeptByTheDevice) {
    ASSERT_TRUE(sim.ConnectCable());
    const auto frame = Pattern(378, 4);
    ASSERT_EQ(StreamLightFrame(sim.channel, frame.data(), frame.size()), result::kSuccess);
    const auto kept = sim.firmware->LightFrame();
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), kept.bytes.begin()));
    EXPECT_EQ(kept.framesStarted, 1u);
    EXPECT_EQ(kept.chunkCount, 7u);
}

// While another exchange runs, a light frame drops its chunks instead of waiting.
TEST_F(DeviceCommandsTest, LightFrameChunksAreDroppedWhileAnotherExchangeRuns) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->SetLatency(std::chrono::milliseconds(200));
    std::thread slow([&] { BeginSession(sim.channel); });
    while (!sim.channel.IsBusy()) std::this_thread::yield();
    const auto frame = Pattern(120, 4);
    EXPECT_EQ(StreamLightFrame(sim.channel, frame.data(), frame.size()), result::kSuccess);
    slow.join();
    EXPECT_TRUE(ChunksOf(*sim.firmware, cmd::kStreamLightFrame).empty());
    EXPECT_EQ(sim.firmware->LightFrame().chunkCount, 0u);
}

TEST_F(DeviceCommandsTest, ClosedChannelFailsEveryCommandWithoutTraffic) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.channel.SetOpen(false);
    uint8_t buffer[512] = {};
    EXPECT_EQ(BeginSession(sim.channel), result::kNoAnswer);
    EXPECT_EQ(ReadDeviceInfo(sim.channel, buffer), result::kNoAnswer);
    EXPECT_EQ(WriteProfileData(sim.channel, buffer, 39, 0), result::kNoAnswer);
    EXPECT_EQ(sim.firmware->FrameCount(), 0u);
}

}  // namespace
