#pragma once
// The main window's pages by kind, each list in creation order. The
// user-interface thread adds pages; the synchronised-lighting thread reads a
// copy, so it never walks a list while a page joins it.
#include <mutex>
#include <vector>

#include "app/IDevicePage.h"

class CDevicePageLists {
 public:
  // Pages live as long as the main window; the lists do not own them.
  void Add(IDevicePage* page);

  std::vector<IDevicePage*> Mice() const;
  std::vector<IDevicePage*> Keyboards() const;
  std::vector<IDevicePage*> MousePads() const;
  std::vector<IDevicePage*> Headsets() const;
  // Mice, keyboards, mouse pads, headsets.
  std::vector<IDevicePage*> All() const;
  // Keyboards first, then mice, mouse pads and headsets: the order pages join
  // synchronised lighting.
  std::vector<IDevicePage*> KeyboardsFirst() const;
  // The pages whose lighting this program may drive: mice, mouse pads, keyboards.
  std::vector<IDevicePage*> LightingPages() const;

 private:
  mutable std::mutex mutex_;
  std::vector<IDevicePage*> mice_;
  std::vector<IDevicePage*> keyboards_;
  std::vector<IDevicePage*> mousePads_;
  std::vector<IDevicePage*> headsets_;
};
