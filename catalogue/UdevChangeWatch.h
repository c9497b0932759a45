#pragma once
// Tells whether hidraw nodes came, went or changed since the last question,
// from a udev monitor: one non-blocking poll per question, nothing read from
// sysfs while nothing happens.
#include <memory>

struct udev;
struct udev_monitor;

namespace koru {

class UdevChangeWatch {
public:
    // nullptr when no monitor can be set up; the caller then lists every time.
    static std::unique_ptr<UdevChangeWatch> Create();
    ~UdevChangeWatch();
    UdevChangeWatch(const UdevChangeWatch&) = delete;
    UdevChangeWatch& operator=(const UdevChangeWatch&) = delete;

    // True when anything arrived since the last call (events, or word that
    // events were lost). Drains what arrived.
    bool Changed();

private:
    UdevChangeWatch(struct udev* udev, struct udev_monitor* monitor, int fd);
    struct udev* udev_;
    struct udev_monitor* monitor_;
    int fd_;
};

}  // namespace koru
