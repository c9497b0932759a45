// Sizes and positions from the layouts: fixed and shared sizes, padding,
// insets, alignment, floats, tabs and scrolling.
#include <gtest/gtest.h>

#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/controls/CListLabelElementUI.h"
#include "toolkit/controls/CListUI.h"
#include "toolkit/controls/CScrollBarUI.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CTabLayoutUI.h"

namespace {

using koru::HeadlessWindow;

class LayoutTest : public koru::test::ToolkitTest {};

TEST_F(LayoutTest, LinearLayoutsShareRemainingSpaceAfterFixedSizesPaddingAndInset) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="300,200">
    <VerticalLayout name="root" inset="10,10,10,10" childpadding="5">
      <Control name="top" height="40"/>
      <Control name="auto1"/>
      <HorizontalLayout name="row" height="30" childpadding="4">
        <Control name="left" width="50" padding="2,3,0,0"/>
        <Control name="fill"/>
        <Control name="right" width="60" maxheight="10"/>
      </HorizontalLayout>
      <Control name="auto2" minheight="20"/>
      <Control name="gone" height="500" visible="false"/>
    </VerticalLayout></Window>)"));
  // 200 - 20 inset - 40 - 30 - 3 * 5 padding = 95 for two shared children.
  struct Case {
    const char* name;
    UIRect pos;
  };
  const Case cases[] = {
      {"top", {10, 10, 290, 50}},
      {"auto1", {10, 55, 290, 102}},
      {"row", {10, 107, 290, 137}},
      {"left", {12, 110, 62, 137}},
      {"fill", {66, 107, 226, 137}},
      {"right", {230, 107, 290, 117}},
      {"auto2", {10, 142, 290, 190}},
  };
  for (const Case& c : cases) EXPECT_EQ(window.Find(c.name)->GetPos(), c.pos) << c.name;
}

TEST_F(LayoutTest, AlignmentFloatsAndRelayoutAfterChanges) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="200,100">
    <HorizontalLayout name="root" childalign="center" childvalign="vcenter">
      <Control name="a" width="40" height="20"/>
      <Control name="b" width="60" height="30"/>
      <Control name="floater" float="true" pos="150,10,190,30"/>
    </HorizontalLayout></Window>)"));
  EXPECT_EQ(window.Find("a")->GetPos(), (UIRect{50, 40, 90, 60}));
  EXPECT_EQ(window.Find("b")->GetPos(), (UIRect{90, 35, 150, 65}));
  EXPECT_EQ(window.Find("floater")->GetPos(), (UIRect{150, 10, 190, 30}));

  // Hiding a child relayouts the others on the next pump.
  window.Find("a")->SetVisible(false);
  window.Pump();
  EXPECT_EQ(window.Find("b")->GetPos(), (UIRect{70, 35, 130, 65}));

  // A window size change relayouts and reports "windowsize" from the root.
  window.Manager().SetClientSize({300, 100});
  window.Pump();
  EXPECT_EQ(window.Find("b")->GetPos(), (UIRect{120, 35, 180, 65}));
  EXPECT_EQ(window.CountNotify("windowsize", "root"), 1);
}

TEST_F(LayoutTest, TabLayoutShowsOnlyTheSelectedPageAndNotifiesOnlyWhenAsked) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="100,100"><TabLayout name="tabs" selectedid="1">
      <Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout></Window>)"));
  auto* tabs = window.Find<CTabLayoutUI>("tabs");
  EXPECT_EQ(tabs->GetCurSel(), 1);
  EXPECT_FALSE(window.Find("p0")->IsVisible());
  EXPECT_TRUE(window.Find("p1")->IsVisible());
  EXPECT_EQ(window.Find("p1")->GetPos(), (UIRect{0, 0, 100, 100}));

  EXPECT_TRUE(tabs->SelectItem(2, false));
  EXPECT_EQ(window.CountNotify("tabselect"), 0);
  EXPECT_TRUE(tabs->SelectItem(0));
  ASSERT_EQ(window.CountNotify("tabselect", "tabs"), 1);
  EXPECT_EQ(window.LastNotify("tabselect")->wParam, 0u);
  EXPECT_EQ(window.LastNotify("tabselect")->lParam, 2);
  EXPECT_FALSE(tabs->SelectItem(3));
  EXPECT_FALSE(tabs->SelectItem(-1));
  EXPECT_EQ(tabs->GetCurSel(), 0);
}

TEST_F(LayoutTest, OverflowingListScrollsAndEnsureVisibleBringsARowIntoView) {
  HeadlessWindow window;
  ASSERT_TRUE(window.Load(R"(<Window size="120,100"><List name="list"/></Window>)"));
  auto* list = window.Find<CListUI>("list");
  for (int i = 0; i < 10; ++i) {
    auto* row = new CListLabelElementUI;
    row->SetName("row" + std::to_string(i));
    row->SetText("Row " + std::to_string(i));
    row->SetFixedHeight(20);
    list->Add(row);
  }
  list->EnsureVisible(7);  // before the layout has run
  window.Pump();
  ASSERT_TRUE(list->GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(list->GetScrollRange().cy, 100);
  UIRect row7 = window.Find("row7")->GetPos();
  EXPECT_GE(row7.top, 0);
  EXPECT_LE(row7.bottom, 100);
  EXPECT_LT(row7.right, 120);  // the scroll bar takes its width

  list->EnsureVisible(0);
  EXPECT_EQ(window.Find("row0")->GetPos().top, 0);
  EXPECT_EQ(list->GetScrollPos().cy, 0);

  // The wheel scrolls; the range bounds it.
  for (int i = 0; i < 20; ++i) window.Wheel("list", -120);
  EXPECT_EQ(list->GetScrollPos().cy, 100);
  EXPECT_EQ(window.Find("row9")->GetPos().bottom, 100);
}

}  // namespace
