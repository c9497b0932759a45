#include "toolkit/controls/CScrollBarUI.h"

#include <QPainter>
#include <algorithm>

#include "toolkit/core/CContainerUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

CScrollBarUI::CScrollBarUI() { m_cxyFixed = {10, 10}; }

std::string CScrollBarUI::GetClass() const { return std::string(DUI_CTR_SCROLLBAR) + "UI"; }

void* CScrollBarUI::GetInterface(std::string_view name) {
  if (EqualsNoCase(name, DUI_CTR_SCROLLBAR)) return this;
  return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  m_bHorizontal = horizontal;
  UpdateThumb();
}

void CScrollBarUI::SetScrollRange(int range) {
  m_nRange = std::max(0, range);
  m_nScrollPos = std::clamp(m_nScrollPos, 0, m_nRange);
  UpdateThumb();
  Invalidate();
}

void CScrollBarUI::SetScrollPos(int pos) {
  pos = std::clamp(pos, 0, m_nRange);
  if (pos == m_nScrollPos) return;
  m_nScrollPos = pos;
  UpdateThumb();
  Invalidate();
}

void CScrollBarUI::ScrollTo(int pos) {
  pos = std::clamp(pos, 0, m_nRange);
  if (m_pOwner) {
    UISize sz = m_pOwner->GetScrollPos();
    if (m_bHorizontal) sz.cx = pos;
    else sz.cy = pos;
    m_pOwner->SetScrollPos(sz);
  } else if (pos != m_nScrollPos) {
    SetScrollPos(pos);
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_SCROLL);
  }
}

void CScrollBarUI::SetPos(const UIRect& rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  UpdateThumb();
}

void CScrollBarUI::UpdateThumb() {
  int length = m_bHorizontal ? m_rcItem.GetWidth() : m_rcItem.GetHeight();
  if (length <= 0) {
    m_rcThumb = {};
    return;
  }
  // The thumb shows the visible share of the content.
  int thumb = std::max(length * length / std::max(1, length + m_nRange), std::min(length, 12));
  int travel = length - thumb;
  int offset = m_nRange > 0 ? travel * m_nScrollPos / m_nRange : 0;
  if (m_bHorizontal) m_rcThumb = {m_rcItem.left + offset, m_rcItem.top, m_rcItem.left + offset + thumb, m_rcItem.bottom};
  else m_rcThumb = {m_rcItem.left, m_rcItem.top + offset, m_rcItem.right, m_rcItem.top + offset + thumb};
}

void CScrollBarUI::DoEvent(TEventUI& event) {
  if (!IsEnabled()) {
    CControlUI::DoEvent(event);
    return;
  }
  int along = m_bHorizontal ? event.ptMouse.x : event.ptMouse.y;
  int length = m_bHorizontal ? m_rcItem.GetWidth() : m_rcItem.GetHeight();
  int thumbStart = m_bHorizontal ? m_rcThumb.left : m_rcThumb.top;
  int thumbLength = m_bHorizontal ? m_rcThumb.GetWidth() : m_rcThumb.GetHeight();
  int origin = m_bHorizontal ? m_rcItem.left : m_rcItem.top;
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (m_rcThumb.Contains(event.ptMouse)) {
        m_bDragging = true;
        m_nDragOffset = along - thumbStart;
      } else if (along < thumbStart) {
        ScrollTo(m_nScrollPos - std::max(m_nLineSize, length));
      } else {
        ScrollTo(m_nScrollPos + std::max(m_nLineSize, length));
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bDragging) {
        int travel = length - thumbLength;
        int start = along - m_nDragOffset - origin;
        if (travel > 0) ScrollTo(static_cast<int>(static_cast<long long>(start) * m_nRange / travel));
      }
      return;
    case UIEVENT_BUTTONUP:
      m_bDragging = false;
      return;
    case UIEVENT_SCROLLWHEEL:
      ScrollTo(m_nScrollPos + (event.wParam == 0 ? -m_nLineSize * 3 : m_nLineSize * 3));
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

void CScrollBarUI::SetAttribute(std::string_view name, std::string_view value) {
  using namespace koru::ui;
  if (EqualsNoCase(name, "horizontal")) SetHorizontal(ParseBool(value));
  else if (EqualsNoCase(name, "range")) SetScrollRange(ParseInt(value));
  else if (EqualsNoCase(name, "value")) SetScrollPos(ParseInt(value));
  else if (EqualsNoCase(name, "linesize")) SetLineSize(ParseInt(value));
  else if (EqualsNoCase(name, "trackcolor")) m_dwTrackColor = ParseColor(value);
  else if (EqualsNoCase(name, "thumbcolor")) m_dwThumbColor = ParseColor(value);
  else if (EqualsNoCase(name, "thumbnormalimage")) m_sThumbImage = value;
  else CControlUI::SetAttribute(name, value);
}

void CScrollBarUI::DoPaint(QPainter& painter, const UIRect& paint) {
  if (!paint.Intersects(m_rcItem)) return;
  CControlUI::DoPaint(painter, paint);
  if (m_dwTrackColor) CRenderEngine::DrawColor(painter, m_rcItem, m_dwTrackColor);
  if (!m_sThumbImage.empty()) {
    CRenderEngine::DrawImageString(painter, m_pManager, m_rcThumb, m_sThumbImage);
  } else if (m_dwThumbColor) {
    int r = m_bHorizontal ? m_rcThumb.GetHeight() : m_rcThumb.GetWidth();
    CRenderEngine::DrawRoundRect(painter, m_rcThumb, {r, r}, m_dwThumbColor);
  }
}
