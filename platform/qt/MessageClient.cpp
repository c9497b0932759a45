#include "platform/qt/MessageClient.h"

#include <QDBusMessage>

#include "platform/DebugOutput.h"
#include "platform/qt/BusMarshalling.h"

namespace koru {
namespace {

std::optional<QDBusMessage> Call(const QDBusConnection& bus, const BusEndpoint& to, const char* member,
                                 const BusMessage& message, const BusCallOptions& options) {
  if (!bus.isConnected()) return std::nullopt;
  QDBusMessage call =
      QDBusMessage::createMethodCall(ToQString(to.busName), ToQString(to.objectPath), ToQString(kMessagesInterface), QLatin1String(member));
  AppendMessageArguments(call, message);
  const QDBusMessage reply =
      bus.call(call, options.serveEventsWhileWaiting ? QDBus::BlockWithGui : QDBus::Block, options.timeoutMs);
  if (reply.type() == QDBusMessage::ReplyMessage) return reply;
  if (DebugOutputEnabled())
    DebugOutput(message.name + " to " + to.busName + " not delivered: " + reply.errorName().toStdString());
  return std::nullopt;
}

}  // namespace

std::optional<std::int64_t> SendBusMessage(const QDBusConnection& bus, const BusEndpoint& to,
                                           const BusMessage& message, const BusCallOptions& options) {
  const std::optional<QDBusMessage> reply = Call(bus, to, "Send", message, options);
  if (!reply || reply->signature() != QLatin1String("x")) return std::nullopt;
  return reply->arguments().value(0).toLongLong();
}

bool PostBusMessage(const QDBusConnection& bus, const BusEndpoint& to, const BusMessage& message,
                    const BusCallOptions& options) {
  return Call(bus, to, "Post", message, options).has_value();
}

std::optional<std::int64_t> SendToWindow(const QDBusConnection& bus, std::string_view className,
                                         std::string_view title, const BusMessage& message,
                                         const BusCallOptions& options) {
  return SendBusMessage(bus, CompanionEndpoint(className, title), message, options);
}

}  // namespace koru
