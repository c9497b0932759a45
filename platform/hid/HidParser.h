#pragma once
// Our HID report-descriptor parser: what the program needs of a HID class
// library. A descriptor is split into its top-level collections; each one gets
// a PreparsedData that answers capability queries and extracts usages and
// values from reports, with report lengths counted as the OS reports them (the
// largest report of a type plus the report-ID byte).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace koru::hid {

enum class ReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };

// Results of the extraction calls, named after what they mean.
enum class Status : uint32_t {
    Success = 0,
    InvalidReportType,
    InvalidReportLength,   // report shorter than the report length of its type
    IncompatibleReportId,  // the usage exists, but in a report with another ID
    UsageNotFound,         // the usage is in no report of this type
    BufferTooSmall,        // more usages are set than the list holds
    BadLogPhyValues,       // scaling impossible (physical range empty or logical range invalid)
    ValueOutOfRange,       // raw value outside the logical range (scaled value)
    NullValue,             // the field holds its null state
    NotValueArray,
    InvalidArgument,       // a required output pointer is null
};
const char* StatusName(Status s);

struct Caps {
    uint16_t usage = 0;
    uint16_t usagePage = 0;
    uint16_t inputReportByteLength = 0;
    uint16_t outputReportByteLength = 0;
    uint16_t featureReportByteLength = 0;
    uint16_t numberLinkCollectionNodes = 0;
    uint16_t numberInputButtonCaps = 0;
    uint16_t numberInputValueCaps = 0;
    uint16_t numberOutputButtonCaps = 0;
    uint16_t numberOutputValueCaps = 0;
    uint16_t numberFeatureButtonCaps = 0;
    uint16_t numberFeatureValueCaps = 0;
};

// One usage or usage range of a button main item (1-bit variables, or an array of
// selectors; an array with several ranges is listed once per range).
struct ButtonCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when !isRange
    uint16_t usageMax = 0;
    bool isArray = false;    // array field: the report carries usage indexes
    bool isAbsolute = true;
    uint16_t linkCollection = 0;
    uint16_t linkUsagePage = 0;
    uint16_t linkUsage = 0;
    uint16_t bitOffset = 0;  // offset of the field in the report, after the report-ID byte
    uint16_t reportSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
};

// One value usage or range of value usages of a main item.
struct ValueCaps {
    uint16_t usagePage = 0;
    uint8_t reportId = 0;
    bool isRange = false;
    uint16_t usageMin = 0;  // the usage itself when !isRange
    uint16_t usageMax = 0;
    bool isAbsolute = true;
    bool hasNull = false;
    uint16_t linkCollection = 0;
    uint16_t linkUsagePage = 0;
    uint16_t linkUsage = 0;
    uint16_t bitOffset = 0;
    uint16_t bitSize = 0;
    uint16_t reportCount = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t units = 0;
    uint32_t unitsExp = 0;
};

// The parsed form of one top-level collection.
class PreparsedData {
public:
    ~PreparsedData();
    PreparsedData(const PreparsedData&) = delete;
    PreparsedData& operator=(const PreparsedData&) = delete;

    const Caps& GetCaps() const;
    // The report IDs used by this collection, in any report type (0 when it uses none).
    const std::vector<uint8_t>& ReportIds() const;
    bool UsesReportId(uint8_t id) const;

    // Capabilities of one report type, filtered: 0 means "any" for page, link collection and usage.
    std::vector<ButtonCaps> GetSpecificButtonCaps(ReportType type, uint16_t usagePage = 0,
                                                  uint16_t linkCollection = 0,
                                                  uint16_t usage = 0) const;
    std::vector<ValueCaps> GetSpecificValueCaps(ReportType type, uint16_t usagePage = 0,
                                                uint16_t linkCollection = 0,
                                                uint16_t usage = 0) const;

    // Largest number of buttons of this page (0: any page) that can be on at once in one report of the type.
    uint32_t MaxUsageListLength(ReportType type, uint16_t usagePage) const;

    // The buttons of a page (0: any) that are on in a report, in report order; array
    // selectors outside the logical range or the usage list are skipped. `length` is
    // in: list capacity, out: usages written (on BufferTooSmall the list is full).
    Status GetUsages(ReportType type, uint16_t usagePage, uint16_t linkCollection, uint16_t* usageList,
                     uint32_t* length, std::span<const uint8_t> report) const;
    // The value's bits as they stand (a value array yields its first field).
    Status GetUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection, uint16_t usage,
                         uint32_t* value, std::span<const uint8_t> report) const;
    // Sign-extended when the logical minimum is negative, then scaled onto the physical
    // range when one is set (otherwise the logical value).
    Status GetScaledUsageValue(ReportType type, uint16_t usagePage, uint16_t linkCollection,
                               uint16_t usage, int32_t* value, std::span<const uint8_t> report) const;

    struct Impl;
    explicit PreparsedData(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> impl_;
};

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::shared_ptr<const PreparsedData> preparsed;
};

// Splits a report descriptor into its top-level collections, in descriptor order.
// Returns false with a reason in `error` on a malformed descriptor.
bool ParseReportDescriptor(std::span<const uint8_t> descriptor,
                           std::vector<TopLevelCollection>& collections, std::string* error = nullptr);

}  // namespace koru::hid
