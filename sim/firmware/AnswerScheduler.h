#pragma once
// Delivers a firmware's answers later, from a thread of its own: the virtual
// bus never sleeps, and a device with latency must not answer on the writer's
// thread before its time. Answers leave in the order they were scheduled.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/hid/VirtualHidBus.h"

namespace koru::sim {

class AnswerScheduler {
public:
    AnswerScheduler() = default;
    // Stops the thread; answers not yet due are dropped.
    ~AnswerScheduler();
    AnswerScheduler(const AnswerScheduler&) = delete;
    AnswerScheduler& operator=(const AnswerScheduler&) = delete;

    void Schedule(std::chrono::steady_clock::time_point due, std::shared_ptr<hid::VirtualHidBus> bus,
                  hid::VirtualDeviceId device, int interfaceNumber, std::vector<uint8_t> report);

private:
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::shared_ptr<hid::VirtualHidBus> bus;
        hid::VirtualDeviceId device;
        int interfaceNumber;
        std::vector<uint8_t> report;
    };
    void Run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Pending> queue_;
    bool stopping_ = false;
    std::thread thread_;  // started with the first answer
};

}  // namespace koru::sim
