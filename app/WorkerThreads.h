#pragma once
// The main window's worker threads: twenty slots, each with its own stop
// event. The scanner runs on slot 0, the synchronised-lighting thread on
// slot 8; the others serve one-shot work. Shutdown signals every slot and
// waits a bounded time for each thread; a thread that does not end in time is
// reported and left to end with the process, never killed.
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "app/StopEvent.h"

class CWorkerThreads {
 public:
  static constexpr int kSlotCount = 20;
  static constexpr int kScannerSlot = 0;
  static constexpr int kSyncLightingSlot = 8;
  static constexpr std::chrono::milliseconds kStopWait{1000};

  using Body = std::function<void(koru::StopEvent& stop)>;

  CWorkerThreads();
  // Shuts down what still runs.
  ~CWorkerThreads();
  CWorkerThreads(const CWorkerThreads&) = delete;
  CWorkerThreads& operator=(const CWorkerThreads&) = delete;

  // The slot's stop event; it stays valid while this object lives. Slots out
  // of range have none.
  koru::StopEvent* StopOf(int slot);
  // Runs `body` on a new thread in the slot; false when the slot is out of
  // range, busy, or shutdown has begun.
  bool Start(int slot, Body body);
  // A thread that another object runs (the scanner): how to ask it to stop and
  // how to wait for its end (true when it ended within the time).
  bool Adopt(int slot, std::function<void()> requestStop,
             std::function<bool(std::chrono::milliseconds)> waitUntilEnded);
  bool IsBusy(int slot) const;

  // Signals every stop event, then waits up to `perThread` for each thread.
  // Returns the slots whose thread still ran (each is traced). Idempotent.
  std::vector<int> Shutdown(std::chrono::milliseconds perThread = kStopWait);
  bool ShutdownBegun() const { return shutdownBegun_; }

 private:
  struct Slot;
  std::vector<std::shared_ptr<Slot>> slots_;
  bool shutdownBegun_ = false;
};
