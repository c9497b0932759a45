#pragma once
// The inside of a PreparsedData: what the descriptor parser builds and the
// capability and extraction queries read. Private to platform/hid.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/hid/HidParser.h"

namespace koru::hid {

// The largest report we accept, report-ID byte included. Bit offsets then fit
// the 16-bit capability fields with room to spare.
constexpr uint32_t kMaxReportBytes = 4096;
constexpr uint32_t kMaxReportDataBits = (kMaxReportBytes - 1) * 8;

// One usage or usage range of a main item, its page resolved.
struct UsageSpan {
    uint16_t page = 0;
    uint16_t min = 0;
    uint16_t max = 0;
    uint32_t Count() const { return uint32_t{max} - min + 1; }
};

// An array main item: each of its selectors holds logicalMin + the index of a
// usage in the concatenated spans, or anything else for "no usage".
struct ArrayField {
    uint8_t reportId = 0;
    uint16_t linkCollection = 0;
    uint32_t bitOffset = 0;
    uint16_t reportSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    std::vector<UsageSpan> usages;
};

struct ReportTypeTables {
    std::vector<ButtonCaps> buttonCaps;
    // Per button capability: index into `arrays`, or -1 for a bitfield.
    std::vector<int32_t> buttonCapArray;
    std::vector<ValueCaps> valueCaps;
    std::vector<ArrayField> arrays;
    uint16_t byteLength = 0;  // 0 when the collection has no report of this type
};

constexpr size_t kReportTypeCount = 3;

struct PreparsedData::Impl {
    Caps caps;
    std::vector<uint8_t> reportIds;  // sorted; {0} when the collection uses none
    std::array<ReportTypeTables, kReportTypeCount> tables;
};

}  // namespace koru::hid
