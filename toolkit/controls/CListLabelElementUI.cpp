#include "toolkit/controls/CListLabelElementUI.h"

#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CListLabelElementUI::CListLabelElementUI() { m_cxyFixed.cy = 24; }

std::string CListLabelElementUI::GetClass() const { return std::string(DUI_CTR_LISTLABELELEMENT) + "UI"; }

void* CListLabelElementUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_LISTLABELELEMENT)) return this;
  if (EqualsNoCase(name, DUI_CTR_LISTITEM)) return static_cast<IListItemUI*>(this);
  return CLabelUI::GetInterface(name);
}

bool CListLabelElementUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  if (m_pOwner) m_pOwner->OnItemClick(this);
  return true;
}

UISize CListLabelElementUI::EstimateSize(UISize available) {
  UISize size = CLabelUI::EstimateSize(available);
  if (size.cy == 0) size.cy = 24;
  return size;
}

void CListLabelElementUI::DoEvent(TEventUI& event) {
  if (HandleItemEvent(this, event)) return;
  CLabelUI::DoEvent(event);
}

void CListLabelElementUI::PaintBkColor(QPainter& painter) {
  CLabelUI::PaintBkColor(painter);
  PaintItemBk(this, painter);
}

void CListLabelElementUI::PaintText(QPainter& painter) {
  if (!m_pOwner) {
    CLabelUI::PaintText(painter);
    return;
  }
  const TListInfoUI* info = m_pOwner->GetListInfo();
  UIRect rc = m_rcItem.Deflate(info->rcTextPadding).Deflate(m_rcTextPadding);
  CRenderEngine::DrawText(painter, m_pManager, rc, GetText(), ItemTextColor(this), info->nFont, info->uTextStyle);
}
