// The control names the program looks up are the contract between the skin
// and the code: a name that is missing or of the wrong kind is a feature that
// silently does nothing.
#include "tests/skin/SkinTestSupport.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CProgressUI.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace koru::test {
namespace {

struct Expected {
  const char* name;
  const char* kind;  // an interface the control must offer
  bool visible;      // at start, before the program touches anything
};

class MarkupTest : public SkinTest {
 protected:
  static void ExpectControls(HeadlessWindow& window, const std::vector<Expected>& table) {
    for (const Expected& row : table) {
      CControlUI* control = window.Find(row.name);
      ASSERT_NE(control, nullptr) << row.name;
      EXPECT_NE(control->GetInterface(row.kind), nullptr) << row.name << " is not a " << row.kind;
      EXPECT_EQ(control->IsVisible(), row.visible) << row.name;
    }
  }
};

TEST_F(MarkupTest, MainWindowHoldsEveryNamedControl) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
  EXPECT_EQ(window.Manager().GetClientSize(), (UISize{1000, 640}));
  ExpectControls(window, {
                             {"root", DUI_CTR_VERTICALLAYOUT, true},
                             {"closebtn", DUI_CTR_BUTTON, true},
                             {"minbtn", DUI_CTR_BUTTON, true},
                             {"maxbtn", DUI_CTR_BUTTON, false},
                             {"restorebtn", DUI_CTR_BUTTON, false},
                             {"skinbtn", DUI_CTR_BUTTON, true},
                             {"setbtn", DUI_CTR_BUTTON, true},
                             {"gamemodebtn", DUI_CTR_BUTTON, false},
                             {"cloudbtn", DUI_CTR_BUTTON, false},
                             {"smarteyesbtn", DUI_CTR_BUTTON, false},
                             {"control_light_status", DUI_CTR_BUTTON, true},
                             {"setting_progress", DUI_CTR_PROGRESS, false},
                             {"device_select_layout", DUI_CTR_HORIZONTALLAYOUT, true},
                             {"device_select_prev", DUI_CTR_BUTTON, true},
                             {"device_select_next", DUI_CTR_BUTTON, true},
                             {"device_power_switch", DUI_CTR_TABLAYOUT, true},
                             {"device_switch", DUI_CTR_TABLAYOUT, true},
                             {"No_device_Link", DUI_CTR_CONTAINER, true},
                             {"nodevice_ok_btn", DUI_CTR_BUTTON, true},
                         });
}

TEST_F(MarkupTest, NoDevicePanelLiesAboveThePages) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
  CControlUI* panel = window.Find("No_device_Link");
  CControlUI* pages = window.Find("device_switch");
  ASSERT_TRUE(panel && pages);
  EXPECT_EQ(panel->GetPos(), pages->GetPos());
  ASSERT_TRUE(window.Click("nodevice_ok_btn"));
  EXPECT_EQ(window.CountNotify(DUI_MSGTYPE_CLICK, "nodevice_ok_btn"), 1);

  // Hidden, it leaves the whole area to the pages.
  panel->SetVisible(false);
  window.Pump();
  EXPECT_EQ(window.Manager().FindControl(pages->GetPos().Center()), pages);
}

// Every visible control lies inside its window with an area, so that nothing is
// cut off or squeezed to nothing at the fixed window size.
TEST_F(MarkupTest, VisibleControlsFitTheirWindows) {
  for (const char* markup : {"XML_MAIN", "XML_ABOUT"}) {
    HeadlessWindow window;
    ASSERT_TRUE(window.Load(markup)) << window.GetLastError();
    window.Pump();
    UISize size = window.Manager().GetClientSize();
    UIRect client{0, 0, size.cx, size.cy};
    ForEachControl(window.Manager().GetRoot(), [&](CControlUI* control) {
      if (!control->IsVisible() || control->GetName().empty()) return;
      UIRect rc = control->GetPos();
      EXPECT_FALSE(rc.IsEmpty()) << markup << ": " << control->GetName();
      EXPECT_EQ(rc.Intersect(client), rc) << markup << ": " << control->GetName();
    });
  }
}

TEST_F(MarkupTest, AboutBoxAndTrayMenuNames) {
  HeadlessWindow about;
  ASSERT_TRUE(about.Load("XML_ABOUT")) << about.GetLastError();
  EXPECT_EQ(about.Manager().GetInitSize(), (UISize{800, 572}));
  ExpectControls(about, {{"closebtn", DUI_CTR_BUTTON, true},
                         {"about_ok_btn", DUI_CTR_BUTTON, true},
                         {"about_version_value", DUI_CTR_LABEL, true}});

  MenuTags tags;
  HeadlessWindow menu;
  ASSERT_TRUE(menu.Load("menu.xml", &tags)) << menu.GetLastError();
  ExpectControls(menu, {{"setwnd_menu", DUI_CTR_BUTTON, true},
                        {"about_menu", DUI_CTR_BUTTON, true},
                        {"exit", DUI_CTR_BUTTON, true}});
  // The items fill the menu's window exactly: no clipped last row, no gap.
  EXPECT_EQ(menu.Find("exit")->GetPos().bottom + 6, menu.Manager().GetClientSize().cy);
}

TEST_F(MarkupTest, DeviceTabItemAndPowerIndicatorNames) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
  ASSERT_NE(AddDeviceTab(window, "kb", "kb_device_name_text"), nullptr);

  ExpectControls(window, {{"device_select", DUI_CTR_OPTION, true},
                          {"synchro_device_select", DUI_CTR_OPTION, false},
                          {"device_select_name", DUI_CTR_LABEL, true},
                          {"device_power_Layout", DUI_CTR_HORIZONTALLAYOUT, false},
                          {"device_power_value", DUI_CTR_LABEL, false},
                          {"device_wuxian_logo", DUI_CTR_CONTROL, false},
                          {"device_Power_progress", DUI_CTR_PROGRESS, false},
                          {"device_phone_type", DUI_CTR_CONTROL, true}});
  EXPECT_EQ(window.Find<COptionUI>("device_select")->GetGroup(), "tab_header_device");
}

// Texts shown through the language file must exist in every language; an
// identifier without a text would be shown to the user as it stands.
TEST_F(MarkupTest, EveryResourceTextHasATranslation) {
  std::map<std::string, std::string> english = ReadLanguageFile("lan_en.xml");
  std::map<std::string, std::string> chinese = ReadLanguageFile("lan_cn.xml");
  ASSERT_FALSE(english.empty());
  MenuTags tags;
  int checked = 0;
  for (const std::string& markup : MarkupFiles()) {
    HeadlessWindow window;
    ASSERT_TRUE(window.Load(markup, &tags)) << markup << ": " << window.GetLastError();
    ForEachControl(window.Manager().GetRoot(), [&](CControlUI* control) {
      if (!control->IsResourceText()) return;
      // No language is loaded, so the texts read back as their identifiers.
      for (const std::string& id : {control->GetText(), control->GetToolTip()}) {
        if (id.empty()) continue;
        ++checked;
        EXPECT_TRUE(english.count(id)) << markup << ": " << control->GetName() << " names " << id;
        EXPECT_TRUE(chinese.count(id)) << markup << ": " << control->GetName() << " names " << id;
      }
    });
  }
  EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace koru::test
