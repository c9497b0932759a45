#include "platform/qt/BusMarshalling.h"

#include <QByteArray>
#include <QString>

namespace koru {

void AppendMessageArguments(QDBusMessage& target, const BusMessage& message) {
  target << QString::fromStdString(message.name) << qulonglong(message.wParam) << qlonglong(message.lParam)
         << QByteArray(reinterpret_cast<const char*>(message.data.data()), qsizetype(message.data.size()));
}

std::optional<BusMessage> ReadMessageArguments(const QDBusMessage& source) {
  if (source.signature() != QLatin1String(kMessageSignature)) return std::nullopt;
  const QList<QVariant> arguments = source.arguments();
  if (arguments.size() != 4) return std::nullopt;
  BusMessage message;
  message.name = arguments[0].toString().toStdString();
  message.wParam = arguments[1].toULongLong();
  message.lParam = arguments[2].toLongLong();
  const QByteArray bytes = arguments[3].toByteArray();
  message.data.assign(bytes.begin(), bytes.end());
  return message;
}

}  // namespace koru
