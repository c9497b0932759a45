// Language files, resource texts and the window's text-query callback.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using koru::HeadlessWindow;

class LanguageTest : public koru::test::ToolkitTest {};

class FixedAnswer : public IQueryControlText {
 public:
  std::optional<std::string> QueryControlText(std::string_view id, std::string_view) override {
    asked.emplace_back(id);
    if (id == "from_callback") return std::string("answered");
    return std::nullopt;
  }
  std::vector<std::string> asked;
};

TEST_F(LanguageTest, ResourceTextFollowsTheLoadedLanguage) {
  CResourceManager& rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm.LoadLanguage("lan_en.xml"));
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN"));
  CControlUI* title = window.Find("title");
  EXPECT_EQ(title->GetText(), "Lighting");
  EXPECT_EQ(title->GetRawText(), "title_text");
  EXPECT_EQ(rm.GetText("apply_text"), "Apply");  // value attribute

  ASSERT_TRUE(rm.LoadLanguage(koru::test::DataDir() + "/lan_de.xml"));
  rm.ReloadText();
  EXPECT_EQ(title->GetText(), "Beleuchtung");
  EXPECT_EQ(rm.GetText("apply_text"), "Übernehmen");
  // Ids the language lacks show as the id, not as the previous language's text.
  EXPECT_EQ(rm.GetText("effect_breath"), "effect_breath");

  // Plain labels keep their text as it is.
  auto* plain = window.Find<CLabelUI>("panel_label");
  EXPECT_EQ(plain->GetText(), "Panel");
}

TEST_F(LanguageTest, UnreadableLanguageFileKeepsTheCurrentTexts) {
  CResourceManager& rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm.LoadLanguage("lan_en.xml"));
  std::string broken = testing::TempDir() + "/broken_lang.xml";
  std::ofstream(broken) << "<Language><Text id=\"x\">unterminated";
  EXPECT_FALSE(rm.LoadLanguage(broken));
  EXPECT_FALSE(rm.LoadLanguage("missing_language.xml"));
  EXPECT_EQ(rm.GetText("title_text"), "Lighting");
}

TEST_F(LanguageTest, QueryCallbackIsAskedOnlyForMissingIds) {
  CResourceManager& rm = CResourceManager::GetInstance();
  ASSERT_TRUE(rm.LoadLanguage("lan_en.xml"));
  FixedAnswer query;
  rm.SetTextQueryInterface(&query);
  EXPECT_EQ(rm.GetText("title_text"), "Lighting");
  EXPECT_EQ(rm.GetText("from_callback"), "answered");
  EXPECT_EQ(rm.GetText("no_such_text"), "no_such_text");
  EXPECT_EQ(query.asked, (std::vector<std::string>{"from_callback", "no_such_text"}));
}

}  // namespace
