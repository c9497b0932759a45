#include "platform/KnownFolders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/DebugOutput.h"

namespace koru {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramName = "KORU7315";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

// XDG says relative values are invalid and must be ignored.
std::string XdgFolder(const char* variable, std::string_view homeRelative) {
  std::string value = Environment(variable);
  if (!value.empty() && value.front() == '/') return value;
  const std::string home = Environment("HOME");
  if (home.empty()) return {};
  return (fs::path(home) / homeRelative).string();
}

std::string Normal(const fs::path& path) {
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string Subfolder(const std::string& parent, std::string_view name) {
  if (parent.empty()) return {};
  const std::string path = (fs::path(parent) / name).string();
  return EnsureFolder(path) ? path : std::string();
}

}  // namespace

std::string ExecutableFolder() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : Normal(exe.parent_path());
}

std::vector<std::string> ProgramFolderRoots() {
  std::vector<std::string> roots;
  auto add = [&roots](const std::string& root) {
    if (root.empty()) return;
    const std::string normal = Normal(root);
    for (const std::string& known : roots)
      if (known == normal) return;
    roots.push_back(normal);
  };
  const std::string exeFolder = ExecutableFolder();
  add(exeFolder);
  add(Environment("KORU_SOURCE_DIR"));
#ifdef KORU_SOURCE_TREE
  add(KORU_SOURCE_TREE);
#endif
#ifdef KORU_BUILD_TREE
  add(KORU_BUILD_TREE);
#endif
  if (!exeFolder.empty()) add((fs::path(exeFolder).parent_path() / "share" / "koru7315").string());
#ifdef KORU_INSTALL_DATADIR
  add(KORU_INSTALL_DATADIR);
#endif
  return roots;
}

std::string FindProgramSubfolder(std::string_view name, const std::vector<std::string>& roots) {
  for (const std::string& root : roots) {
    std::error_code error;
    const fs::path candidate = fs::path(root) / name;
    if (fs::is_directory(candidate, error)) return candidate.string();
  }
  return {};
}

std::string ProgramSubfolder(std::string_view name) {
  return FindProgramSubfolder(name, ProgramFolderRoots());
}

std::string LocalAppDataFolder() {
  const std::string folder = XdgFolder("XDG_DATA_HOME", ".local/share");
  return !folder.empty() && EnsureFolder(folder) ? Normal(folder) : std::string();
}

std::string UserConfigFolder() {
  const std::string folder = XdgFolder("XDG_CONFIG_HOME", ".config");
  if (folder.empty() || !EnsureFolder(folder)) return {};
  return Subfolder(Normal(folder), kProgramName);
}

bool EnsureFolder(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  if (fs::is_directory(path, error)) return true;
  fs::create_directories(path, error);
  if (!error) fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, error);
  if (fs::is_directory(path, error)) return true;
  if (DebugOutputEnabled()) DebugOutput("cannot create folder " + path);
  return false;
}

}  // namespace koru
