// What the scanner costs while it runs for the whole life of the program, and
// how long a plugged device waits for its attach notification.
//
//   catalogue_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "catalogue/CDeviceScanner.h"
#include "platform/hid/LinuxHidrawBackend.h"
#include "sim/Simulation.h"

namespace {

using Clock = std::chrono::steady_clock;
using koru::sim::SimModel;

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

class CountingSink : public IDeviceEventSink {
public:
    void OnInterfaceAttached(int) override { Bump(attached_); }
    void OnInterfaceDetached(int) override { Bump(detached_); }
    void OnFirstPassComplete() override {}
    // Waits until `count` attaches (or detaches) have arrived in total.
    Clock::time_point WaitAttached(int count) { return Wait(attached_, count); }
    Clock::time_point WaitDetached(int count) { return Wait(detached_, count); }

private:
    void Bump(int& counter) {
        std::lock_guard lock(mutex_);
        ++counter;
        last_ = Clock::now();
        changed_.notify_all();
    }
    Clock::time_point Wait(int& counter, int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return counter >= count; });
        return last_;
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    int attached_ = 0;
    int detached_ = 0;
    Clock::time_point last_;
};

// The backends the program runs with: hidraw, then the shared virtual bus.
void UseProgramBackends() {
    koru::hid::SetBackends({std::make_shared<koru::hid::LinuxHidrawBackend>(),
                            koru::hid::VirtualHidBus::Shared()});
}

// One scanner pass in steady state: the slots of the attached devices are
// taken, the receivers' are free, so every pass enumerates and probes.
void BM_ScanPass(benchmark::State& state) {
    const bool simulate = state.range(0) != 0;
    if (simulate) {
        UseProgramBackends();
    } else {
        koru::hid::SetBackends({std::make_shared<koru::hid::LinuxHidrawBackend>()});
    }
    auto simulation = koru::sim::StartSimulation(
        simulate ? koru::sim::SimulationRequest::AllByCable() : koru::sim::SimulationRequest{});
    CInterfaceSlotList slots;
    CountingSink sink;
    CDeviceScanner scanner(slots, sink);
    scanner.ScanOnce();  // attach everything first
    for (auto _ : state) benchmark::DoNotOptimize(scanner.ScanOnce());
    state.SetLabel(simulate ? "hidraw + four simulated devices" : "hidraw only");
    koru::hid::SetBackends({});
}
BENCHMARK(BM_ScanPass)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// A raw listing of the hidraw nodes, which the scanner now makes only after a
// udev event or every two seconds.
void BM_HidrawListing(benchmark::State& state) {
    koru::hid::LinuxHidrawBackend hidraw;
    std::vector<koru::hid::InterfaceInfo> interfaces;
    for (auto _ : state) {
        interfaces.clear();
        benchmark::DoNotOptimize(hidraw.Enumerate(interfaces));
    }
    state.counters["nodes"] = static_cast<double>(interfaces.size());
}
BENCHMARK(BM_HidrawListing)->Unit(benchmark::kMicrosecond);

// The floor under any thread that wakes every 100 ms on this machine.
void BM_IdleWakeCpu(benchmark::State& state) {
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        std::mutex mutex;
        std::condition_variable wake;
        bool stop = false;
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = Clock::now();
        std::thread idle([&] {
            std::unique_lock lock(mutex);
            while (!wake.wait_for(lock, CDeviceScanner::kDefaultPeriod, [&] { return stop; })) {}
        });
        std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        {
            std::lock_guard lock(mutex);
            stop = true;
        }
        wake.notify_all();
        idle.join();
        cpu += ProcessCpuSeconds() - cpuBefore;
        wall += std::chrono::duration<double>(Clock::now() - wallBefore).count();
    }
    state.counters["cpu_ms_per_min"] = cpu / wall * 60e3;
    state.counters["core_percent"] = cpu / wall * 100;
}
BENCHMARK(BM_IdleWakeCpu)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

// The scanner thread at its real period for a while; process CPU time with getrusage.
void BM_ScannerThreadCpu(benchmark::State& state) {
    UseProgramBackends();
    auto simulation = koru::sim::StartSimulation(koru::sim::SimulationRequest::AllByCable());
    CInterfaceSlotList slots;
    CountingSink sink;
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        CDeviceScanner scanner(slots, sink);
        const double cpuBefore = ProcessCpuSeconds();
        const auto wallBefore = Clock::now();
        scanner.Start();
        std::this_thread::sleep_for(std::chrono::seconds(state.range(0)));
        scanner.Stop();
        cpu += ProcessCpuSeconds() - cpuBefore;
        wall += std::chrono::duration<double>(Clock::now() - wallBefore).count();
    }
    state.counters["cpu_ms_per_min"] = cpu / wall * 60e3;
    state.counters["core_percent"] = cpu / wall * 100;
    koru::hid::SetBackends({});
}
BENCHMARK(BM_ScannerThreadCpu)->Arg(20)->Iterations(1)->Unit(benchmark::kSecond);

// From plugging a mouse until its second interface is reported, with the real period.
void BM_PlugToAttach(benchmark::State& state) {
    UseProgramBackends();
    auto mouse = koru::sim::SimulatedDevice::Create(SimModel::Mouse, koru::hid::VirtualHidBus::Shared());
    CInterfaceSlotList slots;
    CountingSink sink;
    CDeviceScanner scanner(slots, sink);
    scanner.Start();
    int rounds = 0;
    double total = 0, worst = 0;
    for (auto _ : state) {
        // Plug at an arbitrary moment of the scanner's period.
        std::this_thread::sleep_for(std::chrono::milliseconds(37 * rounds % 100));
        const auto plugged = Clock::now();
        mouse->PlugCable();
        const double ms = std::chrono::duration<double, std::milli>(sink.WaitAttached(2 * (rounds + 1)) - plugged).count();
        total += ms;
        worst = std::max(worst, ms);
        mouse->UnplugCable();
        sink.WaitDetached(2 * (rounds + 1));
        ++rounds;
    }
    state.counters["mean_ms"] = total / rounds;
    state.counters["worst_ms"] = worst;
    scanner.Stop();
    koru::hid::SetBackends({});
}
BENCHMARK(BM_PlugToAttach)->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace
