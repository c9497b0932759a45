#pragma once
// The program's icon in the desktop's tray. Left and right clicks reach the
// receiving window as its callback message with the mouse message in lParam
// (UI_TRAY_LBUTTONUP, UI_TRAY_RBUTTONUP), posted like any other message. A
// desktop without a tray is not an error: the icon is then simply not shown.
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/window/IWindowBackend.h"
#include "toolkit/window/WindowTypes.h"

class CTrayIcon {
 public:
  CTrayIcon() = default;
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // `icon` is an image of the skin (res.xml id or path). Answers false only
  // when there is no receiver; a missing tray still answers true.
  bool CreateTrayIcon(HWND receiver, std::string_view icon, std::string_view toolTip, unsigned callbackMessage);
  void DeleteTrayIcon();
  void SetTooltipText(std::string_view toolTip);
  void SetIcon(std::string_view icon);
  void SetShowIcon();
  void SetHideIcon();
  bool IsVisible() const { return m_peer && m_visible && m_peer->IsAvailable(); }
  bool IsAvailable() const { return m_peer && m_peer->IsAvailable(); }

 private:
  std::unique_ptr<koru::ITrayPeer> m_peer;
  bool m_visible = false;
};
