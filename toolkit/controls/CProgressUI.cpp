#include "toolkit/controls/CProgressUI.h"

#include <algorithm>
#include <string>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CProgressUI::CProgressUI() { m_uTextStyle = UI_TEXT_SINGLELINE | UI_TEXT_VCENTER | UI_TEXT_CENTER; }

std::string CProgressUI::GetClass() const { return std::string(DUI_CTR_PROGRESS) + "UI"; }

void* CProgressUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_PROGRESS)) return this;
  return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
  m_bHorizontal = horizontal;
  Invalidate();
}

void CProgressUI::SetMinValue(int min) {
  m_nMin = min;
  if (m_nMax < m_nMin) m_nMax = m_nMin;
  m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
  Invalidate();
}

void CProgressUI::SetMaxValue(int max) {
  m_nMax = std::max(max, m_nMin);
  m_nValue = std::clamp(m_nValue, m_nMin, m_nMax);
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  value = std::clamp(value, m_nMin, m_nMax);
  if (value == m_nValue) return;
  m_nValue = value;
  Invalidate();
}

void CProgressUI::SetForeColor(UIColor color) {
  m_dwForeColor = color;
  Invalidate();
}

void CProgressUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "hor") || EqualsNoCase(name, "horizontal")) SetHorizontal(ParseBool(value));
  else if (EqualsNoCase(name, "min")) SetMinValue(ParseInt(value));
  else if (EqualsNoCase(name, "max")) SetMaxValue(ParseInt(value));
  else if (EqualsNoCase(name, "value")) SetValue(ParseInt(value));
  else if (EqualsNoCase(name, "forecolor")) SetForeColor(ParseColor(value));
  else if (EqualsNoCase(name, "isstretchfore")) m_bStretchForeImage = ParseBool(value);
  else CLabelUI::SetAttribute(name, value);
}

UIRect CProgressUI::FilledRect() const {
  UIRect rc = m_rcItem;
  long long span = std::max(1, m_nMax - m_nMin);
  long long done = m_nValue - m_nMin;
  if (m_bHorizontal) rc.right = rc.left + static_cast<int>(done * rc.GetWidth() / span);
  else rc.top = rc.bottom - static_cast<int>(done * rc.GetHeight() / span);
  return rc;
}

void CProgressUI::PaintForeImage(QPainter& painter) {
  UIRect filled = FilledRect();
  if (filled.IsEmpty()) return;
  if (m_dwForeColor) CRenderEngine::DrawColor(painter, filled, m_pManager->AdjustColor(m_dwForeColor));
  if (m_sForeImage.empty()) return;
  // The fore image is cut to the filled part rather than squeezed into it.
  UIRect rel{filled.left - m_rcItem.left, filled.top - m_rcItem.top, filled.right - m_rcItem.left,
             filled.bottom - m_rcItem.top};
  std::string modify = "dest='" + std::to_string(rel.left) + "," + std::to_string(rel.top) + "," +
                       std::to_string(rel.right) + "," + std::to_string(rel.bottom) + "'";
  if (!m_bStretchForeImage) {
    modify += " source='" + std::to_string(rel.left) + "," + std::to_string(rel.top) + "," +
              std::to_string(rel.right) + "," + std::to_string(rel.bottom) + "'";
  }
  DrawImage(painter, m_sForeImage, modify);
}
