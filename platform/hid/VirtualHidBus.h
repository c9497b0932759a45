#pragma once
// An in-process HID bus for simulated devices: devices are plugged with their
// interfaces and report descriptors, and a firmware object answers the output
// reports they receive. Plugging, unplugging and input reports may come from
// any thread. The bus never sleeps or spawns threads: a firmware that wants a
// delay schedules its own answer.
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace koru::hid {

struct VirtualInterface {
    int number = 0;
    std::vector<uint8_t> reportDescriptor;
};

struct VirtualDeviceDescription {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0x0100;
    std::string name;  // shown in the instance part of the path, e.g. "keyboard"
    // The HID interfaces. A composite device may have others that are not HID
    // (a headset's audio interfaces): then its paths still carry "&mi_NN".
    std::vector<VirtualInterface> interfaces;
    bool composite = false;
};

using VirtualDeviceId = uint64_t;

class VirtualHidBus;

// What a simulated device's firmware implements.
class VirtualFirmware {
public:
    virtual ~VirtualFirmware() = default;
    // An output report written to interface `interfaceNumber` (interrupt pipe).
    // Runs on the writer's thread; the firmware may call bus.SendInput at once.
    virtual void OnOutputReport(VirtualHidBus& bus, VirtualDeviceId device, int interfaceNumber,
                                std::span<const uint8_t> report) = 0;
    // An output report sent through the control pipe. Defaults to OnOutputReport.
    virtual bool OnSetOutputReport(VirtualHidBus& bus, VirtualDeviceId device, int interfaceNumber,
                                   std::span<const uint8_t> report) {
        OnOutputReport(bus, device, interfaceNumber, report);
        return true;
    }
};

class VirtualHidBus : public Backend, public std::enable_shared_from_this<VirtualHidBus> {
public:
    VirtualHidBus();
    ~VirtualHidBus() override;
    // The bus the program and the tools share.
    static std::shared_ptr<VirtualHidBus> Shared();

    VirtualDeviceId Plug(const VirtualDeviceDescription& description,
                         std::shared_ptr<VirtualFirmware> firmware);
    // Removes the device: open connections fail their pending and later I/O.
    void Unplug(VirtualDeviceId device);
    bool IsPlugged(VirtualDeviceId device) const;
    // Queues an input report on every open reader of the interface whose
    // collection uses the report's ID (all readers when the interface has no IDs).
    // False when the device or interface is gone.
    bool SendInput(VirtualDeviceId device, int interfaceNumber, std::span<const uint8_t> report);
    // Refuse opens of a path with "access denied", as the OS does for the system's
    // keyboard and mouse collections or a node without permission.
    void SetAccessDenied(VirtualDeviceId device, int interfaceNumber, bool denied);
    // Paths of the device's interfaces/collections, in enumeration order.
    std::vector<std::string> PathsOf(VirtualDeviceId device) const;
    // Makes the next Enumerate fail (for tests of the scanner's failure path).
    void FailNextEnumerate();

    // Backend
    bool Enumerate(std::vector<InterfaceInfo>& out) override;
    bool Exists(const std::string& path) override;
    std::unique_ptr<Connection> Open(const std::string& path, OpenMode mode,
                                     OpenError* error) override;
    bool Owns(const std::string& path) const override;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace koru::hid
