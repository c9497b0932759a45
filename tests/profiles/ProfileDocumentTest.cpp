#include "ProfileTestSupport.h"

#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"

namespace koru::test {
namespace {

// A small template: every kind's sections, with values a test can tell apart from zero.
constexpr const char* kTemplate = R"({"Device": [{
  "LightInfo": {"SelectItem": 3, "Light": 4, "Speed": 2, "Fx": 1, "MultiColor": 1, "Red": 10, "Green": 20,
                "Blue": 30, "ZZCCLedMode": 0, "CustomGroup": 0, "OldLedmode": 1, "byVoiceLedmodeSwith": 0,
                "byVoiceLedmode": 0, "byVoiceSensitivity": 5},
  "LightList": [],
  "KeyList": [{"FnAssignment": 2097193, "Assignment": 2097193, "DefaultAssignment": 2097193}],
  "SystemStages": {"Repeat": 31, "RepeatDelay": 1},
  "DPIStages": {"StageActive": 1, "StageDPIs": [{"StageActive": 1, "StageDPIX": 6, "StageColorR": 255}]},
  "SystemSetStages": {"EqType": 5, "CustomEqSeletIndex": -1, "MicInValue": 80},
  "EQHzValueInfo": [[], [{"value": 7}, {"value": 11}]]
}]})";

class ProfileDocumentTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    WriteFile(Path("template.Json"), kTemplate);
  }
  template <class Profile>
  void Open(Profile& profile, const std::string& name = "p.Json") {
    profile.SetDeviceIndex(0);
    profile.SetTemplatePath(Path("template.Json"));
    profile.SetProfilePath(Path(name));
    profile.LoadSection(profile.GetProfilePath());
  }
  Json::Value OnDisk(const std::string& name = "p.Json") { return JsonFile::ReadJson(Path(name)); }
};

TEST_F(ProfileDocumentTest, AMissingFileIsRepairedFromTheTemplateOnce) {
  CBasicProfiledata profile;
  Open(profile);
  EXPECT_TRUE(profile.LastLoad().repaired);
  EXPECT_TRUE(profile.LastLoad().repairWritten);
  EXPECT_EQ(OnDisk()["Device"][0], Parse(kTemplate)["Device"][0]);
  const std::string written = ReadFile(Path("p.Json"));
  profile.LoadSection(Path("p.Json"));
  EXPECT_FALSE(profile.LastLoad().repaired);
  EXPECT_EQ(ReadFile(Path("p.Json")), written);
}

TEST_F(ProfileDocumentTest, AFileWithoutSectionKeepsItsOtherKeysWhenRepaired) {
  WriteFile(Path("p.Json"), R"({"profilename": "Alpha", "profileUUID": "p", "extra": [1]})");
  CBasicProfiledata profile;
  Open(profile);
  const Json::Value disk = OnDisk();
  EXPECT_EQ(disk["profilename"], "Alpha");
  EXPECT_EQ(disk["extra"][0], 1);
  EXPECT_EQ(disk["Device"][0]["LightInfo"]["Red"], 10);
  EXPECT_TRUE(FilesStartingWith(folder_, "p.Json.damaged").empty());
}

TEST_F(ProfileDocumentTest, ADamagedFileIsKeptAsideBeforeTheRepair) {
  const std::pair<const char*, const char*> damaged[] = {
      {"unparsable", R"({"Device": [{"LightInfo": )"},
      {"Device not an array", R"({"profilename": "Alpha", "Device": {"LightInfo": {}}})"},
      {"section not an object", R"({"Device": ["text"]})"},
      {"not an object", R"([1, 2, 3])"},
  };
  for (const auto& [what, text] : damaged) {
    SCOPED_TRACE(what);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    WriteFile(Path("template.Json"), kTemplate);
    WriteFile(Path("p.Json"), text);
    CBasicProfiledata profile;
    Open(profile);
    EXPECT_TRUE(profile.LastLoad().damaged);
    const auto aside = FilesStartingWith(folder_, "p.Json.damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadFile(aside[0]), text);
    EXPECT_EQ(OnDisk()["Device"][0]["LightInfo"]["Red"], 10);
    EXPECT_EQ(profile.GetLightInfo().red, 10);
  }
}

TEST_F(ProfileDocumentTest, WithoutATemplateNothingIsWritten) {
  CBasicProfiledata profile;
  profile.SetTemplatePath(Path("missing.Json"));
  profile.SetProfilePath(Path("p.Json"));
  profile.LoadSection(Path("p.Json"));
  EXPECT_FALSE(std::filesystem::exists(Path("p.Json")));
  EXPECT_EQ(profile.GetLightInfo(), LightInfoData{});
  // Saving a section that never loaded would write an empty "Device".
  EXPECT_FALSE(profile.Save());
  EXPECT_FALSE(std::filesystem::exists(Path("p.Json")));
}

TEST_F(ProfileDocumentTest, LookupsDoNotInsertKeys) {
  const std::string sparse = R"({"Device": [{"LightInfo": {"Red": 1}}], "profilename": "x"})";
  WriteFile(Path("p.Json"), sparse);
  CKeyboardProfiledata keyboard;
  Open(keyboard);
  keyboard.GetLightInfo();
  keyboard.GetAudioLightInfo();
  keyboard.GetLightList();
  keyboard.GetKeyList();
  keyboard.GetKeyboardSystemStages();
  keyboard.GetFnKeysetFlag();
  keyboard.GetCustomLightColors(2, 104);
  keyboard.GetCustomLightGroupIndex();
  EXPECT_EQ(keyboard.CurrentSection(), Parse(sparse)["Device"][0]);
  ASSERT_TRUE(keyboard.Save());
  EXPECT_EQ(OnDisk(), Parse(sparse));
}

// Wrong types and values out of range read as the template's value; missing ones as zero.
TEST_F(ProfileDocumentTest, BadValuesFallBackToTheTemplate) {
  WriteFile(Path("p.Json"), R"({"Device": [{
    "LightInfo": {"SelectItem": 300, "Red": "red", "Green": -1, "Blue": 2.5, "Light": true},
    "KeyList": [{"FnAssignment": -5, "Assignment": 16777216, "DefaultAssignment": "x"}],
    "DPIStages": {"StageActive": 9, "StageDPIs": [{"StageActive": 1, "StageDPIX": 70000, "StageColorR": []}]},
    "SystemSetStages": {"EqType": 40, "CustomEqSeletIndex": 1000000, "MicInValue": -3},
    "SystemStages": "not an object"
  }]})");
  CKeyboardProfiledata keyboard;
  Open(keyboard);
  const LightInfoData light = keyboard.GetLightInfo();
  EXPECT_EQ(light.selectItem, 3);
  EXPECT_EQ(light.red, 10);
  EXPECT_EQ(light.green, 20);
  EXPECT_EQ(light.blue, 30);
  EXPECT_EQ(light.light, 1);  // a bool is a valid 0/1
  EXPECT_EQ(light.speed, 0);  // missing
  const auto keys = keyboard.GetKeyList();
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].fnAssignment.Packed(), 2097193u);
  EXPECT_EQ(keys[0].assignment.Packed(), 2097193u);
  EXPECT_EQ(keys[0].defaultAssignment.Packed(), 2097193u);
  EXPECT_EQ(keyboard.GetKeyboardSystemStages().repeat, 31);  // whole object from the template

  CMouseProfiledata mouse;
  Open(mouse);
  const auto stages = mouse.GetDpiStages();
  EXPECT_EQ(mouse.GetActiveDpiStage(), 1);
  ASSERT_EQ(stages.size(), 1u);
  EXPECT_EQ(stages[0].dpiX, 6);
  EXPECT_EQ(stages[0].red, 255);

  CHs6533Profiledata headset;
  Open(headset);
  const auto audio = headset.GetSystemSetStages();
  EXPECT_EQ(audio.eqType, 5);
  EXPECT_EQ(audio.customEqSelectIndex, -1);
  EXPECT_EQ(audio.micInValue, 80);
}

TEST_F(ProfileDocumentTest, KeyboardRoundTrip) {
  CKeyboardProfiledata keyboard;
  Open(keyboard);
  const LightInfoData light{7, 4, 3, 1, 1, 200, 100, 50, 0, 0, 0, 2, 3, 6, 1, 2, 9};
  const AudioLightInfoData audio{3, 1, 2, 3, 4, 5, 6, 1, 0};
  const KeyboardSystemStages system{20, 2, 1, 3, 1, 1};
  std::vector<KeyListItem> keys(170);
  for (uint16_t i = 0; i < keys.size(); ++i) {
    keys[i].assignment = KeyAssignment::FromPacked(i, 0x700000u + i);
    keys[i].fnAssignment = KeyAssignment::FromPacked(i, 0x300000u + i);
    keys[i].defaultAssignment = KeyAssignment::FromPacked(i, 0x200000u + i);
  }
  std::vector<LightColor> colours(170);
  for (size_t j = 0; j < colours.size(); ++j) colours[j] = {uint8_t(j), uint8_t(255 - j), 7, 255};
  keyboard.SetLightInfo(light);
  keyboard.SetAudioLightInfo(audio);
  keyboard.SetKeyboardSystemStages(system);
  keyboard.SetKeyList(keys);
  keyboard.SetFnKeysetFlag(true);
  ASSERT_TRUE(keyboard.SetCustomLightColors(3, colours));
  keyboard.SetCustomLightGroupIndex(3);
  ASSERT_TRUE(keyboard.Save());

  CKeyboardProfiledata again;
  Open(again);
  EXPECT_EQ(again.GetLightInfo(), light);
  EXPECT_EQ(again.GetAudioLightInfo(), audio);
  EXPECT_EQ(again.GetKeyboardSystemStages(), system);
  const auto reread = again.GetKeyList();
  ASSERT_EQ(reread.size(), keys.size());
  EXPECT_EQ(reread[5].assignment, keys[5].assignment);
  EXPECT_EQ(reread[169].fnAssignment, keys[169].fnAssignment);
  EXPECT_EQ(reread[0].defaultAssignment.Packed(), 2097193u);  // the default is the template's, never rewritten
  EXPECT_TRUE(again.GetFnKeysetFlag());
  EXPECT_EQ(again.GetCustomLightColors(3, 170), colours);
  EXPECT_EQ(again.GetCustomLightColors(1, 4), std::vector<LightColor>(4));  // gap groups read as zeros
  EXPECT_EQ(again.GetCustomLightGroupIndex(), 3);
  // The lighting record is written with exactly its fourteen keys, all as integers.
  const Json::Value disk = OnDisk();
  const Json::Value& written = disk["Device"][0]["LightInfo"];
  EXPECT_EQ(written.size(), 14u);
  EXPECT_TRUE(written["MultiColor"].isIntegral() && !written["MultiColor"].isBool());
  EXPECT_EQ(disk["Device"][0]["CustomLightMode"]["LightColorInfo"][1], Json::Value(Json::arrayValue));
}

TEST_F(ProfileDocumentTest, MouseRoundTripAndStagesOfTheNewProfileOnly) {
  CMouseProfiledata mouse;
  Open(mouse);
  const std::vector<DpiStage> three{{1, 0, 2, 2, 255, 0, 0}, {1, 1, 6, 8, 0, 255, 0}, {0, 0, 14, 14, 0, 0, 255}};
  const MouseSystemStages system{500, 10, 1, 0, 3, 2};
  mouse.SetDpiStages(three);
  mouse.SetActiveDpiStage(2);
  mouse.SetMouseSystemStages(system);
  ASSERT_TRUE(mouse.Save());

  CMouseProfiledata again;
  Open(again);
  EXPECT_EQ(again.GetDpiStages(), three);
  EXPECT_EQ(again.GetActiveDpiStage(), 2);
  EXPECT_EQ(again.GetMouseSystemStages(), system);

  // Another profile with two stages: the third of the first profile must not linger.
  WriteFile(Path("q.Json"), R"({"Device": [{"DPIStages": {"StageActive": 0, "StageDPIs": [{}, {"StageDPIX": 9}]}}]})");
  again.SetProfilePath(Path("q.Json"));
  again.LoadSection(Path("q.Json"));
  const auto two = again.GetDpiStages();
  ASSERT_EQ(two.size(), 2u);
  EXPECT_EQ(two[1].dpiX, 9);
  EXPECT_EQ(again.GetActiveDpiStage(), 0);
}

TEST_F(ProfileDocumentTest, HeadsetRoundTripAndEqualiserRows) {
  CHs6533Profiledata headset;
  Open(headset);
  // Preset 0 and unknown presets read row 1; the custom type has no row.
  EXPECT_EQ(headset.GetEqValues(0), (std::vector<int>{7, 11, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(headset.GetEqValues(20), headset.GetEqValues(0));
  EXPECT_TRUE(headset.GetEqValues(13).empty());
  EXPECT_FALSE(headset.SetEqValues(13, std::vector<int>(10, 1)));
  EXPECT_FALSE(headset.SetEqValues(2, std::vector<int>(9, 1)));

  const std::vector<int> bands{1, -2, 3, -4, 5, -6, 7, -8, 9, -10};
  const std::vector<std::string> names{"Bühne", "低音", "plain"};
  const HeadsetSystemSetStages audio{1, 3, 13, 1, 1, 37, 0, 50};
  ASSERT_TRUE(headset.SetEqValues(4, bands));
  ASSERT_TRUE(headset.SetCustomEqValues(1, bands));
  headset.SetCustomEqNames(names);
  headset.SetSystemSetStages(audio);
  ASSERT_TRUE(headset.Save());

  CHs6533Profiledata again;
  Open(again);
  EXPECT_EQ(again.GetEqValues(4), bands);
  EXPECT_EQ(again.GetCustomEqValues(1), bands);
  EXPECT_EQ(again.GetCustomEqValues(0), std::vector<int>(10, 0));
  EXPECT_TRUE(again.GetCustomEqValues(-1).empty());
  EXPECT_EQ(again.GetCustomEqNames(), names);
  EXPECT_EQ(again.GetSystemSetStages(), audio);
}

TEST_F(ProfileDocumentTest, LightListAndKeySplitting) {
  WriteFile(Path("p.Json"), R"({"Device": [{
    "LightList": [{"LEDREGMode": 1, "LEDDirection": true, "red": 9}, null, {"LEDREGMode": 4}],
    "KeyList": [{"Assignment": 7340035}]}]})");
  CBasicProfiledata profile;
  Open(profile);
  const auto list = profile.GetLightList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].valid, 1);
  EXPECT_EQ(list[0].fx, 1);
  EXPECT_EQ(list[0].red, 9);
  EXPECT_EQ(list[1], LightInfoData{});
  EXPECT_EQ(list[2].selectItem, 4);
  const KeyAssignment key = profile.GetKeyList().at(0).assignment;  // 0x70 * 65536 + 3
  EXPECT_EQ(key.b0, 0x70);
  EXPECT_EQ(key.b1, 0);
  EXPECT_EQ(key.b2, 3);
}

TEST_F(ProfileDocumentTest, CustomEffectsAreReadOnlyFromTheDataFolder) {
  const char* library = R"({"LightInfo": [[{"Guid": "good"}, {"Guid": "../outside"}, {"Guid": "sub/x"}, {"Guid": 5}]]})";
  WriteFile(Path("morva_light.config"), library);
  WriteFile(Path("good.light"), R"({"LEDEffectList": [{"LEDREGMode": 5, "red": 1, "Time": 300, "Cyle": 2}, {}]})");
  WriteFile(root_ + "/outside.light", R"({"LEDEffectList": [{"LEDREGMode": 1}]})");
  WriteFile(Path("p.Json"), R"({"Device": [{"LightInfo": {"SelectItem": 0}}]})");
  CBasicProfiledata profile;
  Open(profile);
  profile.SetLightLibraryPath(Path("morva_light.config"));
  profile.LoadLightLibrary(profile.GetLightLibraryPath());

  profile.GetLightInfo();
  const auto steps = profile.GetCustomLightEffect();
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].light.selectItem, 5);
  EXPECT_EQ(steps[0].time, 300);
  EXPECT_EQ(steps[0].cycle, 2);
  for (int select = 1; select <= 4; ++select) {
    LightInfoData light;
    light.selectItem = static_cast<uint8_t>(select);
    profile.SetLightInfo(light);
    EXPECT_TRUE(profile.GetCustomLightEffect().empty()) << select;
  }
}

TEST_F(ProfileDocumentTest, SaveReportsAFailedWriteAndKeepsOtherKeys) {
  CBasicProfiledata profile;
  Open(profile);
  profile.SetProfilePath(Path("gone/p.Json"));
  EXPECT_FALSE(profile.Save());

  WriteFile(Path("r.Json"), R"({"profilename": "R", "profileUUID": "r", "Device": [{"LightInfo": {}}]})");
  profile.LoadReferenceSection(Path("r.Json"));
  profile.SetReferenceKeyList({KeyListItem{{}, KeyAssignment::FromPacked(0, 0x200004), {}}});
  ASSERT_TRUE(profile.SaveReference(Path("r.Json")));
  const Json::Value disk = OnDisk("r.Json");
  EXPECT_EQ(disk["profilename"], "R");
  EXPECT_EQ(disk["Device"][0]["KeyList"][0]["Assignment"], 0x200004);
}

}  // namespace
}  // namespace koru::test
