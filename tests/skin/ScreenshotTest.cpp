// Pictures of the skin's screens for a person to judge, written to the build
// tree. The checks keep the look's two promises: a dark window, one accent.
#include <QImage>

#include "tests/skin/SkinTestSupport.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CProgressUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace koru::test {
namespace {

class ScreenshotTest : public SkinTest {
 protected:
  void Save(HeadlessWindow& window, const std::string& name) {
    std::string path = ShotDir() + "/" + name;
    ASSERT_TRUE(window.SaveSnapshot(path)) << path;
    std::printf("screenshot: %s\n", path.c_str());
  }
};

struct Look {
  double meanLightness = 0;  // 0..255
  int accentPixels = 0;
};

Look Measure(const QImage& image) {
  Look look;
  const QColor accent(0x22, 0xD3, 0xEE);
  double sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      QColor c = image.pixelColor(x, y);
      sum += c.lightness();
      if (std::abs(c.red() - accent.red()) < 12 && std::abs(c.green() - accent.green()) < 12 &&
          std::abs(c.blue() - accent.blue()) < 12) {
        ++look.accentPixels;
      }
    }
  }
  look.meanLightness = sum / (image.width() * image.height());
  return look;
}

class MenuTags : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(std::string_view tag) override {
    if (koru::ui::EqualsNoCase(tag, "Menu")) return new CVerticalLayoutUI;
    if (koru::ui::EqualsNoCase(tag, "MenuElement")) return new CButtonUI;
    return nullptr;
  }
};

TEST_F(ScreenshotTest, MainWindowWithoutDevice) {
  CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
  for (int dpi : {96, 144}) {
    HeadlessWindow window;
    ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
    window.Manager().SetDPI(dpi);
    window.Pump();
    const QImage& shot = window.Snapshot();
    EXPECT_EQ(shot.width(), 1000 * dpi / 96);
    Look look = Measure(shot);
    EXPECT_LT(look.meanLightness, 40) << dpi;
    EXPECT_GT(look.accentPixels, 200) << dpi;
    Save(window, dpi == 96 ? "skin_main_window.png" : "skin_main_window_144dpi.png");
  }
}

TEST_F(ScreenshotTest, MainWindowWithDevicesInChinese) {
  CResourceManager::GetInstance().LoadLanguage("lan_cn.xml");
  HeadlessWindow window;
  ASSERT_TRUE(window.Load("XML_MAIN")) << window.GetLastError();
  CContainerUI* keyboard = AddDeviceTab(window, "kb", "kb_device_name_text");
  ASSERT_TRUE(keyboard);
  AddDeviceTab(window, "ms", "ms_device_name_text");
  AddDeviceTab(window, "hard_mp", "hard_mp_device_name_text");
  static_cast<COptionUI*>(CPaintManagerUI::FindSubControlByName(keyboard, "device_select"))->Selected(true, false);
  // The power indicator as a charging wireless keyboard at 70 % shows it.
  window.Find("device_power_Layout")->SetVisible(true);
  window.Find("device_wuxian_logo")->SetVisible(true);
  auto* battery = window.Find<CProgressUI>("device_Power_progress");
  battery->SetValue(100 - 70);
  battery->SetBkImage("file='power/powering.png'");
  window.Find("device_power_value")->SetText("70%");
  window.Find("No_device_Link")->SetVisible(false);
  window.Pump();
  EXPECT_LT(Measure(window.Snapshot()).meanLightness, 40);
  Save(window, "skin_main_window_devices_cn.png");
}

TEST_F(ScreenshotTest, AboutBoxAndMenu) {
  CResourceManager::GetInstance().LoadLanguage("lan_en.xml");
  HeadlessWindow main;  // the about box and the menu use the main window's shared look
  ASSERT_TRUE(main.Load("XML_MAIN"));
  HeadlessWindow about;
  ASSERT_TRUE(about.Load("XML_ABOUT")) << about.GetLastError();
  about.Find("about_version_value")->SetText("V1.0.3");
  about.Pump();
  EXPECT_LT(Measure(about.Snapshot()).meanLightness, 40);
  Save(about, "skin_about.png");

  MenuTags tags;
  HeadlessWindow menu;
  ASSERT_TRUE(menu.Load("menu.xml", &tags)) << menu.GetLastError();
  menu.Hover("about_menu");
  menu.Pump();
  Save(menu, "skin_tray_menu.png");
}

}  // namespace
}  // namespace koru::test
