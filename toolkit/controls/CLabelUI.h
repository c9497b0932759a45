#pragma once
// Text in a rectangle: font slot, colours, alignment, padding, ellipsis and wrapping.
#include "toolkit/core/CControlUI.h"

inline constexpr const char* DUI_CTR_LABEL = "Label";

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  unsigned GetTextStyle() const { return m_uTextStyle; }
  void SetTextStyle(unsigned style);
  UIColor GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(UIColor color);
  UIColor GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(UIColor color);
  int GetFont() const { return m_iFont; }
  void SetFont(int index);
  const UIRect& GetTextPadding() const { return m_rcTextPadding; }
  void SetTextPadding(const UIRect& rc);
  bool IsAutoCalcWidth() const { return m_bAutoCalcWidth; }
  void SetAutoCalcWidth(bool on);
  void SetText(std::string_view text) override;

  UISize EstimateSize(UISize available) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintText(QPainter& painter) override;

 protected:
  // The text colour for the current state; derived controls add hot, pushed and selected colours.
  virtual UIColor GetStateTextColor() const;
  void DrawLabelText(QPainter& painter, const std::string& text, UIColor color);

  unsigned m_uTextStyle = UI_TEXT_VCENTER | UI_TEXT_SINGLELINE;
  UIColor m_dwTextColor = 0;
  UIColor m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  UIRect m_rcTextPadding;
  bool m_bAutoCalcWidth = false;
};
