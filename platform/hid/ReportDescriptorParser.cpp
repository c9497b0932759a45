// Report-descriptor parsing: items → global/local state → per top-level
// collection capability tables. The input comes from devices (or a fuzzer), so
// every count is bounded before it is used and any inconsistency refuses the
// whole descriptor with a reason.
#include <algorithm>
#include <optional>

#include "platform/DebugOutput.h"
#include "platform/hid/HidParser.h"
#include "platform/hid/HidParserLayout.h"

namespace koru::hid {
namespace {

constexpr size_t kMaxDescriptorBytes = 65535;  // keeps every capability count within 16 bits
constexpr size_t kMaxCollectionDepth = 32;
constexpr size_t kMaxGlobalStackDepth = 32;
constexpr uint32_t kMaxSelectorBits = 32;
constexpr size_t kMaxCapsPerType = 65535;

enum ItemType : uint8_t { kMainItem = 0, kGlobalItem = 1, kLocalItem = 2 };

enum MainTag : uint8_t {
    kInput = 0x8,
    kOutput = 0x9,
    kCollection = 0xA,
    kFeature = 0xB,
    kEndCollection = 0xC,
};

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kLogicalMinimum = 0x1,
    kLogicalMaximum = 0x2,
    kPhysicalMinimum = 0x3,
    kPhysicalMaximum = 0x4,
    kUnitExponent = 0x5,
    kUnit = 0x6,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMinimum = 0x1, kUsageMaximum = 0x2, kDelimiter = 0xA };

constexpr uint32_t kFlagConstant = 1u << 0;
constexpr uint32_t kFlagVariable = 1u << 1;
constexpr uint32_t kFlagRelative = 1u << 2;
constexpr uint32_t kFlagNullState = 1u << 6;

constexpr uint8_t kLongItemPrefix = 0xFE;

struct Item {
    uint8_t type = 0;
    uint8_t tag = 0;
    uint8_t size = 0;  // data bytes: 0, 1, 2 or 4
    uint32_t data = 0;

    int32_t Signed() const {
        switch (size) {
            case 1: return static_cast<int8_t>(data);
            case 2: return static_cast<int16_t>(data);
            case 4: return static_cast<int32_t>(data);
            default: return 0;
        }
    }
};

// A maximum is read signed or unsigned depending on its minimum: devices
// commonly write Logical Maximum (255) as the single byte 0xFF with a
// non-negative minimum, which only the unsigned reading makes sense of.
int32_t ResolveMaximum(const Item& max, int32_t min) {
    if (min < 0 || max.data > static_cast<uint32_t>(INT32_MAX)) return max.Signed();
    return static_cast<int32_t>(max.data);
}

struct GlobalState {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    Item logicalMax;
    int32_t physicalMin = 0;
    Item physicalMax;
    uint32_t unitExponent = 0;
    uint32_t unit = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A usage as written: a 32-bit (extended) usage carries its own page.
struct WrittenUsage {
    uint32_t value = 0;
    bool extended = false;
};

struct WrittenSpan {
    WrittenUsage min;
    WrittenUsage max;
};

struct LocalState {
    std::vector<WrittenSpan> usages;
    std::optional<WrittenUsage> pendingMin;
    std::optional<WrittenUsage> pendingMax;
    bool inDelimiter = false;
    bool delimiterTaken = false;
};

struct LinkNode {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

struct CollectionBuilder {
    std::unique_ptr<PreparsedData::Impl> impl = std::make_unique<PreparsedData::Impl>();
    std::vector<LinkNode> nodes;
    std::array<std::array<bool, 256>, kReportTypeCount> hasReport{};
};

class DescriptorParser {
public:
    explicit DescriptorParser(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    bool Run(std::vector<TopLevelCollection>& out);
    const std::string& Error() const { return error_; }

private:
    bool NextItem(Item& item, bool& end);
    bool HandleMain(const Item& item);
    bool HandleGlobal(const Item& item);
    bool HandleLocal(const Item& item);
    bool OpenCollection();
    bool CloseCollection();
    bool AddField(ReportType type, uint32_t flags);
    void AddVariableCaps(ReportTypeTables& tables, const std::vector<UsageSpan>& spans, uint32_t flags,
                         uint32_t bitOffset);
    bool AddArray(ReportTypeTables& tables, std::vector<UsageSpan> spans, uint32_t flags, uint32_t bitOffset);
    bool ResolveUsages(std::vector<UsageSpan>& spans);
    void FlushPendingUsages();
    void AddRangeEnd(std::optional<WrittenUsage>& end, WrittenUsage usage);
    template <typename CapsT>
    CapsT NewCaps(const UsageSpan& span, uint32_t flags, uint32_t bitOffset) const;
    void AddWrittenSpan(WrittenSpan span);
    bool Finish(std::vector<TopLevelCollection>& out);
    bool Fail(std::string reason);

    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    size_t itemStart_ = 0;
    GlobalState global_;
    std::vector<GlobalState> globalStack_;
    LocalState local_;
    std::optional<CollectionBuilder> current_;
    std::vector<uint16_t> collectionStack_;  // link collection indexes of the open collections
    std::vector<CollectionBuilder> done_;
    std::array<std::array<uint32_t, 256>, kReportTypeCount> reportBits_{};
    bool sawNumberedReport_ = false;
    bool sawUnnumberedReport_ = false;
    std::string error_;
};

bool DescriptorParser::Fail(std::string reason) {
    error_ = "byte " + std::to_string(itemStart_) + ": " + std::move(reason);
    return false;
}

// Reads the next short item; long items carry nothing we use and are skipped.
bool DescriptorParser::NextItem(Item& item, bool& end) {
    while (pos_ < bytes_.size()) {
        itemStart_ = pos_;
        const uint8_t prefix = bytes_[pos_];
        if (prefix == kLongItemPrefix) {
            if (bytes_.size() - pos_ < 3) return Fail("truncated long item");
            const size_t dataSize = bytes_[pos_ + 1];
            if (bytes_.size() - pos_ - 3 < dataSize) return Fail("truncated long item");
            pos_ += 3 + dataSize;
            continue;
        }
        static constexpr uint8_t kSizes[4] = {0, 1, 2, 4};
        item.size = kSizes[prefix & 0x3];
        item.type = (prefix >> 2) & 0x3;
        item.tag = prefix >> 4;
        if (bytes_.size() - pos_ - 1 < item.size) return Fail("truncated item");
        item.data = 0;
        for (uint8_t i = 0; i < item.size; ++i) item.data |= uint32_t{bytes_[pos_ + 1 + i]} << (8 * i);
        pos_ += 1 + item.size;
        end = false;
        return true;
    }
    end = true;
    return true;
}

bool DescriptorParser::Run(std::vector<TopLevelCollection>& out) {
    if (bytes_.size() > kMaxDescriptorBytes) return Fail("descriptor longer than 65535 bytes");
    Item item;
    bool end = false;
    while (true) {
        if (!NextItem(item, end)) return false;
        if (end) break;
        bool ok = true;
        switch (item.type) {
            case kMainItem: ok = HandleMain(item); break;
            case kGlobalItem: ok = HandleGlobal(item); break;
            case kLocalItem: ok = HandleLocal(item); break;
            default: break;  // reserved item type: nothing defined to do
        }
        if (!ok) return false;
    }
    return Finish(out);
}

bool DescriptorParser::HandleMain(const Item& item) {
    if (local_.inDelimiter) return Fail("delimiter still open at a main item");
    FlushPendingUsages();
    bool ok = true;
    switch (item.tag) {
        case kInput: ok = AddField(ReportType::Input, item.data); break;
        case kOutput: ok = AddField(ReportType::Output, item.data); break;
        case kFeature: ok = AddField(ReportType::Feature, item.data); break;
        case kCollection: ok = OpenCollection(); break;
        case kEndCollection: ok = CloseCollection(); break;
        default: break;  // reserved main tag: carries no field
    }
    local_.usages.clear();
    local_.pendingMin.reset();
    local_.pendingMax.reset();
    local_.delimiterTaken = false;
    return ok;
}

bool DescriptorParser::HandleGlobal(const Item& item) {
    switch (item.tag) {
        case kUsagePage:
            if (item.data > 0xFFFF) return Fail("usage page wider than 16 bits");
            global_.usagePage = static_cast<uint16_t>(item.data);
            break;
        case kLogicalMinimum: global_.logicalMin = item.Signed(); break;
        case kLogicalMaximum: global_.logicalMax = item; break;
        case kPhysicalMinimum: global_.physicalMin = item.Signed(); break;
        case kPhysicalMaximum: global_.physicalMax = item; break;
        case kUnitExponent: global_.unitExponent = item.data; break;
        case kUnit: global_.unit = item.data; break;
        case kReportSize: global_.reportSize = item.data; break;
        case kReportCount: global_.reportCount = item.data; break;
        case kReportId:
            if (item.data == 0 || item.data > 0xFF) return Fail("report ID outside 1..255");
            global_.reportId = static_cast<uint8_t>(item.data);
            break;
        case kPush:
            if (globalStack_.size() >= kMaxGlobalStackDepth) return Fail("global state pushed too deep");
            globalStack_.push_back(global_);
            break;
        case kPop:
            if (globalStack_.empty()) return Fail("pop without push");
            global_ = globalStack_.back();
            globalStack_.pop_back();
            break;
        default: break;  // reserved global tag
    }
    return true;
}

// Within a delimiter set the usages are alternatives for one control; the
// first is the preferred one and the only one we keep.
bool DescriptorParser::HandleLocal(const Item& item) {
    const WrittenUsage usage{item.data, item.size == 4};
    const bool skipAlternative = local_.inDelimiter && local_.delimiterTaken;
    switch (item.tag) {
        case kUsage:
            if (skipAlternative) break;
            FlushPendingUsages();
            AddWrittenSpan({usage, usage});
            break;
        case kUsageMinimum:
            if (!skipAlternative) AddRangeEnd(local_.pendingMin, usage);
            break;
        case kUsageMaximum:
            if (!skipAlternative) AddRangeEnd(local_.pendingMax, usage);
            break;
        case kDelimiter:
            if (item.data == 1) {
                if (local_.inDelimiter) return Fail("nested delimiter");
                local_.inDelimiter = true;
                local_.delimiterTaken = false;
            } else if (item.data == 0) {
                if (!local_.inDelimiter) return Fail("delimiter closed without being opened");
                FlushPendingUsages();
                local_.inDelimiter = false;
            } else {
                return Fail("delimiter value other than open or close");
            }
            break;
        default: break;  // designators, strings, reserved: not used
    }
    return true;
}

void DescriptorParser::AddWrittenSpan(WrittenSpan span) {
    local_.usages.push_back(span);
    local_.pendingMin.reset();
    local_.pendingMax.reset();
    if (local_.inDelimiter) local_.delimiterTaken = true;
}

// Minimum and maximum may come in either order; a second one of a kind means
// the first had no partner.
void DescriptorParser::AddRangeEnd(std::optional<WrittenUsage>& end, WrittenUsage usage) {
    if (end) FlushPendingUsages();
    end = usage;
    if (local_.pendingMin && local_.pendingMax) AddWrittenSpan({*local_.pendingMin, *local_.pendingMax});
}

// A minimum or maximum without its partner stands for itself.
void DescriptorParser::FlushPendingUsages() {
    if (local_.pendingMin) AddWrittenSpan({*local_.pendingMin, *local_.pendingMin});
    if (local_.pendingMax) AddWrittenSpan({*local_.pendingMax, *local_.pendingMax});
}

// Non-extended usages take the usage page in effect at the main item.
bool DescriptorParser::ResolveUsages(std::vector<UsageSpan>& spans) {
    spans.clear();
    for (const WrittenSpan& written : local_.usages) {
        uint16_t page = global_.usagePage;
        if (written.min.extended)
            page = static_cast<uint16_t>(written.min.value >> 16);
        else if (written.max.extended)
            page = static_cast<uint16_t>(written.max.value >> 16);
        const UsageSpan span{page, static_cast<uint16_t>(written.min.value),
                             static_cast<uint16_t>(written.max.value)};
        if (span.min > span.max) return Fail("usage minimum above usage maximum");
        spans.push_back(span);
    }
    return true;
}

bool DescriptorParser::OpenCollection() {
    if (collectionStack_.size() >= kMaxCollectionDepth) return Fail("collections nested deeper than 32");
    std::vector<UsageSpan> spans;
    if (!ResolveUsages(spans)) return false;
    const LinkNode node = spans.empty() ? LinkNode{global_.usagePage, 0} : LinkNode{spans[0].page, spans[0].min};
    if (collectionStack_.empty()) current_.emplace();
    if (current_->nodes.size() >= 0xFFFF) return Fail("too many collections");
    current_->nodes.push_back(node);
    collectionStack_.push_back(static_cast<uint16_t>(current_->nodes.size() - 1));
    return true;
}

bool DescriptorParser::CloseCollection() {
    if (collectionStack_.empty()) return Fail("end collection without an open collection");
    collectionStack_.pop_back();
    if (collectionStack_.empty()) {
        done_.push_back(std::move(*current_));
        current_.reset();
    }
    return true;
}

bool DescriptorParser::AddField(ReportType type, uint32_t flags) {
    if (collectionStack_.empty()) return Fail("main item outside a collection");
    const uint64_t bits = uint64_t{global_.reportSize} * global_.reportCount;
    if (bits == 0) return true;  // occupies nothing
    const size_t typeIndex = static_cast<size_t>(type);
    const uint8_t id = global_.reportId;
    uint32_t& used = reportBits_[typeIndex][id];
    if (bits > kMaxReportDataBits - used) return Fail("report longer than 4096 bytes");
    const uint32_t bitOffset = used;
    used += static_cast<uint32_t>(bits);
    (id != 0 ? sawNumberedReport_ : sawUnnumberedReport_) = true;
    current_->hasReport[typeIndex][id] = true;
    if (flags & kFlagConstant) return true;  // padding

    std::vector<UsageSpan> spans;
    if (!ResolveUsages(spans)) return false;
    if (spans.empty()) spans.push_back({global_.usagePage, 0, 0});
    ReportTypeTables& tables = current_->impl->tables[typeIndex];
    if (tables.buttonCaps.size() + spans.size() > kMaxCapsPerType ||
        tables.valueCaps.size() + spans.size() > kMaxCapsPerType)
        return Fail("too many capabilities");
    if (!(flags & kFlagVariable)) return AddArray(tables, std::move(spans), flags, bitOffset);
    AddVariableCaps(tables, spans, flags, bitOffset);
    return true;
}

// The fields every capability shares, taken from the current state.
template <typename CapsT>
CapsT DescriptorParser::NewCaps(const UsageSpan& span, uint32_t flags, uint32_t bitOffset) const {
    const uint16_t link = collectionStack_.back();
    const LinkNode& linkNode = current_->nodes[link];
    CapsT caps;
    caps.usagePage = span.page;
    caps.reportId = global_.reportId;
    caps.isRange = span.min != span.max;
    caps.usageMin = span.min;
    caps.usageMax = span.max;
    caps.isAbsolute = !(flags & kFlagRelative);
    caps.linkCollection = link;
    caps.linkUsagePage = linkNode.usagePage;
    caps.linkUsage = linkNode.usage;
    caps.bitOffset = static_cast<uint16_t>(bitOffset);
    caps.logicalMin = global_.logicalMin;
    caps.logicalMax = ResolveMaximum(global_.logicalMax, global_.logicalMin);
    return caps;
}

// Variable fields take the usages in order, the last usage repeating over any
// fields left; each usage or range becomes one capability. 1-bit fields are
// buttons, wider ones values.
void DescriptorParser::AddVariableCaps(ReportTypeTables& tables, const std::vector<UsageSpan>& spans,
                                       uint32_t flags, uint32_t bitOffset) {
    const uint16_t size = static_cast<uint16_t>(global_.reportSize);
    uint32_t fieldsLeft = global_.reportCount;
    uint32_t field = 0;
    for (size_t i = 0; i < spans.size() && fieldsLeft > 0; ++i) {
        UsageSpan span = spans[i];
        const bool last = i + 1 == spans.size();
        const uint32_t take = last ? fieldsLeft : std::min(fieldsLeft, span.Count());
        if (take < span.Count()) span.max = static_cast<uint16_t>(span.min + take - 1);
        const uint16_t fieldOffset = static_cast<uint16_t>(bitOffset + field * size);
        if (size == 1) {
            ButtonCaps caps = NewCaps<ButtonCaps>(span, flags, fieldOffset);
            caps.reportSize = 1;
            caps.reportCount = static_cast<uint16_t>(take);
            tables.buttonCaps.push_back(caps);
            tables.buttonCapArray.push_back(-1);
        } else {
            ValueCaps caps = NewCaps<ValueCaps>(span, flags, fieldOffset);
            caps.hasNull = (flags & kFlagNullState) != 0;
            caps.bitSize = size;
            caps.reportCount = static_cast<uint16_t>(take);
            caps.physicalMin = global_.physicalMin;
            caps.physicalMax = ResolveMaximum(global_.physicalMax, global_.physicalMin);
            caps.units = global_.unit;
            caps.unitsExp = global_.unitExponent;
            tables.valueCaps.push_back(caps);
        }
        field += take;
        fieldsLeft -= take;
    }
}

// An array field is one set of selectors over all its usages; it is listed
// once per usage or range so that every page it can report is visible.
bool DescriptorParser::AddArray(ReportTypeTables& tables, std::vector<UsageSpan> spans, uint32_t flags,
                                uint32_t bitOffset) {
    if (global_.reportSize > kMaxSelectorBits) return Fail("array selectors wider than 32 bits");
    ArrayField field;
    field.reportId = global_.reportId;
    field.linkCollection = collectionStack_.back();
    field.bitOffset = bitOffset;
    field.reportSize = static_cast<uint16_t>(global_.reportSize);
    field.reportCount = static_cast<uint16_t>(global_.reportCount);
    field.logicalMin = global_.logicalMin;
    field.logicalMax = ResolveMaximum(global_.logicalMax, global_.logicalMin);
    field.usages = std::move(spans);
    const int32_t arrayIndex = static_cast<int32_t>(tables.arrays.size());
    for (const UsageSpan& span : field.usages) {
        ButtonCaps caps = NewCaps<ButtonCaps>(span, flags, bitOffset);
        caps.isArray = true;
        caps.reportSize = field.reportSize;
        caps.reportCount = field.reportCount;
        tables.buttonCaps.push_back(caps);
        tables.buttonCapArray.push_back(arrayIndex);
    }
    tables.arrays.push_back(std::move(field));
    return true;
}

bool DescriptorParser::Finish(std::vector<TopLevelCollection>& out) {
    itemStart_ = bytes_.size();
    if (!collectionStack_.empty()) return Fail("collection not closed");
    if (done_.empty()) return Fail("no collection");
    // Readers tell reports apart by their first byte; a mix cannot be decoded.
    if (sawNumberedReport_ && sawUnnumberedReport_) return Fail("reports with and without report ID");
    size_t unnumberedCollections = 0;
    for (const CollectionBuilder& builder : done_) {
        const bool unnumbered = std::any_of(builder.hasReport.begin(), builder.hasReport.end(),
                                            [](const auto& ids) { return ids[0]; });
        unnumberedCollections += unnumbered ? 1 : 0;
    }
    if (unnumberedCollections > 1) return Fail("several top-level collections without report IDs");

    out.clear();
    for (CollectionBuilder& builder : done_) {
        PreparsedData::Impl& impl = *builder.impl;
        std::array<bool, 256> usedIds{};
        for (size_t type = 0; type < kReportTypeCount; ++type) {
            uint32_t longest = 0;
            for (size_t id = 0; id < 256; ++id) {
                if (!builder.hasReport[type][id]) continue;
                usedIds[id] = true;
                // The report-ID byte counts even when the collection has no IDs.
                longest = std::max(longest, (reportBits_[type][id] + 7) / 8 + 1);
            }
            impl.tables[type].byteLength = static_cast<uint16_t>(longest);
        }
        for (size_t id = 0; id < 256; ++id)
            if (usedIds[id]) impl.reportIds.push_back(static_cast<uint8_t>(id));
        if (impl.reportIds.empty()) impl.reportIds.push_back(0);

        Caps& caps = impl.caps;
        caps.usagePage = builder.nodes[0].usagePage;
        caps.usage = builder.nodes[0].usage;
        caps.numberLinkCollectionNodes = static_cast<uint16_t>(builder.nodes.size());
        const auto& in = impl.tables[static_cast<size_t>(ReportType::Input)];
        const auto& outTables = impl.tables[static_cast<size_t>(ReportType::Output)];
        const auto& feature = impl.tables[static_cast<size_t>(ReportType::Feature)];
        caps.inputReportByteLength = in.byteLength;
        caps.outputReportByteLength = outTables.byteLength;
        caps.featureReportByteLength = feature.byteLength;
        caps.numberInputButtonCaps = static_cast<uint16_t>(in.buttonCaps.size());
        caps.numberInputValueCaps = static_cast<uint16_t>(in.valueCaps.size());
        caps.numberOutputButtonCaps = static_cast<uint16_t>(outTables.buttonCaps.size());
        caps.numberOutputValueCaps = static_cast<uint16_t>(outTables.valueCaps.size());
        caps.numberFeatureButtonCaps = static_cast<uint16_t>(feature.buttonCaps.size());
        caps.numberFeatureValueCaps = static_cast<uint16_t>(feature.valueCaps.size());

        TopLevelCollection collection;
        collection.usagePage = caps.usagePage;
        collection.usage = caps.usage;
        collection.preparsed = std::make_shared<const PreparsedData>(std::move(builder.impl));
        out.push_back(std::move(collection));
    }
    return true;
}

}  // namespace

bool ParseReportDescriptor(std::span<const uint8_t> descriptor, std::vector<TopLevelCollection>& collections,
                           std::string* error) {
    collections.clear();
    DescriptorParser parser(descriptor);
    if (parser.Run(collections)) return true;
    collections.clear();
    if (DebugOutputEnabled()) DebugOutput("hid: report descriptor refused: " + parser.Error());
    if (error) *error = parser.Error();
    return false;
}

}  // namespace koru::hid
