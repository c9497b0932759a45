#include "toolkit/window/WindowRegistry.h"

#include <mutex>
#include <unordered_map>

#include "toolkit/window/CWindowWnd.h"

namespace koru {

namespace {

struct Entry {
  CWindowWnd* window = nullptr;
  std::shared_ptr<ThreadQueue> queue;
};

struct Registry {
  std::mutex mutex;
  std::unordered_map<std::uintptr_t, Entry> windows;
  std::uintptr_t next = 0;
};

Registry& Windows() {
  static Registry* registry = new Registry;  // outlives windows destroyed by static destructors
  return *registry;
}

std::uintptr_t Key(HWND hwnd) { return reinterpret_cast<std::uintptr_t>(hwnd); }

std::shared_ptr<ThreadQueue> QueueOf(HWND hwnd) {
  Registry& registry = Windows();
  std::lock_guard lock(registry.mutex);
  auto it = registry.windows.find(Key(hwnd));
  return it == registry.windows.end() ? nullptr : it->second.queue;
}

void PlacePayload(QueuedMessage& message) {
  if (!message.payload) return;
  auto address = reinterpret_cast<std::uintptr_t>(message.payload.get());
  if (message.slot == PayloadSlot::WParam) message.wParam = address;
  if (message.slot == PayloadSlot::LParam) message.lParam = static_cast<LPARAM>(address);
}

std::optional<LRESULT> Send(QueuedMessage message, std::optional<std::chrono::steady_clock::time_point> deadline) {
  std::shared_ptr<ThreadQueue> target = QueueOf(message.hwnd);
  if (!target) return std::nullopt;
  if (target->IsCurrentThread()) return DispatchQueuedMessage(message);
  return target->SendFrom(*ThreadQueue::ForCurrentThread(), std::move(message), deadline);
}

bool Post(QueuedMessage message) {
  std::shared_ptr<ThreadQueue> target = QueueOf(message.hwnd);
  return target && target->Post(std::move(message));
}

}  // namespace

HWND RegisterWindow(CWindowWnd* window, std::shared_ptr<ThreadQueue> queue) {
  Registry& registry = Windows();
  std::lock_guard lock(registry.mutex);
  // Handles are never reused, so a stale handle can only miss.
  auto hwnd = reinterpret_cast<HWND>(++registry.next);
  registry.windows[Key(hwnd)] = Entry{window, std::move(queue)};
  return hwnd;
}

void UnregisterWindow(HWND hwnd) {
  std::shared_ptr<ThreadQueue> queue;
  {
    Registry& registry = Windows();
    std::lock_guard lock(registry.mutex);
    auto it = registry.windows.find(Key(hwnd));
    if (it == registry.windows.end()) return;
    queue = std::move(it->second.queue);
    registry.windows.erase(it);
  }
  queue->DropWindow(hwnd);
}

CWindowWnd* WindowFromHandle(HWND hwnd) {
  Registry& registry = Windows();
  std::lock_guard lock(registry.mutex);
  auto it = registry.windows.find(Key(hwnd));
  if (it == registry.windows.end() || !it->second.queue->IsCurrentThread()) return nullptr;
  return it->second.window;
}

LRESULT DispatchQueuedMessage(QueuedMessage& message) {
  CWindowWnd* window = WindowFromHandle(message.hwnd);
  if (!window) return 0;
  PlacePayload(message);
  return window->DeliverMessage(message.message, message.wParam, message.lParam);
}

std::optional<LRESULT> SendMessageTimeout(HWND hwnd, unsigned message, WPARAM wParam, LPARAM lParam,
                                          std::chrono::milliseconds timeout) {
  QueuedMessage queued{hwnd, message, wParam, lParam, nullptr, PayloadSlot::None};
  return Send(std::move(queued), std::chrono::steady_clock::now() + timeout);
}

bool PostMessageWithPayload(HWND hwnd, unsigned message, std::unique_ptr<MessagePayload> payload, PayloadSlot slot,
                            WPARAM wParam, LPARAM lParam) {
  return Post(QueuedMessage{hwnd, message, wParam, lParam, std::move(payload), slot});
}

LRESULT SendMessageWithPayload(HWND hwnd, unsigned message, std::unique_ptr<MessagePayload> payload,
                               PayloadSlot slot, WPARAM wParam, LPARAM lParam) {
  return Send(QueuedMessage{hwnd, message, wParam, lParam, std::move(payload), slot}, std::nullopt).value_or(0);
}

LRESULT SendCopyData(HWND to, HWND from, std::uintptr_t kind, std::span<const std::uint8_t> bytes) {
  auto data = std::make_unique<COPYDATASTRUCT>();
  data->dwData = kind;
  data->bytes.assign(bytes.begin(), bytes.end());
  return SendMessageWithPayload(to, WM_COPYDATA, std::move(data), PayloadSlot::LParam,
                                reinterpret_cast<WPARAM>(from));
}

bool PostMenuCommand(HWND owner, std::unique_ptr<MenuCmd> command) {
  return PostMessageWithPayload(owner, kMenuCommandMessage, std::move(command), PayloadSlot::WParam);
}

}  // namespace koru

LRESULT SendMessage(HWND hwnd, unsigned message, WPARAM wParam, LPARAM lParam) {
  return koru::SendMessageWithPayload(hwnd, message, nullptr, koru::PayloadSlot::None, wParam, lParam);
}

bool PostMessage(HWND hwnd, unsigned message, WPARAM wParam, LPARAM lParam) {
  return koru::PostMessageWithPayload(hwnd, message, nullptr, koru::PayloadSlot::None, wParam, lParam);
}

void PostQuitMessage(int code) { koru::ThreadQueue::ForCurrentThread()->PostQuit(code); }

bool IsWindow(HWND hwnd) { return hwnd && koru::QueueOf(hwnd) != nullptr; }
