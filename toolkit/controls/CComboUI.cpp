#include "toolkit/controls/CComboUI.h"

#include <QPainter>
#include <algorithm>

#include "toolkit/controls/CButtonUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
  if (m_bDropped && m_pManager && m_pManager->GetPopup() == this) m_pManager->SetPopup(nullptr);
}

std::string CComboUI::GetClass() const { return std::string(DUI_CTR_COMBO) + "UI"; }

void* CComboUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_COMBO)) return this;
  if (EqualsNoCase(name, DUI_CTR_ILISTOWNER)) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::GetInterface(name);
}

bool CComboUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  OnListRowAdded(*this, this, index, m_iCurSel);
  if (m_bDropped) LayoutDropList();
  return true;
}

bool CComboUI::RemoveAt(int index, bool doNotDestroy) {
  if (!CContainerUI::RemoveAt(index, doNotDestroy)) return false;
  OnListRowRemoved(*this, index, m_iCurSel);
  if (m_bDropped) LayoutDropList();
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  ShowDropDown(false);
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  Invalidate();
}

bool CComboUI::SelectItem(int index, bool takeFocus, bool triggerEvent) {
  if (index == m_iCurSel) return true;
  if (index >= GetCount()) return false;
  if (index >= 0 && !AsListItem(GetItemAt(index))) return false;
  int old = m_iCurSel;
  if (IListItemUI* previous = AsListItem(GetItemAt(old))) previous->Select(false);
  m_iCurSel = index;
  if (IListItemUI* item = AsListItem(GetItemAt(index))) item->Select(true);
  if (takeFocus) SetFocus();
  Invalidate();
  if (triggerEvent && m_pManager) {
    m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<std::uintptr_t>(index), old);
  }
  return true;
}

void CComboUI::OnItemClick(CControlUI* control) {
  IListItemUI* item = AsListItem(control);
  if (!item) return;
  ShowDropDown(false);
  SelectItem(item->GetIndex());
}

std::string CComboUI::GetText() const {
  CControlUI* item = GetItemAt(m_iCurSel);
  return item ? item->GetText() : std::string();
}

bool CComboUI::Activate() {
  if (!CContainerUI::Activate()) return false;
  ShowDropDown(!m_bDropped);
  return true;
}

void CComboUI::ShowDropDown(bool show) {
  if (show == m_bDropped || !m_pManager) return;
  m_bDropped = show;
  if (show) {
    LayoutDropList();
    m_pManager->SetPopup(this);
    m_pManager->SendNotify(this, DUI_MSGTYPE_DROPDOWN);
  } else {
    if (m_pManager->GetPopup() == this) m_pManager->SetPopup(nullptr);
    m_pManager->Invalidate(m_rcDrop);
  }
  Invalidate();
}

void CComboUI::ClosePopup() {
  m_bDropped = false;
  Invalidate();
}

void CComboUI::LayoutDropList() {
  // The drop list opens below the combo, or above it when the window has no room below.
  int height = 0;
  for (CControlUI* item : m_items) {
    if (item->IsVisible()) height += std::max(1, item->EstimateSize({GetWidth(), 0}).cy);
  }
  height = std::min(height + 2, m_szDropBox.cy > 0 ? m_szDropBox.cy : height + 2);
  int width = m_szDropBox.cx > 0 ? m_szDropBox.cx : GetWidth();
  UIRect rc{m_rcItem.left, m_rcItem.bottom, m_rcItem.left + width, m_rcItem.bottom + height};
  if (m_pManager && rc.bottom > m_pManager->GetClientSize().cy && m_rcItem.top - height >= 0) {
    rc = {m_rcItem.left, m_rcItem.top - height, m_rcItem.left + width, m_rcItem.top};
  }
  if (m_pManager) m_pManager->Invalidate(m_rcDrop);
  m_rcDrop = rc;
  int y = rc.top + 1;
  for (CControlUI* item : m_items) {
    if (!item->IsVisible()) continue;
    int h = std::max(1, item->EstimateSize({width, 0}).cy);
    item->SetPos({rc.left + 1, y, rc.right - 1, y + h}, false);
    y += h;
  }
  if (m_pManager) m_pManager->Invalidate(m_rcDrop);
}

CControlUI* CComboUI::PopupHitTest(UIPoint pt) {
  for (CControlUI* item : m_items) {
    if (CControlUI* hit = item->HitTest(pt)) {
      if (hit->GetPos().bottom <= m_rcDrop.bottom) return hit;
    }
  }
  return nullptr;
}

void CComboUI::PaintPopup(QPainter& painter) {
  if (!m_bDropped) return;
  painter.save();
  painter.setClipRect(QRect(m_rcDrop.left, m_rcDrop.top, m_rcDrop.GetWidth(), m_rcDrop.GetHeight()));
  CRenderEngine::DrawColor(painter, m_rcDrop, m_dwDropBkColor);
  for (CControlUI* item : m_items) {
    if (item->IsVisible()) item->DoPaint(painter, m_rcDrop);
  }
  CRenderEngine::DrawBorder(painter, m_rcDrop, 1, m_dwDropBorderColor);
  painter.restore();
}

void CComboUI::SetPos(const UIRect& rc, bool needInvalidate) {
  // The rows are not laid out inside the combo; only the open drop list places them.
  CControlUI::SetPos(rc, needInvalidate);
  if (m_bDropped) LayoutDropList();
}

CControlUI* CComboUI::HitTest(UIPoint pt) {
  if (!IsVisible() || !m_rcItem.Contains(pt)) return nullptr;
  return m_bMouseEnabled ? this : nullptr;
}

void CComboUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled() && m_rcItem.Contains(event.ptMouse)) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Activate();
      }
      return;
    case UIEVENT_BUTTONUP:
      m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
      Invalidate();
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) m_uButtonState |= UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      m_uButtonState &= ~UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_KEYDOWN:
      if (!IsEnabled()) return;
      if (event.chKey == UIKEY_ESCAPE) ShowDropDown(false);
      else if (event.chKey == UIKEY_UP || event.chKey == UIKEY_DOWN) {
        // Arrow keys step over hidden rows.
        int step = event.chKey == UIKEY_UP ? -1 : 1;
        for (int i = m_iCurSel + step; i >= 0 && i < GetCount(); i += step) {
          if (GetItemAt(i)->IsVisible()) {
            SelectItem(i);
            break;
          }
        }
      }
      return;
    case UIEVENT_SCROLLWHEEL:
      if (m_bDropped) return;
      CControlUI::DoEvent(event);
      return;
    case UIEVENT_KILLFOCUS:
      CContainerUI::DoEvent(event);
      return;
    default:
      CContainerUI::DoEvent(event);
  }
}

void CComboUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (m_listInfo.SetAttribute(name, value)) return;
  if (EqualsNoCase(name, "dropboxsize")) m_szDropBox = ParseSize(value);
  else if (EqualsNoCase(name, "textpadding")) m_rcTextPadding = ParseRect(value);
  else if (EqualsNoCase(name, "font")) m_iFont = ParseInt(value, -1);
  else if (EqualsNoCase(name, "textcolor")) m_dwTextColor = ParseColor(value);
  else if (EqualsNoCase(name, "dropbkcolor")) m_dwDropBkColor = ParseColor(value);
  else if (EqualsNoCase(name, "dropbordercolor")) m_dwDropBorderColor = ParseColor(value);
  else if (EqualsNoCase(name, "normalimage")) m_sNormalImage = value;
  else if (EqualsNoCase(name, "hotimage")) m_sHotImage = value;
  else if (EqualsNoCase(name, "pushedimage")) m_sPushedImage = value;
  else if (EqualsNoCase(name, "disabledimage")) m_sDisabledImage = value;
  else CContainerUI::SetAttribute(name, value);
}

void CComboUI::DoPaint(QPainter& painter, const UIRect& paint) {
  // The rows belong to the drop list layer, not to the combo's face.
  CControlUI::DoPaint(painter, paint);
}

void CComboUI::PaintStatusImage(QPainter& painter) {
  const std::string* image = &m_sNormalImage;
  if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
  else if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.empty()) image = &m_sPushedImage;
  else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.empty()) image = &m_sHotImage;
  if (!image->empty()) DrawImage(painter, *image);
}

void CComboUI::PaintText(QPainter& painter) {
  std::string text = GetText();
  if (text.empty()) return;
  UIColor color = m_dwTextColor ? m_dwTextColor : m_pManager->GetDefaultFontColor();
  if (!IsEnabled()) color = m_pManager->GetDefaultDisabledColor();
  CRenderEngine::DrawText(painter, m_pManager, m_rcItem.Deflate(m_rcTextPadding), text, color, m_iFont,
                          UI_TEXT_VCENTER | UI_TEXT_SINGLELINE | UI_TEXT_END_ELLIPSIS);
}
