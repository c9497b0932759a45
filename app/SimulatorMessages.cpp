#include "app/SimulatorMessages.h"

#include <string_view>

namespace koru {

MessagePolicy SimulatingProgramPolicy() {
  std::vector<MessageRule> rules = ProgramMessagePolicy().Rules();
  rules.push_back({std::string(sim::kSimulatorMessage), std::nullopt, sim::kMaxSimulatorCommandBytes});
  return MessagePolicy(std::move(rules));
}

std::int64_t SimulatorMessageSink::OnExternalMessage(const ExternalMessage& external) {
  const BusMessage& m = external.message;
  if (m.name != sim::kSimulatorMessage) return next_.OnExternalMessage(external);
  // Both parameters are reserved: a caller that sets them speaks another version.
  if (m.wParam != 0 || m.lParam != 0) return sim::kSimulatorBadCommand;
  return control_.Execute(std::string_view(reinterpret_cast<const char*>(m.data.data()), m.data.size()));
}

}  // namespace koru
