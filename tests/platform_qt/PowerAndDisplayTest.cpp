#include <QDBusConnection>
#include <QDBusMessage>
#include <gtest/gtest.h>

#include "platform/qt/DisplayMonitor.h"
#include "platform/qt/PowerMonitor.h"
#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

TEST(PowerMonitor, PrepareForSleepArrivesAsSuspendThenResume) {
  if (!test::SessionBusAvailable()) GTEST_SKIP() << "needs a session bus";
  // Another connection plays logind under a name of its own on the test bus.
  const QString logindName = QString::fromStdString(test::UniqueBusName("login"));
  QDBusConnection logind = QDBusConnection::connectToBus(QDBusConnection::SessionBus, logindName);
  ASSERT_TRUE(logind.registerService(logindName));

  std::vector<PowerEvent> events;
  PowerMonitor monitor([&events](PowerEvent event) { events.push_back(event); }, QDBusConnection::sessionBus(),
                       logindName.toStdString());
  ASSERT_TRUE(monitor.Listening());
  // One at a time, as logind sends them: Qt may still be resolving the sender's
  // name when the first signal arrives, and then delivers a burst out of order.
  for (bool sleeping : {true, false}) {
    QDBusMessage signal = QDBusMessage::createSignal("/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                                                     "PrepareForSleep");
    signal << sleeping;
    const size_t before = events.size();
    ASSERT_TRUE(logind.send(signal));
    ASSERT_TRUE(test::WaitUntil([&] { return events.size() > before; }));
  }
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], PowerEvent::Suspend);
  EXPECT_EQ(events[1], PowerEvent::ResumeAutomatic);
  QDBusConnection::disconnectFromBus(logindName);
}

TEST(PowerMonitor, NoBusIsNoError) {
  test::TempFolder folder;
  const QDBusConnection none =
      QDBusConnection::connectToBus(QString::fromStdString("unix:path=" + (folder / "no-bus")), "no-system-bus");
  PowerMonitor monitor([](PowerEvent) { FAIL() << "no events without a bus"; }, none);
  EXPECT_FALSE(monitor.Listening());
  QDBusConnection::disconnectFromBus("no-system-bus");
}

TEST(DisplayMonitor, ScalingSwitchesAboveFifteenHundredByNineHundredSixty) {
  struct Case {
    int width, height, dpi;
  } cases[] = {{1920, 1080, 144}, {1500, 1080, 96}, {1501, 961, 144}, {1501, 960, 96}, {1280, 1024, 96}, {800, 600, 96}};
  for (const Case& c : cases) EXPECT_EQ(ScalingDpiForScreen(c.width, c.height), c.dpi) << c.width << "x" << c.height;
}

TEST(DisplayMonitor, ThePrimaryScreenHasAGeometry) {
  const std::optional<ScreenGeometry> primary = DisplayMonitor::PrimaryScreen();
  ASSERT_TRUE(primary);
  EXPECT_GT(primary->width, 0);
  EXPECT_GT(primary->height, 0);
  const std::optional<ScreenGeometry> at = DisplayMonitor::ScreenAt(-100000, -100000);
  ASSERT_TRUE(at);
  EXPECT_EQ(at->width, primary->width);
}

}  // namespace
}  // namespace koru
