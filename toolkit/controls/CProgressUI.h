#pragma once
// A bar filled from min to value: the fore image (or fore colour) is drawn
// over the filled part.
#include "toolkit/controls/CLabelUI.h"

inline constexpr const char* DUI_CTR_PROGRESS = "Progress";

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal = true);
  int GetMinValue() const { return m_nMin; }
  void SetMinValue(int min);
  int GetMaxValue() const { return m_nMax; }
  void SetMaxValue(int max);
  int GetValue() const { return m_nValue; }
  // Values are kept inside min..max.
  virtual void SetValue(int value);
  UIColor GetForeColor() const { return m_dwForeColor; }
  void SetForeColor(UIColor color);

  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintForeImage(QPainter& painter) override;

 protected:
  // The filled part of the bar for the current value.
  UIRect FilledRect() const;

  bool m_bHorizontal = true;
  bool m_bStretchForeImage = true;
  int m_nMin = 0;
  int m_nMax = 100;
  int m_nValue = 0;
  UIColor m_dwForeColor = 0;
};
