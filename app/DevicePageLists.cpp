#include "app/DevicePageLists.h"

#include "catalogue/InterfaceSlot.h"

namespace {

void Append(std::vector<IDevicePage*>& to, const std::vector<IDevicePage*>& from) {
  to.insert(to.end(), from.begin(), from.end());
}

}  // namespace

void CDevicePageLists::Add(IDevicePage* page) {
  if (page == nullptr) return;
  std::lock_guard lock(mutex_);
  switch (page->PageKind()) {
    case kKindKeyboard: keyboards_.push_back(page); break;
    case kKindMouse: mice_.push_back(page); break;
    case kKindMousePad: mousePads_.push_back(page); break;
    default: headsets_.push_back(page); break;
  }
}

std::vector<IDevicePage*> CDevicePageLists::Mice() const {
  std::lock_guard lock(mutex_);
  return mice_;
}

std::vector<IDevicePage*> CDevicePageLists::Keyboards() const {
  std::lock_guard lock(mutex_);
  return keyboards_;
}

std::vector<IDevicePage*> CDevicePageLists::MousePads() const {
  std::lock_guard lock(mutex_);
  return mousePads_;
}

std::vector<IDevicePage*> CDevicePageLists::Headsets() const {
  std::lock_guard lock(mutex_);
  return headsets_;
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
