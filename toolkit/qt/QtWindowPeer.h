#pragma once
// One toolkit window on the screen: a frameless top-level widget that blits
// the paint manager's image and turns Qt's input into the manager's calls.
#include <QPoint>
#include <QWidget>

#include "toolkit/window/IWindowBackend.h"

namespace koru {

class QtWindowWidget : public QWidget {
 public:
  QtWindowWidget(IWindowSite& site, const WindowCreateParams& params);
  // The window is gone: events that still arrive are ignored.
  void Detach() { m_hwnd = nullptr; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs `action` on the window's manager when the window still exists.
  void Route(const std::function<void(CPaintManagerUI&)>& action);
  IWindowSite* Site() const;

  HWND m_hwnd;
  bool m_dragging = false;
  QPoint m_dragOffset;
};

class QtWindowPeer : public IWindowPeer {
 public:
  QtWindowPeer(IWindowSite& site, const WindowCreateParams& params);
  ~QtWindowPeer() override;

  void Show(bool show, bool activate) override;
  bool IsVisible() const override;
  void Minimize() override;
  void Maximize() override;
  void Restore() override;
  bool IsMinimized() const override;
  bool IsMaximized() const override;
  void SetGeometry(const UIRect& rc) override;
  UIRect GetGeometry() const override;
  void SetTitle(std::string_view title) override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
  void BringToFront() override;
  void SetTopmost(bool topmost) override;
  void Invalidate(const UIRect& deviceRect) override;
  void SetCursor(int cursor) override;
  void SetIcon(std::string_view image) override;

  QWidget* Widget() const { return m_widget; }

 private:
  QtWindowWidget* m_widget;
};

}  // namespace koru
