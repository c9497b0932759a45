// The simulator message in the program: what the bus admits and what the sink
// in front of the main window does with it. Then koructl sim against the
// program itself on a private session bus: the mouse's cable is plugged and
// unplugged in the running program, which sees the change as a real plug; a
// program without simulated devices refuses the command, and with no program at
// all koructl says so by its exit code.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <chrono>
#include <string>
#include <vector>

#include "app/SimulatorMessages.h"
#include "tests/app/process/ProgramEnvironment.h"
#include "platform/hid/VirtualHidBus.h"

namespace {

// Generous: only a hung program ever comes near it.
constexpr int kWaitMs = 60000;
constexpr int kExitNotRunning = 5;
constexpr int kExitNotSimulating = 6;

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// A session bus of the test's own, with a home folder that is thrown away.
class PrivateSession : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    if (!bus_.waitForStarted(kWaitMs)) GTEST_SKIP() << "needs dbus-daemon";
    ASSERT_TRUE(bus_.waitForReadyRead(kWaitMs));
    environment_ = koru::test::ProgramEnvironment(QString::fromUtf8(bus_.readLine()).trimmed(), home_.path());
    environment_.remove("KORU_SIMULATE");
  }

  void TearDown() override {
    if (program_.state() != QProcess::NotRunning) {
      program_.terminate();
      EXPECT_TRUE(program_.waitForFinished(kWaitMs));
      EXPECT_EQ(program_.exitCode(), 0) << Trace();
    }
    if (bus_.state() != QProcess::NotRunning) {
      bus_.terminate();
      bus_.waitForFinished(kWaitMs);
    }
  }

  // Starts the program and waits until its window is up, which is after its
  // message service has a handler.
  void StartProgram(const QStringList& arguments) {
    program_.setProcessEnvironment(environment_);
    program_.start(KORU_APP_BINARY, arguments);
    ASSERT_TRUE(WaitForTrace("软件标示")) << Trace();
  }

  // Waits until the program's diagnostics since `from` hold `text`; false when it ended first.
  bool WaitForTrace(const QString& text, qsizetype from = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
    while (trace_.indexOf(text, from) < 0) {
      if (program_.state() == QProcess::NotRunning || std::chrono::steady_clock::now() > deadline) return false;
      program_.waitForReadyRead(100);
      trace_ += QString::fromUtf8(program_.readAllStandardError());
    }
    return true;
  }
  qsizetype TraceLength() {
    trace_ += QString::fromUtf8(program_.readAllStandardError());
    return trace_.size();
  }
  std::string Trace() const { return trace_.toStdString(); }

  ToolResult Koructl(const QStringList& arguments) {
    QProcess tool;
    tool.setProcessEnvironment(environment_);
    tool.start(KORU_CTL_BINARY, arguments);
    ToolResult result;
    if (!tool.waitForFinished(kWaitMs)) return result;
    result.exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    result.out = tool.readAllStandardOutput().toStdString();
    result.err = tool.readAllStandardError().toStdString();
    return result;
  }

 private:
  int argc_ = 0;
  QCoreApplication qt_{argc_, nullptr};
  QTemporaryDir home_;
  QProcess bus_;
  QProcessEnvironment environment_;
  QProcess program_;
  QString trace_;
};

class RecordingSink : public koru::IExternalMessageSink {
 public:
  std::int64_t OnExternalMessage(const koru::ExternalMessage& message) override {
    names.push_back(message.message.name);
    return 7;
  }
  std::vector<std::string> names;
};

koru::ExternalMessage SimulatorMessage(std::string_view text, std::uint64_t wParam = 0) {
  koru::ExternalMessage external;
  external.message.name = std::string(koru::sim::kSimulatorMessage);
  external.message.wParam = wParam;
  external.message.data.assign(text.begin(), text.end());
  return external;
}

TEST(SimulatorMessages, OnlyASimulatingProgramAdmitsTheMessageAndOnlyUpToItsSize) {
  koru::BusMessage message = SimulatorMessage(std::string(koru::sim::kMaxSimulatorCommandBytes, ' ')).message;
  EXPECT_EQ(koru::ProgramMessagePolicy().Check(message), koru::MessageVerdict::UnknownMessage);
  EXPECT_EQ(koru::SimulatingProgramPolicy().Check(message), koru::MessageVerdict::Accepted);
  message.data.push_back(' ');
  EXPECT_EQ(koru::SimulatingProgramPolicy().Check(message), koru::MessageVerdict::DataTooLarge);
  // The program's own messages stay as they are.
  EXPECT_EQ(koru::SimulatingProgramPolicy().Rules().size(), koru::ProgramMessagePolicy().Rules().size() + 1);
}

TEST(SimulatorMessages, TheSinkTakesTheSimulatorMessageAndPassesTheRestOn) {
  auto bus = std::make_shared<koru::hid::VirtualHidBus>();
  koru::sim::Simulation simulation(bus, koru::sim::SimulationRequest{});
  RecordingSink window;
  koru::SimulatorMessageSink sink(window, simulation);

  koru::ExternalMessage show;
  show.message.name = "KORU7315";
  EXPECT_EQ(sink.OnExternalMessage(show), 7);
  EXPECT_EQ(window.names, std::vector<std::string>{"KORU7315"});

  // A parameter the control does not know is refused before the text is looked at.
  EXPECT_EQ(sink.OnExternalMessage(SimulatorMessage("mouse cable plug", 1)), koru::sim::kSimulatorBadCommand);
  EXPECT_EQ(simulation.Device(koru::sim::SimModel::Mouse), nullptr);

  const auto state = koru::sim::SimulatorState::Decode(sink.OnExternalMessage(SimulatorMessage("mouse cable plug")));
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->Of(koru::sim::SimModel::Mouse).cablePlugged);
  EXPECT_EQ(window.names.size(), 1u);
}

using SimulatorControlProcess = PrivateSession;

TEST_F(SimulatorControlProcess, PlugsAndUnplugsTheMouseCableOfTheRunningProgram) {
  StartProgram({"--simulate", "mouse-receiver"});
  // The receiver's vendor collection is the only one the program holds so far.
  ASSERT_TRUE(WaitForTrace("attached: ")) << Trace();

  ToolResult list = Koructl({"sim", "list"});
  ASSERT_EQ(list.exitCode, 0) << list.out << list.err;
  EXPECT_NE(list.out.find("mouse     cable unplugged, receiver plugged, link up"), std::string::npos) << list.out;

  qsizetype mark = TraceLength();
  const ToolResult plug = Koructl({"sim", "mouse", "cable", "plug"});
  ASSERT_EQ(plug.exitCode, 0) << plug.out << plug.err;
  EXPECT_NE(plug.out.find("mouse     cable plugged, receiver plugged"), std::string::npos) << plug.out;
  // The scanner finds the cable as it would a real one (the mouse's cable product ID).
  EXPECT_TRUE(WaitForTrace("simulator: mouse cable plug", mark)) << Trace();
  EXPECT_TRUE(WaitForTrace(R"(attached: \\?\hid#vid_320f&pid_50ef)", mark)) << Trace();

  list = Koructl({"sim", "list"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_NE(list.out.find("mouse     cable plugged"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("keyboard  not simulated"), std::string::npos) << list.out;

  mark = TraceLength();
  const ToolResult unplug = Koructl({"sim", "mouse", "cable", "unplug"});
  ASSERT_EQ(unplug.exitCode, 0) << unplug.out << unplug.err;
  EXPECT_NE(unplug.out.find("mouse     cable unplugged, receiver plugged"), std::string::npos) << unplug.out;
  EXPECT_TRUE(WaitForTrace(R"(detached: \\?\hid#vid_320f&pid_50ef)", mark)) << Trace();

  // Refused by the program, not only by koructl's own check: nothing changes.
  const ToolResult noReceiver = Koructl({"sim", "headset", "receiver", "plug"});
  EXPECT_EQ(noReceiver.exitCode, 2) << noReceiver.out << noReceiver.err;
  list = Koructl({"sim", "list"});
  EXPECT_NE(list.out.find("headset   not simulated"), std::string::npos) << list.out;
}

TEST_F(SimulatorControlProcess, WithoutSimulationOrWithoutProgramTheCommandIsRefused) {
  const ToolResult alone = Koructl({"sim", "list"});
  EXPECT_EQ(alone.exitCode, kExitNotRunning) << alone.out << alone.err;
  EXPECT_NE(alone.err.find("not running"), std::string::npos) << alone.err;

  StartProgram({"--simulate", "none"});
  const ToolResult refused = Koructl({"sim", "mouse", "cable", "plug"});
  EXPECT_EQ(refused.exitCode, kExitNotSimulating) << refused.out << refused.err;
  EXPECT_NE(refused.err.find("without simulated devices"), std::string::npos) << refused.err;
}

}  // namespace
