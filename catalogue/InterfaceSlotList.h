#pragma once
// The live copy of DeviceInterfaceTable: which interface of which device is
// connected and by what path. The scanner thread writes it; any thread may read
// copies of it, so a reader never sees a path half written.
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/InterfaceSlot.h"

class CInterfaceSlotList {
public:
    // One free slot per row of DeviceInterfaceTable, in table order.
    CInterfaceSlotList();

    int Size() const { return static_cast<int>(slots_.size()); }
    // A copy of one slot; nullopt for an index outside the list.
    std::optional<InterfaceSlot> Get(int slot) const;
    std::vector<InterfaceSlot> Snapshot() const;
    bool IsConnected(int slot) const;
    std::string PathOf(int slot) const;  // "" when free or out of range

    bool AnyFree() const;
    // Pre-filter: some free slot has these identifiers.
    bool HasFreeSlotFor(uint16_t vendorId, uint16_t productId, uint16_t interfaceNumber,
                        uint16_t collectionNumber) const;
    // The first free slot equal on vendor, product, interface, collection,
    // usage page and usage; marks it connected with `path`. -1 when none.
    int Claim(const InterfaceSlot& candidate, const std::string& path);
    // Frees a slot; false when it was not connected.
    bool Release(int slot);
    // The connected slots and their paths, for the presence probe.
    std::vector<std::pair<int, std::string>> Connected() const;

private:
    mutable std::mutex mutex_;
    std::vector<InterfaceSlot> slots_;
};
