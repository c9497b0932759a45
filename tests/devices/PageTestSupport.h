#pragma once
// Building device pictures in code for the page tests, and a clock the tests
// move by hand.
#include <cstdint>
#include <string_view>

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "devices/CKestroUSBDevice.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/layout/CVerticalLayoutUI.h"

namespace koru::test {

// Adds a picture button named `name` with user data `data` to the panel.
inline CDeviceKeyButtonUI* AddButton(CContainerUI& panel, std::string_view name, std::string_view data = {}) {
  auto* button = new CDeviceKeyButtonUI;
  button->SetName(name);
  button->SetUserData(data);
  panel.Add(button);
  return button;
}

// A named container (or tab layout) with `pages` empty pages, added to the parent.
template <typename Container>
Container* AddContainer(CContainerUI& parent, std::string_view name, int pages = 0) {
  auto* container = new Container;
  container->SetName(name);
  for (int i = 0; i < pages; ++i) container->Add(new CControlUI);
  parent.Add(container);
  return container;
}

struct ManualClock {
  uint64_t now = 1000;
  CKestroUSBDevice::Clock Function() {
    return [this] { return now; };
  }
};

}  // namespace koru::test
