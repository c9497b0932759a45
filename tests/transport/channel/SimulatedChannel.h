#pragma once
// A command channel wired to one simulated device with our firmware, on a bus
// of its own. Shared by the channel, command and firmware tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/hid/VirtualHidBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/firmware/DeviceFirmware.h"
#include "transport/CDeviceChannel.h"

namespace koru::test {

class SimulatedChannel {
public:
    explicit SimulatedChannel(sim::SimModel model = sim::SimModel::Keyboard)
        : device(sim::SimulatedDevice::Create(model, bus)), firmware(sim::DeviceFirmware::Install(device)),
          previousBackends_(hid::Backends()) {
        hid::SetBackends({bus});
    }
    ~SimulatedChannel() {
        channel.SetOpen(false);
        channel.CableEndpoint().Close();
        channel.ReceiverEndpoint().Close();
        hid::SetBackends(previousBackends_);
    }

    // Plugs the cable and opens the channel on it, as the main window does.
    bool ConnectCable() {
        device->PlugCable();
        return Attach(channel.CableEndpoint(), *device->CableId(), CDeviceChannel::kCableMode);
    }
    bool ConnectReceiver() {
        device->PlugReceiver();
        return Attach(channel.ReceiverEndpoint(), *device->ReceiverId(), CDeviceChannel::kReceiverMode);
    }

    // The path of the command collection (or, for "&col03", the notification collection).
    std::string PathOf(hid::VirtualDeviceId id, std::string_view marker = "") const {
        if (marker.empty())
            marker = device->Model() == sim::SimModel::Headset ? "&mi_03" : "&mi_01&col04";
        for (const auto& path : bus->PathsOf(id))
            if (path.find(marker) != std::string::npos) return path;
        ADD_FAILURE() << "no path with " << marker;
        return {};
    }

    // An input report queued before the device's own answer, as if left over.
    void QueueAnswer(hid::VirtualDeviceId id, uint8_t command) {
        uint8_t report[64] = {0x04};
        report[3] = command;
        bus->SendInput(id, device->Model() == sim::SimModel::Headset ? 3 : 1, report);
    }

    std::shared_ptr<hid::VirtualHidBus> bus = std::make_shared<hid::VirtualHidBus>();
    std::shared_ptr<sim::SimulatedDevice> device;
    std::shared_ptr<sim::DeviceFirmware> firmware;
    CDeviceChannel channel;

private:
    std::vector<std::shared_ptr<hid::Backend>> previousBackends_;  // nested fixtures restore in turn

    bool Attach(CHidDevice& endpoint, hid::VirtualDeviceId id, int mode) {
        std::lock_guard lock(channel.ExchangeLock());
        if (!endpoint.Open(PathOf(id), true, true, true, false)) return false;
        channel.SetOpen(true);
        channel.SetConnectionMode(mode);
        return true;
    }
};

}  // namespace koru::test
