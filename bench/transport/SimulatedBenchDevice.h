#pragma once
// A channel opened on a simulated device with our firmware, for benchmarks.
#include <memory>
#include <string>

#include "platform/hid/VirtualHidBus.h"
#include "sim/SimulatedDevice.h"
#include "sim/firmware/DeviceFirmware.h"
#include "transport/CDeviceChannel.h"

namespace koru::bench {

struct SimulatedBenchDevice {
    explicit SimulatedBenchDevice(bool receiver, sim::SimModel model = sim::SimModel::Keyboard)
        : device(sim::SimulatedDevice::Create(model, bus)), firmware(sim::DeviceFirmware::Install(device)) {
        hid::SetBackends({bus});
        if (receiver) device->PlugReceiver();
        else device->PlugCable();
        const auto id = receiver ? *device->ReceiverId() : *device->CableId();
        for (const auto& path : bus->PathsOf(id)) {
            if (path.find("&mi_01&col04") == std::string::npos) continue;
            CHidDevice& endpoint = receiver ? channel.ReceiverEndpoint() : channel.CableEndpoint();
            opened = endpoint.Open(path, true, true, true, false);
        }
        channel.SetOpen(opened);
        channel.SetConnectionMode(receiver ? CDeviceChannel::kReceiverMode : CDeviceChannel::kCableMode);
    }
    ~SimulatedBenchDevice() {
        channel.SetOpen(false);
        channel.CableEndpoint().Close();
        channel.ReceiverEndpoint().Close();
        hid::SetBackends({});
    }

    std::shared_ptr<hid::VirtualHidBus> bus = std::make_shared<hid::VirtualHidBus>();
    std::shared_ptr<sim::SimulatedDevice> device;
    std::shared_ptr<sim::DeviceFirmware> firmware;
    CDeviceChannel channel;
    bool opened = false;
};

}  // namespace koru::bench
