#pragma once
// The message loop of a user-interface thread. Each round answers incoming
// sends, handles one posted message, and pumps the windows whose paint
// manager asked for it or has a timer due; with nothing to do the thread
// sleeps in the host until it is woken or the next timer is due.
#include <chrono>
#include <functional>

namespace koru {

// Runs until PostQuitMessage; answers its code.
int RunMessageLoop();
// A nested loop (modal windows): runs until `done` answers true, or until a
// quit request, which is then posted again for the outer loop (answers false).
bool RunMessageLoopUntil(const std::function<bool()>& done);
// Handles whatever is ready now without sleeping; answers the number of items.
// With the headless host this also lets due virtual time pass (AdvanceTime).
int DispatchPendingMessages();
// Waits for `done` while still answering sends from other threads, so that a
// thread stopping a worker that sends to it cannot deadlock. False on time-out.
bool WaitServingSends(const std::function<bool()>& done, std::chrono::milliseconds timeout);

}  // namespace koru
