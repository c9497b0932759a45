// The main window's device life with every thread at work at once: simulated
// devices are plugged and unplugged at random by one thread, the scanner's own
// thread finds them, the window's thread runs the tab items' timers on the
// headless clock, the pages' light threads animate, and another thread talks
// to the devices through the pages' channels meanwhile, as the pages'
// synchronisation threads do. The window paints nothing (see DeviceWindowTest).
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "app/CDeviceStrip.h"
#include "app/CMainWnd.h"
#include "catalogue/CDeviceScanner.h"
#include "catalogue/DeviceCatalogue.h"
#include "controls/CDeviceOptionUI.h"
#include "devices/CKestroUSBDevice.h"
#include "platform/hid/HidBackend.h"
#include "protocol/DeviceCommands.h"
#include "sim/SimulatedDevice.h"
#include "tests/app/DeviceWindowTest.h"
#include "toolkit/window/MessageLoop.h"

namespace {

using namespace std::chrono_literals;
using koru::sim::SimModel;
using koru::sim::SimulatedDevice;

// Enough to plug and unplug every appearance of every device many times over
// while staying within seconds under ThreadSanitizer.
constexpr int kRounds = 500;
constexpr std::uint32_t kSeed = 7315;
// Virtual time per pass of the window's loop: the refresh timer fires nearly
// every pass, the connect timer every dozen passes, the link timer every 75.
constexpr std::uint64_t kVirtualStepMs = 40;
constexpr auto kScanPeriod = 2ms;

struct SoakedDevice {
  std::shared_ptr<SimulatedDevice> sim;
  int kind = 0;  // the page's (cable) kind
};

class DeviceLifeSoakTest : public koru::test::DeviceWindowTest {
 protected:
  DeviceLifeSoakTest() : DeviceWindowTest(Painting::Off) {}

  void SetUp() override {
    DeviceWindowTest::SetUp();
    if (HasFatalFailure()) return;
    for (SimModel model : {SimModel::Keyboard, SimModel::Mouse, SimModel::MousePad, SimModel::Headset}) {
      auto sim = Make(model);
      soaked.push_back({sim, CableKindOf(FirstRowOf(*sim).kind)});
    }
  }

  void TearDown() override {
    StopExchanges();
    StopScanner();
    soaked.clear();
    DeviceWindowTest::TearDown();
  }

  static const InterfaceSlot& FirstRowOf(const SimulatedDevice& sim) {
    for (const InterfaceSlot& row : DeviceInterfaceTable)
      if (row.productId == sim.CableIdentity().productId) return row;
    ADD_FAILURE() << sim.Name() << " is not in the catalogue";
    return DeviceInterfaceTable.front();
  }

  // ---- The window's thread

  void StartScanner() {
    scanner = std::make_unique<CDeviceScanner>(window->Slots(), sink, kScanPeriod);
    ASSERT_TRUE(scanner->Start());
  }
  // Once it has ended, every event it found has been handled.
  void StopScanner() {
    if (!scanner) return;
    scanner->RequestStop();
    koru::WaitServingSends([this] { return !scanner->IsRunning(); }, std::chrono::hours(1));
    scanner.reset();
  }

  // The window's loop while other threads work: messages, timers, virtual time.
  void RunWindowUntil(const std::function<bool()>& done) {
    while (!done()) {
      Dispatch();
      PublishChannels();
      backend->AdvanceTime(kVirtualStepMs);
      koru::WaitServingSends([] { return false; }, 1ms);
    }
    Dispatch();
  }

  // Long enough for every connect retry and link check to have run since the last change.
  void Settle() {
    const std::uint64_t span = tabtimer::kConnectDelayMs + 2 * tabtimer::kConnectRetryMs + tabtimer::kLinkMs;
    for (std::uint64_t passed = 0; passed < span; passed += kVirtualStepMs) {
      backend->AdvanceTime(kVirtualStepMs);
      Dispatch();
    }
  }

  // Pages come with their device's first attach and stay as long as the window.
  void PublishChannels() {
    std::lock_guard lock(channelsMutex);
    for (const SoakedDevice& device : soaked) {
      CKestroUSBDevice* page = strip->PageOfKind(device.kind);
      if (page == nullptr) continue;
      if (std::find(channels.begin(), channels.end(), &page->Channel()) == channels.end())
        channels.push_back(&page->Channel());
    }
  }

  // ---- Other threads

  // The slot list shows what is plugged, by paths that still exist: the scanner has caught up.
  bool ScannerCaughtUp() const {
    const std::vector<InterfaceSlot> live = window->Slots().Snapshot();
    for (std::size_t row = 0; row < live.size(); ++row) {
      const InterfaceSlot& slot = live[row];
      if ((slot.connected != 0) != Plugged(DeviceInterfaceTable[row])) return false;
      if (slot.connected != 0 && !koru::hid::PathExists(slot.path)) return false;
    }
    return true;
  }
  bool Plugged(const InterfaceSlot& row) const {
    for (const SoakedDevice& device : soaked) {
      const SimulatedDevice& sim = *device.sim;
      if (sim.CableIdentity().productId == row.productId) return sim.IsCablePlugged();
      if (sim.HasReceiver() && sim.ReceiverIdentity().productId == row.productId) return sim.IsReceiverPlugged();
    }
    return false;
  }
  static void WaitUntil(const std::function<bool()>& done) {
    while (!done()) std::this_thread::sleep_for(1ms);
  }

  // Each round changes one thing of one device: a cable, a receiver or a
  // wireless link. Mostly the scanner is let catch up before the next change;
  // sometimes changes pile up and it sees only their sum.
  void PlugAtRandom() {
    std::mt19937 random(kSeed);
    for (int round = 0; round < kRounds; ++round) {
      SimulatedDevice& sim = *soaked[random() % soaked.size()].sim;
      const unsigned action = sim.HasReceiver() ? random() % 5 : 0;
      if (action <= 1) {
        if (sim.IsCablePlugged()) sim.UnplugCable();
        else sim.PlugCable();
      } else if (action <= 3) {
        if (sim.IsReceiverPlugged()) sim.UnplugReceiver();
        else sim.PlugReceiver();
      } else {
        sim.SetLinkUp(!sim.IsLinkUp());
      }
      if (random() % 4 != 0) WaitUntil([this] { return ScannerCaughtUp(); });
    }
    WaitUntil([this] { return ScannerCaughtUp(); });
  }

  void StartExchanges() {
    exchanger = std::thread([this] {
      while (!stopExchanges.load()) {
        std::vector<CDeviceChannel*> known;
        {
          std::lock_guard lock(channelsMutex);
          known = channels;
        }
        for (CDeviceChannel* channel : known) {
          std::uint8_t power[6] = {};
          if (ReadPowerStatus(*channel, power, sizeof power, 0) == koru::result::kSuccess) ++answered;
          QueryWirelessLink(*channel);
        }
        std::this_thread::sleep_for(1ms);
      }
    });
  }
  void StopExchanges() {
    stopExchanges = true;
    if (exchanger.joinable()) exchanger.join();
  }

  // ---- The verdict, on the window's thread with the scanner stopped

  void ExpectPagesFollowDevices() {
    int shown = 0;
    for (const SoakedDevice& device : soaked) {
      const SimulatedDevice& sim = *device.sim;
      SCOPED_TRACE(sim.Name());
      const bool cable = sim.IsCablePlugged();
      const bool receiver = sim.IsReceiverPlugged();
      const bool usable = cable || (receiver && sim.IsLinkUp());
      if (usable) ++shown;
      CKestroUSBDevice* page = strip->PageOfKind(device.kind);
      if (page == nullptr) {
        EXPECT_FALSE(cable || receiver) << "a plugged device without a page";
        continue;
      }
      CDeviceChannel& channel = page->Channel();
      EXPECT_EQ(page->GetTabItem()->IsItemVisible(), usable);
      EXPECT_EQ(channel.IsOpen(), cable || receiver);
      if (!cable && !receiver) {
        EXPECT_FALSE(channel.CableEndpoint().IsOpen());
        EXPECT_FALSE(channel.ReceiverEndpoint().IsOpen());
        EXPECT_FALSE(page->IsNotifyEndpointOpen(false));
        EXPECT_FALSE(page->IsNotifyEndpointOpen(true));
      } else if (sim.HasReceiver()) {
        EXPECT_EQ(channel.IsReceiverMode(), !cable);
        EXPECT_EQ(channel.GetChunkSize(), cable ? CDeviceChannel::kCableChunkSize : CDeviceChannel::kReceiverChunkSize);
      }
    }
    EXPECT_EQ(strip->CountVisibleTabs(), shown);
    CControlUI* noDevice = window->GetPaintManager().FindControl("No_device_Link");
    ASSERT_NE(noDevice, nullptr);
    EXPECT_EQ(noDevice->IsVisible(), shown == 0);
  }

  std::unique_ptr<CDeviceScanner> scanner;
  std::vector<SoakedDevice> soaked;

  std::mutex channelsMutex;
  std::vector<CDeviceChannel*> channels;
  std::thread exchanger;
  std::atomic<bool> stopExchanges{false};
  std::atomic<int> answered{0};
};

TEST_F(DeviceLifeSoakTest, PagesTabsAndChannelsFollowDevicesPluggedAtRandom) {
  StartScanner();
  StartExchanges();
  std::atomic<bool> pluggingDone{false};
  std::thread plugging([&] {
    PlugAtRandom();
    pluggingDone = true;
  });
  RunWindowUntil([&] { return pluggingDone.load(); });
  plugging.join();
  StopScanner();
  Settle();
  ExpectPagesFollowDevices();

  // Everything away: no tab, no open channel or endpoint is left behind.
  for (const SoakedDevice& device : soaked) {
    device.sim->UnplugCable();
    device.sim->UnplugReceiver();
  }
  StartScanner();
  RunWindowUntil([this] { return ScannerCaughtUp(); });
  StopScanner();
  Settle();
  ExpectPagesFollowDevices();
  EXPECT_EQ(strip->CountVisibleTabs(), 0);

  StopExchanges();
  EXPECT_GT(answered.load(), 0) << "the pages' channels never reached a device";
  EXPECT_TRUE(window->GetPaintManager().GetImage().isNull()) << "the window painted";
}

}  // namespace
