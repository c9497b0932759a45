#include "catalogue/DeviceCatalogue.h"

namespace {

// A row of the interface table: connected 0 and an empty path.
InterfaceSlot Row(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                  uint16_t collectionNumber, uint16_t kind, uint16_t role, uint16_t usagePage,
                  uint16_t usage, uint16_t hasTwin, uint16_t twinIndex) {
    InterfaceSlot row;
    row.vendorId = vendorId;
    row.productId = productId;
    row.interfaceNumber = interfaceNumber;
    row.collectionNumber = collectionNumber;
    row.kind = kind;
    row.role = role;
    row.usagePage = usagePage;
    row.usage = usage;
    row.hasTwin = hasTwin;
    row.twinIndex = twinIndex;
    return row;
}

}  // namespace

const std::array<InterfaceSlot, kInterfaceRowCount> DeviceInterfaceTable{{
    Row(0x320F, 0x5055, 1, 4, kKindKeyboard, kRoleCommand, 0xFF1C, 0x0092, 1, 2),
    Row(0x320F, 0x5055, 1, 3, kKindKeyboard, kRoleConsumer, 0x000C, 0x0001, 1, 3),
    Row(0x320F, 0x5088, 1, 4, kKindKeyboardReceiver, kRoleCommand, 0xFF1C, 0x0092, 1, 0),
    Row(0x320F, 0x5088, 1, 3, kKindKeyboardReceiver, kRoleConsumer, 0x000C, 0x0001, 1, 1),
    Row(0x320F, 0x50EF, 1, 4, kKindMouse, kRoleCommand, 0xFF1C, 0x0092, 1, 6),
    Row(0x320F, 0x50EF, 1, 3, kKindMouse, kRoleConsumer, 0x000C, 0x0001, 1, 7),
    Row(0x320F, 0x221D, 1, 4, kKindMouseReceiver, kRoleCommand, 0xFF1C, 0x0092, 1, 4),
    Row(0x320F, 0x221D, 1, 3, kKindMouseReceiver, kRoleConsumer, 0x000C, 0x0001, 1, 5),
    Row(0x320F, 0x1004, 1, 4, kKindMousePad, kRoleCommand, 0xFF1C, 0x0092, 0, 0),
    Row(0x320F, 0x1004, 1, 3, kKindMousePad, kRoleConsumer, 0x000C, 0x0001, 0, 0),
    Row(0x0C76, 0x1630, 3, 0, kKindHeadset, kRoleCommand, 0x000C, 0x0001, 0, 0),
}};

bool SameInterface(const InterfaceSlot& a, const InterfaceSlot& b) {
    return a.vendorId == b.vendorId && a.productId == b.productId &&
           a.interfaceNumber == b.interfaceNumber && a.collectionNumber == b.collectionNumber &&
           a.kind == b.kind && a.role == b.role && a.usagePage == b.usagePage &&
           a.usage == b.usage;
}

int FindModel(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t variant) {
    for (size_t i = 0; i < DeviceModelTable.size(); ++i) {
        const DeviceModel& m = DeviceModelTable[i];
        if (m.vendorId == vendorId && m.productId == productId && m.kind == kind &&
            m.variant == variant)
            return static_cast<int>(i);
    }
    return -1;
}

int FindInterfaceRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role) {
    for (size_t i = 0; i < DeviceInterfaceTable.size(); ++i) {
        const InterfaceSlot& r = DeviceInterfaceTable[i];
        if (r.vendorId == vendorId && r.productId == productId && r.kind == kind && r.role == role)
            return static_cast<int>(i);
    }
    return -1;
}

int FindModelOfInterfaceRow(int row) {
    if (row < 0 || static_cast<size_t>(row) >= DeviceInterfaceTable.size()) return -1;
    const InterfaceSlot* slot = &DeviceInterfaceTable[static_cast<size_t>(row)];
    if (IsReceiverKind(slot->kind) && slot->hasTwin) {
        if (slot->twinIndex >= DeviceInterfaceTable.size()) return -1;
        slot = &DeviceInterfaceTable[slot->twinIndex];
    }
    // Every model row has variant 0, also for the consumer-control rows.
    return FindModel(slot->vendorId, slot->productId, CableKindOf(slot->kind), kRoleCommand);
}

bool IsCatalogueProduct(uint16_t vendorId, uint16_t productId) {
    for (const InterfaceSlot& r : DeviceInterfaceTable)
        if (r.vendorId == vendorId && r.productId == productId) return true;
    return false;
}
