// Building windows from markup: res.xml, styles, defaults, nested files, the
// creation callback and the control factory.
#include <gtest/gtest.h>

#include <vector>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/controls/CEditUI.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/CSliderUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CVerticalLayoutUI.h"
#include "toolkit/markup/CControlFactory.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace {

using koru::HeadlessWindow;

class MarkupBuilderTest : public koru::test::ToolkitTest {};

// A control class of the program, as the custom controls register theirs.
class CGaugeUI : public CLabelUI {
 public:
  std::string GetClass() const override { return "Gauge"; }
  void SetAttribute(std::string_view name, std::string_view value) override {
    if (koru::ui::EqualsNoCase(name, "needleimage")) needle = value;
    else CLabelUI::SetAttribute(name, value);
  }
  std::string needle;
};

// The main window's role: asked first for every tag; builds sub-trees from files.
class RecordingCallback : public IDialogBuilderCallback {
 public:
  explicit RecordingCallback(CPaintManagerUI* manager) : m_manager(manager) {}
  CControlUI* CreateControl(std::string_view className) override {
    asked.emplace_back(className);
    if (koru::ui::EqualsNoCase(className, "LightSetControlUI")) {
      CDialogBuilder builder;
      return builder.Create("XML\\CustomControlXML\\LightControl.xml", this, m_manager);
    }
    if (koru::ui::EqualsNoCase(className, "Button") && overrideButtons) return new CGaugeUI;
    return nullptr;
  }
  std::vector<std::string> asked;
  bool overrideButtons = false;

 private:
  CPaintManagerUI* m_manager;
};

TEST_F(MarkupBuilderTest, WindowFromResIdAppliesWindowAttributesDefaultsStylesAndIncludes) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
  CPaintManagerUI& pm = window.Manager();
  EXPECT_EQ(pm.GetClientSize(), (UISize{400, 300}));
  EXPECT_EQ(pm.GetCaptionRect(), (UIRect{0, 0, 0, 30}));
  EXPECT_EQ(pm.GetMinInfo(), (UISize{200, 150}));
  EXPECT_TRUE(pm.HasFont(1));

  // Defaults per class come first, a style where it is named.
  auto* ok = window.Find<CButtonUI>("ok");
  auto* cancel = window.Find<CButtonUI>("CANCEL");  // lookups ignore case
  ASSERT_TRUE(ok && cancel);
  EXPECT_EQ(ok->GetTextColor(), 0xFF102030u);
  EXPECT_EQ(ok->GetFixedHeight(), 24);
  EXPECT_EQ(ok->GetFixedWidth(), 120);
  EXPECT_EQ(ok->GetBkColor(), 0xFF336699u);
  EXPECT_EQ(cancel->GetFixedWidth(), 80);

  // The included file (backslash path) joined the tree in place.
  auto* edit = window.Find<CEditUI>("panel_edit");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->GetMaxChar(), 4);
  EXPECT_EQ(edit->GetParent(), window.Find("panel"));
  EXPECT_EQ(window.Find("panel")->GetParent(), window.Find("root"));

  // Unknown tags are skipped with their children; unknown attributes do no harm.
  EXPECT_EQ(window.Find("unknown_tag"), nullptr);
  EXPECT_EQ(window.Find("lost_child"), nullptr);
  EXPECT_EQ(window.CountNotify("windowinit", "root"), 1);
}

TEST_F(MarkupBuilderTest, CallbackIsAskedFirstThenFactoryThenBuiltins) {
  CControlFactory::GetInstance()->RegistControl("Gauge", [] { return new CGaugeUI; });
  HeadlessWindow window;
  RecordingCallback callback(&window.Manager());
  const char* markup = R"(<Window size="200,100"><VerticalLayout name="root">
      <Gauge name="gauge" needleimage="needle.png" height="20"/>
      <Button name="plain"/>
      <LightSetControlUI name="light_panel" height="50"/>
    </VerticalLayout></Window>)";
  ASSERT_TRUE(window.Load(markup, &callback)) << window.GetLastError();

  // Every tag reached the callback, the sub-tree's tags included.
  std::vector<std::string> expected = {"VerticalLayout", "Gauge", "Button", "LightSetControlUI",
                                       "VerticalLayout", "Slider", "Label"};
  EXPECT_EQ(callback.asked, expected);

  auto* gauge = window.Find<CGaugeUI>("gauge");
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->needle, "needle.png");
  EXPECT_NE(window.Find<CButtonUI>("plain"), nullptr);

  // The sub-tree's root takes the element's own attributes (its name, height).
  CControlUI* panel = window.Find("light_panel");
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetFixedHeight(), 50);
  EXPECT_EQ(window.Find("light_panel_root"), nullptr);
  auto* slider = window.Find<CSliderUI>("deng_light_slider");
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetValue(), 2);
  EXPECT_EQ(slider->GetParent(), panel);
}

TEST_F(MarkupBuilderTest, CallbackOverridesBuiltinClass) {
  HeadlessWindow window;
  RecordingCallback callback(&window.Manager());
  callback.overrideButtons = true;
  ASSERT_TRUE(window.Load(R"(<Window><HorizontalLayout><Button name="b" needleimage="n"/></HorizontalLayout></Window>)",
                          &callback));
  auto* gauge = window.Find<CGaugeUI>("b");
  ASSERT_NE(gauge, nullptr);
  EXPECT_EQ(gauge->needle, "n");
}

TEST_F(MarkupBuilderTest, MissingOrBrokenMarkupFailsWithAReason) {
  struct Case {
    const char* source;
    const char* reasonPart;
  };
  const Case cases[] = {
      {"XML/does_not_exist.xml", "does_not_exist.xml"},
      {"<Window><VerticalLayout>", "offset"},
      {"<Window><Mystery/></Window>", "no control"},
  };
  for (const Case& c : cases) {
    HeadlessWindow window;
    EXPECT_FALSE(window.Load(c.source)) << c.source;
    EXPECT_NE(window.GetLastError().find(c.reasonPart), std::string::npos) << window.GetLastError();
  }
}

TEST_F(MarkupBuilderTest, SelfIncludingFileStopsInsteadOfRecursingForever) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window><VerticalLayout name="root"><Include source="XML/loop.xml"/></VerticalLayout></Window>)"));
  int loops = 0;
  window.Find("root")->FindControl(
      [&](CControlUI* c) -> CControlUI* {
        if (c->GetName() == "loop") ++loops;
        return nullptr;
      },
      UIFIND_ALL);
  EXPECT_GT(loops, 0);
  EXPECT_LE(loops, 16);
}

}  // namespace
