#pragma once
// A clickable label with images for its normal, hot, pushed, focused and
// disabled states. A click ("click") is a press and a release inside.
#include "toolkit/controls/CLabelUI.h"

inline constexpr const char* DUI_CTR_BUTTON = "Button";

enum UIButtonState : unsigned {
  UISTATE_FOCUSED = 0x01,
  UISTATE_SELECTED = 0x02,
  UISTATE_DISABLED = 0x04,
  UISTATE_HOT = 0x08,
  UISTATE_PUSHED = 0x10,
  UISTATE_CAPTURED = 0x40,
};

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  bool Activate() override;
  void SetEnabled(bool enabled = true) override;
  unsigned GetButtonState() const { return m_uButtonState; }

  const std::string& GetNormalImage() const { return m_sNormalImage; }
  void SetNormalImage(std::string_view image);
  const std::string& GetHotImage() const { return m_sHotImage; }
  void SetHotImage(std::string_view image);
  const std::string& GetPushedImage() const { return m_sPushedImage; }
  void SetPushedImage(std::string_view image);
  const std::string& GetFocusedImage() const { return m_sFocusedImage; }
  void SetFocusedImage(std::string_view image);
  const std::string& GetDisabledImage() const { return m_sDisabledImage; }
  void SetDisabledImage(std::string_view image);
  const std::string& GetHotForeImage() const { return m_sHotForeImage; }
  void SetHotForeImage(std::string_view image);
  UIColor GetHotBkColor() const { return m_dwHotBkColor; }
  void SetHotBkColor(UIColor color);
  UIColor GetHotTextColor() const { return m_dwHotTextColor; }
  void SetHotTextColor(UIColor color);
  UIColor GetPushedTextColor() const { return m_dwPushedTextColor; }
  void SetPushedTextColor(UIColor color);
  UIColor GetFocusedTextColor() const { return m_dwFocusedTextColor; }
  void SetFocusedTextColor(UIColor color);

  // Clicking this button shows page `index` of the named tab layout.
  void BindTabIndex(int index) { m_iBindTabIndex = index; }
  void BindTabLayoutName(std::string_view name) { m_sBindTabLayoutName = name; }
  int GetBindTabLayoutIndex() const { return m_iBindTabIndex; }
  const std::string& GetBindTabLayoutName() const { return m_sBindTabLayoutName; }
  void BindTriggerTabSel(int index = -1, bool triggerEvent = true);

  void DoEvent(TEventUI& event) override;
  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintBkColor(QPainter& painter) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override;

 protected:
  UIColor GetStateTextColor() const override;

  unsigned m_uButtonState = 0;
  std::string m_sNormalImage;
  std::string m_sHotImage;
  std::string m_sPushedImage;
  std::string m_sFocusedImage;
  std::string m_sDisabledImage;
  std::string m_sHotForeImage;
  std::string m_sPushedForeImage;
  UIColor m_dwHotBkColor = 0;
  UIColor m_dwPushedBkColor = 0;
  UIColor m_dwHotTextColor = 0;
  UIColor m_dwPushedTextColor = 0;
  UIColor m_dwFocusedTextColor = 0;
  int m_iBindTabIndex = -1;
  std::string m_sBindTabLayoutName;
};
