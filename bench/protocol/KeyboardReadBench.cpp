// A full keyboard read as the keyboard page does it, against a simulated
// keyboard with a latency per report: how close we come to the floor of two
// report latencies per frame (plus EndSession's own 10 ms pause).
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/transport/SimulatedBenchDevice.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceLayouts.h"

namespace {

bool ReadKeyboard(CDeviceChannel& channel) {
    uint8_t info[34];
    std::vector<uint8_t> keys(512), positions(170), record(39);
    uint8_t active = 0;
    bool ok = BeginSession(channel) == 1 && ReadDeviceInfo(channel, info) == 1 &&
              channel.SetBlockSize(static_cast<uint16_t>(info[koru::info::kKeyCount] * 3)) &&
              ReadKeyMap(channel, keys.data()) == 1 && ReadKeyMapExtra(channel, positions.data()) == 1;
    ok = EndSession(channel) == 1 && ok;
    return ok && ReadProfileData(channel, &active, 1, 0) == 1 &&
           ReadProfileData(channel, record.data(), record.size(), static_cast<uint16_t>(active * 40)) == 1;
}

void BM_FullKeyboardRead(benchmark::State& state) {
    const bool receiver = state.range(0) != 0;
    const auto latency = std::chrono::microseconds(state.range(1));
    koru::bench::SimulatedBenchDevice sim(receiver);
    sim.firmware->SetLatency(latency);
    uint64_t frames = 0;
    for (auto _ : state) {
        const auto before = sim.firmware->FrameCount();
        if (!ReadKeyboard(sim.channel)) {
            state.SkipWithError("keyboard read failed");
            return;
        }
        frames = sim.firmware->FrameCount() - before;
    }
    const double floorMs = frames * 2.0 * latency.count() / 1000.0 + 10.0;
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["floor_ms"] = floorMs;
    state.SetLabel(receiver ? "receiver" : "cable");
}

// {receiver, latency in microseconds}
BENCHMARK(BM_FullKeyboardRead)
    ->Args({0, 1000})
    ->Args({1, 1000})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
