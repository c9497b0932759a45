#include "tools/koructl/ToolCommands.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "catalogue/InterfaceSlot.h"
#include "protocol/DeviceCommands.h"
#include "protocol/DeviceLayouts.h"


namespace koru::tool {
namespace {

settings::RecordLayout LayoutOf(uint16_t kind) {
    switch (CableKindOf(kind)) {
        case kKindKeyboard: return settings::kKeyboard;
        case kKindMouse: return settings::kMouse;
        case kKindMousePad: return settings::kMousePad;
        default: return settings::kHeadset;
    }
}

// Reports a failed command by name and code; the exit code for it.
int Failed(ToolContext& c, const char* command, int result) {
    c.err << "koructl: " << command << " failed: " << ExchangeResultName(result) << " (" << result
          << ")\n";
    if (result == koru::result::kLinkDown)
        c.err << "koructl: the receiver cannot reach the device: switch it on or bring it closer\n";
    return kExitFailure;
}

// Runs `body` inside BeginSession / EndSession; EndSession is sent even when the body failed.
template <typename Body>
int InSession(ToolContext& c, Body body) {
    const int begun = BeginSession(c.channel);
    if (begun != koru::result::kSuccess) return Failed(c, "BeginSession", begun);
    const int code = body();
    const int ended = EndSession(c.channel);
    if (code == kExitOk && ended != koru::result::kSuccess) return Failed(c, "EndSession", ended);
    return code;
}

int ReadInfo(ToolContext& c, uint8_t* info) {
    const int r = ReadDeviceInfo(c.channel, info);
    return r == koru::result::kSuccess ? kExitOk : Failed(c, "ReadDeviceInfo", r);
}

int ActiveOrChosenProfile(ToolContext& c, uint8_t* profile) {
    if (c.profile >= 0) {
        *profile = static_cast<uint8_t>(c.profile);
        return kExitOk;
    }
    const int r = ReadProfileData(c.channel, profile, 1, settings::kActiveProfileAddress);
    return r == koru::result::kSuccess ? kExitOk : Failed(c, "ReadProfileData (active profile)", r);
}

}  // namespace

std::string HexDump(const uint8_t* bytes, size_t length) {
    std::string text;
    char cell[32];
    for (size_t i = 0; i < length; ++i) {
        if (i % 16 == 0) {
            std::snprintf(cell, sizeof cell, "%s%04zx ", i ? "\n" : "", i);
            text += cell;
        }
        std::snprintf(cell, sizeof cell, " %02x", bytes[i]);
        text += cell;
    }
    return text + "\n";
}

int ShowDeviceInfo(ToolContext& c) {
    uint8_t info[info::kSize] = {};
    const int code = InSession(c, [&] { return ReadInfo(c, info); });
    if (code != kExitOk) return code;
    c.out << "device information (" << info::kSize << " bytes):\n" << HexDump(info, sizeof info);
    c.out << "  keys/buttons:        " << int(info[info::kKeyCount]) << "\n"
          << "  macro memory:        " << int(info[info::kMacroUnits]) * info::kMacroUnitBytes << " bytes\n";
    if (CableKindOf(c.device.kind) == kKindMouse) {
        char sensor[8];
        std::snprintf(sensor, sizeof sensor, "0x%04x", info::Read16(info, info::kSensorCode));
        c.out << "  sensor code:         " << sensor << "\n"
              << "  DPI step:            " << int(info[info::kDpiStep]) << "\n"
              << "  highest DPI slider:  " << info::Read16(info, info::kMaxDpiPosition) << "\n"
              << "  lowest DPI:          " << info::Read16(info, info::kLowestDpi) << "\n";
    }
    return kExitOk;
}

int ShowSettings(ToolContext& c) {
    const settings::RecordLayout layout = LayoutOf(c.device.kind);
    uint8_t profile = 0;
    std::vector<uint8_t> record(layout.readLength);
    int code = ActiveOrChosenProfile(c, &profile);
    if (code != kExitOk) return code;
    const int r = ReadProfileData(c.channel, record.data(), record.size(),
                                  static_cast<uint16_t>(profile * layout.readStride));
    if (r != koru::result::kSuccess) return Failed(c, "ReadProfileData", r);
    c.out << (c.profile >= 0 ? "profile " : "active profile ") << int(profile) << ", record of "
          << record.size() << " bytes at " << profile * layout.readStride << ":\n"
          << HexDump(record.data(), record.size());
    return kExitOk;
}

int WriteSettings(ToolContext& c, const std::vector<uint8_t>& record) {
    const settings::RecordLayout layout = LayoutOf(c.device.kind);
    // A short record would leave the device with half a profile.
    if (record.size() != layout.writeLength) {
        c.err << "koructl: a " << DeviceTypeName(c.device.kind) << " record has " << layout.writeLength
              << " bytes, not " << record.size() << "\n";
        return kExitUsage;
    }
    uint8_t profile = 0;
    const int code = ActiveOrChosenProfile(c, &profile);
    if (code != kExitOk) return code;
    const uint16_t base = static_cast<uint16_t>(profile * layout.writeStride);
    return InSession(c, [&] {
        const int r = WriteProfileData(c.channel, record.data(), record.size(), base);
        if (r != koru::result::kSuccess) return Failed(c, "WriteProfileData", r);
        c.out << "wrote " << record.size() << " bytes of profile " << int(profile) << " at " << base << "\n";
        return int(kExitOk);
    });
}

int ShowKeyTables(ToolContext& c) {
    uint8_t info[info::kSize] = {};
    std::vector<uint8_t> keys(CDeviceChannel::kMaxBlockSize), positions(CDeviceChannel::kMaxBlockSize / 3);
    const bool keyboard = CableKindOf(c.device.kind) == kKindKeyboard;
    int count = 0;
    const int code = InSession(c, [&] {
        if (int e = ReadInfo(c, info); e != kExitOk) return e;
        count = info[info::kKeyCount];
        if (!c.channel.SetBlockSize(static_cast<uint16_t>(count * 3))) {
            c.err << "koructl: the device reports " << count << " keys, more than a key table holds\n";
            return int(kExitFailure);
        }
        if (int r = ReadKeyMap(c.channel, keys.data()); r != koru::result::kSuccess)
            return Failed(c, "ReadKeyMap", r);
        if (keyboard)
            if (int r = ReadKeyMapExtra(c.channel, positions.data()); r != koru::result::kSuccess)
                return Failed(c, "ReadKeyMapExtra", r);
        return int(kExitOk);
    });
    if (code != kExitOk) return code;
    c.out << count << (keyboard ? " keys (LED: type p1 p2, frame position)\n" : " buttons (position: type p1 p2)\n");
    for (int k = 0; k < count; ++k) {
        char line[64];
        std::snprintf(line, sizeof line, "%3d: %02x %02x %02x", k, keys[k * 3], keys[k * 3 + 1], keys[k * 3 + 2]);
        c.out << line;
        if (keyboard) c.out << "  @" << int(positions[k]);
        c.out << "\n";
    }
    return kExitOk;
}

int ShowPower(ToolContext& c) {
    if (c.channel.IsReceiverMode() && !QueryWirelessLink(c.channel)) {
        c.err << "koructl: the receiver cannot reach the device (wireless link down)\n";
        return kExitFailure;
    }
    uint8_t power[memory::kPowerBlockSize] = {};
    const int r = ReadPowerStatus(c.channel, power, sizeof power, 0);
    if (r != koru::result::kSuccess) return Failed(c, "ReadPowerStatus", r);
    static const char* const kStates[] = {"on external power", "charging", "on battery"};
    const uint8_t state = power[memory::kPowerState];
    c.out << "power block:\n" << HexDump(power, sizeof power)
          << "  battery: " << int(power[memory::kPowerBatteryLevel]) << " %\n"
          << "  state:   " << (state < 3 ? kStates[state] : "unknown") << "\n";
    if (CableKindOf(c.device.kind) == kKindMousePad) {
        static const char* const kPhones[] = {"none", "iPhone", "Samsung phone", "other phone"};
        const uint8_t phone = power[memory::kPowerPhone];
        c.out << "  phone:   " << (phone < 4 ? kPhones[phone] : "none") << "\n";
    }
    return kExitOk;
}

int StreamTestFrame(ToolContext& c, uint8_t red, uint8_t green, uint8_t blue) {
    if (CableKindOf(c.device.kind) == kKindHeadset) {
        // The headset takes its lights as twelve output reports, seven or six values each.
        static constexpr uint8_t kControllers[] = {0x22, 0x44};
        static constexpr uint8_t kBlocks[] = {0xAA, 0xAD, 0xAB, 0xAE, 0xAC, 0xAF};
        int failures = 0;
        for (uint8_t controller : kControllers)
            for (uint8_t block : kBlocks) {
                uint8_t report[17] = {0xFF, controller, block, 0};
                const uint8_t value = block == 0xAA || block == 0xAD ? red : block == 0xAB || block == 0xAE ? green : blue;
                for (int i = 0; i < 7; ++i) report[4 + i] = std::min<uint8_t>(value, 247);
                if (!c.channel.CableEndpoint().SetOutputReport(report, sizeof report)) ++failures;
            }
        if (failures) {
            c.err << "koructl: " << failures << " of 12 light reports were not taken\n";
            return kExitFailure;
        }
        c.out << "sent the 12 light reports of one headset frame\n";
        return kExitOk;
    }
    if (CableKindOf(c.device.kind) != kKindKeyboard) {
        c.err << "koructl: only the keyboard and the headset take light frames from the host; "
                 "the others run their lighting themselves\n";
        return kExitUsage;
    }
    uint8_t info[info::kSize] = {};
    if (int e = InSession(c, [&] { return ReadInfo(c, info); }); e != kExitOk) return e;
    const int count = info[info::kKeyCount];
    std::vector<uint8_t> frame(512, 0);
    for (int position = 0; position < count; ++position) {
        frame[position * 3] = red;
        frame[position * 3 + 1] = green;
        frame[position * 3 + 2] = blue;
    }
    const int r = StreamLightFrame(c.channel, frame.data(), static_cast<size_t>(count) * 3);
    if (r != koru::result::kSuccess) return Failed(c, "StreamLightFrame", r);
    c.out << "streamed one light frame of " << count << " positions\n";
    return kExitOk;
}

}  // namespace koru::tool
