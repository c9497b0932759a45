#pragma once
// The main window's device strip: for every device model that has been seen,
// a page in "device_switch", a power indicator in "device_power_switch" and a
// tab item in "device_select_layout". Device events open and close the page's
// channel and show or remove its tab; a device reached by cable and by
// receiver at once uses the cable.
//
// Threads: everything runs on the user-interface thread (the scanner's events
// arrive there as synchronous messages).
#include <memory>
#include <optional>
#include <vector>

#include "app/DevicePageAdapter.h"
#include "app/IDeviceStrip.h"
#include "catalogue/InterfaceSlot.h"

class CMainWnd;
class CContainerUI;
class CDeviceOptionUI;
class CKestroUSBDevice;
class CMpDevicePowerUI;

class CDeviceStrip : public IDeviceStrip {
 public:
  // The window's controls are looked up when the first device comes, so the
  // strip may be made before the window's markup is built.
  explicit CDeviceStrip(CMainWnd& window);
  ~CDeviceStrip() override;

  IDevicePage* SelectedPage() override;
  int CountVisibleTabs() const override;
  void OnInterfaceAttached(int slot) override;
  void OnInterfaceDetached(int slot) override;
  void ShowTab(int index, bool show) override;

  // The page of a device kind (cable kinds), or null before its first attach.
  CKestroUSBDevice* PageOfKind(int kind) const;

 private:
  struct Device {
    int cableRow = -1;  // DeviceInterfaceTable row of the cable command interface
    CKestroUSBDevice* page = nullptr;
    CDeviceOptionUI* item = nullptr;
    CMpDevicePowerUI* indicator = nullptr;
    std::unique_ptr<CDevicePageAdapter> adapter;
  };

  Device* Find(int cableRow);
  Device* Create(int commandRow, int cableRow);
  void AttachCommand(int slot, const InterfaceSlot& record, Device& device);
  void DetachCommand(const InterfaceSlot& record, Device& device);
  // Moves the channel to the cable (toCable) or to the receiver on `path`.
  void SwitchConnection(Device& device, bool toCable, const std::string& path);
  // The other path's slot when it is connected and points back to `slot`.
  std::optional<InterfaceSlot> ConnectedTwin(int slot, const InterfaceSlot& record) const;
  void Show(Device& device);
  void Remove(Device& device);
  CContainerUI* Container(const char* name) const;

  CMainWnd& window_;
  std::vector<Device> devices_;
};
