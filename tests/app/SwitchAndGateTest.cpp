#include <gtest/gtest.h>

#include "app/DeviceMessageGate.h"
#include "app/DevicePageLists.h"
#include "app/LightingControlSwitch.h"
#include "tests/app/StubDevicePage.h"

namespace {

class LightingControlTest : public ::testing::Test {
 protected:
  LightingControlTest()
      : control(pages, [this](bool on) { labels.push_back(on); }, [this](bool on) { announced.push_back(on); }) {
    pages.Add(&keyboard);
    pages.Add(&mouse);
    pages.Add(&headset);
  }
  StubDevicePage keyboard{1};
  StubDevicePage mouse{2};
  StubDevicePage headset{7};
  CDevicePageLists pages;
  std::vector<bool> labels;
  std::vector<bool> announced;
  CLightingControlSwitch control;
};

TEST_F(LightingControlTest, RequestSetsLabelAndPagesWithoutAnnouncing) {
  EXPECT_TRUE(control.SetByRequest(1, 0));
  EXPECT_TRUE(control.SetByRequest(1, 1));
  EXPECT_EQ(labels, (std::vector<bool>{false, true}));
  EXPECT_EQ(keyboard.lightingControl, (std::vector<bool>{false, true}));
  EXPECT_EQ(mouse.lightingControl, (std::vector<bool>{false, true}));
  EXPECT_TRUE(headset.lightingControl.empty());  // the headset's lighting is not ours to take
  EXPECT_TRUE(announced.empty());
}

TEST_F(LightingControlTest, ButtonAnnounces) {
  control.SetByButton(false);
  EXPECT_EQ(announced, std::vector<bool>{false});
  EXPECT_EQ(labels, std::vector<bool>{false});
  EXPECT_FALSE(control.IsOn());
}

TEST_F(LightingControlTest, MalformedRequestsChangeNothing) {
  const std::pair<std::uint64_t, std::int64_t> requests[] = {{0, 0}, {2, 1}, {1, 2}, {1, -1}};
  for (auto [wParam, lParam] : requests) EXPECT_FALSE(control.SetByRequest(wParam, lParam));
  EXPECT_TRUE(labels.empty());
  EXPECT_TRUE(keyboard.lightingControl.empty());
  EXPECT_TRUE(control.IsOn());
}

TEST_F(LightingControlTest, SuspendHandsLightingBackAndResumeRestoresTheSetting) {
  control.OnSuspend();
  EXPECT_EQ(keyboard.lightingControl, std::vector<bool>{false});
  EXPECT_TRUE(control.IsOn());
  control.OnResume();
  EXPECT_EQ(keyboard.lightingControl, (std::vector<bool>{false, true}));
  EXPECT_TRUE(announced.empty());
}

TEST(DeviceMessageGate, EventsWhileClosedWaitForTheOpeningInOrder) {
  CDeviceMessageGate gate;
  EXPECT_FALSE(gate.DeferIfClosed({SlotEventKind::Attached, 0}));
  gate.Close();
  EXPECT_TRUE(gate.DeferIfClosed({SlotEventKind::Attached, 4}));
  EXPECT_TRUE(gate.DeferIfClosed({SlotEventKind::Detached, 4}));
  EXPECT_TRUE(gate.DeferIfClosed({SlotEventKind::Attached, 8}));
  const std::vector<SlotEvent> expected{
      {SlotEventKind::Attached, 4}, {SlotEventKind::Detached, 4}, {SlotEventKind::Attached, 8}};
  EXPECT_EQ(gate.Open(), expected);
  EXPECT_TRUE(gate.IsOpen());
  EXPECT_TRUE(gate.Open().empty());
}

}  // namespace
