#pragma once
// The narrow view of the profile list that the store drives: the profile
// panel's combo box and its name field. The toolkit's combo implements it; the
// store keeps it in step with "ProfileList.ini".
#include <string>

namespace koru {

class ProfileListView {
 public:
  virtual ~ProfileListView() = default;
  virtual int Count() const = 0;
  virtual std::string ItemText(int index) const = 0;
  virtual void AppendItem(const std::string& text) = 0;
  // The toolkit's combo then selects a neighbour itself and reports it.
  virtual void RemoveItem(int index) = 0;
  virtual void SetItemText(int index, const std::string& text) = 0;
  virtual void Clear() = 0;
  virtual int SelectedIndex() const = 0;  // -1: none
  virtual void SelectItem(int index, bool notify) = 0;
  // The name field beside the combo.
  virtual void ShowName(const std::string& name) = 0;
};

}  // namespace koru
