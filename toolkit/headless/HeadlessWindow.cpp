#include "toolkit/headless/HeadlessWindow.h"

#include <QImage>
#include <QString>
#include <algorithm>

#include "toolkit/controls/CComboUI.h"
#include "toolkit/controls/CSliderUI.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace koru {

HeadlessWindow::HeadlessWindow() {
  EnsureGuiApplication();
  m_manager.Init(&m_host, "headless");
  m_manager.AddNotifier(this);
}

HeadlessWindow::~HeadlessWindow() { m_manager.RemoveNotifier(this); }

bool HeadlessWindow::Load(std::string_view markup, IDialogBuilderCallback* callback, UISize size) {
  CDialogBuilder builder;
  CControlUI* root = builder.Create(markup, callback, &m_manager);
  if (!root) {
    m_error = builder.GetLastError().empty() ? "markup has no control" : builder.GetLastError();
    return false;
  }
  if (size.cx <= 0 || size.cy <= 0) size = m_manager.GetInitSize();
  if (size.cx <= 0 || size.cy <= 0) size = {800, 600};
  return Attach(root, size);
}

bool HeadlessWindow::Attach(CControlUI* root, UISize size) {
  if (!m_manager.AttachDialog(root)) return false;
  m_manager.SetClientSize(size);
  Pump();
  return true;
}

CControlUI* HeadlessWindow::Find(std::string_view name) { return m_manager.FindControl(name); }

CControlUI* HeadlessWindow::Reachable(std::string_view name) {
  m_manager.Paint();  // positions are current only after a pending layout
  CControlUI* control = Find(name);
  if (!control || !control->IsVisible() || control->GetPos().IsEmpty()) return nullptr;
  return control;
}

void HeadlessWindow::MoveTo(UIPoint pt) {
  m_manager.OnMouseMove(Device(pt));
}

void HeadlessWindow::ClickAt(UIPoint pt) {
  MoveTo(pt);
  m_manager.OnButtonDown(Device(pt));
  m_manager.OnButtonUp(Device(pt));
  Pump();
}

bool HeadlessWindow::AtCentre(std::string_view name, const std::function<void(UIPoint)>& act) {
  CControlUI* control = Reachable(name);
  if (!control) return false;
  UIPoint pt = control->GetPos().Center();
  MoveTo(pt);
  act(pt);
  Pump();
  return true;
}

bool HeadlessWindow::Click(std::string_view name) {
  return AtCentre(name, [this](UIPoint pt) {
    m_manager.OnButtonDown(Device(pt));
    m_manager.OnButtonUp(Device(pt));
  });
}

bool HeadlessWindow::DoubleClick(std::string_view name) {
  return AtCentre(name, [this](UIPoint pt) {
    m_manager.OnButtonDown(Device(pt));
    m_manager.OnButtonUp(Device(pt));
    m_manager.OnDoubleClick(Device(pt));
    m_manager.OnButtonUp(Device(pt));
  });
}

bool HeadlessWindow::RightClick(std::string_view name) {
  return AtCentre(name, [this](UIPoint pt) {
    m_manager.OnRightButtonDown(Device(pt));
    m_manager.OnRightButtonUp(Device(pt));
  });
}

bool HeadlessWindow::Hover(std::string_view name) {
  return AtCentre(name, [](UIPoint) {});
}

bool HeadlessWindow::Wheel(std::string_view name, int delta) {
  return AtCentre(name, [this, delta](UIPoint pt) { m_manager.OnWheel(Device(pt), delta); });
}

bool HeadlessWindow::Type(std::string_view name, std::string_view text) {
  if (!Click(name)) return false;
  QList<uint> chars = QString::fromUtf8(text.data(), static_cast<int>(text.size())).toUcs4();
  for (uint ch : chars) m_manager.OnChar(static_cast<char32_t>(ch));
  Pump();
  return true;
}

void HeadlessWindow::PressKey(unsigned key, unsigned keyState) {
  m_manager.OnKeyDown(key, keyState);
  m_manager.OnKeyUp(key, keyState);
  Pump();
}

void HeadlessWindow::Drag(UIPoint from, UIPoint to, int steps) {
  steps = std::max(1, steps);
  MoveTo(from);
  m_manager.OnButtonDown(Device(from));
  for (int i = 1; i <= steps; ++i) {
    UIPoint pt{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    m_manager.OnMouseMove(Device(pt), UIKEYSTATE_LBUTTON);
  }
  m_manager.OnButtonUp(Device(to));
  Pump();
}

bool HeadlessWindow::DragSlider(std::string_view name, int value, int steps) {
  auto* slider = dynamic_cast<CSliderUI*>(Reachable(name));
  if (!slider) return false;
  UIRect thumb = slider->GetThumbRect();
  UIPoint from = thumb.Center();
  // Find the point whose value is the wanted one by walking along the track.
  const UIRect& rc = slider->GetPos();
  UIPoint to = from;
  int best = -1;
  int length = slider->IsHorizontal() ? rc.GetWidth() : rc.GetHeight();
  for (int i = 0; i < length; ++i) {
    UIPoint pt = slider->IsHorizontal() ? UIPoint{rc.left + i, from.y} : UIPoint{from.x, rc.top + i};
    int distance = std::abs(slider->ValueFromPoint(pt) - value);
    if (best < 0 || distance < best) {
      best = distance;
      to = pt;
    }
  }
  Drag(from, to, steps);
  return true;
}

bool HeadlessWindow::SelectComboItem(std::string_view name, int index) {
  auto* combo = dynamic_cast<CComboUI*>(Reachable(name));
  if (!combo) return false;
  if (!combo->IsDropped()) Click(name);
  CControlUI* item = combo->GetItemAt(index);
  if (!combo->IsDropped() || !item || !item->IsVisible()) return false;
  ClickAt(item->GetPos().Center());
  return true;
}

void HeadlessWindow::AdvanceTime(std::uint64_t ms) {
  std::uint64_t target = m_host.NowMs() + ms;
  for (;;) {
    m_manager.Pump();
    std::optional<std::uint64_t> next = m_manager.NextTimerDue();
    if (!next || *next > target) break;
    m_host.SetNow(std::max(*next, m_host.NowMs()));
    m_manager.ProcessTimers();
  }
  m_host.SetNow(target);
  Pump();
}

int HeadlessWindow::Pump() { return m_manager.Pump(); }

const QImage& HeadlessWindow::Snapshot() {
  m_manager.Paint();
  return m_manager.GetImage();
}

bool HeadlessWindow::SaveSnapshot(const std::string& pngPath) {
  m_manager.Paint();
  return m_manager.SaveImage(pngPath);
}

int HeadlessWindow::CountNotify(std::string_view type, std::string_view sender) const {
  return static_cast<int>(std::count_if(m_seen.begin(), m_seen.end(), [&](const Seen& s) {
    return s.type == type && (sender.empty() || koru::ui::EqualsNoCase(s.sender, sender));
  }));
}

const HeadlessWindow::Seen* HeadlessWindow::LastNotify(std::string_view type) const {
  for (auto it = m_seen.rbegin(); it != m_seen.rend(); ++it) {
    if (type.empty() || it->type == type) return &*it;
  }
  return nullptr;
}

void HeadlessWindow::Notify(TNotifyUI& msg) {
  m_seen.push_back({msg.sType, msg.pSender ? msg.pSender->GetName() : std::string(), msg.wParam, msg.lParam});
}

}  // namespace koru
