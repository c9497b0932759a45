#include "sim/firmware/FaultPlan.h"

namespace koru::sim {

void FaultPlan::Add(const FaultRule& rule) {
    std::lock_guard lock(mutex_);
    rules_.push_back(rule);
}

void FaultPlan::Clear() {
    std::lock_guard lock(mutex_);
    rules_.clear();
}

bool FaultPlan::Empty() const {
    std::lock_guard lock(mutex_);
    return rules_.empty();
}

std::optional<FaultAction> FaultPlan::Take(uint8_t command) {
    std::lock_guard lock(mutex_);
    std::optional<FaultAction> hit;
    for (auto it = rules_.begin(); it != rules_.end();) {
        if (it->command >= 0 && it->command != command) {
            ++it;
            continue;
        }
        // Every matching rule counts the frame, so skips mean "the n-th such frame".
        if (it->skip > 0) {
            --it->skip;
            ++it;
            continue;
        }
        if (!hit) {
            hit = it->action;
            if (it->times > 0 && --it->times == 0) {
                it = rules_.erase(it);
                continue;
            }
        }
        ++it;
    }
    return hit;
}

}  // namespace koru::sim
