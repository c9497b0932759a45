#pragma once
// A window without a display, driven the way a user drives a real one: build
// it from markup, click and type by control name, drag sliders, let virtual
// time pass so timers fire, and save what it shows as a PNG. UI tests of every
// panel go through this class.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/headless/HeadlessHost.h"

class IDialogBuilderCallback;

namespace koru {

class HeadlessWindow : public INotifyUI {
 public:
  // A notification as it was seen; the sender is kept by name since it may be gone later.
  struct Seen {
    std::string type;
    std::string sender;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
  };

  HeadlessWindow();
  ~HeadlessWindow() override;

  // Builds the window from a markup file, res.xml id or markup text. The size
  // defaults to the markup's <Window size>. Pumps once, so "windowinit" has been sent.
  bool Load(std::string_view markup, IDialogBuilderCallback* callback = nullptr, UISize size = {});
  // Attaches a tree built elsewhere.
  bool Attach(CControlUI* root, UISize size);
  const std::string& GetLastError() const { return m_error; }

  CPaintManagerUI& Manager() { return m_manager; }
  HeadlessHost& Host() { return m_host; }
  CControlUI* Find(std::string_view name);
  template <class T>
  T* Find(std::string_view name) {
    return dynamic_cast<T*>(Find(name));
  }

  // User steps. Each returns false when the named control is missing, hidden or has no area.
  bool Click(std::string_view name);
  bool DoubleClick(std::string_view name);
  bool RightClick(std::string_view name);
  bool Hover(std::string_view name);
  bool Wheel(std::string_view name, int delta);
  // Clicks the edit and types the text (one character event per code point).
  bool Type(std::string_view name, std::string_view text);
  void PressKey(unsigned key, unsigned keyState = 0);
  // Presses on the slider's thumb, moves in steps to where `value` lies, and releases.
  bool DragSlider(std::string_view name, int value, int steps = 5);
  // Opens the combo and clicks its row `index` in the drop list.
  bool SelectComboItem(std::string_view name, int index);
  // Logical-pixel gestures.
  void ClickAt(UIPoint pt);
  void Drag(UIPoint from, UIPoint to, int steps = 5);
  void MoveTo(UIPoint pt);

  // Lets `ms` of virtual time pass, firing every timer at its due time in order.
  void AdvanceTime(std::uint64_t ms);
  // Delivers posted work and notifications and repaints.
  int Pump();

  const QImage& Snapshot();
  bool SaveSnapshot(const std::string& pngPath);

  const std::vector<Seen>& Notifications() const { return m_seen; }
  int CountNotify(std::string_view type, std::string_view sender = {}) const;
  const Seen* LastNotify(std::string_view type = {}) const;
  void ClearNotifications() { m_seen.clear(); }

  void Notify(TNotifyUI& msg) override;

 private:
  CControlUI* Reachable(std::string_view name);
  // Moves the mouse to the named control's centre, acts there and pumps.
  bool AtCentre(std::string_view name, const std::function<void(UIPoint)>& act);
  UIPoint Device(UIPoint logical) const { return m_manager.ToDevice(logical); }

  HeadlessHost m_host;
  CPaintManagerUI m_manager;
  std::vector<Seen> m_seen;
  std::string m_error;
};

}  // namespace koru
