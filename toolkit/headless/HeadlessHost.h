#pragma once
// A window host with no display: a virtual clock that only moves when told,
// and a record of capture and cursor requests.
#include <atomic>
#include <cstdint>

#include "toolkit/core/IPaintHost.h"

namespace koru {

// Creates the process's QGuiApplication on the offscreen platform when none
// exists yet; fonts and images need one. Safe to call repeatedly.
void EnsureGuiApplication();

class HeadlessHost : public IPaintHost {
 public:
  std::uint64_t NowMs() const override { return m_now.load(std::memory_order_acquire); }
  void SetNow(std::uint64_t ms) { m_now.store(ms, std::memory_order_release); }
  void WakeUp() override { m_wakeups.fetch_add(1, std::memory_order_relaxed); }
  void SetCapture(bool on) override { m_captured = on; }
  void SetCursor(int cursor) override { m_cursor = cursor; }

  bool IsCaptured() const { return m_captured; }
  int GetCursor() const { return m_cursor; }
  int GetWakeUps() const { return m_wakeups.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::uint64_t> m_now{1000};
  std::atomic<int> m_wakeups{0};
  bool m_captured = false;
  int m_cursor = 0;
};

}  // namespace koru
