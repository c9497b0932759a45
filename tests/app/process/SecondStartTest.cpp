// The program itself, started twice on a private session bus: the second start
// asks the first to show itself and ends with 0; the first ends cleanly when
// told to terminate.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <thread>

#include "tests/app/process/ProgramEnvironment.h"

namespace {

// Generous: only a hung program ever comes near it.
constexpr int kWaitMs = 60000;

class ProgramRun {
 public:
  explicit ProgramRun(const QProcessEnvironment& environment) {
    process_.setProcessEnvironment(environment);
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(KORU_APP_BINARY, {});
  }
  QProcess& Process() { return process_; }
  // Waits until the program's diagnostics hold `text`; false when it ended first.
  bool WaitForTrace(const QString& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (!trace_.contains(text)) {
      if (process_.state() == QProcess::NotRunning || std::chrono::steady_clock::now() > deadline) return false;
      process_.waitForReadyRead(100);
      trace_ += QString::fromUtf8(process_.readAllStandardError());
    }
    return true;
  }
  const QString& Trace() const { return trace_; }

 private:
  QProcess process_;
  QString trace_;
};

TEST(SecondStart, HandsOverToTheRunningProgramAndEndsWithZero) {
  int argc = 0;
  QCoreApplication qt(argc, nullptr);
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());

  QProcess bus;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
  if (!bus.waitForStarted(kWaitMs)) GTEST_SKIP() << "needs dbus-daemon";
  ASSERT_TRUE(bus.waitForReadyRead(kWaitMs));
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();

  QProcessEnvironment environment = koru::test::ProgramEnvironment(address, home.path());
  environment.insert("KORU_SIMULATE", "none");

  ProgramRun first(environment);
  // The scanner's first pass shows the window (wParam 0, lParam 0).
  ASSERT_TRUE(first.WaitForTrace("软件标示")) << first.Trace().toStdString();

  ProgramRun second(environment);
  ASSERT_TRUE(second.Process().waitForFinished(kWaitMs));
  EXPECT_EQ(second.Process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.Process().exitCode(), 0);

  // The first was asked to show itself by the second start: lParam 1.
  EXPECT_TRUE(first.WaitForTrace("，0 1")) << first.Trace().toStdString();

  first.Process().terminate();
  ASSERT_TRUE(first.Process().waitForFinished(kWaitMs));
  first.WaitForTrace("");
  first.Process().waitForReadyRead(0);
  const QString trace = first.Trace() + QString::fromUtf8(first.Process().readAllStandardError());
  EXPECT_EQ(first.Process().exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(first.Process().exitCode(), 0);
  EXPECT_TRUE(trace.contains("抓取设备线程设定退出")) << trace.toStdString();
  EXPECT_TRUE(trace.contains("同步灯光线程设定退出")) << trace.toStdString();
  EXPECT_FALSE(trace.contains("did not stop")) << trace.toStdString();

  bus.terminate();
  bus.waitForFinished(kWaitMs);
}

}  // namespace
