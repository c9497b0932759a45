// Pages repeat control names; lookups inside a panel must find the panel's own.
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CSliderUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CTabLayoutUI.h"

namespace {

using koru::HeadlessWindow;

class ScopedLookupTest : public koru::test::ToolkitTest {};

TEST_F(ScopedLookupTest, EqualNamesInTwoPagesAreFoundInTheirOwnSubtree) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="300,200"><TabLayout name="device_switch">
      <VerticalLayout name="keyboard_page">
        <Option name="deng_Op_tab" group="kb_tabs" bindtablayoutname="function_tab" bindtabindex="1" height="20"/>
        <TabLayout name="function_tab"><Control name="kb_f0"/><Control name="kb_f1"/></TabLayout>
        <Include source="XML\CustomControlXML\LightControl.xml"/>
      </VerticalLayout>
      <VerticalLayout name="mouse_page">
        <Option name="deng_Op_tab" group="ms_tabs" bindtablayoutname="function_tab" bindtabindex="1" height="20"/>
        <TabLayout name="function_tab"><Control name="ms_f0"/><Control name="ms_f1"/></TabLayout>
        <Include source="XML\CustomControlXML\LightControl.xml"/>
      </VerticalLayout>
    </TabLayout></Window>)"));
  auto* keyboard = window.Find<CContainerUI>("keyboard_page");
  auto* mouse = window.Find<CContainerUI>("mouse_page");
  auto* kbSlider = static_cast<CSliderUI*>(keyboard->FindSubControl("DENG_LIGHT_SLIDER"));
  auto* msSlider = static_cast<CSliderUI*>(mouse->FindSubControl("deng_light_slider"));
  ASSERT_TRUE(kbSlider && msSlider);
  EXPECT_NE(kbSlider, msSlider);
  // The window-wide lookup answers the first one.
  EXPECT_EQ(window.Find("deng_light_slider"), kbSlider);

  // A tab bound by name switches the page's own tab layout, not the first of that name.
  window.Find<CTabLayoutUI>("device_switch")->SelectItem(1);
  window.Pump();
  auto* msOption = static_cast<COptionUI*>(mouse->FindSubControl("deng_Op_tab"));
  msOption->Selected(true);
  EXPECT_EQ(static_cast<CTabLayoutUI*>(mouse->FindSubControl("function_tab"))->GetCurSel(), 1);
  EXPECT_EQ(static_cast<CTabLayoutUI*>(keyboard->FindSubControl("function_tab"))->GetCurSel(), 0);

  // Removing the first page hands the window-wide name to the other one.
  window.Find<CContainerUI>("device_switch")->Remove(keyboard);
  window.Pump();
  EXPECT_EQ(window.Find("deng_light_slider"), msSlider);
  EXPECT_EQ(window.Find("kb_f0"), nullptr);
}

}  // namespace
