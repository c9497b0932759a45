#pragma once
// The static tables of the supported devices: their HID interfaces, the page,
// tab item and indicator of each model, the page parameters, and the firmware
// list. Data only: the scanner, the pages, the udev rules and the tests all
// read these same definitions.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "catalogue/InterfaceSlot.h"

constexpr size_t kInterfaceRowCount = 11;
constexpr size_t kModelRowCount = 4;

// Its row index is the slot index everywhere.
extern const std::array<InterfaceSlot, kInterfaceRowCount> DeviceInterfaceTable;

// Profile types handed to the pages.
constexpr int kProfileKeyboard = 0;
constexpr int kProfileMouse = 1;
constexpr int kProfileMousePad = 2;
constexpr int kProfileHeadset = 3;

struct DeviceModel {
    std::string_view tabItemFile;
    std::string_view optionGroup;
    std::string_view powerLayout;  // tab layout that holds the power indicators
    std::string_view typeName;
    int profileType = 0;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t kind = 0;
    uint16_t variant = 0;  // role of the command row; the pad's icon set on the tab item
};

inline constexpr std::array<DeviceModel, kModelRowCount> DeviceModelTable{{
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch",
     "mouse", kProfileMouse, 0x320F, 0x50EF, kKindMouse, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch",
     "keyboard", kProfileKeyboard, 0x320F, 0x5055, kKindKeyboard, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch",
     "MousePad", kProfileMousePad, 0x320F, 0x1004, kKindMousePad, 0},
    {"XML\\CustomControlXML\\DeviceOption.xml", "tab_header_device", "device_power_switch",
     "HD", kProfileHeadset, 0x0C76, 0x1630, kKindHeadset, 0},
}};

// Indexed like DeviceModelTable.
struct DevicePage {
    int lightZoneCount = 0;  // "light_" controls and per-zone light tables
    int keyCount = 0;        // "key_" controls
    bool wireless = false;   // shows a battery and polls the power status
    int defaultColourIndex = -1;
    std::string_view pageFile;
    std::string_view lightSettingsName;
};

inline constexpr std::array<DevicePage, kModelRowCount> DevicePageTable{{
    {15, 11, true, -1, "XML\\DeviceXml\\mousedevice.xml", "morva_light"},
    {170, 170, true, -1, "XML\\DeviceXml\\keyboarddevice.xml", "morva_light"},
    {15, 0, false, -1, "XML\\DeviceXml\\mousepaddevice.xml", "morva_light"},
    {13, 0, false, -1, "XML\\DeviceXml\\hs6533device.xml", "morva_light"},
}};

// Indexed like DeviceModelTable, plus the application's own row last. The
// settings window works on a copy whose version numbers and path flags are filled in.
struct FirmwareListEntry {
    int updateType = 0;
    int pathFlag = 0;
    uint32_t versionNumber = 0;
    std::string_view vendorLabel;
    std::string_view modelCode;
    std::string_view displayName;
    std::string_view updateName;
    std::string_view versionText;
};

inline constexpr std::array<FirmwareListEntry, kModelRowCount> FirmwareListTable{{
    {1, 1, 0, "MORVA", "QT40M21C", "MS", "MS", ""},
    {1, 1, 0, "MORVA", "QT40M22C", "KORU7315", "KORU7315", ""},
    {2, 1, 0, "MORVA", "QT40M27C_1", "R61", "R61", ""},
    {0, 1, 0, "MORVA", "ALL", "KORU7315", "AP", "V1000"},
}};

// The model row of (vendor, product, kind, variant); first match, -1 when none.
int FindModel(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t variant);
// The first interface row of (vendor, product, kind, role); -1 when none.
int FindInterfaceRow(uint16_t vendorId, uint16_t productId, uint16_t kind, uint16_t role);
// The model row that serves an interface row: a receiver row is looked up
// through its twin's cable identity. -1 for a bad row or no model.
int FindModelOfInterfaceRow(int row);
// True when (vendor, product) is one of the catalogue's USB devices.
bool IsCatalogueProduct(uint16_t vendorId, uint16_t productId);
