#pragma once
// An item of the main window's device strips (tab item, power indicator) that
// builds its own markup into itself. Activating it tells the window's
// listeners with "selectchanged" from the item.
#include <string_view>

#include "toolkit/layout/CHorizontalLayoutUI.h"

class IDialogBuilderCallback;

class CMarkupItemUI : public CHorizontalLayoutUI {
 public:
  // Adds the markup's tree (the item's own markup when none is named) as the
  // item's content and takes its fixed size where the item has none; false
  // (and nothing added) when it cannot be built.
  bool BuildContent(std::string_view markup = {}, IDialogBuilderCallback* callback = nullptr);
  bool Activate() override;

  // The device kind (the catalogue's code) and variant the item stands for.
  virtual void SetKind(int kind, int variant);
  int GetKind() const { return m_kind; }
  int GetVariant() const { return m_variant; }

 protected:
  // ownMarkup: a skin path that outlives the item.
  explicit CMarkupItemUI(std::string_view ownMarkup) : m_ownMarkup(ownMarkup) {}

  int m_kind = 0;
  int m_variant = 0;

 private:
  std::string_view m_ownMarkup;
};
