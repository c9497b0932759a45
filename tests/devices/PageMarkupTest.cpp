// The pages built from the program's own page markup, as the main window
// builds them: every key and light the catalogue counts for gets bound, the
// preview reaches every light, and the function tabs switch.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "catalogue/DeviceCatalogue.h"
#include "controls/CDeviceKeyButtonUI.h"
#include "controls/RegisterControls.h"
#include "devices/CKestroUSBDevice.h"
#include "devices/DevicePageFactory.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/markup/CDialogBuilder.h"

// fontconfig keeps its pattern caches until exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace {

std::string SkinDir() {
  const char* env = std::getenv("KORU_SOURCE_DIR");
  return std::string(env != nullptr && *env != 0 ? env : KORU_TEST_SOURCE_DIR) + "/skin";
}

class PageMarkupTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    koru::EnsureGuiApplication();
    CPaintManagerUI::SetResourcePath(SkinDir());
    CResourceManager::GetInstance().LoadResource(SkinDir());
    RegisterDeviceControls();
    RegisterDevicePageClasses();
    ASSERT_TRUE(window.Load(R"(<Window size="1000,640"><VerticalLayout name="root"/></Window>)"))
        << window.GetLastError();
    const DevicePage& pageRow = DevicePageTable[static_cast<size_t>(GetParam())];
    CDialogBuilder builder;
    page = AsDevicePage(builder.Create(pageRow.pageFile, nullptr, &window.Manager()));
    ASSERT_NE(page, nullptr) << pageRow.pageFile << ": " << builder.GetLastError();
    window.Find<CContainerUI>("root")->Add(page);
    window.Pump();
  }
  int InterfaceRow() const {
    const DeviceModel& model = DeviceModelTable[static_cast<size_t>(GetParam())];
    return FindInterfaceRow(model.vendorId, model.productId, model.kind, model.variant);
  }

  koru::HeadlessWindow window;
  CKestroUSBDevice* page = nullptr;
};

TEST_P(PageMarkupTest, EveryKeyAndLightIsBoundAndShowsThePreview) {
  const DevicePage& pageRow = DevicePageTable[static_cast<size_t>(GetParam())];
  ASSERT_TRUE(SetUpDevicePage(*page, InterfaceRow(), nullptr, nullptr));
  EXPECT_EQ(page->GetKind(), DeviceModelTable[static_cast<size_t>(GetParam())].kind);
  ASSERT_EQ(page->KeyButtons().size(), static_cast<size_t>(pageRow.keyCount));
  ASSERT_EQ(page->LightButtons().size(), static_cast<size_t>(pageRow.lightZoneCount));
  for (size_t i = 0; i < page->KeyButtons().size(); ++i) EXPECT_NE(page->KeyButtons()[i], nullptr) << "key_" << i;
  for (size_t i = 0; i < page->LightButtons().size(); ++i)
    EXPECT_NE(page->LightButtons()[i], nullptr) << "light_" << i;

  // A static green at brightness 2 reaches every light button the picture shows.
  page->SetLightInfo({.selectItem = page->GetKind() == kKindKeyboard ? uint8_t{6} : uint8_t{3}, .light = 2,
                      .speed = 4, .green = 200});
  for (int tick = 0; tick < 8; ++tick) page->AnimateOneTick();
  page->RefreshLightFrame();
  for (CControlUI* control : page->LightButtons()) {
    auto* button = static_cast<CDeviceKeyButtonUI*>(control);
    if (!button->IsVisible()) continue;
    EXPECT_EQ(button->GetLightColour(), CDeviceKeyButtonUI::PackLightColour(0, 200, 0)) << button->GetName();
    EXPECT_EQ(button->GetLightLevel(), 135) << button->GetName();
  }
  page->RepaintPicture();
  EXPECT_FALSE(window.Manager().GetDirtyRect().IsEmpty());
  window.Pump();

  // The same frame again: a still picture is not repainted.
  page->RefreshLightFrame();
  page->RepaintPicture();
  EXPECT_TRUE(window.Manager().GetDirtyRect().IsEmpty());
}

TEST_P(PageMarkupTest, TheSystemTabOfTheKindIsShown) {
  page->SetFunctionPage(4);
  auto* function = static_cast<CTabLayoutUI*>(page->FindSubControl("device_function_switch"));
  auto* key = static_cast<CTabLayoutUI*>(page->FindSubControl("device_key_function_switch"));
  ASSERT_NE(function, nullptr);
  ASSERT_NE(key, nullptr);
  const int kind = page->GetKind();
  if (kind == kKindKeyboard || kind == kKindMouse) {
    EXPECT_EQ(function->GetCurSel(), 3);
  } else {
    EXPECT_EQ(function->GetCurSel(), 0);
    EXPECT_EQ(key->GetCurSel(), 2);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, PageMarkupTest, testing::Range(0, static_cast<int>(kModelRowCount)));

}  // namespace
