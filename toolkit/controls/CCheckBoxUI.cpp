#include "toolkit/controls/CCheckBoxUI.h"

std::string CCheckBoxUI::GetClass() const { return std::string(DUI_CTR_CHECKBOX) + "UI"; }

void* CCheckBoxUI::GetInterface(std::string_view name) {
  if (koru::ui::EqualsNoCase(name, DUI_CTR_CHECKBOX)) return this;
  return COptionUI::GetInterface(name);
}
