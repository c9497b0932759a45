#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "devices/CKestroKeyboardDevice.h"
#include "devices/CKestroMouseDevice.h"
#include "devices/KeyboardLayout.h"
#include "devices/LightingTables.h"
#include "profiles/JsonFile.h"
#include "tests/devices/PageTestSupport.h"

using namespace koru::lighting;

namespace {

namespace fs = std::filesystem;

// A private data folder, so profiles made here never reach the user's.
class ProfileLoadingTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_DATA_HOME")) oldDataHome = old;
    home = fs::path(testing::TempDir()) / ("profileloading_" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    SetUpPage(keyboard, "keyboard", 170);
  }
  void TearDown() override {
    keyboard.StopLightThread();
    if (oldDataHome) ::setenv("XDG_DATA_HOME", oldDataHome->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
    fs::remove_all(home);
  }
  void SetUpPage(CKestroUSBDevice& page, const char* folder, int lights) {
    page.SetClock(clock.Function());
    page.SetDeviceFolder(folder);
    page.SetLightLibraryName("morva_light");
    page.SetLightCount(lights);
  }
  // Changes the device section of the page's current profile file on disk.
  template <typename Edit>
  void EditProfile(CKestroUSBDevice& page, Edit edit) {
    const std::string path = page.GetProfilePath();
    Json::Value document = JsonFile::ReadJson(path);
    ASSERT_TRUE(document.isObject()) << path;
    edit(document["Device"][0]);
    ASSERT_TRUE(JsonFile::WriteJson(path, document));
  }
  void Animate(CKestroUSBDevice& page, int ticks) {
    for (int i = 0; i < ticks; ++i) page.AnimateOneTick();
  }

  std::optional<std::string> oldDataHome;
  fs::path home;
  koru::test::ManualClock clock;
  CKestroKeyboardDevice keyboard;
};

TEST_F(ProfileLoadingTest, AFirstStartMakesTheProfileFromTheTemplateAndAnimatesIt) {
  EXPECT_EQ(keyboard.LoadProfileToPage(), 0) << "nothing is loaded yet";

  ASSERT_EQ(keyboard.LoadCurrentProfile(), 1);
  const fs::path folder = home / "KORU7315" / "keyboard";
  EXPECT_TRUE(fs::exists(folder / "ProfileList.ini"));
  EXPECT_EQ(fs::path(keyboard.GetProfilePath()), folder / (keyboard.GetProfileName() + ".Json"));
  EXPECT_TRUE(fs::exists(keyboard.GetProfilePath()));
  const LightInfoData info = keyboard.GetLightInfo();
  EXPECT_EQ(info.selectItem, 1);
  EXPECT_EQ(info.light, 4);
  EXPECT_EQ(info.multiColor, 1);

  // Loading again takes the same profile rather than making another one.
  const std::string first = keyboard.GetProfilePath();
  ASSERT_EQ(keyboard.LoadCurrentProfile(), 1);
  EXPECT_EQ(keyboard.GetProfilePath(), first);

  keyboard.SyncWithDevice();
  EXPECT_TRUE(keyboard.IsLightThreadRunning());
}

TEST_F(ProfileLoadingTest, TheProfilesEffectAndPerLightRecordsDriveTheFrame) {
  ASSERT_EQ(keyboard.LoadCurrentProfile(), 1);
  EditProfile(keyboard, [](Json::Value& device) {
    Json::Value& light = device["LightInfo"];
    light["SelectItem"] = 6;  // static
    light["MultiColor"] = 0;
    light["Red"] = 0;
    light["Green"] = 0;
    light["Blue"] = 200;
    Json::Value steady;
    steady["LEDREGMode"] = 1;
    steady["LEDBrightness"] = 4;
    steady["red"] = 255;
    steady["green"] = 0;
    steady["blue"] = 0;
    Json::Value dark = steady;
    dark["LEDREGMode"] = 4;
    device["LightList"] = Json::Value(Json::arrayValue);
    device["LightList"].append(dark);
    device["LightList"].append(steady);
  });
  keyboard.SetPhase(40);
  ASSERT_EQ(keyboard.LoadCurrentProfile(), 1);
  EXPECT_EQ(keyboard.GetPhase(), 0);
  Animate(keyboard, 10);

  EXPECT_EQ(keyboard.Frame().Get(0), LightFrameEntry{}) << "its record darkens light 0";
  EXPECT_EQ(keyboard.Frame().Get(1), (LightFrameEntry{255, 0, 0, 255})) << "its record paints light 1";
  EXPECT_EQ(keyboard.Frame().Get(2), (LightFrameEntry{0, 0, 200, 255})) << "the effect paints the rest";
  EXPECT_EQ(keyboard.Frame().Get(169), (LightFrameEntry{0, 0, 200, 255}));
}

TEST_F(ProfileLoadingTest, KeyboardColumnsWaveColoursEachGridColumnAlike) {
  using namespace koru::keyboard;
  keyboard.SetLightInfo({.selectItem = 1, .light = 4, .speed = 4, .fx = 1, .multiColor = 1});
  keyboard.SetPhase(0);
  keyboard.StepColumnsWave();
  ASSERT_EQ(keyboard.GetPhase(), 1);
  for (int column = 0; column < kGridColumns; ++column) {
    const LightFrameEntry expected = LightFrameEntry::Of(WheelAt(1 + column * 7), 255);
    for (int row = 0; row < kGridRows; ++row) {
      const uint8_t key = KeyAt(column, row);
      if (key == kFirstNoKey) continue;
      EXPECT_EQ(keyboard.Frame().Get(key), expected) << "column " << column << " row " << row;
    }
  }
  EXPECT_EQ(keyboard.Frame().Get(150), LightFrameEntry{}) << "a light outside the grid is left alone";

  // Single colour: the static colour, its level following the flow curve.
  keyboard.SetLightInfo({.selectItem = 1, .light = 2, .fx = 0, .multiColor = 0, .red = 9, .green = 8, .blue = 7});
  keyboard.StepColumnsWave();
  ASSERT_EQ(keyboard.GetPhase(), 0) << "backwards from 1";
  EXPECT_EQ(keyboard.Frame().Get(KeyAt(3, 2)), (LightFrameEntry{9, 8, 7, Scale(FlowAt(12), 135)}));
}

TEST(KeyboardLayoutTest, EveryKeyOfTheMainBlockStandsInTheGridOnce) {
  using namespace koru::keyboard;
  std::array<int, kFirstNoKey> seen{};
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      if (const uint8_t key = KeyAt(column, row); key != kFirstNoKey) ++seen[key];
  for (int key = 0; key < kFirstNoKey; ++key) EXPECT_EQ(seen[static_cast<size_t>(key)], 1) << "key " << key;
  EXPECT_EQ(KeyAt(-1, 0), kFirstNoKey);
  EXPECT_EQ(KeyAt(kGridColumns, 0), kFirstNoKey);
  EXPECT_EQ(KeyAt(0, kGridRows), kFirstNoKey);
}

TEST_F(ProfileLoadingTest, EachKindKeepsItsOwnProfileFolder) {
  CKestroMouseDevice mouse;
  SetUpPage(mouse, "mouse", 4);
  ASSERT_EQ(mouse.LoadCurrentProfile(), 1);
  ASSERT_EQ(keyboard.LoadCurrentProfile(), 1);
  EXPECT_EQ(fs::path(mouse.GetProfilePath()).parent_path(), home / "KORU7315" / "mouse");
  EXPECT_NE(fs::path(keyboard.GetProfilePath()).parent_path(), fs::path(mouse.GetProfilePath()).parent_path());
  // The mouse template's spectrum runs on the mouse's own table.
  Animate(mouse, 40);
  EXPECT_NE(mouse.Frame().Get(0), LightFrameEntry{});
}

TEST_F(ProfileLoadingTest, WithoutADeviceFolderNothingIsLoaded) {
  CKestroKeyboardDevice page;
  SetUpPage(page, "../escape", 4);
  EXPECT_EQ(page.LoadCurrentProfile(), 0);
  EXPECT_EQ(page.LoadProfileToPage(), 0);
  EXPECT_FALSE(fs::exists(home / "escape"));
}

}  // namespace
