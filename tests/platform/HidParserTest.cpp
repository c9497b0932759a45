#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hid/HidParser.h"
#include "tests/platform/HidDescriptorSamples.h"

using namespace koru::hid;
using namespace koru::hid::samples;

namespace {

std::vector<TopLevelCollection> ParseOk(const Bytes& descriptor) {
    std::vector<TopLevelCollection> collections;
    std::string error;
    EXPECT_TRUE(ParseReportDescriptor(descriptor, collections, &error)) << error;
    return collections;
}

// The single collection of a descriptor.
std::shared_ptr<const PreparsedData> ParseOne(const Bytes& descriptor) {
    std::vector<TopLevelCollection> collections = ParseOk(descriptor);
    if (collections.size() != 1) {
        ADD_FAILURE() << collections.size() << " collections";
        return nullptr;
    }
    return collections[0].preparsed;
}

struct UsagesResult {
    Status status;
    std::vector<uint16_t> usages;
};

UsagesResult Usages(const PreparsedData& data, ReportType type, uint16_t page, const Bytes& report,
                    uint32_t capacity = 32) {
    std::vector<uint16_t> list(capacity, 0xBEEF);
    uint32_t length = capacity;
    const Status status = data.GetUsages(type, page, 0, list.data(), &length, report);
    list.resize(length);
    return {status, list};
}

using U16s = std::vector<uint16_t>;

}  // namespace

// ---- Structure: caps, report lengths, capability tables ----

TEST(HidParserCaps, BootKeyboard) {
    auto keyboard = ParseOne(kBootKeyboard);
    ASSERT_TRUE(keyboard);
    const Caps& caps = keyboard->GetCaps();
    EXPECT_EQ(caps.usagePage, 0x01);
    EXPECT_EQ(caps.usage, 0x06);
    EXPECT_EQ(caps.inputReportByteLength, 9);  // 8 bytes + the (zero) report-ID byte
    EXPECT_EQ(caps.outputReportByteLength, 2);
    EXPECT_EQ(caps.featureReportByteLength, 0);
    EXPECT_EQ(caps.numberInputButtonCaps, 2);
    EXPECT_EQ(caps.numberInputValueCaps, 0);
    EXPECT_EQ(caps.numberOutputButtonCaps, 1);
    EXPECT_EQ(caps.numberLinkCollectionNodes, 1);
    EXPECT_EQ(keyboard->ReportIds(), std::vector<uint8_t>{0});

    const std::vector<ButtonCaps> buttons = keyboard->GetSpecificButtonCaps(ReportType::Input);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_FALSE(buttons[0].isArray);
    EXPECT_TRUE(buttons[0].isRange);
    EXPECT_EQ(buttons[0].usagePage, 0x07);
    EXPECT_EQ(buttons[0].usageMin, 0xE0);
    EXPECT_EQ(buttons[0].usageMax, 0xE7);
    EXPECT_EQ(buttons[0].bitOffset, 0);
    EXPECT_EQ(buttons[0].reportCount, 8);
    EXPECT_TRUE(buttons[1].isArray);
    EXPECT_EQ(buttons[1].usageMin, 0x00);
    EXPECT_EQ(buttons[1].usageMax, 0x65);
    EXPECT_EQ(buttons[1].bitOffset, 16);  // after the modifiers and the reserved byte
    EXPECT_EQ(buttons[1].reportSize, 8);
    EXPECT_EQ(buttons[1].reportCount, 6);

    const std::vector<ButtonCaps> leds = keyboard->GetSpecificButtonCaps(ReportType::Output, 0x08);
    ASSERT_EQ(leds.size(), 1u);
    EXPECT_EQ(leds[0].usageMin, 1);
    EXPECT_EQ(leds[0].usageMax, 5);

    // Filters: usage inside a range matches; another page does not.
    EXPECT_EQ(keyboard->GetSpecificButtonCaps(ReportType::Input, 0x07, 0, 0xE3).size(), 1u);
    EXPECT_TRUE(keyboard->GetSpecificButtonCaps(ReportType::Input, 0x09).empty());
    EXPECT_EQ(keyboard->MaxUsageListLength(ReportType::Input, 0x07), 14u);  // 8 modifiers + 6 keys
    EXPECT_EQ(keyboard->MaxUsageListLength(ReportType::Input, 0), 14u);
    EXPECT_EQ(keyboard->MaxUsageListLength(ReportType::Output, 0x08), 5u);
    EXPECT_EQ(keyboard->MaxUsageListLength(ReportType::Feature, 0), 0u);
}

TEST(HidParserCaps, MouseValuesCarryTheirLinkCollection) {
    auto mouse = ParseOne(kWheelMouse);
    ASSERT_TRUE(mouse);
    const Caps& caps = mouse->GetCaps();
    EXPECT_EQ(caps.inputReportByteLength, 5);
    EXPECT_EQ(caps.numberInputButtonCaps, 1);
    EXPECT_EQ(caps.numberInputValueCaps, 3);  // X, Y and wheel each get their own
    EXPECT_EQ(caps.numberLinkCollectionNodes, 2);

    const std::vector<ValueCaps> values = mouse->GetSpecificValueCaps(ReportType::Input);
    ASSERT_EQ(values.size(), 3u);
    const uint16_t expectedUsages[] = {0x30, 0x31, 0x38};
    for (size_t i = 0; i < values.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(values[i].usageMin, expectedUsages[i]);
        EXPECT_FALSE(values[i].isRange);
        EXPECT_FALSE(values[i].isAbsolute);
        EXPECT_EQ(values[i].bitOffset, 8 + 8 * i);
        EXPECT_EQ(values[i].bitSize, 8);
        EXPECT_EQ(values[i].reportCount, 1);
        EXPECT_EQ(values[i].logicalMin, -127);
        EXPECT_EQ(values[i].logicalMax, 127);
        EXPECT_EQ(values[i].linkCollection, 1);
        EXPECT_EQ(values[i].linkUsagePage, 0x01);
        EXPECT_EQ(values[i].linkUsage, 0x01);  // Pointer
    }
    EXPECT_EQ(mouse->GetSpecificValueCaps(ReportType::Input, 0x01, 1, 0x31).size(), 1u);
    EXPECT_TRUE(mouse->GetSpecificValueCaps(ReportType::Input, 0x01, 2).empty());
}

TEST(HidParserCaps, VendorCommandReportsAre65BytesWithId) {
    auto vendor = ParseOne(kVendorCommand);
    ASSERT_TRUE(vendor);
    const Caps& caps = vendor->GetCaps();
    EXPECT_EQ(caps.usagePage, 0xFF1C);
    EXPECT_EQ(caps.usage, 0x0092);
    EXPECT_EQ(caps.inputReportByteLength, 65);
    EXPECT_EQ(caps.outputReportByteLength, 65);
    EXPECT_EQ(caps.numberInputValueCaps, 1);
    EXPECT_EQ(caps.numberOutputValueCaps, 1);
    EXPECT_EQ(vendor->ReportIds(), std::vector<uint8_t>{4});
    const std::vector<ValueCaps> in = vendor->GetSpecificValueCaps(ReportType::Input);
    ASSERT_EQ(in.size(), 1u);
    EXPECT_EQ(in[0].reportId, 4);
    EXPECT_EQ(in[0].reportCount, 64);
    EXPECT_EQ(in[0].logicalMax, 255);
}

TEST(HidParserCaps, InterfaceWithSeveralTopLevelCollectionsIsSplitInOrder) {
    const Bytes descriptor = MultiCollectionInterface();
    const std::vector<TopLevelCollection> collections = ParseOk(descriptor);
    ASSERT_EQ(collections.size(), 3u);

    struct Expected {
        uint16_t usagePage, usage;
        uint8_t reportId;
        uint16_t inputLength, outputLength, inputButtonCaps, inputValueCaps;
    };
    const Expected expected[] = {
        {0x000C, 0x0001, 3, 5, 0, 1, 0},
        {0xFF1C, 0x0092, 4, 65, 65, 0, 1},
        {0x0001, 0x0080, 2, 2, 0, 1, 0},
    };
    for (size_t i = 0; i < collections.size(); ++i) {
        SCOPED_TRACE(i);
        const TopLevelCollection& c = collections[i];
        const Caps& caps = c.preparsed->GetCaps();
        EXPECT_EQ(c.usagePage, expected[i].usagePage);
        EXPECT_EQ(c.usage, expected[i].usage);
        EXPECT_EQ(caps.usagePage, expected[i].usagePage);
        EXPECT_EQ(caps.usage, expected[i].usage);
        EXPECT_EQ(c.preparsed->ReportIds(), std::vector<uint8_t>{expected[i].reportId});
        EXPECT_TRUE(c.preparsed->UsesReportId(expected[i].reportId));
        EXPECT_FALSE(c.preparsed->UsesReportId(0));
        EXPECT_EQ(caps.inputReportByteLength, expected[i].inputLength);
        EXPECT_EQ(caps.outputReportByteLength, expected[i].outputLength);
        EXPECT_EQ(caps.numberInputButtonCaps, expected[i].inputButtonCaps);
        EXPECT_EQ(caps.numberInputValueCaps, expected[i].inputValueCaps);
    }
    // Each collection answers only for its own reports.
    const Bytes consumerReport = {3, 0xE9, 0x00, 0x00, 0x00};
    EXPECT_EQ(Usages(*collections[2].preparsed, ReportType::Input, 0x0C, consumerReport).status,
              Status::UsageNotFound);
    EXPECT_EQ(Usages(*collections[0].preparsed, ReportType::Input, 0x0C, consumerReport).usages, U16s{0xE9});
}

TEST(HidParserCaps, ReportLengthIsTheLargestReportOfTheType) {
    auto mouse = ParseOne(kTwoReportMouse);
    ASSERT_TRUE(mouse);
    EXPECT_EQ(mouse->GetCaps().inputReportByteLength, 4);  // ID 1: 3 bytes + ID; ID 2: 1 byte + ID
    EXPECT_EQ(mouse->ReportIds(), (std::vector<uint8_t>{1, 2}));
}

// Item forms that are unusual but valid.
TEST(HidParserCaps, ItemVariantsAreUnderstood) {
    struct Case {
        const char* name;
        Bytes descriptor;
        uint16_t page, usageMin, usageMax;
        uint16_t inputLength;
    };
    const Case cases[] = {
        {"long item skipped",
         {0xFE, 0x02, 0x10, 0xAA, 0xBB,  // Long item, 2 data bytes
          0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x05, 0x07, 0x09, 0x04, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02,
          0x95, 0x07, 0x81, 0x01, 0xC0},
         0x07, 0x04, 0x04, 2},
        {"extended usage carries its page",
         {0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,  // Generic Desktop page in effect
          0x0B, 0xE9, 0x00, 0x0C, 0x00,        // Usage (Consumer: Volume Up), 32-bit
          0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0xC0},
         0x0C, 0xE9, 0xE9, 2},
        {"push and pop restore the page and sizes",
         {0x05, 0x09, 0x75, 0x01, 0x95, 0x04, 0xA1, 0x01,
          0xA4,                    // Push
          0x05, 0x0C, 0x75, 0x10,  // page and size changed...
          0xB4,                    // Pop: ...and restored
          0x19, 0x01, 0x29, 0x04, 0x81, 0x02, 0x95, 0x04, 0x81, 0x01, 0xC0},
         0x09, 0x01, 0x04, 2},
        {"delimiter keeps the preferred usage",
         {0x05, 0x09, 0xA1, 0x01,
          0xA9, 0x01, 0x09, 0x02, 0x09, 0x05, 0xA9, 0x00,  // Delimiter { Usage 2, Usage 5 }
          0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0xC0},
         0x09, 0x02, 0x02, 2},
        {"report size 0 occupies nothing",
         {0x05, 0x09, 0xA1, 0x01, 0x09, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02,
          0x75, 0x00, 0x95, 0x10, 0x81, 0x02, 0xC0},
         0x09, 0x01, 0x01, 2},
        {"usage maximum before minimum",
         {0x05, 0x09, 0xA1, 0x01, 0x29, 0x08, 0x19, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0xC0},
         0x09, 0x01, 0x08, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto data = ParseOne(c.descriptor);
        ASSERT_TRUE(data);
        const std::vector<ButtonCaps> buttons = data->GetSpecificButtonCaps(ReportType::Input);
        ASSERT_EQ(buttons.size(), 1u);
        EXPECT_EQ(buttons[0].usagePage, c.page);
        EXPECT_EQ(buttons[0].usageMin, c.usageMin);
        EXPECT_EQ(buttons[0].usageMax, c.usageMax);
        EXPECT_EQ(data->GetCaps().inputReportByteLength, c.inputLength);
    }
}

// ---- Extraction ----

TEST(HidParserUsages, KeyboardBitfieldAndArrayInReportOrder) {
    auto keyboard = ParseOne(kBootKeyboard);
    ASSERT_TRUE(keyboard);
    // Modifier bits 1 and 5: Left Shift and Right Shift.
    const Bytes report = {0x00, 0x22, 0x00, 0x04, 0x05, 0x00, 0xFF, 0x01, 0x00};
    const UsagesResult keys = Usages(*keyboard, ReportType::Input, 0x07, report);
    EXPECT_EQ(keys.status, Status::Success);
    // Selector 0 (no key) and 0xFF (above the logical maximum) give nothing.
    EXPECT_EQ(keys.usages, (U16s{0xE1, 0xE5, 0x04, 0x05, 0x01}));

    // The LED output report.
    EXPECT_EQ(Usages(*keyboard, ReportType::Output, 0x08, {0x00, 0x05}).usages, (U16s{1, 3}));
}

TEST(HidParserUsages, StatusCases) {
    auto keyboard = ParseOne(kBootKeyboard);
    auto twoReports = ParseOne(kTwoReportMouse);
    ASSERT_TRUE(keyboard && twoReports);
    const Bytes keyboardReport = {0x00, 0x01, 0x00, 0x04, 0x05, 0x06, 0x00, 0x00, 0x00};
    struct Case {
        const char* name;
        const PreparsedData* data;
        ReportType type;
        uint16_t page;
        Bytes report;
        uint32_t capacity;
        Status status;
        U16s usages;
    };
    const Case cases[] = {
        {"list too short keeps what fits", keyboard.get(), ReportType::Input, 0x07, keyboardReport, 2,
         Status::BufferTooSmall, {0xE0, 0x04}},
        {"exact capacity suffices", keyboard.get(), ReportType::Input, 0x07, keyboardReport, 4, Status::Success,
         {0xE0, 0x04, 0x05, 0x06}},
        {"page in no report", keyboard.get(), ReportType::Input, 0x09, keyboardReport, 8, Status::UsageNotFound, {}},
        {"type without reports", keyboard.get(), ReportType::Feature, 0x07, keyboardReport, 8,
         Status::UsageNotFound, {}},
        {"short report", keyboard.get(), ReportType::Input, 0x07, {0x00, 0x01, 0x00, 0x04}, 8,
         Status::InvalidReportLength, {}},
        {"empty report", keyboard.get(), ReportType::Input, 0x07, {}, 8, Status::InvalidReportLength, {}},
        {"report ID on a collection without IDs", keyboard.get(), ReportType::Input, 0x07,
         {0x05, 0x01, 0x00, 0x04, 0x05, 0x06, 0x00, 0x00, 0x00}, 8, Status::IncompatibleReportId, {}},
        {"buttons live in report 1, not 2", twoReports.get(), ReportType::Input, 0x09, {0x02, 0xFF, 0x00, 0x00}, 8,
         Status::IncompatibleReportId, {}},
        {"buttons of report 1", twoReports.get(), ReportType::Input, 0x09, {0x01, 0x81, 0x00, 0x00}, 8,
         Status::Success, {1, 8}},
        {"invalid report type", keyboard.get(), static_cast<ReportType>(7), 0x07, keyboardReport, 8,
         Status::InvalidReportType, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const UsagesResult result = Usages(*c.data, c.type, c.page, c.report, c.capacity);
        EXPECT_EQ(result.status, c.status) << StatusName(result.status);
        EXPECT_EQ(result.usages, c.usages);
    }
    uint16_t slot = 0;
    EXPECT_EQ(keyboard->GetUsages(ReportType::Input, 0x07, 0, &slot, nullptr, keyboardReport),
              Status::InvalidArgument);
}

TEST(HidParserUsages, ConsumerArraySkipsOutOfRangeSelectors) {
    auto consumer = ParseOne(kConsumerControl);
    ASSERT_TRUE(consumer);
    EXPECT_EQ(consumer->MaxUsageListLength(ReportType::Input, 0x0C), 2u);
    EXPECT_EQ(Usages(*consumer, ReportType::Input, 0x0C, {0x03, 0xE9, 0x00, 0xCD, 0x00}).usages,
              (U16s{0xE9, 0xCD}));
    // 0x0400 lies above the logical maximum 1023.
    const UsagesResult outside = Usages(*consumer, ReportType::Input, 0x0C, {0x03, 0x00, 0x04, 0xEA, 0x00});
    EXPECT_EQ(outside.status, Status::Success);
    EXPECT_EQ(outside.usages, U16s{0xEA});
}

TEST(HidParserValues, RawAndSignedValues) {
    auto mouse = ParseOne(kWheelMouse);
    auto twoReports = ParseOne(kTwoReportMouse);
    ASSERT_TRUE(mouse && twoReports);
    const Bytes report = {0x00, 0x05, 0xFB, 0x0A, 0xFF};  // buttons 1+3, X -5, Y 10, wheel -1
    EXPECT_EQ(Usages(*mouse, ReportType::Input, 0x09, report).usages, (U16s{1, 3}));

    struct Case {
        const char* name;
        const PreparsedData* data;
        uint16_t page, usage;
        Bytes report;
        Status status;
        uint32_t raw;
        int32_t scaled;
    };
    const Case cases[] = {
        {"X", mouse.get(), 0x01, 0x30, report, Status::Success, 0xFB, -5},
        {"Y", mouse.get(), 0x01, 0x31, report, Status::Success, 0x0A, 10},
        {"wheel", mouse.get(), 0x01, 0x38, report, Status::Success, 0xFF, -1},
        {"16-bit X", twoReports.get(), 0x01, 0x30, {0x01, 0x00, 0x18, 0xFC}, Status::Success, 0xFC18, -1000},
        {"pan in report 2", twoReports.get(), 0x0C, 0x238, {0x02, 0xFE, 0x00, 0x00}, Status::Success, 0xFE, -2},
        {"X asked of report 2", twoReports.get(), 0x01, 0x30, {0x02, 0x00, 0x00, 0x00},
         Status::IncompatibleReportId, 0, 0},
        {"no such value", mouse.get(), 0x01, 0x32, report, Status::UsageNotFound, 0, 0},
        {"buttons are not values", mouse.get(), 0x09, 0x01, report, Status::UsageNotFound, 0, 0},
        {"short report", mouse.get(), 0x01, 0x30, {0x00, 0x05, 0xFB}, Status::InvalidReportLength, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t raw = 0;
        int32_t scaled = 0;
        EXPECT_EQ(c.data->GetUsageValue(ReportType::Input, c.page, 0, c.usage, &raw, c.report), c.status);
        EXPECT_EQ(c.data->GetScaledUsageValue(ReportType::Input, c.page, 0, c.usage, &scaled, c.report), c.status);
        EXPECT_EQ(raw, c.raw);
        EXPECT_EQ(scaled, c.scaled);
    }
}

TEST(HidParserValues, ScaledValues) {
    auto values = ParseOne(kScaledValues);
    ASSERT_TRUE(values);
    EXPECT_EQ(values->GetCaps().inputReportByteLength, 6);
    struct Case {
        const char* name;
        uint16_t usage;
        Bytes report;  // ID, dial (16 bits), slider, wheel, Rz
        Status status;
        int32_t scaled;
    };
    const Case cases[] = {
        {"dial scaled onto 0..100", 0x37, {0, 0xF4, 0x01, 0, 0, 0}, Status::Success, 50},
        {"dial at its maximum", 0x37, {0, 0xE8, 0x03, 0, 0, 0}, Status::Success, 100},
        {"dial beyond its logical range", 0x37, {0, 0xE9, 0x03, 0, 0, 0}, Status::ValueOutOfRange, 0},
        {"slider without physical range is logical", 0x36, {0, 0, 0, 0xF6, 0, 0}, Status::Success, -10},
        {"slider null state", 0x36, {0, 0, 0, 0x80, 0, 0}, Status::NullValue, 0},
        {"maximum 0xFF read unsigned", 0x38, {0, 0, 0, 0, 0xFF, 0}, Status::Success, 255},
        {"empty physical range", 0x35, {0, 0, 0, 0, 0, 0x03}, Status::BadLogPhyValues, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t scaled = 0;
        EXPECT_EQ(values->GetScaledUsageValue(ReportType::Input, 0x01, 0, c.usage, &scaled, c.report), c.status);
        EXPECT_EQ(scaled, c.scaled);
    }
}

TEST(HidParserValues, VendorValueArrayReadsItsFirstField) {
    auto vendor = ParseOne(kVendorCommand);
    ASSERT_TRUE(vendor);
    Bytes report(65, 0);
    report[0] = 4;
    report[1] = 0xAA;
    report[2] = 0x55;
    uint32_t raw = 0;
    EXPECT_EQ(vendor->GetUsageValue(ReportType::Input, 0xFF1C, 0, 0x01, &raw, report), Status::Success);
    EXPECT_EQ(raw, 0xAAu);
    EXPECT_EQ(vendor->GetUsageValue(ReportType::Output, 0xFF1C, 0, 0x02, &raw, Bytes(64, 4)),
              Status::InvalidReportLength);
}

// ---- Malformed descriptors ----

TEST(HidParserMalformed, RefusedWithReason) {
    struct Case {
        const char* name;
        Bytes descriptor;
        const char* reason;
    };
    Bytes deepNesting;
    for (int i = 0; i < 33; ++i) deepNesting.insert(deepNesting.end(), {0xA1, 0x00});
    deepNesting.insert(deepNesting.end(), 33, 0xC0);
    const Bytes deepPush(33, 0xA4);
    Bytes twoUnnumbered = Concat({&kBootKeyboard, &kWheelMouse});

    const Case cases[] = {
        {"empty", {}, "no collection"},
        {"main item outside a collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02}, "outside a collection"},
        {"end collection first", {0xC0}, "without an open collection"},
        {"collection left open", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01}, "not closed"},
        {"truncated short item", {0x05, 0x01, 0x06, 0x1C}, "truncated item"},
        {"truncated long item", {0xFE, 0x05, 0x00, 0x01}, "truncated long item"},
        {"report ID 0", {0xA1, 0x01, 0x85, 0x00, 0xC0}, "report ID"},
        {"report ID wider than a byte", {0xA1, 0x01, 0x86, 0x00, 0x01, 0xC0}, "report ID"},
        {"pop without push", {0xB4}, "pop without push"},
        {"push too deep", deepPush, "pushed too deep"},
        {"collections too deep", deepNesting, "nested deeper"},
        {"report over 4096 bytes",
         {0xA1, 0x01, 0x75, 0x20, 0x96, 0xFF, 0xFF, 0x81, 0x02, 0xC0}, "longer than 4096"},
        {"size times count beyond 32 bits",
         {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x01, 0xC0},
         "longer than 4096"},
        {"reports with and without ID",
         {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02, 0xC0}, "with and without"},
        {"two collections without IDs", twoUnnumbered, "without report IDs"},
        {"usage minimum above maximum",
         {0xA1, 0x01, 0x19, 0x05, 0x29, 0x01, 0x75, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0}, "minimum above"},
        {"nested delimiter", {0xA1, 0x01, 0xA9, 0x01, 0xA9, 0x01}, "nested delimiter"},
        {"delimiter closed unopened", {0xA9, 0x00}, "without being opened"},
        {"delimiter open at main item", {0xA1, 0x01, 0xA9, 0x01, 0x09, 0x01, 0xC0}, "delimiter still open"},
        {"array selectors over 32 bits",
         {0xA1, 0x01, 0x75, 0x21, 0x95, 0x01, 0x81, 0x00, 0xC0}, "wider than 32 bits"},
        {"usage page over 16 bits", {0x07, 0x00, 0x00, 0x01, 0x00, 0xA1, 0x01, 0xC0}, "usage page"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<TopLevelCollection> collections{TopLevelCollection{}};
        std::string error;
        EXPECT_FALSE(ParseReportDescriptor(c.descriptor, collections, &error));
        EXPECT_TRUE(collections.empty());
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}
