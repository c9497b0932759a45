#include "toolkit/window/MessageLoop.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "toolkit/window/CWindowWnd.h"
#include "toolkit/window/IWindowBackend.h"
#include "toolkit/window/ThreadQueue.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru {

namespace {

struct Round {
  int handled = 0;
  std::optional<int> quit;
};

ThreadQueue& PreparedQueue() {
  ThreadQueue& queue = *ThreadQueue::ForCurrentThread();
  if (!queue.IsPrepared()) {
    queue.SetPrepared();
    WindowBackend().PrepareThread(queue);
  }
  return queue;
}

Round DispatchRound(ThreadQueue& queue) {
  Round round;
  while (queue.ServeOneSend()) ++round.handled;
  if ((round.quit = queue.TakeQuit())) return round;
  if (std::optional<QueuedMessage> message = queue.TakePost()) {
    DispatchQueuedMessage(*message);
    ++round.handled;
    return round;
  }
  std::uint64_t now = WindowBackend().NowMs();
  // A handler may destroy windows of the list: walk a copy and look each up again.
  std::vector<HWND> windows = queue.Windows();
  for (HWND hwnd : windows) {
    if (CWindowWnd* window = WindowFromHandle(hwnd); window && window->PumpIfDue(now)) ++round.handled;
  }
  return round;
}

std::optional<std::uint64_t> NextDue(ThreadQueue& queue) {
  std::optional<std::uint64_t> next;
  for (HWND hwnd : queue.Windows()) {
    CWindowWnd* window = WindowFromHandle(hwnd);
    std::optional<std::uint64_t> due = window ? window->NextDue() : std::nullopt;
    if (due && (!next || *due < *next)) next = due;
  }
  return next;
}

}  // namespace

bool RunMessageLoopUntil(const std::function<bool()>& done) {
  ThreadQueue& queue = PreparedQueue();
  while (!done()) {
    Round round = DispatchRound(queue);
    if (round.quit) {
      queue.PostQuit(*round.quit);
      return false;
    }
    if (round.handled == 0 && !done()) WindowBackend().Wait(queue, NextDue(queue));
  }
  return true;
}

int RunMessageLoop() {
  ThreadQueue& queue = PreparedQueue();
  for (;;) {
    Round round = DispatchRound(queue);
    if (round.quit) return *round.quit;
    if (round.handled == 0) WindowBackend().Wait(queue, NextDue(queue));
  }
}

int DispatchPendingMessages() {
  ThreadQueue& queue = PreparedQueue();
  int total = 0;
  for (;;) {
    Round round = DispatchRound(queue);
    if (round.quit) {
      queue.PostQuit(*round.quit);
      return total;
    }
    total += round.handled;
    if (round.handled > 0) continue;
    // Let the clock move only when a host keeps virtual time; a real clock is not waited for.
    std::uint64_t before = WindowBackend().NowMs();
    if (!WindowBackend().AdvanceVirtualTime(queue, NextDue(queue)) || WindowBackend().NowMs() == before) return total;
  }
}

bool WaitServingSends(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  ThreadQueue& queue = *ThreadQueue::ForCurrentThread();
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    while (queue.ServeOneSend()) {
    }
    if (done()) return true;
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    // Short naps: `done` may depend on something that does not wake this queue (a thread ending).
    queue.WaitForSend(std::min(deadline, now + std::chrono::milliseconds(5)));
  }
}

}  // namespace koru
