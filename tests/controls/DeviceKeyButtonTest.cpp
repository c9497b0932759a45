// The key button of a device picture: its light layer, its marks and its double-click.
#include "controls/CDeviceKeyButtonUI.h"
#include "tests/controls/ControlsTestSupport.h"

namespace koru::test {
namespace {

constexpr const char* kPicture = R"(<Window size="120,80"><VerticalLayout bkcolor="#FF000000">
  <DeviceKeyButton name="key_0" float="true" pos="10,10,60,60" lightimage="file='device/common/zone_light.svg'"
      keysetimage="file='device/common/key_set.svg' dest='40,2,48,10'" keyunsetimage="file='device/common/key_unset.svg' dest='40,2,48,10'"/>
</VerticalLayout></Window>)";

class DeviceKeyButtonTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    window_ = Build(kPicture);
    key_ = window_->Find<CDeviceKeyButtonUI>("key_0");
    ASSERT_TRUE(key_);
    window_->Snapshot();
  }
  // Repaints the key and reads the colour at its centre.
  QColor Shown() {
    key_->Invalidate();
    window_->Pump();
    return PixelAt(*window_, {35, 35});
  }
  std::unique_ptr<HeadlessWindow> window_;
  CDeviceKeyButtonUI* key_ = nullptr;
};

TEST_F(DeviceKeyButtonTest, AnswersItsTagAndStartsDarkWithRedAt200) {
  EXPECT_EQ(key_->GetClass(), "DeviceKeyButton");
  EXPECT_EQ(key_->GetLightColour(), 255u);
  EXPECT_EQ(key_->GetLightLevel(), 200);
  EXPECT_FALSE(key_->IsLightOn());
  EXPECT_EQ(key_->GetHideKeySetImage(), 1);
  EXPECT_EQ(key_->GetHideKeyUnsetImage(), 1);
}

TEST_F(DeviceKeyButtonTest, ShowsTheZoneColourInThePagesPacking) {
  struct Case {
    std::uint8_t r, g, b;
  };
  for (Case c : {Case{255, 0, 0}, Case{0, 255, 0}, Case{0, 0, 255}, Case{255, 255, 255}}) {
    key_->SetLightState(CDeviceKeyButtonUI::PackLightColour(c.r, c.g, c.b), 255, true);
    QColor shown = Shown();
    EXPECT_NEAR(shown.red(), c.r, 8) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    EXPECT_NEAR(shown.green(), c.g, 8) << int(c.r) << "," << int(c.g) << "," << int(c.b);
    EXPECT_NEAR(shown.blue(), c.b, 8) << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
  // Half the level, half the light.
  key_->SetLightState(CDeviceKeyButtonUI::PackLightColour(255, 255, 255), 128, true);
  EXPECT_NEAR(Shown().red(), 128, 10);
}

TEST_F(DeviceKeyButtonTest, ShowsNoLightWhileOffWhateverItsColour) {
  key_->SetLightState(CDeviceKeyButtonUI::PackLightColour(255, 255, 255), 255, false);
  QColor shown = Shown();
  EXPECT_LT(shown.red() + shown.green() + shown.blue(), 10);
  // The state is kept for the page to read back unchanged.
  EXPECT_EQ(key_->GetLightColour(), 0xFFFFFFu);
  EXPECT_EQ(key_->GetLightLevel(), 255);
}

TEST_F(DeviceKeyButtonTest, SettingTheLightAloneDoesNotRepaint) {
  window_->Pump();
  EXPECT_TRUE(key_->SetLightState(0x00FF00, 255, true)) << "a change is reported";
  EXPECT_FALSE(key_->SetLightState(0x00FF00, 255, true)) << "the same state is no change";
  EXPECT_TRUE(window_->Manager().GetDirtyRect().IsEmpty());
  EXPECT_LT(PixelAt(*window_, {35, 35}).green(), 10);
}

TEST_F(DeviceKeyButtonTest, MarksRepaintOnlyWhenTheyChange) {
  window_->Pump();
  key_->SetHideKeySetImage(1);
  key_->SetHideKeyUnsetImage(1);
  key_->SetKeyMark(0);
  EXPECT_TRUE(window_->Manager().GetDirtyRect().IsEmpty());

  key_->SetHideKeySetImage(0);
  EXPECT_FALSE(window_->Manager().GetDirtyRect().IsEmpty());
  window_->Pump();
  QColor mark = PixelAt(*window_, {54, 16});
  EXPECT_GT(mark.blue(), 150) << "the accent dot of an assigned key";

  key_->SetKeyMark(3);
  EXPECT_EQ(key_->GetKeyMark(), 3);
  EXPECT_FALSE(window_->Manager().GetDirtyRect().IsEmpty());
}

TEST_F(DeviceKeyButtonTest, BandSelectionIsStoredWithoutRepaint) {
  window_->Pump();
  key_->SetBandSelected(1);
  EXPECT_EQ(key_->IsBandSelected(), 1);
  EXPECT_TRUE(window_->Manager().GetDirtyRect().IsEmpty());
}

TEST_F(DeviceKeyButtonTest, GameModeNameColourIsAcceptedAndChangesNothing) {
  for (const char* value : {"#FF00FF00", "FF00FF00"}) {
    key_->SetAttribute("gmnametextcolor", value);
    EXPECT_EQ(key_->GetTextColor(), 0u) << value;
    EXPECT_EQ(key_->GetBkColor(), 0u) << value;
  }
}

TEST_F(DeviceKeyButtonTest, DoubleClickSendsDbclickAndTheReleaseClicks) {
  ASSERT_TRUE(window_->DoubleClick("key_0"));
  EXPECT_EQ(window_->CountNotify("dbclick", "key_0"), 1);
  EXPECT_EQ(window_->CountNotify("click", "key_0"), 2);

  key_->SetEnabled(false);
  window_->ClearNotifications();
  window_->DoubleClick("key_0");
  EXPECT_EQ(window_->CountNotify("dbclick"), 0);
}

}  // namespace
}  // namespace koru::test
