#include <gtest/gtest.h>

#include "app/DevicePageLists.h"
#include "devices/LightingTables.h"
#include "app/SyncLighting.h"
#include "tests/app/StubDevicePage.h"

namespace {

struct ModeCase {
  int kind;
  int mode;
  int type;
};

TEST(SyncLightingModes, EachKindMapsItsModesBothWays) {
  const ModeCase cases[] = {
      {1, 4, 3}, {1, 5, 0}, {1, 6, 1}, {1, 34, 2}, {1, 20, 4},   // keyboard
      {2, 1, 3}, {2, 2, 0}, {2, 3, 1}, {2, 4, 2},  {2, 10, 4},   // mouse
      {3, 1, 3}, {3, 2, 0}, {3, 3, 1}, {3, 4, 2},  {3, 8, 4},    // mouse pad
      {7, 1, 3}, {7, 2, 0}, {7, 3, 1}, {7, 4, 2},  {7, 8, 4},    // headset
  };
  for (const ModeCase& c : cases) {
    EXPECT_EQ(SyncTypeOfMode(c.kind, c.mode), c.type) << "kind " << c.kind << " mode " << c.mode;
    EXPECT_EQ(ModeOfSyncType(c.kind, c.type), c.mode) << "kind " << c.kind << " type " << c.type;
  }
  EXPECT_FALSE(SyncTypeOfMode(1, 1));    // a mouse mode number on a keyboard
  EXPECT_FALSE(SyncTypeOfMode(2, 20));
  EXPECT_FALSE(SyncTypeOfMode(9, 1));    // not a page kind
  EXPECT_FALSE(ModeOfSyncType(2, 5));
  EXPECT_FALSE(ModeOfSyncType(2, -1));
}

class JoinTest : public ::testing::Test {
 protected:
  JoinTest() {
    pages.Add(&mouse);
    pages.Add(&keyboard);
    pages.Add(&pad);
    pages.Add(&closedHeadset);
    keyboard.light.selectItem = 20;
    keyboard.light.light = 3;
    keyboard.light.speed = 2;
    keyboard.light.fx = 1;
    keyboard.light.multiColor = 1;
    keyboard.light.red = 10;
    keyboard.light.green = 20;
    keyboard.light.blue = 30;
  }
  StubDevicePage keyboard{1};
  StubDevicePage mouse{2};
  StubDevicePage pad{3};
  StubDevicePage closedHeadset{7, false};
  CDevicePageLists pages;
  CSyncLightingSettingsStore settings;
};

TEST_F(JoinTest, KeyboardEffectTwentyPutsMouseOnTenAndPadOnEight) {
  ASSERT_TRUE(JoinSynchronisedLighting(keyboard, pages, settings, {1920, 1080}));

  EXPECT_EQ(keyboard.light.selectItem, 20);
  EXPECT_EQ(mouse.light.selectItem, 10);
  EXPECT_EQ(pad.light.selectItem, 8);
  for (StubDevicePage* page : {&keyboard, &mouse, &pad}) {
    EXPECT_TRUE(page->IsSyncLighting());
    EXPECT_EQ(page->light.light, 3);
    EXPECT_EQ(page->light.speed, 2);
    EXPECT_EQ(page->light.fx, 1);
    EXPECT_EQ(page->light.red, 10);
    EXPECT_EQ(page->shownOnPanel, page->light);
    const std::vector<std::string> flow{"SetLightInfo", "SaveProfile", "LoadProfileToPage",
                                        "WriteDeviceSettings 0 0 1 1920x1080"};
    EXPECT_EQ(page->calls, flow);
  }
  // A page whose channel is closed is not connected and stays out.
  EXPECT_FALSE(closedHeadset.IsSyncLighting());
  EXPECT_TRUE(closedHeadset.calls.empty());

  const SyncLightingSettings shared = settings.Get();
  EXPECT_EQ(shared.type, int(SyncEffect::Off));
  EXPECT_EQ(shared.brightness, 3);
  EXPECT_EQ(shared.speed, 2);
  EXPECT_EQ(shared.direction, 1);
  EXPECT_TRUE(shared.colourful);
  EXPECT_EQ(shared.blue, 30);
}

TEST_F(JoinTest, ModeWithoutCounterpartChangesNothing) {
  keyboard.light.selectItem = 7;
  EXPECT_FALSE(JoinSynchronisedLighting(keyboard, pages, settings, {1920, 1080}));
  EXPECT_FALSE(mouse.IsSyncLighting());
  EXPECT_TRUE(mouse.calls.empty());
  EXPECT_EQ(settings.Get(), SyncLightingSettings{});
}

std::uint8_t Level(std::uint32_t packed) { return std::uint8_t(packed >> 24); }
std::uint32_t Rgb(std::uint32_t packed) { return packed & 0xFFFFFF; }

TEST(SyncLightingEngine, BreathingFollowsTheCurveAndTurnsTheWheelNearZero) {
  CSyncLightingEngine engine;
  SyncLightingSettings s;
  s.type = int(SyncEffect::Breathing);
  s.brightness = 4;
  s.direction = 1;
  s.colourful = true;
  std::uint32_t packed = engine.Step(s, 0);
  EXPECT_EQ(engine.BreathingPosition(), 1);
  EXPECT_EQ(engine.WheelPosition(), 16);
  EXPECT_EQ(Level(packed), 255 * koru::lighting::kBreathingCurve[1] / 256);
  for (int i = 0; i < 63; ++i) packed = engine.Step(s, 0);
  EXPECT_EQ(engine.BreathingPosition(), 64);
  EXPECT_EQ(Level(packed), 255 * 255 / 256);
  const WheelColour wheel = koru::lighting::kColourWheel[16];
  EXPECT_EQ(Rgb(packed), PackSyncColour(wheel.red, wheel.green, wheel.blue, 0));
  for (int i = 0; i < 64; ++i) engine.Step(s, 0);
  EXPECT_EQ(engine.BreathingPosition(), 0);  // wrapped after 128 positions
  EXPECT_EQ(engine.WheelPosition(), 32);

  // Backwards from 0 wraps to 127.
  CSyncLightingEngine backwards;
  s.direction = 0;
  s.colourful = false;
  s.red = 1;
  s.green = 2;
  s.blue = 3;
  packed = backwards.Step(s, 0);
  EXPECT_EQ(backwards.BreathingPosition(), 127);
  EXPECT_EQ(Rgb(packed), 0x030201u);
}

TEST(SyncLightingEngine, StaticSpectrumAndOff) {
  SyncLightingSettings s;
  s.brightness = 2;
  s.red = 0x11;
  s.green = 0x22;
  s.blue = 0x33;
  s.type = int(SyncEffect::Static);
  CSyncLightingEngine engine;
  EXPECT_EQ(engine.Step(s, 0), 0x87332211u);  // brightness level 2 is 135

  s.type = int(SyncEffect::Spectrum);
  CSyncLightingEngine spectrum;
  for (int i = 0; i < 191; ++i) spectrum.Step(s, 0);
  EXPECT_EQ(spectrum.WheelPosition(), 191);
  spectrum.Step(s, 0);
  EXPECT_EQ(spectrum.WheelPosition(), 0);

  s.type = int(SyncEffect::Off);
  EXPECT_EQ(CSyncLightingEngine().Step(s, 0), 0u);

  // Levels out of range (damaged profiles) are clamped, not read past the table.
  s.type = int(SyncEffect::Static);
  s.brightness = 99;
  EXPECT_EQ(Level(CSyncLightingEngine().Step(s, 0)), 255);
}

TEST(SyncLightingEngine, BlinkTogglesEveryThresholdTimesTwoHundredMs) {
  SyncLightingSettings s;
  s.type = int(SyncEffect::Blinking);
  s.speed = 2;  // 4 ticks: 800 ms
  s.brightness = 4;
  s.red = 0xFF;
  CSyncLightingEngine engine;
  EXPECT_EQ(engine.Step(s, 1000), 0xFF0000FFu);  // the first step turns it on
  EXPECT_EQ(engine.WheelPosition(), 14);
  EXPECT_EQ(engine.NextStepDue(s, 1000), 1800u);
  EXPECT_EQ(engine.Step(s, 1799), 0xFF0000FFu);  // not yet
  EXPECT_EQ(engine.Step(s, 1800), 0u);
  EXPECT_EQ(engine.WheelPosition(), 28);
  EXPECT_EQ(engine.Step(s, 2600), 0xFF0000FFu);
}

TEST(SyncLightingEngine, NextStepIsDueAtTheSpeedsTickThresholdAndSteadyEffectsRest) {
  SyncLightingSettings s;
  s.type = int(SyncEffect::Spectrum);
  const int thresholds[] = {8, 6, 4, 2, 1};
  for (int speed = 0; speed < 5; ++speed) {
    s.speed = speed;
    EXPECT_EQ(CSyncLightingEngine().NextStepDue(s, 100), 100u + 2u * thresholds[speed]);
  }
  s.type = int(SyncEffect::Static);
  EXPECT_EQ(CSyncLightingEngine().NextStepDue(s, 100), 100u + CSyncLightingEngine::kSteadyRepeatMs);
}

}  // namespace
