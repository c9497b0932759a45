#pragma once
// Pages stacked on each other; only the selected one is visible.
#include "toolkit/core/CContainerUI.h"

inline constexpr const char* DUI_CTR_TABLAYOUT = "TabLayout";

class CTabLayoutUI : public CContainerUI {
 public:
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;
  int GetCurSel() const { return m_iCurSel; }
  // Shows page `index`; the notifying form sends "tabselect" (wParam new, lParam old).
  virtual bool SelectItem(int index, bool triggerEvent = true);
  bool SelectItem(CControlUI* control, bool triggerEvent = true);
  void SetAttribute(std::string_view name, std::string_view value) override;

 private:
  void ShowOnly(int index);
  int m_iCurSel = -1;
  int m_iInitSel = -1;  // "selectedid" of markup, applied once that page exists
};
