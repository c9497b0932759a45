// The cost of our own stack per exchange: channel, HID endpoint, virtual bus
// and firmware, with a device that answers at once.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "bench/transport/SimulatedBenchDevice.h"
#include "platform/DebugOutput.h"
#include "protocol/CommandFrame.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Counts every allocation; replaced new and delete are a malloc/free pair, which
// GCC cannot see through once they are inlined.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

void RunExchanges(benchmark::State& state, bool fast, bool traced) {
    koru::bench::SimulatedBenchDevice sim(false);
    if (!sim.opened) {
        state.SkipWithError("cannot open the simulated keyboard");
        return;
    }
    koru::SetDebugOutputSink([](std::string_view) {});
    koru::SetDebugOutputEnabled(traced);
    uint8_t frame[64], answer[64];
    koru::frame::Build(frame, koru::cmd::kReadDeviceInfo, 34, 0);
    const long allocationsBefore = g_allocations.load();
    const auto framesBefore = sim.firmware->FrameCount();
    for (auto _ : state) {
        const int r = fast ? sim.channel.ExchangeFast(frame, 64, answer, 64, nullptr)
                           : sim.channel.Exchange(frame, 64, answer, 64, nullptr);
        benchmark::DoNotOptimize(r);
    }
    const double exchanges = static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations());
    state.counters["allocs/exchange"] = (g_allocations.load() - allocationsBefore) / exchanges;
    state.counters["frames/exchange"] = (sim.firmware->FrameCount() - framesBefore) / exchanges;
    koru::SetDebugOutputEnabled(false);
    koru::SetDebugOutputSink({});
}

void BM_Exchange(benchmark::State& state) { RunExchanges(state, false, false); }
void BM_ExchangeFast(benchmark::State& state) { RunExchanges(state, true, false); }
void BM_ExchangeTraced(benchmark::State& state) { RunExchanges(state, false, true); }

BENCHMARK(BM_Exchange)->UseRealTime();
BENCHMARK(BM_ExchangeFast)->UseRealTime();
BENCHMARK(BM_ExchangeTraced)->UseRealTime();

}  // namespace
