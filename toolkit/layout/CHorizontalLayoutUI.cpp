#include "toolkit/layout/CHorizontalLayoutUI.h"

std::string CHorizontalLayoutUI::GetClass() const { return std::string(DUI_CTR_HORIZONTALLAYOUT) + "UI"; }

void* CHorizontalLayoutUI::GetInterface(std::string_view name) {
  if (koru::ui::EqualsNoCase(name, DUI_CTR_HORIZONTALLAYOUT)) return this;
  return CContainerUI::GetInterface(name);
}

void CHorizontalLayoutUI::SetPos(const UIRect& rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LayoutLinear(false);
}
