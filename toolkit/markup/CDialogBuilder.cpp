#include "toolkit/markup/CDialogBuilder.h"

#include <pugixml.hpp>

#include "platform/DebugOutput.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/markup/CControlFactory.h"

using koru::ui::EqualsNoCase;

namespace {

// Sub-tree files may include each other; a cycle must end rather than exhaust the stack.
constexpr int kMaxNesting = 16;
thread_local int g_nesting = 0;

bool IsWindowElement(std::string_view tag) {
  return EqualsNoCase(tag, "Font") || EqualsNoCase(tag, "Default") || EqualsNoCase(tag, "Style") ||
         EqualsNoCase(tag, "Image") || EqualsNoCase(tag, "MultiLanguage");
}

void Trace(const std::string& line) {
  if (koru::DebugOutputEnabled()) koru::DebugOutput(line);
}

}  // namespace

CControlUI* CDialogBuilder::Create(std::string_view source, IDialogBuilderCallback* callback,
                                   CPaintManagerUI* manager, CControlUI* parent) {
  m_pCallback = callback;
  m_sError.clear();
  if (g_nesting >= kMaxNesting) {
    m_sError = "markup nested too deeply: " + std::string(source);
    Trace(m_sError);
    return nullptr;
  }
  pugi::xml_document doc;
  pugi::xml_parse_result parsed;
  std::string where;
  if (!source.empty() && source.front() == '<') {
    where = "<markup text>";
    parsed = doc.load_buffer(source.data(), source.size());
  } else {
    std::string relative = CResourceManager::GetInstance().GetXmlPath(source);
    where = relative.front() == '/' ? relative : koru::ui::JoinPath(CPaintManagerUI::GetResourcePath(), relative);
    parsed = doc.load_file(where.c_str());
  }
  if (!parsed) {
    m_sError = where + ": " + parsed.description() + " at offset " + std::to_string(parsed.offset);
    Trace("markup not loaded: " + m_sError);
    return nullptr;
  }
  ++g_nesting;
  CControlUI* root = Parse(doc.document_element(), parent, manager);
  --g_nesting;
  return root;
}

CControlUI* CDialogBuilder::Parse(const pugi::xml_node& root, CControlUI* parent, CPaintManagerUI* manager) {
  if (EqualsNoCase(root.name(), "Window")) {
    ApplyWindow(root, manager);
    return BuildChildren(root, parent, manager);
  }
  // A file without <Window> is a bare control tree: its root element is a control.
  pugi::xml_document holder;
  holder.append_copy(root);
  return BuildChildren(holder, parent, manager);
}

void CDialogBuilder::ApplyWindow(const pugi::xml_node& window, CPaintManagerUI* manager) {
  if (!manager) return;
  for (pugi::xml_attribute attr : window.attributes()) manager->SetWindowAttribute(attr.name(), attr.value());
  for (pugi::xml_node node : window.children()) {
    std::string_view tag = node.name();
    bool shared = node.attribute("shared").as_bool(false);
    if (EqualsNoCase(tag, "Font")) {
      int id = node.attribute("id").as_int(-1);
      std::string family = node.attribute("name").as_string("Sans Serif");
      int size = node.attribute("size").as_int(12);
      bool bold = node.attribute("bold").as_bool(false);
      bool underline = node.attribute("underline").as_bool(false);
      bool italic = node.attribute("italic").as_bool(false);
      if (id >= 0) manager->AddFont(id, family, size, bold, underline, italic, shared);
      if (node.attribute("default").as_bool(false) || id < 0) {
        manager->SetDefaultFont(family, size, bold, underline, italic, shared);
      }
    } else if (EqualsNoCase(tag, "Default")) {
      manager->AddDefaultAttributeList(node.attribute("name").as_string(), node.attribute("value").as_string(), shared);
    } else if (EqualsNoCase(tag, "Style")) {
      manager->AddStyle(node.attribute("name").as_string(), node.attribute("value").as_string(), shared);
    }
  }
}

CControlUI* CDialogBuilder::BuildChildren(const pugi::xml_node& node, CControlUI* parent, CPaintManagerUI* manager) {
  CControlUI* first = nullptr;
  auto* container = parent ? static_cast<CContainerUI*>(parent->GetInterface(DUI_CTR_CONTAINER)) : nullptr;
  for (pugi::xml_node child : node.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string_view tag = child.name();
    if (IsWindowElement(tag)) continue;

    if (EqualsNoCase(tag, "Include")) {
      int count = std::max(1, child.attribute("count").as_int(1));
      for (int i = 0; i < count; ++i) {
        CDialogBuilder sub;
        CControlUI* built = sub.Create(child.attribute("source").as_string(), m_pCallback, manager, parent);
        if (!first) first = built;
        if (!parent) break;  // without a parent only one copy can be returned
      }
      continue;
    }

    CControlUI* control = m_pCallback ? m_pCallback->CreateControl(tag) : nullptr;
    if (!control) control = CControlFactory::GetInstance()->CreateControl(tag);
    if (!control) {
      Trace("markup: unknown control <" + std::string(tag) + "> skipped");
      continue;
    }

    if (parent) {
      if (!container || !container->Add(control)) {
        Trace("markup: <" + std::string(tag) + "> has a parent that holds no children; skipped");
        delete control;
        continue;
      }
    }
    if (manager && control->GetManager() != manager) control->SetManager(manager, parent, false);

    if (manager) {
      std::string defaults = manager->GetDefaultAttributeList(tag);
      if (!defaults.empty()) control->ApplyAttributeList(defaults);
    }
    for (pugi::xml_attribute attr : child.attributes()) control->SetAttribute(attr.name(), attr.value());

    if (child.first_child()) BuildChildren(child, control, manager);
    if (!first) first = control;
  }
  return first;
}
