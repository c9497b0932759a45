#include "toolkit/controls/CSliderUI.h"

#include <algorithm>

#include "toolkit/controls/CButtonUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CSliderUI::CSliderUI() { m_uTextStyle = UI_TEXT_SINGLELINE | UI_TEXT_CENTER; }

std::string CSliderUI::GetClass() const { return std::string(DUI_CTR_SLIDER) + "UI"; }

void* CSliderUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_SLIDER)) return this;
  return CProgressUI::GetInterface(name);
}

void CSliderUI::SetThumbSize(UISize size) {
  m_szThumb = size;
  Invalidate();
}

UIRect CSliderUI::GetThumbRect() const {
  long long span = std::max(1, m_nMax - m_nMin);
  long long done = m_nValue - m_nMin;
  if (m_bHorizontal) {
    int travel = std::max(0, m_rcItem.GetWidth() - m_szThumb.cx);
    int left = m_rcItem.left + static_cast<int>(done * travel / span);
    int top = (m_rcItem.top + m_rcItem.bottom - m_szThumb.cy) / 2;
    return {left, top, left + m_szThumb.cx, top + m_szThumb.cy};
  }
  int travel = std::max(0, m_rcItem.GetHeight() - m_szThumb.cy);
  int top = m_rcItem.bottom - m_szThumb.cy - static_cast<int>(done * travel / span);
  int left = (m_rcItem.left + m_rcItem.right - m_szThumb.cx) / 2;
  return {left, top, left + m_szThumb.cx, top + m_szThumb.cy};
}

int CSliderUI::ValueFromPoint(UIPoint pt) const {
  long long span = m_nMax - m_nMin;
  long long value;
  if (m_bHorizontal) {
    int travel = std::max(1, m_rcItem.GetWidth() - m_szThumb.cx);
    long long offset = std::clamp(pt.x - m_rcItem.left - m_szThumb.cx / 2, 0, travel);
    value = m_nMin + (offset * span + travel / 2) / travel;
  } else {
    int travel = std::max(1, m_rcItem.GetHeight() - m_szThumb.cy);
    long long offset = std::clamp(m_rcItem.bottom - pt.y - m_szThumb.cy / 2, 0, travel);
    value = m_nMin + (offset * span + travel / 2) / travel;
  }
  return static_cast<int>(std::clamp<long long>(value, m_nMin, m_nMax));
}

void CSliderUI::ChangeValue(int value, bool finished) {
  int before = m_nValue;
  SetValue(value);
  if (!m_pManager) return;
  if (finished) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
  else if (m_bSendMove && m_nValue != before) m_pManager->SendNotify(this, DUI_MSGTYPE_MOVEVALUECHANGED);
}

void CSliderUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!IsEnabled()) return;
      m_uThumbState |= UISTATE_CAPTURED | UISTATE_PUSHED;
      ChangeValue(ValueFromPoint(event.ptMouse), false);
      Invalidate();
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_uThumbState & UISTATE_CAPTURED) {
        ChangeValue(ValueFromPoint(event.ptMouse), false);
      } else {
        bool hot = GetThumbRect().Contains(event.ptMouse);
        if (hot != ((m_uThumbState & UISTATE_HOT) != 0)) {
          m_uThumbState ^= UISTATE_HOT;
          Invalidate();
        }
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_uThumbState & UISTATE_CAPTURED) {
        m_uThumbState &= ~(UISTATE_CAPTURED | UISTATE_PUSHED);
        SetValue(ValueFromPoint(event.ptMouse));
        if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      m_uThumbState &= ~UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      if (!IsEnabled()) return;
      ChangeValue(m_nValue + (event.wParam == 0 ? m_nStep : -m_nStep), true);
      return;
    case UIEVENT_KEYDOWN:
      if (!IsEnabled()) return;
      if (event.chKey == UIKEY_LEFT || event.chKey == UIKEY_DOWN) ChangeValue(m_nValue - m_nStep, true);
      else if (event.chKey == UIKEY_RIGHT || event.chKey == UIKEY_UP) ChangeValue(m_nValue + m_nStep, true);
      return;
    default:
      CProgressUI::DoEvent(event);
  }
}

void CSliderUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "step")) SetChangeStep(ParseInt(value, 1));
  else if (EqualsNoCase(name, "thumbsize")) SetThumbSize(ParseSize(value));
  else if (EqualsNoCase(name, "sendmove")) SetCanSendMove(ParseBool(value));
  else if (EqualsNoCase(name, "thumbimage")) m_sThumbImage = value;
  else if (EqualsNoCase(name, "thumbhotimage")) m_sThumbHotImage = value;
  else if (EqualsNoCase(name, "thumbpushedimage")) m_sThumbPushedImage = value;
  else if (EqualsNoCase(name, "thumbcolor")) m_dwThumbColor = ParseColor(value);
  else CProgressUI::SetAttribute(name, value);
}

void CSliderUI::PaintForeImage(QPainter& painter) {
  CProgressUI::PaintForeImage(painter);
  UIRect thumb = GetThumbRect();
  const std::string* image = &m_sThumbImage;
  if ((m_uThumbState & UISTATE_PUSHED) && !m_sThumbPushedImage.empty()) image = &m_sThumbPushedImage;
  else if ((m_uThumbState & UISTATE_HOT) && !m_sThumbHotImage.empty()) image = &m_sThumbHotImage;
  if (!image->empty()) {
    CRenderEngine::DrawImageString(painter, m_pManager, thumb, *image);
  } else if (m_dwThumbColor) {
    CRenderEngine::DrawRoundRect(painter, thumb, {thumb.GetWidth(), thumb.GetHeight()},
                                 m_pManager->AdjustColor(m_dwThumbColor));
  }
}
