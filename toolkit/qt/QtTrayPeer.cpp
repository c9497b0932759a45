#include "toolkit/qt/QtTrayPeer.h"

#include "toolkit/qt/SkinIcon.h"

namespace koru {

QtTrayPeer::QtTrayPeer(std::function<void(LPARAM)> onMouse) : m_icon(std::make_unique<QSystemTrayIcon>()) {
  QObject::connect(m_icon.get(), &QSystemTrayIcon::activated,
                   [onMouse = std::move(onMouse)](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::Trigger) onMouse(UI_TRAY_LBUTTONUP);
                     if (reason == QSystemTrayIcon::Context) onMouse(UI_TRAY_RBUTTONUP);
                   });
}

QtTrayPeer::~QtTrayPeer() { m_icon->hide(); }

bool QtTrayPeer::IsAvailable() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

void QtTrayPeer::SetIcon(std::string_view image) { m_icon->setIcon(SkinIcon(image)); }

void QtTrayPeer::SetToolTip(std::string_view tip) {
  m_icon->setToolTip(QString::fromUtf8(tip.data(), static_cast<int>(tip.size())));
}

void QtTrayPeer::SetVisible(bool visible) {
  // Without a tray Qt would only warn; the icon simply stays hidden.
  m_icon->setVisible(visible && IsAvailable());
}

}  // namespace koru
