#include "catalogue/UdevChangeWatch.h"

#include <libudev.h>
#include <poll.h>
#include <unistd.h>

namespace koru {

std::unique_ptr<UdevChangeWatch> UdevChangeWatch::Create() {
    struct udev* udev = udev_new();
    if (!udev) return nullptr;
    // With the udev daemon running, its events come after the rules have set
    // the node's permissions, so a listing made then can open the node. Without
    // it, the kernel's own events are all there is.
    const char* source = access("/run/udev/control", F_OK) == 0 ? "udev" : "kernel";
    struct udev_monitor* monitor = udev_monitor_new_from_netlink(udev, source);
    if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor) >= 0) {
        const int fd = udev_monitor_get_fd(monitor);
        if (fd >= 0) return std::unique_ptr<UdevChangeWatch>(new UdevChangeWatch(udev, monitor, fd));
    }
    if (monitor) udev_monitor_unref(monitor);
    udev_unref(udev);
    return nullptr;
}

UdevChangeWatch::UdevChangeWatch(struct udev* udev, struct udev_monitor* monitor, int fd)
    : udev_(udev), monitor_(monitor), fd_(fd) {}

UdevChangeWatch::~UdevChangeWatch() {
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
}

bool UdevChangeWatch::Changed() {
    pollfd ready{fd_, POLLIN, 0};
    if (poll(&ready, 1, 0) <= 0) return false;
    // Whatever woke us (events, an overflow that lost some, an error), the
    // answer is the same: list again. Drain so that the next question starts clean.
    if (!(ready.revents & (POLLERR | POLLHUP | POLLNVAL))) {
        while (struct udev_device* device = udev_monitor_receive_device(monitor_))
            udev_device_unref(device);
    }
    return true;
}

}  // namespace koru
