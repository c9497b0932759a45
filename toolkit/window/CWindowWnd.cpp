#include "toolkit/window/CWindowWnd.h"

#include <algorithm>
#include <cmath>

#include <QImage>

#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/ThreadQueue.h"
#include "toolkit/window/WindowRegistry.h"

// The paint manager's view of the window: clock, wake-ups and repaints.
class CWindowWnd::PaintHost : public IPaintHost {
 public:
  PaintHost(CWindowWnd& window, std::shared_ptr<koru::ThreadQueue> queue)
      : m_window(window), m_queue(std::move(queue)) {}

  std::uint64_t NowMs() const override { return koru::WindowBackend().NowMs(); }
  void WakeUp() override { Request(); }
  void RequestPaint() override { Request(); }
  void OnPainted(const UIRect& dirty) override {
    m_window.SyncSizeWithManager();
    if (!m_window.m_peer || !m_window.m_pManager) return;
    CPaintManagerUI& pm = *m_window.m_pManager;
    UIPoint topLeft = pm.ToDevice({dirty.left, dirty.top});
    UIPoint bottomRight = pm.ToDevice({dirty.right, dirty.bottom});
    m_window.m_peer->Invalidate({topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
  }
  void SetCapture(bool on) override {
    if (m_window.m_peer) m_window.m_peer->SetCapture(on);
  }
  void SetCursor(int cursor) override {
    if (m_window.m_peer) m_window.m_peer->SetCursor(cursor);
  }

  bool TakeRequest() { return m_requested.exchange(false, std::memory_order_acq_rel); }

 private:
  void Request() {
    m_requested.store(true, std::memory_order_release);
    m_queue->Wake();
  }

  CWindowWnd& m_window;
  std::shared_ptr<koru::ThreadQueue> m_queue;
  std::atomic<bool> m_requested{false};
};

struct CWindowWnd::ModalState {
  bool ended = false;
  unsigned result = 0;
};

// Counts the handlers of this window on the stack; the last one to leave
// delivers a final message that was held back meanwhile.
class CWindowWnd::DispatchScope {
 public:
  explicit DispatchScope(CWindowWnd& window) : m_window(window) { ++m_window.m_dispatchDepth; }
  ~DispatchScope() {
    if (--m_window.m_dispatchDepth == 0 && m_window.m_finalPending) {
      HWND hwnd = m_window.m_finalPending;
      m_window.m_finalPending = nullptr;
      m_window.OnFinalMessage(hwnd);  // may delete the window: nothing touches it afterwards
    }
  }
  DispatchScope(const DispatchScope&) = delete;
  DispatchScope& operator=(const DispatchScope&) = delete;

 private:
  CWindowWnd& m_window;
};

CWindowWnd::CWindowWnd() : m_queue(koru::ThreadQueue::ForCurrentThread()) {
  m_paintHost = std::make_unique<PaintHost>(*this, m_queue);
}

CWindowWnd::~CWindowWnd() {
  // A window deleted without DestroyWindow still leaves the registry.
  if (m_hWnd) {
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    m_peer.reset();
    koru::UnregisterWindow(hwnd);
  }
}

HWND CWindowWnd::Create(HWND owner, std::string_view name, unsigned style, unsigned exStyle, int x, int y, int cx,
                        int cy) {
  return CreatePlaced(owner, name, style, exStyle, {x, y}, {cx, cy});
}

HWND CWindowWnd::Create(HWND owner, std::string_view name, unsigned style, unsigned exStyle, const UIRect& rc) {
  return CreatePlaced(owner, name, style, exStyle, {rc.left, rc.top}, {rc.GetWidth(), rc.GetHeight()});
}

HWND CWindowWnd::CreatePlaced(HWND owner, std::string_view name, unsigned style, unsigned exStyle, UIPoint origin,
                              UISize size) {
  if (m_hWnd) return m_hWnd;
  m_queue = koru::ThreadQueue::ForCurrentThread();
  m_paintHost = std::make_unique<PaintHost>(*this, m_queue);
  m_hOwner = owner;
  m_hWnd = koru::RegisterWindow(this, m_queue);
  m_queue->Windows().push_back(m_hWnd);

  koru::WindowCreateParams params;
  params.owner = owner;
  params.className = GetWindowClassName();
  params.title = name;
  params.style = style;
  params.exStyle = exStyle;
  params.rect = DefaultRect(origin, size);
  m_peer = koru::WindowBackend().CreatePeer(*this, params);

  HWND hwnd = m_hWnd;
  {
    DispatchScope scope(*this);
    if (DeliverMessage(WM_CREATE, 0, 0) == -1) {
      DestroyWindow();
      return nullptr;
    }
    if (!m_hWnd) return nullptr;
    if (m_peer) m_peer->SetGeometry(DefaultRect(origin, size));
    if (style & WS_VISIBLE) ShowWindow(true, !(exStyle & WS_EX_NOACTIVATE));
  }
  return ::IsWindow(hwnd) ? hwnd : nullptr;
}

UIRect CWindowWnd::DefaultRect(UIPoint origin, UISize size) const {
  if (size.cx == CW_USEDEFAULT || size.cy == CW_USEDEFAULT || size.cx <= 0 || size.cy <= 0) {
    size = {400, 300};
    if (m_pManager) {
      UISize logical = m_pManager->GetClientSize();
      if (logical.cx <= 0 || logical.cy <= 0) logical = m_pManager->GetInitSize();
      if (logical.cx > 0 && logical.cy > 0) {
        UIPoint device = m_pManager->ToDevice({logical.cx, logical.cy});
        size = {device.x, device.y};
      }
    }
  }
  if (origin.x == CW_USEDEFAULT || origin.y == CW_USEDEFAULT) {
    UIRect work = koru::WindowBackend().GetWorkArea({0, 0});
    origin = {work.left + 40, work.top + 40};
  }
  return {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
}

bool CWindowWnd::DestroyWindow() {
  if (!m_hWnd) return false;
  HWND hwnd = m_hWnd;
  DispatchScope scope(*this);
  DeliverMessage(WM_DESTROY, 0, 0);
  if (m_pManager) {
    m_pManager->RemoveAllTimers();
    m_pManager->SetWindowTimerHandler(nullptr);
  }
  if (m_modal) m_modal->ended = true;
  m_peer.reset();
  m_hWnd = nullptr;
  koru::UnregisterWindow(hwnd);
  HandleMessage(WM_NCDESTROY, 0, 0);
  m_finalPending = hwnd;  // delivered when the scope (and any outer handler) ends
  return true;
}

void CWindowWnd::OnFinalMessage(HWND) {}

void CWindowWnd::AttachPaintManager(CPaintManagerUI& manager) {
  m_pManager = &manager;
  manager.Init(m_paintHost.get(), GetWindowClassName());
  manager.SetWindowTimerHandler([this](unsigned id) { DeliverMessage(WM_TIMER, id, 0); });
}

LRESULT CWindowWnd::DeliverMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  DispatchScope scope(*this);
  return HandleMessage(message, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CWindowWnd::DefWindowProc(unsigned message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_CLOSE:
      if (m_modal) {
        m_modal->result = static_cast<unsigned>(wParam);
        m_modal->ended = true;
      }
      DestroyWindow();
      return 0;
    case WM_SYSCOMMAND:
      if (!m_peer) return 0;
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: m_peer->Minimize(); break;
        case SC_MAXIMIZE: m_peer->Maximize(); break;
        case SC_RESTORE: m_peer->Restore(); break;
        case SC_CLOSE: PostMessage(WM_CLOSE, 0, 0); break;
        default: break;
      }
      return 0;
    case WM_SIZE:
      if (m_pManager) {
        UIPoint device{static_cast<int>(wParam & 0xFFFF), static_cast<int>((wParam >> 16) & 0xFFFF)};
        UIPoint logical = m_pManager->ToLogical(device);
        m_pManager->SetClientSize({logical.x, logical.y});
      }
      return 0;
    default:
      return 0;
  }
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  if (!m_peer) return;
  if (show) SyncSizeWithManager();
  m_peer->Show(show, takeFocus);
}

unsigned CWindowWnd::ShowModal() {
  if (!m_hWnd) return 0;
  HWND hwnd = m_hWnd;
  HWND owner = m_hOwner;
  auto state = std::make_shared<ModalState>();
  m_modal = state;
  CWindowWnd* ownerWindow = koru::WindowFromHandle(owner);
  bool ownerWasEnabled = ownerWindow && ownerWindow->m_peer && ownerWindow->m_peer->IsEnabled();
  if (ownerWasEnabled) ownerWindow->m_peer->SetEnabled(false);
  ShowWindow(true, true);
  // `this` may be deleted by its final message during the loop: only the
  // shared state and the handles are used from here on.
  koru::RunMessageLoopUntil([&] { return state->ended || !::IsWindow(hwnd); });
  if (ownerWasEnabled) {
    if (CWindowWnd* again = koru::WindowFromHandle(owner); again && again->m_peer) {
      again->m_peer->SetEnabled(true);
      again->m_peer->BringToFront();
    }
  }
  return state->result;
}

void CWindowWnd::Close(unsigned ret) {
  if (m_hWnd) PostMessage(WM_CLOSE, ret, 0);
}

void CWindowWnd::CenterWindow() {
  if (!m_peer) return;
  SyncSizeWithManager();
  UIRect rc = m_peer->GetGeometry();
  UIRect area;
  CWindowWnd* owner = koru::WindowFromHandle(m_hOwner);
  if (owner && owner->m_peer && owner->m_peer->IsVisible() && !owner->m_peer->IsMinimized()) {
    area = owner->m_peer->GetGeometry();
  } else {
    area = koru::WindowBackend().GetWorkArea(rc.Center());
  }
  UIRect work = koru::WindowBackend().GetWorkArea(area.Center());
  int x = area.left + (area.GetWidth() - rc.GetWidth()) / 2;
  int y = area.top + (area.GetHeight() - rc.GetHeight()) / 2;
  // Keep the window on the screen when the owner sits near an edge.
  x = std::clamp(x, work.left, std::max(work.left, work.right - rc.GetWidth()));
  y = std::clamp(y, work.top, std::max(work.top, work.bottom - rc.GetHeight()));
  m_peer->SetGeometry({x, y, x + rc.GetWidth(), y + rc.GetHeight()});
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  if (!m_peer) return;
  UIRect rc = m_peer->GetGeometry();
  if (cx >= 0) rc.right = rc.left + cx;
  if (cy >= 0) rc.bottom = rc.top + cy;
  m_peer->SetGeometry(rc);
  DeliverMessage(WM_SIZE, static_cast<WPARAM>(rc.GetWidth()) | (static_cast<WPARAM>(rc.GetHeight()) << 16), 0);
}

void CWindowWnd::SyncSizeWithManager() {
  if (!m_peer || !m_pManager) return;
  const QImage& image = m_pManager->GetImage();
  if (image.isNull()) return;
  UIRect rc = m_peer->GetGeometry();
  if (rc.GetWidth() == image.width() && rc.GetHeight() == image.height()) return;
  m_peer->SetGeometry({rc.left, rc.top, rc.left + image.width(), rc.top + image.height()});
}

void CWindowWnd::SetIcon(std::string_view image) {
  if (m_peer) m_peer->SetIcon(image);
}

void CWindowWnd::SetWindowText(std::string_view title) {
  if (m_peer) m_peer->SetTitle(title);
}

bool CWindowWnd::IsVisible() const { return m_peer && m_peer->IsVisible(); }
bool CWindowWnd::IsMinimized() const { return m_peer && m_peer->IsMinimized(); }
bool CWindowWnd::IsMaximized() const { return m_peer && m_peer->IsMaximized(); }

void CWindowWnd::BringToFront() {
  if (m_peer) m_peer->BringToFront();
}

void CWindowWnd::SetTopmost(bool topmost) {
  if (m_peer) m_peer->SetTopmost(topmost);
}

UIRect CWindowWnd::GetWindowRect() const { return m_peer ? m_peer->GetGeometry() : UIRect{}; }

void CWindowWnd::MoveWindow(const UIRect& rc) {
  if (!m_peer) return;
  UIRect old = m_peer->GetGeometry();
  m_peer->SetGeometry(rc);
  if (old.GetWidth() != rc.GetWidth() || old.GetHeight() != rc.GetHeight()) {
    DeliverMessage(WM_SIZE, static_cast<WPARAM>(rc.GetWidth()) | (static_cast<WPARAM>(rc.GetHeight()) << 16), 0);
  }
}

LRESULT CWindowWnd::SendMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessage(m_hWnd, message, wParam, lParam);
}

bool CWindowWnd::PostMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
  return ::PostMessage(m_hWnd, message, wParam, lParam);
}

bool CWindowWnd::SetTimer(unsigned id, unsigned elapseMs) {
  return m_hWnd && m_pManager && m_pManager->SetTimer(nullptr, id, elapseMs);
}

bool CWindowWnd::KillTimer(unsigned id) { return m_pManager && m_pManager->KillTimer(nullptr, id); }

bool CWindowWnd::PumpIfDue(std::uint64_t now) {
  if (!m_pManager || !m_hWnd) return false;
  bool requested = m_paintHost->TakeRequest();
  std::optional<std::uint64_t> due = m_pManager->NextTimerDue();
  if (!requested && !(due && *due <= now)) return false;
  DispatchScope scope(*this);
  m_pManager->Pump();
  return true;
}

std::optional<std::uint64_t> CWindowWnd::NextDue() const {
  return m_pManager && m_hWnd ? m_pManager->NextTimerDue() : std::nullopt;
}

bool CWindowWnd::IsCaptionPoint(UIPoint pt) const {
  if (!m_pManager) return false;
  UIRect caption = m_pManager->GetCaptionRect();
  UISize client = m_pManager->GetClientSize();
  // The caption's right edge counts from the window's right side.
  bool inside = pt.x >= caption.left && pt.x < client.cx - caption.right && pt.y >= caption.top &&
                pt.y < caption.bottom;
  if (!inside) return false;
  // Controls that act on a press keep it; labels and plain areas drag the window.
  if (m_pManager->IsUpdateNeeded()) m_pManager->Paint();  // hit-testing needs a current layout
  CControlUI* hit = m_pManager->FindControl(pt);
  if (!hit) return true;
  return !(hit->GetInterface("Button") || hit->GetInterface("Option") || hit->GetInterface("Edit") ||
           hit->GetInterface("Combo") || hit->GetInterface("Slider") || hit->GetInterface("ScrollBar"));
}

void CWindowWnd::WithManager(const std::function<void(CPaintManagerUI&)>& action) {
  if (!m_pManager || !m_hWnd) return;
  DispatchScope scope(*this);
  action(*m_pManager);
}
