#pragma once
// While the system sleeps, the main window handles no device, hook, tray or
// timer messages. Interfaces that come or go meanwhile are not lost: their
// events wait here and are handled in order when the system resumes.
#include <atomic>
#include <mutex>
#include <vector>

enum class SlotEventKind { Attached, Detached };

struct SlotEvent {
  SlotEventKind kind = SlotEventKind::Attached;
  int slot = 0;
  bool operator==(const SlotEvent&) const = default;
};

class CDeviceMessageGate {
 public:
  bool IsOpen() const { return open_.load(std::memory_order_acquire); }
  void Close() { open_.store(false, std::memory_order_release); }
  // Opens the gate and hands back the slot events that waited, oldest first.
  std::vector<SlotEvent> Open();
  // Keeps the event when the gate is closed (true); false when it is open and
  // the caller handles the event now.
  bool DeferIfClosed(const SlotEvent& event);

 private:
  std::atomic<bool> open_{true};
  std::mutex mutex_;
  std::vector<SlotEvent> deferred_;
};
