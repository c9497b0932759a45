#include <gtest/gtest.h>

#include <algorithm>

#include <memory>

#include "app/CDeviceStrip.h"
#include "app/CMainWnd.h"
#include "catalogue/CDeviceScanner.h"
#include "protocol/CommandFrame.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CDeviceOptionUI.h"
#include "devices/CKestroUSBDevice.h"
#include "devices/PictureBinding.h"
#include "sim/SimulatedDevice.h"
#include "tests/app/DeviceWindowTest.h"

namespace {

using koru::sim::SimModel;

// The main window with the real strip; devices found by one scanner pass at a time.
class DeviceStripTest : public koru::test::DeviceWindowTest {
 protected:
  void SetUp() override {
    DeviceWindowTest::SetUp();
    if (HasFatalFailure()) return;
    scanner = std::make_unique<CDeviceScanner>(window->Slots(), sink);
  }
  void TearDown() override {
    scanner.reset();
    DeviceWindowTest::TearDown();
  }
  void Scan() {
    ASSERT_TRUE(scanner->ScanOnce());
    Dispatch();
  }
  // What the scanner's thread does after its first pass (ScanOnce alone does not).
  void ShowAfterFirstPass() {
    sink.OnFirstPassComplete();
    Dispatch();
  }

  std::unique_ptr<CDeviceScanner> scanner;
};

TEST_F(DeviceStripTest, PluggedKeyboardGetsAShownTabAndItsPictureFollowsTheEffect) {
  ASSERT_TRUE(NoDeviceLinkShown());
  Make(SimModel::Keyboard)->PlugCable();
  Scan();

  ASSERT_EQ(strip->CountVisibleTabs(), 1);
  EXPECT_FALSE(NoDeviceLinkShown());
  CKestroUSBDevice* page = strip->PageOfKind(kKindKeyboard);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_FALSE(page->IsReceiverMode());
  EXPECT_TRUE(page->IsNotifyEndpointOpen(false));
  EXPECT_EQ(window->Pages().OfKind(kKindKeyboard).size(), 1u);
  IDevicePage* selected = strip->SelectedPage();
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->PageKind(), kKindKeyboard);

  // The window shows itself after the scanner's first pass; the connect timer
  // loads the current profile (the factory's columns wave) and starts the animation.
  ShowAfterFirstPass();
  Advance(tabtimer::kConnectDelayMs);
  EXPECT_EQ(page->GetLightInfo().selectItem, 1);
  EXPECT_TRUE(page->IsLightThreadRunning());
  EXPECT_EQ(page->GetPreviewActive(), 1);

  // Then a static red at full brightness, animated by hand so the test owns the ticks.
  page->StopLightThread();
  LightInfoData red;
  red.selectItem = 6;
  red.light = 4;
  red.red = 255;
  selected->SetLightInfo(red);
  for (int tick = 0; tick < 10; ++tick) page->AnimateOneTick();
  for (int refresh = 0; refresh < 3; ++refresh) Advance(tabtimer::kRefreshMs);

  ASSERT_FALSE(page->LightButtons().empty());
  auto* light = koru::AsKeyButton(page->LightButtons().front());
  ASSERT_NE(light, nullptr);
  EXPECT_TRUE(light->IsLightOn());
  EXPECT_GT(light->GetLightLevel(), 0);
  EXPECT_EQ(light->GetLightColour(), CDeviceKeyButtonUI::PackLightColour(255, 0, 0));
}

TEST_F(DeviceStripTest, AHiddenWindowsPicturesRestAndItsWirelessPagesStopPolling) {
  Make(SimModel::Mouse)->PlugCable();
  Make(SimModel::MousePad)->PlugCable();
  Scan();
  ShowAfterFirstPass();
  CKestroUSBDevice* mouse = strip->PageOfKind(kKindMouse);
  CKestroUSBDevice* pad = strip->PageOfKind(kKindMousePad);
  ASSERT_TRUE(mouse && pad);
  EXPECT_EQ(mouse->GetPreviewActive(), 1);
  EXPECT_TRUE(mouse->IsPowerPolling());

  CPaintManagerUI& pm = window->GetPaintManager();
  pm.SendNotify(pm.FindControl("closebtn"), "click");
  Dispatch();
  EXPECT_EQ(mouse->GetPreviewActive(), 0);
  EXPECT_EQ(pad->GetPreviewActive(), 0);
  EXPECT_FALSE(mouse->IsPowerPolling());

  // A device that arrives meanwhile rests from the start.
  Make(SimModel::Keyboard)->PlugCable();
  Scan();
  ASSERT_NE(strip->PageOfKind(kKindKeyboard), nullptr);
  EXPECT_EQ(strip->PageOfKind(kKindKeyboard)->GetPreviewActive(), 0);

  ::SendMessage(hwnd, CMainWnd::Registered().showRequest, 0, 1);  // a second start
  Dispatch();
  for (CKestroUSBDevice* page : {mouse, pad, strip->PageOfKind(kKindKeyboard)})
    EXPECT_EQ(page->GetPreviewActive(), 1) << page->GetKind();
  EXPECT_TRUE(mouse->IsPowerPolling());
}

TEST_F(DeviceStripTest, UnpluggingTheLastDeviceClosesItsChannelAndShowsNoDeviceLink) {
  auto keyboard = Make(SimModel::Keyboard);
  auto pad = Make(SimModel::MousePad);
  keyboard->PlugCable();
  pad->PlugCable();
  Scan();
  ASSERT_EQ(strip->CountVisibleTabs(), 2);

  keyboard->UnplugCable();
  Scan();
  EXPECT_EQ(strip->CountVisibleTabs(), 1);
  EXPECT_FALSE(strip->PageOfKind(kKindKeyboard)->IsChannelOpen());
  ASSERT_NE(strip->SelectedPage(), nullptr);
  EXPECT_EQ(strip->SelectedPage()->PageKind(), kKindMousePad);
  EXPECT_FALSE(NoDeviceLinkShown());

  pad->UnplugCable();
  Scan();
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_EQ(strip->SelectedPage(), nullptr);
  EXPECT_TRUE(NoDeviceLinkShown());

  // Back again: the same page, not a second one.
  keyboard->PlugCable();
  Scan();
  EXPECT_EQ(strip->CountVisibleTabs(), 1);
  EXPECT_EQ(window->Pages().OfKind(kKindKeyboard).size(), 1u);
  EXPECT_TRUE(strip->PageOfKind(kKindKeyboard)->IsChannelOpen());
}

TEST_F(DeviceStripTest, ADeviceOnCableAndReceiverUsesTheCableWhileItIsThere) {
  auto mouse = Make(SimModel::Mouse);
  ASSERT_TRUE(mouse->PlugReceiver());
  Scan();
  CKestroUSBDevice* page = strip->PageOfKind(kKindMouse);
  ASSERT_NE(page, nullptr);
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_TRUE(page->IsReceiverMode());
  EXPECT_EQ(page->Channel().GetChunkSize(), CDeviceChannel::kReceiverChunkSize);

  // The frames are cut for the path they travel: a switch that kept the
  // receiver's chunks on the cable, or the reverse, would garble every block.
  mouse->PlugCable();
  Scan();
  EXPECT_EQ(window->Pages().OfKind(kKindMouse).size(), 1u);
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_FALSE(page->IsReceiverMode());
  EXPECT_EQ(page->Channel().GetChunkSize(), CDeviceChannel::kCableChunkSize);
  EXPECT_TRUE(page->Channel().CableEndpoint().IsOpen());
  EXPECT_EQ(strip->CountVisibleTabs(), 1);

  auto firmware = std::dynamic_pointer_cast<koru::sim::DeviceFirmware>(mouse->Firmware());
  ASSERT_NE(firmware, nullptr);
  firmware->ClearLog();
  mouse->UnplugCable();
  Scan();
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_TRUE(page->IsReceiverMode());
  EXPECT_EQ(page->Channel().GetChunkSize(), CDeviceChannel::kReceiverChunkSize);
  EXPECT_FALSE(page->Channel().CableEndpoint().IsOpen());
  // Back behind the receiver, the page opens a session with the device.
  const auto frames = firmware->ReceivedFrames();
  EXPECT_TRUE(std::any_of(frames.begin(), frames.end(), [](const auto& frame) {
    return frame[koru::frame::kCommand] == koru::cmd::kBeginSession;
  }));

  mouse->UnplugReceiver();
  Scan();
  EXPECT_FALSE(page->IsChannelOpen());
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_TRUE(NoDeviceLinkShown());
}

TEST_F(DeviceStripTest, AMouseBehindItsReceiverHasATabOnlyWhileTheWirelessLinkIsUp) {
  auto mouse = Make(SimModel::Mouse);
  mouse->SetLinkUp(false);
  ASSERT_TRUE(mouse->PlugReceiver());
  Scan();
  CKestroUSBDevice* page = strip->PageOfKind(kKindMouse);
  ASSERT_NE(page, nullptr);
  CDeviceOptionUI* item = page->GetTabItem();
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_TRUE(page->IsReceiverMode());
  EXPECT_EQ(page->Channel().GetChunkSize(), CDeviceChannel::kReceiverChunkSize);
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_TRUE(NoDeviceLinkShown());

  // The receiver is there, the mouse is not: every connect attempt fails.
  Advance(tabtimer::kConnectDelayMs);
  Advance(tabtimer::kConnectRetryMs);
  EXPECT_EQ(item->GetFailedLinkCount(), 2);
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_TRUE(NoDeviceLinkShown());

  mouse->SetLinkUp(true);
  Advance(tabtimer::kConnectRetryMs);
  EXPECT_EQ(item->GetFailedLinkCount(), 0);
  EXPECT_EQ(strip->CountVisibleTabs(), 1);
  EXPECT_FALSE(NoDeviceLinkShown());
  ASSERT_NE(strip->SelectedPage(), nullptr);
  EXPECT_EQ(strip->SelectedPage()->PageKind(), kKindMouse);

  // Out of reach later: the link timer takes the tab away and brings it back.
  mouse->SetLinkUp(false);
  Advance(tabtimer::kLinkFirstMs);
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_TRUE(NoDeviceLinkShown());
  EXPECT_TRUE(page->IsChannelOpen());
  mouse->SetLinkUp(true);
  Advance(tabtimer::kLinkMs);
  EXPECT_EQ(strip->CountVisibleTabs(), 1);
  EXPECT_FALSE(NoDeviceLinkShown());

  // The receiver goes: the tab goes, the link timer stops, and a show request
  // a timer posted before is not taken.
  mouse->UnplugReceiver();
  Scan();
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  Advance(tabtimer::kLinkMs);
  EXPECT_FALSE(window->GetPaintManager().HasTimer(item, tabtimer::kLink));
  CContainerUI* tabs = static_cast<CContainerUI*>(window->GetPaintManager().FindControl("device_select_layout"));
  ASSERT_NE(tabs, nullptr);
  ::PostMessage(hwnd, mainwnd::kShowDeviceTab, WPARAM(tabs->GetItemIndex(item)), 1);
  Dispatch();
  EXPECT_EQ(strip->CountVisibleTabs(), 0);
  EXPECT_TRUE(NoDeviceLinkShown());
}

}  // namespace
