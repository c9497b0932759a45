#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/DevicePageLists.h"
#include "app/SyncLightingThread.h"
#include "tests/app/StubDevicePage.h"

namespace {

// Waits (without a time limit: the test runner has one) until `done` holds.
template <class Predicate>
void WaitUntil(Predicate done) {
  while (!done()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST(SyncLightingThread, MembersGetTheStaticColourAndOthersNothing) {
  StubDevicePage keyboard{1};
  StubDevicePage mouse{2};
  StubDevicePage closedPad{3, false};
  CDevicePageLists pages;
  pages.Add(&keyboard);
  pages.Add(&mouse);
  pages.Add(&closedPad);
  CSyncLightingSettingsStore settings;
  SyncLightingSettings s;
  s.type = int(SyncEffect::Static);
  s.brightness = 4;
  s.green = 0x80;
  settings.Set(s);

  keyboard.SetSyncLighting(true);
  closedPad.SetSyncLighting(true);
  CSyncLightingThread body(pages, settings);
  koru::StopEvent stop;
  std::thread thread([&] { body.Run(stop); });

  WaitUntil([&] { return keyboard.SyncColourCount() > 0; });
  EXPECT_EQ(keyboard.SyncColour(), 0xFF008000u);
  // A page that joins later gets the colour without waiting for the next repeat.
  mouse.SetSyncLighting(true);
  stop.Wake();
  WaitUntil([&] { return mouse.SyncColourCount() > 0; });
  EXPECT_EQ(mouse.SyncColour(), 0xFF008000u);
  EXPECT_EQ(closedPad.SyncColourCount(), 0);

  stop.Signal();
  thread.join();
}

TEST(SyncLightingThread, WithoutMembersItSleepsAndStopsAtOnce) {
  StubDevicePage keyboard{1};
  CDevicePageLists pages;
  pages.Add(&keyboard);
  CSyncLightingSettingsStore settings;
  CSyncLightingThread body(pages, settings);
  koru::StopEvent stop;
  std::thread thread([&] { body.Run(stop); });
  stop.Signal();
  thread.join();
  EXPECT_EQ(body.StepsTaken(), 0u);
  EXPECT_EQ(keyboard.SyncColourCount(), 0);
}

TEST(SyncLightingThread, StepsFollowTheClockNotTheLoop) {
  // A clock that stands still: after the first step no further step is due,
  // however often the loop wakes.
  StubDevicePage mouse{2};
  mouse.SetSyncLighting(true);
  CDevicePageLists pages;
  pages.Add(&mouse);
  CSyncLightingSettingsStore settings;
  SyncLightingSettings s;
  s.type = int(SyncEffect::Spectrum);
  s.speed = 4;
  settings.Set(s);
  std::atomic<std::uint64_t> now{100};
  CSyncLightingThread body(pages, settings, [&] { return now.load(); });
  koru::StopEvent stop;
  std::thread thread([&] { body.Run(stop); });
  WaitUntil([&] { return body.StepsTaken() == 1; });
  for (int i = 0; i < 20; ++i) stop.Wake();
  EXPECT_EQ(body.StepsTaken(), 1u);
  now = 102;  // one 2 ms tick: the next step
  stop.Wake();
  WaitUntil([&] { return body.StepsTaken() == 2; });
  stop.Signal();
  thread.join();
}

}  // namespace
