// koructl: looks at the catalogue devices from the command line, through the
// same channel and commands as the program, on real devices (hidraw) and on
// simulated ones; and plugs the running program's simulated devices (sim).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/InterfaceSlot.h"
#include "platform/DebugOutput.h"
#include "sim/Simulation.h"
#include "sim/firmware/DeviceFirmware.h"
#include "tools/koructl/CatalogueDevices.h"
#include "tools/koructl/SimulatorClient.h"
#include "tools/koructl/ToolCommands.h"

using namespace koru::tool;

namespace {

constexpr const char* kUsage =
    R"(usage: koructl [options] COMMAND [ARGUMENTS]

Talks to the keyboard, mouse, mouse pad and headset of the catalogue through
their 64-byte command interface.

commands:
  list                     the catalogue devices present, real and simulated
  info                     the device information block
  settings                 the settings record of the active profile (or --profile)
  write-settings HEX...    writes a whole settings record (39 bytes for a keyboard,
                           71 for a mouse, 21 for a mouse pad or headset), e.g.
                           "00 01 04 02 ..." or "000104..."
  keys                     the key tables (key codes and, for a keyboard, frame positions)
  power                    the power block: battery level and charging state
  light [RRGGBB]           streams one test light frame (keyboard, headset); default ff0000
  sim DEVICE cable|receiver plug|unplug
  sim DEVICE link up|down
  sim list                 plugs and unplugs the simulated devices of the running
                           KORU7315 (started with --simulate or KORU_SIMULATE) over
                           the session bus, as if by hand, and shows their state;
                           DEVICE is keyboard, mouse, mousepad or headset, and only
                           keyboard and mouse have a receiver and a wireless link.
                           A device not simulated yet is created when plugged.

options:
  --device TYPE            keyboard, mouse, mousepad or headset (default: the first present)
  --path PATH              the command interface to use, as `list` shows it
  --profile N              the onboard profile for settings and write-settings
  --simulate LIST          simulated devices: keyboard, keyboard-receiver, mouse,
                           mouse-receiver, mousepad, headset, all or none (also
                           KORU_SIMULATE). Without it all four are simulated when no
                           real device of the catalogue is present.
  --trace                  prints every command exchange to standard error
  --help                   this text

exit codes: 0 done, 1 the device failed or did not answer, 2 usage error,
3 no device, 4 permission denied (install the udev rules: docs/protocol.md),
5 sim: KORU7315 is not running (or there is no session bus),
6 sim: KORU7315 runs without simulated devices.
)";

constexpr const char* kUdevHint =
    "koructl: install the udev rules that give you access to the devices:\n"
    "  sudo install -m 644 70-koru7315.rules /etc/udev/rules.d/\n"
    "  sudo udevadm control --reload && sudo udevadm trigger\n"
    "then unplug and replug the device. The rules file is generated in the build tree\n"
    "(tools/udev-rules/70-koru7315.rules) and installed to lib/udev/rules.d; see\n"
    "docs/protocol.md\n";

struct Options {
    bool help = false;
    bool trace = false;
    std::optional<std::string> simulate;
    std::string deviceType;
    std::string path;
    int profile = -1;
    std::string command;
    std::vector<std::string> arguments;
};

bool ParseOptions(std::vector<std::string> args, Options* options, std::string* error) {
    if (!koru::sim::TakeSimulateOption(args, &options->simulate, error)) return false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string* out) {
            if (i + 1 >= args.size()) {
                *error = a + " needs a value";
                return false;
            }
            *out = args[++i];
            return true;
        };
        if (a == "--help" || a == "-h") {
            options->help = true;
        } else if (a == "--trace") {
            options->trace = true;
        } else if (a == "--device") {
            if (!value(&options->deviceType)) return false;
        } else if (a == "--path") {
            if (!value(&options->path)) return false;
        } else if (a == "--profile") {
            std::string text;
            if (!value(&text)) return false;
            char* end = nullptr;
            const long n = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || n < 0 || n > 15) {
                *error = "--profile takes a number from 0 to 15";
                return false;
            }
            options->profile = static_cast<int>(n);
        } else if (a.size() > 1 && a[0] == '-' && options->command.empty()) {
            *error = "unknown option " + a;
            return false;
        } else if (options->command.empty()) {
            options->command = a;
        } else {
            options->arguments.push_back(a);
        }
    }
    if (options->command.empty()) options->command = "list";
    return true;
}

bool ParseHexBytes(const std::vector<std::string>& words, std::vector<uint8_t>* bytes) {
    std::string digits;
    for (const auto& w : words)
        for (char ch : w)
            if (ch != ' ' && ch != ',' && ch != ':') digits.push_back(ch);
    if (digits.size() % 2) return false;
    for (size_t i = 0; i < digits.size(); i += 2) {
        const std::string pair = digits.substr(i, 2);
        char* end = nullptr;
        const long v = std::strtol(pair.c_str(), &end, 16);
        if (*end != '\0') return false;
        bytes->push_back(static_cast<uint8_t>(v));
    }
    return true;
}

bool ParseColour(const std::vector<std::string>& args, uint8_t rgb[3]) {
    std::vector<uint8_t> bytes;
    if (args.empty()) {
        rgb[0] = 0xFF;
        rgb[1] = rgb[2] = 0;
        return true;
    }
    if (args.size() != 1 || !ParseHexBytes(args, &bytes) || bytes.size() != 3) return false;
    std::copy(bytes.begin(), bytes.end(), rgb);
    return true;
}

void PrintList(const std::vector<PresentDevice>& devices) {
    for (const auto& d : devices) {
        char ids[32];
        std::snprintf(ids, sizeof ids, "%04x:%04x v%04x", d.vendorId, d.productId, d.version);
        std::cout << DeviceTypeName(d.kind) << "  " << PathName(d.kind) << "  " << ids << "  "
                  << (d.simulated ? "simulated" : "real") << "  " << OpenErrorText(d.openError) << "\n"
                  << "    " << d.path << "\n";
    }
}

const PresentDevice* Choose(const std::vector<PresentDevice>& devices, const Options& o) {
    for (const auto& d : devices) {
        if (!o.path.empty() && d.path != o.path) continue;
        if (!o.deviceType.empty() && o.deviceType != DeviceTypeName(d.kind)) continue;
        return &d;
    }
    return nullptr;
}

// Opens the channel on the device as the main window does on attach.
bool OpenChannel(CDeviceChannel& channel, const PresentDevice& device) {
    std::lock_guard lock(channel.ExchangeLock());
    CHidDevice& endpoint = IsReceiverKind(device.kind) ? channel.ReceiverEndpoint() : channel.CableEndpoint();
    if (!endpoint.Open(device.path, true, true, true, false)) return false;
    channel.SetOpen(true);
    const uint16_t kind = CableKindOf(device.kind);
    if (kind == kKindKeyboard || kind == kKindMouse)
        channel.SetConnectionMode(IsReceiverKind(device.kind) ? CDeviceChannel::kReceiverMode
                                                              : CDeviceChannel::kCableMode);
    return true;
}

// What a simulated keyboard or headset now shows, read back from its firmware.
void ShowSimulatedLights(const koru::sim::Simulation* simulation, const PresentDevice& device) {
    if (!simulation || !device.simulated) return;
    const auto model = CableKindOf(device.kind) == kKindHeadset ? koru::sim::SimModel::Headset
                                                                : koru::sim::SimModel::Keyboard;
    const auto firmware = koru::sim::FirmwareOf(simulation->Device(model));
    if (!firmware) return;
    char text[96];
    if (model == koru::sim::SimModel::Headset) {
        const auto lights = firmware->HeadsetLightState();
        const auto& first = lights.colour[0][0];
        std::snprintf(text, sizeof text, "the simulated headset shows #%02x%02x%02x\n", first[0], first[1], first[2]);
    } else {
        const auto frame = firmware->LightFrame();
        std::snprintf(text, sizeof text, "the simulated keyboard shows #%02x%02x%02x (%llu frame chunks so far)\n",
                      frame.bytes[0], frame.bytes[1], frame.bytes[2],
                      static_cast<unsigned long long>(frame.chunkCount));
    }
    std::cout << text;
}

int Run(const Options& o) {
    if (o.trace) koru::SetDebugOutputEnabled(true);
    static const std::vector<std::string> kCommands = {"list", "info", "settings", "write-settings",
                                                       "keys", "power", "light", "sim"};
    if (std::find(kCommands.begin(), kCommands.end(), o.command) == kCommands.end()) {
        std::cerr << "koructl: unknown command " << o.command << " (see koructl --help)\n";
        return kExitUsage;
    }
    // The running program's simulation, not one of our own.
    if (o.command == "sim") return RunSimulatorCommand(o.arguments, std::cout, std::cerr);
    std::vector<uint8_t> record;
    uint8_t rgb[3] = {};
    if (o.command == "write-settings" && (o.arguments.empty() || !ParseHexBytes(o.arguments, &record))) {
        std::cerr << "koructl: write-settings takes the record as hexadecimal bytes\n";
        return kExitUsage;
    }
    if (o.command == "light" && !ParseColour(o.arguments, rgb)) {
        std::cerr << "koructl: light takes one colour as RRGGBB\n";
        return kExitUsage;
    }

    koru::sim::SimulationChoice choice;
    std::string error;
    if (!koru::sim::ChooseSimulation(o.simulate, &choice, &error)) {
        std::cerr << "koructl: " << error << "\n";
        return kExitUsage;
    }
    std::unique_ptr<koru::sim::Simulation> simulation;
    if (!choice.request.Empty()) {
        simulation = koru::sim::StartSimulation(choice.request, koru::sim::MakeDeviceFirmware);
        const std::string list = koru::sim::FormatSimulateList(choice.request);
        if (choice.source == koru::sim::SimulationSource::NoRealDevice)
            std::cout << "No device of the catalogue is present: simulating " << list << ".\n";
        else
            std::cout << "Simulating " << list << ".\n";
    }

    const std::vector<PresentDevice> devices = FindPresentDevices();
    if (o.command == "list") {
        if (devices.empty()) {
            std::cerr << "koructl: no device of the catalogue is present\n";
            return kExitNoDevice;
        }
        PrintList(devices);
        for (const auto& d : devices)
            if (d.openError == koru::hid::OpenError::AccessDenied) {
                std::cerr << kUdevHint;
                break;
            }
        return kExitOk;
    }


    const PresentDevice* device = Choose(devices, o);
    if (!device) {
        std::cerr << "koructl: no " << (o.deviceType.empty() ? "device of the catalogue" : o.deviceType)
                  << (o.path.empty() ? "" : " at " + o.path) << " is present\n";
        return kExitNoDevice;
    }
    if (device->openError == koru::hid::OpenError::AccessDenied) {
        std::cerr << "koructl: permission denied on " << device->path << "\n" << kUdevHint;
        return kExitPermission;
    }
    CDeviceChannel channel;
    if (!OpenChannel(channel, *device)) {
        std::cerr << "koructl: cannot open " << device->path << " (" << OpenErrorText(device->openError) << ")\n";
        return kExitFailure;
    }
    std::cout << DeviceTypeName(device->kind) << " by " << PathName(device->kind)
              << (device->simulated ? " (simulated)" : "") << "\n";
    ToolContext context{channel, *device, std::cout, std::cerr, o.profile};
    int code = kExitUsage;
    if (o.command == "info") code = ShowDeviceInfo(context);
    else if (o.command == "settings") code = ShowSettings(context);
    else if (o.command == "write-settings") code = WriteSettings(context, record);
    else if (o.command == "keys") code = ShowKeyTables(context);
    else if (o.command == "power") code = ShowPower(context);
    else if (o.command == "light") {
        code = StreamTestFrame(context, rgb[0], rgb[1], rgb[2]);
        if (code == kExitOk) ShowSimulatedLights(simulation.get(), *device);
    }
    {
        std::lock_guard lock(channel.ExchangeLock());
        channel.SetOpen(false);
        channel.CableEndpoint().Close();
        channel.ReceiverEndpoint().Close();
    }
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
        std::cerr << "koructl: " << error << " (see koructl --help)\n";
        return kExitUsage;
    }
    if (options.help) {
        std::cout << kUsage;
        return kExitOk;
    }
    return Run(options);
}
