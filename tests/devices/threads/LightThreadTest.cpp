#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "devices/CKestroKeyboardDevice.h"
#include "devices/CKestroMouseDevice.h"
#include "devices/CKestroMousePadDevice.h"
#include "platform/hid/VirtualHidBus.h"
#include "protocol/CommandFrame.h"
#include "sim/SimulatedDevice.h"
#include "sim/firmware/DeviceFirmware.h"
#include "tests/devices/PageTestSupport.h"

using koru::CLightThread;
using koru::sim::SimModel;

namespace {

// One simulated device on a bus of its own, and the page's channel opened on it.
class SimulatedPage {
 public:
  explicit SimulatedPage(SimModel model)
      : device(koru::sim::SimulatedDevice::Create(model, bus)),
        firmware(koru::sim::DeviceFirmware::Install(device)),
        previous_(koru::hid::Backends()) {
    koru::hid::SetBackends({bus});
  }
  ~SimulatedPage() { koru::hid::SetBackends(previous_); }

  bool Connect(CKestroUSBDevice& page) {
    device->PlugCable();
    for (const auto& path : bus->PathsOf(*device->CableId()))
      if (path.find("&mi_01&col04") != std::string::npos)
        return page.OpenCommandEndpoint(false, path, CDeviceChannel::kCableMode);
    return false;
  }
  void Disconnect(CKestroUSBDevice& page) {
    page.CloseCommandEndpoint(false);
    device->UnplugCable();
  }

  std::shared_ptr<koru::hid::VirtualHidBus> bus = std::make_shared<koru::hid::VirtualHidBus>();
  std::shared_ptr<koru::sim::SimulatedDevice> device;
  std::shared_ptr<koru::sim::DeviceFirmware> firmware;

 private:
  std::vector<std::shared_ptr<koru::hid::Backend>> previous_;
};

// Waits for a condition that another thread brings about; false after a long while.
bool Eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

const LightInfoData kStaticRed{.selectItem = 6, .light = 4, .red = 255};

TEST(LightPassTest, APassStepsOnlyWhileTheChannelIsOpenAndFree) {
  SimulatedPage sim(SimModel::Keyboard);
  CKestroKeyboardDevice page;
  page.SetLightCount(3);
  page.SetLightInfo(kStaticRed);
  EXPECT_EQ(page.RunLightPass(), CLightThread::PassResult::Idle);
  EXPECT_EQ(page.GetLightColor(0), 0u);

  ASSERT_TRUE(sim.Connect(page));
  page.SetSyncLighting(true);
  page.SetSyncColour(0x40000010);
  EXPECT_EQ(page.RunLightPass(), CLightThread::PassResult::Ticked);
  EXPECT_EQ(page.GetLightColor(2), 0x40000010u);  // synchronised lighting keeps the frame

  page.SetSyncLighting(false);
  for (int pass = 0; pass < 8; ++pass) page.RunLightPass();  // table A, speed 0: every 8th pass
  EXPECT_EQ(page.Frame().Get(2), (LightFrameEntry{255, 0, 0, 255}));

  // Nobody sees the picture: the animation rests until the preview is back.
  page.SetPreviewActive(0);
  page.SetLightColor(2, 0);
  for (int pass = 0; pass < 8; ++pass) EXPECT_EQ(page.RunLightPass(), CLightThread::PassResult::Idle);
  EXPECT_EQ(page.GetLightColor(2), 0u);
  page.SetPreviewActive(1);
  page.SetPictureShown(false);  // another tab is selected
  EXPECT_EQ(page.RunLightPass(), CLightThread::PassResult::Idle);
  page.SetPictureShown(true);
  for (int pass = 0; pass < 8; ++pass) EXPECT_EQ(page.RunLightPass(), CLightThread::PassResult::Ticked);
  EXPECT_EQ(page.Frame().Get(2), (LightFrameEntry{255, 0, 0, 255}));
  sim.Disconnect(page);
}

TEST(LightPassTest, EffectsWithoutAStepPlayTheCustomEffectAndTheMousePlaysNoRecords) {
  SimulatedPage sim(SimModel::Mouse);
  CKestroMouseDevice mouse;
  mouse.SetLightCount(2);
  ASSERT_TRUE(sim.Connect(mouse));
  mouse.SetLightInfo({.selectItem = 12});
  LightInfoData steady{.selectItem = 1, .light = 4, .green = 77};
  mouse.ReplaceCustomEffect({{steady, 100000, 0}});
  LightInfoData dark{.selectItem = 4, .valid = 1};
  mouse.ReplaceLightList({dark, dark});
  mouse.RunLightPass();
  EXPECT_EQ(mouse.Frame().Get(1), (LightFrameEntry{0, 77, 0, 255}));
  sim.Disconnect(mouse);

  SimulatedPage padSim(SimModel::MousePad);
  CKestroMousePadDevice pad;
  pad.SetLightCount(2);
  ASSERT_TRUE(padSim.Connect(pad));
  pad.SetLightInfo({.selectItem = 12});
  pad.ReplaceCustomEffect({{steady, 100000, 0}});
  pad.ReplaceLightList({dark});
  pad.RunLightPass();
  EXPECT_EQ(pad.Frame().Get(0), LightFrameEntry{});
  EXPECT_EQ(pad.Frame().Get(1), (LightFrameEntry{0, 77, 0, 255}));
  padSim.Disconnect(pad);
}

TEST(HostLightingTest, AKeyboardTakesTheLightsWhenTheHostDrivesThem) {
  SimulatedPage sim(SimModel::Keyboard);
  CKestroKeyboardDevice keyboard;
  keyboard.SetHostLighting(1);  // closed: nothing to send
  ASSERT_TRUE(sim.Connect(keyboard));
  EXPECT_FALSE(sim.firmware->HostLightControl());
  keyboard.SetHostLighting(0);
  EXPECT_FALSE(sim.firmware->HostLightControl());
  keyboard.SetHostLighting(1);
  EXPECT_TRUE(sim.firmware->HostLightControl());
  sim.Disconnect(keyboard);

  SimulatedPage mouseSim(SimModel::Mouse);
  CKestroMouseDevice mouse;
  ASSERT_TRUE(mouseSim.Connect(mouse));
  mouse.SetHostLighting(1);
  EXPECT_EQ(mouseSim.firmware->FrameCount(), 0u);
  mouseSim.Disconnect(mouse);
}

TEST(LightThreadTest, ThePictureFollowsTheThreadsFrame) {
  SimulatedPage sim(SimModel::Keyboard);
  CKestroKeyboardDevice keyboard;
  keyboard.SetPageXml("keyboard.xml");
  keyboard.SetKeyCount(2);
  keyboard.SetLightCount(2);
  auto* picture = koru::test::AddContainer<CVerticalLayoutUI>(keyboard, "keyboard_device_key_light");
  CDeviceKeyButtonUI* light = koru::test::AddButton(*picture, "light_1");
  keyboard.InitDevicePage();
  keyboard.SetLightInfo({.selectItem = 6, .light = 2, .blue = 255});
  ASSERT_TRUE(sim.Connect(keyboard));

  keyboard.StartLightThread();
  EXPECT_TRUE(keyboard.IsLightThreadRunning());
  ASSERT_TRUE(Eventually([&] {
    keyboard.RefreshLightFrame();  // as the tab item's refresh timer does
    return light->GetLightColour() == 0x00FF00u && light->GetLightLevel() == 135;
  }));
  keyboard.StopLightThread();
  EXPECT_FALSE(keyboard.IsLightThreadRunning());
  sim.Disconnect(keyboard);
}

// Devices come and go while the light thread runs and the user-interface
// thread changes the lighting: nothing races, every stop returns.
TEST(LightThreadTest, PagesSurviveDevicesComingAndGoing) {
  SimulatedPage sim(SimModel::MousePad);
  CKestroMousePadDevice pad;
  pad.SetLightCount(15);
  std::atomic<bool> done{false};
  std::thread syncLighting([&] {
    while (!done.load()) {
      pad.SetSyncColour(0x80FF00FF);
      pad.Ripple().SetLevel(7, 255);
      std::this_thread::yield();
    }
  });
  for (int round = 0; round < 200; ++round) {
    ASSERT_TRUE(sim.Connect(pad));
    pad.StartLightThread();
    pad.SetLightInfo({.selectItem = static_cast<uint8_t>(round % 10), .light = 3, .speed = 4, .multiColor = 1});
    pad.ReplaceCustomEffect({{{.selectItem = static_cast<uint8_t>(round % 6), .light = 4}, 5, 0}});
    pad.ReplaceLightList({{.selectItem = static_cast<uint8_t>(round % 5), .speed = 4, .valid = 1}});
    pad.SetSyncLighting(round % 3 == 0);
    pad.RefreshLightFrame();
    (void)pad.GetLightColor(round % 15);
    pad.SetPhase(0);
    if (round % 2 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sim.Disconnect(pad);
    if (round % 4 == 0) pad.StopLightThread();
  }
  pad.StopLightThread();
  done = true;
  syncLighting.join();
  EXPECT_FALSE(pad.IsLightThreadRunning());
}

}  // namespace
