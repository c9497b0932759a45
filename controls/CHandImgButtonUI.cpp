#include "controls/CHandImgButtonUI.h"

#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

bool HandleHoverNotify(CButtonUI& button, unsigned& buttonState, TEventUI& event) {
  if (event.Type != UIEVENT_MOUSEENTER && event.Type != UIEVENT_MOUSELEAVE) return false;
  if (button.IsEnabled()) {
    bool enter = event.Type == UIEVENT_MOUSEENTER;
    if (enter) buttonState |= UISTATE_HOT;
    else buttonState &= ~UISTATE_HOT;
    if (CPaintManagerUI* manager = button.GetManager()) {
      manager->SendNotify(&button, enter ? DUI_MSGTYPE_MOUSEENTER : DUI_MSGTYPE_MOUSELEAVE);
    }
    button.Invalidate();
  }
  return true;
}

std::string CHandImgButtonUI::GetClass() const { return kHandImgButtonClass; }

void CHandImgButtonUI::SetHandImage(std::string_view image) {
  if (image == m_handImage) return;
  m_handImage = image;
  Invalidate();
}

void CHandImgButtonUI::DoEvent(TEventUI& event) {
  HandleHoverNotify(*this, m_uButtonState, event);
  CButtonUI::DoEvent(event);
}

void CHandImgButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (EqualsNoCase(name, "handimage")) SetHandImage(value);
  else if (EqualsNoCase(name, "deletenormalimage")) m_deleteNormalImage = value;
  else if (EqualsNoCase(name, "deletehotimage")) m_deleteHotImage = value;
  else CButtonUI::SetAttribute(name, value);
}

void CHandImgButtonUI::PaintStatusImage(QPainter& painter) {
  CButtonUI::PaintStatusImage(painter);
  if (!m_handImage.empty()) DrawImage(painter, m_handImage);
}
