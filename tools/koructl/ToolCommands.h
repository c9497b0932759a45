#pragma once
// The device commands of koructl over an open channel. Each prints what it
// read to `out` and returns the process exit code.
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/koructl/CatalogueDevices.h"
#include "transport/CDeviceChannel.h"

namespace koru::tool {

enum ExitCode {
    kExitOk = 0,
    kExitFailure = 1,       // the device answered with an error, or not at all
    kExitUsage = 2,
    kExitNoDevice = 3,
    kExitPermission = 4,
    kExitNotRunning = 5,     // sim: no KORU7315 on the session bus (or no session bus)
    kExitNotSimulating = 6,  // sim: KORU7315 runs without simulated devices
};

struct ToolContext {
    CDeviceChannel& channel;
    const PresentDevice& device;
    std::ostream& out;
    std::ostream& err;
    int profile = -1;  // -1: the active one
};

int ShowDeviceInfo(ToolContext& context);
int ShowSettings(ToolContext& context);
int WriteSettings(ToolContext& context, const std::vector<uint8_t>& record);
int ShowKeyTables(ToolContext& context);
int ShowPower(ToolContext& context);
int StreamTestFrame(ToolContext& context, uint8_t red, uint8_t green, uint8_t blue);

// "0a 1b ..." sixteen bytes a line, each line led by its offset.
std::string HexDump(const uint8_t* bytes, size_t length);

}  // namespace koru::tool
