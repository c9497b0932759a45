#pragma once
// The controls of a popup menu's markup: <Menu> holds the items one under the
// other, <MenuElement> is one command (its name is the command).
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

class CMenuUI : public CVerticalLayoutUI {
 public:
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
};

class CMenuElementUI : public CButtonUI {
 public:
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
};
