#pragma once
// The window host of the program: each toolkit window is a frameless Qt
// top-level widget that shows the paint manager's image and feeds it Qt's
// mouse, wheel, keyboard, focus and resize events; the tray icon is
// QSystemTrayIcon; the message loop sleeps inside Qt's event loop, so Qt's own
// dialogs keep our messages and timers running and an idle program uses no CPU.
#include <memory>

#include "toolkit/window/IWindowBackend.h"

namespace koru {

class QtWindowBackend : public IWindowBackend {
 public:
  QtWindowBackend();
  ~QtWindowBackend() override;

  std::unique_ptr<IWindowPeer> CreatePeer(IWindowSite& site, const WindowCreateParams& params) override;
  std::unique_ptr<ITrayPeer> CreateTray(std::function<void(LPARAM)> onMouse) override;
  std::uint64_t NowMs() const override;
  void PrepareThread(ThreadQueue& queue) override;
  void Wait(ThreadQueue& queue, std::optional<std::uint64_t> dueMs) override;
  UIRect GetWorkArea(UIPoint near) const override;
  UIPoint GetCursorPos() const override;

 private:
  struct ThreadWaker;
  ThreadWaker& WakerForThisThread();
};

// Creates the QApplication when there is none (the caller's arguments are
// kept for its life) and installs the Qt host for every window made afterwards.
QtWindowBackend& UseQtWindowBackend(int& argc, char** argv);

}  // namespace koru
