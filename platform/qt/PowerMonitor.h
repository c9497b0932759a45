#pragma once
// Suspend and resume from logind's PrepareForSleep signal, delivered with the
// codes of the power broadcast the main window handles. A missing system bus
// (containers, tests) is not an error: no events come.
#include <functional>
#include <memory>
#include <string>

#include <QDBusConnection>

namespace koru {

enum class PowerEvent : unsigned { Suspend = 4, ResumeAutomatic = 18 };

class PowerMonitor {
 public:
  using Callback = std::function<void(PowerEvent)>;
  // The callback runs on the thread that creates the monitor (its event loop).
  explicit PowerMonitor(Callback callback, QDBusConnection bus = QDBusConnection::systemBus(),
                        const std::string& service = "org.freedesktop.login1");
  ~PowerMonitor();
  PowerMonitor(const PowerMonitor&) = delete;
  PowerMonitor& operator=(const PowerMonitor&) = delete;

  bool Listening() const;

 private:
  class Listener;
  std::unique_ptr<Listener> listener_;
};

}  // namespace koru
