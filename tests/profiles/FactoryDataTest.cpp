// Every factory file loads through the code the program uses and holds what
// the device pages and windows expect of it.
#include "ProfileTestSupport.h"

#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/ProfileDocument.h"

#include <set>

namespace koru::test {
namespace {

class FactoryDataTest : public TempFolderTest {
 protected:
  // Loads a device's template the way a page does on its first start.
  template <class Profile>
  void LoadFirstStart(Profile& profile, const std::string& device) {
    profile.SetDeviceIndex(0);
    profile.SetTemplatePath(FactoryFolder() + device + ".Json");
    profile.SetProfilePath(Path(device + ".Json"));
    profile.LoadSection(profile.GetProfilePath());
    ASSERT_TRUE(profile.LastLoad().repaired && profile.LastLoad().repairWritten) << device;
    const Json::Value& section = profile.CurrentSection();
    EXPECT_TRUE(HasWellTypedValues(section)) << device;
  }
  static Json::Value Factory(const std::string& name) {
    Json::Value value;
    EXPECT_EQ(JsonFile::ReadJson(FactoryFolder() + name, value), JsonFileState::Ok) << name;
    return value;
  }
};

TEST_F(FactoryDataTest, TemplatesAreOfTheirDeviceKind) {
  const std::pair<const char*, ProfileKind> templates[] = {{"keyboard", ProfileKind::Keyboard},
                                                           {"mouse", ProfileKind::Mouse},
                                                           {"MousePad", ProfileKind::MousePad},
                                                           {"HD", ProfileKind::Headset}};
  for (const auto& [device, kind] : templates) {
    const Json::Value document = Factory(std::string(device) + ".Json");
    EXPECT_EQ(DetectProfileKind(DeviceSection(document, 0)), kind) << device;
    CBasicProfiledata profile;
    LoadFirstStart(profile, device);
    const LightInfoData light = profile.GetLightInfo();
    EXPECT_LE(light.light, 4) << device;
    EXPECT_LE(light.speed, 4) << device;
  }
}

TEST_F(FactoryDataTest, KeyboardTemplateHoldsTheDefaultKeyTableAndCustomGroups) {
  CKeyboardProfiledata keyboard;
  LoadFirstStart(keyboard, "keyboard");
  const auto keys = keyboard.GetKeyList();
  ASSERT_EQ(keys.size(), 170u);
  const std::pair<int, uint32_t> rows[] = {{0, 0x200029}, {16, 0xA01B00}, {17, 0x309201}, {84, 0x200200},
                                           {110, 0xA00100}, {120, 0xD0A201}, {125, 0x208000}, {126, 0x200000},
                                           {169, 0x200000}};
  for (const auto& [row, code] : rows) {
    EXPECT_EQ(keys[row].defaultAssignment.Packed(), code) << row;
    EXPECT_EQ(keys[row].assignment, keys[row].defaultAssignment) << row;
    EXPECT_EQ(keys[row].fnAssignment, keys[row].defaultAssignment) << row;
  }
  EXPECT_FALSE(keyboard.GetFnKeysetFlag());
  EXPECT_LE(keyboard.GetKeyboardSystemStages().repeatDelay, 3);
  EXPECT_LE(keyboard.GetKeyboardSystemStages().pollingRate, 3);
  const auto colours = keyboard.GetCustomLightColors(0, 170);
  EXPECT_EQ(colours[0], (LightColor{255, 255, 255, 255}));
  EXPECT_EQ(colours[125], (LightColor{255, 255, 255, 255}));
  EXPECT_EQ(colours[126], (LightColor{0, 0, 0, 255}));  // no key, no LED
}

TEST_F(FactoryDataTest, MouseTemplateHoldsButtonsStagesAndCorrections) {
  CMouseProfiledata mouse;
  LoadFirstStart(mouse, "mouse");
  const uint32_t buttons[] = {0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100,
                              0x130200, 0x130300, 0xA01B00, 0x169001, 0x147802};
  const auto keys = mouse.GetKeyList();
  ASSERT_EQ(keys.size(), std::size(buttons));
  for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i].defaultAssignment.Packed(), buttons[i]) << i;
  const auto stages = mouse.GetDpiStages();
  ASSERT_EQ(stages.size(), 5u);
  EXPECT_LT(mouse.GetActiveDpiStage(), 5);
  for (size_t i = 1; i < stages.size(); ++i) EXPECT_GT(stages[i].dpiX, stages[i - 1].dpiX);
  EXPECT_LE(mouse.GetMouseSystemStages().reportRate, 3);
  EXPECT_FALSE(mouse.GetCorrectInfo().empty());
}

TEST_F(FactoryDataTest, HeadsetTemplateHoldsTheEqualiserPresets) {
  const std::vector<std::vector<int>> presets{
      {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},        {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
      {10, 4, 0, -3, -4, -3, -2, -1, 0, 0},      {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},            {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
      {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},       {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
      {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},       {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
      {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},       {2, 1, -2, -4, -8, 4, 12, 16, 18, 15}};
  CHs6533Profiledata headset;
  LoadFirstStart(headset, "HD");
  for (int type = 1; type <= 12; ++type) EXPECT_EQ(headset.GetEqValues(type), presets[type - 1]) << type;
  const auto audio = headset.GetSystemSetStages();
  EXPECT_GE(audio.eqType, 1);
  EXPECT_LE(audio.eqType, 13);
  EXPECT_TRUE(headset.GetCustomEqNames().empty());
}

TEST_F(FactoryDataTest, EffectNamesCoverEveryDeviceKind) {
  const Json::Value lights = Factory("default_light.json");
  // Per light set: the number of effects, and those that synchronised lighting selects.
  const std::pair<unsigned, std::vector<int>> sets[] = {
      {35, {4, 5, 6, 34, 20}}, {12, {1, 2, 3, 4, 10}}, {9, {1, 2, 3, 4, 8}}, {9, {1, 2, 3, 4, 8}}};
  ASSERT_EQ(lights["DefaultLightName"].size(), std::size(sets));
  ASSERT_EQ(lights["AreaLightName"].size(), std::size(sets));
  for (unsigned set = 0; set < std::size(sets); ++set) {
    const Json::Value& effects = lights["DefaultLightName"][set];
    ASSERT_EQ(effects.size(), sets[set].first) << set;
    std::set<int> codes;
    for (const Json::Value& effect : effects) {
      EXPECT_TRUE(effect["LightName"].isString());
      EXPECT_TRUE(effect["visible"].isIntegral());
      EXPECT_TRUE(codes.insert(effect["value"].asInt()).second) << "code used twice in set " << set;
    }
    for (int index : sets[set].second) EXPECT_EQ(effects[index]["visible"], 1) << set << ":" << index;
    EXPECT_FALSE(lights["AreaLightName"][set].empty());
  }
}

TEST_F(FactoryDataTest, WindowFilesHaveTheirKeys) {
  const Json::Value colours = Factory("color_option_info.config")["coloroptioninfo"];
  ASSERT_EQ(colours["palletDialogcoloroption"].size(), 20u);
  ASSERT_EQ(colours["palletDialogcollectcoloroption"].size(), 20u);
  for (const Json::Value& preset : colours["palletDialogcoloroption"])
    EXPECT_TRUE(Matches(preset["color"].asString(), "hhhhhhhh")) << preset;
  EXPECT_TRUE(colours["palletDialogcoloroption_selectitem"].isIntegral());
  EXPECT_TRUE(colours["palletDialogcollectcoloroption_selectitem"].isIntegral());

  const Json::Value styles = Factory("AudioFile.json")["Device"]["AudioLightInfo"];
  EXPECT_LE(styles["nAudioStyle"].asInt(), 3);
  for (int i = 0; i < 4; ++i) {
    EXPECT_FALSE(styles["nStyleName" + std::to_string(i + 1)].asString().empty());
    for (const char* c : {"nStyleR", "nStyleG", "nStyleB"}) {
      const int level = styles[c + std::to_string(i)].asInt();
      EXPECT_TRUE(level >= 0 && level <= 9) << c << i;
    }
  }

  const Json::Value languages = Factory("Language.config")["Language"];
  ASSERT_GE(languages.size(), 16u);  // the font table names languages 0, 2 and 15
  std::set<int> ids;
  for (const Json::Value& language : languages) {
    EXPECT_TRUE(ids.insert(language["Language_ID"].asInt()).second);
    for (const char* key : {"Language_name", "Language_file", "Language_text"})
      EXPECT_FALSE(language[key].asString().empty()) << key;
  }
  EXPECT_EQ(languages[0]["Language_file"], "lan_cn.xml");
}

TEST_F(FactoryDataTest, RecoilPatternsHaveThirtyShotsOfSixEvents) {
  for (int gun = 0; gun < 4; ++gun) {
    const Json::Value events = Factory("ShootData_" + std::to_string(gun) + ".Shoot")["Events"];
    ASSERT_EQ(events.size(), 180u) << gun;
    for (Json::ArrayIndex shot = 0; shot < 30; ++shot) {
      const Json::ArrayIndex e = shot * 6;
      EXPECT_EQ(events[e]["Action"], "down");
      EXPECT_EQ(events[e]["Button"], 1);
      EXPECT_EQ(events[e]["Delay"], 10);
      EXPECT_EQ(events[e + 1]["Action"], "up");
      const int types[] = {1, 1, 4, 5, 4, 5};
      for (Json::ArrayIndex k = 0; k < 6; ++k) {
        EXPECT_EQ(events[e + k]["Type"], types[k]);
        EXPECT_TRUE(events[e + k]["Delay"].isIntegral());
        const int button = events[e + k]["Button"].asInt();
        EXPECT_TRUE(button >= 0 && button <= 255);
      }
      EXPECT_EQ(events[e + 2]["Delay"], 5);
      EXPECT_EQ(events[e + 4]["Button"], 0);
      EXPECT_EQ(events[e + 5]["Button"], 0);
    }
  }
}

}  // namespace
}  // namespace koru::test
