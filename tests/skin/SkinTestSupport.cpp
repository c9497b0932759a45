#include "tests/skin/SkinTestSupport.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <functional>

#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/headless/HeadlessHost.h"
#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/markup/CDialogBuilder.h"

// fontconfig keeps its pattern caches until exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace koru::test {

namespace {

bool IsImageAttribute(std::string_view name) {
  std::string lower = koru::ui::ToLower(name);
  return lower.size() > 5 && lower.compare(lower.size() - 5, 5, "image") == 0;
}

void CollectFromList(std::string_view list, std::set<std::string>& out) {
  for (const auto& [name, value] : koru::ui::ParseAttributeList(list)) {
    if (IsImageAttribute(name) && !value.empty()) out.insert(CRenderEngine::ParseImageString(value).file);
  }
}

}  // namespace

std::string SourceDir() {
  const char* env = std::getenv("KORU_SOURCE_DIR");
  return env && *env ? env : KORU_TEST_SOURCE_DIR;
}

std::string SkinDir() { return SourceDir() + "/skin"; }

std::string ShotDir() {
  const char* env = std::getenv("KORU_SKIN_SHOT_DIR");
  return env && *env ? env : KORU_SKIN_SHOT_DIR;
}

const std::vector<std::string>& MarkupFiles() {
  static const std::vector<std::string> files = {
      "XML/MainWnd.xml",
      "XML/AboutWnd.xml",
      "menu.xml",
      "XML/CustomControlXML/DeviceOption.xml",
      "XML/CustomControlXML/MpDevicePower.xml",
  };
  return files;
}

std::map<std::string, std::string> ReadLanguageFile(const std::string& fileName) {
  std::map<std::string, std::string> texts;
  pugi::xml_document doc;
  if (!doc.load_file((SkinDir() + "/" + fileName).c_str())) return texts;
  for (pugi::xml_node node : doc.document_element().children("Text")) {
    pugi::xml_attribute value = node.attribute("value");
    texts[node.attribute("id").as_string()] = value ? value.as_string() : node.text().as_string();
  }
  return texts;
}

std::set<std::string> ImagesNamedIn(const std::string& markupPath) {
  std::set<std::string> images;
  pugi::xml_document doc;
  if (!doc.load_file((SkinDir() + "/" + markupPath).c_str())) return images;
  std::function<void(const pugi::xml_node&)> walk = [&](const pugi::xml_node& node) {
    for (pugi::xml_attribute attr : node.attributes()) {
      if (IsImageAttribute(attr.name()) && *attr.value()) {
        images.insert(CRenderEngine::ParseImageString(attr.value()).file);
      } else if (koru::ui::EqualsNoCase(attr.name(), "value")) {
        CollectFromList(attr.value(), images);  // <Default> and <Style> lists
      }
    }
    for (pugi::xml_node child : node.children()) walk(child);
  };
  walk(doc.document_element());
  return images;
}

void ForEachControl(CControlUI* root, const std::function<void(CControlUI*)>& visit) {
  if (!root) return;
  visit(root);
  if (auto* container = static_cast<CContainerUI*>(root->GetInterface(DUI_CTR_CONTAINER))) {
    for (int i = 0; i < container->GetCount(); ++i) ForEachControl(container->GetItemAt(i), visit);
  }
}

CContainerUI* AddDeviceTab(HeadlessWindow& window, const std::string& stem, const std::string& nameId) {
  CPaintManagerUI& manager = window.Manager();
  auto* strip = window.Find<CContainerUI>("device_select_layout");
  auto* powers = window.Find<CContainerUI>("device_power_switch");
  if (!strip || !powers) return nullptr;
  auto* item = new CHorizontalLayoutUI;
  item->SetFixedWidth(168);
  strip->Add(item);
  auto* indicator = new CHorizontalLayoutUI;
  powers->Add(indicator);
  CDialogBuilder builder;
  builder.Create("XML\\CustomControlXML\\DeviceOption.xml", nullptr, &manager, item);
  builder.Create("XML\\CustomControlXML\\MpDevicePower.xml", nullptr, &manager, indicator);
  manager.InitControls(item);
  manager.InitControls(indicator);
  // Names repeat per item, so the item's own sub-controls are found below it.
  if (auto* option = static_cast<COptionUI*>(
          CPaintManagerUI::FindSubControlByName(item, "device_select")->GetInterface(DUI_CTR_OPTION))) {
    std::string base = "common/device_ico/" + stem + "_device_";
    option->SetNormalImage(base + "normal.png");
    option->SetSelectedImage(base + "selected.png");
  }
  CPaintManagerUI::FindSubControlByName(item, "device_select_name")->SetText(nameId);
  return item;
}

CControlUI* MenuTags::CreateControl(std::string_view tag) {
  if (koru::ui::EqualsNoCase(tag, "Menu")) return new CVerticalLayoutUI;
  if (koru::ui::EqualsNoCase(tag, "MenuElement")) return new CButtonUI;
  return nullptr;
}

void SkinTest::SetUp() {
  EnsureGuiApplication();
  CPaintManagerUI::SetResourcePath(SkinDir());
  ASSERT_TRUE(CResourceManager::GetInstance().LoadResource(SkinDir()));
  CResourceManager::GetInstance().ResetTexts();
  CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
}

void SkinTest::TearDown() {
  CResourceManager::GetInstance().ResetTexts();
  CPaintManagerUI::RemoveAllSharedFonts();
}

}  // namespace koru::test
