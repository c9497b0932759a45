#include "toolkit/markup/CControlFactory.h"

#include "toolkit/controls/CButtonUI.h"
#include "toolkit/controls/CCheckBoxUI.h"
#include "toolkit/controls/CColorPaletteUI.h"
#include "toolkit/controls/CComboUI.h"
#include "toolkit/controls/CEditUI.h"
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/CListContainerElementUI.h"
#include "toolkit/controls/CListLabelElementUI.h"
#include "toolkit/controls/CListUI.h"
#include "toolkit/controls/COptionUI.h"
#include "toolkit/controls/CProgressUI.h"
#include "toolkit/controls/CScrollBarUI.h"
#include "toolkit/controls/CSliderUI.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

CControlFactory* CControlFactory::GetInstance() {
  static CControlFactory factory;
  return &factory;
}

void CControlFactory::RegistControl(std::string_view className, CreateClass creator) {
  m_custom[koru::ui::ToLower(className)] = std::move(creator);
}

CControlUI* CControlFactory::CreateControl(std::string_view className) const {
  auto it = m_custom.find(koru::ui::ToLower(className));
  if (it != m_custom.end() && it->second) return it->second();
  return CreateBuiltinControl(className);
}

CControlUI* CControlFactory::CreateBuiltinControl(std::string_view className) {
  static const std::unordered_map<std::string, CreateClass> builtins = {
      {"control", [] { return new CControlUI; }},
      {"container", [] { return new CContainerUI; }},
      {"verticallayout", [] { return new CVerticalLayoutUI; }},
      {"horizontallayout", [] { return new CHorizontalLayoutUI; }},
      {"tablayout", [] { return new CTabLayoutUI; }},
      {"label", [] { return new CLabelUI; }},
      {"text", [] { return new CLabelUI; }},
      {"button", [] { return new CButtonUI; }},
      {"option", [] { return new COptionUI; }},
      {"checkbox", [] { return new CCheckBoxUI; }},
      {"edit", [] { return new CEditUI; }},
      {"combo", [] { return new CComboUI; }},
      {"list", [] { return new CListUI; }},
      {"listlabelelement", [] { return new CListLabelElementUI; }},
      {"listcontainerelement", [] { return new CListContainerElementUI; }},
      {"progress", [] { return new CProgressUI; }},
      {"slider", [] { return new CSliderUI; }},
      {"scrollbar", [] { return new CScrollBarUI; }},
      {"colorpalette", [] { return new CColorPaletteUI; }},
  };
  auto it = builtins.find(koru::ui::ToLower(className));
  return it == builtins.end() ? nullptr : it->second();
}
