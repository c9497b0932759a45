#include <gtest/gtest.h>

#include "devices/LightFrame.h"
#include "devices/LightRecordPlayer.h"
#include "devices/LightingTables.h"

using namespace koru::lighting;

namespace {

LightInfoData Record(uint8_t mode, LightInfoData r = {}) {
  r.selectItem = mode;
  r.valid = 1;
  if (r.light == 0) r.light = 4;
  return r;
}

class LightRecordPlayerTest : public testing::Test {
 protected:
  void SetUp() override { frame.Resize(4); }
  void Pass(int passes = 1) {
    for (int i = 0; i < passes; ++i) player.PlayPass(frame, now);
  }
  CLightFrame frame;
  CLightRecordPlayer player;
  uint64_t now = 5000;
};

TEST_F(LightRecordPlayerTest, EachRecordDrivesItsOwnLight) {
  frame.Fill({9, 9, 9, 9});
  LightInfoData absent = Record(0);
  absent.valid = 0;
  player.Replace({Record(1, {.light = 1, .red = 10}), Record(4), absent}, now);
  Pass();
  EXPECT_EQ(frame.Get(0), (LightFrameEntry{10, 0, 0, 80}));
  EXPECT_EQ(frame.Get(1), LightFrameEntry{});
  EXPECT_EQ(frame.Get(2), (LightFrameEntry{9, 9, 9, 9}));  // not present: untouched
  EXPECT_EQ(frame.Get(3), (LightFrameEntry{9, 9, 9, 9}));  // no record
}

TEST_F(LightRecordPlayerTest, BreathingWrapsWhenItsPhasePassesTheEndOfTheCurve) {
  // Speed 1 adds 5 per pass: 125 + 5 passes 128 without reaching it exactly.
  player.Replace({Record(0, {.speed = 1, .multiColor = 1})}, now);
  Pass(25);
  EXPECT_EQ(frame.Get(0).level, Scale(kBreathingCurve[125], 255));
  Pass();
  EXPECT_EQ(frame.Get(0).level, 0);
  Pass();
  EXPECT_EQ(frame.Get(0), LightFrameEntry::Of(kColourWheel[1], Scale(kBreathingCurve[5], 255)));
}

TEST_F(LightRecordPlayerTest, BreathingColourStopsAtTheEndOfTheWheel) {
  // Speed 4 adds 8: a breath takes 16 passes.
  player.Replace({Record(0, {.speed = 4, .multiColor = 1})}, now);
  Pass(16 * 300);
  Pass(2);
  EXPECT_EQ(frame.Get(0).red, kColourWheel[191].red);
  EXPECT_EQ(frame.Get(0).blue, kColourWheel[191].blue);
}

TEST_F(LightRecordPlayerTest, SpectrumStepsTheWheelByItsSpeedAndSpeedsFromFilesAreClamped) {
  player.Replace({Record(3, {.speed = 3}), Record(3, {.speed = 250})}, now);
  Pass(4);
  EXPECT_EQ(frame.Get(0), LightFrameEntry::Of(kColourWheel[2], 255));  // 2 passes per position
  EXPECT_EQ(frame.Get(1), LightFrameEntry::Of(kColourWheel[4], 255));  // the fastest level
}

TEST_F(LightRecordPlayerTest, BlinkingLightsToggleByTheirSpeed) {
  player.Replace({Record(2, {.speed = 4, .red = 30}), Record(2, {.speed = 0, .multiColor = 1})}, now);
  Pass();
  EXPECT_EQ(frame.Get(0), LightFrameEntry{});
  now += 200;
  Pass();
  EXPECT_EQ(frame.Get(0), (LightFrameEntry{30, 0, 0, 255}));
  EXPECT_EQ(frame.Get(1), LightFrameEntry{});
  now += 1400;
  Pass();
  EXPECT_EQ(frame.Get(1), LightFrameEntry::Of(kColourWheel[14], 255));
}

}  // namespace
