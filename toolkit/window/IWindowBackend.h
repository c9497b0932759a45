#pragma once
// What the window layer needs from a display: one peer per window (a real
// top-level window, or a record of one in tests), a tray icon, a clock, and a
// way to sleep until a user-interface thread has work. The Qt host and the
// headless host implement it; the program picks the first, tests the second.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "toolkit/core/UIDefs.h"
#include "toolkit/window/WindowTypes.h"

class CPaintManagerUI;

namespace koru {

class ThreadQueue;

struct WindowCreateParams {
  HWND owner = nullptr;
  std::string className;
  std::string title;
  unsigned style = 0;
  unsigned exStyle = 0;
  UIRect rect;  // screen, device pixels; CW_USEDEFAULT fields are left to the host
};

// The window as its peer sees it. Every call happens on the window's thread.
class IWindowSite {
 public:
  virtual ~IWindowSite() = default;
  virtual HWND Handle() const = 0;
  // The paint manager whose image the peer shows and that takes its input; may be null.
  virtual CPaintManagerUI* Manager() const = 0;
  // Delivers a window message synchronously (activation, focus, close, size).
  virtual LRESULT Deliver(unsigned message, WPARAM wParam, LPARAM lParam) = 0;
  // True when a press at this logical point should drag the window.
  virtual bool IsCaptionPoint(UIPoint logical) const = 0;
  // Runs input through the paint manager (when there is one) so that a handler
  // may close or delete the window safely.
  virtual void WithManager(const std::function<void(CPaintManagerUI&)>& action) = 0;
};

class IWindowPeer {
 public:
  virtual ~IWindowPeer() = default;
  virtual void Show(bool show, bool activate) = 0;
  virtual bool IsVisible() const = 0;
  virtual void Minimize() = 0;
  virtual void Maximize() = 0;
  virtual void Restore() = 0;
  virtual bool IsMinimized() const = 0;
  virtual bool IsMaximized() const = 0;
  // Outer rectangle on the screen in device pixels.
  virtual void SetGeometry(const UIRect& rc) = 0;
  virtual UIRect GetGeometry() const = 0;
  virtual void SetTitle(std::string_view title) = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
  virtual void BringToFront() = 0;
  virtual void SetTopmost(bool topmost) = 0;
  // Part of the manager's image changed (device pixels).
  virtual void Invalidate(const UIRect& deviceRect) = 0;
  virtual void SetCapture(bool /*on*/) {}
  virtual void SetCursor(int /*cursor*/) {}
  // An image name of the skin (res.xml id or path).
  virtual void SetIcon(std::string_view /*image*/) {}
};

class ITrayPeer {
 public:
  virtual ~ITrayPeer() = default;
  // False when the desktop has no tray; the icon then simply is not shown.
  virtual bool IsAvailable() const = 0;
  virtual void SetIcon(std::string_view image) = 0;
  virtual void SetToolTip(std::string_view tip) = 0;
  virtual void SetVisible(bool visible) = 0;
};

class IWindowBackend {
 public:
  virtual ~IWindowBackend() = default;
  virtual std::unique_ptr<IWindowPeer> CreatePeer(IWindowSite& site, const WindowCreateParams& params) = 0;
  // `onMouse` receives UI_TRAY_LBUTTONUP or UI_TRAY_RBUTTONUP on the creating thread.
  virtual std::unique_ptr<ITrayPeer> CreateTray(std::function<void(LPARAM mouseMessage)> onMouse) = 0;
  // Milliseconds of the windows' clock; callable from any thread.
  virtual std::uint64_t NowMs() const = 0;
  // Called once per user-interface thread before its first wait.
  virtual void PrepareThread(ThreadQueue& /*queue*/) {}
  // Sleeps on the queue's thread until the queue is woken or the clock reaches `dueMs`.
  virtual void Wait(ThreadQueue& queue, std::optional<std::uint64_t> dueMs) = 0;
  // A host with a virtual clock moves it towards its target (the next due
  // timer first) and answers true; a real clock answers false.
  virtual bool AdvanceVirtualTime(ThreadQueue& /*queue*/, std::optional<std::uint64_t> /*dueMs*/) { return false; }
  // The screen area available to windows near a point (device pixels).
  virtual UIRect GetWorkArea(UIPoint near) const = 0;
  virtual UIPoint GetCursorPos() const = 0;
};

// The process's backend. Until one is set, windows use the headless host.
void SetWindowBackend(std::shared_ptr<IWindowBackend> backend);
IWindowBackend& WindowBackend();
std::shared_ptr<IWindowBackend> SharedWindowBackend();

}  // namespace koru
