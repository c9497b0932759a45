#pragma once
// The tray icon on the desktop: QSystemTrayIcon, which uses the
// StatusNotifierItem interface where the desktop offers it.
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "toolkit/window/IWindowBackend.h"

namespace koru {

class QtTrayPeer : public ITrayPeer {
 public:
  explicit QtTrayPeer(std::function<void(LPARAM)> onMouse);
  ~QtTrayPeer() override;

  bool IsAvailable() const override;
  void SetIcon(std::string_view image) override;
  void SetToolTip(std::string_view tip) override;
  void SetVisible(bool visible) override;

 private:
  std::unique_ptr<QSystemTrayIcon> m_icon;
};

}  // namespace koru
