// The power indicator: level, charging state, wireless sign and the pad's phone.
#include <memory>
#include <vector>

#include "controls/CMpDevicePowerUI.h"
#include "tests/controls/ControlsTestSupport.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/CProgressUI.h"

namespace koru::test {
namespace {

class PowerIndicatorTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    indicator_ = new CMpDevicePowerUI;
    ASSERT_TRUE(indicator_->BuildContent());
    ASSERT_TRUE(window_.Attach(indicator_, {200, 48}));
    progress_ = window_.Find<CProgressUI>("device_Power_progress");
    value_ = window_.Find<CLabelUI>("device_power_value");
    ASSERT_TRUE(progress_ && value_);
  }
  // The block as the page hands it on; an exact-size heap copy lets the
  // address sanitizer catch a read past what was given.
  void Give(std::vector<std::uint8_t> block) {
    auto copy = std::make_unique<std::uint8_t[]>(block.size());
    std::copy(block.begin(), block.end(), copy.get());
    indicator_->SetPowerData(copy.get(), block.size());
  }
  HeadlessWindow window_;
  CMpDevicePowerUI* indicator_ = nullptr;
  CProgressUI* progress_ = nullptr;
  CLabelUI* value_ = nullptr;
};

TEST_F(PowerIndicatorTest, LevelAndStateByCableAndThroughTheReceiver) {
  struct Case {
    int kind;
    std::vector<std::uint8_t> block;
    const char* text;
    int progress;
    bool barShown;
    const char* background;
    bool wirelessSign;
  };
  const Case cases[] = {
      {1, {30, 1, 0, 0, 0, 0}, "30%", 70, true, "file='power/powering.png'", false},
      {1, {30, 1, 0, 1, 0, 0}, "30%", 70, false, "file='power/powering.png'", true},
      {2, {85, 2, 0, 1, 0, 0}, "85%", 15, true, "file='power/power.png'", true},
      {2, {100, 0, 0, 0, 0, 0}, "100%", 0, true, "file='power/powered.png'", false},
      {2, {250, 2, 0, 0, 0, 0}, "100%", 0, true, "file='power/power.png'", false},  // clamped
      {1, {40, 2}, "40%", 60, true, "file='power/power.png'", false},               // short block
  };
  for (const Case& c : cases) {
    indicator_->SetKind(c.kind, 0);
    Give(c.block);
    std::string what = std::to_string(c.block[0]) + "/" + std::to_string(c.block[1]);
    EXPECT_EQ(value_->GetText(), c.text) << what;
    EXPECT_EQ(progress_->GetValue(), c.progress) << what;
    EXPECT_EQ(progress_->IsOwnVisible(), c.barShown) << what;
    EXPECT_EQ(progress_->GetBkImage(), c.background) << what;
    EXPECT_EQ(window_.Find("device_wuxian_logo")->IsOwnVisible(), c.wirelessSign) << what;
  }
}

TEST_F(PowerIndicatorTest, UnknownStateLeavesTheBarAsItWas) {
  indicator_->SetKind(2, 0);
  Give({50, 2, 0, 0, 0, 0});
  Give({20, 7, 0, 0, 0, 0});
  EXPECT_EQ(progress_->GetBkImage(), "file='power/power.png'");
  EXPECT_EQ(progress_->GetValue(), 80);
}

TEST_F(PowerIndicatorTest, MousePadShowsThePhoneOnItsSurface) {
  indicator_->SetKind(3, 0);
  struct Case {
    std::uint8_t phone;
    const char* text;
    const char* image;
  };
  const Case cases[] = {
      {1, "Phone_type_iphone", "file='power/Phone_type_iphone.png'"},
      {2, "Phone_type_samsung", "file='power/Phone_type_samsung.png'"},
      {3, "Phone_type_other", "file='power/Phone_type_other.png'"},
      {0, "Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
      {9, "Phone_type_no_device", "file='power/Phone_type_no_device.png'"},
  };
  CControlUI* phone = window_.Find("device_phone_type");
  for (const Case& c : cases) {
    Give({100, 0, 0, 0, 0, c.phone});
    EXPECT_EQ(phone->GetRawText(), c.text) << int(c.phone);
    EXPECT_EQ(phone->GetBkImage(), c.image) << int(c.phone);
  }
  // Other kinds leave the phone alone.
  indicator_->SetKind(1, 0);
  Give({100, 0, 0, 0, 0, 1});
  EXPECT_EQ(phone->GetRawText(), "Phone_type_no_device");
}

TEST_F(PowerIndicatorTest, BatteryShownOnlyForWirelessDevices) {
  indicator_->ShowBattery(true);
  EXPECT_TRUE(window_.Find("device_power_Layout")->IsOwnVisible());
  indicator_->ShowBattery(false);
  EXPECT_FALSE(window_.Find("device_power_Layout")->IsOwnVisible());
}

TEST_F(PowerIndicatorTest, NothingChangesWithoutDataOrWithoutItsParts) {
  indicator_->SetKind(1, 0);
  Give({60, 2, 0, 0, 0, 0});
  indicator_->SetPowerData(nullptr, 6);
  Give({});
  EXPECT_EQ(value_->GetText(), "60%");

  CMpDevicePowerUI bare;  // no markup
  bare.SetKind(1, 0);
  const std::uint8_t block[6] = {30, 1, 0, 0, 0, 0};
  bare.SetPowerData(block, sizeof block);  // must not crash
  EXPECT_EQ(bare.GetClass(), "MpDevicePower");
}

}  // namespace
}  // namespace koru::test
