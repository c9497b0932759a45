// The language files: one set of identifiers, a text for each in every
// language, and a "Language.config" that names files the skin really has.
#include <json/json.h>

#include <fstream>

#include "tests/skin/SkinTestSupport.h"
#include "toolkit/core/CResourceManager.h"

namespace koru::test {
namespace {

class LanguageTest : public SkinTest {};

const char* const kLanguageFiles[] = {"lan_en.xml", "lan_cn.xml"};

std::set<std::string> IdsOf(const std::map<std::string, std::string>& texts) {
  std::set<std::string> ids;
  for (const auto& [id, text] : texts) ids.insert(id);
  return ids;
}

Json::Value ReadLanguageConfig() {
  std::ifstream in(SourceDir() + "/DefaultData/Language.config");
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  if (!in || !Json::parseFromStream(builder, in, &root, &errors)) return Json::Value();
  return root;
}

TEST_F(LanguageTest, EveryLanguageHasTheSameIdentifiersAndNoEmptyText) {
  std::set<std::string> reference = IdsOf(ReadLanguageFile(kLanguageFiles[0]));
  ASSERT_FALSE(reference.empty());
  for (const char* file : kLanguageFiles) {
    std::map<std::string, std::string> texts = ReadLanguageFile(file);
    EXPECT_EQ(IdsOf(texts), reference) << file;
    for (const auto& [id, text] : texts) EXPECT_FALSE(text.empty()) << file << ": " << id;
  }
}

// Identifiers the program itself hands to controls, rather than the markup.
TEST_F(LanguageTest, ProgramTextsExist) {
  std::map<std::string, std::string> texts = ReadLanguageFile("lan_en.xml");
  for (const char* id : {"kb_device_name_text", "ms_device_name_text", "hard_mp_device_name_text",
                         "soft_mp_device_name_text", "hd_device_name_text", "hub_device_name_text",
                         "unknow_device_name_text", "Phone_type_iphone", "Phone_type_samsung", "Phone_type_other",
                         "Phone_type_no_device", "light_control_on_text", "light_control_off_text", "tray_tip_text",
                         "message_text_22"}) {
    EXPECT_TRUE(texts.count(id)) << id;
  }
}

TEST_F(LanguageTest, LanguageConfigNamesTextsAndFilesOfTheSkin) {
  Json::Value config = ReadLanguageConfig();
  ASSERT_TRUE(config["Language"].isArray());
  std::map<std::string, std::string> english = ReadLanguageFile("lan_en.xml");
  std::map<std::string, std::string> chinese = ReadLanguageFile("lan_cn.xml");
  std::set<std::string> shipped;
  for (const Json::Value& language : config["Language"]) {
    std::string textId = language["Language_text"].asString();
    EXPECT_TRUE(english.count(textId)) << textId;
    EXPECT_TRUE(chinese.count(textId)) << textId;
    std::string file = language["Language_file"].asString();
    if (CResourceManager::GetInstance().LoadLanguage(file)) shipped.insert(language["Language_name"].asString());
  }
  // The two languages the skin ships are listed and load.
  EXPECT_TRUE(shipped.count("en"));
  EXPECT_TRUE(shipped.count("cn"));
}

TEST_F(LanguageTest, LoadedLanguageTranslatesThroughTheResourceManager) {
  CResourceManager& resources = CResourceManager::GetInstance();
  ASSERT_TRUE(resources.LoadLanguage("lan_en.xml"));
  EXPECT_EQ(resources.GetText("light_control_off_text"), "Lighting control off");
  ASSERT_TRUE(resources.LoadLanguage("lan_cn.xml"));
  EXPECT_EQ(resources.GetText("light_control_on_text"), "控制灯光");
  EXPECT_EQ(resources.GetText("light_control_off_text"), "不控制灯光");
}

}  // namespace
}  // namespace koru::test
