// Timers on the virtual clock: per control and per window, in time order.
#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using koru::HeadlessWindow;

class TimerTest : public koru::test::ToolkitTest {};

// Records its timer events and, like the program's handlers, may kill itself.
class TickingControl : public CControlUI {
 public:
  void DoEvent(TEventUI& event) override {
    if (event.Type == UIEVENT_TIMER) {
      ticks.push_back({static_cast<unsigned>(event.wParam), GetManager()->GetTickCount()});
      if (event.wParam == oneShotId) GetManager()->KillTimer(this, oneShotId);
    }
    CControlUI::DoEvent(event);
  }
  std::vector<std::pair<unsigned, std::uint64_t>> ticks;
  unsigned oneShotId = 0;
};

TEST_F(TimerTest, TimersFireInTimeOrderOnVirtualTime) {
  HeadlessWindow window;
  auto* root = new CContainerUI;
  auto* ticker = new TickingControl;
  ticker->SetName("ticker");
  root->Add(ticker);
  ASSERT_TRUE(window.Attach(root, {100, 100}));
  CPaintManagerUI& pm = window.Manager();
  std::uint64_t start = pm.GetTickCount();

  ticker->oneShotId = 1055;
  pm.SetTimer(ticker, 1000, 50);
  pm.SetTimer(ticker, 1055, 120);
  std::vector<unsigned> windowTicks;
  pm.SetWindowTimerHandler([&](unsigned id) {
    windowTicks.push_back(id);
    pm.KillTimer(nullptr, id);
  });
  pm.SetTimer(nullptr, 1011, 100);

  window.AdvanceTime(49);
  EXPECT_TRUE(ticker->ticks.empty());
  window.AdvanceTime(151);  // t = 200
  std::vector<std::pair<unsigned, std::uint64_t>> expected = {
      {1000, start + 50}, {1000, start + 100}, {1055, start + 120}, {1000, start + 150}, {1000, start + 200}};
  EXPECT_EQ(ticker->ticks, expected);
  EXPECT_EQ(windowTicks, std::vector<unsigned>{1011});
  // Control timers reach the listeners as "timer" with the id in wParam.
  EXPECT_EQ(window.CountNotify("timer", "ticker"), 5);

  // Re-arming restarts the period; killing stops it.
  pm.SetTimer(ticker, 1000, 30);
  window.AdvanceTime(29);
  EXPECT_EQ(ticker->ticks.size(), 5u);
  window.AdvanceTime(1);
  EXPECT_EQ(ticker->ticks.size(), 6u);
  pm.KillTimer(ticker, 1000);
  window.AdvanceTime(1000);
  EXPECT_EQ(ticker->ticks.size(), 6u);
}

TEST_F(TimerTest, RemovedControlLosesItsTimers) {
  HeadlessWindow window;
  auto* root = new CContainerUI;
  auto* ticker = new TickingControl;
  root->Add(ticker);
  ASSERT_TRUE(window.Attach(root, {100, 100}));
  window.Manager().SetTimer(ticker, 1, 10);
  EXPECT_TRUE(window.Manager().HasTimer(ticker, 1));
  root->Remove(ticker);  // deletes it
  window.AdvanceTime(100);  // must not touch the deleted control
  EXPECT_FALSE(window.Manager().NextTimerDue().has_value());
}

}  // namespace
