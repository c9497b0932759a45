#include "sim/SimulatorControl.h"

#include <vector>

#include "platform/DebugOutput.h"

namespace koru::sim {

namespace {

struct ModelEntry {
    std::string_view name;
    SimModel model;
    bool hasReceiver;
};

constexpr ModelEntry kModels[] = {
    {"keyboard", SimModel::Keyboard, true},
    {"mouse", SimModel::Mouse, true},
    {"mousepad", SimModel::MousePad, false},
    {"headset", SimModel::Headset, false},
};

struct ActionEntry {
    std::string_view part;
    std::string_view verb;
    SimulatorAction action;
};

constexpr ActionEntry kActions[] = {
    {"cable", "plug", SimulatorAction::PlugCable},
    {"cable", "unplug", SimulatorAction::UnplugCable},
    {"receiver", "plug", SimulatorAction::PlugReceiver},
    {"receiver", "unplug", SimulatorAction::UnplugReceiver},
    {"link", "up", SimulatorAction::LinkUp},
    {"link", "down", SimulatorAction::LinkDown},
};

const ModelEntry& EntryOf(SimModel model) {
    for (const ModelEntry& entry : kModels)
        if (entry.model == model) return entry;
    return kModels[0];
}

bool NeedsReceiver(SimulatorAction action) {
    return action != SimulatorAction::List && action != SimulatorAction::PlugCable &&
           action != SimulatorAction::UnplugCable;
}

bool Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return false;
}

constexpr int kBitsPerModel = 4;
constexpr int64_t kSimulatedBit = 1;
constexpr int64_t kCableBit = 2;
constexpr int64_t kReceiverBit = 4;
constexpr int64_t kLinkBit = 8;
constexpr int64_t kAnswerMarker = int64_t{1} << (kBitsPerModel * 4);

}  // namespace

bool ParseSimulatorCommand(std::string_view text, SimulatorCommand* out, std::string* error) {
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const char ch = end ? ' ' : text[i];
        if (ch != ' ' && ch != '\t' && (ch < 0x21 || ch > 0x7E))
            return Fail(error, "the command holds a character other than printable ASCII");
        if (ch != ' ' && ch != '\t') continue;
        if (i > start) words.push_back(text.substr(start, i - start));
        start = i + 1;
    }
    constexpr std::string_view kExpected =
        "expected \"list\" or \"DEVICE cable|receiver plug|unplug\" or \"DEVICE link up|down\"";
    if (words.size() == 1 && words[0] == "list") {
        *out = SimulatorCommand{};
        return true;
    }
    if (words.size() != 3) return Fail(error, std::string(kExpected));
    const ModelEntry* model = nullptr;
    for (const ModelEntry& entry : kModels)
        if (entry.name == words[0]) model = &entry;
    if (!model) {
        return Fail(error, "unknown device \"" + std::string(words[0]) +
                               "\"; expected keyboard, mouse, mousepad or headset");
    }
    for (const ActionEntry& entry : kActions) {
        if (entry.part != words[1] || entry.verb != words[2]) continue;
        *out = SimulatorCommand{entry.action, model->model};
        return true;
    }
    return Fail(error, "unknown action \"" + std::string(words[1]) + " " + std::string(words[2]) + "\"; " +
                           std::string(kExpected));
}

std::string FormatSimulatorCommand(const SimulatorCommand& command) {
    for (const ActionEntry& entry : kActions) {
        if (entry.action != command.action) continue;
        return std::string(EntryOf(command.model).name) + " " + std::string(entry.part) + " " +
               std::string(entry.verb);
    }
    return "list";
}

std::string SimulatorErrorText(int64_t result) {
    switch (result) {
        case kSimulatorBadCommand: return "the program did not accept the command";
        case kSimulatorNoReceiver: return "only the keyboard and the mouse have a receiver and a wireless link";
        default: return "the program answered " + std::to_string(result);
    }
}

int64_t SimulatorState::Encode() const {
    int64_t answer = kAnswerMarker;
    for (size_t i = 0; i < devices.size(); ++i) {
        const SimulatedDeviceState& d = devices[i];
        if (!d.simulated) continue;
        const int64_t bits = kSimulatedBit | (d.cablePlugged ? kCableBit : 0) |
                             (d.receiverPlugged ? kReceiverBit : 0) | (d.linkUp ? kLinkBit : 0);
        answer |= bits << (kBitsPerModel * static_cast<int>(i));
    }
    return answer;
}

std::optional<SimulatorState> SimulatorState::Decode(int64_t answer) {
    if (answer < 0 || (answer & ~(kAnswerMarker | (kAnswerMarker - 1))) != 0 || !(answer & kAnswerMarker))
        return std::nullopt;
    SimulatorState state;
    for (size_t i = 0; i < state.devices.size(); ++i) {
        const int64_t bits = (answer >> (kBitsPerModel * static_cast<int>(i))) & 0xF;
        // Encode sets nothing for a model that is not simulated.
        if (bits != 0 && !(bits & kSimulatedBit)) return std::nullopt;
        SimulatedDeviceState& d = state.devices[i];
        d.simulated = bits & kSimulatedBit;
        d.cablePlugged = bits & kCableBit;
        d.receiverPlugged = bits & kReceiverBit;
        d.linkUp = bits & kLinkBit;
    }
    return state;
}

std::string SimulatorState::Describe() const {
    std::string text;
    for (const ModelEntry& entry : kModels) {
        const SimulatedDeviceState& d = Of(entry.model);
        std::string line(entry.name);
        line.resize(10, ' ');
        if (!d.simulated) {
            line += "not simulated";
        } else {
            line += d.cablePlugged ? "cable plugged" : "cable unplugged";
            if (entry.hasReceiver) {
                line += d.receiverPlugged ? ", receiver plugged" : ", receiver unplugged";
                line += d.linkUp ? ", link up" : ", link down";
            }
        }
        text += line + "\n";
    }
    return text;
}

int64_t SimulatorControl::Execute(std::string_view text) {
    SimulatorCommand command;
    std::string error;
    if (!ParseSimulatorCommand(text, &command, &error)) {
        if (DebugOutputEnabled()) DebugOutput("simulator: command refused: " + error);
        return kSimulatorBadCommand;
    }
    return Apply(command);
}

int64_t SimulatorControl::Apply(const SimulatorCommand& command) {
    if (command.action == SimulatorAction::List) return State().Encode();
    if (NeedsReceiver(command.action) && !EntryOf(command.model).hasReceiver) return kSimulatorNoReceiver;
    if (DebugOutputEnabled()) DebugOutput("simulator: " + FormatSimulatorCommand(command));
    // Unplugging a device that is not simulated leaves it that way.
    const bool unplug =
        command.action == SimulatorAction::UnplugCable || command.action == SimulatorAction::UnplugReceiver;
    const std::shared_ptr<SimulatedDevice> device =
        unplug ? simulation_.Device(command.model) : simulation_.DeviceOrNew(command.model);
    if (device) {
        switch (command.action) {
            case SimulatorAction::PlugCable: device->PlugCable(); break;
            case SimulatorAction::UnplugCable: device->UnplugCable(); break;
            case SimulatorAction::PlugReceiver: device->PlugReceiver(); break;
            case SimulatorAction::UnplugReceiver: device->UnplugReceiver(); break;
            case SimulatorAction::LinkUp: device->SetLinkUp(true); break;
            case SimulatorAction::LinkDown: device->SetLinkUp(false); break;
            case SimulatorAction::List: break;
        }
    }
    return State().Encode();
}

SimulatorState SimulatorControl::State() const {
    SimulatorState state;
    for (const auto& device : simulation_.Devices()) {
        SimulatedDeviceState& d = state.Of(device->Model());
        d.simulated = true;
        d.cablePlugged = device->IsCablePlugged();
        d.receiverPlugged = device->IsReceiverPlugged();
        d.linkUp = device->HasReceiver() && device->IsLinkUp();
    }
    return state;
}

}  // namespace koru::sim
