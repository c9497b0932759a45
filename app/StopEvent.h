#pragma once
// A manual-reset stop signal for a worker thread. The thread sleeps in WaitFor
// between its rounds; Signal ends the sleep at once, and Wake ends it without
// stopping (new work), so no thread has to poll to notice either.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace koru {

class StopEvent {
 public:
  void Signal();
  bool IsSignalled() const;
  // Ends the current or next WaitFor early without signalling.
  void Wake();
  // True when signalled (at once if it already was); false after the time-out
  // or a Wake.
  bool WaitFor(std::chrono::milliseconds timeout);

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool signalled_ = false;
  bool woken_ = false;
};

}  // namespace koru
