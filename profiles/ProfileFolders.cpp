#include "profiles/ProfileFolders.h"

#include "platform/KnownFolders.h"

namespace koru {

namespace {

constexpr const char* kProductFolder = "KORU7315";
constexpr const char* kFactoryFolder = "DefaultData";

std::string EnsuredWithSlash(const std::string& path) {
  if (path.empty() || !EnsureFolder(path)) return {};
  return path.back() == '/' ? path : path + '/';
}

}  // namespace

std::string UserDataFolder() {
  const std::string base = LocalAppDataFolder();
  return base.empty() ? std::string() : EnsuredWithSlash(base + "/" + kProductFolder);
}

std::string DeviceDataFolder(const std::string& deviceFolder) {
  const std::string root = UserDataFolder();
  if (root.empty() || deviceFolder.empty()) return root;
  return EnsuredWithSlash(root + deviceFolder);
}

std::string FactoryDataFolder() {
  const std::string folder = ProgramSubfolder(kFactoryFolder);
  return folder.empty() ? std::string() : folder + "/";
}

std::string DefaultTemplatePath(const std::string& deviceFolder) {
  const std::string folder = FactoryDataFolder();
  return folder.empty() ? std::string() : folder + deviceFolder + ".Json";
}

}  // namespace koru
