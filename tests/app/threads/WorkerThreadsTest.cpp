#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "app/WorkerThreads.h"
#include "platform/DebugOutput.h"

namespace {

TEST(WorkerThreads, ShutdownSignalsEverySlotAndJoinsItsThreads) {
  CWorkerThreads workers;
  std::atomic<int> ended{0};
  for (int slot : {0, 8, 19}) {
    ASSERT_TRUE(workers.Start(slot, [&ended](koru::StopEvent& stop) {
      while (!stop.WaitFor(std::chrono::hours(1))) {
      }
      ended.fetch_add(1);
    }));
  }
  EXPECT_FALSE(workers.Start(8, [](koru::StopEvent&) {}));   // busy
  EXPECT_FALSE(workers.Start(20, [](koru::StopEvent&) {}));  // no such slot
  EXPECT_TRUE(workers.Shutdown().empty());
  EXPECT_EQ(ended.load(), 3);
  EXPECT_FALSE(workers.Start(1, [](koru::StopEvent&) {}));  // no new work after shutdown
}

TEST(WorkerThreads, ThreadThatDoesNotStopIsReportedAndLeftRunning) {
  std::vector<std::string> lines;
  std::mutex linesMutex;
  koru::SetDebugOutputEnabled(true);
  koru::SetDebugOutputSink([&](std::string_view line) {
    std::lock_guard lock(linesMutex);
    lines.emplace_back(line);
  });

  std::mutex m;
  std::condition_variable cv;
  bool release = false;
  bool finished = false;
  {
    CWorkerThreads workers;
    ASSERT_TRUE(workers.Start(3, [&](koru::StopEvent&) {
      std::unique_lock lock(m);
      cv.wait(lock, [&] { return release; });  // ignores its stop event
      finished = true;
      cv.notify_all();
    }));
    const std::vector<int> stuck = workers.Shutdown(std::chrono::milliseconds(20));
    EXPECT_EQ(stuck, std::vector<int>{3});
  }
  // The owner is gone; the thread still ends normally once it is let go.
  {
    std::unique_lock lock(m);
    release = true;
    cv.notify_all();
    cv.wait(lock, [&] { return finished; });
  }
  koru::SetDebugOutputSink({});
  koru::SetDebugOutputEnabled(false);
  std::lock_guard lock(linesMutex);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.back().find("worker thread 3 did not stop"), std::string::npos);
}

TEST(WorkerThreads, AdoptedThreadIsAskedToStopAndWaitedFor) {
  CWorkerThreads workers;
  bool stopAsked = false;
  std::chrono::milliseconds waited{0};
  ASSERT_TRUE(workers.Adopt(
      CWorkerThreads::kScannerSlot, [&] { stopAsked = true; },
      [&](std::chrono::milliseconds timeout) {
        waited = timeout;
        return false;
      }));
  EXPECT_EQ(workers.Shutdown(), std::vector<int>{CWorkerThreads::kScannerSlot});
  EXPECT_TRUE(stopAsked);
  EXPECT_EQ(waited, CWorkerThreads::kStopWait);
}

}  // namespace
