#pragma once
// An option used as a check box: a toggle with no group.
#include "toolkit/controls/COptionUI.h"

inline constexpr const char* DUI_CTR_CHECKBOX = "CheckBox";

class CCheckBoxUI : public COptionUI {
 public:
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check, bool triggerEvent = true) { Selected(check, triggerEvent); }
};
