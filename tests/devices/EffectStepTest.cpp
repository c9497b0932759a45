#include <gtest/gtest.h>

#include <vector>

#include "devices/CKestroUSBDevice.h"
#include "devices/LightingTables.h"
#include "tests/devices/PageTestSupport.h"

using namespace koru::lighting;

namespace {

class EffectStepTest : public testing::Test {
 protected:
  void SetUp() override {
    page.SetClock(clock.Function());
    page.SetLightCount(4);
  }
  void Light(LightInfoData info) { page.SetLightInfo(info); }
  LightFrameEntry Entry(int i = 0) const { return page.Frame().Get(i); }

  koru::test::ManualClock clock;
  CKestroUSBDevice page;
};

TEST_F(EffectStepTest, MulticolourBreathingTakesTheNextColourEachBreath) {
  Light({.light = 4, .fx = 0, .multiColor = 1});
  std::vector<int> visited;
  for (int breath = 0; breath < 13; ++breath) {
    for (int step = 0; step < kBreathingLength; ++step) page.StepBreathEffect();
    visited.push_back(page.GetColorIndex());
  }
  EXPECT_EQ(visited, (std::vector<int>{16, 32, 48, 64, 80, 96, 112, 128, 144, 160, 176, 0, 16}));
  // At the start of a breath the lights are dark, in the wheel colour of the breath.
  EXPECT_EQ(Entry(3), LightFrameEntry::Of(kColourWheel[16], 0));
  page.StepBreathEffect();
  EXPECT_EQ(page.GetPhase(), 127);
  EXPECT_EQ(Entry(), LightFrameEntry::Of(kColourWheel[16], 0));
  page.SetPhase(64);
  page.StepBreathEffect();  // the top of the curve at full brightness
  EXPECT_EQ(Entry(), LightFrameEntry::Of(kColourWheel[16], 254));
}

TEST_F(EffectStepTest, BreathingScalesTheCurveByTheBrightness) {
  Light({.light = 2, .fx = 1, .red = 10, .green = 20, .blue = 30});
  page.SetPhase(62);
  EXPECT_EQ(page.StepBreathEffect(), 4);
  EXPECT_EQ(Entry(2), (LightFrameEntry{10, 20, 30, static_cast<uint8_t>(255 * 135 / 256)}));
}

TEST_F(EffectStepTest, BlinkingTogglesAfterTheIntervalOfItsSpeed) {
  const int intervals[] = {1600, 1200, 800, 400, 200};
  clock.now = 100000;
  for (int speed = 0; speed < 5; ++speed) {
    CKestroUSBDevice blinking;
    blinking.SetClock(clock.Function());
    blinking.SetLightCount(2);
    blinking.SetLightInfo({.light = 4, .speed = static_cast<uint8_t>(speed), .red = 255});
    blinking.StepBlinkEffect();  // the first step toggles
    const bool first = blinking.IsBlinkOn();
    clock.now += intervals[speed] - 1;
    blinking.StepBlinkEffect();
    EXPECT_EQ(blinking.IsBlinkOn(), first) << "speed " << speed;
    clock.now += 1;
    blinking.StepBlinkEffect();
    EXPECT_NE(blinking.IsBlinkOn(), first) << "speed " << speed;
    const LightFrameEntry lit{255, 0, 0, 255};
    EXPECT_EQ(blinking.Frame().Get(1), blinking.IsBlinkOn() ? lit : LightFrameEntry{});
  }
}

TEST_F(EffectStepTest, PaletteEffectsStartFromTheirOwnColoursAfterAWheelEffect) {
  Light({.light = 4, .fx = 1, .multiColor = 1});
  for (int step = 0; step < 5 * kBreathingLength; ++step) page.StepBreathEffect();
  ASSERT_GE(page.GetColorIndex(), kPaletteLength);
  page.StepBreathPaletteEffect();
  EXPECT_LT(page.GetColorIndex(), kPaletteLength);
  EXPECT_EQ(Entry().red, kPalette[page.GetColorIndex()].red);

  page.SetPhase(176);
  clock.now += 5000;
  page.StepBlinkPaletteEffect();
  EXPECT_LT(page.GetPhase(), kPaletteLength);
}

TEST_F(EffectStepTest, LevelsOutsideTheTablesAreClampedNotRead) {
  Light({.selectItem = 0, .light = 200, .speed = 90, .red = 1, .green = 2, .blue = 3});
  page.StepStaticEffect();
  EXPECT_EQ(Entry(), (LightFrameEntry{1, 2, 3, 255}));
  page.StepBlinkEffect();
  clock.now += 200;  // speed 90 blinks as the fastest level
  page.StepBlinkEffect();
  page.StepSpectrumEffect();
  EXPECT_EQ(Entry().level, 255);
}

TEST_F(EffectStepTest, SpectrumWalksTheWheelInTheDirectionOfFx) {
  Light({.light = 3, .fx = 0});
  page.StepSpectrumEffect();
  EXPECT_EQ(page.GetPhase(), 191);
  EXPECT_EQ(Entry(), LightFrameEntry::Of(kColourWheel[191], 195));
  Light({.light = 3, .fx = 1});
  page.StepSpectrumEffect();
  page.StepSpectrumEffect();
  EXPECT_EQ(page.GetPhase(), 1);
}

TEST_F(EffectStepTest, FrameEntriesAreReachableOnlyInsideTheLightCount) {
  page.SetLightColor(3, 0x80302010);
  EXPECT_EQ(page.GetLightColor(3), 0x80302010u);
  EXPECT_EQ(Entry(3), (LightFrameEntry{0x10, 0x20, 0x30, 0x80}));
  page.SetLightColor(4, 0x11111111);
  page.SetLightColor(-1, 0x11111111);
  EXPECT_EQ(page.GetLightColor(4), 0u);
  EXPECT_EQ(page.GetLightColor(-1), 0u);
  page.StepLightsOff();
  EXPECT_EQ(page.GetLightColor(3), 0u);
}

TEST_F(EffectStepTest, LightInfoTravelsAsFiveWords) {
  const LightInfoData info{.selectItem = 1, .light = 2, .speed = 3, .fx = 4, .multiColor = 5, .red = 6,
                           .green = 7, .blue = 8, .voiceSensitivity = 17};
  page.SetLightInfo(info);
  const auto words = page.GetLightInfoWords();
  EXPECT_EQ(words[0], 0x04030201u);
  EXPECT_EQ(words[4], 17u);
  CKestroUSBDevice other;
  other.SetLightInfoWords(words);
  EXPECT_EQ(other.GetLightInfo(), info);
}

}  // namespace
