// Typing rules of the edit field and focus moving between fields.
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/CEditUI.h"
#include "toolkit/headless/HeadlessWindow.h"

namespace {

using koru::HeadlessWindow;

class EditTest : public koru::test::ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(window.Load(R"(<Window size="300,100"><VerticalLayout>
        <Edit name="name_edit" height="24" maxchar="6"/>
        <Edit name="dpi_edit" height="24" numberonly="true" maxchar="5"/>
        <Edit name="ro_edit" height="24" readonly="true" text="fixed"/>
        <Button name="other" height="20"/>
      </VerticalLayout></Window>)"));
    window.ClearNotifications();
  }
  CEditUI* Edit(const char* name) { return window.Find<CEditUI>(name); }
  HeadlessWindow window;
};

TEST_F(EditTest, TypingObeysLimitsAndReportsEachChange) {
  struct Case {
    const char* edit;
    const char* typed;
    const char* result;
    int changes;
  };
  const Case cases[] = {
      {"name_edit", "Grüße!!", "Grüße!", 6},  // six characters, not six bytes
      {"dpi_edit", "12a3.4-5", "12345", 5},
      {"ro_edit", "xyz", "fixed", 0},
  };
  for (const Case& c : cases) {
    window.ClearNotifications();
    ASSERT_TRUE(window.Type(c.edit, c.typed));
    EXPECT_EQ(Edit(c.edit)->GetText(), c.result) << c.edit;
    EXPECT_EQ(window.CountNotify("textchanged", c.edit), c.changes) << c.edit;
  }
}

TEST_F(EditTest, SelectionCaretAndDeletionKeys) {
  window.Type("name_edit", "abcdef");
  CEditUI* edit = Edit("name_edit");
  window.PressKey(UIKEY_LEFT);
  window.PressKey(UIKEY_LEFT, UIKEYSTATE_SHIFT);
  window.PressKey(UIKEY_LEFT, UIKEYSTATE_SHIFT);
  EXPECT_EQ(edit->GetSelText(), "de");
  window.Manager().OnChar(U'X');  // replaces the selection
  EXPECT_EQ(edit->GetText(), "abcXf");
  window.PressKey(UIKEY_HOME);
  window.PressKey(UIKEY_DELETE);
  window.PressKey(UIKEY_END);
  window.PressKey(UIKEY_BACK);
  EXPECT_EQ(edit->GetText(), "bcX");
  window.PressKey(UIKEY_A, UIKEYSTATE_CONTROL);
  window.PressKey(UIKEY_BACK);
  EXPECT_EQ(edit->GetText(), "");
  // Text from code obeys the limit and is not reported.
  int changes = window.CountNotify("textchanged");
  edit->SetText("123456789");
  EXPECT_EQ(edit->GetText(), "123456");
  EXPECT_EQ(window.CountNotify("textchanged"), changes);
}

TEST_F(EditTest, FocusMovesWithClicksAndTabAndIsReported) {
  window.Click("name_edit");
  EXPECT_EQ(window.Manager().GetFocus(), Edit("name_edit"));
  EXPECT_EQ(window.CountNotify("setfocus", "name_edit"), 1);
  window.PressKey(UIKEY_TAB);
  EXPECT_EQ(window.Manager().GetFocus(), Edit("dpi_edit"));
  EXPECT_EQ(window.CountNotify("killfocus", "name_edit"), 1);
  window.PressKey(UIKEY_TAB, UIKEYSTATE_SHIFT);
  EXPECT_EQ(window.Manager().GetFocus(), Edit("name_edit"));
  window.PressKey(UIKEY_RETURN);
  EXPECT_EQ(window.CountNotify("return", "name_edit"), 1);
  // Clicking a button takes the focus away: the typed value is committed.
  window.Click("other");
  EXPECT_EQ(window.CountNotify("killfocus", "name_edit"), 2);
  // A hidden edit loses its focus.
  window.Click("dpi_edit");
  Edit("dpi_edit")->SetVisible(false);
  EXPECT_EQ(window.Manager().GetFocus(), nullptr);
}

}  // namespace
