#include "platform/qt/MessageService.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QMetaObject>

#include "platform/DebugOutput.h"
#include "platform/RegisteredMessages.h"
#include "platform/qt/BusMarshalling.h"

namespace koru {
namespace {

const char kIntrospection[] =
    "  <interface name=\"org.koru7315.Messages\">\n"
    "    <method name=\"Send\">\n"
    "      <arg name=\"name\" type=\"s\" direction=\"in\"/>\n"
    "      <arg name=\"wParam\" type=\"t\" direction=\"in\"/>\n"
    "      <arg name=\"lParam\" type=\"x\" direction=\"in\"/>\n"
    "      <arg name=\"data\" type=\"ay\" direction=\"in\"/>\n"
    "      <arg name=\"result\" type=\"x\" direction=\"out\"/>\n"
    "    </method>\n"
    "    <method name=\"Post\">\n"
    "      <arg name=\"name\" type=\"s\" direction=\"in\"/>\n"
    "      <arg name=\"wParam\" type=\"t\" direction=\"in\"/>\n"
    "      <arg name=\"lParam\" type=\"x\" direction=\"in\"/>\n"
    "      <arg name=\"data\" type=\"ay\" direction=\"in\"/>\n"
    "    </method>\n"
    "    <signal name=\"Broadcast\">\n"
    "      <arg name=\"name\" type=\"s\"/>\n"
    "      <arg name=\"wParam\" type=\"t\"/>\n"
    "      <arg name=\"lParam\" type=\"x\"/>\n"
    "      <arg name=\"data\" type=\"ay\"/>\n"
    "    </signal>\n"
    "  </interface>\n";

}  // namespace

// QtDBus hands method calls of the object path to handleMessage, possibly on its
// own thread; delivery is queued to this object's thread, where the sink lives.
class MessageService::Object : public QDBusVirtualObject {
 public:
  Object(QDBusConnection bus, BusEndpoint endpoint, MessagePolicy policy)
      : bus_(std::move(bus)), endpoint_(std::move(endpoint)), policy_(std::move(policy)) {}

  QString introspect(const QString&) const override { return QString::fromLatin1(kIntrospection); }

  bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override {
    if (call.type() != QDBusMessage::MethodCallMessage) return false;
    const bool posted = call.member() == QLatin1String("Post");
    const bool known = posted || call.member() == QLatin1String("Send");
    // Other interfaces (introspection, peer) are QtDBus's to answer.
    if (call.interface().isEmpty() ? !known : call.interface() != ToQString(kMessagesInterface)) return false;
    if (!known) return Refuse(call, connection, "org.freedesktop.DBus.Error.UnknownMethod", "no such method");

    const std::optional<BusMessage> message = ReadMessageArguments(call);
    if (!message) return Refuse(call, connection, kInvalidArgumentsError, "expected arguments (s name, t wParam, x lParam, ay data)");
    switch (policy_.Check(*message)) {
      case MessageVerdict::UnknownMessage:
        return Refuse(call, connection, kUnknownMessageError, "this program does not accept the message");
      case MessageVerdict::DataTooLarge:
        return Refuse(call, connection, kDataTooLargeError, "the data exceed what the receiver holds");
      case MessageVerdict::Accepted:
        break;
    }

    ExternalMessage external{*message, NumberOf(message->name), call.service().toStdString(), posted};
    if (posted) {
      connection.send(call.createReply());
      QMetaObject::invokeMethod(this, [this, external] { Deliver(external); }, Qt::QueuedConnection);
    } else {
      call.setDelayedReply(true);
      QMetaObject::invokeMethod(
          this,
          [this, external, call, connection]() mutable {
            const std::int64_t result = Deliver(external);
            connection.send(call.createReply(QVariant::fromValue(qlonglong(result))));
          },
          Qt::QueuedConnection);
    }
    return true;
  }

  std::int64_t Deliver(const ExternalMessage& message) {
    if (DebugOutputEnabled())
      DebugOutput("bus message " + message.message.name + " " + std::to_string(message.message.wParam) + " " +
                  std::to_string(message.message.lParam) + " from " + message.sender);
    if (!sink_) return 0;
    return sink_->OnExternalMessage(message);
  }

  static unsigned NumberOf(const std::string& name) {
    return name == kCopyDataMessage ? kCopyDataMessageNumber : RegisterWindowMessage(name);
  }

  bool Refuse(const QDBusMessage& call, const QDBusConnection& connection, std::string_view error,
              const char* text) {
    if (DebugOutputEnabled())
      DebugOutput("refused bus message from " + call.service().toStdString() + ": " + std::string(error));
    connection.send(call.createErrorReply(ToQString(error), QString::fromLatin1(text)));
    return true;
  }

  QDBusConnection bus_;
  BusEndpoint endpoint_;
  MessagePolicy policy_;
  IExternalMessageSink* sink_ = nullptr;
  bool published_ = false;
  bool nameOwned_ = false;
};

MessageService::MessageService(QDBusConnection bus, BusEndpoint endpoint, MessagePolicy policy)
    : object_(std::make_unique<Object>(std::move(bus), std::move(endpoint), std::move(policy))) {}

MessageService::~MessageService() {
  if (object_->nameOwned_) object_->bus_.unregisterService(ToQString(object_->endpoint_.busName));
  if (object_->published_) object_->bus_.unregisterObject(ToQString(object_->endpoint_.objectPath));
}

bool MessageService::Publish() {
  if (object_->published_) return true;
  if (!object_->bus_.isConnected()) return false;
  object_->published_ = object_->bus_.registerVirtualObject(ToQString(object_->endpoint_.objectPath), object_.get());
  if (!object_->published_ && DebugOutputEnabled())
    DebugOutput("cannot serve " + object_->endpoint_.objectPath + " on the bus");
  return object_->published_;
}

NameClaim MessageService::ClaimName() {
  if (object_->nameOwned_) return NameClaim::Owned;
  QDBusConnectionInterface* bus = object_->bus_.interface();
  if (!object_->bus_.isConnected() || !bus) return NameClaim::Failed;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply = bus->registerService(
      ToQString(object_->endpoint_.busName), QDBusConnectionInterface::DontQueueService,
      QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid()) {
    if (DebugOutputEnabled())
      DebugOutput("cannot claim " + object_->endpoint_.busName + ": " + reply.error().message().toStdString());
    return NameClaim::Failed;
  }
  if (reply.value() != QDBusConnectionInterface::ServiceRegistered) return NameClaim::OwnedByOther;
  object_->nameOwned_ = true;
  return NameClaim::Owned;
}

void MessageService::SetSink(IExternalMessageSink* sink) { object_->sink_ = sink; }

bool MessageService::Broadcast(const BusMessage& message) {
  QDBusMessage signal = QDBusMessage::createSignal(ToQString(object_->endpoint_.objectPath), ToQString(kMessagesInterface),
                                                   QStringLiteral("Broadcast"));
  AppendMessageArguments(signal, message);
  return object_->bus_.send(signal);
}

const BusEndpoint& MessageService::Endpoint() const { return object_->endpoint_; }

QDBusConnection MessageService::Bus() const { return object_->bus_; }

}  // namespace koru
