#include "toolkit/window/CMenuWnd.h"

#include <algorithm>
#include <memory>

#include "toolkit/window/MenuControls.h"
#include "toolkit/window/WindowRegistry.h"

using koru::ui::EqualsNoCase;

CMenuWnd::CMenuWnd(std::string_view xml, UIPoint point, unsigned alignment)
    : m_xml(xml), m_point(point), m_alignment(alignment) {}

CMenuWnd* CMenuWnd::CreateMenu(HWND owner, std::string_view xml, UIPoint point, unsigned alignment) {
  auto* menu = new CMenuWnd(xml, point, alignment);
  HWND hwnd = menu->Create(owner, "menu", WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
  if (!hwnd) return nullptr;  // deleted by its final message
  if (!menu->m_pm.GetRoot()) {
    menu->DestroyWindow();
    return nullptr;
  }
  menu->Place();
  menu->ShowWindow(true, true);
  menu->BringToFront();
  return menu;
}

void CMenuWnd::Place() {
  UIRect rc = GetWindowRect();
  int cx = rc.GetWidth();
  int cy = rc.GetHeight();
  int x = (m_alignment & eMenuAlignment_Right) ? m_point.x - cx : m_point.x;
  int y = (m_alignment & eMenuAlignment_Bottom) ? m_point.y - cy : m_point.y;
  // A menu opened near a screen edge stays on the screen.
  UIRect work = koru::WindowBackend().GetWorkArea(m_point);
  x = std::clamp(x, work.left, std::max(work.left, work.right - cx));
  y = std::clamp(y, work.top, std::max(work.top, work.bottom - cy));
  MoveWindow({x, y, x + cx, y + cy});
}

CControlUI* CMenuWnd::CreateControl(std::string_view className) {
  if (EqualsNoCase(className, "Menu")) return new CMenuUI;
  if (EqualsNoCase(className, "MenuElement")) return new CMenuElementUI;
  return nullptr;
}

void CMenuWnd::Notify(TNotifyUI& msg) {
  if (msg.sType != DUI_MSGTYPE_CLICK || m_closing || !msg.pSender) return;
  auto* item = static_cast<CMenuElementUI*>(msg.pSender->GetInterface("MenuElement"));
  if (!item) return;
  auto command = std::make_unique<MenuCmd>();
  command->szName = item->GetName();
  command->szUserData = item->GetUserData();
  command->szText = item->GetText();
  m_closing = true;
  koru::PostMenuCommand(GetOwner(), std::move(command));
  Close(0);
}

LRESULT CMenuWnd::HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM, bool& handled) {
  // Leaving the menu for anything else closes it; the command (if any) is already on its way.
  if (message == WM_KILLFOCUS || (message == WM_ACTIVATE && wParam == WA_INACTIVE)) {
    if (!m_closing) {
      m_closing = true;
      Close(0);
    }
    handled = true;
  }
  return 0;
}

void CMenuWnd::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  delete this;
}
