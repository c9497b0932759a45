#include "platform/qt/SingleInstance.h"

#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

using test::TempFolder;
using test::WaitUntil;

// Generous: only a hung probe ever comes near it.
constexpr int kProbeWaitMs = 60000;

struct InstanceCase {
  const char* what;
  bool sessionBus;
  const char* firstLine;
  const char* handover;  // what the first instance prints after the second start; null: nothing
};

void PrintTo(const InstanceCase& c, std::ostream* out) { *out << c.what; }

class SingleInstanceHandover : public ::testing::TestWithParam<InstanceCase> {
 protected:
  void StartProbe(QProcess& probe) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.Path().string()));
    if (!GetParam().sessionBus)
      environment.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromStdString("unix:path=" + (runtime_ / "no-bus")));
    probe.setProcessEnvironment(environment);
    probe.start(KORU_INSTANCE_PROBE, {QString::fromStdString(busName_), QString::fromStdString(runtime_.Path().string())});
    ASSERT_TRUE(probe.waitForStarted(kProbeWaitMs));
  }
  static std::string ReadLine(QProcess& probe) {
    WaitUntil([&] { return probe.canReadLine() || probe.state() == QProcess::NotRunning; },
              std::chrono::seconds(kProbeWaitMs / 1000));
    return probe.readLine().trimmed().toStdString();
  }
  static void ExpectCleanExit(QProcess& probe) {
    if (probe.state() != QProcess::NotRunning) {
      ASSERT_TRUE(probe.waitForFinished(kProbeWaitMs));
    }
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
  }

  TempFolder runtime_;
  std::string busName_ = test::UniqueBusName("instance");
};

TEST_P(SingleInstanceHandover, ASecondStartHandsOverAndEndsWithZero) {
  if (GetParam().sessionBus && !test::SessionBusAvailable()) GTEST_SKIP() << "needs a session bus";
  QProcess first;
  StartProbe(first);
  ASSERT_EQ(ReadLine(first), GetParam().firstLine);

  QProcess second;
  StartProbe(second);
  ExpectCleanExit(second);
  EXPECT_EQ(second.readAllStandardOutput().trimmed().toStdString(), "second");

  if (GetParam().handover) {
    EXPECT_EQ(ReadLine(first), GetParam().handover);
  } else {
    first.write("quit\n");
  }
  ExpectCleanExit(first);

  // Once the first has ended, the next start is the first again.
  QProcess third;
  StartProbe(third);
  EXPECT_EQ(ReadLine(third), GetParam().firstLine);
  third.write("quit\n");
  ExpectCleanExit(third);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SingleInstanceHandover,
    ::testing::Values(InstanceCase{"SessionBus", true, "first bus", "shown 0 1"},
                      InstanceCase{"LockFile", false, "first lock", nullptr}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(SingleInstance, TheLockFileLiesInTheRuntimeFolderElseInAPrivateTmpFolder) {
  SingleInstanceOptions options;
  {
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", std::string("/run/user/1234"));
    EXPECT_EQ(SingleInstance::LockFilePath(options), "/run/user/1234/KORU7315.lock");
  }
  test::ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
  EXPECT_EQ(SingleInstance::LockFilePath(options), "/tmp/koru7315-" + std::to_string(::getuid()) + "/KORU7315.lock");
}

}  // namespace
}  // namespace koru
