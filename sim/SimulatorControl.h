#pragma once
// Plugging and unplugging simulated devices while the program runs, driven by
// a short command text from another process (koructl sim ...):
//
//   list
//   DEVICE cable plug|unplug
//   DEVICE receiver plug|unplug
//   DEVICE link up|down
//
// DEVICE is keyboard, mouse, mousepad or headset; only keyboard and mouse have
// a receiver and a wireless link. A device that is not simulated yet is created
// when it is first plugged (or its link set), with the firmware its start list
// entry would have given it. Every command answers the state of all four
// devices after it, packed into one non-negative integer, so a synchronous bus
// call carries the whole answer; a refused command answers a negative code and
// changes nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/Simulation.h"

namespace koru::sim {

// The bus message: the command text as data, wParam and lParam 0.
inline constexpr std::string_view kSimulatorMessage = "KORU7315_Simulator";
inline constexpr size_t kMaxSimulatorCommandBytes = 64;

enum class SimulatorAction { List, PlugCable, UnplugCable, PlugReceiver, UnplugReceiver, LinkUp, LinkDown };

struct SimulatorCommand {
    SimulatorAction action = SimulatorAction::List;
    SimModel model = SimModel::Keyboard;  // not used by List
    bool operator==(const SimulatorCommand&) const = default;
};

// False with a message for anything but the commands above; `out` is then unchanged.
bool ParseSimulatorCommand(std::string_view text, SimulatorCommand* out, std::string* error);
std::string FormatSimulatorCommand(const SimulatorCommand& command);

// Negative answers.
inline constexpr int64_t kSimulatorBadCommand = -1;  // not a command of the list above
inline constexpr int64_t kSimulatorNoReceiver = -2;  // receiver or link of a mouse pad or headset
// What a negative answer means, for the user.
std::string SimulatorErrorText(int64_t result);

struct SimulatedDeviceState {
    bool simulated = false;
    bool cablePlugged = false;
    bool receiverPlugged = false;
    bool linkUp = false;
    bool operator==(const SimulatedDeviceState&) const = default;
};

// The four models in SimModel order.
struct SimulatorState {
    std::array<SimulatedDeviceState, 4> devices{};

    SimulatedDeviceState& Of(SimModel model) { return devices[static_cast<size_t>(model)]; }
    const SimulatedDeviceState& Of(SimModel model) const { return devices[static_cast<size_t>(model)]; }
    bool operator==(const SimulatorState&) const = default;

    // Four bits per model (simulated, cable, receiver, link) and a marker bit
    // that tells an answer from the 0 of a service without a handler.
    int64_t Encode() const;
    // nullopt for anything Encode cannot have produced.
    static std::optional<SimulatorState> Decode(int64_t answer);
    // One line per model: "mouse     cable unplugged, receiver plugged, link up".
    std::string Describe() const;
};

class SimulatorControl {
public:
    explicit SimulatorControl(Simulation& simulation) : simulation_(simulation) {}

    // The text of another process's message: the encoded state after the
    // command, or a negative code.
    int64_t Execute(std::string_view text);
    int64_t Apply(const SimulatorCommand& command);
    SimulatorState State() const;

private:
    Simulation& simulation_;
};

}  // namespace koru::sim
