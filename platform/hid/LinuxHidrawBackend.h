#pragma once
// Real HID interfaces through libudev (enumeration) and /dev/hidrawN (I/O).
// One hidraw node is one USB interface; an interface with several top-level
// collections yields one path per collection, all on the same node, each
// reading only the reports of its own report IDs.
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "platform/hid/HidBackend.h"
#include "platform/hid/InterfacePaths.h"

struct udev;

namespace koru::hid {

// Parses the HID_ID property of a hid device ("0003:0000320F:00005055").
bool ParseHidId(const char* text, uint16_t* vendorId, uint16_t* productId);

class LinuxHidrawBackend : public Backend {
public:
    LinuxHidrawBackend();
    ~LinuxHidrawBackend() override;

    bool Enumerate(std::vector<InterfaceInfo>& out) override;
    bool Exists(const std::string& path) override;
    std::unique_ptr<Connection> Open(const std::string& path, OpenMode mode,
                                     OpenError* error) override;
    bool Owns(const std::string& path) const override;

private:
    // Everything but the path, for one node ("hidraw3"); nullopt when it is gone.
    std::optional<UsbHidInterface> Describe(const std::string& sysname,
                                            std::set<std::string>* hidSyspaths = nullptr);
    const std::vector<uint8_t>& CachedDescriptor(const std::string& hidSyspath);

    std::mutex mutex_;  // libudev contexts are not thread-safe
    struct udev* udev_ = nullptr;
    std::map<std::string, std::vector<uint8_t>> descriptorCache_;  // by hid device syspath
};

}  // namespace koru::hid
