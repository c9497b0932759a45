#include "platform/KnownFolders.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

namespace fs = std::filesystem;
using test::ScopedEnv;
using test::TempFolder;

TEST(KnownFolders, DataAndConfigFoldersFollowXdgAndAreCreatedOnDemand) {
  TempFolder home;
  ScopedEnv homeVar("HOME", home.Path().string());
  {
    ScopedEnv data("XDG_DATA_HOME", home / "data");
    ScopedEnv config("XDG_CONFIG_HOME", home / "conf");
    EXPECT_EQ(LocalAppDataFolder(), home / "data");
    EXPECT_EQ(UserConfigFolder(), home / "conf/KORU7315");
    EXPECT_TRUE(fs::is_directory(home / "data"));
    EXPECT_TRUE(fs::is_directory(home / "conf/KORU7315"));
  }
  // Unset or relative XDG values fall back to the home folder's defaults.
  ScopedEnv data("XDG_DATA_HOME", std::string("relative/data"));
  ScopedEnv config("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(LocalAppDataFolder(), home / ".local/share");
  EXPECT_EQ(UserConfigFolder(), home / ".config/KORU7315");
}

TEST(KnownFolders, AFolderThatCannotBeCreatedIsEmpty) {
  TempFolder home;
  std::ofstream(home / "file") << "x";
  ScopedEnv data("XDG_DATA_HOME", home / "file/below");
  EXPECT_EQ(LocalAppDataFolder(), "");
  ScopedEnv config("XDG_CONFIG_HOME", home / "file/below");
  EXPECT_EQ(UserConfigFolder(), "");
}

TEST(KnownFolders, TheFirstRootThatHasTheSubfolderWins) {
  TempFolder roots;
  fs::create_directories(roots / "a/skin");
  fs::create_directories(roots / "b/skin");
  fs::create_directories(roots / "b/Font");
  const std::vector<std::string> order = {roots / "missing", roots / "a", roots / "b"};
  EXPECT_EQ(FindProgramSubfolder("skin", order), roots / "a/skin");
  EXPECT_EQ(FindProgramSubfolder("Font", order), roots / "b/Font");
  EXPECT_EQ(FindProgramSubfolder("DefaultData", order), "");
}

TEST(KnownFolders, TheSourceTreeGivenToTestsHoldsTheFactoryData) {
  const char* source = std::getenv("KORU_SOURCE_DIR");
  if (!source) GTEST_SKIP() << "KORU_SOURCE_DIR is set by ctest";
  EXPECT_EQ(fs::path(ProgramSubfolder("DefaultData")), fs::path(source) / "DefaultData");
}

}  // namespace
}  // namespace koru
