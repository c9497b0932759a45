#include "platform/hid/VirtualHidBus.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <set>

#include "platform/hid/InterfacePaths.h"

namespace koru::hid {
namespace {

constexpr char kInstancePrefix[] = "koru-virtual&";
// Like the OS, a reader that does not keep up loses its oldest reports.
constexpr size_t kMaxQueuedReports = 64;

struct ReaderQueue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::vector<uint8_t>> reports;
    bool cancelled = false;
    bool gone = false;
    CollectionFilter filter;
};

}  // namespace

struct VirtualHidBus::State {
    struct Device {
        VirtualDeviceDescription description;
        std::shared_ptr<VirtualFirmware> firmware;
        std::vector<InterfaceInfo> paths;
        std::set<int> deniedInterfaces;
        std::vector<std::pair<int, std::weak_ptr<ReaderQueue>>> readers;  // interface, queue
    };

    std::mutex mutex;
    std::map<VirtualDeviceId, Device> devices;
    VirtualDeviceId nextId = 1;
    bool failNextEnumerate = false;

    // Both under `mutex`.
    Device* FindDevice(VirtualDeviceId id) {
        auto it = devices.find(id);
        return it == devices.end() ? nullptr : &it->second;
    }
    std::pair<VirtualDeviceId, const InterfaceInfo*> FindPath(const std::string& path) {
        for (auto& [id, device] : devices) {
            for (const auto& info : device.paths) {
                if (info.path == path) return {id, &info};
            }
        }
        return {0, nullptr};
    }
};

namespace {

class VirtualConnection : public Connection {
public:
    VirtualConnection(std::shared_ptr<VirtualHidBus> bus, std::shared_ptr<VirtualHidBus::State> state,
                      VirtualDeviceId device, InterfaceInfo info, OpenMode mode,
                      std::shared_ptr<ReaderQueue> queue)
        : bus_(std::move(bus)), state_(std::move(state)), device_(device), info_(std::move(info)),
          mode_(mode), queue_(std::move(queue)) {}

    const InterfaceInfo& Info() const override { return info_; }

    IoResult Read(std::span<uint8_t> buffer, uint32_t timeoutMs) override {
        if (!mode_.read) return {IoStatus::Failed, 0};
        std::unique_lock lock(queue_->mutex);
        auto ready = [&] { return queue_->cancelled || queue_->gone || !queue_->reports.empty(); };
        if (timeoutMs == kInfiniteTimeout) {
            queue_->wake.wait(lock, ready);
        } else if (!queue_->wake.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready)) {
            return {IoStatus::TimedOut, 0};
        }
        if (queue_->cancelled) return {IoStatus::Cancelled, 0};
        if (queue_->gone) return {IoStatus::Failed, 0};
        std::vector<uint8_t> report = std::move(queue_->reports.front());
        queue_->reports.pop_front();
        const size_t n = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return {IoStatus::Done, n};
    }

    IoResult Write(std::span<const uint8_t> report, uint32_t /*timeoutMs*/) override {
        if (!mode_.write || report.empty()) return {IoStatus::Failed, 0};
        if (IsCancelled()) return {IoStatus::Cancelled, 0};
        auto firmware = CurrentFirmware();
        if (!firmware) return {IoStatus::Failed, 0};
        firmware->OnOutputReport(*bus_, device_, info_.interfaceNumber, report);
        return {IoStatus::Done, report.size()};
    }

    bool SetOutputReport(std::span<const uint8_t> report) override {
        if (!mode_.write || report.empty() || IsCancelled()) return false;
        auto firmware = CurrentFirmware();
        return firmware && firmware->OnSetOutputReport(*bus_, device_, info_.interfaceNumber, report);
    }

    void Cancel() override {
        std::lock_guard lock(queue_->mutex);
        queue_->cancelled = true;
        queue_->wake.notify_all();
    }

private:
    bool IsCancelled() {
        std::lock_guard lock(queue_->mutex);
        return queue_->cancelled || queue_->gone;
    }
    std::shared_ptr<VirtualFirmware> CurrentFirmware() {
        std::lock_guard lock(state_->mutex);
        auto* device = state_->FindDevice(device_);
        return device ? device->firmware : nullptr;
    }

    std::shared_ptr<VirtualHidBus> bus_;
    std::shared_ptr<VirtualHidBus::State> state_;
    VirtualDeviceId device_;
    InterfaceInfo info_;
    OpenMode mode_;
    std::shared_ptr<ReaderQueue> queue_;
};

}  // namespace

VirtualHidBus::VirtualHidBus() : state_(std::make_shared<State>()) {}

VirtualHidBus::~VirtualHidBus() = default;

std::shared_ptr<VirtualHidBus> VirtualHidBus::Shared() {
    static std::shared_ptr<VirtualHidBus> bus = std::make_shared<VirtualHidBus>();
    return bus;
}

VirtualDeviceId VirtualHidBus::Plug(const VirtualDeviceDescription& description,
                                    std::shared_ptr<VirtualFirmware> firmware) {
    std::lock_guard lock(state_->mutex);
    const VirtualDeviceId id = state_->nextId++;
    State::Device device;
    device.description = description;
    device.firmware = std::move(firmware);
    for (const auto& iface : description.interfaces) {
        UsbHidInterface usb;
        usb.vendorId = description.vendorId;
        usb.productId = description.productId;
        usb.versionNumber = description.versionNumber;
        usb.interfaceNumber = iface.number;
        usb.multipleInterfaces = description.composite || description.interfaces.size() > 1;
        usb.instance = kInstancePrefix + std::to_string(id) + "&" + std::to_string(iface.number);
        usb.reportDescriptor = iface.reportDescriptor;
        AppendInterfacePaths(usb, device.paths);
    }
    state_->devices.emplace(id, std::move(device));
    return id;
}

void VirtualHidBus::Unplug(VirtualDeviceId id) {
    std::lock_guard lock(state_->mutex);
    auto* device = state_->FindDevice(id);
    if (!device) return;
    for (auto& [iface, weak] : device->readers) {
        if (auto queue = weak.lock()) {
            std::lock_guard qlock(queue->mutex);
            queue->gone = true;
            queue->wake.notify_all();
        }
    }
    state_->devices.erase(id);
}

bool VirtualHidBus::IsPlugged(VirtualDeviceId id) const {
    std::lock_guard lock(state_->mutex);
    return state_->FindDevice(id) != nullptr;
}

bool VirtualHidBus::SendInput(VirtualDeviceId id, int interfaceNumber,
                              std::span<const uint8_t> report) {
    if (report.empty()) return false;
    std::lock_guard lock(state_->mutex);
    auto* device = state_->FindDevice(id);
    if (!device) return false;
    const bool known = std::any_of(device->description.interfaces.begin(),
                                   device->description.interfaces.end(),
                                   [&](const VirtualInterface& i) { return i.number == interfaceNumber; });
    if (!known) return false;
    auto& readers = device->readers;
    readers.erase(std::remove_if(readers.begin(), readers.end(),
                                 [](const auto& r) { return r.second.expired(); }),
                  readers.end());
    for (auto& [iface, weak] : readers) {
        if (iface != interfaceNumber) continue;
        auto queue = weak.lock();
        if (!queue || !queue->filter.Accepts(report[0])) continue;
        std::lock_guard qlock(queue->mutex);
        if (queue->reports.size() >= kMaxQueuedReports) queue->reports.pop_front();
        queue->reports.emplace_back(report.begin(), report.end());
        queue->wake.notify_all();
    }
    return true;
}

void VirtualHidBus::SetAccessDenied(VirtualDeviceId id, int interfaceNumber, bool denied) {
    std::lock_guard lock(state_->mutex);
    auto* device = state_->FindDevice(id);
    if (!device) return;
    if (denied) {
        device->deniedInterfaces.insert(interfaceNumber);
    } else {
        device->deniedInterfaces.erase(interfaceNumber);
    }
}

std::vector<std::string> VirtualHidBus::PathsOf(VirtualDeviceId id) const {
    std::lock_guard lock(state_->mutex);
    std::vector<std::string> paths;
    if (auto* device = state_->FindDevice(id)) {
        for (const auto& info : device->paths) paths.push_back(info.path);
    }
    return paths;
}

void VirtualHidBus::FailNextEnumerate() {
    std::lock_guard lock(state_->mutex);
    state_->failNextEnumerate = true;
}

bool VirtualHidBus::Enumerate(std::vector<InterfaceInfo>& out) {
    std::lock_guard lock(state_->mutex);
    if (state_->failNextEnumerate) {
        state_->failNextEnumerate = false;
        return false;
    }
    for (const auto& [id, device] : state_->devices) {
        out.insert(out.end(), device.paths.begin(), device.paths.end());
    }
    return true;
}

bool VirtualHidBus::Exists(const std::string& path) {
    std::lock_guard lock(state_->mutex);
    return state_->FindPath(path).second != nullptr;
}

std::unique_ptr<Connection> VirtualHidBus::Open(const std::string& path, OpenMode mode,
                                                OpenError* error) {
    std::lock_guard lock(state_->mutex);
    auto [id, info] = state_->FindPath(path);
    if (!info) {
        if (error) *error = OpenError::NotFound;
        return nullptr;
    }
    auto& device = state_->devices.at(id);
    if ((mode.read || mode.write) && device.deniedInterfaces.count(info->interfaceNumber) != 0) {
        if (error) *error = OpenError::AccessDenied;
        return nullptr;
    }
    auto queue = std::make_shared<ReaderQueue>();
    queue->filter = FilterForCollection(info->reportDescriptor, info->collectionNumber);
    if (mode.read) device.readers.emplace_back(info->interfaceNumber, queue);
    if (error) *error = OpenError::None;
    return std::make_unique<VirtualConnection>(shared_from_this(), state_, id, *info, mode,
                                               std::move(queue));
}

bool VirtualHidBus::Owns(const std::string& path) const {
    return PathInstance(path).rfind(kInstancePrefix, 0) == 0;
}

}  // namespace koru::hid
