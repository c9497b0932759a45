#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/LanguageSwitch.h"
#include "platform/qt/SettingsStore.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

class LanguageSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::path(testing::TempDir()) / ("language_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    WriteFile(folder / "Language.config", R"({"Language": [
      {"Language_ID": 2052, "Language_name": "cn", "Language_file": "lan_cn.xml", "Language_text": "t_cn"},
      {"Language_ID": 1033, "Language_name": "en", "Language_file": "lan_en.xml", "Language_text": "t_en"},
      {"Language_ID": "bad"},
      {"Language_ID": 1054, "Language_name": "th", "Language_file": "lan_th.xml", "Language_text": "t_th"}]})");
    WriteFile(folder / "lan_en.xml", R"(<Language name="English"><Text id="hello">Hello</Text></Language>)");
    WriteFile(folder / "lan_cn.xml", R"(<Language name="Chinese"><Text id="hello">你好</Text></Language>)");
    CPaintManagerUI::SetResourcePath(folder.string());
    store = std::make_unique<koru::SettingsStore>((folder / "settings.ini").string());
  }
  void TearDown() override {
    CResourceManager::GetInstance().ResetTexts();
    fs::remove_all(folder);
  }
  std::uint32_t StoredId() const {
    return store->ReadDword(koru::kProgramSettingsSection, koru::kLanguageValue, 0);
  }

  fs::path folder;
  std::unique_ptr<koru::SettingsStore> store;
};

TEST_F(LanguageSwitchTest, FirstStartIsEnglishThenTheStoredLanguage) {
  CLanguageSwitch languages(*store, (folder / "Language.config").string());
  EXPECT_EQ(languages.LoadLanguageIndex(), 1);
  store->WriteDword(koru::kProgramSettingsSection, koru::kLanguageValue, 1054);
  EXPECT_EQ(languages.LoadLanguageIndex(), 3);
  store->WriteDword(koru::kProgramSettingsSection, koru::kLanguageValue, 520);  // unknown ID
  EXPECT_EQ(languages.LoadLanguageIndex(), 0);

  WriteFile(folder / "Language.config", "{ not json");
  EXPECT_EQ(languages.LoadLanguageIndex(), 0);
  EXPECT_TRUE(ReadLanguageConfig((folder / "missing.config").string()).empty());
}

TEST_F(LanguageSwitchTest, ApplyLoadsTextsAndStoresTheChoiceOnce) {
  CLanguageSwitch languages(*store, (folder / "Language.config").string());
  EXPECT_TRUE(languages.ApplyLanguage(1, nullptr));
  EXPECT_EQ(CResourceManager::GetInstance().GetText("hello"), "Hello");
  EXPECT_EQ(StoredId(), 1033u);

  // The current language again: nothing happens, not even the stored value.
  store->WriteDword(koru::kProgramSettingsSection, koru::kLanguageValue, 7);
  EXPECT_FALSE(languages.ApplyLanguage(1, nullptr));
  EXPECT_EQ(StoredId(), 7u);

  EXPECT_TRUE(languages.ApplyLanguage(0, nullptr));
  EXPECT_EQ(CResourceManager::GetInstance().GetText("hello"), "你好");
  EXPECT_EQ(languages.CurrentIndex(), 0);

  // Beyond the list: becomes current, texts stay.
  EXPECT_TRUE(languages.ApplyLanguage(9, nullptr));
  EXPECT_EQ(CResourceManager::GetInstance().GetText("hello"), "你好");
}

TEST(LanguageFonts, ScriptLanguagesHaveTheirFamilyAndOthersKeepTheFonts) {
  struct Case {
    const char* previous;
    const char* next;
    bool first;
    const char* family;
  };
  const Case cases[] = {
      {"", "en", true, "Noto Sans"},         // the first choice sets the fonts
      {"en", "th", false, "Noto Sans Thai"},
      {"th", "de", false, "Noto Sans"},      // leaving a script font
      {"de", "fr", false, ""},               // unchanged
      {"cn", "tw", false, "Noto Sans CJK TC"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CLanguageSwitch::FontFamilyForSwitch(c.previous, c.next, c.first), c.family)
        << c.previous << " -> " << c.next;
  }
}

}  // namespace
