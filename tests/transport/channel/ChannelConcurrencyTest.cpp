#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "protocol/DeviceCommands.h"
#include "protocol/DeviceLayouts.h"
#include "tests/transport/channel/SimulatedChannel.h"

namespace {

using koru::sim::MemoryRegion;

bool AllowedResult(int r) {
    return r == koru::result::kSuccess || r == koru::result::kNoAnswer ||
           r == koru::result::kWriteFailed;
}

// Two threads run multi-frame commands on one channel while a third closes and
// reopens its endpoint, as the main window does on a path switch. Frames of the
// two commands interleave; every answer that is reported a success must carry
// the right data.
TEST(ChannelConcurrencyTest, MultiFrameCommandsSurviveEndpointReopening) {
    koru::test::SimulatedChannel sim;
    ASSERT_TRUE(sim.ConnectCable());
    ASSERT_TRUE(sim.channel.SetBlockSize(126 * 3));
    const auto keyMap = sim.firmware->Snapshot(MemoryRegion::KeyMap);
    const std::string path = sim.channel.CableEndpoint().GetDevicePath();

    std::atomic<bool> toggling{true};
    std::atomic<int> badResults{0};
    std::atomic<int> corruptReads{0};
    std::atomic<int> successes{0};

    auto reader = [&] {
        std::vector<uint8_t> buffer(512);
        for (int i = 0; i < 8 || toggling.load(); ++i) {
            const int r = ReadKeyMap(sim.channel, buffer.data());
            if (!AllowedResult(r)) ++badResults;
            if (r == koru::result::kSuccess) {
                ++successes;
                if (!std::equal(buffer.begin(), buffer.begin() + 378, keyMap.begin())) ++corruptReads;
            }
        }
    };
    auto writer = [&] {
        uint8_t record[39];
        for (int i = 0; i < 8 || toggling.load(); ++i) {
            for (uint8_t& b : record) b = static_cast<uint8_t>(i);
            const int r = WriteProfileData(sim.channel, record, sizeof record, 40);
            if (!AllowedResult(r)) ++badResults;
            if (r == koru::result::kSuccess) ++successes;
        }
    };
    auto toggler = [&] {
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
            std::lock_guard lock(sim.channel.ExchangeLock());
            sim.channel.SetOpen(false);
            sim.channel.CableEndpoint().Close();
            if (sim.channel.CableEndpoint().Open(path, true, true, true, false)) sim.channel.SetOpen(true);
        }
        toggling = false;
    };

    std::thread a(reader), b(writer), c(toggler);
    a.join();
    b.join();
    c.join();
    EXPECT_EQ(badResults.load(), 0);
    EXPECT_EQ(corruptReads.load(), 0);
    EXPECT_GT(successes.load(), 0);
    EXPECT_FALSE(sim.channel.IsBusy());
    EXPECT_TRUE(sim.channel.IsOpen());
}

}  // namespace
