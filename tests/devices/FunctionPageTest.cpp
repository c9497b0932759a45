#include <gtest/gtest.h>

#include <memory>

#include "catalogue/DeviceCatalogue.h"
#include "devices/CKestroUSBDevice.h"
#include "devices/DevicePageFactory.h"
#include "tests/devices/PageTestSupport.h"
#include "toolkit/markup/CControlFactory.h"

using koru::test::AddContainer;

namespace {

struct FunctionTabs {
  CTabLayoutUI* function = nullptr;
  CTabLayoutUI* key = nullptr;
};

FunctionTabs AddFunctionTabs(CKestroUSBDevice& page) {
  auto* column = AddContainer<CVerticalLayoutUI>(page, "editors");
  return {AddContainer<CTabLayoutUI>(*column, "device_function_switch", 4),
          AddContainer<CTabLayoutUI>(*column, "device_key_function_switch", 3)};
}

TEST(FunctionPageTest, EachModeShowsItsTabsAndTheSystemPageDependsOnTheKind) {
  struct Case {
    int kind, mode, function, key;  // key -1: left as it was (page 0 here)
  };
  const Case cases[] = {
      {kKindKeyboard, 4, 3, -1}, {kKindMouse, 4, 3, -1},  {kKindMousePad, 4, 0, 2},  {kKindHeadset, 4, 0, 2},
      {kKindKeyboard, 1, 0, 0},  {kKindKeyboard, 2, 0, 1}, {kKindKeyboard, 3, 1, -1}, {kKindMouse, 5, 2, -1},
      {kKindHeadset, 6, 0, 1},   {kKindHeadset, 7, 0, 2},  {kKindHeadset, 8, 1, -1},  {kKindMouse, 42, 0, 0},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CKestroUSBDevice> page(CreateDevicePage(c.kind));
    ASSERT_NE(page, nullptr);
    const FunctionTabs tabs = AddFunctionTabs(*page);
    tabs.function->SelectItem(1, false);
    tabs.key->SelectItem(0, false);
    page->SetFunctionPage(c.mode);
    EXPECT_EQ(page->GetFunctionPage(), c.mode);
    EXPECT_EQ(tabs.function->GetCurSel(), c.function) << "kind " << c.kind << " mode " << c.mode;
    EXPECT_EQ(tabs.key->GetCurSel(), c.key < 0 ? 0 : c.key) << "kind " << c.kind << " mode " << c.mode;
  }
}

TEST(FunctionPageTest, WithoutBothLayoutsOnlyTheModeIsKept) {
  CKestroUSBDevice page;
  auto* function = AddContainer<CTabLayoutUI>(page, "device_function_switch", 4);
  function->SelectItem(1, false);
  page.SetFunctionPage(5);
  EXPECT_EQ(page.GetFunctionPage(), 5);
  EXPECT_EQ(function->GetCurSel(), 1);
}

TEST(PageNotifyTest, OnlyThePagesOwnControlsReachItsHandlers) {
  CKestroUSBDevice page;
  auto* own = AddContainer<CVerticalLayoutUI>(page, "apply_btn");
  CVerticalLayoutUI stranger;  // same name, another page's control
  stranger.SetName("apply_btn");
  int handled = 0;
  page.Bind("click", "apply_btn", [&](TNotifyUI&) { ++handled; });
  TNotifyUI msg;
  msg.sType = "click";
  msg.pSender = own;
  page.Notify(msg);
  msg.pSender = &stranger;
  page.Notify(msg);
  msg.pSender = nullptr;
  page.Notify(msg);
  EXPECT_EQ(handled, 1);
}

TEST(DevicePageFactoryTest, ARowGivesThePageOfItsModelSetUpFromTheCatalogue) {
  // Every interface row of the catalogue, receivers included, has the page of its cable kind.
  for (size_t row = 0; row < DeviceInterfaceTable.size(); ++row) {
    const int kind = CableKindOf(DeviceInterfaceTable[row].kind);
    std::unique_ptr<CKestroUSBDevice> page(CreateDevicePage(kind));
    ASSERT_NE(page, nullptr) << "row " << row;
    ASSERT_TRUE(SetUpDevicePage(*page, static_cast<int>(row), nullptr, nullptr)) << "row " << row;
    const int model = page->GetCatalogueIndex();
    ASSERT_GE(model, 0);
    EXPECT_EQ(page->GetKind(), kind) << "row " << row;
    EXPECT_EQ(page->GetKind(), DeviceModelTable[static_cast<size_t>(model)].kind);
    EXPECT_EQ(page->GetLightCount(), DevicePageTable[static_cast<size_t>(model)].lightZoneCount);
    EXPECT_EQ(page->GetKeyCount(), DevicePageTable[static_cast<size_t>(model)].keyCount);
    EXPECT_EQ(page->GetPageXml(), DevicePageTable[static_cast<size_t>(model)].pageFile);
    EXPECT_EQ(page->GetDeviceFolder(), DeviceModelTable[static_cast<size_t>(model)].typeName);
    EXPECT_EQ(page->GetLightLibraryName(), "morva_light");
    EXPECT_FALSE(IsReceiverKind(page->GetDeviceRecord().kind));
  }
  CKestroUSBDevice page;
  EXPECT_FALSE(SetUpDevicePage(page, -1, nullptr, nullptr));
  EXPECT_FALSE(SetUpDevicePage(page, static_cast<int>(DeviceInterfaceTable.size()), nullptr, nullptr));
  EXPECT_EQ(CreateDevicePage(5), nullptr);
}

TEST(DevicePageFactoryTest, MarkupTagsMakeThePageOfTheirKind) {
  RegisterDevicePageClasses();
  struct Case {
    const char* tag;
    int kind;
  };
  const Case cases[] = {{"KestroUSBDevice", 0},
                        {"KestroKeyboardDevice", kKindKeyboard},
                        {"KestroMouseDevice", kKindMouse},
                        {"KestroMousePadDevice", kKindMousePad},
                        {"KestroHS6533Device", kKindHeadset}};
  for (const Case& c : cases) {
    std::unique_ptr<CControlUI> control(CControlFactory::GetInstance()->CreateControl(c.tag));
    CKestroUSBDevice* page = AsDevicePage(control.get());
    ASSERT_NE(page, nullptr) << c.tag;
    EXPECT_EQ(page->GetKind(), c.kind);
    EXPECT_EQ(page->GetClass(), std::string(c.tag) + "UI");
    EXPECT_EQ(page->GetInterface(c.tag), page);
    EXPECT_EQ(page->GetFunctionPage(), 1);
    EXPECT_EQ(page->GetSelectedKey(), -1);
    EXPECT_EQ(page->GetHostLighting(), 1);
    EXPECT_TRUE(page->IsPreviewActive());
  }
  CButtonUI button;
  EXPECT_EQ(AsDevicePage(&button), nullptr);
}

}  // namespace
