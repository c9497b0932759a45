// Cost of a synchronous send from another thread (round trip: wake the
// window's thread, run the handler, wake the sender) and of a posted message.
#include <benchmark/benchmark.h>

#include <atomic>
#include <future>
#include <thread>

#include "toolkit/window/CWindowWnd.h"
#include "toolkit/window/HeadlessWindowBackend.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace {

constexpr unsigned kPing = WM_USER + 1;
constexpr unsigned kStop = WM_USER + 2;

class PlainWindow : public CWindowWnd {
 public:
  std::uint64_t handled = 0;

 protected:
  std::string GetWindowClassName() const override { return "BenchWnd"; }
  LRESULT HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) override {
    if (message == kPing) return static_cast<LRESULT>(++handled + wParam);
    if (message == kStop) {
      PostQuitMessage(0);
      return 0;
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
  }
};

// A user-interface thread with one window, running its loop until stopped.
class WindowThread {
 public:
  WindowThread() {
    std::promise<HWND> ready;
    m_thread = std::thread([&ready] {
      PlainWindow window;
      ready.set_value(window.Create(nullptr, "bench", 0, 0, 0, 0, 10, 10));
      koru::RunMessageLoop();
      window.DestroyWindow();
    });
    m_hwnd = ready.get_future().get();
  }
  ~WindowThread() {
    SendMessage(m_hwnd, kStop, 0, 0);
    m_thread.join();
  }
  HWND Handle() const { return m_hwnd; }

 private:
  std::thread m_thread;
  HWND m_hwnd = nullptr;
};

void BM_SendMessageCrossThread(benchmark::State& state) {
  koru::UseHeadlessWindowBackend();
  WindowThread ui;
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(ui.Handle(), kPing, 1, 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessageCrossThread)->UseRealTime();

void BM_SendMessageSameThread(benchmark::State& state) {
  koru::UseHeadlessWindowBackend();
  PlainWindow window;
  HWND hwnd = window.Create(nullptr, "bench", 0, 0, 0, 0, 10, 10);
  for (auto _ : state) benchmark::DoNotOptimize(SendMessage(hwnd, kPing, 1, 0));
  window.DestroyWindow();
}
BENCHMARK(BM_SendMessageSameThread);

// Post a batch and let the window's own loop handle it: the cost per message
// of queueing, waking and dispatching.
void BM_PostMessageAndDispatch(benchmark::State& state) {
  koru::UseHeadlessWindowBackend();
  PlainWindow window;
  HWND hwnd = window.Create(nullptr, "bench", 0, 0, 0, 0, 10, 10);
  const int batch = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessage(hwnd, kPing, 0, i);
    koru::DispatchPendingMessages();
  }
  state.SetItemsProcessed(state.iterations() * batch);
  window.DestroyWindow();
}
BENCHMARK(BM_PostMessageAndDispatch)->Arg(1)->Arg(100);

// Posts from a worker to a window on another thread, measured until the last one is handled.
void BM_PostMessageCrossThread(benchmark::State& state) {
  koru::UseHeadlessWindowBackend();
  WindowThread ui;
  const int batch = 1000;
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) PostMessage(ui.Handle(), kPing, 0, i);
    SendMessage(ui.Handle(), kPing, 0, 0);  // returns once every earlier post was handled
  }
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PostMessageCrossThread)->UseRealTime();

}  // namespace
