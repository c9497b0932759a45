#pragma once
// A popup menu built from markup ("menu.xml"), opened at a screen point with
// an alignment. Choosing an item posts kMenuCommandMessage to the owner with a
// MenuCmd record in wParam (owned by the message: the receiver reads it and
// never frees it). The menu closes when an item is chosen or when it loses the
// focus, and deletes itself; keep its handle, not the object, to close it.
#include <string>
#include <string_view>

#include "toolkit/window/WindowImplBase.h"

// Which corner of the menu lies at the point: Left|Top opens to the lower
// right, Right opens to the left, Bottom opens upwards.
enum MenuAlignment : unsigned {
  eMenuAlignment_Left = 1 << 1,
  eMenuAlignment_Top = 1 << 2,
  eMenuAlignment_Right = 1 << 3,
  eMenuAlignment_Bottom = 1 << 4,
};

class CMenuWnd : public WindowImplBase {
 public:
  // Creates and shows the menu; answers its window (null when the markup has no tree).
  static CMenuWnd* CreateMenu(HWND owner, std::string_view xml, UIPoint point,
                              unsigned alignment = eMenuAlignment_Left | eMenuAlignment_Top);

  void Notify(TNotifyUI& msg) override;
  CControlUI* CreateControl(std::string_view className) override;

 protected:
  std::string GetWindowClassName() const override { return "MenuWnd"; }
  std::string GetSkinFile() override { return m_xml; }
  LRESULT HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  CMenuWnd(std::string_view xml, UIPoint point, unsigned alignment);
  void Place();

  std::string m_xml;
  UIPoint m_point;
  unsigned m_alignment;
  bool m_closing = false;
};
