#pragma once
// The calling side of the message interface: to the running program (the show
// request of a second start) and to companion windows found by class and title.
#include <cstdint>
#include <optional>
#include <string_view>

#include <QDBusConnection>

#include "platform/qt/BusMessage.h"
#include "platform/qt/BusNames.h"

namespace koru {

struct BusCallOptions {
  int timeoutMs = 1500;
  // Runs a local event loop while waiting, so that calls into this process's own
  // services can be answered; leave off where re-entry would surprise the caller.
  bool serveEventsWhileWaiting = false;
};

// The receiver's result, or nullopt when nobody serves the endpoint, the call
// was refused or timed out (traced, never shown).
std::optional<std::int64_t> SendBusMessage(const QDBusConnection& bus, const BusEndpoint& to,
                                           const BusMessage& message, const BusCallOptions& options = {});
// Returns once the receiver has accepted the message, before it is handled.
bool PostBusMessage(const QDBusConnection& bus, const BusEndpoint& to, const BusMessage& message,
                    const BusCallOptions& options = {});

// A companion window that is not running is not an error: nullopt, nothing sent.
std::optional<std::int64_t> SendToWindow(const QDBusConnection& bus, std::string_view className,
                                         std::string_view title, const BusMessage& message,
                                         const BusCallOptions& options = {});

}  // namespace koru
