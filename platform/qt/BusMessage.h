#pragma once
// One message as it crosses the bus: the registered name, the two parameters
// and, for copy data, the bytes.
#include <cstdint>
#include <string>
#include <vector>

namespace koru {

struct BusMessage {
  std::string name;
  std::uint64_t wParam = 0;
  std::int64_t lParam = 0;
  std::vector<std::uint8_t> data;
};

// A message from another process that passed the checks.
struct ExternalMessage {
  BusMessage message;
  unsigned number = 0;   // the process-wide number of the name (RegisterWindowMessage)
  std::string sender;    // the sender's unique bus name
  bool posted = false;   // the sender does not wait for the result
};

// Receives the accepted messages on the thread that runs the Qt event loop.
// The result goes back to a sender that waits for it.
class IExternalMessageSink {
 public:
  virtual ~IExternalMessageSink() = default;
  virtual std::int64_t OnExternalMessage(const ExternalMessage& message) = 0;
};

}  // namespace koru
