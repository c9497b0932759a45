#pragma once
// The argument list (s name, t wParam, x lParam, ay data) shared by the Send and
// Post methods and the Broadcast signal.
#include <optional>
#include <string_view>

#include <QDBusMessage>
#include <QString>

#include "platform/qt/BusMessage.h"

namespace koru {

inline constexpr char kMessageSignature[] = "stxay";

inline QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

void AppendMessageArguments(QDBusMessage& target, const BusMessage& message);
// nullopt unless the arguments have exactly the signature above.
std::optional<BusMessage> ReadMessageArguments(const QDBusMessage& source);

}  // namespace koru
