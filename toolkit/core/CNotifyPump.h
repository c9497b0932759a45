#pragma once
// Routes notifications to handlers by type, and optionally by sender name, and
// hands those of a virtual window (a panel marked with "virtualwnd") to that
// panel's own pump. A window's Notify can then read as a table of handlers.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/core/UIEvents.h"

class CNotifyPump {
 public:
  using Handler = std::function<void(TNotifyUI&)>;
  virtual ~CNotifyPump() = default;

  // Handlers of one type run in the order bound; a sender-specific one runs
  // only for that sender (names ignore case).
  void Bind(std::string_view type, Handler handler);
  void Bind(std::string_view type, std::string_view senderName, Handler handler);
  bool AddVirtualWnd(std::string_view name, CNotifyPump* pump);
  bool RemoveVirtualWnd(std::string_view name);
  // True when a handler (here or in the virtual window's pump) ran.
  bool NotifyPump(TNotifyUI& msg);

 private:
  struct Binding {
    std::string type;
    std::string sender;  // lower case; empty for any sender
    Handler handler;
  };
  std::vector<Binding> m_bindings;
  std::map<std::string, CNotifyPump*> m_virtualWnds;
};
