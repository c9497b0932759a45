#pragma once
// An item of the main window's device strips (tab item, power indicator) that
// builds its own markup into itself. Activating it tells the window's
// listeners with "selectchanged" from the item.
#include <string_view>

#include "toolkit/layout/CHorizontalLayoutUI.h"

class IDialogBuilderCallback;

class CMarkupItemUI : public CHorizontalLayoutUI {
 public:
  // Adds the markup's tree as the item's content and takes its fixed size
  // where the item has none; false (and nothing added) when it cannot be built.
  bool BuildContent(std::string_view markup, IDialogBuilderCallback* callback = nullptr);
  bool Activate() override;
};
