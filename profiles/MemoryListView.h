#pragma once
// A profile list view without a window: for the command-line tool, tests and
// benchmarks. Like the toolkit's combo, removing the selected item selects a
// neighbour.
#include "profiles/ProfileListView.h"

#include <string>
#include <vector>

namespace koru {

class MemoryListView : public ProfileListView {
 public:
  int Count() const override { return static_cast<int>(items_.size()); }
  std::string ItemText(int index) const override { return items_.at(static_cast<size_t>(index)); }
  void AppendItem(const std::string& text) override { items_.push_back(text); }
  void RemoveItem(int index) override {
    items_.erase(items_.begin() + index);
    if (selected_ >= Count()) selected_ = Count() - 1;
  }
  void SetItemText(int index, const std::string& text) override { items_.at(static_cast<size_t>(index)) = text; }
  void Clear() override {
    items_.clear();
    selected_ = -1;
  }
  int SelectedIndex() const override { return selected_; }
  void SelectItem(int index, bool notify) override {
    selected_ = index;
    if (notify) ++notifications_;
  }
  void ShowName(const std::string& name) override { shownName_ = name; }

  const std::vector<std::string>& Items() const { return items_; }
  int Notifications() const { return notifications_; }
  const std::string& ShownName() const { return shownName_; }

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
  int notifications_ = 0;
  std::string shownName_;
};

}  // namespace koru
