// The device tab item: its tile by device kind, the synchronised-lighting box,
// its binding, and the timers that drive the device's connection life.
#include <thread>
#include <vector>

#include "controls/CDeviceOptionUI.h"
#include "controls/IDeviceTabPage.h"
#include "tests/controls/ControlsTestSupport.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

namespace koru::test {
namespace {

class FakePage : public IDeviceTabPage {
 public:
  bool IsChannelOpen() const override { return open; }
  bool IsReceiverMode() const override { return receiver; }
  bool IsWirelessCapable() const override { return wireless; }
  bool IsPreviewActive() const override { return preview; }
  void RefreshLightFrame() override { ++refreshes; }
  void RepaintPicture() override { ++repaints; }
  bool IsWirelessLinkUp() override {
    ++linkQueries;
    return linkUp;
  }
  void SyncWithDevice() override { ++syncs; }
  void UpdatePowerStatus() override { ++powerUpdates; }
  void ReloadFromDevice() override { ++reloads; }
  void SetPictureShown(bool shown) override { pictureShown = shown; }

  bool open = true, receiver = false, wireless = true, preview = true, linkUp = true, pictureShown = false;
  int refreshes = 0, repaints = 0, linkQueries = 0, syncs = 0, powerUpdates = 0, reloads = 0;
};

class DeviceOptionTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    auto* root = new CVerticalLayoutUI;
    strip_ = new CHorizontalLayoutUI;
    strip_->SetName("device_select_layout");
    strip_->SetFixedHeight(48);
    root->Add(strip_);
    pages_ = new CTabLayoutUI;
    pages_->SetName("device_switch");
    pages_->Add(new CControlUI);
    pages_->Add(new CControlUI);
    root->Add(pages_);
    strip_->Add(new CControlUI);  // another item before ours
    item_ = new CDeviceOptionUI;
    ASSERT_TRUE(item_->BuildContent());
    strip_->Add(item_);
    ASSERT_TRUE(window_.Attach(root, {600, 200}));
    item_->SetPage(&page_);
    item_->SetShowTabRequest([this](int index, bool show) {
      requests_.push_back({index, show});
      item_->SetVisible(show);
    });
  }
  COptionUI* Tile() { return window_.Find<COptionUI>("device_select"); }

  struct Request {
    int index;
    bool show;
    bool operator==(const Request&) const = default;
  };
  HeadlessWindow window_;
  CHorizontalLayoutUI* strip_ = nullptr;
  CTabLayoutUI* pages_ = nullptr;
  CDeviceOptionUI* item_ = nullptr;
  FakePage page_;
  std::vector<Request> requests_;
};

TEST_F(DeviceOptionTest, StartsWithTheUnknownDevicesTiles) {
  EXPECT_EQ(item_->GetClass(), "DeviceOption");
  EXPECT_EQ(item_->GetFixedWidth(), 168);
  EXPECT_EQ(item_->GetNormalImage(), "common/device_ico/unknow_device_normal.png");
  EXPECT_EQ(item_->GetSelectedImage(), "common/device_ico/unknow_device_selected.png");
  EXPECT_EQ(item_->GetSyncNormalImage(), "common/device_ico/unknow_device_synchro_normal.png");
  EXPECT_EQ(item_->GetSyncSelectedImage(), "common/device_ico/unknow_device_synchro_selected.png");
}

TEST_F(DeviceOptionTest, KindPicksTileAndName) {
  struct Case {
    int kind, variant;
    const char* stem;
    const char* name;
  };
  const Case cases[] = {
      {1, 5, "kb_device_", "kb_device_name_text"},
      {2, 0, "ms_device_", "ms_device_name_text"},
      {3, 0, "hard_mp_device_", "hard_mp_device_name_text"},
      {3, 1, "soft_mp_device_", "soft_mp_device_name_text"},
      {3, 2, "soft_mp_device_", "soft_mp_device_name_text"},  // unchanged from the row before
      {4, 0, "hd_device_", "hd_device_name_text"},
      {7, 0, "hd_device_", "hd_device_name_text"},
      {5, 0, "hub_device_", "hub_device_name_text"},
      {9, 0, "unknow_device_", "unknow_device_name_text"},
  };
  auto* name = window_.Find<CLabelUI>("device_select_name");
  for (const Case& c : cases) {
    item_->SetKind(c.kind, c.variant);
    std::string stem = std::string("common/device_ico/") + c.stem;
    EXPECT_EQ(Tile()->GetNormalImage(), stem + "normal.png") << c.kind << "/" << c.variant;
    EXPECT_EQ(Tile()->GetSelectedImage(), stem + "selected.png") << c.kind << "/" << c.variant;
    EXPECT_EQ(item_->GetSyncSelectedImage(), stem + "synchro_selected.png");
    EXPECT_EQ(name->GetRawText(), c.name) << c.kind << "/" << c.variant;
    EXPECT_EQ(item_->GetKind(), c.kind);
    EXPECT_EQ(item_->GetVariant(), c.variant);
  }
}

TEST_F(DeviceOptionTest, SyncBoxSwitchesToTheSynchronisedTilesSilently) {
  item_->SetKind(1, 0);
  item_->ShowSyncBox(true);
  EXPECT_TRUE(window_.Find("synchro_device_select")->IsOwnVisible());
  window_.ClearNotifications();
  item_->SetSyncChecked(true);
  EXPECT_TRUE(item_->IsSyncChecked());
  EXPECT_EQ(Tile()->GetNormalImage(), "common/device_ico/kb_device_synchro_normal.png");
  EXPECT_EQ(Tile()->GetSelectedImage(), "common/device_ico/kb_device_synchro_selected.png");
  window_.Pump();
  EXPECT_EQ(window_.CountNotify("selectchanged"), 0);
  item_->SetSyncChecked(false);
  EXPECT_EQ(Tile()->GetNormalImage(), "common/device_ico/kb_device_normal.png");
  item_->ShowSyncBox(false);
  EXPECT_FALSE(window_.Find("synchro_device_select")->IsOwnVisible());
}

TEST_F(DeviceOptionTest, BindingSelectsThePageAndKeepsThePowerIndex) {
  item_->BindPage("device_switch", 1);
  item_->SetGroup("tab_header_device");
  EXPECT_EQ(item_->GetPageIndex(), 1);
  EXPECT_EQ(item_->GetPageLayoutName(), "device_switch");
  ASSERT_TRUE(window_.Click("device_select"));
  EXPECT_EQ(pages_->GetCurSel(), 1);
  EXPECT_TRUE(item_->IsSelected());

  item_->SetPowerLayout("device_power_switch", 2);
  item_->SetPowerLayout("device_power_switch", -1);
  EXPECT_EQ(item_->GetPowerIndex(), 2);
  EXPECT_EQ(item_->GetPowerLayoutName(), "device_power_switch");

  CDeviceOptionUI bare;  // no markup: nothing to bind
  EXPECT_EQ(bare.GetPageIndex(), -1);
  EXPECT_FALSE(bare.IsSelected());
}

TEST_F(DeviceOptionTest, ActivationNotifiesFromTheItem) {
  EXPECT_TRUE(item_->Activate());
  window_.Pump();
  EXPECT_EQ(window_.CountNotify("selectchanged"), 1);
  item_->SetVisible(false);
  EXPECT_FALSE(item_->IsItemVisible());
  EXPECT_FALSE(item_->Activate());
}

TEST_F(DeviceOptionTest, ConnectByCableSyncsThenRefreshesAndPollsPower) {
  item_->Select(true);
  item_->ArmConnect();
  window_.AdvanceTime(499);
  EXPECT_EQ(page_.syncs, 0);
  window_.AdvanceTime(1);
  EXPECT_EQ(page_.syncs, 1);
  EXPECT_EQ(page_.linkQueries, 0);
  window_.AdvanceTime(5);
  EXPECT_EQ(page_.refreshes, 1);
  EXPECT_EQ(page_.repaints, 1);
  EXPECT_TRUE(page_.pictureShown);
  window_.AdvanceTime(45);
  EXPECT_EQ(page_.powerUpdates, 1);
  window_.AdvanceTime(1000);
  EXPECT_EQ(page_.refreshes, 21);  // every 50 ms
  window_.AdvanceTime(5000);
  EXPECT_EQ(page_.powerUpdates, 2);
  EXPECT_FALSE(window_.Manager().HasTimer(item_, tabtimer::kLink));
  EXPECT_TRUE(requests_.empty());

  // Deselected, the page hears that nobody sees its picture.
  item_->Select(false);
  window_.AdvanceTime(50);
  EXPECT_FALSE(page_.pictureShown);

  // A closed channel ends the refresh; a page that is not shown is not repainted.
  int repaints = page_.repaints;
  page_.open = false;
  window_.AdvanceTime(200);
  EXPECT_FALSE(window_.Manager().HasTimer(item_, tabtimer::kRefresh));
  EXPECT_EQ(page_.repaints, repaints);
}

TEST_F(DeviceOptionTest, ReceiverWaitsForTheLinkBeforeShowingTheTab) {
  page_.receiver = true;
  page_.linkUp = false;
  item_->SetVisible(false);
  item_->ArmConnect();
  for (int attempt = 1; attempt <= 21; ++attempt) window_.AdvanceTime(attempt == 1 ? 500 : 3000);
  EXPECT_EQ(page_.syncs, 0);
  EXPECT_EQ(item_->GetFailedLinkCount(), 1) << "wraps to 0 at 20";
  EXPECT_TRUE(requests_.empty()) << "a hidden tab is not removed again";

  page_.linkUp = true;
  window_.AdvanceTime(3000);
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_EQ(requests_[0], (Request{1, true}));
  EXPECT_EQ(page_.syncs, 1);
  EXPECT_EQ(item_->GetFailedLinkCount(), 0);
  EXPECT_TRUE(window_.Manager().HasTimer(item_, tabtimer::kLink));

  // The link drops: the link timer removes the tab, and shows it again with fresh power when it is back.
  page_.linkUp = false;
  window_.AdvanceTime(2000);
  ASSERT_EQ(requests_.size(), 2u);
  EXPECT_EQ(requests_[1], (Request{1, false}));
  page_.linkUp = true;
  int power = page_.powerUpdates;
  window_.AdvanceTime(3000);
  ASSERT_EQ(requests_.size(), 3u);
  EXPECT_EQ(requests_[2], (Request{1, true}));
  EXPECT_EQ(page_.powerUpdates, power + 1);

  // Back on the cable, the link timer ends.
  page_.receiver = false;
  window_.AdvanceTime(3000);
  EXPECT_FALSE(window_.Manager().HasTimer(item_, tabtimer::kLink));
}

TEST_F(DeviceOptionTest, LinkTimerIsArmedOnlyWhileTheChannelIsOpen) {
  page_.open = false;
  item_->ArmLink(2000);
  EXPECT_FALSE(window_.Manager().HasTimer(item_, tabtimer::kLink));
  page_.open = true;
  item_->ArmLink(2000);
  EXPECT_TRUE(window_.Manager().HasTimer(item_, tabtimer::kLink));
}

TEST_F(DeviceOptionTest, ReloadTimerArmedFromAnotherThreadReloadsOnce) {
  std::thread([this] { window_.Manager().SetTimer(item_, tabtimer::kReload, 50); }).join();
  window_.AdvanceTime(200);
  EXPECT_EQ(page_.reloads, 1);
}

TEST_F(DeviceOptionTest, CabledPageWithoutBatteryIsNotPolled) {
  page_.wireless = false;
  item_->ArmConnect();
  window_.AdvanceTime(6000);
  EXPECT_EQ(page_.powerUpdates, 0);
}

}  // namespace
}  // namespace koru::test
