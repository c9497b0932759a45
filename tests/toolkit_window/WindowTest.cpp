// Window life, caption buttons, dragging, centring and scaling on the headless host.
#include "tests/toolkit_window/WindowTestSupport.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru::test {
namespace {

TEST_F(WindowTest, CreateTakesTheMarkupSizeAndShowsWhenVisible) {
  TestWindow window;
  bool initialised = false;
  window.onInit = [&] { initialised = true; };
  HWND hwnd = window.Create(nullptr, "main", UI_WNDSTYLE_FRAME, 0, 10, 20, CW_USEDEFAULT, CW_USEDEFAULT);
  ASSERT_TRUE(hwnd);
  EXPECT_TRUE(initialised);
  EXPECT_TRUE(window.IsVisible());
  EXPECT_EQ(Peer(hwnd).Title(), "main");
  EXPECT_EQ(window.GetWindowRect(), (UIRect{10, 20, 310, 220}));
  window.DestroyWindow();
  EXPECT_FALSE(IsWindow(hwnd));
}

struct CaptionCase {
  const char* button;
  bool minimized;
  bool maximized;
};

TEST_F(WindowTest, CaptionButtonsMinimiseMaximiseAndRestore) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "caption", UI_WNDSTYLE_FRAME, 0);
  const CaptionCase steps[] = {
      {"maxbtn", false, true},
      {"restorebtn", false, false},  // shown instead of maxbtn while zoomed
      {"minbtn", true, false},
  };
  for (const CaptionCase& step : steps) {
    if (window.IsMinimized()) window.ShowWindow(true);
    ASSERT_TRUE(Peer(hwnd).ClickControl(step.button)) << step.button;
    DispatchPendingMessages();
    EXPECT_EQ(window.IsMinimized(), step.minimized) << step.button;
    EXPECT_EQ(window.IsMaximized(), step.maximized) << step.button;
  }
  window.DestroyWindow();
}

TEST_F(WindowTest, CloseButtonEndsAModalWindowWithZeroAndItDeletesItself) {
  bool finalSeen = false;
  auto* dialog = new TestWindow;
  dialog->deleteOnFinal = true;
  dialog->onFinal = [&] { finalSeen = true; };
  HWND hwnd = dialog->Create(nullptr, "dialog", UI_WNDSTYLE_DIALOG, 0);
  PostMessage(hwnd, WM_USER, 0, 0);
  dialog->onMessage = [&](unsigned, WPARAM, LPARAM) -> LRESULT {
    EXPECT_TRUE(Peer(hwnd).ClickControl("closebtn"));
    return 0;
  };
  EXPECT_EQ(dialog->ShowModal(), 0u);
  EXPECT_TRUE(finalSeen);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowTest, DestroyingFromInsideAHandlerDefersTheFinalMessage) {
  auto* window = new TestWindow;
  window->deleteOnFinal = true;
  HWND hwnd = window->Create(nullptr, "self", UI_WNDSTYLE_FRAME, 0);
  window->onMessage = [window](unsigned, WPARAM, LPARAM) -> LRESULT {
    window->DestroyWindow();
    // Still inside the handler: the object lives until it returns.
    return window->GetPaintManager().GetRoot() ? 5 : 0;
  };
  EXPECT_EQ(SendMessage(hwnd, WM_USER, 0, 0), 5);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowTest, DraggingTheCaptionMovesTheWindowButNotFromAButton) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "drag", UI_WNDSTYLE_FRAME, 0, 100, 100, 300, 200);
  Peer(hwnd).Drag({20, 10}, {70, 40});  // on the title label
  EXPECT_EQ(window.GetWindowRect(), (UIRect{150, 130, 450, 330}));
  Peer(hwnd).Drag({285, 10}, {200, 100});  // starts on "closebtn"
  EXPECT_EQ(window.GetWindowRect(), (UIRect{150, 130, 450, 330}));
  Peer(hwnd).Drag({150, 100}, {200, 150});  // below the caption
  EXPECT_EQ(window.GetWindowRect(), (UIRect{150, 130, 450, 330}));
  window.DestroyWindow();
}

TEST_F(WindowTest, CenterWindowUsesTheVisibleOwnerElseTheScreen) {
  TestWindow owner;
  HWND ownerHwnd = owner.Create(nullptr, "owner", UI_WNDSTYLE_FRAME, 0, 100, 100, 900, 700);
  owner.MoveWindow({100, 100, 900, 700});
  TestWindow child;
  child.Create(ownerHwnd, "child", UI_WNDSTYLE_DIALOG, 0);
  child.CenterWindow();
  EXPECT_EQ(child.GetWindowRect(), (UIRect{350, 300, 650, 500}));
  owner.ShowWindow(false);
  child.CenterWindow();
  EXPECT_EQ(child.GetWindowRect(), (UIRect{810, 420, 1110, 620}));  // the 1920 x 1040 work area
  child.DestroyWindow();
  owner.DestroyWindow();
}

TEST_F(WindowTest, DpiScalesTheWindowAndItsInput) {
  TestWindow first;
  TestWindow second;
  HWND firstHwnd = first.Create(nullptr, "first", UI_WNDSTYLE_FRAME, 0, 0, 0, 300, 200);
  second.Create(nullptr, "second", UI_WNDSTYLE_FRAME, 0, 0, 0, 300, 200);
  first.SetDPI(144);
  DispatchPendingMessages();
  EXPECT_EQ(first.GetWindowRect(), (UIRect{0, 0, 450, 300}));
  EXPECT_EQ(second.GetWindowRect(), (UIRect{0, 0, 300, 200}));
  // A click lands on the control at the logical point, whatever the scale.
  ASSERT_TRUE(Peer(firstHwnd).ClickControl("ok_btn"));
  EXPECT_EQ(first.clicks, (std::vector<std::string>{"ok_btn"}));

  CPaintManagerUI::SetAllDPI(96);
  DispatchPendingMessages();
  EXPECT_EQ(first.GetWindowRect(), (UIRect{0, 0, 300, 200}));
  first.DestroyWindow();
  second.DestroyWindow();
}

TEST_F(WindowTest, AWindowWithoutItsMarkupStillExistsEmpty) {
  TestWindow window("XML/no_such_file.xml");
  HWND hwnd = window.Create(nullptr, "empty", UI_WNDSTYLE_FRAME, 0);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(window.GetPaintManager().GetRoot(), nullptr);
  window.Close(1);
  DispatchPendingMessages();
  EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
}  // namespace koru::test
