#include "platform/qt/PowerMonitor.h"

#include <QObject>

#include "platform/DebugOutput.h"

namespace koru {

class PowerMonitor::Listener : public QObject {
  Q_OBJECT
 public:
  Listener(Callback callback, QDBusConnection bus, const std::string& service)
      : callback_(std::move(callback)), bus_(std::move(bus)), service_(QString::fromStdString(service)) {
    listening_ = bus_.isConnected() &&
                 bus_.connect(service_, kPath, kInterface, QStringLiteral("PrepareForSleep"), this,
                              SLOT(OnPrepareForSleep(bool)));
    if (!listening_ && DebugOutputEnabled()) DebugOutput("no system bus: suspend and resume are not reported");
  }
  ~Listener() override {
    if (listening_)
      bus_.disconnect(service_, kPath, kInterface, QStringLiteral("PrepareForSleep"), this,
                      SLOT(OnPrepareForSleep(bool)));
  }

  bool listening_ = false;

 private slots:
  void OnPrepareForSleep(bool sleeping) {
    if (DebugOutputEnabled()) DebugOutput(sleeping ? "system suspends" : "system resumed");
    if (callback_) callback_(sleeping ? PowerEvent::Suspend : PowerEvent::ResumeAutomatic);
  }

 private:
  static inline const QString kPath = QStringLiteral("/org/freedesktop/login1");
  static inline const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");

  Callback callback_;
  QDBusConnection bus_;
  QString service_;
};

PowerMonitor::PowerMonitor(Callback callback, QDBusConnection bus, const std::string& service)
    : listener_(std::make_unique<Listener>(std::move(callback), std::move(bus), service)) {}

PowerMonitor::~PowerMonitor() = default;

bool PowerMonitor::Listening() const { return listener_->listening_; }

}  // namespace koru

#include "PowerMonitor.moc"
