#include "ProfileTestSupport.h"

#include "profiles/ProfileFolders.h"

namespace koru::test {
namespace {

using ProfileFoldersTest = TempFolderTest;

TEST_F(ProfileFoldersTest, DataFolderFollowsXdgDataHome) {
  EXPECT_EQ(UserDataFolder(), root_ + "/share/KORU7315/");
  EXPECT_EQ(DeviceDataFolder("keyboard"), root_ + "/share/KORU7315/keyboard/");
  EXPECT_TRUE(std::filesystem::is_directory(root_ + "/share/KORU7315/keyboard"));
}

TEST_F(ProfileFoldersTest, WithoutXdgDataHomeTheHomeFolderIsUsed) {
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  ::setenv("HOME", root_.c_str(), 1);
  ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
  EXPECT_EQ(UserDataFolder(), root_ + "/.local/share/KORU7315/");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(UserDataFolder(), root_ + "/.local/share/KORU7315/");
  ::setenv("HOME", oldHome.c_str(), 1);
}

TEST(FactoryFolder, IsTheSourceTreesWhenRunningFromTheBuildTree) {
  ASSERT_EQ(FactoryDataFolder(), FactoryFolder());
  EXPECT_TRUE(std::filesystem::exists(DefaultTemplatePath("keyboard")));
  EXPECT_EQ(DefaultTemplatePath("HD"), FactoryFolder() + "HD.Json");
}

}  // namespace
}  // namespace koru::test
