// Idle CPU of a sample window on the Qt host: the process's CPU time while
// the loop runs for 10 s with nothing animating, once shown and once hidden.
// Goal: effectively zero (the loop sleeps in Qt's event dispatcher).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

#include "toolkit/qt/QtWindowBackend.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowImplBase.h"
#include "toolkit/window/WindowRegistry.h"

namespace {

constexpr const char* kSampleMarkup = R"(<Window size="800,572" caption="0,0,0,36">
  <VerticalLayout name="root" bkcolor="#FF1C2128">
    <HorizontalLayout height="36" bkcolor="#FF262D36">
      <Label name="title" text="KORU7315" textcolor="#FFE8ECF2"/>
      <Button name="minbtn" width="36" text="_"/>
      <Button name="closebtn" width="36" text="X"/>
    </HorizontalLayout>
    <Slider name="level" height="20" min="0" max="100" value="40"/>
    <Edit name="name" height="30" text="idle"/>
  </VerticalLayout>
</Window>)";

class SampleWindow : public WindowImplBase {
 protected:
  std::string GetWindowClassName() const override { return "SampleWnd"; }
  std::string GetSkinFile() override { return kSampleMarkup; }
};

double ProcessCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void EnsureQt() {
  static bool ready = false;
  if (ready) return;
  ready = true;
  if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "toolkit_window_idle_bench";
  static char* argv[] = {name, nullptr};
  koru::UseQtWindowBackend(argc, argv);
}

void RunIdle(benchmark::State& state, bool shown) {
  EnsureQt();
  SampleWindow window;
  window.Create(nullptr, "KORU7315", UI_WNDSTYLE_DIALOG, 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT);
  window.ShowWindow(shown);
  koru::DispatchPendingMessages();
  QCoreApplication::processEvents();  // first paint and mapping are not idle time
  const auto seconds = std::chrono::seconds(state.range(0));
  for (auto _ : state) {
    double before = ProcessCpuMs();
    auto end = std::chrono::steady_clock::now() + seconds;
    // A window timer would count as activity; the deadline is checked when the loop wakes,
    // which an idle loop does only because a watchdog thread posts once at the end.
    std::thread watchdog([&] {
      std::this_thread::sleep_until(end);
      PostMessage(window.GetHWND(), WM_NULL, 0, 0);
    });
    koru::RunMessageLoopUntil([&] { return std::chrono::steady_clock::now() >= end; });
    watchdog.join();
    state.counters["cpu_ms"] = ProcessCpuMs() - before;
    state.counters["cpu_percent"] = (ProcessCpuMs() - before) / (seconds.count() * 10.0);
  }
  window.DestroyWindow();
}

void BM_IdleShownWindow(benchmark::State& state) { RunIdle(state, true); }
void BM_IdleHiddenWindow(benchmark::State& state) { RunIdle(state, false); }
BENCHMARK(BM_IdleShownWindow)->Arg(10)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_IdleHiddenWindow)->Arg(10)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
