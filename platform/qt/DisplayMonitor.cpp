#include "platform/qt/DisplayMonitor.h"

#include <QGuiApplication>
#include <QObject>
#include <QScreen>

#include "platform/DebugOutput.h"

namespace koru {
namespace {

ScreenGeometry GeometryOf(const QScreen& screen) {
  const QRect rect = screen.geometry();
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

}  // namespace

int ScalingDpiForScreen(int width, int height) { return width > 1500 && height > 960 ? 144 : 96; }

class DisplayMonitor::Watcher : public QObject {
 public:
  explicit Watcher(Callback onChange) : onChange_(std::move(onChange)) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return;
    connect(app, &QGuiApplication::primaryScreenChanged, this, [this] { Report(); });
    connect(app, &QGuiApplication::screenAdded, this, [this](QScreen* screen) {
      Watch(screen);
      Report();
    });
    connect(app, &QGuiApplication::screenRemoved, this, [this] { Report(); });
    for (QScreen* screen : QGuiApplication::screens()) Watch(screen);
  }

 private:
  void Watch(QScreen* screen) {
    connect(screen, &QScreen::geometryChanged, this, [this] { Report(); });
  }
  void Report() {
    const std::optional<ScreenGeometry> primary = PrimaryScreen();
    if (DebugOutputEnabled()) DebugOutput("display changed");
    if (primary && onChange_) onChange_(*primary);
  }

  Callback onChange_;
};

DisplayMonitor::DisplayMonitor(Callback onChange) : watcher_(std::make_unique<Watcher>(std::move(onChange))) {}

DisplayMonitor::~DisplayMonitor() = default;

std::optional<ScreenGeometry> DisplayMonitor::PrimaryScreen() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return std::nullopt;
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? std::optional(GeometryOf(*screen)) : std::nullopt;
}

std::optional<ScreenGeometry> DisplayMonitor::ScreenAt(int x, int y) {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return std::nullopt;
  const QScreen* screen = QGuiApplication::screenAt(QPoint(x, y));
  return screen ? std::optional(GeometryOf(*screen)) : PrimaryScreen();
}

}  // namespace koru
