#include <gtest/gtest.h>

#include "catalogue/DeviceCatalogue.h"

namespace {

TEST(CatalogueTest, TwinsPointBothWaysBetweenCableAndReceiverOfTheSameInterface) {
    for (size_t row = 0; row < DeviceInterfaceTable.size(); ++row) {
        const InterfaceSlot& r = DeviceInterfaceTable[row];
        EXPECT_EQ(r.connected, 0) << row;
        EXPECT_TRUE(r.path.empty()) << row;
        if (!r.hasTwin) continue;
        ASSERT_LT(r.twinIndex, DeviceInterfaceTable.size()) << row;
        const InterfaceSlot& twin = DeviceInterfaceTable[r.twinIndex];
        EXPECT_EQ(twin.twinIndex, row);
        EXPECT_EQ(twin.role, r.role);
        EXPECT_EQ(twin.collectionNumber, r.collectionNumber);
        EXPECT_NE(IsReceiverKind(twin.kind), IsReceiverKind(r.kind)) << row;
        EXPECT_EQ(CableKindOf(twin.kind), CableKindOf(r.kind)) << row;
    }
}

TEST(CatalogueTest, EveryInterfaceRowLeadsToTheModelOfItsCableIdentity) {
    // Receivers are keyed by their twin's cable identity: rows 2, 3 are the
    // keyboard's, 6, 7 the mouse's.
    const int expected[kInterfaceRowCount] = {1, 1, 1, 1, 0, 0, 0, 0, 2, 2, 3};
    for (int row = 0; row < static_cast<int>(kInterfaceRowCount); ++row)
        EXPECT_EQ(FindModelOfInterfaceRow(row), expected[row]) << row;
    EXPECT_EQ(FindModelOfInterfaceRow(-1), -1);
    EXPECT_EQ(FindModelOfInterfaceRow(static_cast<int>(kInterfaceRowCount)), -1);
}

TEST(CatalogueTest, LookupsFindTheFirstMatchingRowOrMinusOne) {
    struct Case {
        uint16_t vendor, product, kind, roleOrVariant;
        int interfaceRow, modelRow;
    };
    const Case cases[] = {
        {0x320F, 0x5055, kKindKeyboard, kRoleCommand, 0, 1},
        {0x320F, 0x5055, kKindKeyboard, kRoleConsumer, 1, -1},
        {0x320F, 0x5088, kKindKeyboardReceiver, kRoleCommand, 2, -1},
        {0x320F, 0x221D, kKindMouseReceiver, kRoleConsumer, 7, -1},
        {0x320F, 0x50EF, kKindMouse, kRoleCommand, 4, 0},
        {0x320F, 0x1004, kKindMousePad, kRoleCommand, 8, 2},
        {0x0C76, 0x1630, kKindHeadset, kRoleCommand, 10, 3},
        {0x320F, 0x5055, kKindMouse, kRoleCommand, -1, -1},  // right product, wrong kind
        {0x1234, 0x5678, kKindKeyboard, kRoleCommand, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindInterfaceRow(c.vendor, c.product, c.kind, c.roleOrVariant), c.interfaceRow)
            << std::hex << c.product << " kind " << c.kind;
        EXPECT_EQ(FindModel(c.vendor, c.product, c.kind, c.roleOrVariant), c.modelRow)
            << std::hex << c.product << " kind " << c.kind;
    }
}

TEST(CatalogueTest, ModelPageAndFirmwareRowsLineUp) {
    // The three tables are indexed alike: the page file and the firmware row
    // must belong to the model of the same row.
    const std::string_view pageOf[] = {"mousedevice", "keyboarddevice", "mousepaddevice",
                                       "hs6533device"};
    for (size_t i = 0; i < kModelRowCount; ++i) {
        EXPECT_NE(DevicePageTable[i].pageFile.find(pageOf[i]), std::string_view::npos) << i;
        const DeviceModel& m = DeviceModelTable[i];
        EXPECT_EQ(FindInterfaceRow(m.vendorId, m.productId, m.kind, m.variant),
                  FindInterfaceRow(m.vendorId, m.productId, m.kind, kRoleCommand));
    }
    EXPECT_EQ(DevicePageTable[1].keyCount, 170);
    EXPECT_EQ(FirmwareListTable[2].modelCode, "QT40M27C_1");
    EXPECT_EQ(FirmwareListTable[3].versionText, "V1000");
}

TEST(CatalogueTest, SameInterfaceComparesIdentityButNotConnectionTwinOrPath) {
    const InterfaceSlot base = DeviceInterfaceTable[0];
    InterfaceSlot live = base;
    live.connected = 1;
    live.hasTwin = 0;
    live.twinIndex = 9;
    live.path = "\\\\?\\hid#vid_320f&pid_5055&mi_01&col04#x#{guid}";
    EXPECT_TRUE(SameInterface(base, live));

    uint16_t InterfaceSlot::*const identity[] = {
        &InterfaceSlot::vendorId, &InterfaceSlot::productId,        &InterfaceSlot::interfaceNumber,
        &InterfaceSlot::collectionNumber, &InterfaceSlot::kind,     &InterfaceSlot::role,
        &InterfaceSlot::usagePage,        &InterfaceSlot::usage};
    for (auto field : identity) {
        InterfaceSlot other = base;
        other.*field = static_cast<uint16_t>(other.*field + 1);
        EXPECT_FALSE(SameInterface(base, other));
    }
}

TEST(CatalogueTest, ProductsOfTheCatalogueAreRecognised) {
    EXPECT_TRUE(IsCatalogueProduct(0x320F, 0x221D));
    EXPECT_TRUE(IsCatalogueProduct(0x0C76, 0x1630));
    EXPECT_FALSE(IsCatalogueProduct(0x320F, 0x1630));
}

}  // namespace
