#pragma once
// Makes the custom controls known to the toolkit's control factory, so markup
// creates them by tag: "DeviceKeyButton", "SelectPanel", "HandImgButton",
// "HandImgSelectButton", "RedioMacroButton", and "DeviceOption" and
// "MpDevicePower" (each built with its own markup inside). Call once at start,
// before any markup is built; calling again changes nothing.
void RegisterDeviceControls();
