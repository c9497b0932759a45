// Pictures of the skin's screens for a person to judge, written to the build
// tree. The checks keep the look's two promises: a dark window, one accent.
#include <QImage>
#include <QPainter>
#include <pugixml.hpp>

#include "tests/skin/SkinTestSupport.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CProgressUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
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

// Every picture of the skin on one sheet, drawn at 1.5 scale, for review.
TEST_F(ScreenshotTest, ImageSheet) {
  pugi::xml_document index;
  ASSERT_TRUE(index.load_file((SkinDir() + "/res.xml").c_str()));
  std::vector<std::string> files;
  for (pugi::xml_node node : index.document_element().children("Image")) files.push_back(node.attribute("file").as_string());
  for (const char* extra : {"common/caption/close_normal.svg", "common/caption/close_hot.svg",
                            "common/caption/min_normal.svg", "common/caption/set_normal.svg",
                            "common/caption/skin_normal.svg", "common/caption/light_normal.svg",
                            "common/caption/gamemode_normal.svg", "common/caption/cloud_normal.svg",
                            "common/caption/smarteyes_normal.svg", "common/caption/max_normal.svg",
                            "common/caption/restore_normal.svg", "common/controls/check_normal.svg",
                            "common/controls/check_selected.svg", "common/controls/option_normal.svg",
                            "common/controls/option_selected.svg", "common/controls/switch_off.svg",
                            "common/controls/switch_on.svg", "common/controls/slider_thumb_normal.svg",
                            "common/controls/combo_normal.svg", "common/controls/arrow_prev_normal.svg",
                            "common/controls/arrow_next_hot.svg", "common/menu/about.svg", "common/menu/exit.svg"}) {
    files.push_back(extra);
  }
  CPaintManagerUI manager;
  manager.SetDPI(144);
  const int cell = 100, columns = 10;
  int rows = (static_cast<int>(files.size()) + columns - 1) / columns;
  QImage sheet(columns * cell, rows * cell, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(QColor(0x12, 0x16, 0x1D));
  QPainter painter(&sheet);
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].find("background") != std::string::npos) continue;
    std::shared_ptr<const TImageInfo> image = manager.GetImageEx(files[i]);
    ASSERT_TRUE(image) << files[i];
    QImage scaled = image->image.width() > cell - 8 ? image->image.scaledToWidth(cell - 8, Qt::SmoothTransformation)
                                                    : image->image;
    int x = static_cast<int>(i % columns) * cell + (cell - scaled.width()) / 2;
    int y = static_cast<int>(i / columns) * cell + (cell - scaled.height()) / 2;
    painter.drawImage(x, y, scaled);
  }
  painter.end();
  std::string path = ShotDir() + "/skin_images.png";
  ASSERT_TRUE(sheet.save(QString::fromStdString(path)));
  std::printf("screenshot: %s\n", path.c_str());
}

}  // namespace
}  // namespace koru::test
