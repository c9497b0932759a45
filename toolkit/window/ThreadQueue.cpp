#include "toolkit/window/ThreadQueue.h"

#include <algorithm>

#include "toolkit/window/WindowRegistry.h"

namespace koru {

struct ThreadQueue::PendingSend {
  QueuedMessage message;
  std::shared_ptr<ThreadQueue> sender;
  bool done = false;  // guarded by the sender's mutex
  LRESULT result = 0;
};

namespace {

// Closes the queue when its thread ends, so senders waiting for it are released.
struct CurrentQueue {
  std::shared_ptr<ThreadQueue> queue;
  ~CurrentQueue();
};

thread_local CurrentQueue t_current;

}  // namespace

ThreadQueue::ThreadQueue() : m_thread(std::this_thread::get_id()) {}

ThreadQueue::~ThreadQueue() = default;

std::shared_ptr<ThreadQueue> ThreadQueue::ForCurrentThread() {
  if (!t_current.queue) t_current.queue = std::make_shared<ThreadQueue>();
  return t_current.queue;
}

namespace {
CurrentQueue::~CurrentQueue() {
  if (queue) queue->Shutdown();
}
}  // namespace

template <class Change>
bool ThreadQueue::ChangeAndWake(Change change) {
  std::function<void()> waker;
  {
    std::lock_guard lock(m_mutex);
    if (!change()) return false;
    waker = m_waker;
  }
  m_cv.notify_all();
  if (waker) waker();
  return true;
}

bool ThreadQueue::Post(QueuedMessage message) {
  return ChangeAndWake([&] {
    if (m_closed) return false;
    m_posted.push_back(std::move(message));
    return true;
  });
}

void ThreadQueue::PostQuit(int code) {
  ChangeAndWake([&] {
    m_quit = code;
    return true;
  });
}

void ThreadQueue::Wake() {
  ChangeAndWake([&] {
    m_woken = true;
    return true;
  });
}

void ThreadQueue::SetWaker(std::function<void()> waker) {
  std::lock_guard lock(m_mutex);
  m_waker = std::move(waker);
}

std::optional<LRESULT> ThreadQueue::SendFrom(ThreadQueue& sender, QueuedMessage message,
                              std::optional<std::chrono::steady_clock::time_point> deadline) {
  auto send = std::make_shared<PendingSend>();
  send->message = std::move(message);
  send->sender = sender.shared_from_this();
  bool queued = ChangeAndWake([&] {
    if (m_closed) return false;
    m_sends.push_back(send);
    return true;
  });
  if (!queued) return std::nullopt;

  for (;;) {
    while (sender.ServeOneSend()) {
    }
    std::unique_lock lock(sender.m_mutex);
    if (send->done) return send->result;
    if (!sender.m_sends.empty()) continue;
    if (!deadline) {
      sender.m_cv.wait(lock);
      continue;
    }
    if (sender.m_cv.wait_until(lock, *deadline) == std::cv_status::timeout && !send->done) {
      lock.unlock();
      // Withdraw it unless the receiver has already taken it; a taken one
      // finishes into the shared record, which nobody reads any more.
      std::lock_guard targetLock(m_mutex);
      m_sends.erase(std::remove(m_sends.begin(), m_sends.end(), send), m_sends.end());
      return std::nullopt;
    }
  }
}

void ThreadQueue::Finish(PendingSend& send, LRESULT result) {
  ThreadQueue& sender = *send.sender;
  {
    std::lock_guard lock(sender.m_mutex);
    send.done = true;
    send.result = result;
  }
  sender.m_cv.notify_all();
}

bool ThreadQueue::ServeOneSend() {
  std::shared_ptr<PendingSend> send;
  {
    std::lock_guard lock(m_mutex);
    if (m_sends.empty()) return false;
    send = std::move(m_sends.front());
    m_sends.pop_front();
  }
  LRESULT result = DispatchQueuedMessage(send->message);
  send->message.payload.reset();
  Finish(*send, result);
  return true;
}

std::optional<QueuedMessage> ThreadQueue::TakePost() {
  std::lock_guard lock(m_mutex);
  if (m_posted.empty()) return std::nullopt;
  QueuedMessage message = std::move(m_posted.front());
  m_posted.pop_front();
  return message;
}

std::optional<int> ThreadQueue::TakeQuit() {
  std::lock_guard lock(m_mutex);
  std::optional<int> quit = m_quit;
  m_quit.reset();
  return quit;
}

bool ThreadQueue::HasWorkLocked() const { return !m_sends.empty() || !m_posted.empty() || m_quit || m_woken; }

bool ThreadQueue::HasWork() {
  std::lock_guard lock(m_mutex);
  return HasWorkLocked();
}

void ThreadQueue::WaitForWork(std::optional<std::chrono::steady_clock::time_point> deadline) {
  std::unique_lock lock(m_mutex);
  if (deadline) {
    m_cv.wait_until(lock, *deadline, [this] { return HasWorkLocked(); });
  } else {
    m_cv.wait(lock, [this] { return HasWorkLocked(); });
  }
  m_woken = false;
}

void ThreadQueue::WaitForSend(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(m_mutex);
  m_cv.wait_until(lock, deadline, [this] { return !m_sends.empty(); });
}

void ThreadQueue::DropWindow(HWND hwnd) {
  std::vector<std::shared_ptr<PendingSend>> orphans;
  std::deque<QueuedMessage> dropped;
  {
    std::lock_guard lock(m_mutex);
    for (auto it = m_posted.begin(); it != m_posted.end();) {
      if (it->hwnd == hwnd) {
        dropped.push_back(std::move(*it));
        it = m_posted.erase(it);
      } else {
        ++it;
      }
    }
    for (auto it = m_sends.begin(); it != m_sends.end();) {
      if ((*it)->message.hwnd == hwnd) {
        orphans.push_back(std::move(*it));
        it = m_sends.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& send : orphans) Finish(*send, 0);
  m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), hwnd), m_windows.end());
}

void ThreadQueue::Shutdown() {
  std::deque<std::shared_ptr<PendingSend>> orphans;
  {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    orphans.swap(m_sends);
    m_posted.clear();
    m_waker = nullptr;
  }
  for (auto& send : orphans) Finish(*send, 0);
}

}  // namespace koru
