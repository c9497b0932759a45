#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "app/CDeviceStrip.h"
#include "app/CMainWnd.h"
#include "catalogue/CDeviceScanner.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/RegisterControls.h"
#include "devices/CKestroUSBDevice.h"
#include "devices/DevicePageFactory.h"
#include "devices/PictureBinding.h"
#include "platform/hid/VirtualHidBus.h"
#include "platform/qt/SettingsStore.h"
#include "sim/SimulatedDevice.h"
#include "sim/firmware/DeviceFirmware.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/window/HeadlessWindowBackend.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace {

namespace fs = std::filesystem;
using koru::sim::DeviceFirmware;
using koru::sim::SimModel;
using koru::sim::SimulatedDevice;

std::string SourceDir() {
  const char* dir = std::getenv("KORU_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

// The scanner's events reach the window as they do from its thread: as sent messages.
class WindowSink : public IDeviceEventSink {
 public:
  explicit WindowSink(HWND& window) : window_(window) {}
  void OnInterfaceAttached(int slot) override { ::SendMessage(window_, mainwnd::kInterfaceAttached, WPARAM(slot), 0); }
  void OnInterfaceDetached(int slot) override { ::SendMessage(window_, mainwnd::kInterfaceDetached, WPARAM(slot), 0); }
  void OnFirstPassComplete() override {}

 private:
  HWND& window_;
};

// The main window on the headless host with the real strip; simulated devices
// on a private bus, found by one scanner pass at a time.
class DeviceStripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = &koru::UseHeadlessWindowBackend();
    koru::hid::SetBackends({bus});
    CPaintManagerUI::SetResourcePath(SourceDir() + "/skin");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource(SourceDir() + "/skin"));
    RegisterDeviceControls();
    RegisterDevicePageClasses();
    folder = fs::path(testing::TempDir()) / ("devicestrip_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    // Pages load and save profiles once connected: in the test's folder, not the home.
    if (const char* dataHome = std::getenv("XDG_DATA_HOME")) oldDataHome = dataHome;
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    settings = std::make_unique<koru::SettingsStore>((folder / "settings.ini").string());

    MainWndServices services;
    services.broadcast = [](const koru::BusMessage&) {};
    services.sendToCompanion = [](std::string_view, std::string_view, const koru::BusMessage&) {};
    services.monitorAt = [](UIPoint) { return std::optional<koru::ScreenGeometry>({0, 0, 1920, 1080}); };
    services.settings = settings.get();
    services.languageConfigPath = SourceDir() + "/DefaultData/Language.config";
    services.startWorkers = false;
    window = std::make_unique<CMainWnd>(services);
    strip = std::make_unique<CDeviceStrip>(*window);
    window->SetDeviceStrip(strip.get());
    hwnd = window->CreateMainWindow();
    ASSERT_NE(hwnd, nullptr);
    scanner = std::make_unique<CDeviceScanner>(window->Slots(), sink);
    Dispatch();
  }
  void TearDown() override {
    devices.clear();
    if (::IsWindow(hwnd)) {
      window->DestroyWindow();
      koru::RunMessageLoop();
    }
    scanner.reset();
    window.reset();
    strip.reset();
    koru::hid::SetBackends({});
    if (oldDataHome) ::setenv("XDG_DATA_HOME", oldDataHome->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
    fs::remove_all(folder);
  }

  // With the firmware of its model: pages talk to their device from the first attach on.
  std::shared_ptr<SimulatedDevice> Make(SimModel model) {
    devices.push_back(SimulatedDevice::Create(model, bus));
    DeviceFirmware::Install(devices.back());
    return devices.back();
  }
  void Scan() {
    ASSERT_TRUE(scanner->ScanOnce());
    Dispatch();
  }
  void Dispatch() { koru::DispatchPendingMessages(); }
  void Advance(std::uint64_t ms) {
    backend->AdvanceTime(ms);
    Dispatch();
  }
  bool NoDeviceLinkShown() {
    CControlUI* panel = window->GetPaintManager().FindControl("No_device_Link");
    return panel != nullptr && panel->IsVisible();
  }

  koru::HeadlessWindowBackend* backend = nullptr;
  std::shared_ptr<koru::hid::VirtualHidBus> bus = std::make_shared<koru::hid::VirtualHidBus>();
  fs::path folder;
  std::optional<std::string> oldDataHome;
  std::unique_ptr<koru::SettingsStore> settings;
  std::unique_ptr<CMainWnd> window;
  std::unique_ptr<CDeviceStrip> strip;
  HWND hwnd = nullptr;
  WindowSink sink{hwnd};
  std::unique_ptr<CDeviceScanner> scanner;
  std::vector<std::shared_ptr<SimulatedDevice>> devices;
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

  // The connect timer loads the profile's lighting; then a static red at full
  // brightness, animated by hand so the test owns the ticks.
  Advance(tabtimer::kConnectDelayMs);
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

  mouse->UnplugCable();
  Scan();
  EXPECT_TRUE(page->IsChannelOpen());
  EXPECT_TRUE(page->IsReceiverMode());
  EXPECT_EQ(page->Channel().GetChunkSize(), CDeviceChannel::kReceiverChunkSize);
  EXPECT_FALSE(page->Channel().CableEndpoint().IsOpen());

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
}

}  // namespace
