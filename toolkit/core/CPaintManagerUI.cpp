#include "toolkit/core/CPaintManagerUI.h"

#include <QColor>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>

#include "platform/DebugOutput.h"
#include "toolkit/controls/CScrollBarUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/core/CResourceManager.h"

using koru::ui::EqualsNoCase;
using koru::ui::ToLower;

namespace {

struct FontSlot {
  QFont font;
  bool shared = false;
};

struct ProcessState {
  std::string instancePath;
  std::string resourcePath;
  std::vector<CPaintManagerUI*> managers;
  std::map<int, FontSlot> sharedFonts;
  std::map<std::string, std::string> sharedDefaults;
  std::map<std::string, std::string> sharedStyles;
};

ProcessState& Process() {
  static ProcessState state;
  return state;
}

QFont MakeFont(std::string_view family, int size, bool bold, bool underline, bool italic) {
  QFont font(QString::fromUtf8(family.data(), static_cast<int>(family.size())));
  font.setPixelSize(std::max(1, size));
  font.setBold(bold);
  font.setUnderline(underline);
  font.setItalic(italic);
  return font;
}

// Lets a string_view find a std::string key.
struct NameHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

}  // namespace

struct CPaintManagerUI::Resources {
  QImage image;
  std::map<int, FontSlot> fonts;
  FontSlot defaultFont{MakeFont("Sans Serif", 12, false, false, false), false};
  bool hasDefaultFont = false;
  std::unordered_map<std::string, std::shared_ptr<const TImageInfo>, NameHash, std::equal_to<>> images;
  std::unordered_map<std::string, TDrawInfo, NameHash, std::equal_to<>> drawInfos;
};

CPaintManagerUI::CPaintManagerUI() : m_res(std::make_unique<Resources>()) {
  Process().managers.push_back(this);
}

CPaintManagerUI::~CPaintManagerUI() {
  auto& managers = Process().managers;
  managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
  RemoveAllTimers();
  CControlUI* root = m_pRoot;
  m_pRoot = nullptr;
  m_pFocus = m_pEventHover = m_pEventClick = nullptr;
  m_pPopup = nullptr;
  delete root;
  for (CControlUI* control : m_delayedCleanup) delete control;
  m_delayedCleanup.clear();
}

void CPaintManagerUI::Init(IPaintHost* host, std::string_view name) {
  m_pHost = host;
  m_sName = name;
}

std::uint64_t CPaintManagerUI::GetTickCount() const { return m_pHost ? m_pHost->NowMs() : 0; }

void CPaintManagerUI::SetInstancePath(std::string_view path) { Process().instancePath = koru::ui::NormalizePath(path); }
std::string CPaintManagerUI::GetInstancePath() { return Process().instancePath; }
void CPaintManagerUI::SetResourcePath(std::string_view path) { Process().resourcePath = koru::ui::NormalizePath(path); }
std::string CPaintManagerUI::GetResourcePath() { return Process().resourcePath; }
std::vector<CPaintManagerUI*> CPaintManagerUI::GetAllManagers() { return Process().managers; }

// ---- control tree ----------------------------------------------------------

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (!root) return false;
  SetFocus(nullptr);
  m_pEventHover = m_pEventClick = nullptr;
  if (m_pRoot && m_pRoot != root) {
    CControlUI* old = m_pRoot;
    m_pRoot = nullptr;
    ReapObjects(old);
    AddDelayedCleanup(old);
  }
  m_pRoot = root;
  m_bWindowInitSent = false;
  root->SetManager(this, nullptr, true);
  InitControls(root, nullptr);
  NeedUpdate();
  return true;
}

void CPaintManagerUI::RegisterName(CControlUI* control) {
  if (control->GetName().empty()) return;
  std::string key = ToLower(control->GetName());
  m_nameMap.try_emplace(key, control);
}

void CPaintManagerUI::InitControls(CControlUI* control, CControlUI*) {
  if (!control) return;
  control->FindControl(
      [this](CControlUI* c) -> CControlUI* {
        RegisterName(c);
        return nullptr;
      },
      UIFIND_ALL);
}

void CPaintManagerUI::RenameControl(CControlUI* control, std::string_view oldName) {
  if (!oldName.empty()) {
    auto it = m_nameMap.find(ToLower(oldName));
    if (it != m_nameMap.end() && it->second == control) {
      m_nameMap.erase(it);
      if (m_pRoot) {
        if (CControlUI* other = FindSubControlByName(m_pRoot, oldName); other && other != control) RegisterName(other);
      }
    }
  }
  RegisterName(control);
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
  if (!control) return;
  // The whole subtree leaves: collect it first, the pointers stay valid until deleted.
  std::vector<CControlUI*> leaving;
  control->FindControl(
      [&leaving](CControlUI* c) -> CControlUI* {
        leaving.push_back(c);
        return nullptr;
      },
      UIFIND_ALL);
  if (std::find(leaving.begin(), leaving.end(), control) == leaving.end()) leaving.push_back(control);
  for (size_t i = 0, n = leaving.size(); i < n; ++i) {
    if (auto* container = dynamic_cast<CContainerUI*>(leaving[i])) {
      if (container->GetVerticalScrollBar()) leaving.push_back(container->GetVerticalScrollBar());
      if (container->GetHorizontalScrollBar()) leaving.push_back(container->GetHorizontalScrollBar());
    }
  }
  std::vector<std::string> renamed;
  for (CControlUI* c : leaving) {
    if (c == m_pFocus) m_pFocus = nullptr;
    if (c == m_pEventHover) m_pEventHover = nullptr;
    if (c == m_pEventClick) {
      m_pEventClick = nullptr;
      if (m_pHost) m_pHost->SetCapture(false);
    }
    if (m_pPopup && dynamic_cast<CControlUI*>(m_pPopup) == c) m_pPopup = nullptr;
    KillTimer(c);
    if (!c->GetName().empty()) {
      auto it = m_nameMap.find(ToLower(c->GetName()));
      if (it != m_nameMap.end() && it->second == c) {
        m_nameMap.erase(it);
        renamed.push_back(c->GetName());
      }
    }
    for (auto& [group, members] : m_optionGroups) {
      members.erase(std::remove(members.begin(), members.end(), c), members.end());
    }
    c->m_pManager = nullptr;
  }
  {
    std::lock_guard lock(m_queueMutex);
    m_asyncNotify.erase(std::remove_if(m_asyncNotify.begin(), m_asyncNotify.end(),
                                       [&](const TNotifyUI& n) {
                                         return std::find(leaving.begin(), leaving.end(), n.pSender) != leaving.end();
                                       }),
                        m_asyncNotify.end());
  }
  // A name the leaving control held may still belong to another control of the window.
  if (m_pRoot && control != m_pRoot) {
    for (const std::string& name : renamed) {
      CControlUI* other = m_pRoot->FindControl(
          [&](CControlUI* c) -> CControlUI* {
            return (std::find(leaving.begin(), leaving.end(), c) == leaving.end() && EqualsNoCase(c->GetName(), name)) ? c
                                                                                                                      : nullptr;
          },
          UIFIND_ALL);
      if (other) RegisterName(other);
    }
  }
  Invalidate(control->GetPos());
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
  if (!control) return;
  if (m_dispatchDepth == 0) {
    delete control;
    return;
  }
  m_delayedCleanup.push_back(control);
}

void CPaintManagerUI::EndDispatch() {
  if (--m_dispatchDepth > 0) return;
  while (!m_delayedCleanup.empty()) {
    std::vector<CControlUI*> doomed;
    doomed.swap(m_delayedCleanup);
    for (CControlUI* control : doomed) delete control;
  }
}

CControlUI* CPaintManagerUI::FindControl(std::string_view name) const {
  auto it = m_nameMap.find(ToLower(name));
  return it == m_nameMap.end() ? nullptr : it->second;
}

CControlUI* CPaintManagerUI::FindControl(UIPoint logicalPt) const { return HitTest(logicalPt); }

CControlUI* CPaintManagerUI::HitTest(UIPoint pt) const {
  if (m_pPopup && m_pPopup->GetPopupRect().Contains(pt)) return m_pPopup->PopupHitTest(pt);
  return m_pRoot ? m_pRoot->HitTest(pt) : nullptr;
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::string_view name) {
  if (!parent || name.empty()) return nullptr;
  return parent->FindControl(
      [name](CControlUI* c) -> CControlUI* { return EqualsNoCase(c->GetName(), name) ? c : nullptr; },
      UIFIND_ALL | UIFIND_ME_FIRST);
}

std::vector<CControlUI*> CPaintManagerUI::FindSubControlsByClass(CControlUI* parent, std::string_view className) {
  std::vector<CControlUI*> out;
  if (!parent) return out;
  parent->FindControl(
      [&](CControlUI* c) -> CControlUI* {
        if (c->GetClass() == className) out.push_back(c);
        return nullptr;
      },
      UIFIND_ALL | UIFIND_ME_FIRST);
  return out;
}

// ---- window ----------------------------------------------------------------

void CPaintManagerUI::SetClientSize(UISize size) {
  if (size == m_szClient) return;
  m_szClient = size;
  NeedUpdate();
  if (m_pRoot) {
    LayoutIfNeeded();
    SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWSIZE);
  }
}

void CPaintManagerUI::SetWindowAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "size")) {
    UISize size = ParseSize(value);
    SetInitSize(size);
    if (m_szClient.cx == 0 && m_szClient.cy == 0) m_szClient = size;
  } else if (EqualsNoCase(name, "caption")) {
    SetCaptionRect(ParseRect(value));
  } else if (EqualsNoCase(name, "sizebox")) {
    SetSizeBox(ParseRect(value));
  } else if (EqualsNoCase(name, "mininfo")) {
    SetMinInfo(ParseSize(value));
  } else if (EqualsNoCase(name, "maxinfo")) {
    SetMaxInfo(ParseSize(value));
  } else if (EqualsNoCase(name, "roundcorner")) {
    SetRoundCorner(ParseSize(value));
  } else if (EqualsNoCase(name, "defaultfontcolor")) {
    SetDefaultFontColor(ParseColor(value));
  } else if (EqualsNoCase(name, "disabledfontcolor")) {
    SetDefaultDisabledColor(ParseColor(value));
  } else if (EqualsNoCase(name, "selectedcolor")) {
    m_dwDefaultSelectedBkColor = ParseColor(value);
  }
}

void CPaintManagerUI::SetDPI(int dpi) {
  if (dpi <= 0 || dpi == m_nDPI) return;
  m_nDPI = dpi;
  ResetDPIAssets();
  NeedUpdate();
  Invalidate();
}

void CPaintManagerUI::SetAllDPI(int dpi) {
  for (CPaintManagerUI* manager : Process().managers) manager->SetDPI(dpi);
}

void CPaintManagerUI::ResetDPIAssets() {
  // SVG images are rendered for a scale; bitmaps are scaled when drawn.
  m_res->images.clear();
}

UIPoint CPaintManagerUI::ToLogical(UIPoint pt) const {
  return {pt.x * 96 / m_nDPI, pt.y * 96 / m_nDPI};
}

UIPoint CPaintManagerUI::ToDevice(UIPoint pt) const {
  return {(pt.x * m_nDPI + 95) / 96, (pt.y * m_nDPI + 95) / 96};
}

// ---- notifications, tasks and timers -----------------------------------------

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (!notifier || std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) return false;
  m_notifiers.push_back(notifier);
  return true;
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  auto it = std::find(m_notifiers.begin(), m_notifiers.end(), notifier);
  if (it == m_notifiers.end()) return false;
  m_notifiers.erase(it);
  return true;
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async) {
  if (async) {
    // Any thread may queue; the record is completed on the user-interface thread.
    {
      std::lock_guard lock(m_queueMutex);
      m_asyncNotify.push_back(msg);
      m_asyncNotify.back().dwTimestamp = GetTickCount();
    }
    if (m_pHost) m_pHost->WakeUp();
    return;
  }
  msg.dwTimestamp = GetTickCount();
  DeliverNotify(msg);
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::string_view type, std::uintptr_t wParam,
                                 std::intptr_t lParam, bool async) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = control;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, async);
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& msg) {
  if (msg.sVirtualWnd.empty() && msg.pSender) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
  msg.ptMouse = m_ptLastMouse;
  ++m_dispatchDepth;
  // A listener may remove another listener while we iterate.
  std::vector<INotifyUI*> notifiers = m_notifiers;
  for (INotifyUI* notifier : notifiers) {
    if (std::find(m_notifiers.begin(), m_notifiers.end(), notifier) != m_notifiers.end()) notifier->Notify(msg);
  }
  EndDispatch();
}

void CPaintManagerUI::PostTask(std::function<void()> task) {
  {
    std::lock_guard lock(m_queueMutex);
    m_tasks.push_back(std::move(task));
  }
  if (m_pHost) m_pHost->WakeUp();
}

bool CPaintManagerUI::SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) {
  if (elapseMs == 0) elapseMs = 1;
  std::uint64_t now = GetTickCount();
  {
    std::lock_guard lock(m_timerMutex);
    for (Timer& t : m_timers) {
      if (t.control == control && t.id == id) {
        t.elapse = elapseMs;
        t.due = now + elapseMs;
        t.serial = ++m_timerSerial;
        if (m_pHost) m_pHost->WakeUp();
        return true;
      }
    }
    m_timers.push_back({control, id, elapseMs, now + elapseMs, ++m_timerSerial});
  }
  if (m_pHost) m_pHost->WakeUp();
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, unsigned id) {
  std::lock_guard lock(m_timerMutex);
  auto it = std::find_if(m_timers.begin(), m_timers.end(),
                         [&](const Timer& t) { return t.control == control && t.id == id; });
  if (it == m_timers.end()) return false;
  m_timers.erase(it);
  return true;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  std::lock_guard lock(m_timerMutex);
  m_timers.erase(std::remove_if(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.control == control; }),
                 m_timers.end());
}

void CPaintManagerUI::RemoveAllTimers() {
  std::lock_guard lock(m_timerMutex);
  m_timers.clear();
}

bool CPaintManagerUI::HasTimer(CControlUI* control, unsigned id) const {
  std::lock_guard lock(m_timerMutex);
  return std::any_of(m_timers.begin(), m_timers.end(),
                     [&](const Timer& t) { return t.control == control && t.id == id; });
}

std::optional<std::uint64_t> CPaintManagerUI::NextTimerDue() const {
  std::lock_guard lock(m_timerMutex);
  std::optional<std::uint64_t> next;
  for (const Timer& t : m_timers) {
    if (!next || t.due < *next) next = t.due;
  }
  return next;
}

int CPaintManagerUI::ProcessTimers() {
  std::uint64_t now = GetTickCount();
  int fired = 0;
  // Each round takes the earliest due timer, so timers fire in time order and
  // a handler that kills or re-arms timers is seen by the next round.
  for (int guard = 0; guard < 100000; ++guard) {
    CControlUI* control = nullptr;
    unsigned id = 0;
    {
      std::lock_guard lock(m_timerMutex);
      Timer* next = nullptr;
      for (Timer& t : m_timers) {
        if (t.due <= now && (!next || t.due < next->due || (t.due == next->due && t.serial < next->serial))) next = &t;
      }
      if (!next) break;
      control = next->control;
      id = next->id;
      next->due += next->elapse;
      // A host that fell far behind does not replay every missed tick.
      if (next->due <= now) next->due = now + next->elapse;
    }
    ++fired;
    if (control) {
      SendEvent(control, UIEVENT_TIMER, m_ptLastMouse, 0, id);
    } else if (m_windowTimerHandler) {
      ++m_dispatchDepth;
      m_windowTimerHandler(id);
      EndDispatch();
    }
  }
  return fired;
}

int CPaintManagerUI::Pump() {
  int handled = 0;
  LayoutIfNeeded();
  if (m_pRoot && !m_bWindowInitSent) {
    m_bWindowInitSent = true;
    SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
    ++handled;
  }
  for (;;) {
    std::vector<std::function<void()>> tasks;
    std::vector<TNotifyUI> notes;
    {
      std::lock_guard lock(m_queueMutex);
      tasks.swap(m_tasks);
      notes.swap(m_asyncNotify);
    }
    if (tasks.empty() && notes.empty()) break;
    for (auto& task : tasks) {
      ++m_dispatchDepth;
      task();
      EndDispatch();
      ++handled;
    }
    for (TNotifyUI& note : notes) {
      DeliverNotify(note);
      ++handled;
    }
  }
  handled += ProcessTimers();
  Paint();
  return handled;
}

// ---- focus and input ----------------------------------------------------------

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == m_pFocus) return;
  ++m_dispatchDepth;
  if (CControlUI* old = m_pFocus) {
    m_pFocus = nullptr;
    SendEvent(old, UIEVENT_KILLFOCUS, m_ptLastMouse);
  }
  if (control && control->GetManager() == this && control->IsVisible() && control->IsEnabled()) {
    m_pFocus = control;
    SendEvent(control, UIEVENT_SETFOCUS, m_ptLastMouse);
  }
  EndDispatch();
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
  if (!m_pRoot) return false;
  std::vector<CControlUI*> order;
  m_pRoot->FindControl(
      [&order](CControlUI* c) -> CControlUI* {
        if (c->IsKeyboardEnabled() && c->IsEnabled() && c->IsVisible() && !dynamic_cast<CContainerUI*>(c) &&
            c->GetInterface("Edit")) {
          order.push_back(c);
        }
        return nullptr;
      },
      UIFIND_VISIBLE | UIFIND_ME_FIRST);
  if (order.empty()) return false;
  auto it = std::find(order.begin(), order.end(), m_pFocus);
  size_t next;
  if (it == order.end()) next = forward ? 0 : order.size() - 1;
  else {
    size_t pos = static_cast<size_t>(it - order.begin());
    next = forward ? (pos + 1) % order.size() : (pos + order.size() - 1) % order.size();
  }
  SetFocus(order[next]);
  return true;
}

void CPaintManagerUI::SetPopup(IPopupUI* popup) {
  if (popup == m_pPopup) return;
  IPopupUI* old = m_pPopup;
  m_pPopup = popup;
  if (old) Invalidate(old->GetPopupRect());
  if (popup) Invalidate(popup->GetPopupRect());
}

void CPaintManagerUI::SendEvent(CControlUI* target, int type, UIPoint pt, unsigned keyState, std::uintptr_t wParam,
                                std::intptr_t lParam, char32_t key) {
  if (!target) return;
  TEventUI event;
  event.Type = type;
  event.pSender = target;
  event.dwTimestamp = GetTickCount();
  event.ptMouse = pt;
  event.wKeyState = keyState;
  event.wParam = wParam;
  event.lParam = lParam;
  event.chKey = key;
  ++m_dispatchDepth;
  target->DoEvent(event);
  EndDispatch();
}

UIPoint CPaintManagerUI::TakeMouse(UIPoint devicePt) {
  m_ptLastMouse = ToLogical(devicePt);
  LayoutIfNeeded();
  return m_ptLastMouse;
}

void CPaintManagerUI::UpdateHot(CControlUI* hit, UIPoint pt, unsigned keyState) {
  if (hit == m_pEventHover) return;
  if (CControlUI* old = m_pEventHover) {
    m_pEventHover = nullptr;
    SendEvent(old, UIEVENT_MOUSELEAVE, pt, keyState);
  }
  m_pEventHover = hit;
  if (hit) {
    SendEvent(hit, UIEVENT_MOUSEENTER, pt, keyState);
    SendEvent(m_pEventHover, UIEVENT_SETCURSOR, pt);
  }
}

void CPaintManagerUI::OnMouseMove(UIPoint devicePt, unsigned keyState) {
  UIPoint pt = TakeMouse(devicePt);
  CControlUI* hit = HitTest(pt);
  // While a button is held the pressed control keeps the mouse, and others do not light up.
  if (!m_pEventClick) UpdateHot(hit, pt, keyState);
  SendEvent(m_pEventClick ? m_pEventClick : hit, UIEVENT_MOUSEMOVE, pt, keyState);
}

void CPaintManagerUI::OnMouseLeaveWindow() {
  if (!m_pEventClick) UpdateHot(nullptr, m_ptLastMouse, 0);
}

void CPaintManagerUI::OnButtonDown(UIPoint devicePt, unsigned keyState) {
  UIPoint pt = TakeMouse(devicePt);
  if (m_pPopup && !m_pPopup->GetPopupRect().Contains(pt)) {
    IPopupUI* popup = m_pPopup;
    m_pPopup = nullptr;
    Invalidate(popup->GetPopupRect());
    popup->ClosePopup();
  }
  CControlUI* hit = HitTest(pt);
  UpdateHot(hit, pt, keyState);
  if (!hit) {
    SetFocus(nullptr);
    return;
  }
  if (hit->IsKeyboardEnabled() && hit->IsEnabled()) SetFocus(hit);
  else if (m_pFocus && m_pFocus != hit) SetFocus(nullptr);
  m_pEventClick = hit;
  if (m_pHost) m_pHost->SetCapture(true);
  SendEvent(hit, UIEVENT_BUTTONDOWN, pt, keyState);
}

void CPaintManagerUI::OnButtonUp(UIPoint devicePt, unsigned keyState) {
  UIPoint pt = TakeMouse(devicePt);
  CControlUI* target = m_pEventClick;
  m_pEventClick = nullptr;
  if (m_pHost) m_pHost->SetCapture(false);
  if (!target) return;
  SendEvent(target, UIEVENT_BUTTONUP, pt, keyState);
  // The hot control may have changed while the mouse was captured.
  UpdateHot(HitTest(pt), pt, keyState);
}

void CPaintManagerUI::OnDoubleClick(UIPoint devicePt, unsigned keyState) {
  UIPoint pt = TakeMouse(devicePt);
  CControlUI* hit = HitTest(pt);
  if (!hit) return;
  m_pEventClick = hit;
  if (m_pHost) m_pHost->SetCapture(true);
  SendEvent(hit, UIEVENT_DBLCLICK, pt, keyState);
}

void CPaintManagerUI::OnRightButtonDown(UIPoint devicePt) {
  UIPoint pt = TakeMouse(devicePt);
  SendEvent(HitTest(pt), UIEVENT_RBUTTONDOWN, pt);
}

void CPaintManagerUI::OnRightButtonUp(UIPoint devicePt) {
  UIPoint pt = TakeMouse(devicePt);
  SendEvent(HitTest(pt), UIEVENT_RBUTTONUP, pt);
  OnContextMenu(devicePt);
}

void CPaintManagerUI::OnContextMenu(UIPoint devicePt) {
  UIPoint pt = TakeMouse(devicePt);
  SendEvent(HitTest(pt), UIEVENT_CONTEXTMENU, pt);
}

void CPaintManagerUI::OnWheel(UIPoint devicePt, int delta, unsigned keyState) {
  UIPoint pt = TakeMouse(devicePt);
  SendEvent(HitTest(pt), UIEVENT_SCROLLWHEEL, pt, keyState, delta > 0 ? 0 : 1, delta);
}

void CPaintManagerUI::OnKeyDown(unsigned key, unsigned keyState) {
  if (key == UIKEY_TAB) {
    SetNextTabControl((keyState & UIKEYSTATE_SHIFT) == 0);
    return;
  }
  SendEvent(m_pFocus, UIEVENT_KEYDOWN, m_ptLastMouse, keyState, 0, 0, key);
}

void CPaintManagerUI::OnKeyUp(unsigned key, unsigned keyState) {
  SendEvent(m_pFocus, UIEVENT_KEYUP, m_ptLastMouse, keyState, 0, 0, key);
}

void CPaintManagerUI::OnChar(char32_t ch) { SendEvent(m_pFocus, UIEVENT_CHAR, m_ptLastMouse, 0, 0, 0, ch); }

// ---- layout and painting --------------------------------------------------------

void CPaintManagerUI::NeedUpdate() {
  m_bUpdateNeeded = true;
  if (m_pHost) m_pHost->RequestPaint();
}

void CPaintManagerUI::Invalidate() { Invalidate({0, 0, m_szClient.cx, m_szClient.cy}); }

void CPaintManagerUI::Invalidate(const UIRect& rc) {
  UIRect clipped = rc.Intersect({0, 0, m_szClient.cx, m_szClient.cy});
  if (clipped.IsEmpty()) return;
  bool wasEmpty = m_rcDirty.IsEmpty();
  m_rcDirty = m_rcDirty.Union(clipped);
  if (wasEmpty && m_pHost) m_pHost->RequestPaint();
}

void CPaintManagerUI::LayoutIfNeeded() {
  if (!m_bUpdateNeeded || !m_pRoot) return;
  m_bUpdateNeeded = false;
  // Controls that change size during layout ask again; a few rounds settle it.
  for (int round = 0; round < 4; ++round) {
    m_pRoot->SetPos({0, 0, m_szClient.cx, m_szClient.cy}, false);
    if (!m_bUpdateNeeded) break;
    m_bUpdateNeeded = false;
  }
  m_bUpdateNeeded = false;
  Invalidate();
}

UIRect CPaintManagerUI::Paint() {
  LayoutIfNeeded();
  QImage& image = m_res->image;
  int w = static_cast<int>(m_szClient.cx * GetScale() + 0.5);
  int h = static_cast<int>(m_szClient.cy * GetScale() + 0.5);
  if (image.width() != w || image.height() != h) {
    image = QImage(std::max(1, w), std::max(1, h), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    m_rcDirty = {0, 0, m_szClient.cx, m_szClient.cy};
  }
  UIRect dirty = m_rcDirty;
  m_rcDirty = {};
  if (dirty.IsEmpty() || !m_pRoot) return {};
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, GetScale() != 1.0);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.scale(GetScale(), GetScale());
    QRect clip(dirty.left, dirty.top, dirty.GetWidth(), dirty.GetHeight());
    painter.setClipRect(clip);
    if (!RootPaintsEveryPixel(dirty)) {
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      CRenderEngine::FillInStrips(painter, clip, Qt::transparent);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    ++m_dispatchDepth;
    m_pRoot->DoPaint(painter, dirty);
    if (m_pPopup) m_pPopup->PaintPopup(painter);
    EndDispatch();
  }
  if (m_pHost) m_pHost->OnPainted(dirty);
  return dirty;
}

// A root with an opaque, square-cornered background over the whole area
// covers what was there; clearing it first would be wasted.
bool CPaintManagerUI::RootPaintsEveryPixel(const UIRect& area) const {
  if (!m_pRoot->IsVisible() || m_pRoot->GetBorderRound().cx != 0 || m_pRoot->GetBorderRound().cy != 0) return false;
  const UIColor top = m_pRoot->GetBkColor(), bottom = m_pRoot->GetBkColor2();
  if ((top >> 24) != 0xFF || (bottom != 0 && (bottom >> 24) != 0xFF)) return false;
  return m_pRoot->GetPos().Intersect(area) == area;
}

const QImage& CPaintManagerUI::GetImage() const { return m_res->image; }

bool CPaintManagerUI::SaveImage(const std::string& pngPath) const {
  return m_res->image.save(QString::fromStdString(pngPath), "PNG");
}

// ---- fonts -------------------------------------------------------------------------

void CPaintManagerUI::AddFont(int id, std::string_view family, int size, bool bold, bool underline, bool italic,
                              bool shared) {
  FontSlot slot{MakeFont(family, size, bold, underline, italic), shared};
  if (shared) Process().sharedFonts[id] = slot;
  else m_res->fonts[id] = slot;
  Invalidate();
  NeedUpdate();
}

void CPaintManagerUI::SetDefaultFont(std::string_view family, int size, bool bold, bool underline, bool italic,
                                     bool shared) {
  if (shared) {
    Process().sharedFonts[-1] = FontSlot{MakeFont(family, size, bold, underline, italic), true};
  } else {
    m_res->defaultFont = FontSlot{MakeFont(family, size, bold, underline, italic), false};
    m_res->hasDefaultFont = true;
  }
  Invalidate();
  NeedUpdate();
}

void CPaintManagerUI::RemoveAllFonts() {
  m_res->fonts.clear();
  m_res->hasDefaultFont = false;
  Invalidate();
}

void CPaintManagerUI::RemoveAllSharedFonts() { Process().sharedFonts.clear(); }

bool CPaintManagerUI::HasFont(int id) const {
  return m_res->fonts.count(id) != 0 || Process().sharedFonts.count(id) != 0;
}

const QFont& CPaintManagerUI::GetFont(int id) const {
  // Window fonts win over shared ones; an unknown slot falls back to the default font.
  if (auto it = m_res->fonts.find(id); it != m_res->fonts.end()) return it->second.font;
  auto& shared = Process().sharedFonts;
  if (auto it = shared.find(id); it != shared.end()) return it->second.font;
  if (m_res->hasDefaultFont) return m_res->defaultFont.font;
  if (auto it = shared.find(-1); it != shared.end()) return it->second.font;
  return m_res->defaultFont.font;
}

// ---- images ------------------------------------------------------------------------

namespace {

bool IsOpaque(const QImage& image) {
  if (!image.hasAlphaChannel()) return true;
  if (image.format() != QImage::Format_ARGB32_Premultiplied) return false;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 255) return false;
  }
  return true;
}

}  // namespace

std::shared_ptr<const TImageInfo> CPaintManagerUI::GetImageEx(std::string_view name, UIColor mask) {
  if (name.empty()) return nullptr;
  // Most images have no mask: their key is the bare name, found without building a string.
  if (mask == 0) {
    if (auto it = m_res->images.find(name); it != m_res->images.end()) return it->second;
  }
  std::string key = mask == 0 ? std::string(name) : std::string(name) + '\x1f' + std::to_string(mask);
  if (auto it = m_res->images.find(key); it != m_res->images.end()) return it->second;

  std::string relative = CResourceManager::GetInstance().GetImagePath(name);
  std::string path = relative.front() == '/' ? relative : koru::ui::JoinPath(GetResourcePath(), relative);
  auto info = std::make_shared<TImageInfo>();
  QString qpath = QString::fromStdString(path);
  if (qpath.endsWith(".svg", Qt::CaseInsensitive)) {
    QSvgRenderer svg(qpath);
    if (svg.isValid()) {
      QSize natural = svg.defaultSize();
      info->width = natural.width();
      info->height = natural.height();
      QSize pixels(static_cast<int>(natural.width() * GetScale() + 0.5), static_cast<int>(natural.height() * GetScale() + 0.5));
      info->image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
      info->image.fill(Qt::transparent);
      QPainter painter(&info->image);
      svg.render(&painter);
    }
  } else if (info->image.load(qpath)) {
    info->image = info->image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    info->width = info->image.width();
    info->height = info->image.height();
  }
  if (info->image.isNull()) {
    if (koru::DebugOutputEnabled()) koru::DebugOutput("image not loaded: " + path);
    // Remember the failure, so that a missing image costs one lookup per paint.
    m_res->images[key] = nullptr;
    return nullptr;
  }
  if (mask != 0) {
    // Pixels of the mask colour become transparent.
    QImage masked = info->image.convertToFormat(QImage::Format_ARGB32);
    QRgb key = static_cast<QRgb>(mask | 0xFF000000u);
    for (int y = 0; y < masked.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
      for (int x = 0; x < masked.width(); ++x) {
        if ((line[x] | 0xFF000000u) == key) line[x] = 0;
      }
    }
    info->image = masked.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  }
  // An image without a see-through pixel is copied rather than blended.
  if (IsOpaque(info->image)) info->image = info->image.convertToFormat(QImage::Format_RGB32);
  m_res->images[key] = info;
  return info;
}

void CPaintManagerUI::RemoveAllImages() {
  m_res->images.clear();
  Invalidate();
}

const TDrawInfo& CPaintManagerUI::GetDrawInfo(std::string_view imageString) {
  auto it = m_res->drawInfos.find(imageString);
  if (it == m_res->drawInfos.end())
    it = m_res->drawInfos.emplace(std::string(imageString), CRenderEngine::ParseImageString(imageString)).first;
  return it->second;
}

// ---- defaults, styles, groups ---------------------------------------------------------

void CPaintManagerUI::AddDefaultAttributeList(std::string_view className, std::string_view list, bool shared) {
  (shared ? Process().sharedDefaults : m_defaultAttrs)[ToLower(className)] = list;
}

std::string CPaintManagerUI::GetDefaultAttributeList(std::string_view className) const {
  std::string key = ToLower(className);
  if (auto it = m_defaultAttrs.find(key); it != m_defaultAttrs.end()) return it->second;
  auto& shared = Process().sharedDefaults;
  if (auto it = shared.find(key); it != shared.end()) return it->second;
  return {};
}

void CPaintManagerUI::AddStyle(std::string_view name, std::string_view list, bool shared) {
  (shared ? Process().sharedStyles : m_styles)[ToLower(name)] = list;
}

std::string CPaintManagerUI::GetStyle(std::string_view name) const {
  std::string key = ToLower(name);
  if (auto it = m_styles.find(key); it != m_styles.end()) return it->second;
  auto& shared = Process().sharedStyles;
  if (auto it = shared.find(key); it != shared.end()) return it->second;
  return {};
}

void CPaintManagerUI::AddOptionGroup(std::string_view group, CControlUI* control) {
  auto& members = m_optionGroups[std::string(group)];
  if (std::find(members.begin(), members.end(), control) == members.end()) members.push_back(control);
}

const std::vector<CControlUI*>* CPaintManagerUI::GetOptionGroup(std::string_view group) const {
  auto it = m_optionGroups.find(std::string(group));
  return it == m_optionGroups.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveOptionGroup(std::string_view group, CControlUI* control) {
  auto it = m_optionGroups.find(std::string(group));
  if (it == m_optionGroups.end()) return;
  auto& members = it->second;
  members.erase(std::remove(members.begin(), members.end(), control), members.end());
  if (members.empty()) m_optionGroups.erase(it);
}

// ---- colour adjustment ---------------------------------------------------------------

UIColor CPaintManagerUI::GetAdjustColor(UIColor color, short H, short S, short L) {
  if (H == 180 && S == 100 && L == 100) return color;
  QColor c = QColor::fromRgba(color);
  float h, s, l, a;
  c.getHslF(&h, &s, &l, &a);
  if (h < 0) h = 0;
  h += (H - 180) / 360.0f;
  while (h < 0) h += 1.0f;
  while (h >= 1.0f) h -= 1.0f;
  s = std::clamp(s * S / 100.0f, 0.0f, 1.0f);
  l = std::clamp(l * L / 100.0f, 0.0f, 1.0f);
  QColor out = QColor::fromHslF(h, s, l, a);
  return static_cast<UIColor>(out.rgba());
}

void CPaintManagerUI::SetHSL(bool use, short H, short S, short L) {
  m_bUseHSL = use;
  m_H = std::clamp<short>(H, 0, 360);
  m_S = std::clamp<short>(S, 0, 200);
  m_L = std::clamp<short>(L, 0, 200);
  Invalidate();
}

UIColor CPaintManagerUI::AdjustColor(UIColor color) const {
  return m_bUseHSL ? GetAdjustColor(color, m_H, m_S, m_L) : color;
}
