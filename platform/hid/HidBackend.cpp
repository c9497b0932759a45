#include "platform/hid/HidBackend.h"

#include <cstdio>
#include <mutex>

#include "platform/hid/LinuxHidrawBackend.h"
#include "platform/hid/VirtualHidBus.h"

namespace koru::hid {
namespace {

std::mutex& RegistryMutex() {
    static std::mutex m;
    return m;
}

std::vector<std::shared_ptr<Backend>>& Registry() {
    static std::vector<std::shared_ptr<Backend>> backends{
        std::make_shared<LinuxHidrawBackend>(), VirtualHidBus::Shared()};
    return backends;
}

}  // namespace

void SetBackends(std::vector<std::shared_ptr<Backend>> backends) {
    std::lock_guard lock(RegistryMutex());
    Registry() = std::move(backends);
}

std::vector<std::shared_ptr<Backend>> Backends() {
    std::lock_guard lock(RegistryMutex());
    return Registry();
}

bool EnumerateAll(std::vector<InterfaceInfo>& out) {
    out.clear();
    for (const auto& backend : Backends()) {
        if (!backend->Enumerate(out)) {
            out.clear();
            return false;
        }
    }
    return true;
}

bool PathExists(const std::string& path) {
    for (const auto& backend : Backends()) {
        if (backend->Owns(path)) return backend->Exists(path);
    }
    return false;
}

std::unique_ptr<Connection> OpenPath(const std::string& path, OpenMode mode, OpenError* error) {
    for (const auto& backend : Backends()) {
        if (backend->Owns(path)) return backend->Open(path, mode, error);
    }
    if (error) *error = OpenError::NotFound;
    return nullptr;
}

std::string MakeInterfacePath(uint16_t vendorId, uint16_t productId, int interfaceNumber,
                              bool multipleInterfaces, int collectionNumber,
                              const std::string& instance) {
    char head[64];
    std::snprintf(head, sizeof head, "\\\\?\\hid#vid_%04x&pid_%04x", vendorId, productId);
    std::string path = head;
    if (multipleInterfaces && interfaceNumber >= 0) {
        std::snprintf(head, sizeof head, "&mi_%02x", interfaceNumber & 0xFF);
        path += head;
    }
    if (collectionNumber > 0) {
        std::snprintf(head, sizeof head, "&col%02x", collectionNumber & 0xFF);
        path += head;
    }
    path += '#';
    path += instance;
    path += "#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    return path;
}

}  // namespace koru::hid
