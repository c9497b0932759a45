#include "platform/qt/MessagePolicy.h"

#include "platform/RegisteredMessages.h"

namespace koru {

MessagePolicy::MessagePolicy(std::vector<MessageRule> rules) : rules_(std::move(rules)) {}

MessageVerdict MessagePolicy::Check(const BusMessage& message) const {
  const bool copyData = message.name == kCopyDataMessage;
  for (const MessageRule& rule : rules_) {
    if (rule.name != message.name) continue;
    if (copyData && rule.copyDataKind != message.lParam) continue;
    return message.data.size() <= rule.maxDataBytes ? MessageVerdict::Accepted
                                                    : MessageVerdict::DataTooLarge;
  }
  return MessageVerdict::UnknownMessage;
}

MessagePolicy ProgramMessagePolicy() {
  std::vector<MessageRule> rules;
  for (std::string_view name :
       {kShowRequestMessage, kUpdateProgressMessage, kLightControlRequestMessage, kWorkToolQueryMessage,
        kGameStartMessage, kGameEndMessage, kGameKillMessage, kGameDeathMessage}) {
    rules.push_back({std::string(name), std::nullopt, 0});
  }
  rules.push_back({std::string(kCopyDataMessage), 1, 2000});
  rules.push_back({std::string(kCopyDataMessage), 2, 6});
  return MessagePolicy(std::move(rules));
}

}  // namespace koru
