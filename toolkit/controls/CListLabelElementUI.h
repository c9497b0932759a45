#pragma once
// A list row showing one text.
#include "toolkit/controls/CLabelUI.h"
#include "toolkit/controls/IListItemUI.h"

inline constexpr const char* DUI_CTR_LISTLABELELEMENT = "ListLabelElement";

class CListLabelElementUI : public CLabelUI, public IListItemUI {
 public:
  CListLabelElementUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  bool Activate() override;
  UISize EstimateSize(UISize available) override;
  void DoEvent(TEventUI& event) override;
  void PaintBkColor(QPainter& painter) override;
  void PaintText(QPainter& painter) override;

 protected:
  CControlUI* AsControl() override { return this; }
};
