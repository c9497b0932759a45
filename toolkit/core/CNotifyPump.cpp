#include "toolkit/core/CNotifyPump.h"

#include "toolkit/core/CControlUI.h"

void CNotifyPump::Bind(std::string_view type, Handler handler) { Bind(type, {}, std::move(handler)); }

void CNotifyPump::Bind(std::string_view type, std::string_view senderName, Handler handler) {
  m_bindings.push_back({std::string(type), koru::ui::ToLower(senderName), std::move(handler)});
}

bool CNotifyPump::AddVirtualWnd(std::string_view name, CNotifyPump* pump) {
  if (name.empty() || !pump || pump == this) return false;
  return m_virtualWnds.emplace(koru::ui::ToLower(name), pump).second;
}

bool CNotifyPump::RemoveVirtualWnd(std::string_view name) { return m_virtualWnds.erase(koru::ui::ToLower(name)) > 0; }

bool CNotifyPump::NotifyPump(TNotifyUI& msg) {
  if (!msg.sVirtualWnd.empty()) {
    auto it = m_virtualWnds.find(koru::ui::ToLower(msg.sVirtualWnd));
    if (it != m_virtualWnds.end()) return it->second->NotifyPump(msg);
  }
  std::string sender = msg.pSender ? koru::ui::ToLower(msg.pSender->GetName()) : std::string();
  bool handled = false;
  // A handler may bind more handlers; iterate over the ones present now.
  size_t count = m_bindings.size();
  for (size_t i = 0; i < count; ++i) {
    const Binding& b = m_bindings[i];
    if (b.type != msg.sType || (!b.sender.empty() && b.sender != sender)) continue;
    Handler handler = b.handler;
    handler(msg);
    handled = true;
  }
  return handled;
}
