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

  // The pages of one kind (1 keyboard, 2 mouse, 3 mouse pad, 7 headset).
  std::vector<IDevicePage*> OfKind(int kind) const;
  // Mice, keyboards, mouse pads, headsets.
  std::vector<IDevicePage*> All() const;
  // Keyboards first, then mice, mouse pads and headsets: the order pages join
  // synchronised lighting.
  std::vector<IDevicePage*> KeyboardsFirst() const;
  // The pages whose lighting this program may drive: mice, mouse pads, keyboards.
  std::vector<IDevicePage*> LightingPages() const;

 private:
  mutable std::mutex mutex_;
  template <class Self>
  static auto& ListOf(Self& self, int kind);
  // In the order the lists are walked everywhere: mice, keyboards, mouse pads, headsets.
  std::vector<IDevicePage*> mice_;
  std::vector<IDevicePage*> keyboards_;
  std::vector<IDevicePage*> mousePads_;
  std::vector<IDevicePage*> headsets_;
};
