#pragma once
// Choosing and starting simulated devices at run time.
//
//   --simulate LIST   (or --simulate=LIST, or KORU_SIMULATE=LIST in the environment)
//
// LIST is a comma-separated list of: keyboard, keyboard-receiver, mouse,
// mouse-receiver, mousepad, headset; or "all" (keyboard, mouse, mousepad and
// headset by cable) or "none". "keyboard,keyboard-receiver" is one keyboard
// plugged by cable while its receiver is plugged too. Without the option and
// the variable, all four are simulated when no real device of the catalogue is
// present, and none otherwise.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/SimulatedDevice.h"

namespace koru::sim {

struct SimulationRequest {
    bool keyboard = false;
    bool keyboardReceiver = false;
    bool mouse = false;
    bool mouseReceiver = false;
    bool mousePad = false;
    bool headset = false;

    bool Empty() const;
    static SimulationRequest AllByCable();
    bool operator==(const SimulationRequest&) const = default;
};

// False with a message naming the bad entry; `out` is then unchanged.
bool ParseSimulateList(std::string_view list, SimulationRequest* out, std::string* error);
// The canonical list ("none" when empty).
std::string FormatSimulateList(const SimulationRequest& request);

// Removes "--simulate LIST" / "--simulate=LIST" from `args` (the program name
// excluded) and returns LIST; the last one wins. False when the option lacks its value.
bool TakeSimulateOption(std::vector<std::string>& args, std::optional<std::string>* value,
                        std::string* error);

enum class SimulationSource { Option, Environment, NoRealDevice, RealDevicePresent };

struct SimulationChoice {
    SimulationRequest request;
    SimulationSource source = SimulationSource::RealDevicePresent;
};

// The option's value wins, then KORU_SIMULATE, then the presence of real
// devices. False when the chosen list does not parse.
bool ChooseSimulation(const std::optional<std::string>& optionValue, SimulationChoice* out,
                      std::string* error);

// True when a backend other than the virtual bus lists an interface of a
// catalogue device. The virtual bus is not asked.
bool AnyRealCatalogueDevicePresent();

// Makes the firmware of a newly created simulated device; nullptr (or an empty
// function) leaves the firmware that answers nothing.
using FirmwareFactory =
    std::function<std::shared_ptr<hid::VirtualFirmware>(const std::shared_ptr<SimulatedDevice>&)>;

// The simulated devices of one request, plugged on one bus; unplugged when destroyed.
// A device can join later (the simulator control plugs a model that was not in
// the request); it gets the firmware the request would have given it.
class Simulation {
public:
    Simulation(std::shared_ptr<hid::VirtualHidBus> bus, const SimulationRequest& request,
               const FirmwareFactory& makeFirmware = {});
    ~Simulation() = default;
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    // nullptr when the model is not simulated.
    std::shared_ptr<SimulatedDevice> Device(SimModel model) const;
    // The model's device, created with nothing plugged when it is not simulated yet.
    std::shared_ptr<SimulatedDevice> DeviceOrNew(SimModel model);
    std::vector<std::shared_ptr<SimulatedDevice>> Devices() const;

private:
    // Both under mutex_.
    std::shared_ptr<SimulatedDevice> Find(SimModel model) const;
    std::shared_ptr<SimulatedDevice> Add(SimModel model);

    const std::shared_ptr<hid::VirtualHidBus> bus_;
    const FirmwareFactory makeFirmware_;
    mutable std::mutex mutex_;  // devices_: the control may add one while others look
    std::vector<std::shared_ptr<SimulatedDevice>> devices_;
};

// Starts the requested devices on the bus the program and the tools share.
std::unique_ptr<Simulation> StartSimulation(const SimulationRequest& request,
                                            const FirmwareFactory& makeFirmware = {});

}  // namespace koru::sim
