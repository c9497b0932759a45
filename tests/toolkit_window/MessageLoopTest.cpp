// Posting, sending across threads, modal loops and timers on the headless host.
#include <atomic>
#include <future>
#include <thread>

#include "tests/toolkit_window/WindowTestSupport.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru::test {
namespace {

constexpr unsigned kPing = WM_USER + 1;
constexpr unsigned kClose = WM_USER + 2;

using MessageLoopTest = WindowTest;

TEST_F(MessageLoopTest, PostedMessagesArriveInOrderPerSender) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "order", UI_WNDSTYLE_FRAME, 0);
  ASSERT_TRUE(hwnd);
  constexpr int kPerSender = 200;
  // Two workers and the window's own thread post interleaved; each sender's order must hold.
  std::thread first([&] {
    for (int i = 0; i < kPerSender; ++i) ASSERT_TRUE(PostMessage(hwnd, kPing, 1, i));
  });
  std::thread second([&] {
    for (int i = 0; i < kPerSender; ++i) ASSERT_TRUE(PostMessage(hwnd, kPing, 2, i));
  });
  for (int i = 0; i < kPerSender; ++i) ASSERT_TRUE(window.PostMessage(kPing, 3, i));
  first.join();
  second.join();
  DispatchPendingMessages();

  std::vector<LPARAM> next(4, 0);
  int total = 0;
  for (const SeenMessage& seen : window.Seen()) {
    ASSERT_EQ(seen.message, kPing);
    EXPECT_EQ(seen.lParam, next[seen.wParam]) << "sender " << seen.wParam;
    next[seen.wParam] = seen.lParam + 1;
    EXPECT_EQ(seen.thread, std::this_thread::get_id());
    ++total;
  }
  EXPECT_EQ(total, 3 * kPerSender);
  window.DestroyWindow();
}

TEST_F(MessageLoopTest, SendFromWorkerIsHandledInsideModalLoopAndClosesIt) {
  TestWindow owner;
  HWND ownerHwnd = owner.Create(nullptr, "owner", UI_WNDSTYLE_FRAME, 0);
  auto* dialog = new TestWindow;
  dialog->deleteOnFinal = true;
  dialog->onMessage = [dialog](unsigned message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message == kPing) return static_cast<LRESULT>(wParam * 2);
    if (message == kClose) dialog->Close(static_cast<unsigned>(wParam));
    return 0;
  };
  HWND hwnd = dialog->Create(ownerHwnd, "dialog", UI_WNDSTYLE_DIALOG, 0);
  ASSERT_TRUE(hwnd);

  std::thread::id uiThread = std::this_thread::get_id();
  std::promise<std::vector<LRESULT>> answers;
  std::thread worker([&] {
    std::vector<LRESULT> results;
    // The first send returns only once the modal loop handled it.
    for (WPARAM i = 1; i <= 5; ++i) results.push_back(SendMessage(hwnd, kPing, i, 0));
    results.push_back(SendMessage(hwnd, kClose, 42, 0));
    answers.set_value(results);
  });
  bool ownerDisabledDuringModal = false;
  PostMessage(ownerHwnd, kPing, 0, 0);  // the owner's posts still run during the modal loop
  owner.onMessage = [&](unsigned, WPARAM, LPARAM) -> LRESULT {
    ownerDisabledDuringModal = !Peer(ownerHwnd).IsEnabled();
    return 0;
  };
  unsigned result = dialog->ShowModal();
  worker.join();

  EXPECT_EQ(result, 42u);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(answers.get_future().get(), (std::vector<LRESULT>{2, 4, 6, 8, 10, 0}));
  EXPECT_TRUE(ownerDisabledDuringModal);
  EXPECT_TRUE(Peer(ownerHwnd).IsEnabled());
  ASSERT_EQ(owner.Seen().size(), 1u);
  EXPECT_EQ(owner.Seen()[0].thread, uiThread);
  owner.DestroyWindow();
}

TEST_F(MessageLoopTest, TimersFireInOrderDuringModalLoop) {
  auto* dialog = new TestWindow;
  dialog->deleteOnFinal = true;
  std::vector<unsigned> fired;
  dialog->onInit = [dialog] {
    dialog->SetTimer(1, 100);
    dialog->SetTimer(2, 250);
  };
  dialog->onMessage = [&, dialog](unsigned message, WPARAM wParam, LPARAM) -> LRESULT {
    if (message != WM_TIMER) return 0;
    fired.push_back(static_cast<unsigned>(wParam));
    if (wParam == 2) {
      dialog->KillTimer(2);  // a handler kills its timer first
      dialog->Close(7);
    }
    return 0;
  };
  HWND hwnd = dialog->Create(nullptr, "timers", UI_WNDSTYLE_DIALOG, 0);
  ASSERT_TRUE(hwnd);
  std::thread clock([&] {
    SendMessage(hwnd, kPing, 0, 0);  // the modal loop runs
    Backend().AdvanceTime(1000);
  });
  unsigned result = dialog->ShowModal();
  clock.join();
  EXPECT_EQ(result, 7u);
  // 100, 200 fire before 250; the window closed then, so 300 never came.
  EXPECT_EQ(fired, (std::vector<unsigned>{1, 1, 2}));
}

TEST_F(MessageLoopTest, ThreadsSendingToEachOtherDoNotDeadlock) {
  TestWindow here;
  HWND hereHwnd = here.Create(nullptr, "here", UI_WNDSTYLE_FRAME, 0);
  here.onMessage = [](unsigned, WPARAM wParam, LPARAM) -> LRESULT { return static_cast<LRESULT>(wParam + 100); };

  std::promise<HWND> thereReady;
  std::thread otherUiThread([&] {
    TestWindow there;
    there.onMessage = [&](unsigned message, WPARAM wParam, LPARAM) -> LRESULT {
      if (message == kClose) {
        PostQuitMessage(0);
        return 0;
      }
      // While this thread handles our send, it sends back to us: we must answer it.
      return SendMessage(hereHwnd, kPing, wParam, 0) + 1;
    };
    thereReady.set_value(there.Create(nullptr, "there", UI_WNDSTYLE_FRAME, 0));
    RunMessageLoop();
    there.DestroyWindow();
  });
  HWND thereHwnd = thereReady.get_future().get();
  EXPECT_EQ(SendMessage(thereHwnd, kPing, 5, 0), 106);
  SendMessage(thereHwnd, kClose, 0, 0);
  otherUiThread.join();
  // The window died with its thread: messages to it are dropped.
  EXPECT_FALSE(PostMessage(thereHwnd, kPing, 0, 0));
  EXPECT_EQ(SendMessage(thereHwnd, kPing, 1, 0), 0);
  here.DestroyWindow();
}

TEST_F(MessageLoopTest, MessagesToADestroyedWindowAreDroppedWithTheirData) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "gone", UI_WNDSTYLE_FRAME, 0);
  auto command = std::make_unique<MenuCmd>();
  command->szName = "exit";
  ASSERT_TRUE(PostMenuCommand(hwnd, std::move(command)));
  ASSERT_TRUE(PostMessage(hwnd, kPing, 1, 0));
  window.DestroyWindow();
  DispatchPendingMessages();
  EXPECT_TRUE(window.Seen().empty());  // the queued record was freed with the message (leak check)
  EXPECT_FALSE(PostMessage(hwnd, kPing, 2, 0));
  EXPECT_EQ(SendMessage(hwnd, kPing, 3, 0), 0);
  EXPECT_FALSE(SendMessageTimeout(hwnd, kPing, 3, 0, std::chrono::milliseconds(10)).has_value());
}

TEST_F(MessageLoopTest, CopyDataCarriesACopyOfTheBytes) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "copy", UI_WNDSTYLE_FRAME, 0);
  std::vector<std::uint8_t> received;
  std::uintptr_t kind = 0;
  window.onMessage = [&](unsigned message, WPARAM, LPARAM lParam) -> LRESULT {
    if (message != WM_COPYDATA) return 0;
    const COPYDATASTRUCT* data = CopyDataOf(lParam);
    kind = data->dwData;
    received.assign(data->lpData(), data->lpData() + data->cbData());
    return 1;
  };
  std::thread sender([&] {
    std::vector<std::uint8_t> bytes{1, 2, 3, 250};
    EXPECT_EQ(SendCopyData(hwnd, nullptr, 2, bytes), 1);
    bytes.assign(4, 0);  // the receiver had its own copy
  });
  // The worker blocks until this thread runs its loop.
  RunMessageLoopUntil([&] { return !received.empty(); });
  sender.join();
  EXPECT_EQ(kind, 2u);
  EXPECT_EQ(received, (std::vector<std::uint8_t>{1, 2, 3, 250}));
  window.DestroyWindow();
}

TEST_F(MessageLoopTest, QuitInsideModalLoopEndsItAndReachesTheOuterLoop) {
  auto* dialog = new TestWindow;
  dialog->deleteOnFinal = true;
  HWND hwnd = dialog->Create(nullptr, "quit", UI_WNDSTYLE_DIALOG, 0);
  dialog->onMessage = [](unsigned, WPARAM, LPARAM) -> LRESULT {
    PostQuitMessage(3);
    return 0;
  };
  PostMessage(hwnd, kPing, 0, 0);
  EXPECT_EQ(dialog->ShowModal(), 0u);
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(RunMessageLoop(), 3);
  SendMessage(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MessageLoopTest, WaitingForAWorkerStillAnswersItsSends) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "join", UI_WNDSTYLE_FRAME, 0);
  std::atomic<bool> finished{false};
  std::thread worker([&] {
    SendMessage(hwnd, kPing, 1, 0);  // a scanner reporting while the window shuts down
    finished = true;
  });
  EXPECT_TRUE(WaitServingSends([&] { return finished.load(); }, std::chrono::seconds(30)));
  worker.join();
  EXPECT_EQ(window.Seen().size(), 1u);
  window.DestroyWindow();
}

TEST_F(MessageLoopTest, SendTimeoutGivesUpWhenTheWindowThreadIsBusy) {
  TestWindow window;
  HWND hwnd = window.Create(nullptr, "busy", UI_WNDSTYLE_FRAME, 0);
  std::optional<LRESULT> result = LRESULT{1};
  std::thread worker([&] { result = SendMessageTimeout(hwnd, kPing, 1, 0, std::chrono::milliseconds(20)); });
  worker.join();  // this thread never runs its loop meanwhile
  EXPECT_FALSE(result.has_value());
  DispatchPendingMessages();
  EXPECT_TRUE(window.Seen().empty());  // withdrawn, not handled late
  window.DestroyWindow();
}

}  // namespace
}  // namespace koru::test
