#pragma once
// A button with a selected state: a radio button when it belongs to a group
// (at most one selected per group), a toggle otherwise. It may be bound to a
// tab layout page, which it shows when selected.
#include "toolkit/controls/CButtonUI.h"

inline constexpr const char* DUI_CTR_OPTION = "Option";

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  ~COptionUI() override;
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true) override;
  bool Activate() override;

  const std::string& GetGroup() const { return m_sGroupName; }
  void SetGroup(std::string_view group);
  bool IsSelected() const { return m_bSelected; }
  // The notifying form sends "selectchanged" (for this option and for the group
  // member it unselects) and lets a bound tab notify; the silent form sends nothing.
  virtual void Selected(bool selected, bool triggerEvent = true);

  const std::string& GetSelectedImage() const { return m_sSelectedImage; }
  void SetSelectedImage(std::string_view image);
  const std::string& GetSelectedHotImage() const { return m_sSelectedHotImage; }
  void SetSelectedHotImage(std::string_view image);
  const std::string& GetSelectedForeImage() const { return m_sSelectedForeImage; }
  void SetSelectedForeImage(std::string_view image);
  UIColor GetSelectedBkColor() const { return m_dwSelectedBkColor; }
  void SetSelectedBkColor(UIColor color);
  UIColor GetSelectedTextColor() const { return m_dwSelectedTextColor; }
  void SetSelectedTextColor(UIColor color);

  void SetAttribute(std::string_view name, std::string_view value) override;
  void PaintBkColor(QPainter& painter) override;
  void PaintStatusImage(QPainter& painter) override;
  void PaintForeImage(QPainter& painter) override;

 protected:
  UIColor GetStateTextColor() const override;

  bool m_bSelected = false;
  std::string m_sGroupName;
  std::string m_sSelectedImage;
  std::string m_sSelectedHotImage;
  std::string m_sSelectedPushedImage;
  std::string m_sSelectedForeImage;
  std::string m_sSelectedDisabledImage;
  UIColor m_dwSelectedBkColor = 0;
  UIColor m_dwSelectedTextColor = 0;
};
