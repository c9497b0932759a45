#pragma once
// A top-level window of the toolkit: a handle, a message handler, and a peer
// on the display (a Qt window, or a record of one in tests). The paint manager
// a subclass attaches is shown by the peer and receives its input; its timers
// and posted work run on this window's thread.
//
// Lifetime: DestroyWindow (or the default handling of WM_CLOSE) sends
// WM_DESTROY, drops the handle and then calls OnFinalMessage, where windows
// created per use delete themselves. When that happens inside one of this
// window's own handlers, OnFinalMessage waits until the handler has returned.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/core/IPaintHost.h"
#include "toolkit/core/UIDefs.h"
#include "toolkit/window/IWindowBackend.h"
#include "toolkit/window/WindowTypes.h"

class CPaintManagerUI;

namespace koru {
class ThreadQueue;
}

class CWindowWnd : public koru::IWindowSite {
 public:
  CWindowWnd();
  ~CWindowWnd() override;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  HWND GetOwner() const { return m_hOwner; }

  // Positions and sizes are device pixels on the screen; CW_USEDEFAULT lets
  // the host choose (the markup's size for a window with a skin).
  HWND Create(HWND owner, std::string_view name, unsigned style, unsigned exStyle, int x = CW_USEDEFAULT,
              int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT);
  HWND Create(HWND owner, std::string_view name, unsigned style, unsigned exStyle, const UIRect& rc);
  bool DestroyWindow();

  void ShowWindow(bool show = true, bool takeFocus = true);
  // Shows the window and runs a nested message loop until it closes; the owner
  // is disabled meanwhile. Timers, posted messages and sends from other
  // threads keep running. Answers the result given to Close (0 when the
  // window went another way). A quit request ends the loop and is passed on.
  unsigned ShowModal();
  // Asks the window to close with a result (posts WM_CLOSE).
  void Close(unsigned ret = IDOK);
  void CenterWindow();
  void ResizeClient(int cx = -1, int cy = -1);
  void SetIcon(std::string_view image);
  void SetWindowText(std::string_view title);

  bool IsVisible() const;
  bool IsMinimized() const;
  bool IsMaximized() const;
  void BringToFront();
  void SetTopmost(bool topmost);
  UIRect GetWindowRect() const;
  void MoveWindow(const UIRect& rc);

  LRESULT SendMessage(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
  bool PostMessage(unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Window timers arrive as WM_TIMER with the id in wParam (needs a paint manager).
  bool SetTimer(unsigned id, unsigned elapseMs);
  bool KillTimer(unsigned id);

  // Runs one message through HandleMessage, keeping the object alive across it.
  LRESULT DeliverMessage(unsigned message, WPARAM wParam, LPARAM lParam);
  // Called by the message loop: pumps the paint manager when it asked for it or a timer is due.
  bool PumpIfDue(std::uint64_t now);
  std::optional<std::uint64_t> NextDue() const;
  koru::IWindowPeer* Peer() const { return m_peer.get(); }

  // koru::IWindowSite
  HWND Handle() const override { return m_hWnd; }
  CPaintManagerUI* Manager() const override { return m_pManager; }
  LRESULT Deliver(unsigned message, WPARAM wParam, LPARAM lParam) override {
    return DeliverMessage(message, wParam, lParam);
  }
  bool IsCaptionPoint(UIPoint logical) const override;
  void WithManager(const std::function<void(CPaintManagerUI&)>& action) override;

 protected:
  virtual std::string GetWindowClassName() const = 0;
  virtual unsigned GetClassStyle() const { return 0; }
  virtual LRESULT HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND hWnd);
  // The default handling of a message HandleMessage does not take.
  LRESULT DefWindowProc(unsigned message, WPARAM wParam, LPARAM lParam);
  // Makes `manager` the one this window shows; call from WM_CREATE.
  void AttachPaintManager(CPaintManagerUI& manager);

 private:
  class PaintHost;
  struct ModalState;
  class DispatchScope;
  void SyncSizeWithManager();
  HWND CreatePlaced(HWND owner, std::string_view name, unsigned style, unsigned exStyle, UIPoint origin, UISize size);
  UIRect DefaultRect(UIPoint origin, UISize size) const;

  HWND m_hWnd = nullptr;
  HWND m_hOwner = nullptr;
  std::shared_ptr<koru::ThreadQueue> m_queue;
  std::unique_ptr<koru::IWindowPeer> m_peer;
  std::unique_ptr<PaintHost> m_paintHost;
  CPaintManagerUI* m_pManager = nullptr;
  std::shared_ptr<ModalState> m_modal;
  int m_dispatchDepth = 0;
  HWND m_finalPending = nullptr;
};
