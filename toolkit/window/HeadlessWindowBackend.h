#pragma once
// The window host of tests: no display, a virtual clock that moves only when
// told (AdvanceTime, from any thread), windows that record what was asked of
// them and take input by control name, and a tray icon that can be clicked.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/window/IWindowBackend.h"

namespace koru {

class HeadlessWindowPeer : public IWindowPeer {
 public:
  explicit HeadlessWindowPeer(IWindowSite& site, const WindowCreateParams& params);

  void Show(bool show, bool activate) override;
  bool IsVisible() const override { return m_visible; }
  void Minimize() override { m_minimized = true, m_maximized = false; }
  void Maximize() override { m_maximized = true, m_minimized = false; }
  void Restore() override { m_minimized = m_maximized = false; }
  bool IsMinimized() const override { return m_minimized; }
  bool IsMaximized() const override { return m_maximized; }
  void SetGeometry(const UIRect& rc) override { m_rect = rc; }
  UIRect GetGeometry() const override { return m_rect; }
  void SetTitle(std::string_view title) override { m_title = title; }
  void SetEnabled(bool enabled) override { m_enabled = enabled; }
  bool IsEnabled() const override { return m_enabled; }
  void BringToFront() override { ++m_raised; }
  void SetTopmost(bool topmost) override { m_topmost = topmost; }
  void Invalidate(const UIRect&) override { ++m_invalidations; }
  void SetIcon(std::string_view image) override { m_icon = image; }

  // What a user does. Input to a disabled window (the owner of a modal one) is ignored.
  bool ClickControl(std::string_view name);
  void ClickAt(UIPoint logical);
  // Presses at `from`, moves to `to` and releases; a press on the caption moves the window.
  void Drag(UIPoint from, UIPoint to);
  // The window loses (false) or gains (true) the focus.
  void SetActive(bool active);

  const std::string& Title() const { return m_title; }
  const std::string& Icon() const { return m_icon; }
  bool IsTopmost() const { return m_topmost; }
  int RaiseCount() const { return m_raised; }
  int InvalidationCount() const { return m_invalidations; }

 private:
  IWindowSite& m_site;
  UIRect m_rect;
  std::string m_title;
  std::string m_icon;
  bool m_visible = false;
  bool m_minimized = false;
  bool m_maximized = false;
  bool m_enabled = true;
  bool m_topmost = false;
  int m_raised = 0;
  int m_invalidations = 0;
};

class HeadlessWindowBackend;

class HeadlessTrayPeer : public ITrayPeer {
 public:
  HeadlessTrayPeer(HeadlessWindowBackend& backend, std::function<void(LPARAM)> onMouse, bool available)
      : m_backend(backend), m_onMouse(std::move(onMouse)), m_available(available) {}
  ~HeadlessTrayPeer() override;
  bool IsAvailable() const override { return m_available; }
  void SetIcon(std::string_view image) override { m_icon = image; }
  void SetToolTip(std::string_view tip) override { m_tip = tip; }
  void SetVisible(bool visible) override { m_visible = visible && m_available; }

  void Click(LPARAM mouseMessage) {
    if (m_visible) m_onMouse(mouseMessage);
  }
  const std::string& Icon() const { return m_icon; }
  const std::string& ToolTip() const { return m_tip; }
  bool IsVisible() const { return m_visible; }

 private:
  HeadlessWindowBackend& m_backend;
  std::function<void(LPARAM)> m_onMouse;
  bool m_available;
  std::string m_icon;
  std::string m_tip;
  bool m_visible = false;
};

class HeadlessWindowBackend : public IWindowBackend {
 public:
  HeadlessWindowBackend();

  std::unique_ptr<IWindowPeer> CreatePeer(IWindowSite& site, const WindowCreateParams& params) override;
  std::unique_ptr<ITrayPeer> CreateTray(std::function<void(LPARAM)> onMouse) override;
  std::uint64_t NowMs() const override { return m_now.load(std::memory_order_acquire); }
  void PrepareThread(ThreadQueue& queue) override;
  void Wait(ThreadQueue& queue, std::optional<std::uint64_t> dueMs) override;
  bool AdvanceVirtualTime(ThreadQueue& queue, std::optional<std::uint64_t> dueMs) override;
  UIRect GetWorkArea(UIPoint) const override { return m_workArea; }
  UIPoint GetCursorPos() const override { return m_cursor; }

  // Any thread: lets `ms` of virtual time pass; the loops fire the timers due
  // meanwhile in time order.
  void AdvanceTime(std::uint64_t ms);
  void SetWorkArea(const UIRect& rc) { m_workArea = rc; }
  void SetCursorPos(UIPoint pt) { m_cursor = pt; }
  // Whether the desktop offers a tray (for trays created afterwards).
  void SetTrayAvailable(bool available) { m_trayAvailable = available; }

  // The peer of a window of the calling thread; null when it is gone.
  static HeadlessWindowPeer* PeerOf(HWND hwnd);
  // The tray icon made last, while it exists.
  HeadlessTrayPeer* LastTray() const { return m_lastTray; }

 private:
  friend class HeadlessTrayPeer;
  std::atomic<std::uint64_t> m_now{1000};
  std::mutex m_mutex;
  std::uint64_t m_target = 1000;
  std::vector<std::weak_ptr<ThreadQueue>> m_queues;
  UIRect m_workArea{0, 0, 1920, 1040};
  UIPoint m_cursor{100, 100};
  bool m_trayAvailable = true;
  HeadlessTrayPeer* m_lastTray = nullptr;
};

// The process's headless backend, installed when it was not already; for tests.
HeadlessWindowBackend& UseHeadlessWindowBackend();

}  // namespace koru
