#include <gtest/gtest.h>

#include "devices/LightingTables.h"

using namespace koru::lighting;

namespace {

TEST(PhaseStepTest, WrapsBothWays) {
  struct Case {
    uint8_t direction, limit, value, step, expected;
  };
  const Case cases[] = {
      {0, 128, 0, 1, 127},    // backward from 0 wraps to limit - step
      {1, 128, 127, 1, 0},    // forward onto the limit wraps to 0
      {1, 128, 126, 1, 127},  //
      {0, 128, 5, 1, 4},      //
      {0, 192, 0, 3, 189},    //
      {1, 192, 190, 3, 0},    // past the limit is 0 as well
      {7, 4, 2, 1, 3},        // any direction other than 0 is forward
      {0, 4, 200, 1, 3},      // a value left over from a longer table comes back inside
  };
  for (const Case& c : cases)
    EXPECT_EQ(PhaseStep(c.direction, c.limit, c.value, c.step), c.expected)
        << int(c.direction) << " " << int(c.limit) << " " << int(c.value) << " " << int(c.step);
}

TEST(LightingTablesTest, CurvesAreSymmetricAndWheelRunsJoin) {
  EXPECT_EQ(kBreathingCurve[0], 0);
  EXPECT_EQ(kBreathingCurve[63], 255);
  EXPECT_EQ(kBreathingCurve[64], 255);
  EXPECT_EQ(kBreathingCurve[127], 0);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(kBreathingCurve[i], kBreathingCurve[127 - i]);
  EXPECT_EQ(kFlowCurve[0], 22);
  EXPECT_EQ(kFlowCurve[47], 255);
  EXPECT_EQ(kFlowCurve[95], 22);
  // Each run of the wheel ends where the next begins, so the colours move smoothly.
  EXPECT_EQ(kColourWheel[0], (WheelColour{255, 1, 0}));
  EXPECT_EQ(kColourWheel[31], (WheelColour{255, 255, 0}));
  EXPECT_EQ(kColourWheel[32], (WheelColour{248, 255, 0}));
  EXPECT_EQ(kColourWheel[95], (WheelColour{0, 255, 255}));
  EXPECT_EQ(kColourWheel[127], (WheelColour{0, 0, 255}));
  EXPECT_EQ(kColourWheel[159], (WheelColour{255, 0, 255}));
  EXPECT_EQ(kColourWheel[191], (WheelColour{255, 0, 0}));
}

TEST(LightingTablesTest, LevelsAndPositionsFromFilesStayInsideTheTables) {
  EXPECT_EQ(BrightnessOf(-3), 0);
  EXPECT_EQ(BrightnessOf(2), 135);
  EXPECT_EQ(BrightnessOf(200), 255);
  EXPECT_EQ(SpeedTicksOf(0), 8);
  EXPECT_EQ(SpeedTicksOf(255), 1);
  EXPECT_EQ(WheelAt(192), kColourWheel[0]);
  EXPECT_EQ(WheelAt(-1), kColourWheel[191]);
  EXPECT_EQ(PaletteAt(6), kPalette[2]);
  EXPECT_EQ(FlowAt(96 + 47), 255);
}

}  // namespace
