#include "sim/Simulation.h"

#include <cstdlib>

#include "catalogue/DeviceCatalogue.h"

namespace koru::sim {

namespace {

struct ListEntry {
    std::string_view name;
    bool SimulationRequest::*flag;
};

constexpr ListEntry kEntries[] = {
    {"keyboard", &SimulationRequest::keyboard},
    {"keyboard-receiver", &SimulationRequest::keyboardReceiver},
    {"mouse", &SimulationRequest::mouse},
    {"mouse-receiver", &SimulationRequest::mouseReceiver},
    {"mousepad", &SimulationRequest::mousePad},
    {"headset", &SimulationRequest::headset},
};

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

constexpr std::string_view kOption = "--simulate";

}  // namespace

bool SimulationRequest::Empty() const { return *this == SimulationRequest{}; }

SimulationRequest SimulationRequest::AllByCable() {
    SimulationRequest r;
    r.keyboard = r.mouse = r.mousePad = r.headset = true;
    return r;
}

bool ParseSimulateList(std::string_view list, SimulationRequest* out, std::string* error) {
    SimulationRequest request;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        const std::string_view name = Trim(list.substr(start, comma - start));
        start = comma + 1;
        if (name.empty()) continue;
        if (name == "none") continue;
        if (name == "all") {
            const SimulationRequest all = SimulationRequest::AllByCable();
            for (const ListEntry& e : kEntries) request.*e.flag = request.*e.flag || all.*e.flag;
            continue;
        }
        const ListEntry* entry = nullptr;
        for (const ListEntry& e : kEntries)
            if (e.name == name) entry = &e;
        if (!entry) {
            if (error) {
                *error = "unknown simulated device \"" + std::string(name) +
                         "\"; expected keyboard, keyboard-receiver, mouse, mouse-receiver, "
                         "mousepad, headset, all or none";
            }
            return false;
        }
        request.*entry->flag = true;
    }
    *out = request;
    return true;
}

std::string FormatSimulateList(const SimulationRequest& request) {
    std::string list;
    for (const ListEntry& e : kEntries) {
        if (!(request.*e.flag)) continue;
        if (!list.empty()) list += ',';
        list += e.name;
    }
    return list.empty() ? "none" : list;
}

bool TakeSimulateOption(std::vector<std::string>& args, std::optional<std::string>* value,
                        std::string* error) {
    for (size_t i = 0; i < args.size();) {
        const std::string& arg = args[i];
        if (arg == kOption) {
            if (i + 1 >= args.size()) {
                if (error) *error = "--simulate needs a list of devices";
                return false;
            }
            *value = args[i + 1];
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                       args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
        } else if (arg.size() > kOption.size() && arg.compare(0, kOption.size(), kOption) == 0 &&
                   arg[kOption.size()] == '=') {
            *value = arg.substr(kOption.size() + 1);
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return true;
}

bool ChooseSimulation(const std::optional<std::string>& optionValue, SimulationChoice* out,
                      std::string* error) {
    SimulationChoice choice;
    const char* environment = std::getenv("KORU_SIMULATE");
    if (optionValue) {
        if (!ParseSimulateList(*optionValue, &choice.request, error)) return false;
        choice.source = SimulationSource::Option;
    } else if (environment && *environment) {
        if (!ParseSimulateList(environment, &choice.request, error)) {
            if (error) *error = "KORU_SIMULATE: " + *error;
            return false;
        }
        choice.source = SimulationSource::Environment;
    } else if (AnyRealCatalogueDevicePresent()) {
        choice.source = SimulationSource::RealDevicePresent;
    } else {
        choice.request = SimulationRequest::AllByCable();
        choice.source = SimulationSource::NoRealDevice;
    }
    *out = choice;
    return true;
}

bool AnyRealCatalogueDevicePresent() {
    for (const auto& backend : hid::Backends()) {
        if (std::dynamic_pointer_cast<hid::VirtualHidBus>(backend)) continue;
        std::vector<hid::InterfaceInfo> interfaces;
        if (!backend->Enumerate(interfaces)) continue;
        for (const auto& info : interfaces)
            if (IsCatalogueProduct(info.vendorId, info.productId)) return true;
    }
    return false;
}

Simulation::Simulation(std::shared_ptr<hid::VirtualHidBus> bus, const SimulationRequest& request,
                       const FirmwareFactory& makeFirmware)
    : bus_(std::move(bus)), makeFirmware_(makeFirmware) {
    std::lock_guard lock(mutex_);
    if (request.keyboard || request.keyboardReceiver) {
        auto keyboard = Add(SimModel::Keyboard);
        if (request.keyboardReceiver) keyboard->PlugReceiver();
        if (request.keyboard) keyboard->PlugCable();
    }
    if (request.mouse || request.mouseReceiver) {
        auto mouse = Add(SimModel::Mouse);
        if (request.mouseReceiver) mouse->PlugReceiver();
        if (request.mouse) mouse->PlugCable();
    }
    if (request.mousePad) Add(SimModel::MousePad)->PlugCable();
    if (request.headset) Add(SimModel::Headset)->PlugCable();
}

std::shared_ptr<SimulatedDevice> Simulation::Add(SimModel model) {
    auto device = SimulatedDevice::Create(model, bus_);
    if (makeFirmware_) device->SetFirmware(makeFirmware_(device));
    devices_.push_back(device);
    return device;
}

std::shared_ptr<SimulatedDevice> Simulation::Find(SimModel model) const {
    for (const auto& device : devices_)
        if (device->Model() == model) return device;
    return nullptr;
}

std::shared_ptr<SimulatedDevice> Simulation::Device(SimModel model) const {
    std::lock_guard lock(mutex_);
    return Find(model);
}

std::shared_ptr<SimulatedDevice> Simulation::DeviceOrNew(SimModel model) {
    std::lock_guard lock(mutex_);
    if (auto device = Find(model)) return device;
    return Add(model);
}

std::vector<std::shared_ptr<SimulatedDevice>> Simulation::Devices() const {
    std::lock_guard lock(mutex_);
    return devices_;
}

std::unique_ptr<Simulation> StartSimulation(const SimulationRequest& request,
                                            const FirmwareFactory& makeFirmware) {
    return std::make_unique<Simulation>(hid::VirtualHidBus::Shared(), request, makeFirmware);
}

}  // namespace koru::sim
