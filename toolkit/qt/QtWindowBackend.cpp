#include "toolkit/qt/QtWindowBackend.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>

#include "toolkit/qt/QtTrayPeer.h"
#include "toolkit/qt/QtWindowPeer.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/ThreadQueue.h"

namespace koru {

namespace {

const QEvent::Type kWakeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Lives on a user-interface thread. A wake-up from any thread becomes one Qt
// event here, so the thread leaves Qt's wait, and our messages keep running
// even inside event loops that are Qt's own (a file dialog's exec).
class WakeReceiver : public QObject {
 public:
  void Wake() {
    if (m_pending.exchange(true, std::memory_order_acq_rel)) return;
    QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
  }

 protected:
  bool event(QEvent* event) override {
    if (event->type() != kWakeEvent) return QObject::event(event);
    m_pending.store(false, std::memory_order_release);
    if (m_depth == 0) {
      // Only outside our own dispatching: a handler that spins a Qt loop sees the rest later.
      ++m_depth;
      DispatchPendingMessages();
      --m_depth;
    }
    return true;
  }

 private:
  std::atomic<bool> m_pending{false};
  int m_depth = 0;
};

}  // namespace

struct QtWindowBackend::ThreadWaker {
  WakeReceiver receiver;
  QTimer timer;  // the next timer due of the thread's windows
  ThreadWaker() {
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &receiver, [] {});
  }
};

QtWindowBackend::QtWindowBackend() = default;
QtWindowBackend::~QtWindowBackend() = default;

QtWindowBackend::ThreadWaker& QtWindowBackend::WakerForThisThread() {
  // One per user-interface thread; kept until the process ends because the
  // queue's waker may be called from other threads at any time.
  thread_local ThreadWaker* waker = new ThreadWaker;
  return *waker;
}

std::unique_ptr<IWindowPeer> QtWindowBackend::CreatePeer(IWindowSite& site, const WindowCreateParams& params) {
  return std::make_unique<QtWindowPeer>(site, params);
}

std::unique_ptr<ITrayPeer> QtWindowBackend::CreateTray(std::function<void(LPARAM)> onMouse) {
  return std::make_unique<QtTrayPeer>(std::move(onMouse));
}

std::uint64_t QtWindowBackend::NowMs() const {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void QtWindowBackend::PrepareThread(ThreadQueue& queue) {
  WakeReceiver* receiver = &WakerForThisThread().receiver;
  queue.SetWaker([receiver] { receiver->Wake(); });
}

void QtWindowBackend::Wait(ThreadQueue&, std::optional<std::uint64_t> dueMs) {
  ThreadWaker& waker = WakerForThisThread();
  if (dueMs) {
    std::uint64_t now = NowMs();
    waker.timer.start(static_cast<int>(*dueMs > now ? std::min<std::uint64_t>(*dueMs - now, 1u << 30) : 0));
  } else {
    waker.timer.stop();
  }
  // Sleeps in the event dispatcher; a wake-up event, the timer or input ends it.
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

UIRect QtWindowBackend::GetWorkArea(UIPoint near) const {
  QScreen* screen = QGuiApplication::screenAt(QPoint(near.x, near.y));
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {0, 0, 1024, 768};
  QRect rc = screen->availableGeometry();
  return {rc.left(), rc.top(), rc.left() + rc.width(), rc.top() + rc.height()};
}

UIPoint QtWindowBackend::GetCursorPos() const {
  QPoint pt = QCursor::pos();
  return {pt.x(), pt.y()};
}

QtWindowBackend& UseQtWindowBackend(int& argc, char** argv) {
  if (!QCoreApplication::instance()) new QApplication(argc, argv);  // lives until the process ends
  auto backend = std::make_shared<QtWindowBackend>();
  SetWindowBackend(backend);
  return *backend;
}

}  // namespace koru
