#pragma once
// Developer measures of a real start, switched on by the environment:
//
//   KORU_STARTUP_REPORT=<file>  writes "first_paint_ms=<n>" (from the process's
//                               start to the first painted window) and
//                               "rss_kb=<n>" once the window has painted
//   KORU_SCREENSHOT=<file.png>  saves what the main window shows once it has
//                               painted and settled, then closes it
//
// bench/app/measure-startup and scripts/screenshot use them.
#include <functional>
#include <memory>
#include <string>

#include <QObject>

namespace koru {

class StartupProbe : public QObject {
 public:
  // `save` writes the window's picture to a PNG file; `close` ends the program.
  StartupProbe(std::function<bool(const std::string&)> save, std::function<void()> close);
  ~StartupProbe() override;
  // Null when neither variable is set.
  static std::unique_ptr<StartupProbe> FromEnvironment(std::function<bool(const std::string&)> save,
                                                        std::function<void()> close);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Milliseconds since the process started (from /proc); -1 when unknown.
  static long MillisecondsSinceProcessStart();
  static long ResidentKilobytes();

 private:
  void OnFirstPaint();

  std::function<bool(const std::string&)> save_;
  std::function<void()> close_;
  std::string reportPath_;
  std::string screenshotPath_;
  bool painted_ = false;
};

}  // namespace koru
