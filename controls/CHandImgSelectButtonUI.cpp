#include "controls/CHandImgSelectButtonUI.h"

#include <algorithm>
#include <array>
#include <utility>

#include "controls/CHandImgButtonUI.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CRenderEngine.h"

using koru::ui::EqualsNoCase;

int CursorIdByName(std::string_view name) {
  static constexpr std::array<std::pair<const char*, int>, 14> kCursors{{
      {"arrow", 32512}, {"ibeam", 32513}, {"wait", 32514}, {"cross", 32515}, {"uparrow", 32516},
      {"size", 32640}, {"icon", 32641}, {"sizenwse", 32642}, {"sizenesw", 32643}, {"sizewe", 32644},
      {"sizens", 32645}, {"sizeall", 32646}, {"no", 32648}, {"hand", 32649},
  }};
  for (const auto& [cursorName, id] : kCursors) {
    if (EqualsNoCase(name, cursorName)) return id;
  }
  return 0;
}

std::string CHandImgSelectButtonUI::GetClass() const { return kHandImgSelectButtonClass; }

UISize CHandImgSelectButtonUI::ViewSize() const {
  // Markup sets the picture before the first layout; the fixed size stands in until then.
  UISize size{GetWidth(), GetHeight()};
  if (size.cx <= 0) size.cx = GetFixedWidth();
  if (size.cy <= 0) size.cy = GetFixedHeight();
  return size;
}

void CHandImgSelectButtonUI::SetHandImage(std::string_view image) {
  m_handImage = image;
  if (!m_pManager) return;
  auto picture = m_pManager->GetImageEx(m_handImage);
  if (!picture) return;
  m_pictureWidth = picture->width;
  m_pictureHeight = picture->height;
  UISize view = ViewSize();
  m_sourceWindow = {0, 0, view.cx, view.cy};
  if (view.cx < m_pictureWidth || view.cy < m_pictureHeight) ComposeWindow();
  else m_composedImage = m_handImage;
  Invalidate();
}

void CHandImgSelectButtonUI::ComposeWindow() {
  const UIRect& w = m_sourceWindow;
  m_composedImage = "file='" + m_handImage + "' source='" + std::to_string(w.left) + "," + std::to_string(w.top) +
                    "," + std::to_string(w.right) + "," + std::to_string(w.bottom) + "'";
}

void CHandImgSelectButtonUI::SetPos(const UIRect& rc, bool needInvalidate) {
  bool firstSize = GetWidth() <= 0 || GetHeight() <= 0;
  CButtonUI::SetPos(rc, needInvalidate);
  // A picture named before the control had a size is fitted once it has one.
  if (firstSize && !m_handImage.empty() && m_sourceWindow.IsEmpty() && !rc.IsEmpty()) SetHandImage(m_handImage);
}

void CHandImgSelectButtonUI::PanAxis(int delta, int extent, int& low, int& high) {
  if (delta < 0 && high < extent) {
    int step = std::min(-delta, extent - high);
    low += step;
    high += step;
  } else if (delta >= 0 && low > 0) {
    int step = std::min(delta, low);
    low -= step;
    high -= step;
  }
}

void CHandImgSelectButtonUI::DoEvent(TEventUI& event) {
  if (!IsMouseEnabled() && event.Type >= UIEVENT_MOUSEMOVE && event.Type <= UIEVENT_CONTEXTMENU) {
    CButtonUI::DoEvent(event);
    return;
  }
  if (HandleHoverNotify(*this, m_uButtonState, event)) {
    CButtonUI::DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (m_rcItem.Contains(event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        m_lastPoint = event.ptMouse;
        Invalidate();
      }
      m_dragging = true;
      return;
    case UIEVENT_BUTTONUP:
      if (m_uButtonState & UISTATE_CAPTURED) {
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
      }
      m_dragging = false;
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_dragging) {
        PanAxis(event.ptMouse.x - m_lastPoint.x, m_pictureWidth, m_sourceWindow.left, m_sourceWindow.right);
        PanAxis(event.ptMouse.y - m_lastPoint.y, m_pictureHeight, m_sourceWindow.top, m_sourceWindow.bottom);
        m_lastPoint = event.ptMouse;
        if (!m_handImage.empty()) ComposeWindow();
      }
      if (m_uButtonState & UISTATE_CAPTURED) {
        if (m_rcItem.Contains(event.ptMouse)) m_uButtonState |= UISTATE_PUSHED;
        else m_uButtonState &= ~UISTATE_PUSHED;
      }
      Invalidate();
      return;
    default:
      CButtonUI::DoEvent(event);
  }
}

void CHandImgSelectButtonUI::SetAttribute(std::string_view name, std::string_view value) {
  if (EqualsNoCase(name, "handimage")) {
    SetHandImage(value);
  } else if (EqualsNoCase(name, "cursor") && !value.empty()) {
    if (int id = CursorIdByName(value)) SetCursor(id);
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void CHandImgSelectButtonUI::PaintStatusImage(QPainter& painter) {
  CButtonUI::PaintStatusImage(painter);
  if (!m_composedImage.empty()) DrawImage(painter, m_composedImage);
}
