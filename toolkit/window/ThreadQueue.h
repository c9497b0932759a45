#pragma once
// The message queue of one thread: posted messages in arrival order, incoming
// synchronous sends from other threads, and the quit request. A thread that
// waits for its own send to another thread keeps answering the sends that
// reach it meanwhile, so two threads that send to each other never deadlock.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "toolkit/window/WindowTypes.h"

namespace koru {

enum class PayloadSlot { None, WParam, LParam };

struct QueuedMessage {
  HWND hwnd = nullptr;
  unsigned message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::unique_ptr<MessagePayload> payload;
  PayloadSlot slot = PayloadSlot::None;
};

class ThreadQueue : public std::enable_shared_from_this<ThreadQueue> {
 public:
  ThreadQueue();
  ~ThreadQueue();
  ThreadQueue(const ThreadQueue&) = delete;
  ThreadQueue& operator=(const ThreadQueue&) = delete;

  // The calling thread's queue, made on first use; it closes when the thread ends.
  static std::shared_ptr<ThreadQueue> ForCurrentThread();
  bool IsCurrentThread() const { return std::this_thread::get_id() == m_thread; }

  // Any thread. False when the queue has closed (its thread ended).
  bool Post(QueuedMessage message);
  void PostQuit(int code);
  // Called from another thread's queue: blocks that thread (serving its own
  // incoming sends) until this queue's thread has handled the message.
  // nullopt when the queue has closed or the deadline passed first.
  std::optional<LRESULT> SendFrom(ThreadQueue& sender, QueuedMessage message,
                   std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);
  // Something changed for this thread (a timer, posted work, a repaint).
  void Wake();
  // An extra way to wake the thread, for hosts that sleep in their own event loop.
  void SetWaker(std::function<void()> waker);

  // Owner thread only.
  bool ServeOneSend();
  std::optional<QueuedMessage> TakePost();
  std::optional<int> TakeQuit();
  bool HasWork();
  // Sleeps until woken, a message arrives, or the deadline passes; clears the wake flag.
  void WaitForWork(std::optional<std::chrono::steady_clock::time_point> deadline);
  // Sleeps until a send arrives or the deadline passes (posts wait for the loop).
  void WaitForSend(std::chrono::steady_clock::time_point deadline);
  // A window of this thread is gone: its posts are dropped, sends waiting for it answered 0.
  void DropWindow(HWND hwnd);
  std::vector<HWND>& Windows() { return m_windows; }
  // The thread ends: waiting senders get 0, later posts are refused.
  void Shutdown();
  bool IsPrepared() const { return m_prepared; }
  void SetPrepared() { m_prepared = true; }

 private:
  struct PendingSend;
  // Applies `change` under the lock (false: nothing changed) and wakes the thread.
  template <class Change>
  bool ChangeAndWake(Change change);
  void Finish(PendingSend& send, LRESULT result);
  bool HasWorkLocked() const;

  const std::thread::id m_thread;
  std::mutex m_mutex;
  std::condition_variable m_cv;
  std::deque<QueuedMessage> m_posted;
  std::deque<std::shared_ptr<PendingSend>> m_sends;
  std::optional<int> m_quit;
  bool m_woken = false;
  bool m_closed = false;
  std::function<void()> m_waker;
  std::vector<HWND> m_windows;
  bool m_prepared = false;
};

}  // namespace koru
