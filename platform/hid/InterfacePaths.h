#pragma once
// How a USB HID interface becomes the paths the program sees: one path per
// top-level collection when the interface has several (the "&colNN" form),
// numbered from 01 in descriptor order; "&mi_NN" only when the USB device has
// more than one interface. Both backends name their interfaces this way.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace koru::hid {

struct UsbHidInterface {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t versionNumber = 0;
    int interfaceNumber = -1;
    bool multipleInterfaces = false;
    std::string instance;  // the unique part of the path: "hidraw3", "koru-virtual&2&01"
    std::vector<uint8_t> reportDescriptor;
};

void AppendInterfacePaths(const UsbHidInterface& usb, std::vector<InterfaceInfo>& out);

// The report IDs that belong to one collection of an interface (collection 0: the
// interface as a whole). `all` is set when every report is to be passed, i.e. the
// interface has a single collection or its descriptor could not be parsed.
struct CollectionFilter {
    bool all = true;
    bool usesReportIds = false;
    std::vector<uint8_t> reportIds;
    bool Accepts(uint8_t reportId) const;
};
CollectionFilter FilterForCollection(const std::vector<uint8_t>& reportDescriptor,
                                     int collectionNumber);

// The instance part of a path (between the second '#' and the next one), or "".
std::string PathInstance(const std::string& path);

}  // namespace koru::hid
