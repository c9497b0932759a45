#pragma once
#include "toolkit/core/CContainerUI.h"

inline constexpr const char* DUI_CTR_HORIZONTALLAYOUT = "HorizontalLayout";

class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  void SetPos(const UIRect& rc, bool needInvalidate = true) override;
};
