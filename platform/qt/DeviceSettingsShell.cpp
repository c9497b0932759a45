#include "platform/qt/DeviceSettingsShell.h"

#include <unistd.h>

#include <cstdlib>
#include <sstream>
#include <string_view>

#include <QProcess>
#include <QStringList>

#include "platform/DebugOutput.h"

namespace koru {
namespace {

struct SettingsTool {
  std::string_view desktop;  // as $XDG_CURRENT_DESKTOP names it
  std::string_view program;
  std::string_view keyboardArgument;  // empty: a program of its own per page
  std::string_view mouseArgument;
  std::string_view mouseProgram;
};

constexpr SettingsTool kTools[] = {
    {"GNOME", "gnome-control-center", "keyboard", "mouse", {}},
    {"KDE", "systemsettings", "kcm_keyboard", "kcm_mouse", {}},
    {"KDE", "systemsettings5", "kcm_keyboard", "kcm_mouse", {}},
    {"X-Cinnamon", "cinnamon-settings", "keyboard", "mouse", {}},
    {"XFCE", "xfce4-keyboard-settings", {}, {}, "xfce4-mouse-settings"},
    {"MATE", "mate-keyboard-properties", {}, {}, "mate-mouse-properties"},
    {"LXQt", "lxqt-config-input", {}, {}, "lxqt-config-input"},
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator))
    if (!part.empty()) parts.push_back(part);
  return parts;
}

std::optional<std::string> FindOnPath(std::string_view program, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    const std::string candidate = folder + "/" + std::string(program);
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

std::optional<ShellCommand> CommandOf(const SettingsTool& tool, DeviceSettingsPage page,
                                      const std::vector<std::string>& folders) {
  const bool mouse = page == DeviceSettingsPage::Mouse;
  const std::string_view program = mouse && !tool.mouseProgram.empty() ? tool.mouseProgram : tool.program;
  const std::optional<std::string> path = FindOnPath(program, folders);
  if (!path) return std::nullopt;
  ShellCommand command{*path, {}};
  const std::string_view argument = mouse ? tool.mouseArgument : tool.keyboardArgument;
  if (!argument.empty()) command.arguments.emplace_back(argument);
  return command;
}

}  // namespace

std::optional<ShellCommand> FindDeviceSettingsCommand(DeviceSettingsPage page, const std::string& desktops,
                                                      const std::string& searchPath) {
  const std::vector<std::string> folders = Split(searchPath, ':');
  for (const std::string& desktop : Split(desktops, ':'))
    for (const SettingsTool& tool : kTools)
      if (tool.desktop == desktop)
        if (auto command = CommandOf(tool, page, folders)) return command;
  for (const SettingsTool& tool : kTools)
    if (auto command = CommandOf(tool, page, folders)) return command;
  return std::nullopt;
}

bool OpenDeviceSettings(DeviceSettingsPage page) {
  const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
  const char* searchPath = std::getenv("PATH");
  const std::optional<ShellCommand> command =
      FindDeviceSettingsCommand(page, desktops ? desktops : "", searchPath ? searchPath : "");
  if (!command) {
    if (DebugOutputEnabled()) DebugOutput("this desktop has no keyboard or mouse settings to open");
    return false;
  }
  QStringList arguments;
  for (const std::string& argument : command->arguments) arguments << QString::fromStdString(argument);
  const bool started = QProcess::startDetached(QString::fromStdString(command->program), arguments);
  if (!started && DebugOutputEnabled()) DebugOutput("cannot start " + command->program);
  return started;
}

}  // namespace koru
