#pragma once
// What a paint manager needs from the window that shows it. A real window
// host maps these onto its toolkit; the headless host keeps a virtual clock.
#include <cstdint>

#include "toolkit/core/UIDefs.h"

class IPaintHost {
 public:
  virtual ~IPaintHost() = default;
  // Milliseconds of the window's clock; must be callable from any thread.
  virtual std::uint64_t NowMs() const = 0;
  // Timers or posted work changed; called from any thread. The host should
  // call CPaintManagerUI::Pump on its user-interface thread soon.
  virtual void WakeUp() {}
  // Part of the window (logical coordinates) was redrawn into the manager's image.
  virtual void OnPainted(const UIRect& /*dirty*/) {}
  // A repaint or relayout was requested; the host should call Pump or Paint soon.
  virtual void RequestPaint() {}
  // Mouse capture while a button is held on a control.
  virtual void SetCapture(bool /*on*/) {}
  virtual void SetCursor(int /*cursor*/) {}
};
