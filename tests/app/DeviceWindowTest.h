#pragma once
// The main window on the headless host with the real device strip, for tests
// of the device life: simulated devices with their firmware on a private bus,
// the pages' profiles in a temporary folder, and the scanner's events handed
// to the window as sent messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/CDeviceStrip.h"
#include "app/CMainWnd.h"
#include "catalogue/IDeviceEventSink.h"
#include "controls/RegisterControls.h"
#include "devices/DevicePageFactory.h"
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

namespace koru::test {

inline std::string SourceDir() {
  const char* dir = std::getenv("KORU_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

// The scanner's events reach the window as they do from its thread: as sent messages.
class WindowSink : public IDeviceEventSink {
 public:
  explicit WindowSink(HWND& window) : window_(window) {}
  void OnInterfaceAttached(int slot) override { ::SendMessage(window_, mainwnd::kInterfaceAttached, WPARAM(slot), 0); }
  void OnInterfaceDetached(int slot) override { ::SendMessage(window_, mainwnd::kInterfaceDetached, WPARAM(slot), 0); }
  void OnFirstPassComplete() override { ::PostMessage(window_, CMainWnd::Registered().showRequest, 0, 0); }

 private:
  HWND& window_;
};

class DeviceWindowTest : public ::testing::Test {
 protected:
  enum class Painting { On, Off };
  // Painting::Off keeps the window's client area empty, so nothing is ever
  // drawn: Qt converts large images on a thread pool of its own, which
  // ThreadSanitizer cannot see into.
  explicit DeviceWindowTest(Painting painting = Painting::On) : painting_(painting) {}

  void SetUp() override {
    backend = &koru::UseHeadlessWindowBackend();
    koru::hid::SetBackends({bus});
    CPaintManagerUI::SetResourcePath(SourceDir() + "/skin");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource(SourceDir() + "/skin"));
    RegisterDeviceControls();
    RegisterDevicePageClasses();
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    folder = std::filesystem::path(testing::TempDir()) /
             (std::string(test->test_suite_name()) + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Pages load and save profiles once connected: in the test's folder, not
    // the home. Set before any thread starts.
    if (const char* dataHome = std::getenv("XDG_DATA_HOME")) oldDataHome_ = dataHome;
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    settings_ = std::make_unique<koru::SettingsStore>((folder / "settings.ini").string());

    MainWndServices services;
    services.broadcast = [](const koru::BusMessage&) {};
    services.sendToCompanion = [](std::string_view, std::string_view, const koru::BusMessage&) {};
    services.monitorAt = [](UIPoint) { return std::optional<koru::ScreenGeometry>({0, 0, 1920, 1080}); };
    services.settings = settings_.get();
    services.languageConfigPath = SourceDir() + "/DefaultData/Language.config";
    services.startWorkers = false;
    window = std::make_unique<CMainWnd>(services);
    strip = std::make_unique<CDeviceStrip>(*window);
    window->SetDeviceStrip(strip.get());
    hwnd = window->CreateMainWindow();
    ASSERT_NE(hwnd, nullptr);
    if (painting_ == Painting::Off) window->GetPaintManager().SetClientSize({0, 0});
    Dispatch();
    // The start-up rescale would give the window its size back.
    if (painting_ == Painting::Off) window->KillTimer(mainwnd::kRescaleTimer);
  }

  void TearDown() override {
    devices.clear();
    if (::IsWindow(hwnd)) {
      window->DestroyWindow();
      koru::RunMessageLoop();
    }
    window.reset();
    strip.reset();
    koru::hid::SetBackends({});
    if (oldDataHome_) ::setenv("XDG_DATA_HOME", oldDataHome_->c_str(), 1);
    else ::unsetenv("XDG_DATA_HOME");
    std::filesystem::remove_all(folder);
  }

  // With the firmware of its model: pages talk to their device from the first attach on.
  std::shared_ptr<koru::sim::SimulatedDevice> Make(koru::sim::SimModel model) {
    devices.push_back(koru::sim::SimulatedDevice::Create(model, bus));
    koru::sim::DeviceFirmware::Install(devices.back());
    return devices.back();
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
  std::filesystem::path folder;
  std::unique_ptr<CMainWnd> window;
  std::unique_ptr<CDeviceStrip> strip;
  HWND hwnd = nullptr;
  WindowSink sink{hwnd};
  std::vector<std::shared_ptr<koru::sim::SimulatedDevice>> devices;

 private:
  Painting painting_;
  std::optional<std::string> oldDataHome_;
  std::unique_ptr<koru::SettingsStore> settings_;
};

}  // namespace koru::test
