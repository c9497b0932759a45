#include <atomic>
#include <mutex>

#include "toolkit/window/HeadlessWindowBackend.h"
#include "toolkit/window/IWindowBackend.h"

namespace koru {

namespace {

struct BackendSlot {
  std::mutex mutex;
  std::shared_ptr<IWindowBackend> backend;
  std::atomic<IWindowBackend*> current{nullptr};  // the clock is read often: no lock on that path
};

BackendSlot& Slot() {
  static BackendSlot* slot = new BackendSlot;  // windows may outlive static destructors
  return *slot;
}

}  // namespace

void SetWindowBackend(std::shared_ptr<IWindowBackend> backend) {
  std::lock_guard lock(Slot().mutex);
  Slot().backend = std::move(backend);
  Slot().current.store(Slot().backend.get(), std::memory_order_release);
}

std::shared_ptr<IWindowBackend> SharedWindowBackend() {
  std::lock_guard lock(Slot().mutex);
  if (!Slot().backend) {
    Slot().backend = std::make_shared<HeadlessWindowBackend>();
    Slot().current.store(Slot().backend.get(), std::memory_order_release);
  }
  return Slot().backend;
}

IWindowBackend& WindowBackend() {
  // The slot keeps the backend alive; callers do not swap it while windows exist.
  if (IWindowBackend* backend = Slot().current.load(std::memory_order_acquire)) return *backend;
  return *SharedWindowBackend();
}

}  // namespace koru
