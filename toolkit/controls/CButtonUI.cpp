#include "toolkit/controls/CButtonUI.h"

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"
#include "toolkit/layout/CTabLayoutUI.h"

using koru::ui::EqualsNoCase;

CButtonUI::CButtonUI() { m_uTextStyle = UI_TEXT_SINGLELINE | UI_TEXT_VCENTER | UI_TEXT_CENTER; }

std::string CButtonUI::GetClass() const { return std::string(DUI_CTR_BUTTON) + "UI"; }

void* CButtonUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_BUTTON)) return this;
  return CLabelUI::GetInterface(name);
}

bool CButtonUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
  BindTriggerTabSel();
  return true;
}

void CButtonUI::BindTriggerTabSel(int index, bool triggerEvent) {
  if (m_sBindTabLayoutName.empty() || !m_pManager) return;
  if (index < 0) index = m_iBindTabIndex;
  if (index < 0) return;
  // Pages repeat their control names, so the nearest tab layout of that name wins.
  CTabLayoutUI* tab = nullptr;
  for (CControlUI* scope = m_pParent; scope && !tab; scope = scope->GetParent()) {
    if (CControlUI* found = CPaintManagerUI::FindSubControlByName(scope, m_sBindTabLayoutName)) {
      tab = static_cast<CTabLayoutUI*>(found->GetInterface(DUI_CTR_TABLAYOUT));
    }
  }
  if (!tab) {
    if (CControlUI* found = m_pManager->FindControl(m_sBindTabLayoutName)) {
      tab = static_cast<CTabLayoutUI*>(found->GetInterface(DUI_CTR_TABLAYOUT));
    }
  }
  if (tab) tab->SelectItem(index, triggerEvent);
}

void CButtonUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!enabled) m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_HOT | UISTATE_CAPTURED);
}

#define KORU_IMAGE_SETTER(Name, member)                 \
  void CButtonUI::Set##Name(std::string_view image) {   \
    if (image == member) return;                        \
    member = image;                                     \
    Invalidate();                                       \
  }
KORU_IMAGE_SETTER(NormalImage, m_sNormalImage)
KORU_IMAGE_SETTER(HotImage, m_sHotImage)
KORU_IMAGE_SETTER(PushedImage, m_sPushedImage)
KORU_IMAGE_SETTER(FocusedImage, m_sFocusedImage)
KORU_IMAGE_SETTER(DisabledImage, m_sDisabledImage)
KORU_IMAGE_SETTER(HotForeImage, m_sHotForeImage)
#undef KORU_IMAGE_SETTER

void CButtonUI::SetHotBkColor(UIColor color) {
  m_dwHotBkColor = color;
  Invalidate();
}
void CButtonUI::SetHotTextColor(UIColor color) {
  m_dwHotTextColor = color;
  Invalidate();
}
void CButtonUI::SetPushedTextColor(UIColor color) {
  m_dwPushedTextColor = color;
  Invalidate();
}
void CButtonUI::SetFocusedTextColor(UIColor color) {
  m_dwFocusedTextColor = color;
  Invalidate();
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEMOVE && event.Type <= UIEVENT_CONTEXTMENU) {
    if (m_pParent) m_pParent->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      CLabelUI::DoEvent(event);
      return;
    case UIEVENT_KEYDOWN:
      if (IsKeyboardEnabled() && (event.chKey == ' ' || event.chKey == UIKEY_RETURN)) Activate();
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uButtonState & UISTATE_CAPTURED) {
        bool inside = m_rcItem.Contains(event.ptMouse);
        bool pushed = (m_uButtonState & UISTATE_PUSHED) != 0;
        if (inside != pushed) {
          m_uButtonState ^= UISTATE_PUSHED;
          Invalidate();
        }
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        if (m_rcItem.Contains(event.ptMouse)) Activate();
      }
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (m_uButtonState & UISTATE_HOT) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      CLabelUI::DoEvent(event);
  }
}

void CButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "normalimage")) SetNormalImage(value);
  else if (EqualsNoCase(name, "hotimage")) SetHotImage(value);
  else if (EqualsNoCase(name, "pushedimage")) SetPushedImage(value);
  else if (EqualsNoCase(name, "focusedimage")) SetFocusedImage(value);
  else if (EqualsNoCase(name, "disabledimage")) SetDisabledImage(value);
  else if (EqualsNoCase(name, "hotforeimage")) SetHotForeImage(value);
  else if (EqualsNoCase(name, "pushedforeimage")) m_sPushedForeImage = value;
  else if (EqualsNoCase(name, "hotbkcolor")) SetHotBkColor(ParseColor(value));
  else if (EqualsNoCase(name, "pushedbkcolor")) m_dwPushedBkColor = ParseColor(value);
  else if (EqualsNoCase(name, "hottextcolor")) SetHotTextColor(ParseColor(value));
  else if (EqualsNoCase(name, "pushedtextcolor")) SetPushedTextColor(ParseColor(value));
  else if (EqualsNoCase(name, "focusedtextcolor")) SetFocusedTextColor(ParseColor(value));
  else if (EqualsNoCase(name, "bindtabindex")) BindTabIndex(ParseInt(value, -1));
  else if (EqualsNoCase(name, "bindtablayoutname")) BindTabLayoutName(value);
  else CLabelUI::SetAttribute(name, value);
}

UIColor CButtonUI::GetStateTextColor() const {
  if (IsEnabled()) {
    if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor) return m_dwPushedTextColor;
    if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor) return m_dwHotTextColor;
    if (IsFocused() && m_dwFocusedTextColor) return m_dwFocusedTextColor;
  }
  return CLabelUI::GetStateTextColor();
}

void CButtonUI::PaintBkColor(QPainter& painter) {
  if (IsEnabled()) {
    if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedBkColor) {
      CRenderEngine::DrawColor(painter, m_rcItem, m_pManager->AdjustColor(m_dwPushedBkColor));
      return;
    }
    if ((m_uButtonState & UISTATE_HOT) && m_dwHotBkColor) {
      CRenderEngine::DrawColor(painter, m_rcItem, m_pManager->AdjustColor(m_dwHotBkColor));
      return;
    }
  }
  CLabelUI::PaintBkColor(painter);
}

void CButtonUI::PaintStatusImage(QPainter& painter) {
  // The most specific image of the current state wins; the normal image is the fallback.
  const std::string* image = &m_sNormalImage;
  if (!IsEnabled()) {
    if (!m_sDisabledImage.empty()) image = &m_sDisabledImage;
  } else if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedImage.empty()) {
    image = &m_sPushedImage;
  } else if ((m_uButtonState & UISTATE_HOT) && !m_sHotImage.empty()) {
    image = &m_sHotImage;
  } else if (IsFocused() && !m_sFocusedImage.empty()) {
    image = &m_sFocusedImage;
  }
  if (!image->empty()) DrawImage(painter, *image);
}

void CButtonUI::PaintForeImage(QPainter& painter) {
  if ((m_uButtonState & UISTATE_PUSHED) && !m_sPushedForeImage.empty()) DrawImage(painter, m_sPushedForeImage);
  else if ((m_uButtonState & UISTATE_HOT) && !m_sHotForeImage.empty()) DrawImage(painter, m_sHotForeImage);
  else CLabelUI::PaintForeImage(painter);
}
