#include <gtest/gtest.h>

#include <optional>

#include "app/GameLightEvents.h"
#include "tests/app/StubDevicePage.h"

namespace {

// One window timer on a virtual clock: arming again restarts it.
class GameEventFixture : public ::testing::Test {
 protected:
  GameEventFixture()
      : events([this](unsigned id, unsigned ms) {
          EXPECT_EQ(id, CGameLightEvents::kRestoreTimerId);
          restoreDue = now + ms;
        }) {
    mouse.light.selectItem = 2;
    mouse.SetSyncLighting(true);
  }

  void Event(std::uint64_t step, std::int64_t effect) { events.OnGameEvent(selected, step, effect, screen); }
  void AdvanceTo(std::uint64_t t) {
    now = t;
    if (restoreDue && *restoreDue <= now) {
      restoreDue.reset();
      events.OnRestoreTimer(selected, screen);
    }
  }

  std::uint64_t now = 0;
  std::optional<std::uint64_t> restoreDue;
  StubDevicePage mouse{2};
  IDevicePage* selected = &mouse;
  ScreenSize screen{2560, 1440};
  CGameLightEvents events;
};

TEST_F(GameEventFixture, StepZeroShowsTheEffectUntilFiveSecondsAfterTheLastEvent) {
  Event(0, 3);
  EXPECT_EQ(mouse.light.selectItem, 3);
  EXPECT_EQ(mouse.light.oldLedMode, 2);
  EXPECT_EQ(mouse.panelEffect, 3);
  EXPECT_FALSE(mouse.IsSyncLighting());
  EXPECT_EQ(mouse.calls.back(), "WriteDeviceSettings 0 0 1 2560x1440");

  AdvanceTo(3000);
  Event(1, 4);  // a later step changes the effect but keeps the one to restore
  EXPECT_EQ(mouse.light.selectItem, 4);
  EXPECT_EQ(mouse.light.oldLedMode, 2);
  AdvanceTo(7999);
  EXPECT_EQ(mouse.light.selectItem, 4);
  AdvanceTo(8000);
  EXPECT_EQ(mouse.light.selectItem, 2);
  EXPECT_EQ(mouse.panelEffect, 2);
  EXPECT_FALSE(restoreDue);
}

TEST_F(GameEventFixture, StepThreeOnlyRestartsTheFiveSeconds) {
  Event(0, 3);
  AdvanceTo(4000);
  mouse.calls.clear();
  Event(3, 7);
  EXPECT_TRUE(mouse.calls.empty());
  EXPECT_EQ(mouse.light.selectItem, 3);
  AdvanceTo(5000);  // the first event's five seconds have passed
  EXPECT_EQ(mouse.light.selectItem, 3);
  AdvanceTo(9000);
  EXPECT_EQ(mouse.light.selectItem, 2);
}

TEST_F(GameEventFixture, RememberedEffectIsOneForZeroAndForNumbersAboveTwenty) {
  for (int current : {0, 21, 34}) {
    mouse.light.selectItem = std::uint8_t(current);
    Event(0, 3);
    EXPECT_EQ(mouse.light.oldLedMode, 1) << current;
  }
  mouse.light.selectItem = 20;
  Event(0, 3);
  EXPECT_EQ(mouse.light.oldLedMode, 20);
}

TEST_F(GameEventFixture, EffectTheDeviceLacksNeverReachesIt) {
  mouse.maxEffect = 10;
  for (std::int64_t effect : {std::int64_t(11), std::int64_t(-1), std::int64_t(0x103)}) {
    Event(0, effect);
    EXPECT_TRUE(mouse.calls.empty()) << effect;
    EXPECT_EQ(mouse.light.selectItem, 2);
    EXPECT_TRUE(restoreDue);
  }
}

TEST_F(GameEventFixture, WithoutSelectedPageOnlyTheTimerRuns) {
  selected = nullptr;
  Event(0, 3);
  EXPECT_TRUE(restoreDue);
  AdvanceTo(5000);
  EXPECT_TRUE(mouse.calls.empty());
}

}  // namespace
