#pragma once
// Faults a simulated device shows on purpose, set at run time by tests and by
// whoever drives the simulator.
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace koru::sim {

enum class FaultAction {
    LoseAnswer,    // the frame is taken but never answered
    StaleAnswer,   // an answer to an earlier command arrives before the right one
    StatusFailed,  // answered with status 0xFF, nothing done
    StatusBusy,    // answered with status 0xFE, nothing done
    LinkDown,      // the receiver answers 0xAA in the command byte, nothing done
    Unplug,        // the device's appearance is unplugged instead of answering
};

struct FaultRule {
    FaultAction action = FaultAction::LoseAnswer;
    int command = -1;  // the command code it applies to; -1 for any
    int skip = 0;      // matching frames let through first
    int times = 1;     // matching frames hit after that; -1 for every one
};

// Rules are matched in the order they were added; the first one that hits wins.
class FaultPlan {
public:
    void Add(const FaultRule& rule);
    void Clear();
    // The fault for the next frame carrying `command`, if any; counts the frame.
    std::optional<FaultAction> Take(uint8_t command);
    bool Empty() const;

private:
    mutable std::mutex mutex_;
    std::vector<FaultRule> rules_;
};

}  // namespace koru::sim
