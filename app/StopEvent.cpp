#include "app/StopEvent.h"

namespace koru {

void StopEvent::Signal() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  changed_.notify_all();
}

bool StopEvent::IsSignalled() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

void StopEvent::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

bool StopEvent::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [this] { return signalled_ || woken_; });
  woken_ = false;
  return signalled_;
}

}  // namespace koru
