#include <gtest/gtest.h>

#include "devices/CKestroHS6533Device.h"
#include "devices/CKestroMousePadDevice.h"
#include "devices/CKestroUSBDevice.h"

namespace {

TEST(RippleTest, DecayStepsDependOnLevelAndCurve) {
  struct Case {
    int curve, from, to;
  };
  const Case cases[] = {
      {29, 255, 210}, {29, 20, 15}, {29, 1, 0},   {0, 255, 215}, {0, 16, 15}, {0, 0, 0},
      {29, 120, 85},  {29, 70, 50}, {0, 40, 25},  {29, 40, 30},  {7, 40, 30}, {7, 144, 104},
      {7, 143, 103},  {0, 20, 12},  {29, 17, 12}, {32, 30, 22},
  };
  for (const Case& c : cases) {
    CKestroUSBDevice page;
    page.Ripple().SetLevel(5, static_cast<uint8_t>(c.from));
    EXPECT_EQ(page.DecayRippleLevel(5, c.curve), c.to) << "curve " << c.curve << " from " << c.from;
    EXPECT_EQ(page.Ripple().Level(5), c.to);
  }
}

TEST(RippleTest, LightsUpToIndex170HaveALevel) {
  CKestroUSBDevice page;
  page.Ripple().SetLevel(170, 255);
  EXPECT_EQ(page.DecayRippleLevel(170, 0), 215);
  EXPECT_EQ(page.DecayRippleLevel(171, 0), 0);
  EXPECT_EQ(page.DecayRippleLevel(-1, 0), 0);
}

TEST(RippleTest, TriggersSeedTheLightAboveTheirPosition) {
  CKestroUSBDevice keyboardLike;
  CKestroMousePadDevice pad;
  CKestroHS6533Device headset;
  pad.SetLightCount(15);
  headset.SetLightCount(13);
  for (CKestroUSBDevice* page : {&keyboardLike, static_cast<CKestroUSBDevice*>(&pad), static_cast<CKestroUSBDevice*>(&headset)}) {
    page->Ripple().SetTrigger(0, 1);
    page->Ripple().SetTrigger(8, 1);
    page->Ripple().SetTrigger(12, 1);
    page->SeedRippleFromTriggers();
    EXPECT_EQ(page->Ripple().Level(1), 255);
    EXPECT_EQ(page->Ripple().Level(9), 255);
    EXPECT_EQ(page->Ripple().Level(0), 0);
  }
  // Only the light strips seed past the ninth position.
  EXPECT_EQ(keyboardLike.Ripple().Level(13), 0);
  EXPECT_EQ(pad.Ripple().Level(13), 255);
  EXPECT_EQ(headset.Ripple().Level(13), 255);
}

TEST(RippleTest, TriggerRowRotatesBothWaysAndClears) {
  CKestroUSBDevice page;
  page.Ripple().SetTrigger(0, 10);
  page.Ripple().SetTrigger(22, 20);
  page.RotateTriggerRow(1);
  EXPECT_EQ(page.Ripple().Trigger(0), 20);
  EXPECT_EQ(page.Ripple().Trigger(1), 10);
  page.RotateTriggerRow(0);
  page.RotateTriggerRow(0);
  EXPECT_EQ(page.Ripple().Trigger(0), 0);
  EXPECT_EQ(page.Ripple().Trigger(21), 20);
  EXPECT_EQ(page.Ripple().Trigger(22), 10);
  // A partial rotation leaves the rest of the row.
  page.Ripple().RotateTriggers(1, 8);
  EXPECT_EQ(page.Ripple().Trigger(22), 10);
  page.Ripple().SetLevel(3, 9);
  page.ClearRipple();
  EXPECT_EQ(page.Ripple().Trigger(22), 0);
  EXPECT_EQ(page.Ripple().Level(3), 0);
}

}  // namespace
