#pragma once
// One physical simulated device (keyboard, mouse, mouse pad or headset) and its
// USB appearances on the virtual HID bus.
//
// A keyboard or mouse can appear twice at once: by cable under its cable
// product ID, and through its 2.4 GHz receiver under the receiver's product ID.
// Both appearances belong to the same physical device, so the device's memory
// lives in one firmware object that is held here, not in an appearance: it is
// shared by cable and receiver and survives unplugging either of them.
//
// Firmware seam:
//  - SetFirmware installs the object that answers the vendor collection. Every
//    output report written to any interface of any appearance reaches its
//    OnOutputReport / OnSetOutputReport, with the VirtualDeviceId of the
//    appearance it came through.
//  - RouteOf(thatId) tells the firmware whether the report came by cable or
//    through the receiver, and whether the wireless link is up. A report that
//    reaches the receiver while the link is down must be answered by the
//    receiver itself (0xAA in the command byte), not by the device.
//  - Answers go back the way the request came: bus.SendInput(thatId, ...).
//    Unsolicited input (notifications, key events) goes through SendInput
//    below, which picks the appearance that currently carries the device.
//  - Firmware calls arrive on the writer's thread, possibly from several
//    threads at once; the firmware guards its own memory.
//  - The firmware may keep a std::weak_ptr to this device; a strong one would
//    keep both alive forever.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "platform/hid/VirtualHidBus.h"

namespace koru::sim {

enum class SimModel { Keyboard, Mouse, MousePad, Headset };

enum class Appearance { None, Cable, Receiver };

struct ReportRoute {
    Appearance appearance = Appearance::None;  // None: not one of this device's appearances
    bool linkUp = false;                       // the receiver reaches the device (receiver route only)
};

// USB identity of one appearance.
struct UsbIdentity {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

// The interface of the maker's devices that carries the consumer-control
// collection (report ID 3) and the vendor command collection (report ID 4).
constexpr int kVendorInterface = 1;
constexpr uint8_t kEventReportId = 3;    // input: one 16-bit event code (notifications)
constexpr uint8_t kCommandReportId = 4;  // input and output: 64 bytes with the ID byte
constexpr size_t kCommandReportSize = 64;
// The headset's only HID interface: consumer control, also its command interface.
constexpr int kHeadsetInterface = 3;
constexpr uint8_t kHeadsetButtonReportId = 1;  // input: volume up, down, mute bits
constexpr uint8_t kHeadsetEventReportId = 2;   // input: one 16-bit event code
constexpr uint8_t kHeadsetLightReportId = 0xFF;  // output: 17 bytes with the ID byte
constexpr size_t kHeadsetLightReportSize = 17;

class SimulatedDevice : public std::enable_shared_from_this<SimulatedDevice> {
public:
    // Nothing is plugged yet. The firmware starts as one that answers nothing.
    static std::shared_ptr<SimulatedDevice> Create(SimModel model,
                                                   std::shared_ptr<hid::VirtualHidBus> bus);
    // Unplugs whatever is still plugged.
    ~SimulatedDevice();
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    SimModel Model() const { return model_; }
    const char* Name() const;  // "keyboard", "mouse", "mousepad", "headset"
    bool HasReceiver() const;  // keyboard and mouse only
    UsbIdentity CableIdentity() const;
    UsbIdentity ReceiverIdentity() const;  // {0, 0} without a receiver
    hid::VirtualHidBus& Bus() const { return *bus_; }

    // The cable: the device itself appears on the bus. Plugging twice does nothing.
    void PlugCable();
    void UnplugCable();
    bool IsCablePlugged() const;

    // The receiver as a USB device; false for a model without one.
    bool PlugReceiver();
    void UnplugReceiver();
    bool IsReceiverPlugged() const;
    // The wireless link between receiver and device, independent of plugging.
    // Up by default.
    void SetLinkUp(bool up);
    bool IsLinkUp() const;

    // The current appearance: the cable when plugged, else the receiver when it
    // is plugged and the link is up, else None.
    Appearance CurrentAppearance() const;
    std::optional<hid::VirtualDeviceId> CableId() const;
    std::optional<hid::VirtualDeviceId> ReceiverId() const;
    // How a report written to the appearance `id` reaches the device.
    ReportRoute RouteOf(hid::VirtualDeviceId id) const;

    // nullptr restores the firmware that answers nothing.
    void SetFirmware(std::shared_ptr<hid::VirtualFirmware> firmware);
    std::shared_ptr<hid::VirtualFirmware> Firmware() const;

    // Sends an input report through the current appearance; false when the
    // device is not reachable or the interface is gone.
    bool SendInput(int interfaceNumber, std::span<const uint8_t> report);

private:
    class Router;
    SimulatedDevice(SimModel model, std::shared_ptr<hid::VirtualHidBus> bus);
    hid::VirtualDeviceDescription Describe(Appearance appearance) const;
    void Plug(Appearance appearance);
    void Unplug(Appearance appearance);
    std::optional<hid::VirtualDeviceId>& SlotOf(Appearance appearance);  // under mutex_
    std::optional<hid::VirtualDeviceId> IdOf(Appearance appearance) const;

    const SimModel model_;
    const std::shared_ptr<hid::VirtualHidBus> bus_;
    std::shared_ptr<Router> router_;  // the firmware every appearance is plugged with

    std::mutex plugMutex_;  // serialises plugging; never taken by the firmware's calls
    mutable std::mutex mutex_;
    std::shared_ptr<hid::VirtualFirmware> firmware_;
    std::optional<hid::VirtualDeviceId> cableId_;
    std::optional<hid::VirtualDeviceId> receiverId_;
    bool linkUp_ = true;
};

}  // namespace koru::sim
