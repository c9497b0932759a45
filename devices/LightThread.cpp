#include "devices/LightThread.h"

#include "platform/DebugOutput.h"

namespace koru {

CLightThread::~CLightThread() { Stop(); }

void CLightThread::Start(Pass pass, std::string exitLine) {
  Stop();
  std::lock_guard lock(mutex_);
  stopRequested_ = false;
  thread_ = std::thread([this, pass = std::move(pass), exitLine = std::move(exitLine)] { Run(pass, exitLine); });
}

void CLightThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!thread_.joinable()) return;
    stopRequested_ = true;
  }
  wake_.notify_all();
  thread_.join();
  std::lock_guard lock(mutex_);
  thread_ = std::thread();
}

bool CLightThread::IsRunning() const {
  std::lock_guard lock(mutex_);
  return thread_.joinable() && !stopRequested_;
}

void CLightThread::Run(const Pass& pass, const std::string& exitLine) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point next = Clock::now();
  std::unique_lock lock(mutex_);
  while (!stopRequested_) {
    lock.unlock();
    const PassResult result = pass();
    const Clock::time_point now = Clock::now();
    if (result == PassResult::Idle) {
      next = now + kClosedChannelPause;
    } else {
      next += kAnimationTick;
      // After a stall (a suspended machine, a slow pass) start afresh rather
      // than running the missed ticks back to back.
      if (next < now) next = now + kAnimationTick;
    }
    lock.lock();
    wake_.wait_until(lock, next, [this] { return stopRequested_; });
  }
  lock.unlock();
  DebugOutput(exitLine);
}

}  // namespace koru
