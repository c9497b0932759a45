#include "toolkit/layout/CVerticalLayoutUI.h"

std::string CVerticalLayoutUI::GetClass() const { return std::string(DUI_CTR_VERTICALLAYOUT) + "UI"; }

void* CVerticalLayoutUI::GetInterface(std::string_view name) {
  if (koru::ui::EqualsNoCase(name, DUI_CTR_VERTICALLAYOUT)) return this;
  return CContainerUI::GetInterface(name);
}

void CVerticalLayoutUI::SetPos(const UIRect& rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayoutLinear(true);
}
