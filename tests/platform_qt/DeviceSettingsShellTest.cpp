#include "platform/qt/DeviceSettingsShell.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

struct ShellCase {
  const char* what;
  std::vector<std::string> installed;
  const char* desktops;
  DeviceSettingsPage page;
  const char* program;  // null: none
  std::vector<std::string> arguments;
};

TEST(DeviceSettingsShell, TheCurrentDesktopsToolComesFirstThenAnyKnownOne) {
  const ShellCase cases[] = {
      {"GNOME keyboard", {"gnome-control-center", "systemsettings"}, "GNOME", DeviceSettingsPage::Keyboard,
       "gnome-control-center", {"keyboard"}},
      {"Plasma mouse", {"gnome-control-center", "systemsettings"}, "KDE", DeviceSettingsPage::Mouse,
       "systemsettings", {"kcm_mouse"}},
      {"Ubuntu session names", {"gnome-control-center"}, "ubuntu:GNOME", DeviceSettingsPage::Mouse,
       "gnome-control-center", {"mouse"}},
      {"Xfce has a program per page", {"xfce4-keyboard-settings", "xfce4-mouse-settings"}, "XFCE",
       DeviceSettingsPage::Mouse, "xfce4-mouse-settings", {}},
      {"unknown desktop, a known tool", {"systemsettings"}, "Sway", DeviceSettingsPage::Keyboard, "systemsettings",
       {"kcm_keyboard"}},
      {"nothing installed", {}, "GNOME", DeviceSettingsPage::Keyboard, nullptr, {}},
  };
  for (const ShellCase& c : cases) {
    test::TempFolder bin;
    for (const std::string& program : c.installed) {
      std::ofstream(bin / program) << "#!/bin/sh\n";
      ::chmod((bin / program).c_str(), 0755);
    }
    std::ofstream(bin / "cinnamon-settings") << "not executable";
    const std::string searchPath = "/nonexistent:" + bin.Path().string();
    const std::optional<ShellCommand> command = FindDeviceSettingsCommand(c.page, c.desktops, searchPath);
    if (!c.program) {
      EXPECT_EQ(command, std::nullopt) << c.what;
      continue;
    }
    ASSERT_TRUE(command) << c.what;
    EXPECT_EQ(command->program, bin / c.program) << c.what;
    EXPECT_EQ(command->arguments, c.arguments) << c.what;
  }
}

TEST(DeviceSettingsShell, OpeningStartsTheToolDetached) {
  test::TempFolder bin;
  const std::string marker = bin / "started";
  std::ofstream(bin / "gnome-control-center") << "#!/bin/sh\necho \"$1\" > '" << marker << "'\n";
  ::chmod((bin / "gnome-control-center").c_str(), 0755);
  test::ScopedEnv path("PATH", bin.Path().string() + ":/usr/bin:/bin");
  test::ScopedEnv desktop("XDG_CURRENT_DESKTOP", std::string("GNOME"));
  ASSERT_TRUE(OpenDeviceSettings(DeviceSettingsPage::Mouse));
  ASSERT_TRUE(test::WaitUntil([&] {
    std::ifstream file(marker);
    std::string word;
    return file >> word && word == "mouse";
  }));
}

TEST(DeviceSettingsShell, WithoutAToolNothingStarts) {
  test::TempFolder empty;
  test::ScopedEnv path("PATH", empty.Path().string());
  EXPECT_FALSE(OpenDeviceSettings(DeviceSettingsPage::Keyboard));
}

}  // namespace
}  // namespace koru
