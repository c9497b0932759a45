#include "tools/koructl/CatalogueDevices.h"

#include <algorithm>

#include "catalogue/DeviceCatalogue.h"
#include "platform/hid/VirtualHidBus.h"
#include "transport/CHidDevice.h"

namespace koru::tool {

const char* DeviceTypeName(uint16_t kind) {
    switch (CableKindOf(kind)) {
        case kKindKeyboard: return "keyboard";
        case kKindMouse: return "mouse";
        case kKindMousePad: return "mousepad";
        case kKindHeadset: return "headset";
        default: return "unknown";
    }
}

const char* PathName(uint16_t kind) { return IsReceiverKind(kind) ? "receiver" : "cable"; }

const char* OpenErrorText(hid::OpenError error) {
    switch (error) {
        case hid::OpenError::None: return "ok";
        case hid::OpenError::NotFound: return "gone";
        case hid::OpenError::AccessDenied: return "permission denied";
        case hid::OpenError::Busy: return "busy";
        case hid::OpenError::Other: return "cannot open";
    }
    return "cannot open";
}

namespace {

// The command row whose identifiers the path carries; -1 when none.
int CommandRowOf(const hid::InterfaceInfo& info) {
    const uint16_t interfaceNumber = ParseInterfaceNumber(info.path);
    const uint16_t collection = ParseCollectionNumber(info.path);
    for (size_t row = 0; row < DeviceInterfaceTable.size(); ++row) {
        const InterfaceSlot& r = DeviceInterfaceTable[row];
        if (r.role == kRoleCommand && r.vendorId == info.vendorId && r.productId == info.productId &&
            r.interfaceNumber == interfaceNumber && r.collectionNumber == collection)
            return static_cast<int>(row);
    }
    return -1;
}

}  // namespace

std::vector<PresentDevice> FindPresentDevices() {
    std::vector<hid::InterfaceInfo> interfaces;
    hid::EnumerateAll(interfaces);
    const auto bus = hid::VirtualHidBus::Shared();
    std::vector<PresentDevice> found;
    for (const auto& info : interfaces) {
        const int row = CommandRowOf(info);
        if (row < 0) continue;
        const InterfaceSlot& r = DeviceInterfaceTable[row];
        PresentDevice device{row, r.kind, info.vendorId, info.productId, info.versionNumber,
                             info.path, bus->Owns(info.path)};
        // Opening tells us whether we may talk to it, and lets us check the
        // collection really is the command collection.
        hid::OpenError error = hid::OpenError::None;
        if (!hid::OpenPath(info.path, {true, true, false}, &error)) {
            device.openError = error == hid::OpenError::None ? hid::OpenError::Other : error;
        } else {
            CHidDevice probe;
            if (probe.Open(info.path, true, false, true, false) &&
                (probe.GetCaps().usagePage != r.usagePage || probe.GetCaps().usage != r.usage))
                continue;
        }
        found.push_back(device);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const PresentDevice& a, const PresentDevice& b) { return a.row < b.row; });
    return found;
}

}  // namespace koru::tool
