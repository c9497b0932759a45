#include "app/DevicePageLists.h"

#include "catalogue/InterfaceSlot.h"

namespace {

void Append(std::vector<IDevicePage*>& to, const std::vector<IDevicePage*>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

template <class Self>
auto& CDevicePageLists::ListOf(Self& self, int kind) {
  switch (kind) {
    case kKindKeyboard: return self.keyboards_;
    case kKindMouse: return self.mice_;
    case kKindMousePad: return self.mousePads_;
    default: return self.headsets_;
  }
}

void CDevicePageLists::Add(IDevicePage* page) {
  if (page == nullptr) return;
  std::lock_guard lock(mutex_);
  ListOf(*this, page->PageKind()).push_back(page);
}

std::vector<IDevicePage*> CDevicePageLists::OfKind(int kind) const {
  std::lock_guard lock(mutex_);
  return ListOf(*this, kind);
}

std::vector<IDevicePage*> CDevicePageLists::All() const {
  std::lock_guard lock(mutex_);
  std::vector<IDevicePage*> pages = mice_;
  Append(pages, keyboards_);
  Append(pages, mousePads_);
  Append(pages, headsets_);
  return pages;
}

std::vector<IDevicePage*> CDevicePageLists::KeyboardsFirst() const {
  std::lock_guard lock(mutex_);
  std::vector<IDevicePage*> pages = keyboards_;
  Append(pages, mice_);
  Append(pages, mousePads_);
  Append(pages, headsets_);
  return pages;
}

std::vector<IDevicePage*> CDevicePageLists::LightingPages() const {
  std::lock_guard lock(mutex_);
  std::vector<IDevicePage*> pages = mice_;
  Append(pages, mousePads_);
  Append(pages, keyboards_);
  return pages;
}
