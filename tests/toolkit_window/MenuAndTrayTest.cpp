// The popup menu of "menu.xml" and the tray icon, as the main window uses them.
#include "tests/toolkit_window/WindowTestSupport.h"
#include "toolkit/window/CMenuWnd.h"
#include "toolkit/window/CTrayIcon.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru::test {
namespace {

constexpr unsigned kTrayMessage = 1025;

class MenuTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    owner.onMessage = [this](unsigned message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message == kMenuCommandMessage) commands.push_back(MenuCommandOf(wParam)->szName);
      return 0;
    };
    ownerHwnd = owner.Create(nullptr, "owner", UI_WNDSTYLE_FRAME, 0, 0, 0, 300, 200);
  }
  void TearDown() override { owner.DestroyWindow(); }

  TestWindow owner;
  HWND ownerHwnd = nullptr;
  std::vector<std::string> commands;
};

TEST_F(MenuTest, ChosenItemReachesTheOwnerAndTheMenuCloses) {
  CMenuWnd* menu = CMenuWnd::CreateMenu(ownerHwnd, "menu.xml", {500, 400});
  ASSERT_NE(menu, nullptr);
  HWND menuHwnd = menu->GetHWND();
  EXPECT_TRUE(menu->IsVisible());
  ASSERT_TRUE(Peer(menuHwnd).ClickControl("exit"));
  DispatchPendingMessages();
  EXPECT_EQ(commands, (std::vector<std::string>{"exit"}));
  EXPECT_FALSE(IsWindow(menuHwnd));
}

TEST_F(MenuTest, LosingTheFocusClosesTheMenuWithoutACommand) {
  CMenuWnd* menu = CMenuWnd::CreateMenu(ownerHwnd, "menu.xml", {500, 400});
  ASSERT_NE(menu, nullptr);
  HWND menuHwnd = menu->GetHWND();
  Peer(menuHwnd).SetActive(false);
  DispatchPendingMessages();
  EXPECT_FALSE(IsWindow(menuHwnd));
  EXPECT_TRUE(commands.empty());
}

struct AlignmentCase {
  unsigned alignment;
  UIPoint point;
  UIRect expected;  // menu.xml is 200 x 125
};

TEST_F(MenuTest, AlignmentPutsTheMenuBesideThePointAndOnTheScreen) {
  const AlignmentCase cases[] = {
      {eMenuAlignment_Left | eMenuAlignment_Top, {500, 400}, {500, 400, 700, 525}},
      {eMenuAlignment_Left | eMenuAlignment_Bottom, {500, 1040}, {500, 915, 700, 1040}},  // taskbar at the bottom
      {eMenuAlignment_Right | eMenuAlignment_Bottom, {1920, 1040}, {1720, 915, 1920, 1040}},
      {eMenuAlignment_Left | eMenuAlignment_Top, {1900, 1000}, {1720, 915, 1920, 1040}},  // pushed back on screen
  };
  for (const AlignmentCase& c : cases) {
    CMenuWnd* menu = CMenuWnd::CreateMenu(ownerHwnd, "menu.xml", c.point, c.alignment);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetWindowRect(), c.expected) << c.alignment;
    menu->Close(0);
    DispatchPendingMessages();
  }
}

TEST_F(MenuTest, MissingMarkupOpensNoMenu) {
  EXPECT_EQ(CMenuWnd::CreateMenu(ownerHwnd, "XML/no_menu.xml", {0, 0}), nullptr);
}

TEST_F(MenuTest, TrayClicksArriveAsTheCallbackMessage) {
  CTrayIcon tray;
  ASSERT_TRUE(tray.CreateTrayIcon(ownerHwnd, "IMG_TRAY_ICON", "KORU7315", kTrayMessage));
  HeadlessTrayPeer* peer = Backend().LastTray();
  ASSERT_NE(peer, nullptr);
  EXPECT_EQ(peer->ToolTip(), "KORU7315");
  EXPECT_TRUE(tray.IsVisible());
  peer->Click(UI_TRAY_RBUTTONUP);
  peer->Click(UI_TRAY_LBUTTONUP);
  DispatchPendingMessages();
  std::vector<LPARAM> mouse;
  for (const SeenMessage& seen : owner.Seen()) {
    if (seen.message == kTrayMessage) mouse.push_back(seen.lParam);
  }
  EXPECT_EQ(mouse, (std::vector<LPARAM>{517, 514}));
  tray.DeleteTrayIcon();
  EXPECT_EQ(Backend().LastTray(), nullptr);
}

TEST_F(MenuTest, NoTrayOnTheDesktopIsNotAnError) {
  Backend().SetTrayAvailable(false);
  CTrayIcon tray;
  EXPECT_TRUE(tray.CreateTrayIcon(ownerHwnd, "IMG_TRAY_ICON", "KORU7315", kTrayMessage));
  EXPECT_FALSE(tray.IsVisible());
  Backend().LastTray()->Click(UI_TRAY_LBUTTONUP);  // nothing to click: nothing arrives
  DispatchPendingMessages();
  EXPECT_TRUE(owner.Seen().empty());
}

}  // namespace
}  // namespace koru::test
