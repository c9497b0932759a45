// Worker threads arm timers of controls; the timers fire on the UI thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using koru::HeadlessWindow;

class TimerThreadTest : public koru::test::ToolkitTest {};

class CountingControl : public CControlUI {
 public:
  void DoEvent(TEventUI& event) override {
    if (event.Type == UIEVENT_TIMER) {
      ++fired[event.wParam % 4];
      GetManager()->KillTimer(this, static_cast<unsigned>(event.wParam));
      firingThread = std::this_thread::get_id();
    }
  }
  int fired[4] = {0, 0, 0, 0};
  std::thread::id firingThread;
};

TEST_F(TimerThreadTest, TimersArmedFromWorkersFireOnceOnThePumpingThread) {
  HeadlessWindow window;
  auto* root = new CContainerUI;
  auto* control = new CountingControl;
  root->Add(control);
  ASSERT_TRUE(window.Attach(root, {50, 50}));
  CPaintManagerUI& pm = window.Manager();

  std::atomic<bool> stop{false};
  std::vector<std::thread> workers;
  for (unsigned w = 0; w < 4; ++w) {
    workers.emplace_back([&, w] {
      // Each worker re-arms its timer many times while the UI thread pumps.
      for (int i = 0; i < 200 && !stop.load(); ++i) pm.SetTimer(control, 100 + w, 10);
      pm.PostTask([] {});
      pm.SendNotify(control, "worker_done", w, 0, true);
    });
  }
  for (int i = 0; i < 50; ++i) window.Pump();
  for (auto& t : workers) t.join();
  stop = true;
  int wakeups = window.Host().GetWakeUps();
  EXPECT_GE(wakeups, 4);

  window.Pump();
  EXPECT_EQ(window.CountNotify("worker_done"), 4);

  window.AdvanceTime(10);
  for (int w = 0; w < 4; ++w) EXPECT_EQ(control->fired[w], 1) << w;
  EXPECT_EQ(control->firingThread, std::this_thread::get_id());
  window.AdvanceTime(100);
  for (int w = 0; w < 4; ++w) EXPECT_EQ(control->fired[w], 1) << w;
}

}  // namespace
