#include "app/DeviceMessageGate.h"

std::vector<SlotEvent> CDeviceMessageGate::Open() {
  std::lock_guard lock(mutex_);
  open_.store(true, std::memory_order_release);
  std::vector<SlotEvent> events;
  events.swap(deferred_);
  return events;
}

bool CDeviceMessageGate::DeferIfClosed(const SlotEvent& event) {
  std::lock_guard lock(mutex_);
  if (IsOpen()) return false;
  deferred_.push_back(event);
  return true;
}
