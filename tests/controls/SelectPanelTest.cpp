// Rubber-band selection on a device picture.
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "tests/controls/ControlsTestSupport.h"

namespace koru::test {
namespace {

// Three keys in a row and one inside a nested group, which the band must not touch.
constexpr const char* kPanel = R"(<Window size="300,200"><VerticalLayout>
  <SelectPanel name="device_key_light" width="300" height="200">
    <DeviceKeyButton name="key_0" float="true" pos="10,10,40,40"/>
    <DeviceKeyButton name="key_1" float="true" pos="50,10,80,40"/>
    <DeviceKeyButton name="key_2" float="true" pos="90,10,120,40"/>
    <VerticalLayout name="nested" float="true" pos="10,100,200,160">
      <DeviceKeyButton name="key_3" float="true" pos="0,0,30,30"/>
    </VerticalLayout>
  </SelectPanel>
</VerticalLayout></Window>)";

class SelectPanelTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    window_ = Build(kPanel);
    panel_ = window_->Find<CSelectPanelUI>("device_key_light");
    ASSERT_TRUE(panel_);
    for (int i = 0; i < 4; ++i) {
      keys_[i] = window_->Find<CDeviceKeyButtonUI>("key_" + std::to_string(i));
      ASSERT_TRUE(keys_[i]);
    }
    window_->Pump();
  }
  std::string Selected() const {
    std::string s;
    for (auto* key : keys_) s += key->IsBandSelected() ? '1' : '0';
    return s;
  }
  std::unique_ptr<HeadlessWindow> window_;
  CSelectPanelUI* panel_ = nullptr;
  CDeviceKeyButtonUI* keys_[4] = {};
};

TEST_F(SelectPanelTest, AnswersItsTag) { EXPECT_EQ(panel_->GetClass(), "SelectPanel"); }

TEST_F(SelectPanelTest, BandMarksTheKeysItTouches) {
  struct Case {
    UIPoint from, to;
    const char* selected;  // keys 0..3
  };
  const Case cases[] = {
      {{5, 5}, {45, 45}, "1000"},     // around the first key
      {{130, 45}, {45, 20}, "0110"},  // dragged up and left: the band is normalised
      {{5, 60}, {290, 190}, "0000"},  // over the nested key only
      {{200, 60}, {290, 90}, "0000"}, // nothing at all
  };
  for (const Case& c : cases) {
    for (auto* key : keys_) key->SetBandSelected(1);
    window_->ClearNotifications();
    window_->Drag(c.from, c.to);
    // The nested key kept the 1 given above; the band does not reach it.
    std::string expected = std::string(c.selected).substr(0, 3) + "1";
    EXPECT_EQ(Selected(), expected) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    EXPECT_EQ(window_->CountNotify("click_select_end", "device_key_light"), 1);
  }
}

TEST_F(SelectPanelTest, PressAndReleaseWithoutMovingSelectsNothingAndSendsNothing) {
  keys_[0]->SetBandSelected(1);
  window_->ClickAt({200, 100});
  EXPECT_EQ(Selected(), "1000");
  EXPECT_EQ(window_->CountNotify("click_select_end"), 0);
}

TEST_F(SelectPanelTest, DragStartedOnAKeyIsNoBand) {
  window_->Drag({25, 25}, {115, 35});
  EXPECT_EQ(Selected(), "0000");
  EXPECT_EQ(window_->CountNotify("click_select_end"), 0);
}

TEST_F(SelectPanelTest, DisabledPanelStartsNoBand) {
  panel_->SetEnabled(false);
  window_->Drag({5, 5}, {130, 45});
  EXPECT_EQ(Selected(), "0000");
  EXPECT_EQ(window_->CountNotify("click_select_end"), 0);
}

}  // namespace
}  // namespace koru::test
