// The device page markup: every key and light the catalogue counts for,
// bindable as the pages bind them, inside its picture; the places of the
// editor panels; and a picture of each page in the main window.
#include <QImage>
#include <map>
#include <set>

#include "catalogue/DeviceCatalogue.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "tests/controls/ControlsTestSupport.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/layout/CTabLayoutUI.h"

namespace koru::test {
namespace {

struct PageCase {
  const char* shot;
  int modelRow;            // row of DeviceModelTable / DevicePageTable
  const char* rootTag;
  const char* picture;     // the select panel of the device's buttons
  const char* secondLightPrefix;  // a second picture's lights, or null
  int functionPages;       // pages of "device_function_switch"
  int keyFunctionPages;    // pages of "device_key_function_switch"
  std::vector<const char*> panels;
};

const std::vector<PageCase>& Pages() {
  static const std::vector<PageCase> pages = {
      {"device_keyboard.png", 1, "KestroKeyboardDevice", "keyboard_device_key_light", nullptr, 4, 2,
       {"DeviceProfileItem", "LightControlItem", "KeySetControlItem", "MacroControlItem", "text_test"}},
      {"device_mouse.png", 0, "KestroMouseDevice", "mouse_device_key_light", "light_0_", 4, 3,
       {"DeviceProfileItem", "LightControlItem", "KeySetControlItem", "MacroControlItem", "ShootControlItem",
        "mouse_option_layout", "mouse_device_seting_layout", "mouse_device_seting_option_0"}},
      {"device_mousepad.png", 2, "KestroMousePadDevice", "mousepad_device_key_light", nullptr, 1, 3,
       {"DeviceProfileItem", "LightControlItem"}},
      {"device_headset.png", 3, "KestroHS6533Device", "hs6533_device_key_light", nullptr, 2, 3,
       {"DeviceProfileItem", "LightControlItem", "Voice6533ControlItem", "MagicControlItem"}},
  };
  return pages;
}

// A name or user data "prefix" + number, the number all digits.
int NumberAfter(const std::string& text, const std::string& prefix) {
  if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0) return -1;
  std::string digits = text.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos) return -1;
  return std::stoi(digits);
}

std::set<int> Range(int count) {
  std::set<int> all;
  for (int i = 0; i < count; ++i) all.insert(i);
  return all;
}

class DevicePageMarkupTest : public ControlsTest, public ::testing::WithParamInterface<PageCase> {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
    ASSERT_TRUE(window_.Load("XML_MAIN", &tags_)) << window_.GetLastError();
    const PageCase& c = GetParam();
    CDialogBuilder builder;
    std::string file(DevicePageTable[c.modelRow].pageFile);
    page_ = dynamic_cast<CContainerUI*>(builder.Create(file, &tags_, &window_.Manager()));
    ASSERT_TRUE(page_) << file << ": " << builder.GetLastError();
    auto* pages = window_.Find<CTabLayoutUI>("device_switch");
    ASSERT_TRUE(pages);
    pages->Add(page_);
    pages->SelectItem(page_, false);
    window_.Find("No_device_Link")->SetVisible(false);
    picture_ = dynamic_cast<CContainerUI*>(CPaintManagerUI::FindSubControlByName(page_, c.picture));
    ASSERT_TRUE(picture_) << c.picture;
    window_.Pump();
  }
  // The key buttons below `panel`, as the pages find them.
  std::vector<CDeviceKeyButtonUI*> Buttons(CControlUI* panel) {
    std::vector<CDeviceKeyButtonUI*> out;
    for (CControlUI* c : CPaintManagerUI::FindSubControlsByClass(panel, kDeviceKeyButtonClass)) {
      out.push_back(static_cast<CDeviceKeyButtonUI*>(c));
    }
    return out;
  }

  HeadlessWindow window_;
  PageTags tags_;
  CContainerUI* page_ = nullptr;
  CContainerUI* picture_ = nullptr;
};

TEST_P(DevicePageMarkupTest, HoldsEveryKeyAndLightTheCatalogueCountsFor) {
  const PageCase& c = GetParam();
  const DevicePage& row = DevicePageTable[c.modelRow];
  std::multiset<int> keys, lights;
  for (CDeviceKeyButtonUI* button : Buttons(picture_)) {
    if (int n = NumberAfter(button->GetName(), "key_"); n >= 0) keys.insert(n);
    int light = NumberAfter(button->GetUserData(), "light_");
    if (light < 0) light = NumberAfter(button->GetName(), "light_");
    if (light >= 0) lights.insert(light);
  }
  EXPECT_EQ(std::set<int>(keys.begin(), keys.end()), Range(row.keyCount));
  EXPECT_EQ(keys.size(), static_cast<size_t>(row.keyCount)) << "a number used twice";
  EXPECT_EQ(std::set<int>(lights.begin(), lights.end()), Range(row.lightZoneCount));
  EXPECT_EQ(lights.size(), static_cast<size_t>(row.lightZoneCount)) << "a number used twice";

  if (c.secondLightPrefix) {
    std::set<int> second;
    for (CDeviceKeyButtonUI* button : Buttons(page_)) {
      if (int n = NumberAfter(button->GetName(), c.secondLightPrefix); n >= 0) second.insert(n);
    }
    EXPECT_EQ(second, Range(row.lightZoneCount));
  }
}

TEST_P(DevicePageMarkupTest, ButtonsLieInsideThePictureWithoutOverlapping) {
  std::vector<CDeviceKeyButtonUI*> buttons = Buttons(picture_);
  const UIRect& area = picture_->GetPos();
  for (size_t i = 0; i < buttons.size(); ++i) {
    const UIRect& rc = buttons[i]->GetPos();
    EXPECT_FALSE(rc.IsEmpty()) << buttons[i]->GetName();
    EXPECT_EQ(area.Intersect(rc), rc) << buttons[i]->GetName() << " leaves the picture";
    for (size_t j = i + 1; j < buttons.size(); ++j) {
      EXPECT_FALSE(rc.Intersects(buttons[j]->GetPos())) << buttons[i]->GetName() << " and " << buttons[j]->GetName();
    }
  }
}

TEST_P(DevicePageMarkupTest, KeepsThePlacesOfTheEditors) {
  const PageCase& c = GetParam();
  EXPECT_EQ(page_->GetClass(), "HorizontalLayoutUI") << "the stand-in of " << c.rootTag;
  auto* functions = dynamic_cast<CTabLayoutUI*>(CPaintManagerUI::FindSubControlByName(page_, "device_function_switch"));
  auto* keyFunctions =
      dynamic_cast<CTabLayoutUI*>(CPaintManagerUI::FindSubControlByName(page_, "device_key_function_switch"));
  ASSERT_TRUE(functions && keyFunctions);
  EXPECT_EQ(functions->GetCount(), c.functionPages);
  EXPECT_EQ(keyFunctions->GetCount(), c.keyFunctionPages);
  for (const char* name : c.panels) EXPECT_TRUE(CPaintManagerUI::FindSubControlByName(page_, name)) << name;
}

TEST_P(DevicePageMarkupTest, PictureInTheMainWindow) {
  const PageCase& c = GetParam();
  const DeviceModel& model = DeviceModelTable[c.modelRow];
  // A tab item and power indicator as the main window shows them for this device.
  auto* item = new CDeviceOptionUI;
  ASSERT_TRUE(item->BuildContent());
  auto* strip = window_.Find<CContainerUI>("device_select_layout");
  strip->Add(item);
  item->SetKind(model.kind, model.variant);
  item->Select(true);
  auto* power = new CMpDevicePowerUI;
  ASSERT_TRUE(power->BuildContent());
  window_.Find<CTabLayoutUI>("device_power_switch")->Add(power);
  window_.Find<CTabLayoutUI>("device_power_switch")->SelectItem(0, false);
  power->SetKind(model.kind, model.variant);
  power->ShowBattery(DevicePageTable[c.modelRow].wireless);
  const std::uint8_t block[6] = {72, 2, 0, 1, 0, 2};
  power->SetPowerData(block, sizeof block);

  // A rainbow across the picture's lights, as the spectrum effect shows it.
  std::vector<CDeviceKeyButtonUI*> buttons;
  for (CDeviceKeyButtonUI* button : Buttons(page_)) {
    if (button->GetUserData().starts_with("light_") || button->GetName().starts_with("light_")) buttons.push_back(button);
  }
  ASSERT_FALSE(buttons.empty());
  const UIRect& area = picture_->GetPos();
  for (CDeviceKeyButtonUI* button : buttons) {
    double position = double(button->GetPos().Center().x - area.left) / std::max(1, area.GetWidth());
    QColor colour = QColor::fromHsvF(std::clamp(position, 0.0, 1.0) * 0.83, 0.9, 1.0);
    button->SetLightState(CDeviceKeyButtonUI::PackLightColour(colour.red(), colour.green(), colour.blue()), 255, true);
  }
  page_->Invalidate();
  window_.Pump();
  std::string path = ShotDir() + "/" + c.shot;
  ASSERT_TRUE(window_.SaveSnapshot(path)) << path;
  std::printf("screenshot: %s\n", path.c_str());

  // Lit zones show colour; the frame around them stays dark.
  QColor lit = PixelAt(window_, buttons.front()->GetPos().Center());
  EXPECT_GT(lit.saturation(), 60) << buttons.front()->GetName();
  EXPECT_LT(PixelAt(window_, {5, 600}).lightness(), 40);
}

INSTANTIATE_TEST_SUITE_P(Pages, DevicePageMarkupTest, ::testing::ValuesIn(Pages()),
                         [](const auto& info) { return std::string(info.param.rootTag).substr(6); });

}  // namespace
}  // namespace koru::test
