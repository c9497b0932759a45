#pragma once
// The synchronised-lighting thread: while some page with an open channel has
// joined, it steps the shared effect and hands the colour to every member. It
// sleeps until the next step is due, and long when there is no member; a Wake
// on its stop event (a page joined, the settings changed) steps at once.
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/StopEvent.h"
#include "app/SyncLighting.h"

class CDevicePageLists;
class IDevicePage;

class CSyncLightingThread {
 public:
  using Clock = std::function<std::uint64_t()>;  // milliseconds, any thread
  static constexpr std::chrono::milliseconds kIdleWait{1000};

  // The lists and the settings must outlive the thread. Without a clock the
  // steady clock is used.
  CSyncLightingThread(const CDevicePageLists& pages, CSyncLightingSettingsStore& settings, Clock clock = {});

  // The thread's body; returns when the stop event is signalled.
  void Run(koru::StopEvent& stop);

  // The pages that take part now: channel open and flag set.
  std::vector<IDevicePage*> Members() const;
  std::uint64_t StepsTaken() const { return steps_.load(std::memory_order_relaxed); }

 private:
  const CDevicePageLists& pages_;
  CSyncLightingSettingsStore& settings_;
  Clock clock_;
  CSyncLightingEngine engine_;
  std::atomic<std::uint64_t> steps_{0};
};
