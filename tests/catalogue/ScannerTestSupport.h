#pragma once
// A virtual bus behind a backend that records every open, and a sink that
// records the scanner's notifications.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "catalogue/IDeviceEventSink.h"
#include "platform/hid/VirtualHidBus.h"

namespace koru::test {

class OpenRecordingBackend : public hid::Backend {
public:
    explicit OpenRecordingBackend(std::shared_ptr<hid::VirtualHidBus> bus) : bus_(std::move(bus)) {}

    bool Enumerate(std::vector<hid::InterfaceInfo>& out) override { return bus_->Enumerate(out); }
    bool Exists(const std::string& path) override { return bus_->Exists(path); }
    std::unique_ptr<hid::Connection> Open(const std::string& path, hid::OpenMode mode,
                                          hid::OpenError* error) override {
        {
            std::lock_guard lock(mutex_);
            opened_.push_back(path);
        }
        return bus_->Open(path, mode, error);
    }
    bool Owns(const std::string& path) const override { return bus_->Owns(path); }

    std::vector<std::string> Opened() const {
        std::lock_guard lock(mutex_);
        return opened_;
    }

private:
    std::shared_ptr<hid::VirtualHidBus> bus_;
    mutable std::mutex mutex_;
    std::vector<std::string> opened_;
};

struct SinkEvent {
    enum Type { Attached, Detached, FirstPass } type;
    int slot;
    bool operator==(const SinkEvent&) const = default;
};

class RecordingSink : public IDeviceEventSink {
public:
    // Runs inside each attach, on the scanner's thread.
    std::function<void(int slot)> onAttach;

    void OnInterfaceAttached(int slot) override {
        if (onAttach) onAttach(slot);
        Add({SinkEvent::Attached, slot});
    }
    void OnInterfaceDetached(int slot) override { Add({SinkEvent::Detached, slot}); }
    void OnFirstPassComplete() override { Add({SinkEvent::FirstPass, -1}); }

    std::vector<SinkEvent> Events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }
    // Sorted slots of one event type.
    std::vector<int> Slots(SinkEvent::Type type) const {
        std::vector<int> slots;
        for (const SinkEvent& e : Events())
            if (e.type == type) slots.push_back(e.slot);
        std::sort(slots.begin(), slots.end());
        return slots;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
    }
    // Waits (generously; a failing test reports instead of hanging) until
    // `count` events of `type` have arrived.
    bool WaitFor(SinkEvent::Type type, size_t count) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(10), [&] {
            return static_cast<size_t>(std::count_if(events_.begin(), events_.end(), [&](const SinkEvent& e) {
                       return e.type == type;
                   })) >= count;
        });
    }

private:
    void Add(SinkEvent e) {
        std::lock_guard lock(mutex_);
        events_.push_back(e);
        changed_.notify_all();
    }
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<SinkEvent> events_;
};

}  // namespace koru::test
