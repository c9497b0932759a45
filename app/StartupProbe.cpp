#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "platform/DebugOutput.h"

namespace koru {
namespace {

// Lets the window settle (late layout, images) before its picture is taken.
constexpr int kScreenshotDelayMs = 1500;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

StartupProbe::StartupProbe(std::function<bool(const std::string&)> save, std::function<void()> close)
    : save_(std::move(save)), close_(std::move(close)) {
  reportPath_ = Environment("KORU_STARTUP_REPORT");
  screenshotPath_ = Environment("KORU_SCREENSHOT");
  QCoreApplication::instance()->installEventFilter(this);
}

StartupProbe::~StartupProbe() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::instance()->removeEventFilter(this);
}

std::unique_ptr<StartupProbe> StartupProbe::FromEnvironment(std::function<bool(const std::string&)> save,
                                                            std::function<void()> close) {
  if (Environment("KORU_STARTUP_REPORT").empty() && Environment("KORU_SCREENSHOT").empty()) return nullptr;
  return std::make_unique<StartupProbe>(std::move(save), std::move(close));
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
  if (!painted_ && (event->type() == QEvent::Paint || event->type() == QEvent::UpdateRequest ||
                    event->type() == QEvent::Expose)) {
    auto* window = qobject_cast<QWindow*>(watched);
    if (window == nullptr || window->isExposed()) {
      painted_ = true;
      // After this event has been handled, the picture is on the screen.
      QTimer::singleShot(0, [this] { OnFirstPaint(); });
    }
  }
  return QObject::eventFilter(watched, event);
}

void StartupProbe::OnFirstPaint() {
  if (!reportPath_.empty()) {
    std::ofstream report(reportPath_);
    report << "first_paint_ms=" << MillisecondsSinceProcessStart() << "\n"
           << "rss_kb=" << ResidentKilobytes() << "\n";
  }
  if (screenshotPath_.empty()) return;
  QTimer::singleShot(kScreenshotDelayMs, [this] {
    if (!save_(screenshotPath_)) DebugOutput("screenshot: cannot write " + screenshotPath_);
    close_();
  });
}

long StartupProbe::MillisecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // The command name may hold spaces: fields are counted after its closing parenthesis.
  const auto close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
    if (i == 22) {
      const double ticks = std::stod(field);
      timespec now{};
      ::clock_gettime(CLOCK_BOOTTIME, &now);
      const double startMs = ticks * 1000.0 / double(::sysconf(_SC_CLK_TCK));
      return long(double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6 - startMs);
    }
  }
  return -1;
}

long StartupProbe::ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  }
  return -1;
}

}  // namespace koru
