#include "toolkit/controls/CListContainerElementUI.h"

using koru::ui::EqualsNoCase;

CListContainerElementUI::CListContainerElementUI() { m_cxyFixed.cy = 24; }

std::string CListContainerElementUI::GetClass() const { return std::string(DUI_CTR_LISTCONTAINERELEMENT) + "UI"; }

void* CListContainerElementUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_LISTCONTAINERELEMENT)) return this;
  if (EqualsNoCase(name, DUI_CTR_LISTITEM)) return static_cast<IListItemUI*>(this);
  return CHorizontalLayoutUI::GetInterface(name);
}

bool CListContainerElementUI::Activate() {
  if (!CHorizontalLayoutUI::Activate()) return false;
  if (m_pOwner) m_pOwner->OnItemClick(this);
  return true;
}

UISize CListContainerElementUI::EstimateSize(UISize available) {
  UISize size = CHorizontalLayoutUI::EstimateSize(available);
  if (size.cy == 0) size.cy = 24;
  return size;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
  if (HandleItemEvent(this, event)) return;
  CHorizontalLayoutUI::DoEvent(event);
}

void CListContainerElementUI::PaintBkColor(QPainter& painter) {
  CHorizontalLayoutUI::PaintBkColor(painter);
  PaintItemBk(this, painter);
}
