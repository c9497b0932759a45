#pragma once
// Where profiles live: the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share, then "KORU7315") with one folder per device, and the factory
// data ("DefaultData") beside the program. Folder paths end with '/'.
#include <string>

namespace koru {

// The user's data folder, created when missing; empty when there is no home.
std::string UserDataFolder();
// The device's folder below the user's data folder, created when missing.
std::string DeviceDataFolder(const std::string& deviceFolder);
// "DefaultData" of the source tree when running from the build tree, beside
// the program, or <prefix>/share/koru7315/DefaultData when installed; empty
// when none exists.
std::string FactoryDataFolder();
// The factory template of a device: FactoryDataFolder() + deviceFolder + ".Json".
std::string DefaultTemplatePath(const std::string& deviceFolder);

}  // namespace koru
