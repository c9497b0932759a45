#pragma once
// Opens the desktop's own keyboard or mouse settings (the "windowdeviceset_"
// buttons: 0 keyboard, 1 mouse). Desktops without such a panel get a debug line.
#include <optional>
#include <string>
#include <vector>

namespace koru {

enum class DeviceSettingsPage { Keyboard, Mouse };

struct ShellCommand {
  std::string program;  // absolute path, found on PATH
  std::vector<std::string> arguments;
};

// The settings tool for the page: the one that belongs to the current desktop
// ($XDG_CURRENT_DESKTOP, ':'-separated) first, else any known one on the search
// path (':'-separated, like $PATH).
std::optional<ShellCommand> FindDeviceSettingsCommand(DeviceSettingsPage page, const std::string& desktops,
                                                      const std::string& searchPath);
// Starts it detached; false (traced) when there is none or it does not start.
bool OpenDeviceSettings(DeviceSettingsPage page);

}  // namespace koru
