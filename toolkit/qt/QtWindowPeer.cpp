#include "toolkit/qt/QtWindowPeer.h"

#include <QCloseEvent>
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/qt/SkinIcon.h"
#include "toolkit/window/CWindowWnd.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru {

namespace {

UIPoint ToPoint(const QPointF& pt) { return {static_cast<int>(pt.x()), static_cast<int>(pt.y())}; }

unsigned KeyState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton) {
  unsigned state = 0;
  if (modifiers & Qt::ShiftModifier) state |= UIKEYSTATE_SHIFT;
  if (modifiers & Qt::ControlModifier) state |= UIKEYSTATE_CONTROL;
  if (modifiers & Qt::AltModifier) state |= UIKEYSTATE_ALT;
  if (buttons & Qt::LeftButton) state |= UIKEYSTATE_LBUTTON;
  if (buttons & Qt::RightButton) state |= UIKEYSTATE_RBUTTON;
  return state;
}

// Qt's key to the classic virtual-key number the toolkit's key events carry; 0 when none.
unsigned VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Backspace: return UIKEY_BACK;
    case Qt::Key_Tab: return UIKEY_TAB;
    case Qt::Key_Backtab: return UIKEY_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return UIKEY_RETURN;
    case Qt::Key_Escape: return UIKEY_ESCAPE;
    case Qt::Key_End: return UIKEY_END;
    case Qt::Key_Home: return UIKEY_HOME;
    case Qt::Key_Left: return UIKEY_LEFT;
    case Qt::Key_Up: return UIKEY_UP;
    case Qt::Key_Right: return UIKEY_RIGHT;
    case Qt::Key_Down: return UIKEY_DOWN;
    case Qt::Key_Delete: return UIKEY_DELETE;
    case Qt::Key_Space: return 0x20;
    default: break;
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<unsigned>(UIKEY_A + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<unsigned>(0x30 + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<unsigned>(0x70 + (key - Qt::Key_F1));
  return 0;
}

WPARAM SizeParam(int width, int height) {
  return static_cast<WPARAM>(width & 0xFFFF) | (static_cast<WPARAM>(height & 0xFFFF) << 16);
}

}  // namespace

QtWindowWidget::QtWindowWidget(IWindowSite& site, const WindowCreateParams& params) : m_hwnd(site.Handle()) {
  // The skin draws its own caption and frame.
  Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
  if (params.exStyle & WS_EX_TOOLWINDOW) flags |= Qt::Tool;
  if (params.exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
  if (params.exStyle & WS_EX_NOACTIVATE) flags |= Qt::WindowDoesNotAcceptFocus;
  setWindowFlags(flags);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(QString::fromStdString(params.title));
  if (params.exStyle & WS_EX_NOACTIVATE) setAttribute(Qt::WA_ShowWithoutActivating);
}

IWindowSite* QtWindowWidget::Site() const { return m_hwnd ? WindowFromHandle(m_hwnd) : nullptr; }

void QtWindowWidget::Route(const std::function<void(CPaintManagerUI&)>& action) {
  if (IWindowSite* site = Site()) site->WithManager(action);
}

void QtWindowWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  IWindowSite* site = Site();
  CPaintManagerUI* pm = site ? site->Manager() : nullptr;
  if (!pm || pm->GetImage().isNull()) {
    painter.fillRect(event->rect(), Qt::black);
    return;
  }
  // A plain copy: the window is opaque, and a premultiplied pixel copied onto
  // it looks as it would over black, without the cost of a blend.
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  // In strips, for the reason given at CRenderEngine::kMaxStripLines; the
  // widget's pixels are the image's.
  const QRect area = event->rect();
  const int band = CRenderEngine::kMaxStripLines;
  for (int top = area.top(); top <= area.bottom(); top += band) {
    const QRect part(area.left(), top, area.width(), std::min(band, area.bottom() + 1 - top));
    painter.drawImage(part, pm->GetImage(), part);
  }
}

void QtWindowWidget::mousePressEvent(QMouseEvent* event) {
  IWindowSite* site = Site();
  if (!site) return;
  UIPoint pt = ToPoint(event->position());
  unsigned state = KeyState(event->modifiers(), event->buttons());
  if (event->button() == Qt::LeftButton) {
    CPaintManagerUI* pm = site->Manager();
    if (pm && site->IsCaptionPoint(pm->ToLogical(pt))) {
      // The window manager moves the window where it can; elsewhere we follow the mouse.
      if (!(windowHandle() && windowHandle()->startSystemMove())) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
      }
      return;
    }
    Route([&](CPaintManagerUI& manager) { manager.OnButtonDown(pt, state); });
  } else if (event->button() == Qt::RightButton) {
    Route([&](CPaintManagerUI& manager) { manager.OnRightButtonDown(pt); });
  }
}

void QtWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
  UIPoint pt = ToPoint(event->position());
  if (event->button() == Qt::LeftButton) {
    if (m_dragging) {
      m_dragging = false;
      return;
    }
    unsigned state = KeyState(event->modifiers(), event->buttons());
    Route([&](CPaintManagerUI& manager) { manager.OnButtonUp(pt, state); });
  } else if (event->button() == Qt::RightButton) {
    Route([&](CPaintManagerUI& manager) { manager.OnRightButtonUp(pt); });
  }
}

void QtWindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  UIPoint pt = ToPoint(event->position());
  unsigned state = KeyState(event->modifiers(), event->buttons());
  Route([&](CPaintManagerUI& manager) { manager.OnDoubleClick(pt, state); });
}

void QtWindowWidget::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging) {
    move(event->globalPosition().toPoint() - m_dragOffset);
    return;
  }
  UIPoint pt = ToPoint(event->position());
  unsigned state = KeyState(event->modifiers(), event->buttons());
  Route([&](CPaintManagerUI& manager) { manager.OnMouseMove(pt, state); });
}

void QtWindowWidget::wheelEvent(QWheelEvent* event) {
  UIPoint pt = ToPoint(event->position());
  int delta = event->angleDelta().y();
  if (delta == 0) return;
  unsigned state = KeyState(event->modifiers(), event->buttons());
  Route([&](CPaintManagerUI& manager) { manager.OnWheel(pt, delta, state); });
}

void QtWindowWidget::keyPressEvent(QKeyEvent* event) {
  unsigned key = VirtualKey(event->key());
  unsigned state = KeyState(event->modifiers());
  QString text = event->text();
  Route([&](CPaintManagerUI& manager) {
    if (key) manager.OnKeyDown(key, state);
    if (state & (UIKEYSTATE_CONTROL | UIKEYSTATE_ALT)) return;
    for (char32_t ch : text.toUcs4()) {
      if (ch >= 0x20 && ch != 0x7F) manager.OnChar(ch);
    }
  });
}

void QtWindowWidget::keyReleaseEvent(QKeyEvent* event) {
  unsigned key = VirtualKey(event->key());
  if (!key) return;
  unsigned state = KeyState(event->modifiers());
  Route([&](CPaintManagerUI& manager) { manager.OnKeyUp(key, state); });
}

void QtWindowWidget::enterEvent(QEnterEvent*) { SendMessage(m_hwnd, WM_MOUSEHOVER, 0, 0); }

void QtWindowWidget::leaveEvent(QEvent*) {
  HWND hwnd = m_hwnd;
  Route([](CPaintManagerUI& manager) { manager.OnMouseLeaveWindow(); });
  SendMessage(hwnd, WM_MOUSELEAVE, 0, 0);
}

void QtWindowWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !m_hwnd) return;
  HWND hwnd = m_hwnd;
  bool active = isActiveWindow();
  // Handlers may destroy the window (a menu closes on deactivation): only locals from here on.
  SendMessage(hwnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
  SendMessage(hwnd, active ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

void QtWindowWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  IWindowSite* site = Site();
  CPaintManagerUI* pm = site ? site->Manager() : nullptr;
  // Sizes the manager asked for itself come back here too; only others are news.
  if (pm && pm->GetImage().size() == size()) return;
  SendMessage(m_hwnd, WM_SIZE, SizeParam(width(), height()), 0);
}

void QtWindowWidget::closeEvent(QCloseEvent* event) {
  // The window decides (a main window hides to the tray): ask it like the system menu would.
  event->ignore();
  PostMessage(m_hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

QtWindowPeer::QtWindowPeer(IWindowSite& site, const WindowCreateParams& params)
    : m_widget(new QtWindowWidget(site, params)) {}

QtWindowPeer::~QtWindowPeer() {
  // The widget may be inside one of its own event handlers right now.
  m_widget->Detach();
  m_widget->hide();
  m_widget->deleteLater();
}

void QtWindowPeer::Show(bool show, bool activate) {
  if (!show) {
    m_widget->hide();
    return;
  }
  if (m_widget->isMinimized()) m_widget->showNormal();
  else m_widget->show();
  if (activate) {
    m_widget->raise();
    m_widget->activateWindow();
  }
}

bool QtWindowPeer::IsVisible() const { return m_widget->isVisible(); }
void QtWindowPeer::Minimize() { m_widget->showMinimized(); }
void QtWindowPeer::Maximize() { m_widget->showMaximized(); }
void QtWindowPeer::Restore() { m_widget->showNormal(); }
bool QtWindowPeer::IsMinimized() const { return m_widget->isMinimized(); }
bool QtWindowPeer::IsMaximized() const { return m_widget->isMaximized(); }

void QtWindowPeer::SetGeometry(const UIRect& rc) {
  m_widget->setGeometry(rc.left, rc.top, std::max(1, rc.GetWidth()), std::max(1, rc.GetHeight()));
}

UIRect QtWindowPeer::GetGeometry() const {
  QRect rc = m_widget->geometry();
  return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

void QtWindowPeer::SetTitle(std::string_view title) {
  m_widget->setWindowTitle(QString::fromUtf8(title.data(), static_cast<int>(title.size())));
}

void QtWindowPeer::SetEnabled(bool enabled) { m_widget->setEnabled(enabled); }
bool QtWindowPeer::IsEnabled() const { return m_widget->isEnabled(); }

void QtWindowPeer::BringToFront() {
  m_widget->raise();
  m_widget->activateWindow();
}

void QtWindowPeer::SetTopmost(bool topmost) {
  bool visible = m_widget->isVisible();
  m_widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
  if (visible) m_widget->show();  // changing the flags hides a shown widget
}

void QtWindowPeer::Invalidate(const UIRect& rc) {
  m_widget->update(rc.left, rc.top, rc.GetWidth(), rc.GetHeight());
}

void QtWindowPeer::SetCursor(int cursor) {
  m_widget->setCursor(cursor ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void QtWindowPeer::SetIcon(std::string_view image) { m_widget->setWindowIcon(SkinIcon(image)); }

}  // namespace koru
