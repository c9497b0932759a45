#include "profiles/ProfileFolders.h"

#include "platform/DebugOutput.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace koru {

namespace {

constexpr const char* kProductFolder = "KORU7315";
constexpr const char* kFactoryFolder = "DefaultData";

std::string WithSlash(const fs::path& path) {
  std::string text = path.string();
  if (!text.empty() && text.back() != '/') text += '/';
  return text;
}

std::string EnsureFolder(const fs::path& path) {
  std::error_code error;
  fs::create_directories(path, error);
  if (error && DebugOutputEnabled()) DebugOutput("cannot create " + path.string() + ": " + error.message());
  return WithSlash(path);
}

bool IsFolder(const fs::path& path) {
  std::error_code error;
  return fs::is_directory(path, error);
}

}  // namespace

std::string UserDataFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  fs::path base;
  // The XDG rules ignore a relative $XDG_DATA_HOME.
  if (dataHome && dataHome[0] == '/') {
    base = dataHome;
  } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
    base = fs::path(home) / ".local" / "share";
  } else {
    return {};
  }
  return EnsureFolder(base / kProductFolder);
}

std::string DeviceDataFolder(const std::string& deviceFolder) {
  const std::string root = UserDataFolder();
  if (root.empty() || deviceFolder.empty()) return root;
  return EnsureFolder(fs::path(root) / deviceFolder);
}

std::string FactoryDataFolder() {
  if (const char* source = std::getenv("KORU_SOURCE_DIR"); source && source[0] == '/') {
    if (const fs::path candidate = fs::path(source) / kFactoryFolder; IsFolder(candidate)) return WithSlash(candidate);
  }
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    const fs::path folder = program.parent_path();
    for (const fs::path& candidate : {folder / kFactoryFolder, folder.parent_path() / "share" / "koru7315" / kFactoryFolder})
      if (IsFolder(candidate)) return WithSlash(candidate);
  }
#ifdef KORU_SOURCE_TREE
  if (const fs::path candidate = fs::path(KORU_SOURCE_TREE) / kFactoryFolder; IsFolder(candidate))
    return WithSlash(candidate);
#endif
  return {};
}

std::string DefaultTemplatePath(const std::string& deviceFolder) {
  const std::string folder = FactoryDataFolder();
  return folder.empty() ? std::string() : folder + deviceFolder + ".Json";
}

}  // namespace koru
