// Started twice by the single-instance test: prints "first" or "second". The
// first one then waits for the show request ("shown <wParam> <lParam>") or for
// "quit" on its standard input, and exits 0 either way.
#include <unistd.h>

#include <cstdio>
#include <string>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "platform/RegisteredMessages.h"
#include "platform/qt/SingleInstance.h"

namespace {

class ShowRequestSink : public koru::IExternalMessageSink {
 public:
  std::int64_t OnExternalMessage(const koru::ExternalMessage& message) override {
    if (message.message.name == koru::kShowRequestMessage) {
      std::printf("shown %llu %lld\n", static_cast<unsigned long long>(message.message.wParam),
                  static_cast<long long>(message.message.lParam));
      std::fflush(stdout);
      QCoreApplication::quit();
    }
    return 0;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: koru_instance_probe <bus name> <lock folder>\n");
    return 2;
  }
  koru::SingleInstanceOptions options;
  options.endpoint.busName = argv[1];
  options.lockFolder = argv[2];
  const auto instance = koru::SingleInstance::Claim(options);
  if (instance->Role() == koru::InstanceRole::Second) {
    std::printf("second\n");
    return 0;
  }
  ShowRequestSink sink;
  if (instance->Messages()) instance->Messages()->SetSink(&sink);
  std::printf("first %s\n", instance->Messages() ? "bus" : "lock");
  std::fflush(stdout);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, [&input] {
    char buffer[64];
    const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0 || std::string(buffer, std::size_t(got)).find("quit") != std::string::npos) {
      input.setEnabled(false);
      QCoreApplication::quit();
    }
  });
  return app.exec();
}
