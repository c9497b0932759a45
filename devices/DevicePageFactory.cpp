#include "devices/DevicePageFactory.h"

#include "catalogue/DeviceCatalogue.h"
#include "devices/CKestroHS6533Device.h"
#include "devices/CKestroKeyboardDevice.h"
#include "devices/CKestroMouseDevice.h"
#include "devices/CKestroMousePadDevice.h"
#include "toolkit/markup/CControlFactory.h"

void RegisterDevicePageClasses() {
  DUI_REGISTER_CONTROL("KestroUSBDevice", CKestroUSBDevice);
  DUI_REGISTER_CONTROL("KestroKeyboardDevice", CKestroKeyboardDevice);
  DUI_REGISTER_CONTROL("KestroMouseDevice", CKestroMouseDevice);
  DUI_REGISTER_CONTROL("KestroMousePadDevice", CKestroMousePadDevice);
  DUI_REGISTER_CONTROL("KestroHS6533Device", CKestroHS6533Device);
}

CKestroUSBDevice* CreateDevicePage(int kind) {
  switch (CableKindOf(static_cast<uint16_t>(kind))) {
    case kKindKeyboard: return new CKestroKeyboardDevice;
    case kKindMouse: return new CKestroMouseDevice;
    case kKindMousePad: return new CKestroMousePadDevice;
    case kKindHeadset: return new CKestroHS6533Device;
    default: return nullptr;
  }
}

CKestroUSBDevice* AsDevicePage(CControlUI* control) {
  return control != nullptr ? static_cast<CKestroUSBDevice*>(control->GetInterface("KestroUSBDevice")) : nullptr;
}

bool SetUpDevicePage(CKestroUSBDevice& page, int row, HWND window, CMpDevicePowerUI* powerControl) {
  const int model = FindModelOfInterfaceRow(row);
  if (model < 0) return false;
  InterfaceSlot identity = DeviceInterfaceTable[static_cast<size_t>(row)];
  if (IsReceiverKind(identity.kind) && identity.hasTwin != 0 && identity.twinIndex < DeviceInterfaceTable.size())
    identity = DeviceInterfaceTable[identity.twinIndex];
  identity.connected = 0;
  identity.path.clear();

  const DeviceModel& modelRow = DeviceModelTable[static_cast<size_t>(model)];
  const DevicePage& pageRow = DevicePageTable[static_cast<size_t>(model)];
  page.SetWindowHandle(window);
  page.SetPageXml(pageRow.pageFile);
  page.SetKeyCount(pageRow.keyCount);
  page.SetLightCount(pageRow.lightZoneCount);
  page.SetCatalogueIndex(model);
  page.SetHasBattery(pageRow.wireless);
  page.SetPowerControl(powerControl);
  page.SetDeviceRecord(identity);
  page.SetDeviceFolder(modelRow.typeName);
  page.SetLightSetIndex(0);
  page.SetLightLibraryName(pageRow.lightSettingsName);
  page.InitDevicePage();
  return true;
}
