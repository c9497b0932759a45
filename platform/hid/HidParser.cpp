// Capability queries and report extraction over a parsed top-level collection.
// Reports come from devices: lengths are checked against the collection's
// report length before any field is read, and every bit read is bounds-checked
// again on its own.
#include "platform/hid/HidParser.h"

#include <algorithm>

#include "platform/hid/HidParserLayout.h"

namespace koru::hid {

const char* StatusName(Status s) {
    switch (s) {
        case Status::Success: return "Success";
        case Status::InvalidReportType: return "InvalidReportType";
        case Status::InvalidReportLength: return "InvalidReportLength";
        case Status::IncompatibleReportId: return "IncompatibleReportId";
        case Status::UsageNotFound: return "UsageNotFound";
        case Status::BufferTooSmall: return "BufferTooSmall";
        case Status::BadLogPhyValues: return "BadLogPhyValues";
        case Status::ValueOutOfRange: return "ValueOutOfRange";
        case Status::NullValue: return "NullValue";
        case Status::NotValueArray: return "NotValueArray";
        case Status::InvalidArgument: return "InvalidArgument";
    }
    return "Unknown";
}

namespace {

// Little-endian bit field of up to 32 bits; bits beyond the data read as 0.
uint32_t ReadBits(std::span<const uint8_t> data, uint32_t bitOffset, uint32_t bitCount) {
    const size_t firstByte = bitOffset / 8;
    const uint32_t shift = bitOffset % 8;
    const size_t byteCount = (shift + bitCount + 7) / 8;
    uint64_t gathered = 0;
    for (size_t i = 0; i < byteCount && firstByte + i < data.size(); ++i)
        gathered |= uint64_t{data[firstByte + i]} << (8 * i);
    gathered >>= shift;
    if (bitCount < 32) gathered &= (uint64_t{1} << bitCount) - 1;
    return static_cast<uint32_t>(gathered);
}

int64_t SignExtend(uint32_t raw, uint32_t bitCount) {
    if (bitCount == 0 || bitCount >= 32) return static_cast<int32_t>(raw);
    const uint32_t signBit = 1u << (bitCount - 1);
    return static_cast<int64_t>(raw ^ signBit) - signBit;
}

bool Matches(uint16_t wanted, uint16_t actual) { return wanted == 0 || wanted == actual; }

bool ValidType(ReportType type) { return static_cast<size_t>(type) < kReportTypeCount; }

// The usage an array selector stands for, or 0 ("no usage") when it points
// outside the logical range or the usage list.
UsageSpan SelectedUsage(const ArrayField& field, uint32_t raw) {
    const int64_t selector = field.logicalMin < 0 ? SignExtend(raw, field.reportSize) : int64_t{raw};
    if (selector < field.logicalMin || selector > field.logicalMax) return {};
    uint64_t index = static_cast<uint64_t>(selector - field.logicalMin);
    for (const UsageSpan& span : field.usages) {
        if (index < span.Count()) {
            const uint16_t usage = static_cast<uint16_t>(span.min + index);
            return {span.page, usage, usage};
        }
        index -= span.Count();
    }
    return {};
}

template <typename CapsT>
std::vector<CapsT> FilterCaps(const std::vector<CapsT>& all, uint16_t usagePage, uint16_t linkCollection,
                              uint16_t usage) {
    std::vector<CapsT> result;
    for (const CapsT& caps : all) {
        if (Matches(usagePage, caps.usagePage) && Matches(linkCollection, caps.linkCollection) &&
            (usage == 0 || (usage >= caps.usageMin && usage <= caps.usageMax)))
            result.push_back(caps);
    }
    return result;
}

// Where a usage lookup landed: found in this report, found only in reports
// with another ID, or not at all.
Status LookupStatus(bool seen, bool seenInThisReport) {
    if (seenInThisReport) return Status::Success;
    return seen ? Status::IncompatibleReportId : Status::UsageNotFound;
}

}  // namespace

PreparsedData::PreparsedData(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PreparsedData::~PreparsedData() = default;

const Caps& PreparsedData::GetCaps() const { return impl_->caps; }

const std::vector<uint8_t>& PreparsedData::ReportIds() const { return impl_->reportIds; }

bool PreparsedData::UsesReportId(uint8_t id) const {
    return std::binary_search(impl_->reportIds.begin(), impl_->reportIds.end(), id);
}

std::vector<ButtonCaps> PreparsedData::GetSpecificButtonCaps(ReportType type, uint16_t usagePage,
                                                             uint16_t linkCollection, uint16_t usage) const {
    if (!ValidType(type)) return {};
    return FilterCaps(impl_->tables[static_cast<size_t>(type)].buttonCaps, usagePage, linkCollection, usage);
}

std::vector<ValueCaps> PreparsedData::GetSpecificValueCaps(ReportType type, uint16_t usagePage,
                                                           uint16_t linkCollection, uint16_t usage) const {
    if (!ValidType(type)) return {};
    return FilterCaps(impl_->tables[static_cast<size_t>(type)].valueCaps, usagePage, linkCollection, usage);
}

// Per report ID: every bitfield usage of the page, plus one per selector of
// each array that can select the page. GetUsages never returns more for one report.
uint32_t PreparsedData::MaxUsageListLength(ReportType type, uint16_t usagePage) const {
    if (!ValidType(type)) return 0;
    const ReportTypeTables& tables = impl_->tables[static_cast<size_t>(type)];
    std::array<uint32_t, 256> perReport{};
    for (size_t i = 0; i < tables.buttonCaps.size(); ++i) {
        const ButtonCaps& caps = tables.buttonCaps[i];
        if (tables.buttonCapArray[i] >= 0 || !Matches(usagePage, caps.usagePage)) continue;
        perReport[caps.reportId] += std::min<uint32_t>(caps.reportCount, uint32_t{caps.usageMax} - caps.usageMin + 1);
    }
    for (const ArrayField& field : tables.arrays) {
        const bool selectsPage = std::any_of(field.usages.begin(), field.usages.end(),
                                             [&](const UsageSpan& span) { return Matches(usagePage, span.page); });
        if (selectsPage) perReport[field.reportId] += field.reportCount;
    }
    return *std::max_element(perReport.begin(), perReport.end());
}

Status PreparsedData::GetUsages(ReportType type, uint16_t usagePage, uint16_t linkCollection, uint16_t* usageList,
                                uint32_t* length, std::span<const uint8_t> report) const {
    if (length == nullptr) return Status::InvalidArgument;
    const uint32_t capacity = usageList != nullptr ? *length : 0;
    *length = 0;
    if (!ValidType(type)) return Status::InvalidReportType;
    const ReportTypeTables& tables = impl_->tables[static_cast<size_t>(type)];
    if (tables.byteLength == 0) return Status::UsageNotFound;
    if (report.size() < tables.byteLength) return Status::InvalidReportLength;
    const uint8_t reportId = report[0];
    const std::span<const uint8_t> data = report.subspan(1);

    bool seen = false;
    bool seenInThisReport = false;
    for (const ButtonCaps& caps : tables.buttonCaps) {
        if (!Matches(usagePage, caps.usagePage) || !Matches(linkCollection, caps.linkCollection)) continue;
        seen = true;
        seenInThisReport = seenInThisReport || caps.reportId == reportId;
    }
    const Status found = LookupStatus(seen, seenInThisReport);
    if (found != Status::Success) return found;

    uint32_t written = 0;
    bool overflow = false;
    auto emit = [&](uint16_t usage) {
        if (written < capacity)
            usageList[written++] = usage;
        else
            overflow = true;
    };
    int32_t lastArray = -1;
    for (size_t i = 0; i < tables.buttonCaps.size(); ++i) {
        const ButtonCaps& caps = tables.buttonCaps[i];
        if (caps.reportId != reportId || !Matches(linkCollection, caps.linkCollection)) continue;
        const int32_t arrayIndex = tables.buttonCapArray[i];
        if (arrayIndex >= 0) {
            // An array is listed once per usage span; walk its selectors once.
            if (arrayIndex == lastArray) continue;
            lastArray = arrayIndex;
            const ArrayField& field = tables.arrays[static_cast<size_t>(arrayIndex)];
            for (uint32_t s = 0; s < field.reportCount; ++s) {
                const uint32_t raw = ReadBits(data, field.bitOffset + s * field.reportSize, field.reportSize);
                const UsageSpan selected = SelectedUsage(field, raw);
                if (selected.min != 0 && Matches(usagePage, selected.page)) emit(selected.min);
            }
            continue;
        }
        if (!Matches(usagePage, caps.usagePage)) continue;
        // Fields past the end of the range repeat its last usage; report it once.
        const uint32_t rangeCount = uint32_t{caps.usageMax} - caps.usageMin + 1;
        bool lastUsageEmitted = false;
        for (uint32_t f = 0; f < caps.reportCount; ++f) {
            if (ReadBits(data, caps.bitOffset + f, 1) == 0) continue;
            const uint32_t index = std::min(f, rangeCount - 1);
            if (index == rangeCount - 1) {
                if (lastUsageEmitted) continue;
                lastUsageEmitted = true;
            }
            emit(static_cast<uint16_t>(caps.usageMin + index));
        }
    }
    *length = written;
    return overflow ? Status::BufferTooSmall : Status::Success;
}

namespace {

// Finds the value capability of a usage in the report at hand, checking type and length first.
Status FindValue(const PreparsedData::Impl& impl, ReportType type, uint16_t usagePage, uint16_t linkCollection,
                 uint16_t usage, std::span<const uint8_t> report, const ValueCaps** found) {
    if (!ValidType(type)) return Status::InvalidReportType;
    const ReportTypeTables& tables = impl.tables[static_cast<size_t>(type)];
    if (tables.byteLength == 0) return Status::UsageNotFound;
    if (report.size() < tables.byteLength) return Status::InvalidReportLength;
    bool seen = false;
    for (const ValueCaps& caps : tables.valueCaps) {
        if (!Matches(usagePage, caps.usagePage) || !Matches(linkCollection, caps.linkCollection) ||
            usage < caps.usageMin || usage > caps.usageMax)
            continue;
        seen = true;
        if (caps.reportId == report[0]) {
            *found = &caps;
            return Status::Success;
        }
    }
    return LookupStatus(seen, false);
}

// A value wider than 32 bits does not fit the result.
Status ReadValue(const ValueCaps& caps, uint16_t usage, std::span<const uint8_t> report, uint32_t* raw) {
    if (caps.bitSize > 32) return Status::BufferTooSmall;
    // A single usage over several fields (a value array) reads its first field.
    const uint32_t index = caps.isRange ? uint32_t{usage} - caps.usageMin : 0;
    *raw = ReadBits(report.subspan(1), caps.bitOffset + index * caps.bitSize, caps.bitSize);
    return Status::Success;
}

}  // namespace

Status PreparsedData::GetUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection, uint16_t usage,
                                    uint32_t* value, std::span<const uint8_t> report) const {
    if (value == nullptr) return Status::InvalidArgument;
    const ValueCaps* caps = nullptr;
    const Status status = FindValue(*impl_, type, usagePage, linkCollection, usage, report, &caps);
    if (status != Status::Success) return status;
    return ReadValue(*caps, usage, report, value);
}

// Without a physical range the logical value is the answer; with one, the
// logical range maps linearly onto it.
Status PreparsedData::GetScaledUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                                          uint16_t usage, int32_t* value, std::span<const uint8_t> report) const {
    if (value == nullptr) return Status::InvalidArgument;
    const ValueCaps* caps = nullptr;
    Status status = FindValue(*impl_, type, usagePage, linkCollection, usage, report, &caps);
    if (status != Status::Success) return status;
    uint32_t raw = 0;
    status = ReadValue(*caps, usage, report, &raw);
    if (status != Status::Success) return status;

    const int64_t logicalMin = caps->logicalMin;
    const int64_t logicalMax = caps->logicalMax;
    if (logicalMin > logicalMax) return Status::BadLogPhyValues;
    const int64_t logical = logicalMin < 0 ? SignExtend(raw, caps->bitSize) : int64_t{raw};
    if (logical < logicalMin || logical > logicalMax)
        return caps->hasNull ? Status::NullValue : Status::ValueOutOfRange;
    const int64_t physicalMin = caps->physicalMin;
    const int64_t physicalMax = caps->physicalMax;
    if (physicalMin == 0 && physicalMax == 0) {
        *value = static_cast<int32_t>(logical);
        return Status::Success;
    }
    if (logicalMin == logicalMax || physicalMin == physicalMax) return Status::BadLogPhyValues;
    // Both spans reach 2^32, so the product needs more than 64 bits.
    __extension__ using Wide = __int128;
    const Wide scaled = Wide{logical - logicalMin} * (physicalMax - physicalMin) / (logicalMax - logicalMin);
    *value = static_cast<int32_t>(physicalMin + static_cast<int64_t>(scaled));
    return Status::Success;
}

}  // namespace koru::hid
