// One message over the session bus to the program's service and back: Send
// waits until the sink has handled it, Post only until it was accepted. The
// service runs its event loop on a thread of its own, as the program's GUI
// thread would; the benchmark thread plays the other process on another
// connection. Run under dbus-run-session.
#include <memory>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QThread>
#include <benchmark/benchmark.h>

#include "platform/RegisteredMessages.h"
#include "platform/qt/MessageClient.h"
#include "platform/qt/MessageService.h"

namespace {

class CountingSink : public koru::IExternalMessageSink {
 public:
  std::int64_t OnExternalMessage(const koru::ExternalMessage& message) override {
    return std::int64_t(message.message.wParam) + 1;
  }
};

struct ServiceThread {
  ServiceThread() {
    static int argc = 1;
    static char name[] = "platform_qt_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    thread.start();
    QObject context;
    context.moveToThread(&thread);
    QMetaObject::invokeMethod(
        &context,
        [this] {
          const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "bench-service");
          service = std::make_unique<koru::MessageService>(bus, koru::BusEndpoint{"org.koru7315.Bench", "/org/koru7315/Utility"},
                                                           koru::ProgramMessagePolicy());
          service->SetSink(&sink);
          ready = service->Publish() && service->ClaimName() == koru::NameClaim::Owned;
        },
        Qt::BlockingQueuedConnection);
  }
  ~ServiceThread() {
    QObject context;
    context.moveToThread(&thread);
    QMetaObject::invokeMethod(&context, [this] { service.reset(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
  }

  std::unique_ptr<QCoreApplication> app;
  QThread thread;
  CountingSink sink;
  std::unique_ptr<koru::MessageService> service;
  bool ready = false;
};

ServiceThread& Service() {
  static ServiceThread service;
  return service;
}

void BM_SendRoundTrip(benchmark::State& state) {
  if (!Service().ready) return state.SkipWithError("no session bus");
  const koru::BusEndpoint to{"org.koru7315.Bench", "/org/koru7315/Utility"};
  const koru::BusMessage message{std::string(koru::kGameStartMessage), 1, 3, {}};
  for (auto _ : state) {
    const auto result = koru::SendBusMessage(QDBusConnection::sessionBus(), to, message);
    if (result != 2) return state.SkipWithError("message not handled");
  }
}
BENCHMARK(BM_SendRoundTrip)->UseRealTime();

void BM_PostAccepted(benchmark::State& state) {
  if (!Service().ready) return state.SkipWithError("no session bus");
  const koru::BusEndpoint to{"org.koru7315.Bench", "/org/koru7315/Utility"};
  const koru::BusMessage message{std::string(koru::kCopyDataMessage), 0, 1, std::vector<std::uint8_t>(2000)};
  for (auto _ : state) {
    if (!koru::PostBusMessage(QDBusConnection::sessionBus(), to, message)) return state.SkipWithError("refused");
  }
}
BENCHMARK(BM_PostAccepted)->UseRealTime();

}  // namespace
