#pragma once
// The thread that animates a page's lights. It runs one pass per animation
// tick and sleeps until the next tick; while the device is away a pass asks
// for a longer pause. Stopping is cooperative: Stop wakes the sleep and joins,
// and a pass never blocks, so the thread ends within one pass.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace koru {

// 64 ticks per second: the pace the effects' speed tables were tuned for.
inline constexpr std::chrono::microseconds kAnimationTick{15625};
// The pause of a pass that found the channel closed.
inline constexpr std::chrono::milliseconds kClosedChannelPause{100};

class CLightThread {
 public:
  enum class PassResult { Ticked, Idle };
  using Pass = std::function<PassResult()>;

  CLightThread() = default;
  ~CLightThread();
  CLightThread(const CLightThread&) = delete;
  CLightThread& operator=(const CLightThread&) = delete;

  // A running thread is stopped first. `exitLine` is traced when it ends.
  void Start(Pass pass, std::string exitLine);
  void Stop();
  bool IsRunning() const;

 private:
  void Run(const Pass& pass, const std::string& exitLine);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  std::thread thread_;
};

}  // namespace koru
