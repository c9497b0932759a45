#include "tests/platform_qt/QtTestSupport.h"

#include <unistd.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace koru::test {
namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "platform_qt_tests";
    static char* argv[] = {name, nullptr};
    // Never a real display, whoever runs the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > std::chrono::duration_cast<std::chrono::milliseconds>(limit).count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(1);
  }
  return true;
}

bool SessionBusAvailable() { return QDBusConnection::sessionBus().isConnected(); }

std::string UniqueBusName(const std::string& role) {
  static std::atomic<int> counter{0};
  return "org.koru7315.Test.p" + std::to_string(::getpid()) + "." + role + std::to_string(counter++);
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "koru-platform-qt-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) ::setenv(name, value->c_str(), 1);
  else ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
  if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
  else ::unsetenv(name_.c_str());
}

}  // namespace koru::test
