#include "sim/firmware/AnswerScheduler.h"

namespace koru::sim {

AnswerScheduler::~AnswerScheduler() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void AnswerScheduler::Schedule(std::chrono::steady_clock::time_point due,
                               std::shared_ptr<hid::VirtualHidBus> bus, hid::VirtualDeviceId device,
                               int interfaceNumber, std::vector<uint8_t> report) {
    {
        std::lock_guard lock(mutex_);
        // Never overtake an earlier answer, whatever the latency was then.
        if (!queue_.empty() && due < queue_.back().due) due = queue_.back().due;
        queue_.push_back({due, std::move(bus), device, interfaceNumber, std::move(report)});
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_all();
}

void AnswerScheduler::Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto due = queue_.front().due;
        if (std::chrono::steady_clock::now() < due) {
            wake_.wait_until(lock, due);
            continue;
        }
        Pending next = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        next.bus->SendInput(next.device, next.interfaceNumber, next.report);
        lock.lock();
    }
}

}  // namespace koru::sim
