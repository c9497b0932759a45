// What the standard controls report and how they respond to a user.
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/controls/CCheckBoxUI.h"
#include "toolkit/controls/CColorPaletteUI.h"
#include "toolkit/controls/CComboUI.h"
#include "toolkit/controls/CListLabelElementUI.h"
#include "toolkit/controls/CListUI.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CSliderUI.h"
#include "toolkit/core/CNotifyPump.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CTabLayoutUI.h"

namespace {

using koru::HeadlessWindow;

class ControlBehaviourTest : public koru::test::ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    ASSERT_TRUE(window.Load(R"(<Window size="400,300">
      <VerticalLayout name="root">
        <HorizontalLayout height="30">
          <Button name="btn" width="60"/>
          <Option name="tab_a" group="tabs" bindtablayoutname="pages" bindtabindex="0" selected="true" width="40"/>
          <Option name="tab_b" group="tabs" bindtablayoutname="pages" bindtabindex="1" width="40"/>
          <CheckBox name="sync_check" width="40"/>
          <VerticalLayout name="disabled_box" enabled="false" width="60"><Button name="inner_btn"/></VerticalLayout>
        </HorizontalLayout>
        <TabLayout name="pages" height="30"><Control name="page_a"/><Control name="page_b"/></TabLayout>
        <Slider name="dpi_slider" height="20" min="0" max="100" value="10" sendmove="true" thumbsize="10,20"/>
        <Slider name="quiet_slider" height="20" min="0" max="100" value="10" thumbsize="10,20"/>
        <Combo name="combo" height="24" dropboxsize="0,200"/>
        <List name="list" height="80" menu="true"/>
        <ColorPalette name="palette" height="60" barheight="10"/>
      </VerticalLayout></Window>)"));
    window.ClearNotifications();
  }

  HeadlessWindow window;
};

TEST_F(ControlBehaviourTest, ClickNeedsPressAndReleaseInsideAnEnabledButton) {
  EXPECT_TRUE(window.Click("btn"));
  EXPECT_EQ(window.CountNotify("click", "btn"), 1);

  // Pressing inside and releasing outside is no click.
  UIRect rc = window.Find("btn")->GetPos();
  window.Drag(rc.Center(), {rc.right + 50, rc.Center().y});
  EXPECT_EQ(window.CountNotify("click", "btn"), 1);

  // A disabled container disables its descendants.
  EXPECT_FALSE(window.Find("inner_btn")->IsEnabled());
  window.Click("inner_btn");
  EXPECT_EQ(window.CountNotify("click", "inner_btn"), 0);
  window.Find("disabled_box")->SetEnabled(true);
  window.Click("inner_btn");
  EXPECT_EQ(window.CountNotify("click", "inner_btn"), 1);
}

TEST_F(ControlBehaviourTest, GroupKeepsOneSelectionAndBoundTabFollows) {
  auto* a = window.Find<COptionUI>("tab_a");
  auto* b = window.Find<COptionUI>("tab_b");
  auto* pages = window.Find<CTabLayoutUI>("pages");
  window.Click("tab_b");
  EXPECT_TRUE(b->IsSelected());
  EXPECT_FALSE(a->IsSelected());
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_EQ(window.CountNotify("selectchanged", "tab_a"), 1);
  EXPECT_EQ(window.CountNotify("selectchanged", "tab_b"), 1);
  EXPECT_EQ(window.CountNotify("tabselect", "pages"), 1);

  // Clicking the selected member of a group keeps it selected.
  window.Click("tab_b");
  EXPECT_TRUE(b->IsSelected());
  EXPECT_EQ(window.CountNotify("selectchanged"), 2);

  // The silent form changes group and page without a word; the notifying form reports both.
  window.ClearNotifications();
  a->Selected(true, false);
  EXPECT_FALSE(b->IsSelected());
  EXPECT_EQ(pages->GetCurSel(), 0);
  EXPECT_TRUE(window.Notifications().empty());
  b->Selected(true);
  EXPECT_EQ(pages->GetCurSel(), 1);
  EXPECT_EQ(window.CountNotify("selectchanged"), 2);
  EXPECT_EQ(window.CountNotify("tabselect"), 1);
}

TEST_F(ControlBehaviourTest, CheckBoxTogglesAndCanBeSetSilently) {
  auto* check = window.Find<CCheckBoxUI>("sync_check");
  window.Click("sync_check");
  EXPECT_TRUE(check->GetCheck());
  window.Click("sync_check");
  EXPECT_FALSE(check->GetCheck());
  EXPECT_EQ(window.CountNotify("selectchanged", "sync_check"), 2);
  check->SetCheck(true, false);
  EXPECT_TRUE(check->GetCheck());
  EXPECT_EQ(window.CountNotify("selectchanged", "sync_check"), 2);
}

TEST_F(ControlBehaviourTest, SliderDragReportsMovesOnlyWhenAskedAndTheFinalValueOnce) {
  ASSERT_TRUE(window.DragSlider("dpi_slider", 80));
  EXPECT_EQ(window.Find<CSliderUI>("dpi_slider")->GetValue(), 80);
  EXPECT_GE(window.CountNotify("movevaluechanged", "dpi_slider"), 3);
  EXPECT_EQ(window.CountNotify("valuechanged", "dpi_slider"), 1);

  ASSERT_TRUE(window.DragSlider("quiet_slider", 35));
  EXPECT_EQ(window.Find<CSliderUI>("quiet_slider")->GetValue(), 35);
  EXPECT_EQ(window.CountNotify("movevaluechanged", "quiet_slider"), 0);
  EXPECT_EQ(window.CountNotify("valuechanged", "quiet_slider"), 1);

  // Values from code are kept in range and send nothing.
  auto* slider = window.Find<CSliderUI>("quiet_slider");
  slider->SetValue(1000);
  EXPECT_EQ(slider->GetValue(), 100);
  slider->SetValue(-5);
  EXPECT_EQ(slider->GetValue(), 0);
  EXPECT_EQ(window.CountNotify("valuechanged", "quiet_slider"), 1);
}

TEST_F(ControlBehaviourTest, ComboKeepsIndexesOfHiddenRowsAndClearsWithMinusOne) {
  auto* combo = window.Find<CComboUI>("combo");
  for (const char* text : {"Wave", "Hidden", "Breath", "Static"}) {
    auto* row = new CListLabelElementUI;
    row->SetText(text);
    row->SetUserData(text);
    combo->Add(row);
  }
  combo->GetItemAt(1)->SetVisible(false);

  ASSERT_TRUE(window.SelectComboItem("combo", 2));
  EXPECT_EQ(combo->GetCurSel(), 2);
  EXPECT_EQ(combo->GetText(), "Breath");
  EXPECT_FALSE(combo->IsDropped());
  ASSERT_EQ(window.CountNotify("itemselect", "combo"), 1);
  EXPECT_EQ(window.LastNotify("itemselect")->wParam, 2u);
  EXPECT_EQ(window.LastNotify("itemselect")->lParam, -1);

  // The hidden row cannot be clicked, but code may still select it by index.
  EXPECT_FALSE(window.SelectComboItem("combo", 1));
  combo->ShowDropDown(false);
  EXPECT_TRUE(combo->SelectItem(1, false, false));
  EXPECT_EQ(combo->GetText(), "Hidden");

  EXPECT_TRUE(combo->SelectItem(-1));
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(combo->GetText(), "");
  EXPECT_FALSE(combo->SelectItem(4));

  // A click outside the open drop list closes it without a choice.
  window.Click("combo");
  EXPECT_TRUE(combo->IsDropped());
  window.ClickAt({399, 299});
  EXPECT_FALSE(combo->IsDropped());
  EXPECT_EQ(combo->GetCurSel(), -1);
}

TEST_F(ControlBehaviourTest, ListReportsClicksSelectionAndContextMenuRows) {
  auto* list = window.Find<CListUI>("list");
  for (int i = 0; i < 3; ++i) {
    auto* row = new CListLabelElementUI;
    row->SetName("list_row" + std::to_string(i));
    row->SetFixedHeight(20);
    list->Add(row);
  }
  window.Pump();
  window.Click("list_row1");
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(window.CountNotify("itemclick", "list_row1"), 1);
  EXPECT_EQ(window.CountNotify("itemselect", "list"), 1);

  window.RightClick("list_row2");
  EXPECT_EQ(list->GetCurSel(), 2);
  EXPECT_EQ(window.CountNotify("menu", "list_row2"), 1);

  // Removing rows above the selection keeps the same row selected.
  list->RemoveAt(0);
  EXPECT_EQ(list->GetCurSel(), 1);
  EXPECT_EQ(window.Find("list_row0"), nullptr);
}

TEST_F(ControlBehaviourTest, PalettePicksAColourOnRelease) {
  auto* palette = window.Find<CColorPaletteUI>("palette");
  palette->SetSelectColor(0xFF00FF00);
  EXPECT_EQ(palette->GetSelectColor(), 0xFF00FF00u);
  UIRect field = palette->GetPalletRect();
  window.ClickAt({field.left, field.top});  // hue 0, full saturation: red
  EXPECT_EQ(window.CountNotify("colorchanged", "palette"), 1);
  EXPECT_EQ(palette->GetSelectColor(), 0xFFFF0000u);
}

TEST_F(ControlBehaviourTest, CustomNotificationsAndAsyncDelivery) {
  CControlUI* btn = window.Find("btn");
  window.Manager().SendNotify(btn, "click_select_end", 7, 9);
  EXPECT_EQ(window.CountNotify("click_select_end", "btn"), 1);
  window.Manager().SendNotify(btn, "later", 0, 0, true);
  EXPECT_EQ(window.CountNotify("later"), 0);
  window.Pump();
  EXPECT_EQ(window.CountNotify("later"), 1);

  // A queued notification of a control that is removed is dropped with it.
  window.Manager().SendNotify(window.Find("inner_btn"), "later", 0, 0, true);
  static_cast<CContainerUI*>(window.Find("disabled_box"))->RemoveAll();
  window.Pump();
  EXPECT_EQ(window.CountNotify("later"), 1);
}

}  // namespace

namespace {

class NotifyPumpTest : public koru::test::ToolkitTest {};

TEST_F(NotifyPumpTest, RoutesByTypeSenderAndVirtualWindow) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="200,60"><HorizontalLayout>
      <Button name="save" width="50"/><Button name="load" width="50"/>
      <HorizontalLayout name="panel_box" virtualwnd="panel"><Button name="save" width="50"/></HorizontalLayout>
    </HorizontalLayout></Window>)"));
  std::vector<std::string> seen;
  CNotifyPump pump;
  CNotifyPump panel;
  pump.Bind("click", "SAVE", [&](TNotifyUI&) { seen.push_back("window save"); });
  pump.Bind("click", [&](TNotifyUI& msg) { seen.push_back("window any " + msg.pSender->GetName()); });
  panel.Bind("click", "save", [&](TNotifyUI&) { seen.push_back("panel save"); });
  ASSERT_TRUE(pump.AddVirtualWnd("panel", &panel));
  struct Forward : INotifyUI {
    CNotifyPump* pump;
    void Notify(TNotifyUI& msg) override { pump->NotifyPump(msg); }
  } forward;
  forward.pump = &pump;
  window.Manager().AddNotifier(&forward);

  window.Click("save");
  window.Click("load");
  CControlUI* panelSave = window.Find<CContainerUI>("panel_box")->FindSubControl("save");
  window.ClickAt(panelSave->GetPos().Center());
  std::vector<std::string> expected = {"window save", "window any save", "window any load", "panel save"};
  EXPECT_EQ(seen, expected);
  window.Manager().RemoveNotifier(&forward);
}

}  // namespace
