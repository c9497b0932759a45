#include "app/WorkerThreads.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/DebugOutput.h"

// Shared with the thread, so that a thread left running past shutdown still
// finds its stop event and end flag after the owner is gone.
struct CWorkerThreads::Slot {
  koru::StopEvent stop;
  std::mutex mutex;
  std::condition_variable ended;
  bool running = false;
  std::thread thread;
  std::function<void()> requestStop;
  std::function<bool(std::chrono::milliseconds)> waitUntilEnded;
};

CWorkerThreads::CWorkerThreads() {
  slots_.reserve(kSlotCount);
  for (int i = 0; i < kSlotCount; ++i) slots_.push_back(std::make_shared<Slot>());
}

CWorkerThreads::~CWorkerThreads() { Shutdown(); }

koru::StopEvent* CWorkerThreads::StopOf(int slot) {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  return &slots_[slot]->stop;
}

bool CWorkerThreads::IsBusy(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return false;
  const auto& s = slots_[slot];
  std::lock_guard lock(s->mutex);
  return s->running || s->thread.joinable() || s->waitUntilEnded != nullptr;
}

bool CWorkerThreads::Start(int slot, Body body) {
  if (shutdownBegun_ || !body || IsBusy(slot) || slot < 0 || slot >= kSlotCount) return false;
  std::shared_ptr<Slot> s = slots_[slot];
  std::lock_guard lock(s->mutex);
  s->running = true;
  s->thread = std::thread([s, body = std::move(body)] {
    body(s->stop);
    {
      std::lock_guard endLock(s->mutex);
      s->running = false;
    }
    s->ended.notify_all();
  });
  return true;
}

bool CWorkerThreads::Adopt(int slot, std::function<void()> requestStop,
                           std::function<bool(std::chrono::milliseconds)> waitUntilEnded) {
  if (shutdownBegun_ || !waitUntilEnded || IsBusy(slot) || slot < 0 || slot >= kSlotCount) return false;
  auto& s = slots_[slot];
  std::lock_guard lock(s->mutex);
  s->requestStop = std::move(requestStop);
  s->waitUntilEnded = std::move(waitUntilEnded);
  return true;
}

std::vector<int> CWorkerThreads::Shutdown(std::chrono::milliseconds perThread) {
  std::vector<int> stillRunning;
  if (shutdownBegun_) return stillRunning;
  shutdownBegun_ = true;
  for (auto& s : slots_) {
    s->stop.Signal();
    if (s->requestStop) s->requestStop();
  }
  for (int i = 0; i < kSlotCount; ++i) {
    Slot& s = *slots_[i];
    bool ended = true;
    if (s.waitUntilEnded) {
      ended = s.waitUntilEnded(perThread);
    } else {
      std::unique_lock lock(s.mutex);
      if (!s.thread.joinable()) continue;
      ended = s.ended.wait_for(lock, perThread, [&s] { return !s.running; });
      lock.unlock();
      if (ended) {
        s.thread.join();
      } else {
        // The thread keeps its slot alive through its own shared pointer.
        s.thread.detach();
      }
    }
    if (!ended) {
      stillRunning.push_back(i);
      koru::DebugOutput("worker thread " + std::to_string(i) + " did not stop within " +
                        std::to_string(perThread.count()) + " ms; it is left to end with the process");
    }
  }
  return stillRunning;
}
