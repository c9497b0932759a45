#include "toolkit/controls/CListUI.h"

#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

CListUI::CListUI() { EnableScrollBar(true, false); }

std::string CListUI::GetClass() const { return std::string(DUI_CTR_LIST) + "UI"; }

void* CListUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_LIST)) return this;
  if (EqualsNoCase(name, DUI_CTR_ILISTOWNER)) return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(name);
}

bool CListUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CListUI::AddAt(CControlUI* control, int index) {
  if (!CVerticalLayoutUI::AddAt(control, index)) return false;
  OnListRowAdded(*this, this, index, m_iCurSel);
  return true;
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
  if (!CVerticalLayoutUI::RemoveAt(index, doNotDestroy)) return false;
  OnListRowRemoved(*this, index, m_iCurSel);
  return true;
}

void CListUI::RemoveAll() {
  m_iCurSel = -1;
  CVerticalLayoutUI::RemoveAll();
}

bool CListUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
  if (index == m_iCurSel) return true;
  int old = m_iCurSel;
  if (IListItemUI* previous = AsListItem(GetItemAt(old))) previous->Select(false);
  if (index < 0) {
    m_iCurSel = -1;
  } else {
    IListItemUI* item = AsListItem(GetItemAt(index));
    if (!item) return false;
    m_iCurSel = index;
    item->Select(true);
    EnsureVisible(index);
    if (takeFocus) GetItemAt(index)->SetFocus();
  }
  if (triggerEvent && m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<std::uintptr_t>(m_iCurSel), old);
  }
  return true;
}

void CListUI::OnItemClick(CControlUI* control) {
  IListItemUI* item = AsListItem(control);
  if (!item) return;
  if (m_pManager) m_pManager->SendNotify(control, DUI_MSGTYPE_ITEMCLICK);
  SelectItem(item->GetIndex(), true);
}

void CListUI::EnsureVisible(int index) {
  CControlUI* item = GetItemAt(index);
  if (!item) return;
  if (!m_pManager || m_pManager->IsUpdateNeeded()) {
    // Positions are stale until the pending layout runs; scroll after it.
    m_iPendingVisible = index;
    return;
  }
  ScrollIntoView(item);
}

void CListUI::SetPos(const UIRect& rc, bool needInvalidate) {
  CVerticalLayoutUI::SetPos(rc, needInvalidate);
  if (m_iPendingVisible >= 0) {
    CControlUI* item = GetItemAt(m_iPendingVisible);
    m_iPendingVisible = -1;
    if (item) ScrollIntoView(item);
  }
}

void CListUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_KEYDOWN && IsEnabled()) {
    if (event.chKey == UIKEY_UP && m_iCurSel > 0) SelectItem(m_iCurSel - 1, true);
    else if (event.chKey == UIKEY_DOWN && m_iCurSel + 1 < GetCount()) SelectItem(m_iCurSel + 1, true);
    return;
  }
  if (event.Type == UIEVENT_CONTEXTMENU && m_bContextMenu && IsEnabled() && m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_MENU, event.wParam, event.lParam);
    return;
  }
  CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetAttribute(std::string_view name, std::string_view value) {
  if (m_listInfo.SetAttribute(name, value)) {
    Invalidate();
    return;
  }
  if (EqualsNoCase(name, "menu")) SetContextMenuUsed(koru::ui::ParseBool(value));
  else CVerticalLayoutUI::SetAttribute(name, value);
}
