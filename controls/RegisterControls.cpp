#include "controls/RegisterControls.h"

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CDeviceOptionUI.h"
#include "controls/CHandImgButtonUI.h"
#include "controls/CHandImgSelectButtonUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "controls/CRedioMacroButtonUI.h"
#include "controls/CSelectPanelUI.h"
#include "toolkit/markup/CControlFactory.h"

namespace {

template <class T>
CControlUI* CreateWithContent() {
  auto* control = new T;
  // A tag without its markup would be an empty item: the caller gets none then.
  if (!control->BuildContent()) {
    delete control;
    return nullptr;
  }
  return control;
}

}  // namespace

void RegisterDeviceControls() {
  CControlFactory* factory = CControlFactory::GetInstance();
  DUI_REGISTER_CONTROL(kDeviceKeyButtonClass, CDeviceKeyButtonUI);
  DUI_REGISTER_CONTROL(kSelectPanelClass, CSelectPanelUI);
  DUI_REGISTER_CONTROL(kHandImgButtonClass, CHandImgButtonUI);
  DUI_REGISTER_CONTROL(kHandImgSelectButtonClass, CHandImgSelectButtonUI);
  DUI_REGISTER_CONTROL(kRedioMacroButtonClass, CRedioMacroButtonUI);
  factory->RegistControl(kDeviceOptionClass, &CreateWithContent<CDeviceOptionUI>);
  factory->RegistControl(kMpDevicePowerClass, &CreateWithContent<CMpDevicePowerUI>);
}
