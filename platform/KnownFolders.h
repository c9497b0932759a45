#pragma once
// The folders the program reads and writes, without Qt so the core layers can
// use them. Paths are UTF-8 strings without a trailing slash.
#include <string>
#include <string_view>
#include <vector>

namespace koru {

// The folder of the running executable ("" when /proc/self/exe cannot be read).
std::string ExecutableFolder();

// Where the read-only program folders ("skin", "DefaultData", "Font") may lie,
// best first: beside the executable, $KORU_SOURCE_DIR, the source and build
// trees recorded at build time (KORU_SOURCE_TREE, KORU_BUILD_TREE when the
// build defines them), <prefix>/share/koru7315 relative to the executable, and
// the installed share folder recorded at build time (KORU_INSTALL_DATADIR).
std::vector<std::string> ProgramFolderRoots();
// The first root that has the subfolder, joined with it; "" when none has it.
std::string FindProgramSubfolder(std::string_view name, const std::vector<std::string>& roots);
std::string ProgramSubfolder(std::string_view name);

// $XDG_DATA_HOME (default ~/.local/share), created on demand; "" when it cannot be.
// The per-user data folder below it ("KORU7315") is profiles/ProfileFolders' UserDataFolder.
std::string LocalAppDataFolder();
// $XDG_CONFIG_HOME (default ~/.config) + "KORU7315", created on demand.
std::string UserConfigFolder();

// mkdir -p with mode 0700 for new folders; true when the folder exists afterwards.
bool EnsureFolder(const std::string& path);

}  // namespace koru
