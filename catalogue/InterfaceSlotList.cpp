#include "catalogue/InterfaceSlotList.h"

#include "catalogue/DeviceCatalogue.h"

CInterfaceSlotList::CInterfaceSlotList() : slots_(DeviceInterfaceTable.begin(), DeviceInterfaceTable.end()) {}

std::optional<InterfaceSlot> CInterfaceSlotList::Get(int slot) const {
    std::lock_guard lock(mutex_);
    if (slot < 0 || slot >= Size()) return std::nullopt;
    return slots_[static_cast<size_t>(slot)];
}

std::vector<InterfaceSlot> CInterfaceSlotList::Snapshot() const {
    std::lock_guard lock(mutex_);
    return slots_;
}

bool CInterfaceSlotList::IsConnected(int slot) const {
    std::lock_guard lock(mutex_);
    return slot >= 0 && slot < Size() && slots_[static_cast<size_t>(slot)].connected != 0;
}

std::string CInterfaceSlotList::PathOf(int slot) const {
    std::lock_guard lock(mutex_);
    if (slot < 0 || slot >= Size()) return {};
    return slots_[static_cast<size_t>(slot)].path;
}

bool CInterfaceSlotList::AnyFree() const {
    std::lock_guard lock(mutex_);
    for (const InterfaceSlot& s : slots_)
        if (s.IsFree()) return true;
    return false;
}

bool CInterfaceSlotList::HasFreeSlotFor(uint16_t vendorId, uint16_t productId,
                                        uint16_t interfaceNumber,
                                        uint16_t collectionNumber) const {
    std::lock_guard lock(mutex_);
    for (const InterfaceSlot& s : slots_) {
        if (s.IsFree() && s.vendorId == vendorId && s.productId == productId &&
            s.interfaceNumber == interfaceNumber && s.collectionNumber == collectionNumber)
            return true;
    }
    return false;
}

int CInterfaceSlotList::Claim(const InterfaceSlot& c, const std::string& path) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < slots_.size(); ++i) {
        InterfaceSlot& s = slots_[i];
        if (s.IsFree() && s.vendorId == c.vendorId && s.productId == c.productId &&
            s.interfaceNumber == c.interfaceNumber && s.collectionNumber == c.collectionNumber &&
            s.usagePage == c.usagePage && s.usage == c.usage) {
            s.connected = 1;
            s.path = path;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CInterfaceSlotList::Release(int slot) {
    std::lock_guard lock(mutex_);
    if (slot < 0 || slot >= Size()) return false;
    InterfaceSlot& s = slots_[static_cast<size_t>(slot)];
    const bool wasConnected = s.connected != 0;
    s.connected = 0;
    s.path.clear();
    return wasConnected;
}

std::vector<std::pair<int, std::string>> CInterfaceSlotList::Connected() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<int, std::string>> out;
    for (size_t i = 0; i < slots_.size(); ++i)
        if (slots_[i].connected) out.emplace_back(static_cast<int>(i), slots_[i].path);
    return out;
}
