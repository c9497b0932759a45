#include "toolkit/window/WindowImplBase.h"

#include "platform/DebugOutput.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/core/CControlUI.h"

using koru::ui::EqualsNoCase;

WindowImplBase::~WindowImplBase() { m_pm.RemoveNotifier(this); }

CControlUI* WindowImplBase::CreateControl(std::string_view) { return nullptr; }

void WindowImplBase::SetDPI(int dpi) { m_pm.SetDPI(dpi); }

LRESULT WindowImplBase::HandleCustomMessage(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnCreate(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = true;
  AttachPaintManager(m_pm);
  CDialogBuilder builder;
  std::string skin = GetSkinFolder().empty() ? GetSkinFile() : koru::ui::JoinPath(GetSkinFolder(), GetSkinFile());
  CControlUI* root = builder.Create(skin, this, &m_pm);
  if (!root) {
    // A window without its markup still exists, empty, so its owner's flow goes on.
    koru::DebugOutput("window " + GetWindowClassName() + ": cannot build " + skin + ": " + builder.GetLastError());
    return 0;
  }
  m_pm.AttachDialog(root);
  m_pm.AddNotifier(this);
  UISize size = m_pm.GetInitSize();
  if (size.cx > 0 && size.cy > 0) m_pm.SetClientSize(size);
  m_pCloseBtn = dynamic_cast<CButtonUI*>(m_pm.FindControl("closebtn"));
  m_pMaxBtn = dynamic_cast<CButtonUI*>(m_pm.FindControl("maxbtn"));
  m_pRestoreBtn = dynamic_cast<CButtonUI*>(m_pm.FindControl("restorebtn"));
  m_pMinBtn = dynamic_cast<CButtonUI*>(m_pm.FindControl("minbtn"));
  InitWindow();
  return 0;
}

LRESULT WindowImplBase::OnClose(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnTimer(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnKillFocus(unsigned, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  LRESULT result = DefWindowProc(message, wParam, lParam);
  UpdateZoomButtons();
  return result;
}

void WindowImplBase::UpdateZoomButtons() {
  // A zoomed window offers restore, a normal one maximise.
  if (m_pMaxBtn && m_pRestoreBtn) {
    m_pMaxBtn->SetVisible(!IsMaximized());
    m_pRestoreBtn->SetVisible(IsMaximized());
  }
}

LRESULT WindowImplBase::HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  LRESULT result = HandleCustomMessage(message, wParam, lParam, handled);
  if (handled) return result;
  switch (message) {
    case WM_CREATE: result = OnCreate(message, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(message, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(message, wParam, lParam, handled); break;
    case WM_TIMER: result = OnTimer(message, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(message, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(message, wParam, lParam, handled); break;
    default: break;
  }
  if (handled) return result;
  return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK) OnClick(msg);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  CControlUI* sender = msg.pSender;
  if (!sender) return;
  if (sender == m_pCloseBtn) {
    Close(0);
  } else if (sender == m_pMinBtn) {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (sender == m_pMaxBtn) {
    SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (sender == m_pRestoreBtn) {
    SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

void WindowImplBase::OnFinalMessage(HWND) {
  m_pm.RemoveNotifier(this);
  m_pm.RemoveAllTimers();
}
