#pragma once
// The device tab strip as the main window sees it: which page is selected,
// how many tabs show, and the device events it turns into pages and tabs.
// The strip with its tab items and power indicators implements it; until a
// device has a page, CEmptyDeviceStrip stands in and shows no tab.
class IDevicePage;

class IDeviceStrip {
 public:
  virtual ~IDeviceStrip() = default;
  // The page of the first visible selected tab; null when there is none.
  virtual IDevicePage* SelectedPage() = 0;
  virtual int CountVisibleTabs() const = 0;
  // On the user-interface thread, with the slot list as the scanner left it.
  virtual void OnInterfaceAttached(int slot) = 0;
  virtual void OnInterfaceDetached(int slot) = 0;
  // Message 0x0D03: show (true) or remove a tab.
  virtual void ShowTab(int index, bool show) = 0;
};

class CInterfaceSlotList;

// No pages yet: device events are traced, no tab is ever shown.
class CEmptyDeviceStrip : public IDeviceStrip {
 public:
  explicit CEmptyDeviceStrip(const CInterfaceSlotList& slots);
  IDevicePage* SelectedPage() override { return nullptr; }
  int CountVisibleTabs() const override { return 0; }
  void OnInterfaceAttached(int slot) override;
  void OnInterfaceDetached(int slot) override;
  void ShowTab(int, bool) override {}

 private:
  const CInterfaceSlotList& slots_;
};
