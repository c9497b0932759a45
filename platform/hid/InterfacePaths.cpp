#include "platform/hid/InterfacePaths.h"

#include <algorithm>

#include "platform/hid/HidParser.h"

namespace koru::hid {

void AppendInterfacePaths(const UsbHidInterface& usb, std::vector<InterfaceInfo>& out) {
    std::vector<TopLevelCollection> collections;
    if (!ParseReportDescriptor(usb.reportDescriptor, collections)) collections.clear();
    const size_t count = std::max<size_t>(collections.size(), 1);
    for (size_t i = 0; i < count; ++i) {
        InterfaceInfo info;
        info.vendorId = usb.vendorId;
        info.productId = usb.productId;
        info.versionNumber = usb.versionNumber;
        info.interfaceNumber = usb.interfaceNumber;
        info.collectionNumber = count > 1 ? static_cast<int>(i + 1) : 0;
        info.reportDescriptor = usb.reportDescriptor;
        info.path = MakeInterfacePath(usb.vendorId, usb.productId, usb.interfaceNumber,
                                      usb.multipleInterfaces, info.collectionNumber, usb.instance);
        out.push_back(std::move(info));
    }
}

bool CollectionFilter::Accepts(uint8_t reportId) const {
    if (all) return true;
    if (!usesReportIds) return reportId == 0;
    return std::find(reportIds.begin(), reportIds.end(), reportId) != reportIds.end();
}

CollectionFilter FilterForCollection(const std::vector<uint8_t>& reportDescriptor,
                                     int collectionNumber) {
    CollectionFilter filter;
    std::vector<TopLevelCollection> collections;
    if (!ParseReportDescriptor(reportDescriptor, collections)) return filter;
    if (!collections.empty()) {
        filter.usesReportIds = false;
        for (const auto& c : collections) {
            for (uint8_t id : c.preparsed->ReportIds()) {
                if (id != 0) filter.usesReportIds = true;
            }
        }
    }
    if (collections.size() <= 1 || collectionNumber <= 0 ||
        collectionNumber > static_cast<int>(collections.size())) {
        return filter;
    }
    filter.all = false;
    filter.reportIds = collections[collectionNumber - 1].preparsed->ReportIds();
    return filter;
}

std::string PathInstance(const std::string& path) {
    const size_t first = path.find('#');
    if (first == std::string::npos) return {};
    const size_t second = path.find('#', first + 1);
    if (second == std::string::npos) return {};
    const size_t third = path.find('#', second + 1);
    return path.substr(second + 1, third == std::string::npos ? std::string::npos : third - second - 1);
}

}  // namespace koru::hid
