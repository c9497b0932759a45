#include "toolkit/window/CTrayIcon.h"

#include "platform/DebugOutput.h"
#include "toolkit/window/WindowRegistry.h"

CTrayIcon::~CTrayIcon() { DeleteTrayIcon(); }

bool CTrayIcon::CreateTrayIcon(HWND receiver, std::string_view icon, std::string_view toolTip,
                               unsigned callbackMessage) {
  DeleteTrayIcon();
  if (!receiver) return false;
  m_peer = koru::WindowBackend().CreateTray([receiver, callbackMessage](LPARAM mouseMessage) {
    // Posted: the click handler may open a menu or close windows without re-entering the tray.
    PostMessage(receiver, callbackMessage, 0, mouseMessage);
  });
  if (!m_peer) return true;
  if (!m_peer->IsAvailable()) koru::DebugOutput("tray: the desktop has no tray; the icon is not shown");
  m_peer->SetIcon(icon);
  m_peer->SetToolTip(toolTip);
  SetShowIcon();
  return true;
}

void CTrayIcon::DeleteTrayIcon() {
  if (m_peer) m_peer->SetVisible(false);
  m_peer.reset();
  m_visible = false;
}

void CTrayIcon::SetTooltipText(std::string_view toolTip) {
  if (m_peer) m_peer->SetToolTip(toolTip);
}

void CTrayIcon::SetIcon(std::string_view icon) {
  if (m_peer) m_peer->SetIcon(icon);
}

void CTrayIcon::SetShowIcon() {
  if (!m_peer) return;
  m_visible = true;
  m_peer->SetVisible(true);
}

void CTrayIcon::SetHideIcon() {
  if (!m_peer) return;
  m_visible = false;
  m_peer->SetVisible(false);
}
