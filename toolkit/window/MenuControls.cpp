#include "toolkit/window/MenuControls.h"

using koru::ui::EqualsNoCase;

std::string CMenuUI::GetClass() const { return "MenuUI"; }

void* CMenuUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, "Menu")) return this;
  return CVerticalLayoutUI::GetInterface(name);
}

std::string CMenuElementUI::GetClass() const { return "MenuElementUI"; }

void* CMenuElementUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, "MenuElement")) return this;
  return CButtonUI::GetInterface(name);
}
