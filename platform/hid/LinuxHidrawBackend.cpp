#include "platform/hid/LinuxHidrawBackend.h"

#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <set>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace koru::hid {
namespace {

constexpr char kHidrawPrefix[] = "hidraw";
constexpr size_t kMaxDescriptorBytes = 4096;  // HID_MAX_DESCRIPTOR_SIZE
constexpr size_t kMaxReportBytes = 4096;

bool IsHidrawInstance(const std::string& instance) {
    if (instance.rfind(kHidrawPrefix, 0) != 0 || instance.size() == sizeof kHidrawPrefix - 1) {
        return false;
    }
    return std::all_of(instance.begin() + sizeof kHidrawPrefix - 1, instance.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

long HexAttribute(struct udev_device* device, const char* name, long fallback) {
    const char* text = device ? udev_device_get_sysattr_value(device, name) : nullptr;
    if (!text) return fallback;
    char* end = nullptr;
    long value = std::strtol(text, &end, 16);
    return end == text ? fallback : value;
}

class HidrawConnection : public Connection {
public:
    HidrawConnection(InterfaceInfo info, int fd, CollectionFilter filter, OpenMode mode)
        : info_(std::move(info)), fd_(fd), filter_(std::move(filter)), mode_(mode),
          cancel_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

    ~HidrawConnection() override {
        if (fd_ >= 0) close(fd_);
        if (cancel_ >= 0) close(cancel_);
    }

    const InterfaceInfo& Info() const override { return info_; }

    IoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs) override {
        if (fd_ < 0 || !mode_.read || buffer.empty()) return {IoStatus::Failed, 0};
        using Clock = std::chrono::steady_clock;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        // Reports without an ID arrive bare; the program expects an ID byte 0 in front.
        const size_t offset = filter_.usesReportIds ? 0 : 1;
        uint8_t report[kMaxReportBytes + 1];
        for (;;) {
            int wait = -1;
            if (timeoutMs != kInfiniteTimeout) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                wait = static_cast<int>(std::max<long long>(0, left.count()));
            }
            pollfd fds[2] = {{cancel_, POLLIN, 0}, {fd_, POLLIN, 0}};
            const int n = poll(fds, 2, wait);
            if (n < 0) {
                if (errno == EINTR) continue;
                return {IoStatus::Failed, 0};
            }
            if (fds[0].revents & POLLIN) return {IoStatus::Cancelled, 0};
            if (n == 0) return {IoStatus::TimedOut, 0};
            if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) return {IoStatus::Failed, 0};
            const ssize_t got = read(fd_, report + offset, kMaxReportBytes);
            if (got < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                return {IoStatus::Failed, 0};
            }
            if (offset) report[0] = 0;
            const size_t size = static_cast<size_t>(got) + offset;
            if (size == 0 || !filter_.Accepts(report[0])) continue;
            const size_t copied = std::min(size, buffer.size());
            std::memcpy(buffer.data(), report, copied);
            return {IoStatus::Done, copied};
        }
    }

    IoResult Write(std::span<const uint8_t> report, uint32_t timeoutMs) override {
        if (fd_ < 0 || !mode_.write || report.empty()) return {IoStatus::Failed, 0};
        pollfd fds[2] = {{cancel_, POLLIN, 0}, {fd_, POLLOUT, 0}};
        const int wait = timeoutMs == kInfiniteTimeout ? -1 : static_cast<int>(std::min<uint32_t>(timeoutMs, 1u << 30));
        int n;
        do {
            n = poll(fds, 2, wait);
        } while (n < 0 && errno == EINTR);
        if (n < 0) return {IoStatus::Failed, 0};
        if (fds[0].revents & POLLIN) return {IoStatus::Cancelled, 0};
        if (n == 0) return {IoStatus::TimedOut, 0};
        ssize_t put;
        do {
            put = write(fd_, report.data(), report.size());
        } while (put < 0 && errno == EINTR);
        if (put < 0) return {IoStatus::Failed, 0};
        return {IoStatus::Done, static_cast<size_t>(put)};
    }

    bool SetOutputReport(std::span<const uint8_t> report) override {
        if (fd_ < 0 || !mode_.write || report.empty()) return false;
        std::vector<uint8_t> copy(report.begin(), report.end());
        if (ioctl(fd_, HIDIOCSOUTPUT(copy.size()), copy.data()) >= 0) return true;
        // Kernels before 5.11 know no SET_REPORT(Output) ioctl; the interrupt pipe will do.
        return errno == EINVAL || errno == ENOTTY ? Write(report, 1000).status == IoStatus::Done : false;
    }

    void Cancel() override {
        if (cancel_ >= 0) {
            uint64_t one = 1;
            [[maybe_unused]] ssize_t ignored = write(cancel_, &one, sizeof one);
        }
    }

private:
    InterfaceInfo info_;
    int fd_;
    CollectionFilter filter_;
    OpenMode mode_;
    int cancel_;
};

}  // namespace

bool ParseHidId(const char* text, uint16_t* vendorId, uint16_t* productId) {
    unsigned bus = 0, vendor = 0, product = 0;
    if (!text || std::sscanf(text, "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
    *vendorId = static_cast<uint16_t>(vendor);
    *productId = static_cast<uint16_t>(product);
    return true;
}

LinuxHidrawBackend::LinuxHidrawBackend() = default;

LinuxHidrawBackend::~LinuxHidrawBackend() {
    if (udev_) udev_unref(udev_);
}

const std::vector<uint8_t>& LinuxHidrawBackend::CachedDescriptor(const std::string& hidSyspath) {
    auto it = descriptorCache_.find(hidSyspath);
    if (it != descriptorCache_.end()) return it->second;
    std::vector<uint8_t> bytes;
    std::ifstream file(hidSyspath + "/report_descriptor", std::ios::binary);
    if (file) {
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (bytes.size() > kMaxDescriptorBytes) bytes.resize(kMaxDescriptorBytes);
    }
    return descriptorCache_.emplace(hidSyspath, std::move(bytes)).first->second;
}

std::optional<UsbHidInterface> LinuxHidrawBackend::Describe(const std::string& sysname,
                                                            std::set<std::string>* hidSyspaths) {
    if (!udev_) udev_ = udev_new();
    if (!udev_) return std::nullopt;
    struct udev_device* node = udev_device_new_from_subsystem_sysname(udev_, "hidraw", sysname.c_str());
    if (!node) return std::nullopt;
    std::optional<UsbHidInterface> result;
    struct udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr);
    UsbHidInterface usb;
    if (hid && ParseHidId(udev_device_get_property_value(hid, "HID_ID"), &usb.vendorId, &usb.productId)) {
        struct udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface");
        struct udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
        usb.interfaceNumber = static_cast<int>(HexAttribute(usbInterface, "bInterfaceNumber", -1));
        usb.versionNumber = static_cast<uint16_t>(HexAttribute(usbDevice, "bcdDevice", 0));
        const char* count = usbDevice ? udev_device_get_sysattr_value(usbDevice, "bNumInterfaces") : nullptr;
        usb.multipleInterfaces = count && std::atoi(count) > 1;
        usb.instance = sysname;
        const std::string hidSyspath = udev_device_get_syspath(hid);
        usb.reportDescriptor = CachedDescriptor(hidSyspath);
        if (hidSyspaths) hidSyspaths->insert(hidSyspath);
        result = std::move(usb);
    }
    udev_device_unref(node);
    return result;
}

bool LinuxHidrawBackend::Enumerate(std::vector<InterfaceInfo>& out) {
    std::lock_guard lock(mutex_);
    if (!udev_) udev_ = udev_new();
    if (!udev_) return false;
    struct udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (!enumerate) return false;
    bool ok = udev_enumerate_add_match_subsystem(enumerate, "hidraw") >= 0 &&
              udev_enumerate_scan_devices(enumerate) >= 0;
    std::vector<std::string> names;
    if (ok) {
        struct udev_list_entry* entry;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            const char* syspath = udev_list_entry_get_name(entry);
            const char* slash = syspath ? std::strrchr(syspath, '/') : nullptr;
            if (slash) names.emplace_back(slash + 1);
        }
    }
    udev_enumerate_unref(enumerate);
    if (!ok) return false;
    std::sort(names.begin(), names.end());
    std::set<std::string> present;
    for (const auto& name : names) {
        if (auto usb = Describe(name, &present)) AppendInterfacePaths(*usb, out);
    }
    // Forget the descriptors of devices that went away.
    std::erase_if(descriptorCache_, [&](const auto& entry) { return present.count(entry.first) == 0; });
    return true;
}

bool LinuxHidrawBackend::Exists(const std::string& path) {
    const std::string instance = PathInstance(path);
    if (!IsHidrawInstance(instance)) return false;
    // The link names the hid device ("0003:320F:5055.0007"): the node is present
    // and still belongs to the same vendor and product.
    char target[512];
    const std::string link = "/sys/class/hidraw/" + instance + "/device";
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0) return false;
    target[n] = '\0';
    const char* base = std::strrchr(target, '/');
    base = base ? base + 1 : target;
    unsigned bus = 0, vendor = 0, product = 0;
    if (std::sscanf(base, "%x:%x:%x", &bus, &vendor, &product) != 3) return false;
    char ids[32];
    std::snprintf(ids, sizeof ids, "vid_%04x&pid_%04x", vendor & 0xFFFF, product & 0xFFFF);
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(ids) != std::string::npos;
}

std::unique_ptr<Connection> LinuxHidrawBackend::Open(const std::string& path, OpenMode mode,
                                                     OpenError* error) {
    auto fail = [&](OpenError why) -> std::unique_ptr<Connection> {
        if (error) *error = why;
        return nullptr;
    };
    const std::string instance = PathInstance(path);
    if (!IsHidrawInstance(instance)) return fail(OpenError::NotFound);
    std::vector<InterfaceInfo> paths;
    {
        std::lock_guard lock(mutex_);
        auto usb = Describe(instance);
        if (!usb) return fail(OpenError::NotFound);
        AppendInterfacePaths(*usb, paths);
    }
    auto it = std::find_if(paths.begin(), paths.end(),
                           [&](const InterfaceInfo& i) { return i.path == path; });
    if (it == paths.end()) return fail(OpenError::NotFound);
    int fd = -1;
    if (mode.read || mode.write) {
        const int access = mode.read && mode.write ? O_RDWR : mode.read ? O_RDONLY : O_WRONLY;
        const std::string node = "/dev/" + instance;
        fd = open(node.c_str(), access | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            switch (errno) {
                case EACCES:
                case EPERM: return fail(OpenError::AccessDenied);
                case ENOENT:
                case ENODEV:
                case ENXIO: return fail(OpenError::NotFound);
                case EBUSY: return fail(OpenError::Busy);
                default: return fail(OpenError::Other);
            }
        }
    }
    if (error) *error = OpenError::None;
    auto filter = FilterForCollection(it->reportDescriptor, it->collectionNumber);
    return std::make_unique<HidrawConnection>(*it, fd, std::move(filter), mode);
}

bool LinuxHidrawBackend::Owns(const std::string& path) const {
    return IsHidrawInstance(PathInstance(path));
}

}  // namespace koru::hid
