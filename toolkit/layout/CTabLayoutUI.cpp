#include "toolkit/layout/CTabLayoutUI.h"

#include <algorithm>

#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

std::string CTabLayoutUI::GetClass() const { return std::string(DUI_CTR_TABLAYOUT) + "UI"; }

void* CTabLayoutUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_TABLAYOUT)) return this;
  return CContainerUI::GetInterface(name);
}

void CTabLayoutUI::ShowOnly(int index) {
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == index);
}

bool CTabLayoutUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (m_iCurSel < 0) {
    m_iCurSel = 0;  // the first page shows until another is selected
  } else if (index <= m_iCurSel) {
    ++m_iCurSel;
  }
  if (m_iInitSel >= 0 && m_iInitSel < GetCount()) {
    m_iCurSel = m_iInitSel;
    m_iInitSel = -1;
  }
  ShowOnly(m_iCurSel);
  return true;
}

bool CTabLayoutUI::RemoveAt(int index, bool doNotDestroy) {
  if (!GetItemAt(index)) return false;
  if (!CContainerUI::RemoveAt(index, doNotDestroy)) return false;
  if (GetCount() == 0) m_iCurSel = -1;
  else if (index < m_iCurSel || m_iCurSel >= GetCount()) m_iCurSel = std::max(0, m_iCurSel - 1);
  if (m_iCurSel >= 0) ShowOnly(m_iCurSel);
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
}

bool CTabLayoutUI::SelectItem(int index, bool triggerEvent) {
  if (index < 0 || index >= GetCount()) return false;
  if (index == m_iCurSel) return true;
  int old = m_iCurSel;
  m_iCurSel = index;
  ShowOnly(index);
  NeedParentUpdate();
  if (triggerEvent && m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_TABSELECT, static_cast<std::uintptr_t>(index), old);
  }
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* control, bool triggerEvent) {
  int index = GetItemIndex(control);
  return index >= 0 && SelectItem(index, triggerEvent);
}

void CTabLayoutUI::SetAttribute(std::string_view name, std::string_view value) {
  if (EqualsNoCase(name, "selectedid")) {
    int index = koru::ui::ParseInt(value);
    if (!SelectItem(index, false)) m_iInitSel = index;
  }
  else CContainerUI::SetAttribute(name, value);
}
