#pragma once
// A colour picker: a hue and saturation field over a brightness bar. A press
// or drag picks a colour; "colorchanged" is sent when the button is released.
#include "toolkit/core/CControlUI.h"

inline constexpr const char* DUI_CTR_COLORPALETTE = "ColorPalette";

class CColorPaletteUI : public CControlUI {
 public:
  CColorPaletteUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  // ARGB with an opaque alpha. Setting it from code sends nothing.
  UIColor GetSelectColor() const;
  void SetSelectColor(UIColor color);
  int GetPalletHeight() const { return m_nPalletHeight; }
  void SetPalletHeight(int height);
  int GetBarHeight() const { return m_nBarHeight; }
  void SetBarHeight(int height);
  UIRect GetPalletRect() const;
  UIRect GetBarRect() const;

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintStatusImage(QPainter& painter) override;

 private:
  void PickAt(UIPoint pt);

  // Hue 0..359, saturation and value 0..255.
  int m_nHue = 0;
  int m_nSaturation = 0;
  int m_nValue = 255;
  int m_nPalletHeight = 0;  // 0: the field takes what the bar leaves
  int m_nBarHeight = 12;
  enum class Drag { None, Pallet, Bar } m_drag = Drag::None;
};
