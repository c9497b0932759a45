#include <gtest/gtest.h>

#include <filesystem>

#include "app/CMainWnd.h"
#include "platform/RegisteredMessages.h"
#include "platform/qt/SettingsStore.h"
#include "tests/app/StubDevicePage.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/window/HeadlessWindowBackend.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace {

namespace fs = std::filesystem;
using namespace mainwnd;

// A strip with one selected page and a record of the device events.
class StubStrip : public IDeviceStrip {
 public:
  IDevicePage* SelectedPage() override { return selected; }
  int CountVisibleTabs() const override { return visibleTabs; }
  void OnInterfaceAttached(int slot) override { events.push_back({SlotEventKind::Attached, slot}); }
  void OnInterfaceDetached(int slot) override { events.push_back({SlotEventKind::Detached, slot}); }
  void ShowTab(int, bool show) override { visibleTabs = show ? 1 : 0; }

  IDevicePage* selected = nullptr;
  int visibleTabs = 0;
  std::vector<SlotEvent> events;
};

std::string SourceDir() {
  const char* dir = std::getenv("KORU_SOURCE_DIR");
  return dir != nullptr ? dir : ".";
}

class MainWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    backend = &koru::UseHeadlessWindowBackend();
    CPaintManagerUI::SetResourcePath(SourceDir() + "/skin");
    ASSERT_TRUE(CResourceManager::GetInstance().LoadResource(SourceDir() + "/skin"));
    folder = fs::path(testing::TempDir()) / ("mainwnd_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    settings = std::make_unique<koru::SettingsStore>((folder / "settings.ini").string());

    MakeWindow();
    Dispatch();
  }
  void TearDown() override {
    if (::IsWindow(hwnd)) {
      window->DestroyWindow();
      koru::RunMessageLoop();  // takes the quit request the window leaves
    }
    window.reset();
    CPaintManagerUI::SetAllDPI(96);
    fs::remove_all(folder);
  }

  void MakeWindow() {
    MainWndServices services;
    services.broadcast = [this](const koru::BusMessage& m) { broadcasts.push_back(m); };
    services.sendToCompanion = [this](std::string_view cls, std::string_view title, const koru::BusMessage& m) {
      companion.push_back({std::string(cls), std::string(title), m});
    };
    services.monitorAt = [this](UIPoint) { return std::optional<koru::ScreenGeometry>(monitor); };
    services.settings = settings.get();
    services.languageConfigPath = SourceDir() + "/DefaultData/Language.config";
    services.startWorkers = false;
    window = std::make_unique<CMainWnd>(services);
    window->SetDeviceStrip(&strip);
    for (StubDevicePage* page : {&keyboard, &mouse}) window->Pages().Add(page);
    strip.selected = &mouse;
    hwnd = window->CreateMainWindow();
    ASSERT_NE(hwnd, nullptr);
  }
  void Dispatch() { koru::DispatchPendingMessages(); }
  void Advance(std::uint64_t ms) {
    backend->AdvanceTime(ms);
    Dispatch();
  }
  koru::HeadlessWindowPeer& Peer() { return *koru::HeadlessWindowBackend::PeerOf(hwnd); }
  LRESULT Send(std::string_view name, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(hwnd, koru::RegisterWindowMessage(name), wParam, lParam);
  }
  void Show() {
    Send(koru::kShowRequestMessage, 0, 1);
    Dispatch();
  }
  std::string LightingLabel() {
    return window->GetPaintManager().FindControl("control_light_status")->GetRawText();
  }
  int CountBroadcasts(std::string_view name) const {
    return int(std::count_if(broadcasts.begin(), broadcasts.end(), [&](const auto& m) { return m.name == name; }));
  }

  struct CompanionMessage {
    std::string className;
    std::string title;
    koru::BusMessage message;
  };

  koru::HeadlessWindowBackend* backend = nullptr;
  fs::path folder;
  std::unique_ptr<koru::SettingsStore> settings;
  koru::ScreenGeometry monitor{0, 0, 1920, 1080};
  std::vector<koru::BusMessage> broadcasts;
  std::vector<CompanionMessage> companion;
  StubStrip strip;
  StubDevicePage keyboard{1};
  StubDevicePage mouse{2};
  std::unique_ptr<CMainWnd> window;
  HWND hwnd = nullptr;
};

TEST_F(MainWndTest, StartsHiddenAnnouncesLightingControlAndShowsOnRequest) {
  EXPECT_FALSE(Peer().IsVisible());
  ASSERT_EQ(CountBroadcasts(koru::kLightControlBroadcastMessage), 1);
  EXPECT_EQ(broadcasts[0].wParam, 1u);
  EXPECT_EQ(broadcasts[0].lParam, 1);
  EXPECT_EQ(LightingLabel(), "light_control_on_text");
  // No device: the panel that says so lies over the pages.
  EXPECT_TRUE(window->GetPaintManager().FindControl("No_device_Link")->IsVisible());

  Show();
  EXPECT_TRUE(Peer().IsVisible());
  EXPECT_GE(Peer().RaiseCount(), 1);
  // One size only: restoring does not bring back the zoom buttons.
  EXPECT_FALSE(window->GetPaintManager().FindControl("maxbtn")->IsVisible());
  EXPECT_TRUE(mouse.powerPolling);
}

TEST_F(MainWndTest, CloseAndNoDeviceButtonsHideToTheTrayAndTheWindowLives) {
  for (const char* button : {"closebtn", "nodevice_ok_btn"}) {
    Show();
    ASSERT_TRUE(Peer().ClickControl(button)) << button;
    Dispatch();
    EXPECT_TRUE(::IsWindow(hwnd));
    EXPECT_FALSE(Peer().IsVisible()) << button;
    EXPECT_FALSE(mouse.powerPolling);
    EXPECT_FALSE(keyboard.powerPolling);
  }
  ASSERT_NE(backend->LastTray(), nullptr);
  EXPECT_TRUE(backend->LastTray()->IsVisible());
}

TEST_F(MainWndTest, WithoutATrayClosingMinimisesSoTheWindowCanComeBack) {
  window->DestroyWindow();
  koru::RunMessageLoop();
  backend->SetTrayAvailable(false);
  MakeWindow();
  Dispatch();
  backend->SetTrayAvailable(true);
  Show();
  ASSERT_TRUE(Peer().ClickControl("closebtn"));
  Dispatch();
  EXPECT_TRUE(Peer().IsMinimized());
}

struct ScaleCase {
  int monitorWidth;
  int monitorHeight;
  int dpi;
};

class TrayScalingTest : public MainWndTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(TrayScalingTest, LeftClickShowsTheWindowScaledByTheMonitor) {
  monitor = {0, 0, GetParam().monitorWidth, GetParam().monitorHeight};
  Show();
  ASSERT_TRUE(Peer().ClickControl("closebtn"));
  Dispatch();
  backend->LastTray()->Click(UI_TRAY_LBUTTONUP);
  Dispatch();
  EXPECT_TRUE(Peer().IsVisible());
  EXPECT_EQ(window->ScalingDpi(), GetParam().dpi);
  const UIRect rc = Peer().GetGeometry();
  EXPECT_EQ(rc.GetWidth(), kWindowWidth * GetParam().dpi / 96);
  EXPECT_EQ(rc.GetHeight(), kWindowHeight * GetParam().dpi / 96);
  EXPECT_TRUE(mouse.powerPolling);

  // A second left click hides it again.
  backend->LastTray()->Click(UI_TRAY_LBUTTONUP);
  Dispatch();
  EXPECT_FALSE(Peer().IsVisible());
}

INSTANTIATE_TEST_SUITE_P(Monitors, TrayScalingTest,
                         ::testing::Values(ScaleCase{1920, 1080, 144}, ScaleCase{1501, 961, 144},
                                           ScaleCase{1500, 1080, 96}, ScaleCase{1920, 960, 96},
                                           ScaleCase{1366, 768, 96}));

TEST_F(MainWndTest, SuspendClosesTheDeviceGateUntilResume) {
  ::SendMessage(hwnd, WM_POWERBROADCAST, kPowerSuspend, 0);
  EXPECT_FALSE(window->IsDeviceGateOpen());
  EXPECT_EQ(mouse.lightingControl, std::vector<bool>{false});
  EXPECT_EQ(keyboard.lightingControl, std::vector<bool>{false});

  ::SendMessage(hwnd, kInterfaceAttached, 4, 0);
  ::SendMessage(hwnd, kInterfaceDetached, 0, 0);
  Send(koru::kGameStartMessage, 0, 3);
  EXPECT_TRUE(strip.events.empty());
  EXPECT_TRUE(mouse.calls.empty());

  ::SendMessage(hwnd, WM_POWERBROADCAST, kPowerResumeAutomatic, 0);
  EXPECT_TRUE(window->IsDeviceGateOpen());
  const std::vector<SlotEvent> expected{{SlotEventKind::Attached, 4}, {SlotEventKind::Detached, 0}};
  EXPECT_EQ(strip.events, expected);
  EXPECT_EQ(mouse.lightingControl, (std::vector<bool>{false, true}));
  EXPECT_EQ(CountBroadcasts(koru::kLightControlBroadcastMessage), 1);  // only the start
}

TEST_F(MainWndTest, OutsideRequestSetsTheLabelSilentlyAndTheButtonAnnounces) {
  Send(koru::kLightControlRequestMessage, 1, 0);
  EXPECT_EQ(LightingLabel(), "light_control_off_text");
  EXPECT_FALSE(window->LightingControl());
  Send(koru::kLightControlRequestMessage, 1, 1);
  EXPECT_EQ(LightingLabel(), "light_control_on_text");
  EXPECT_EQ(keyboard.lightingControl, (std::vector<bool>{false, true}));
  Send(koru::kLightControlRequestMessage, 2, 0);  // other wParam values change nothing
  EXPECT_TRUE(window->LightingControl());
  EXPECT_EQ(CountBroadcasts(koru::kLightControlBroadcastMessage), 1);

  Show();
  ASSERT_TRUE(Peer().ClickControl("control_light_status"));
  Dispatch();
  EXPECT_EQ(LightingLabel(), "light_control_off_text");
  ASSERT_EQ(CountBroadcasts(koru::kLightControlBroadcastMessage), 2);
  EXPECT_EQ(broadcasts.back().wParam, 1u);
  EXPECT_EQ(broadcasts.back().lParam, 0);
}

TEST_F(MainWndTest, GameEventShowsItsEffectForFiveSecondsAfterTheLastEvent) {
  mouse.light.selectItem = 2;
  Send(koru::kGameStartMessage, 0, 3);
  EXPECT_EQ(mouse.light.selectItem, 3);
  Advance(4000);
  Send(koru::kGameKillMessage, 3, 9);  // only restarts the five seconds
  EXPECT_EQ(mouse.light.selectItem, 3);
  Advance(4999);
  EXPECT_EQ(mouse.light.selectItem, 3);
  Advance(1);
  EXPECT_EQ(mouse.light.selectItem, 2);
}

TEST_F(MainWndTest, CopyDataIsCheckedForKindAndSize) {
  strip.selected = &keyboard;
  const std::vector<std::uint8_t> six{1, 2, 3, 4, 5, 6};
  const std::vector<std::uint8_t> seven{1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(koru::SendCopyData(hwnd, nullptr, 2, six), 1);
  EXPECT_EQ(koru::SendCopyData(hwnd, nullptr, 2, seven), 0);
  EXPECT_EQ(koru::SendCopyData(hwnd, nullptr, 1, std::vector<std::uint8_t>(2001)), 0);
  EXPECT_EQ(koru::SendCopyData(hwnd, nullptr, 1, std::vector<std::uint8_t>(2000, 9)), 1);
  EXPECT_EQ(koru::SendCopyData(hwnd, nullptr, 3, six), 0);
  ASSERT_EQ(keyboard.audio.size(), 2u);
  EXPECT_EQ(keyboard.audio[0].kind, 2);
  EXPECT_EQ(keyboard.audio[0].bytes, six);
  EXPECT_EQ(keyboard.audio[1].bytes.size(), 2000u);
}

TEST_F(MainWndTest, WorkToolGetsTheModelTable) {
  Send(koru::kWorkToolQueryMessage, 0, 0);
  ASSERT_EQ(companion.size(), 1u);
  EXPECT_EQ(companion[0].title, "WorkTool");
  const koru::BusMessage& m = companion[0].message;
  EXPECT_EQ(m.name, koru::kCopyDataMessage);
  EXPECT_EQ(m.lParam, 5);
  ASSERT_EQ(m.data.size(), 1024u);
  auto word = [&](int i) {
    return std::uint32_t(m.data[4 * i]) | std::uint32_t(m.data[4 * i + 1]) << 8 |
           std::uint32_t(m.data[4 * i + 2]) << 16 | std::uint32_t(m.data[4 * i + 3]) << 24;
  };
  EXPECT_EQ(word(0), 2u);
  EXPECT_EQ(word(1), 3u);
  EXPECT_EQ(word(3), 2u);
  EXPECT_EQ(word(4), 4u);
  EXPECT_EQ(word(5), 0x320Fu);  // the mouse, the first model
  EXPECT_EQ(word(6), 0x50EFu);
  EXPECT_EQ(word(7), 2u);
  EXPECT_EQ(word(16), 7u);  // the headset's kind, the last model
  EXPECT_EQ(word(17), 0u);
}

TEST_F(MainWndTest, TrayMenuExitEndsTheProgramAndTellsTheAudioCompanion) {
  auto command = std::make_unique<MenuCmd>();
  command->szName = "exit";
  ASSERT_TRUE(koru::PostMenuCommand(hwnd, std::move(command)));
  EXPECT_EQ(koru::RunMessageLoop(), 0);
  EXPECT_FALSE(::IsWindow(hwnd));
  const std::uint64_t closing[] = {2, 4, 5};
  ASSERT_EQ(companion.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(companion[i].className, "KORU7315AudioRecord");
    EXPECT_EQ(companion[i].message.name, koru::kAudioCompanionMessage);
    EXPECT_EQ(companion[i].message.wParam, closing[i]);
  }
}

}  // namespace
