#include <gtest/gtest.h>

#include <memory>

#include "devices/CKestroHS6533Device.h"
#include "devices/CKestroKeyboardDevice.h"
#include "devices/CKestroMouseDevice.h"
#include "devices/CKestroMousePadDevice.h"
#include "devices/PictureBinding.h"
#include "tests/devices/PageTestSupport.h"

using koru::test::AddButton;
using koru::test::AddContainer;

namespace {

TEST(NumberedNameTest, OnlyAPlainNumberAfterTheLastUnderscoreCounts) {
  struct Case {
    const char* text;
    bool valid;
    const char* prefix;
    int number;
  };
  const Case cases[] = {
      {"key_7", true, "key_", 7},       {"light_0_12", true, "light_0_", 12}, {"KEY_007", true, "KEY_", 7},
      {"key_", false, "", 0},           {"key7", false, "", 0},               {"key_7a", false, "", 0},
      {"key_-1", false, "", 0},         {"key_ 3", false, "", 0},             {"key_+3", false, "", 0},
      {"key_99999999999", false, "", 0}, {"", false, "", 0},
  };
  for (const Case& c : cases) {
    const auto split = koru::SplitNumberedName(c.text);
    ASSERT_EQ(split.has_value(), c.valid) << c.text;
    if (!split) continue;
    EXPECT_EQ(split->prefix, c.prefix);
    EXPECT_EQ(split->number, c.number);
  }
}

class PictureBindingTest : public testing::Test {
 protected:
  void SetUp() override {
    page.SetPageXml("XML\\DeviceXml\\test.xml");
    page.SetKeyCount(7);
    page.SetLightCount(3);
    panel = AddContainer<CSelectPanelUI>(page, "SelectPanel");
  }
  CKestroUSBDevice page;
  CSelectPanelUI* panel = nullptr;
};

TEST_F(PictureBindingTest, KeysAndLightsGoToTheirNumbersInsideTheTables) {
  CDeviceKeyButtonUI* key6 = AddButton(*panel, "key_6");
  AddButton(*panel, "key_7");
  AddButton(*panel, "key_6x");
  CDeviceKeyButtonUI* upper = AddButton(*panel, "KEY_2");
  CDeviceKeyButtonUI* light = AddButton(*panel, "zone", "light_2");
  AddButton(*panel, "zone3", "light_3");
  CDeviceKeyButtonUI* byName = AddButton(*panel, "light_1");
  auto* plain = new CButtonUI;  // not a picture button
  plain->SetName("key_1");
  panel->Add(plain);

  page.InitDevicePage();
  EXPECT_EQ(page.GetKeyPanel(), panel);
  ASSERT_EQ(page.KeyButtons().size(), 7u);
  EXPECT_EQ(page.KeyButtons()[6], key6);
  EXPECT_EQ(page.KeyButtons()[2], upper);
  EXPECT_EQ(page.KeyButtons()[1], nullptr);
  ASSERT_EQ(page.LightButtons().size(), 3u);
  EXPECT_EQ(page.LightButtons()[2], light);
  // The base page takes lights from the user data only.
  EXPECT_EQ(page.LightButtons()[1], nullptr);
  EXPECT_FALSE(byName->IsLightOn());
  // A bound light starts white and lit.
  EXPECT_EQ(light->GetLightColour(), 0xFFFFFFu);
  EXPECT_EQ(light->GetLightLevel(), 255);
  EXPECT_TRUE(light->IsLightOn());
}

TEST_F(PictureBindingTest, TheLaterOfTwoButtonsWithOneNumberWins) {
  AddButton(*panel, "key_3");
  CDeviceKeyButtonUI* later = AddButton(*panel, "key_3");
  page.InitDevicePage();
  EXPECT_EQ(page.KeyButtons()[3], later);
}

TEST_F(PictureBindingTest, APageWithoutMarkupHasNoPicture) {
  AddButton(*panel, "key_1");
  page.SetPageXml("");
  page.InitDevicePage();
  EXPECT_EQ(page.GetKeyCount(), 0);
  EXPECT_EQ(page.GetLightCount(), 0);
  EXPECT_TRUE(page.KeyButtons().empty());
  EXPECT_TRUE(page.LightButtons().empty());
  EXPECT_EQ(page.Frame().Size(), 0);
  EXPECT_EQ(page.GetLightColor(0), 0u);
}

TEST_F(PictureBindingTest, RefreshShowsTheFrameOnVisibleLights) {
  CDeviceKeyButtonUI* shown = AddButton(*panel, "a", "light_0");
  CDeviceKeyButtonUI* hidden = AddButton(*panel, "b", "light_1");
  page.InitDevicePage();
  hidden->SetVisible(false);
  page.SetLightColor(0, LightFrameEntry{0x11, 0x22, 0x33, 0x80}.Packed());
  page.SetLightColor(1, LightFrameEntry{1, 2, 3, 4}.Packed());

  page.RefreshLightFrame();
  // The picture's packing: red lowest, then blue, then green.
  EXPECT_EQ(shown->GetLightColour(), 0x223311u);
  EXPECT_EQ(CDeviceKeyButtonUI::ToDrawingColour(shown->GetLightColour()), 0x332211u);
  EXPECT_EQ(shown->GetLightLevel(), 0x80);
  EXPECT_TRUE(shown->IsLightOn());
  EXPECT_EQ(hidden->GetLightColour(), 0xFFFFFFu);  // still as bound

  page.SetHostLighting(0);
  page.SetLightColor(0, 0);
  page.RefreshLightFrame();
  EXPECT_EQ(shown->GetLightColour(), 0x223311u);
}

// Each kind finds its picture in its own container and also takes lights by name.
TEST(KindPictureTest, EveryKindBindsItsOwnContainer) {
  struct Case {
    std::unique_ptr<CKestroUSBDevice> page;
    const char* container;
  };
  Case cases[] = {
      {std::make_unique<CKestroKeyboardDevice>(), "keyboard_device_key_light"},
      {std::make_unique<CKestroMousePadDevice>(), "mousepad_device_key_light"},
      {std::make_unique<CKestroHS6533Device>(), "hs6533_device_key_light"},
  };
  for (Case& c : cases) {
    CKestroUSBDevice& page = *c.page;
    page.SetPageXml("page.xml");
    page.SetKeyCount(4);
    page.SetLightCount(4);
    auto* picture = AddContainer<CVerticalLayoutUI>(page, c.container);
    CDeviceKeyButtonUI* key = AddButton(*picture, "key_3");
    CDeviceKeyButtonUI* light = AddButton(*picture, "light_2");
    page.InitDevicePage();
    EXPECT_EQ(page.KeyButtons()[3], key) << c.container;
    EXPECT_EQ(page.LightButtons()[2], light) << c.container;
    EXPECT_EQ(page.GetKeyPanel(), picture) << c.container;
  }
}

TEST(KindPictureTest, TheMouseBindsEverySelectPanelOfItsSettingsLayout) {
  CKestroMouseDevice mouse;
  mouse.SetPageXml("mouse.xml");
  mouse.SetKeyCount(11);
  mouse.SetLightCount(15);
  auto* settings = AddContainer<CTabLayoutUI>(mouse, "mouse_device_seting_layout");
  auto* top = AddContainer<CSelectPanelUI>(*settings, "top");
  auto* side = AddContainer<CSelectPanelUI>(*settings, "side");
  CDeviceKeyButtonUI* left = AddButton(*top, "key_0");
  CDeviceKeyButtonUI* logo = AddButton(*side, "light_14");
  mouse.InitDevicePage();
  EXPECT_EQ(mouse.KeyButtons()[0], left);
  EXPECT_EQ(mouse.LightButtons()[14], logo);
}

}  // namespace
