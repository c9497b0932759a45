#include "toolkit/window/HeadlessWindowBackend.h"

#include <algorithm>

#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/headless/HeadlessHost.h"
#include "toolkit/window/CWindowWnd.h"
#include "toolkit/window/ThreadQueue.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru {

HeadlessWindowPeer::HeadlessWindowPeer(IWindowSite& site, const WindowCreateParams& params)
    : m_site(site), m_rect(params.rect), m_title(params.title) {}

void HeadlessWindowPeer::Show(bool show, bool activate) {
  bool was = m_visible;
  m_visible = show;
  if (show) m_minimized = false;
  if (show && activate && !was) m_site.Deliver(WM_ACTIVATE, WA_ACTIVE, 0);
}

void HeadlessWindowPeer::ClickAt(UIPoint logical) {
  if (!m_enabled || !m_visible) return;
  m_site.WithManager([&](CPaintManagerUI& pm) {
    UIPoint device = pm.ToDevice(logical);
    pm.OnMouseMove(device);
    pm.OnButtonDown(device);
    pm.OnButtonUp(device);
  });
}

bool HeadlessWindowPeer::ClickControl(std::string_view name) {
  CPaintManagerUI* pm = m_site.Manager();
  if (!pm || !m_enabled || !m_visible) return false;
  pm->Paint();  // positions are current only after a pending layout
  CControlUI* control = pm->FindControl(name);
  if (!control || !control->IsVisible() || control->GetPos().IsEmpty()) return false;
  ClickAt(control->GetPos().Center());
  return true;
}

void HeadlessWindowPeer::Drag(UIPoint from, UIPoint to) {
  if (!m_enabled || !m_visible) return;
  if (m_site.IsCaptionPoint(from)) {
    CPaintManagerUI* pm = m_site.Manager();
    UIPoint delta = pm ? pm->ToDevice({to.x - from.x, to.y - from.y}) : UIPoint{to.x - from.x, to.y - from.y};
    m_rect.Offset(delta.x, delta.y);
    return;
  }
  m_site.WithManager([&](CPaintManagerUI& pm) {
    pm.OnMouseMove(pm.ToDevice(from));
    pm.OnButtonDown(pm.ToDevice(from));
    pm.OnMouseMove(pm.ToDevice(to), UIKEYSTATE_LBUTTON);
    pm.OnButtonUp(pm.ToDevice(to));
  });
}

void HeadlessWindowPeer::SetActive(bool active) {
  // A handler may destroy the window and this peer with it: only locals are used after a delivery.
  HWND hwnd = m_site.Handle();
  ::SendMessage(hwnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
  if (!active) ::SendMessage(hwnd, WM_KILLFOCUS, 0, 0);
}

HeadlessTrayPeer::~HeadlessTrayPeer() {
  if (m_backend.m_lastTray == this) m_backend.m_lastTray = nullptr;
}

HeadlessWindowBackend::HeadlessWindowBackend() { EnsureGuiApplication(); }

std::unique_ptr<IWindowPeer> HeadlessWindowBackend::CreatePeer(IWindowSite& site, const WindowCreateParams& params) {
  return std::make_unique<HeadlessWindowPeer>(site, params);
}

std::unique_ptr<ITrayPeer> HeadlessWindowBackend::CreateTray(std::function<void(LPARAM)> onMouse) {
  auto tray = std::make_unique<HeadlessTrayPeer>(*this, std::move(onMouse), m_trayAvailable);
  m_lastTray = tray.get();
  return tray;
}

void HeadlessWindowBackend::PrepareThread(ThreadQueue& queue) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_queues, [](const std::weak_ptr<ThreadQueue>& q) { return q.expired(); });
  m_queues.push_back(queue.weak_from_this());
}

bool HeadlessWindowBackend::AdvanceVirtualTime(ThreadQueue&, std::optional<std::uint64_t> dueMs) {
  std::lock_guard lock(m_mutex);
  std::uint64_t now = m_now.load(std::memory_order_acquire);
  if (now >= m_target) return false;
  // One step at a time: to the next due timer when it lies within the target,
  // so that timers fire in order and see their own due time.
  std::uint64_t step = (dueMs && *dueMs <= m_target) ? std::max(*dueMs, now) : m_target;
  m_now.store(step, std::memory_order_release);
  return true;
}

void HeadlessWindowBackend::Wait(ThreadQueue& queue, std::optional<std::uint64_t> dueMs) {
  if (AdvanceVirtualTime(queue, dueMs)) return;
  queue.WaitForWork(std::nullopt);
}

void HeadlessWindowBackend::AdvanceTime(std::uint64_t ms) {
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  {
    std::lock_guard lock(m_mutex);
    m_target = std::max(m_target, m_now.load(std::memory_order_acquire)) + ms;
    for (auto& weak : m_queues) {
      if (auto queue = weak.lock()) queues.push_back(std::move(queue));
    }
  }
  for (auto& queue : queues) queue->Wake();
}

HeadlessWindowPeer* HeadlessWindowBackend::PeerOf(HWND hwnd) {
  CWindowWnd* window = WindowFromHandle(hwnd);
  return window ? dynamic_cast<HeadlessWindowPeer*>(window->Peer()) : nullptr;
}

HeadlessWindowBackend& UseHeadlessWindowBackend() {
  if (auto* headless = dynamic_cast<HeadlessWindowBackend*>(SharedWindowBackend().get())) return *headless;
  auto backend = std::make_shared<HeadlessWindowBackend>();
  SetWindowBackend(backend);
  return *backend;
}

}  // namespace koru
