#pragma once
// The container of a device picture's key buttons. Dragging on the panel
// itself (not on a button) spans a rubber band; when the drag ends every key
// button directly inside the panel is marked band-selected or not, and the
// panel sends "click_select_end". The band itself is not drawn.
#include "toolkit/layout/CVerticalLayoutUI.h"

inline constexpr const char* kSelectPanelClass = "SelectPanel";
inline constexpr const char* kClickSelectEnd = "click_select_end";

class CSelectPanelUI : public CVerticalLayoutUI {
 public:
  std::string GetClass() const override;
  void DoEvent(TEventUI& event) override;

  bool IsDragging() const { return m_dragging; }
  // The band of the current or last drag, normalised (left <= right, top <= bottom).
  const UIRect& GetSelectionRect() const { return m_selectionRect; }

 private:
  void ApplyBand();

  bool m_pressed = false;
  bool m_dragging = false;
  UIPoint m_startPoint;
  UIPoint m_currentPoint;
  UIRect m_selectionRect;
};
