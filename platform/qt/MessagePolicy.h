#pragma once
// Which messages another process may send us, and how much copy data each may
// carry. Everything else is refused before it reaches the program.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/qt/BusMessage.h"

namespace koru {

struct MessageRule {
  std::string name;
  // For copy data: the kind (lParam) this rule admits. Unset for plain messages.
  std::optional<std::int64_t> copyDataKind;
  std::size_t maxDataBytes = 0;
};

enum class MessageVerdict { Accepted, UnknownMessage, DataTooLarge };

class MessagePolicy {
 public:
  explicit MessagePolicy(std::vector<MessageRule> rules);
  MessageVerdict Check(const BusMessage& message) const;
  const std::vector<MessageRule>& Rules() const { return rules_; }

 private:
  std::vector<MessageRule> rules_;
};

// The messages the program receives: the show request, update progress, the
// lighting-control request, the "WorkTool" query, the game light events, and the
// audio companion's copy data (kind 1 into a 2000-byte buffer, kind 2 into 6 bytes).
MessagePolicy ProgramMessagePolicy();

}  // namespace koru
