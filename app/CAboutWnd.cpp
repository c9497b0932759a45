#include "app/CAboutWnd.h"

#include "catalogue/DeviceCatalogue.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/core/CControlUI.h"

CAboutWnd* CAboutWnd::Create(HWND owner) {
  auto* box = new CAboutWnd;
  if (box->CWindowWnd::Create(owner, "  ", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 800, 572) == nullptr) {
    delete box;
    return nullptr;
  }
  box->CenterWindow();
  return box;
}

std::string CAboutWnd::VersionText() { return std::string(FirmwareListTable.back().versionText); }

void CAboutWnd::InitWindow() {
  if (CControlUI* version = m_pm.FindControl("about_version_value")) version->SetText(VersionText());
}

void CAboutWnd::Notify(TNotifyUI& msg) {
  if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender != nullptr) {
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn" || name == "about_ok_btn") {
      Close(IDOK);
      return;
    }
  }
  WindowImplBase::Notify(msg);
}

void CAboutWnd::OnFinalMessage(HWND hWnd) {
  WindowImplBase::OnFinalMessage(hWnd);
  delete this;
}
