#include "platform/RegisteredMessages.h"

#include <array>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace koru {
namespace {

struct MessageRegistry {
  std::mutex lock;
  std::unordered_map<std::string, unsigned> numbers;
  std::vector<std::string> names;  // index = number - kFirstRegisteredMessage
};

MessageRegistry& Registry() {
  static MessageRegistry registry;
  return registry;
}

// "UWM_MOUSERBUTTONDOWN_USER_MSG" is listed once: equal names share one number anyway.
constexpr std::array<std::string_view, 19> kHookMessageNames = {
    "WM_HOOK_KEY_SINGLEKEY_MSG",       "WM_HOOK_KEY_HITKEY_MSG",
    "WM_HOOK_KEY_KBMACRO_MSG",         "WM_HOOK_KEY_MSMACRO_MSG",
    "WM_HOOK_KEY_KBMACROSINGLE_MSG",   "WM_HOOK_KEY_KBMACROPREVIOUS_MSG",
    "WM_HOOK_KEY_KBMACROLATER_MSG",    "WM_HOOK_MOU_SINGLEKEY_MSG",
    "WM_HOOK_MOU_HITKEY_MSG",          "WM_HOOK_MOU_KBMACRO_MSG",
    "WM_HOOK_MOU_MSMACRO_MSG",         "WM_HOOK_KEY_MSMACROSINGLE_MSG",
    "WM_HOOK_KEY_MSMACROPREVIOUS_MSG", "WM_HOOK_KEY_MSMACROLATER_MSG",
    "UWM_MOUSERBUTTONDOWN_USER_MSG",   "UWM_MOUSELBUTTONUP_USER_MSG",
    "UWM_MOUSELBUTTONDOWN_USER_MSG",   "UWM_MOUSERBUTTONUP_USER_MSG",
    "UWM_MOUSEMOVE_USER_MSG",
};

}  // namespace

unsigned RegisterWindowMessage(std::string_view name) {
  if (name.empty()) return 0;
  MessageRegistry& registry = Registry();
  std::lock_guard guard(registry.lock);
  std::string key(name);
  if (auto found = registry.numbers.find(key); found != registry.numbers.end()) return found->second;
  if (registry.names.size() > kLastRegisteredMessage - kFirstRegisteredMessage) return 0;
  const unsigned number = kFirstRegisteredMessage + static_cast<unsigned>(registry.names.size());
  registry.names.push_back(key);
  registry.numbers.emplace(std::move(key), number);
  return number;
}

std::optional<std::string> RegisteredMessageName(unsigned message) {
  if (message < kFirstRegisteredMessage || message > kLastRegisteredMessage) return std::nullopt;
  MessageRegistry& registry = Registry();
  std::lock_guard guard(registry.lock);
  const std::size_t index = message - kFirstRegisteredMessage;
  if (index >= registry.names.size()) return std::nullopt;
  return registry.names[index];
}

std::span<const std::string_view> HookMessageNames() {
  return kHookMessageNames;
}

}  // namespace koru
