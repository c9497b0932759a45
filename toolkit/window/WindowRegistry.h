#pragma once
// Window handles and the messages between windows and threads.
//
// SendMessage runs the handler before it returns: directly when the window
// belongs to the calling thread, otherwise on the window's thread while the
// caller waits (answering sends that reach it meanwhile). PostMessage queues
// the message for the window's thread, in order per thread. Both drop messages
// to windows that are gone; a send then answers 0.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "toolkit/window/ThreadQueue.h"
#include "toolkit/window/WindowTypes.h"

class CWindowWnd;

LRESULT SendMessage(HWND hwnd, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND hwnd, unsigned message, WPARAM wParam = 0, LPARAM lParam = 0);
// Ends the calling thread's message loop with `code` (nested loops end first).
void PostQuitMessage(int code);
bool IsWindow(HWND hwnd);

namespace koru {

// A send that gives up after `timeout`; nullopt when it did (or the window is gone).
std::optional<LRESULT> SendMessageTimeout(HWND hwnd, unsigned message, WPARAM wParam, LPARAM lParam,
                                          std::chrono::milliseconds timeout);
// Posts a message that owns its attachment; the attachment's address goes into `slot`.
bool PostMessageWithPayload(HWND hwnd, unsigned message, std::unique_ptr<MessagePayload> payload, PayloadSlot slot,
                            WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessageWithPayload(HWND hwnd, unsigned message, std::unique_ptr<MessagePayload> payload,
                               PayloadSlot slot, WPARAM wParam = 0, LPARAM lParam = 0);
// WM_COPYDATA: the receiver sees a copy of `bytes` for the duration of its handler.
LRESULT SendCopyData(HWND to, HWND from, std::uintptr_t kind, std::span<const std::uint8_t> bytes);
// The menu command record travels in wParam of kMenuCommandMessage.
bool PostMenuCommand(HWND owner, std::unique_ptr<MenuCmd> command);
inline const MenuCmd* MenuCommandOf(WPARAM wParam) { return reinterpret_cast<const MenuCmd*>(wParam); }
inline const COPYDATASTRUCT* CopyDataOf(LPARAM lParam) { return reinterpret_cast<const COPYDATASTRUCT*>(lParam); }

// Registry of live windows; used by CWindowWnd.
HWND RegisterWindow(CWindowWnd* window, std::shared_ptr<ThreadQueue> queue);
void UnregisterWindow(HWND hwnd);
// The window behind a handle, only when it belongs to the calling thread.
CWindowWnd* WindowFromHandle(HWND hwnd);
// Runs the message on the calling thread, which must own its window.
LRESULT DispatchQueuedMessage(QueuedMessage& message);

}  // namespace koru
