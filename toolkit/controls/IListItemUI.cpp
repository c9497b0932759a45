#include "toolkit/controls/IListItemUI.h"

#include <algorithm>

#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

bool TListInfoUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "itemfont")) nFont = ParseInt(value, -1);
  else if (EqualsNoCase(name, "itemalign")) {
    uTextStyle &= ~(UI_TEXT_CENTER | UI_TEXT_RIGHT);
    if (value.find("center") != std::string_view::npos) uTextStyle |= UI_TEXT_CENTER;
    else if (value.find("right") != std::string_view::npos) uTextStyle |= UI_TEXT_RIGHT;
  } else if (EqualsNoCase(name, "itemendellipsis")) {
    if (ParseBool(value)) uTextStyle |= UI_TEXT_END_ELLIPSIS;
    else uTextStyle &= ~UI_TEXT_END_ELLIPSIS;
  } else if (EqualsNoCase(name, "itemtextpadding")) rcTextPadding = ParseRect(value);
  else if (EqualsNoCase(name, "itemtextcolor")) dwTextColor = ParseColor(value);
  else if (EqualsNoCase(name, "itembkcolor")) dwBkColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemselectedtextcolor")) dwSelectedTextColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemselectedbkcolor")) dwSelectedBkColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemhottextcolor")) dwHotTextColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemhotbkcolor")) dwHotBkColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemdisabledtextcolor")) dwDisabledTextColor = ParseColor(value);
  else if (EqualsNoCase(name, "itemselectedimage")) sSelectedImage = value;
  else if (EqualsNoCase(name, "itemhotimage")) sHotImage = value;
  else return false;
  return true;
}

IListItemUI* AsListItem(CControlUI* control) {
  return control ? static_cast<IListItemUI*>(control->GetInterface(DUI_CTR_LISTITEM)) : nullptr;
}

namespace {
void Reindex(CContainerUI& rows, int from) {
  for (int i = std::max(0, from); i < rows.GetCount(); ++i) {
    if (IListItemUI* item = AsListItem(rows.GetItemAt(i))) item->SetIndex(i);
  }
}
}  // namespace

void OnListRowAdded(CContainerUI& rows, IListOwnerUI* owner, int index, int& curSel) {
  if (IListItemUI* item = AsListItem(rows.GetItemAt(index))) item->SetOwner(owner);
  Reindex(rows, index);
  if (curSel >= index) ++curSel;
}

void OnListRowRemoved(CContainerUI& rows, int index, int& curSel) {
  Reindex(rows, index);
  if (index == curSel) curSel = -1;
  else if (index < curSel) --curSel;
}

bool IListItemUI::Select(bool select) {
  if (select == m_bSelected) return true;
  m_bSelected = select;
  AsControl()->Invalidate();
  return true;
}

bool IListItemUI::HandleItemEvent(CControlUI* self, TEventUI& event) {
  CPaintManagerUI* manager = self->GetManager();
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_RBUTTONDOWN:
      if (self->IsEnabled() && m_pOwner) {
        m_pOwner->OnItemClick(self);
      }
      return true;
    case UIEVENT_DBLCLICK:
      if (self->IsEnabled() && manager) manager->SendNotify(self, DUI_MSGTYPE_ITEMACTIVATE);
      return true;
    case UIEVENT_CONTEXTMENU:
      if (self->IsEnabled() && manager && m_pOwner && m_pOwner->IsContextMenuUsed()) {
        manager->SendNotify(self, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
        return true;
      }
      return false;
    case UIEVENT_MOUSEENTER:
      if (self->IsEnabled()) {
        m_bHot = true;
        self->Invalidate();
      }
      return true;
    case UIEVENT_MOUSELEAVE:
      if (m_bHot) {
        m_bHot = false;
        self->Invalidate();
      }
      return true;
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEMOVE:
      return true;
    case UIEVENT_KEYDOWN:
      // Arrow keys move the owner's selection.
      if (CControlUI* parent = self->GetParent()) parent->DoEvent(event);
      return true;
    default:
      return false;
  }
}

void IListItemUI::PaintItemBk(CControlUI* self, QPainter& painter) {
  if (!m_pOwner) return;
  const TListInfoUI* info = m_pOwner->GetListInfo();
  CPaintManagerUI* manager = self->GetManager();
  UIColor color = info->dwBkColor;
  const std::string* image = nullptr;
  if (m_bSelected) {
    color = info->dwSelectedBkColor;
    if (!info->sSelectedImage.empty()) image = &info->sSelectedImage;
  } else if (m_bHot && self->IsEnabled()) {
    color = info->dwHotBkColor;
    if (!info->sHotImage.empty()) image = &info->sHotImage;
  }
  if (color) CRenderEngine::DrawColor(painter, self->GetPos(), manager ? manager->AdjustColor(color) : color);
  if (image) self->DrawImage(painter, *image);
}

UIColor IListItemUI::ItemTextColor(const CControlUI* self) const {
  if (!m_pOwner) return 0xFF000000;
  const TListInfoUI* info = m_pOwner->GetListInfo();
  if (!self->IsEnabled()) return info->dwDisabledTextColor;
  if (m_bSelected) return info->dwSelectedTextColor;
  if (m_bHot) return info->dwHotTextColor;
  return info->dwTextColor;
}
