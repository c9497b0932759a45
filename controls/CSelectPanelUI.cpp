#include "controls/CSelectPanelUI.h"

#include <algorithm>

#include "controls/CDeviceKeyButtonUI.h"
#include "toolkit/core/CPaintManagerUI.h"

std::string CSelectPanelUI::GetClass() const { return kSelectPanelClass; }

void CSelectPanelUI::DoEvent(TEventUI& event) {
  CVerticalLayoutUI::DoEvent(event);
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
      // Presses on a key button reach the button; only the panel's own gaps start a band.
      if (event.pSender == this && IsEnabled()) {
        m_pressed = true;
        m_startPoint = event.ptMouse;
      }
      break;
    case UIEVENT_MOUSEMOVE:
      if (m_pressed) m_dragging = true;
      if (m_dragging) {
        m_currentPoint = event.ptMouse;
        m_selectionRect = {std::min(m_startPoint.x, m_currentPoint.x), std::min(m_startPoint.y, m_currentPoint.y),
                           std::max(m_startPoint.x, m_currentPoint.x), std::max(m_startPoint.y, m_currentPoint.y)};
        NeedUpdate();
      }
      break;
    case UIEVENT_BUTTONUP:
      m_pressed = false;
      if (m_dragging) {
        m_dragging = false;
        ApplyBand();
        NeedUpdate();
        if (m_pManager) m_pManager->SendNotify(this, kClickSelectEnd);
      }
      break;
    default:
      break;
  }
}

void CSelectPanelUI::ApplyBand() {
  for (CControlUI* child : m_items) {
    if (child->GetClass() != kDeviceKeyButtonClass) continue;
    bool touched = m_selectionRect.Intersects(child->GetPos());
    static_cast<CDeviceKeyButtonUI*>(child)->SetBandSelected(touched ? 1 : 0);
  }
}
