#include <gtest/gtest.h>

#include "devices/CustomEffectPlayer.h"
#include "devices/LightFrame.h"
#include "devices/LightingTables.h"

using namespace koru::lighting;

namespace {

LightEffectStep Step(uint8_t mode, int timeMs, LightInfoData light = {}) {
  light.selectItem = mode;
  if (light.light == 0) light.light = 4;
  return {light, timeMs, 0};
}

class CustomEffectPlayerTest : public testing::Test {
 protected:
  void SetUp() override { frame.Resize(3); }
  void Pass(int passes = 1, uint8_t blinkSpeed = 0) {
    for (int i = 0; i < passes; ++i) player.PlayPass(frame, blinkSpeed, now);
  }
  CLightFrame frame;
  CCustomEffectPlayer player;
  uint64_t now = 10000;
};

TEST_F(CustomEffectPlayerTest, AnEmptyEffectDarkensEveryLight) {
  frame.Fill({9, 9, 9, 9});
  Pass();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(frame.Get(i), LightFrameEntry{});
}

TEST_F(CustomEffectPlayerTest, StepsFollowEachOtherByTheirTimeAndWrap) {
  player.Replace({Step(1, 100, {.red = 1}), Step(1, 50, {.green = 2})}, now);
  Pass();
  EXPECT_EQ(frame.Get(2), (LightFrameEntry{1, 0, 0, 255}));
  now += 100;  // exactly its time: the step goes on
  Pass();
  EXPECT_EQ(player.CurrentStep(), 0u);
  now += 1;
  Pass();
  EXPECT_EQ(player.CurrentStep(), 1u);
  Pass();
  EXPECT_EQ(frame.Get(0), (LightFrameEntry{0, 2, 0, 255}));
  now += 51;
  Pass();
  EXPECT_EQ(player.CurrentStep(), 0u);
  // A shorter list replaces it while it plays: playback starts over.
  player.Replace({Step(3, 10)}, now);
  EXPECT_EQ(player.CurrentStep(), 0u);
  frame.Fill({5, 5, 5, 5});
  Pass();
  EXPECT_EQ(frame.Get(1), (LightFrameEntry{5, 5, 5, 5}));  // hold keeps the frame
}

TEST_F(CustomEffectPlayerTest, SpectrumStepsUseTheFasterTable) {
  // Speed 4 of the spectrum table is 0: the phase moves on every pass.
  player.Replace({Step(5, 100000, {.speed = 4})}, now);
  Pass(3);
  EXPECT_EQ(frame.Get(0), LightFrameEntry::Of(kColourWheel[3], 255));
  // Speed 1: 5 passes per position.
  CCustomEffectPlayer slow;
  slow.Replace({Step(5, 100000, {.speed = 1})}, now);
  for (int i = 0; i < 10; ++i) slow.PlayPass(frame, 0, now);
  EXPECT_EQ(frame.Get(0), LightFrameEntry::Of(kColourWheel[2], 255));
}

TEST_F(CustomEffectPlayerTest, BreathingFollowsTheCurveAtTheStepsBrightness) {
  player.Replace({Step(0, 100000, {.light = 2, .speed = 4, .red = 200})}, now);
  Pass(63);  // speed 4: one phase per pass
  EXPECT_EQ(frame.Get(1), (LightFrameEntry{200, 0, 0, Scale(255, 135)}));
}

TEST_F(CustomEffectPlayerTest, BlinkingStepsFollowThePagesSpeed) {
  player.Replace({Step(2, 100000, {.red = 7})}, now);
  Pass(1, 3);  // speed 3: 400 ms
  const bool on = frame.Get(0).level != 0;
  now += 399;
  Pass(1, 3);
  EXPECT_EQ(frame.Get(0).level != 0, on);
  now += 1;
  Pass(1, 3);
  EXPECT_NE(frame.Get(0).level != 0, on);
}

TEST_F(CustomEffectPlayerTest, FlowSpreadsTheWheelOrTheCurveAcrossTheLights) {
  player.Replace({Step(4, 100000, {.speed = 4, .fx = 0, .multiColor = 1})}, now);
  Pass();  // phase 1, start position 2
  EXPECT_EQ(frame.Get(0), LightFrameEntry::Of(kColourWheel[2], 255));
  EXPECT_EQ(frame.Get(2), LightFrameEntry::Of(kColourWheel[26], 255));

  CCustomEffectPlayer single;
  single.Replace({Step(4, 100000, {.speed = 4, .fx = 1, .red = 50})}, now);
  single.PlayPass(frame, 0, now);  // phase 1, start position 191, curve from 191 + 12
  EXPECT_EQ(frame.Get(0), (LightFrameEntry{50, 0, 0, Scale(255, kFlowCurve[(191 + 12) % 96])}));
  EXPECT_EQ(frame.Get(1), (LightFrameEntry{50, 0, 0, Scale(255, kFlowCurve[(191 + 24) % 96])}));
}

}  // namespace
