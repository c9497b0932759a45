// Arbitrary bytes into the report-descriptor parser; every collection it
// accepts then has each capability and extraction call driven on a report made
// from the rest of the input. Besides memory errors it checks the promises
// callers size their buffers by (capability counts, MaxUsageListLength).
//
// Input: descriptor length (2 bytes, little endian), descriptor, report bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "platform/hid/HidParser.h"

using namespace koru::hid;

namespace {

constexpr size_t kMaxPagesPerType = 16;
constexpr size_t kMaxValueCapsPerType = 64;
constexpr uint32_t kMaxUsagesPerValueCap = 4;

void Require(bool condition) {
    if (!condition) std::abort();
}

uint16_t ReportLength(const Caps& caps, ReportType type) {
    switch (type) {
        case ReportType::Input: return caps.inputReportByteLength;
        case ReportType::Output: return caps.outputReportByteLength;
        case ReportType::Feature: return caps.featureReportByteLength;
    }
    return 0;
}

void CheckCapCounts(const PreparsedData& data) {
    const Caps& caps = data.GetCaps();
    Require(data.GetSpecificButtonCaps(ReportType::Input).size() == caps.numberInputButtonCaps);
    Require(data.GetSpecificValueCaps(ReportType::Input).size() == caps.numberInputValueCaps);
    Require(data.GetSpecificButtonCaps(ReportType::Output).size() == caps.numberOutputButtonCaps);
    Require(data.GetSpecificValueCaps(ReportType::Output).size() == caps.numberOutputValueCaps);
    Require(data.GetSpecificButtonCaps(ReportType::Feature).size() == caps.numberFeatureButtonCaps);
    Require(data.GetSpecificValueCaps(ReportType::Feature).size() == caps.numberFeatureValueCaps);
    Require(!data.ReportIds().empty());
}

void ExtractUsages(const PreparsedData& data, ReportType type, const std::vector<ButtonCaps>& buttons,
                   std::span<const uint8_t> report) {
    std::set<uint16_t> pages{0};
    for (const ButtonCaps& caps : buttons) {
        if (pages.size() >= kMaxPagesPerType) break;
        pages.insert(caps.usagePage);
    }
    for (uint16_t page : pages) {
        const uint32_t max = data.MaxUsageListLength(type, page);
        std::vector<uint16_t> list(max + 1);
        uint32_t length = max;
        const Status status = data.GetUsages(type, page, 0, list.data(), &length, report);
        // A list of MaxUsageListLength entries always suffices.
        Require(status != Status::BufferTooSmall);
        Require(length <= max);
        length = max / 2;
        data.GetUsages(type, page, 0, list.data(), &length, report);
        Require(length <= max / 2);
        if (!buttons.empty()) {
            length = max;
            data.GetUsages(type, page, buttons.front().linkCollection, list.data(), &length, report);
        }
    }
}

void ExtractValues(const PreparsedData& data, ReportType type, const std::vector<ValueCaps>& values,
                   std::span<const uint8_t> report) {
    const size_t count = std::min(values.size(), kMaxValueCapsPerType);
    for (size_t i = 0; i < count; ++i) {
        const ValueCaps& caps = values[i];
        const uint32_t last = std::min<uint32_t>(caps.usageMax, caps.usageMin + kMaxUsagesPerValueCap - 1);
        for (uint32_t usage = caps.usageMin; usage <= last; ++usage) {
            uint32_t raw = 0;
            int32_t scaled = 0;
            data.GetUsageValue(type, caps.usagePage, caps.linkCollection, static_cast<uint16_t>(usage), &raw,
                               report);
            data.GetScaledUsageValue(type, caps.usagePage, 0, static_cast<uint16_t>(usage), &scaled, report);
        }
    }
}

void Exercise(const PreparsedData& data, std::span<const uint8_t> payload) {
    CheckCapCounts(data);
    for (ReportType type : {ReportType::Input, ReportType::Output, ReportType::Feature}) {
        const std::vector<ButtonCaps> buttons = data.GetSpecificButtonCaps(type);
        const std::vector<ValueCaps> values = data.GetSpecificValueCaps(type);
        // The payload as it stands: any length, any ID.
        ExtractUsages(data, type, buttons, payload);
        ExtractValues(data, type, values, payload);
        // A full-length report for each of the collection's IDs.
        const size_t length = std::max<size_t>(ReportLength(data.GetCaps(), type), 1);
        std::vector<uint8_t> report(length, 0);
        std::copy_n(payload.begin(), std::min(payload.size(), length - 1), report.begin() + 1);
        for (uint8_t id : data.ReportIds()) {
            report[0] = id;
            ExtractUsages(data, type, buttons, report);
            ExtractValues(data, type, values, report);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    if (size < 2) return 0;
    const std::span<const uint8_t> input(bytes, size);
    const size_t descriptorLength = std::min<size_t>(input[0] | size_t{input[1]} << 8, size - 2);
    const std::span<const uint8_t> descriptor = input.subspan(2, descriptorLength);
    const std::span<const uint8_t> payload = input.subspan(2 + descriptorLength);

    std::vector<TopLevelCollection> collections;
    std::string error;
    if (!ParseReportDescriptor(descriptor, collections, &error)) {
        Require(!error.empty() && collections.empty());
        return 0;
    }
    Require(!collections.empty());
    for (const TopLevelCollection& collection : collections) Exercise(*collection.preparsed, payload);
    return 0;
}
