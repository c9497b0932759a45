// Cost of learning an interface's layout (done on every open) and of decoding
// one report's buttons (done for every report the sync threads receive).
#include <benchmark/benchmark.h>

#include "platform/hid/HidParser.h"
#include "tests/platform/HidDescriptorSamples.h"

using namespace koru::hid;

static void BM_ParseMultiCollectionDescriptor(benchmark::State& state) {
    const samples::Bytes descriptor = samples::MultiCollectionInterface();
    std::vector<TopLevelCollection> collections;
    for (auto _ : state) {
        bool ok = ParseReportDescriptor(descriptor, collections);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * descriptor.size()));
}
BENCHMARK(BM_ParseMultiCollectionDescriptor);

static void BM_GetUsagesBootKeyboard(benchmark::State& state) {
    std::vector<TopLevelCollection> collections;
    if (!ParseReportDescriptor(samples::kBootKeyboard, collections)) {
        state.SkipWithError("descriptor refused");
        return;
    }
    const PreparsedData& keyboard = *collections[0].preparsed;
    const std::vector<uint8_t> report = {0x00, 0x22, 0x00, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};
    uint16_t usages[14];
    for (auto _ : state) {
        uint32_t length = 14;
        Status status = keyboard.GetUsages(ReportType::Input, 0x07, 0, usages, &length, report);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(usages);
    }
}
BENCHMARK(BM_GetUsagesBootKeyboard);
