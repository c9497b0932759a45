#pragma once
// The program's end of the message interface on D-Bus (docs/ipc.md): other
// processes call Send or Post with a message name, wParam, lParam and bytes;
// each call is checked against a policy and, when accepted, handed to the sink
// on the thread that created the service (the one that runs the Qt event loop).
// What the program broadcasts goes out as the Broadcast signal.
#include <memory>

#include <QDBusConnection>

#include "platform/qt/BusMessage.h"
#include "platform/qt/BusNames.h"
#include "platform/qt/MessagePolicy.h"

namespace koru {

enum class NameClaim { Owned, OwnedByOther, Failed };

class MessageService {
 public:
  MessageService(QDBusConnection bus, BusEndpoint endpoint, MessagePolicy policy);
  ~MessageService();
  MessageService(const MessageService&) = delete;
  MessageService& operator=(const MessageService&) = delete;

  // Serves the interface at the endpoint's object path; false when the bus is
  // not connected or the path is taken.
  bool Publish();
  // Takes the endpoint's bus name without queueing behind another owner.
  NameClaim ClaimName();
  // Until a sink is set, accepted messages are answered with 0 and dropped.
  void SetSink(IExternalMessageSink* sink);
  // Emits the Broadcast signal from the object path.
  bool Broadcast(const BusMessage& message);

  const BusEndpoint& Endpoint() const;
  QDBusConnection Bus() const;

 private:
  class Object;
  std::unique_ptr<Object> object_;
};

}  // namespace koru
