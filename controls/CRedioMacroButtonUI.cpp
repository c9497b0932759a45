#include "controls/CRedioMacroButtonUI.h"

std::string CRedioMacroButtonUI::GetClass() const { return kRedioMacroButtonClass; }

void CRedioMacroButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (koru::ui::EqualsNoCase(name, "redioimage")) m_redioImage = value;
  else CButtonUI::SetAttribute(name, value);
}
