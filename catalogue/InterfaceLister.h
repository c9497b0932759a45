#pragma once
// Lists the paths of every HID backend, as CHidDevice::Enumerate does, but asks
// the hidraw backend again only when its udev watch saw a change (or at a slow
// safety interval): a hidraw listing reads sysfs for every node, ten times a
// second otherwise. Other backends (the in-process bus) are asked every time.
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/hid/HidBackend.h"

namespace koru {

class UdevChangeWatch;

class InterfaceLister {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSafetyInterval{2000};

    InterfaceLister();
    ~InterfaceLister();
    InterfaceLister(const InterfaceLister&) = delete;
    InterfaceLister& operator=(const InterfaceLister&) = delete;

    // Replaces `paths` with the present paths, in backend order. False (and an
    // empty list) when a backend could not be asked.
    bool List(std::vector<std::string>& paths);

private:
    struct Source;
    void Follow(const std::vector<std::shared_ptr<hid::Backend>>& backends);
    std::vector<Source> sources_;
};

}  // namespace koru
