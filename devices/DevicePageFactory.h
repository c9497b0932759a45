#pragma once
// Making device pages: the markup tags of the page classes, and a page set up
// for a row of the device catalogue as the main window needs it.
//
// The main window builds a page from its markup (the root tag names the
// class, so the tags must be registered first), then calls SetUpDevicePage,
// which configures it in the order the page expects and binds its picture.
#include "toolkit/window/WindowTypes.h"

class CControlUI;
class CKestroUSBDevice;
class CMpDevicePowerUI;

// "KestroUSBDevice", "KestroKeyboardDevice", "KestroMouseDevice",
// "KestroMousePadDevice", "KestroHS6533Device". Idempotent.
void RegisterDevicePageClasses();

// A new page of a device kind (receiver kinds give the page of their cable
// kind); null for a kind without a page.
CKestroUSBDevice* CreateDevicePage(int kind);

// The page a control built from page markup is, or null.
CKestroUSBDevice* AsDevicePage(CControlUI* control);

// Configures the page for interface row `row` of DeviceInterfaceTable (a
// receiver row stands for its cable twin) from the model and page tables:
// window, markup name, key and light counts, model row, battery, power
// indicator, identity, kind, device folder and light library name; then
// InitDevicePage. False, and nothing changed, when the row has no model.
bool SetUpDevicePage(CKestroUSBDevice& page, int row, HWND window, CMpDevicePowerUI* powerControl);
