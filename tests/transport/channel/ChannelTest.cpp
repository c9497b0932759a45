#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/DebugOutput.h"
#include "protocol/CommandFrame.h"
#include "tests/transport/channel/SimulatedChannel.h"

using koru::sim::FaultAction;
using koru::sim::FaultRule;
namespace result = koru::result;

namespace {

class ChannelTest : public testing::Test {
protected:
    int Send(uint8_t command, uint8_t length = 0, uint16_t address = 0) {
        uint8_t frame[64];
        koru::frame::Build(frame, command, length, address);
        return sim.channel.Exchange(frame, sizeof frame, answer, sizeof answer, &transferred);
    }

    koru::test::SimulatedChannel sim;
    uint8_t answer[64] = {};
    uint32_t transferred = 0;
};

TEST_F(ChannelTest, DefaultsAreClosedCableModeWithReceiverChunks) {
    CDeviceChannel channel;
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(channel.IsBusy());
    EXPECT_FALSE(channel.IsReceiverMode());
    EXPECT_EQ(channel.GetChunkSize(), 24);
    EXPECT_EQ(channel.GetBlockSize(), 512);
}

TEST_F(ChannelTest, BlockSizeAboveFiveHundredTwelveIsRefusedAndKeepsTheOldOne) {
    CDeviceChannel channel;
    ASSERT_TRUE(channel.SetBlockSize(300));
    EXPECT_FALSE(channel.SetBlockSize(513));
    EXPECT_EQ(channel.GetBlockSize(), 300);
    EXPECT_TRUE(channel.SetBlockSize(512));
    EXPECT_EQ(channel.GetBlockSize(), 512);
}

TEST_F(ChannelTest, ConnectionModeSetsChunkSize) {
    struct Case {
        int mode;
        bool receiver;
        int chunk;
    };
    for (const Case c : {Case{2, true, 24}, Case{1, false, 56}, Case{0, false, 56}, Case{7, false, 56}}) {
        CDeviceChannel channel;
        channel.SetConnectionMode(c.mode);
        EXPECT_EQ(channel.IsReceiverMode(), c.receiver) << "mode " << c.mode;
        EXPECT_EQ(channel.GetChunkSize(), c.chunk) << "mode " << c.mode;
    }
}

TEST_F(ChannelTest, ClosedChannelAnswersZeroAtOnceAndSendsNothing) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.channel.SetOpen(false);
    answer[3] = 0x77;
    for (bool fast : {false, true}) {
        uint8_t frame[64];
        koru::frame::Build(frame, koru::cmd::kBeginSession, 0, 0);
        transferred = 99;
        const int r = fast ? sim.channel.ExchangeFast(frame, 64, answer, 64, &transferred)
                           : sim.channel.Exchange(frame, 64, answer, 64, &transferred);
        EXPECT_EQ(r, result::kNoAnswer);
        EXPECT_EQ(transferred, 0u);
        EXPECT_FALSE(sim.channel.IsBusy());
    }
    EXPECT_EQ(sim.firmware->FrameCount(), 0u);
}

TEST_F(ChannelTest, RequestIsZeroFilledOrCutToSixtyFourBytes) {
    ASSERT_TRUE(sim.ConnectCable());
    uint8_t longRequest[80];
    std::memset(longRequest, 0xEE, sizeof longRequest);
    longRequest[0] = 0x04;
    longRequest[3] = 0x01;
    const uint8_t shortRequest[5] = {0x04, 0x01, 0x00, 0x01, 0x00};
    sim.channel.Exchange(longRequest, sizeof longRequest, answer, 64, &transferred);
    sim.channel.Exchange(shortRequest, sizeof shortRequest, answer, 64, &transferred);
    const auto frames = sim.firmware->ReceivedFrames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0][63], 0xEE);
    EXPECT_EQ(frames[1][3], 0x01);
    for (size_t i = 5; i < 64; ++i) EXPECT_EQ(frames[1][i], 0) << i;
}

TEST_F(ChannelTest, MatchingAnswerSucceedsAndIsCopiedWithoutJudgingTheStatus) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->AddFault({FaultAction::StatusBusy, koru::cmd::kBeginSession});
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kSuccess);
    EXPECT_EQ(transferred, 64u);
    EXPECT_EQ(answer[3], koru::cmd::kBeginSession);
    EXPECT_EQ(answer[7], 0xFE);  // the command functions judge it
    EXPECT_FALSE(sim.channel.IsBusy());
}

// A leftover 0xAA answer: the receiver's "cannot reach the device" ends the
// exchange; by cable it is just not the answer, and the next read is.
TEST_F(ChannelTest, LinkDownEchoEndsReceiverExchangeButNotCableExchange) {
    struct Case {
        bool receiver;
        int expected;
    };
    for (const Case c : {Case{true, result::kLinkDown}, Case{false, result::kSuccess}}) {
        koru::test::SimulatedChannel s;
        ASSERT_TRUE(c.receiver ? s.ConnectReceiver() : s.ConnectCable());
        s.QueueAnswer(c.receiver ? *s.device->ReceiverId() : *s.device->CableId(), 0xAA);
        uint8_t frame[64];
        koru::frame::Build(frame, koru::cmd::kReadDeviceInfo, 24, 0);
        EXPECT_EQ(s.channel.Exchange(frame, 64, answer, 64, nullptr), c.expected)
            << (c.receiver ? "receiver" : "cable");
    }
}

TEST_F(ChannelTest, ReceiverWithoutLinkAnswersLinkDownToEveryCommand) {
    ASSERT_TRUE(sim.ConnectReceiver());
    sim.device->SetLinkUp(false);
    EXPECT_EQ(Send(koru::cmd::kReadDeviceInfo, 24, 0), result::kLinkDown);
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kLinkDown);
}

TEST_F(ChannelTest, StaleAnswerFollowedByTheRightOneSucceeds) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->AddFault({FaultAction::StaleAnswer, koru::cmd::kReadDeviceInfo});
    EXPECT_EQ(Send(koru::cmd::kReadDeviceInfo, 34, 0), result::kSuccess);
    EXPECT_EQ(answer[3], koru::cmd::kReadDeviceInfo);
    EXPECT_EQ(answer[8 + 5], 126);  // the keyboard's key count, not a stale answer's zero
}

// Two answers to something else: their data belong to another command and must
// not be handed on as ours.
TEST_F(ChannelTest, TwoForeignAnswersAreNoAnswer) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.QueueAnswer(*sim.device->CableId(), koru::cmd::kEndSession);
    sim.firmware->AddFault({FaultAction::StaleAnswer, koru::cmd::kReadDeviceInfo});
    EXPECT_EQ(Send(koru::cmd::kReadDeviceInfo, 34, 0), result::kNoAnswer);
    // The right answer is still queued: the next exchange reads past it.
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kSuccess);
}

TEST_F(ChannelTest, LostAnswerIsNoAnswerAndTheNextExchangeWorks) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->AddFault({FaultAction::LoseAnswer, koru::cmd::kBeginSession});
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kNoAnswer);
    EXPECT_EQ(transferred, 0u);
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kSuccess);
}

TEST_F(ChannelTest, UnplugDuringExchangeIsNoAnswerAndLaterWritesFail) {
    ASSERT_TRUE(sim.ConnectCable());
    sim.firmware->AddFault({FaultAction::Unplug, koru::cmd::kReadKeyMap});
    EXPECT_EQ(Send(koru::cmd::kReadKeyMap, 56, 0), result::kNoAnswer);
    EXPECT_FALSE(sim.device->IsCablePlugged());
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kWriteFailed);
    EXPECT_FALSE(sim.channel.IsBusy());
}

TEST_F(ChannelTest, OpenFlagWithoutEndpointIsAWriteFailure) {
    sim.channel.SetOpen(true);
    EXPECT_EQ(Send(koru::cmd::kBeginSession), result::kWriteFailed);
}

class TraceCapture {
public:
    TraceCapture() {
        koru::SetDebugOutputSink([this](std::string_view line) { lines.emplace_back(line); });
    }
    ~TraceCapture() {
        koru::SetDebugOutputEnabled(false);
        koru::SetDebugOutputSink({});
    }
    std::vector<std::string> lines;
};

TEST_F(ChannelTest, ExchangeTracesLabelAndTwoHexLinesEachWay) {
    ASSERT_TRUE(sim.ConnectCable());
    TraceCapture trace;
    koru::SetDebugOutputEnabled(true);
    ASSERT_EQ(Send(koru::cmd::kBeginSession), result::kSuccess);
    ASSERT_EQ(trace.lines.size(), 6u);
    EXPECT_EQ(trace.lines[0], "命令");
    EXPECT_EQ(trace.lines[1],
              "04 01 00 01   00 00 00 00   00 00 00 00   00 00 00 00  "
              "00 00 00 00  00 00 00 00  00 00 00 00  00 00 00 00");
    EXPECT_EQ(trace.lines[3], "返回");
    EXPECT_EQ(trace.lines[4].substr(0, 11), "04 01 00 01");

    trace.lines.clear();
    uint8_t frame[64];
    koru::frame::Build(frame, koru::cmd::kBeginSession, 0, 0);
    ASSERT_EQ(sim.channel.ExchangeFast(frame, 64, answer, 64, nullptr), result::kSuccess);
    EXPECT_TRUE(trace.lines.empty());

    koru::SetDebugOutputEnabled(false);
    ASSERT_EQ(Send(koru::cmd::kBeginSession), result::kSuccess);
    EXPECT_TRUE(trace.lines.empty());
}

TEST_F(ChannelTest, ResultCodesHaveNames) {
    for (int code : {1, 0, -1, -101, -102, -103, -201})
        EXPECT_STRNE(ExchangeResultName(code), "unknown result") << code;
    EXPECT_STREQ(ExchangeResultName(42), "unknown result");
}

}  // namespace
