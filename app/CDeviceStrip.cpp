#include "app/CDeviceStrip.h"

#include <mutex>
#include <string>

#include "app/CMainWnd.h"
#include "catalogue/DeviceCatalogue.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "devices/CKestroUSBDevice.h"
#include "devices/DevicePageFactory.h"
#include "platform/DebugOutput.h"
#include "protocol/DeviceCommands.h"
#include "toolkit/core/CContainerUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/markup/CDialogBuilder.h"
#include "toolkit/window/WindowRegistry.h"

namespace {

constexpr const char* kSelectLayout = "device_select_layout";
constexpr const char* kPageLayout = "device_switch";

void Trace(const std::string& line) {
  if (koru::DebugOutputEnabled()) koru::DebugOutput(line);
}

void TraceEvent(uint16_t kind, bool attached) {
  switch (CableKindOf(kind)) {
    case kKindKeyboard: Trace(attached ? "添加一个键盘设备" : "删除一个键盘设备"); break;
    case kKindMouse: Trace(attached ? "添加一个鼠标设备" : "删除一个鼠标设备"); break;
    case kKindMousePad:
    case kKindHeadset: Trace(attached ? "添加一个鼠标垫设备" : "删除一个鼠标垫设备"); break;
    default: break;
  }
}

// The cable command row that keys a device, for the command row of any of its
// paths; -1 when the row does not lead to one.
int CableRowOf(int commandRow) {
  if (commandRow < 0 || std::size_t(commandRow) >= DeviceInterfaceTable.size()) return -1;
  const InterfaceSlot& row = DeviceInterfaceTable[std::size_t(commandRow)];
  if (!IsReceiverKind(row.kind)) return commandRow;
  if (row.hasTwin == 0 || row.twinIndex >= DeviceInterfaceTable.size()) return -1;
  return int(row.twinIndex);
}

// Mice and keyboards change chunk size with the path; the pad and the headset keep theirs.
int ConnectionModeFor(uint16_t kind) {
  const uint16_t cable = CableKindOf(kind);
  if (cable != kKindKeyboard && cable != kKindMouse) return 0;
  return IsReceiverKind(kind) ? CDeviceChannel::kReceiverMode : CDeviceChannel::kCableMode;
}

}  // namespace

CDeviceStrip::CDeviceStrip(CMainWnd& window) : window_(window) {}

// The controls belong to the window's tree; only the adapters are ours.
CDeviceStrip::~CDeviceStrip() = default;

CContainerUI* CDeviceStrip::Container(const char* name) const {
  CControlUI* control = window_.GetPaintManager().FindControl(name);
  return control != nullptr ? static_cast<CContainerUI*>(control->GetInterface(DUI_CTR_CONTAINER)) : nullptr;
}

CDeviceStrip::Device* CDeviceStrip::Find(int cableRow) {
  for (Device& device : devices_)
    if (device.cableRow == cableRow) return &device;
  return nullptr;
}

CKestroUSBDevice* CDeviceStrip::PageOfKind(int kind) const {
  for (const Device& device : devices_)
    if (device.page->GetKind() == kind) return device.page;
  return nullptr;
}

IDevicePage* CDeviceStrip::SelectedPage() {
  for (Device& device : devices_)
    if (device.item->IsItemVisible() && device.item->IsSelected()) return device.adapter.get();
  return nullptr;
}

int CDeviceStrip::CountVisibleTabs() const {
  int visible = 0;
  for (const Device& device : devices_)
    if (device.item->IsItemVisible()) ++visible;
  return visible;
}

// ---------------------------------------------------------------------------
// Pages

CDeviceStrip::Device* CDeviceStrip::Create(int commandRow, int cableRow) {
  const int model = FindModelOfInterfaceRow(commandRow);
  CContainerUI* selectLayout = Container(kSelectLayout);
  CContainerUI* powerLayout = nullptr;
  CContainerUI* pageLayout = Container(kPageLayout);
  if (model >= 0) powerLayout = Container(std::string(DeviceModelTable[std::size_t(model)].powerLayout).c_str());
  if (model < 0 || selectLayout == nullptr || powerLayout == nullptr || pageLayout == nullptr) {
    Trace("no page for interface row " + std::to_string(commandRow));
    return nullptr;
  }
  const DeviceModel& modelRow = DeviceModelTable[std::size_t(model)];
  const DevicePage& pageRow = DevicePageTable[std::size_t(model)];
  CPaintManagerUI& manager = window_.GetPaintManager();

  // All three are built before any joins the window, so a missing file adds nothing.
  auto indicator = std::make_unique<CMpDevicePowerUI>();
  auto item = std::make_unique<CDeviceOptionUI>();
  CDialogBuilder builder;
  std::unique_ptr<CControlUI> built(builder.Create(pageRow.pageFile, &window_, &manager));
  CKestroUSBDevice* page = AsDevicePage(built.get());
  if (!indicator->BuildContent(kMpDevicePowerMarkup, &window_) || !item->BuildContent(modelRow.tabItemFile, &window_) ||
      page == nullptr || !SetUpDevicePage(*page, commandRow, window_.GetHWND(), indicator.get())) {
    Trace("device page could not be built: " + std::string(pageRow.pageFile));
    return nullptr;
  }

  const uint16_t kind = modelRow.kind;
  indicator->SetKind(kind, modelRow.variant);
  indicator->ShowBattery(pageRow.wireless);
  CMpDevicePowerUI* indicatorControl = indicator.release();
  powerLayout->Add(indicatorControl);
  built.release();
  pageLayout->Add(page);

  CDeviceOptionUI* itemControl = item.release();
  selectLayout->Add(itemControl);
  itemControl->SetGroup(modelRow.optionGroup);
  itemControl->SetKind(kind, modelRow.variant);
  itemControl->SetName(modelRow.typeName);
  itemControl->BindPage(kPageLayout, pageLayout->GetItemIndex(page));
  itemControl->SetPowerLayout(modelRow.powerLayout, powerLayout->GetItemIndex(indicatorControl));
  itemControl->SetPage(page);
  itemControl->SetIndicator(indicatorControl);
  HWND hwnd = window_.GetHWND();
  itemControl->SetShowTabRequest(
      [hwnd](int index, bool show) { ::PostMessage(hwnd, mainwnd::kShowDeviceTab, WPARAM(index), show ? 1 : 0); });
  itemControl->SetVisible(false);
  page->SetTabItem(itemControl);
  page->SetProfileName(modelRow.typeName);
  // A window started in the tray shows no picture until it is shown.
  page->SetPreviewActive(window_.IsVisible() ? 1 : 0);

  Device device;
  device.cableRow = cableRow;
  device.page = page;
  device.item = itemControl;
  device.indicator = indicatorControl;
  device.adapter = std::make_unique<CDevicePageAdapter>(*page);
  window_.Pages().Add(device.adapter.get());
  page->StartLightThread();
  devices_.push_back(std::move(device));
  return &devices_.back();
}

// ---------------------------------------------------------------------------
// Device events

void CDeviceStrip::OnInterfaceAttached(int slot) {
  const std::optional<InterfaceSlot> record = window_.Slots().Get(slot);
  if (!record) return;
  TraceEvent(record->kind, true);
  const int commandRow = FindInterfaceRow(record->vendorId, record->productId, record->kind, kRoleCommand);
  const int cableRow = CableRowOf(commandRow);
  if (cableRow < 0) return;
  Device* device = Find(cableRow);
  if (device == nullptr) device = Create(commandRow, cableRow);
  if (device == nullptr) return;

  const bool receiver = IsReceiverKind(record->kind);
  if (record->role == kRoleCommand) {
    AttachCommand(slot, *record, *device);
  } else if (!device->page->IsNotifyEndpointOpen(receiver)) {
    device->page->OpenNotifyEndpoint(receiver, record->path);
  }
}

std::optional<InterfaceSlot> CDeviceStrip::ConnectedTwin(int slot, const InterfaceSlot& record) const {
  if (record.hasTwin == 0) return std::nullopt;
  std::optional<InterfaceSlot> twin = window_.Slots().Get(int(record.twinIndex));
  if (!twin || twin->connected == 0 || twin->path.empty() || int(twin->twinIndex) != slot) return std::nullopt;
  return twin;
}

void CDeviceStrip::AttachCommand(int slot, const InterfaceSlot& record, Device& device) {
  const bool receiver = IsReceiverKind(record.kind);
  if (ConnectedTwin(slot, record)) {
    // Present on both paths: the cable wins, whichever came second.
    if (!receiver) SwitchConnection(device, true, record.path);
    return;
  }
  CKestroUSBDevice& page = *device.page;
  if (page.IsChannelOpen()) return;
  if (!page.OpenCommandEndpoint(receiver, record.path, ConnectionModeFor(record.kind)))
    Trace("command endpoint did not open: " + record.path);
  // A receiver's tab waits for the link check of the connect timer.
  if (!receiver) Show(device);
  device.item->ArmConnect();
}

void CDeviceStrip::OnInterfaceDetached(int slot) {
  const std::optional<InterfaceSlot> record = window_.Slots().Get(slot);
  if (!record) return;
  TraceEvent(record->kind, false);
  const int commandRow = FindInterfaceRow(record->vendorId, record->productId, record->kind, kRoleCommand);
  Device* device = Find(CableRowOf(commandRow));
  if (device == nullptr) return;
  if (record->role == kRoleCommand)
    DetachCommand(*record, *device);
  else
    device->page->CloseNotifyEndpoint(IsReceiverKind(record->kind));
}

void CDeviceStrip::DetachCommand(const InterfaceSlot& record, Device& device) {
  // The detached slot is free already, so its twin cannot point back through it.
  std::optional<InterfaceSlot> twin;
  if (record.hasTwin != 0) twin = window_.Slots().Get(int(record.twinIndex));
  const bool twinConnected = twin && twin->connected != 0 && !twin->path.empty();
  const bool receiver = IsReceiverKind(record.kind);
  if (!twinConnected) {
    if (CableKindOf(record.kind) == kKindMouse) Trace("鼠标设备丢失");
    device.page->CloseCommandEndpoint(false);
    device.page->CloseCommandEndpoint(true);
    Remove(device);
  } else if (!receiver) {
    SwitchConnection(device, false, twin->path);
  } else {
    // The cable carries the device; the receiver's endpoint is dead.
    std::lock_guard lock(device.page->Channel().ExchangeLock());
    device.page->Channel().ReceiverEndpoint().Close();
  }
}

void CDeviceStrip::SwitchConnection(Device& device, bool toCable, const std::string& path) {
  CKestroUSBDevice& page = *device.page;
  const bool receiver = !toCable;
  bool opened = false;
  {
    std::lock_guard lock(page.Channel().ExchangeLock());
    page.CloseCommandEndpoint(receiver);
    // Leaving the cable means it was unplugged: its endpoint is dead too.
    if (receiver) page.CloseCommandEndpoint(false);
    opened = page.OpenCommandEndpoint(receiver, path, receiver ? CDeviceChannel::kReceiverMode : CDeviceChannel::kCableMode);
  }
  if (!opened) {
    Trace("switching the device's path failed: " + path);
    Remove(device);
    return;
  }
  if (receiver) {
    // The link is asked once (inside the power read) rather than waited for
    // here: the link timer shows or hides the tab as it comes and goes.
    if (page.IsWirelessCapable()) page.UpdatePowerStatus();
    BeginSession(page.Channel());
    device.item->ArmLink(tabtimer::kLinkFirstMs);
    page.SyncWithDevice();
  } else {
    device.item->ArmConnect();
    Show(device);
    if (page.IsWirelessCapable()) page.UpdatePowerStatus();
  }
}

// ---------------------------------------------------------------------------
// Tabs

void CDeviceStrip::Show(Device& device) {
  const bool anyVisible = CountVisibleTabs() > 0;
  device.item->SetVisible(true);
  if (!anyVisible || SelectedPage() == nullptr) device.item->Select(true);
}

void CDeviceStrip::Remove(Device& device) {
  const bool wasSelected = device.item->IsSelected();
  device.item->SetVisible(false);
  if (!wasSelected) return;
  device.item->Select(false);
  for (Device& other : devices_) {
    if (other.item->IsItemVisible()) {
      other.item->Select(true);
      return;
    }
  }
}

void CDeviceStrip::ShowTab(int index, bool show) {
  CContainerUI* selectLayout = Container(kSelectLayout);
  if (selectLayout == nullptr) return;
  CControlUI* item = selectLayout->GetItemAt(index);
  for (Device& device : devices_) {
    if (device.item != item) continue;
    // A request posted by a timer before the device went arrives after it.
    if (show && !device.page->IsChannelOpen()) return;
    if (show && !device.item->IsItemVisible()) Show(device);
    if (!show && device.item->IsItemVisible()) Remove(device);
    return;
  }
}
