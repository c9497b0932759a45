#include "sim/SimulatedDevice.h"

#include "sim/ReportDescriptors.h"

namespace koru::sim {

namespace {

constexpr uint16_t kMakerVendor = 0x320F;
constexpr uint16_t kHeadsetVendor = 0x0C76;

// The firmware of a device whose behaviour is not emulated: every report is swallowed.
class SilentFirmware : public hid::VirtualFirmware {
public:
    void OnOutputReport(hid::VirtualHidBus&, hid::VirtualDeviceId, int,
                        std::span<const uint8_t>) override {}
};

}  // namespace

// Plugged as the firmware of every appearance: hands each report to whatever
// firmware the device holds at that moment, so the firmware can be replaced
// while the device is plugged.
class SimulatedDevice::Router : public hid::VirtualFirmware {
public:
    explicit Router(std::weak_ptr<SimulatedDevice> device) : device_(std::move(device)) {}

    void OnOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                        std::span<const uint8_t> report) override {
        if (auto firmware = Current()) firmware->OnOutputReport(bus, id, interfaceNumber, report);
    }
    bool OnSetOutputReport(hid::VirtualHidBus& bus, hid::VirtualDeviceId id, int interfaceNumber,
                           std::span<const uint8_t> report) override {
        auto firmware = Current();
        return firmware && firmware->OnSetOutputReport(bus, id, interfaceNumber, report);
    }

private:
    std::shared_ptr<hid::VirtualFirmware> Current() const {
        auto device = device_.lock();
        return device ? device->Firmware() : nullptr;
    }
    std::weak_ptr<SimulatedDevice> device_;
};

std::shared_ptr<SimulatedDevice> SimulatedDevice::Create(SimModel model,
                                                         std::shared_ptr<hid::VirtualHidBus> bus) {
    std::shared_ptr<SimulatedDevice> device(new SimulatedDevice(model, std::move(bus)));
    device->router_ = std::make_shared<Router>(device);
    return device;
}

SimulatedDevice::SimulatedDevice(SimModel model, std::shared_ptr<hid::VirtualHidBus> bus)
    : model_(model), bus_(std::move(bus)), firmware_(std::make_shared<SilentFirmware>()) {}

SimulatedDevice::~SimulatedDevice() {
    if (cableId_) bus_->Unplug(*cableId_);
    if (receiverId_) bus_->Unplug(*receiverId_);
}

const char* SimulatedDevice::Name() const {
    switch (model_) {
        case SimModel::Keyboard: return "keyboard";
        case SimModel::Mouse: return "mouse";
        case SimModel::MousePad: return "mousepad";
        case SimModel::Headset: return "headset";
    }
    return "device";
}

bool SimulatedDevice::HasReceiver() const {
    return model_ == SimModel::Keyboard || model_ == SimModel::Mouse;
}

UsbIdentity SimulatedDevice::CableIdentity() const {
    switch (model_) {
        case SimModel::Keyboard: return {kMakerVendor, 0x5055};
        case SimModel::Mouse: return {kMakerVendor, 0x50EF};
        case SimModel::MousePad: return {kMakerVendor, 0x1004};
        case SimModel::Headset: return {kHeadsetVendor, 0x1630};
    }
    return {};
}

UsbIdentity SimulatedDevice::ReceiverIdentity() const {
    switch (model_) {
        case SimModel::Keyboard: return {kMakerVendor, 0x5088};
        case SimModel::Mouse: return {kMakerVendor, 0x221D};
        default: return {};
    }
}

hid::VirtualDeviceDescription SimulatedDevice::Describe(Appearance appearance) const {
    const bool viaReceiver = appearance == Appearance::Receiver;
    const UsbIdentity identity = viaReceiver ? ReceiverIdentity() : CableIdentity();
    hid::VirtualDeviceDescription description;
    description.vendorId = identity.vendorId;
    description.productId = identity.productId;
    description.name = std::string(Name()) + (viaReceiver ? "-receiver" : "");
    if (model_ == SimModel::Headset) {
        // Interfaces 0 to 2 are audio, so interface 3 is named "&mi_03".
        description.composite = true;
        description.interfaces.push_back({kHeadsetInterface, HeadsetDescriptor()});
        return description;
    }
    description.interfaces.push_back({0, model_ == SimModel::Mouse ? BootMouseDescriptor()
                                                                    : BootKeyboardDescriptor()});
    description.interfaces.push_back({kVendorInterface, VendorInterfaceDescriptor()});
    return description;
}

// The bus may call the firmware under its own lock, and the firmware asks this
// device for its route: mutex_ is never held while calling the bus.
void SimulatedDevice::Plug(Appearance appearance) {
    std::lock_guard plugging(plugMutex_);
    if (IdOf(appearance)) return;
    const hid::VirtualDeviceId id = bus_->Plug(Describe(appearance), router_);
    // The system keeps the boot keyboard and mouse for itself: opening them
    // for reading or writing is refused.
    if (model_ != SimModel::Headset) bus_->SetAccessDenied(id, 0, true);
    std::lock_guard lock(mutex_);
    SlotOf(appearance) = id;
}

void SimulatedDevice::Unplug(Appearance appearance) {
    std::lock_guard plugging(plugMutex_);
    std::optional<hid::VirtualDeviceId> id;
    {
        std::lock_guard lock(mutex_);
        id.swap(SlotOf(appearance));
    }
    if (id) bus_->Unplug(*id);
}

std::optional<hid::VirtualDeviceId>& SimulatedDevice::SlotOf(Appearance appearance) {
    return appearance == Appearance::Receiver ? receiverId_ : cableId_;
}

std::optional<hid::VirtualDeviceId> SimulatedDevice::IdOf(Appearance appearance) const {
    std::lock_guard lock(mutex_);
    return appearance == Appearance::Receiver ? receiverId_ : cableId_;
}

void SimulatedDevice::PlugCable() { Plug(Appearance::Cable); }
void SimulatedDevice::UnplugCable() { Unplug(Appearance::Cable); }
bool SimulatedDevice::IsCablePlugged() const { return IdOf(Appearance::Cable).has_value(); }

bool SimulatedDevice::PlugReceiver() {
    if (!HasReceiver()) return false;
    Plug(Appearance::Receiver);
    return true;
}

void SimulatedDevice::UnplugReceiver() { Unplug(Appearance::Receiver); }
bool SimulatedDevice::IsReceiverPlugged() const { return IdOf(Appearance::Receiver).has_value(); }

void SimulatedDevice::SetLinkUp(bool up) {
    std::lock_guard lock(mutex_);
    linkUp_ = up;
}

bool SimulatedDevice::IsLinkUp() const {
    std::lock_guard lock(mutex_);
    return linkUp_;
}

Appearance SimulatedDevice::CurrentAppearance() const {
    std::lock_guard lock(mutex_);
    if (cableId_) return Appearance::Cable;
    if (receiverId_ && linkUp_) return Appearance::Receiver;
    return Appearance::None;
}

std::optional<hid::VirtualDeviceId> SimulatedDevice::CableId() const { return IdOf(Appearance::Cable); }
std::optional<hid::VirtualDeviceId> SimulatedDevice::ReceiverId() const {
    return IdOf(Appearance::Receiver);
}

ReportRoute SimulatedDevice::RouteOf(hid::VirtualDeviceId id) const {
    std::lock_guard lock(mutex_);
    if (cableId_ == id) return {Appearance::Cable, true};
    if (receiverId_ == id) return {Appearance::Receiver, linkUp_};
    return {};
}

void SimulatedDevice::SetFirmware(std::shared_ptr<hid::VirtualFirmware> firmware) {
    if (!firmware) firmware = std::make_shared<SilentFirmware>();
    std::lock_guard lock(mutex_);
    firmware_ = std::move(firmware);
}

std::shared_ptr<hid::VirtualFirmware> SimulatedDevice::Firmware() const {
    std::lock_guard lock(mutex_);
    return firmware_;
}

bool SimulatedDevice::SendInput(int interfaceNumber, std::span<const uint8_t> report) {
    std::optional<hid::VirtualDeviceId> target;
    {
        std::lock_guard lock(mutex_);
        if (cableId_) target = cableId_;
        else if (receiverId_ && linkUp_) target = receiverId_;
    }
    return target && bus_->SendInput(*target, interfaceNumber, report);
}

}  // namespace koru::sim
