#pragma once
// The screen geometry the main window scales by, and its changes (resolution,
// primary screen, screens coming and going). Needs a QGuiApplication.
#include <functional>
#include <memory>
#include <optional>

namespace koru {

struct ScreenGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The window scaling for a screen of this size, in DPI: 144 on screens wider
// than 1500 and taller than 960 pixels, otherwise 96.
int ScalingDpiForScreen(int width, int height);

class DisplayMonitor {
 public:
  using Callback = std::function<void(const ScreenGeometry& primary)>;
  // The callback runs on the GUI thread after every change.
  explicit DisplayMonitor(Callback onChange);
  ~DisplayMonitor();
  DisplayMonitor(const DisplayMonitor&) = delete;
  DisplayMonitor& operator=(const DisplayMonitor&) = delete;

  static std::optional<ScreenGeometry> PrimaryScreen();
  // The full geometry of the screen that holds the point, else of the primary screen.
  static std::optional<ScreenGeometry> ScreenAt(int x, int y);

 private:
  class Watcher;
  std::unique_ptr<Watcher> watcher_;
};

}  // namespace koru
