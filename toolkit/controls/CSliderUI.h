#pragma once
// A progress bar with a thumb the user drags. "valuechanged" follows a
// completed change (release, wheel, keys); "movevaluechanged" reports every
// step of a drag when the slider is asked to ("sendmove").
#include "toolkit/controls/CProgressUI.h"

inline constexpr const char* DUI_CTR_SLIDER = "Slider";

class CSliderUI : public CProgressUI {
 public:
  CSliderUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  int GetChangeStep() const { return m_nStep; }
  void SetChangeStep(int step) { m_nStep = std::max(1, step); }
  UISize GetThumbSize() const { return m_szThumb; }
  void SetThumbSize(UISize size);
  UIRect GetThumbRect() const;
  bool GetCanSendMove() const { return m_bSendMove; }
  void SetCanSendMove(bool on) { m_bSendMove = on; }
  // The value a press at `pt` (logical pixels) would set.
  int ValueFromPoint(UIPoint pt) const;

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintForeImage(QPainter& painter) override;

 private:
  void ChangeValue(int value, bool finished);

  int m_nStep = 1;
  UISize m_szThumb{10, 10};
  bool m_bSendMove = false;
  unsigned m_uThumbState = 0;
  std::string m_sThumbImage;
  std::string m_sThumbHotImage;
  std::string m_sThumbPushedImage;
  UIColor m_dwThumbColor = 0;
};
