#pragma once
// The usual toolkit window: a paint manager built from a skin file, its own
// notification listener and builder callback, the standard caption buttons
// ("closebtn", "minbtn", "maxbtn", "restorebtn"), dragging by the caption area
// of the markup, and hooks for subclasses: InitWindow after the tree is built,
// HandleCustomMessage before anything else, OnTimer, OnDestroy.
#include <string>
#include <string_view>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/UIEvents.h"
#include "toolkit/markup/CDialogBuilder.h"
#include "toolkit/window/CWindowWnd.h"

class CButtonUI;

class WindowImplBase : public CWindowWnd, public INotifyUI, public IDialogBuilderCallback {
 public:
  WindowImplBase() = default;
  ~WindowImplBase() override;

  CPaintManagerUI& GetPaintManager() { return m_pm; }
  void Notify(TNotifyUI& msg) override;
  CControlUI* CreateControl(std::string_view className) override;
  // Renders the window at another DPI (the window follows the new image size).
  void SetDPI(int dpi);

 protected:
  // Markup of the window: a res.xml id or a path in the skin folder.
  virtual std::string GetSkinFile() = 0;
  virtual std::string GetSkinFolder() { return {}; }
  virtual void InitWindow() {}
  virtual void OnClick(TNotifyUI& msg);
  // Sees every message first; set `handled` to stop the default handling.
  virtual LRESULT HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnCreate(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnClose(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnTimer(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;

  CPaintManagerUI m_pm;
  CButtonUI* m_pCloseBtn = nullptr;
  CButtonUI* m_pMaxBtn = nullptr;
  CButtonUI* m_pRestoreBtn = nullptr;
  CButtonUI* m_pMinBtn = nullptr;

 private:
  void UpdateZoomButtons();
};
