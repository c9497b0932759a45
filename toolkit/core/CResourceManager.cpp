#include "toolkit/core/CResourceManager.h"

#include <pugixml.hpp>

#include "platform/DebugOutput.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

CResourceManager& CResourceManager::GetInstance() {
  static CResourceManager instance;
  return instance;
}

bool CResourceManager::LoadResource(const std::string& skinFolder) {
  m_xmlIndex.clear();
  m_imageIndex.clear();
  pugi::xml_document doc;
  std::string path = koru::ui::JoinPath(skinFolder, "res.xml");
  pugi::xml_parse_result parsed = doc.load_file(path.c_str());
  if (!parsed) {
    if (koru::DebugOutputEnabled()) koru::DebugOutput("res.xml not loaded: " + path + ": " + parsed.description());
    return false;
  }
  for (pugi::xml_node node : doc.document_element().children()) {
    std::string id = node.attribute("id").as_string();
    std::string file = node.attribute("file").as_string();
    if (id.empty() || file.empty()) continue;
    if (EqualsNoCase(node.name(), "xml")) m_xmlIndex[id] = koru::ui::NormalizePath(file);
    else if (EqualsNoCase(node.name(), "image")) m_imageIndex[id] = koru::ui::NormalizePath(file);
  }
  return true;
}

std::string CResourceManager::GetXmlPath(std::string_view id) const {
  auto it = m_xmlIndex.find(std::string(id));
  return it != m_xmlIndex.end() ? it->second : koru::ui::NormalizePath(id);
}

std::string CResourceManager::GetImagePath(std::string_view id) const {
  auto it = m_imageIndex.find(std::string(id));
  return it != m_imageIndex.end() ? it->second : koru::ui::NormalizePath(id);
}

bool CResourceManager::LoadLanguage(const std::string& path) {
  std::string full = path;
  if (!full.empty() && full.front() != '/') full = koru::ui::JoinPath(CPaintManagerUI::GetResourcePath(), path);
  pugi::xml_document doc;
  pugi::xml_parse_result parsed = doc.load_file(full.c_str());
  if (!parsed) {
    if (koru::DebugOutputEnabled()) koru::DebugOutput("language file not loaded: " + full + ": " + parsed.description());
    return false;
  }
  std::unordered_map<std::string, std::string> texts;
  for (pugi::xml_node node : doc.document_element().children("Text")) {
    std::string id = node.attribute("id").as_string();
    if (id.empty()) continue;
    pugi::xml_attribute value = node.attribute("value");
    texts[id] = value ? value.as_string() : node.text().as_string();
  }
  m_texts.swap(texts);
  return true;
}

std::string CResourceManager::GetText(std::string_view id, std::string_view type) const {
  auto it = m_texts.find(std::string(id));
  if (it != m_texts.end()) return it->second;
  if (m_pQuery) {
    if (std::optional<std::string> text = m_pQuery->QueryControlText(id, type)) return *text;
  }
  return std::string(id);
}

bool CResourceManager::HasText(std::string_view id) const { return m_texts.count(std::string(id)) != 0; }

void CResourceManager::ReloadText() {
  // Texts are resolved when read; what must happen is a relayout and repaint
  // of every window, since translated texts have other lengths.
  for (CPaintManagerUI* manager : CPaintManagerUI::GetAllManagers()) {
    if (CControlUI* root = manager->GetRoot()) {
      root->FindControl(
          [](CControlUI* control) -> CControlUI* {
            if (control->IsResourceText()) control->NeedUpdate();
            return nullptr;
          },
          UIFIND_ALL);
    }
    manager->NeedUpdate();
    manager->Invalidate();
  }
}

void CResourceManager::ResetTexts() { m_texts.clear(); }
