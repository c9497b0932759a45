#pragma once
// A list row that holds other controls laid out in a row.
#include "toolkit/controls/IListItemUI.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"

inline constexpr const char* DUI_CTR_LISTCONTAINERELEMENT = "ListContainerElement";

class CListContainerElementUI : public CHorizontalLayoutUI, public IListItemUI {
 public:
  CListContainerElementUI();
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  bool Activate() override;
  UISize EstimateSize(UISize available) override;
  void DoEvent(TEventUI& event) override;
  void PaintBkColor(QPainter& painter) override;

 protected:
  CControlUI* AsControl() override { return this; }
};
