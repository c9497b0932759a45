#include "toolkit/controls/CLabelUI.h"

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CLabelUI::CLabelUI() = default;

std::string CLabelUI::GetClass() const { return std::string(DUI_CTR_LABEL) + "UI"; }

void* CLabelUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_LABEL)) return this;
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetTextStyle(unsigned style) {
  m_uTextStyle = style;
  Invalidate();
}

void CLabelUI::SetTextColor(UIColor color) {
  m_dwTextColor = color;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(UIColor color) {
  m_dwDisabledTextColor = color;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  Invalidate();
}

void CLabelUI::SetTextPadding(const UIRect& rc) {
  m_rcTextPadding = rc;
  Invalidate();
}

void CLabelUI::SetAutoCalcWidth(bool on) {
  m_bAutoCalcWidth = on;
  NeedParentUpdate();
}

void CLabelUI::SetText(std::string_view text) {
  if (text == m_sText) return;
  CControlUI::SetText(text);
  if (m_bAutoCalcWidth) NeedParentUpdate();
}

UISize CLabelUI::EstimateSize(UISize available) {
  UISize size = m_cxyFixed;
  if (m_bAutoCalcWidth && m_pManager) {
    UISize text = CRenderEngine::MeasureText(m_pManager, GetText(), m_iFont);
    size.cx = text.cx + m_rcTextPadding.left + m_rcTextPadding.right;
  }
  (void)available;
  return size;
}

void CLabelUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "align")) {
    m_uTextStyle &= ~(UI_TEXT_CENTER | UI_TEXT_RIGHT);
    if (value.find("center") != std::string_view::npos) m_uTextStyle |= UI_TEXT_CENTER;
    else if (value.find("right") != std::string_view::npos) m_uTextStyle |= UI_TEXT_RIGHT;
    Invalidate();
  } else if (EqualsNoCase(name, "valign")) {
    m_uTextStyle &= ~(UI_TEXT_VCENTER | UI_TEXT_BOTTOM);
    if (value.find("center") != std::string_view::npos) m_uTextStyle |= UI_TEXT_VCENTER;
    else if (value.find("bottom") != std::string_view::npos) m_uTextStyle |= UI_TEXT_BOTTOM;
    Invalidate();
  } else if (EqualsNoCase(name, "endellipsis")) {
    if (ParseBool(value)) m_uTextStyle |= UI_TEXT_END_ELLIPSIS;
    else m_uTextStyle &= ~UI_TEXT_END_ELLIPSIS;
  } else if (EqualsNoCase(name, "wordbreak") || EqualsNoCase(name, "multiline")) {
    if (ParseBool(value)) {
      m_uTextStyle &= ~UI_TEXT_SINGLELINE;
      m_uTextStyle |= UI_TEXT_WORDBREAK;
    } else {
      m_uTextStyle &= ~UI_TEXT_WORDBREAK;
      m_uTextStyle |= UI_TEXT_SINGLELINE;
    }
  } else if (EqualsNoCase(name, "font")) {
    SetFont(ParseInt(value, -1));
  } else if (EqualsNoCase(name, "textcolor")) {
    SetTextColor(ParseColor(value));
  } else if (EqualsNoCase(name, "disabledtextcolor")) {
    SetDisabledTextColor(ParseColor(value));
  } else if (EqualsNoCase(name, "textpadding")) {
    SetTextPadding(ParseRect(value));
  } else if (EqualsNoCase(name, "autocalcwidth")) {
    SetAutoCalcWidth(ParseBool(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

UIColor CLabelUI::GetStateTextColor() const {
  if (!IsEnabled()) {
    if (m_dwDisabledTextColor) return m_dwDisabledTextColor;
    return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
  }
  if (m_dwTextColor) return m_dwTextColor;
  return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000;
}

void CLabelUI::DrawLabelText(QPainter& painter, const std::string& text, UIColor color) {
  if (text.empty()) return;
  UIRect rc = m_rcItem.Deflate(m_rcTextPadding);
  CRenderEngine::DrawText(painter, m_pManager, rc, text, color, m_iFont, m_uTextStyle);
}

void CLabelUI::PaintText(QPainter& painter) { DrawLabelText(painter, GetText(), GetStateTextColor()); }
