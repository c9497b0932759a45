#pragma once
// A toolkit window for tests: built from markup text, recording every message
// its custom handler sees and the thread that handled it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/core/CControlUI.h"
#include "toolkit/window/HeadlessWindowBackend.h"
#include "toolkit/window/WindowImplBase.h"

namespace koru::test {

inline constexpr const char* kTestWindowMarkup = R"(<Window size="300,200" caption="0,0,0,30">
  <VerticalLayout name="root" bkcolor="#FF202428">
    <HorizontalLayout height="30">
      <Label name="title" text="Test"/>
      <Button name="minbtn" width="30"/>
      <Button name="maxbtn" width="30"/>
      <Button name="restorebtn" width="30" visible="false"/>
      <Button name="closebtn" width="30"/>
    </HorizontalLayout>
    <Button name="ok_btn" text="OK" height="40"/>
  </VerticalLayout>
</Window>)";

struct SeenMessage {
  unsigned message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::thread::id thread;
};

class TestWindow : public WindowImplBase {
 public:
  explicit TestWindow(std::string markup = kTestWindowMarkup) : m_markup(std::move(markup)) {}

  // Messages from WM_USER up, as the custom handler saw them.
  std::vector<SeenMessage> Seen() const {
    std::lock_guard lock(m_mutex);
    return m_seen;
  }
  // Runs for each message from WM_USER up (and WM_TIMER); answers the message's result.
  std::function<LRESULT(unsigned, WPARAM, LPARAM)> onMessage;
  std::function<void()> onInit;
  std::function<void()> onFinal;
  std::vector<std::string> clicks;
  std::vector<unsigned> timers;
  bool deleteOnFinal = false;

 protected:
  std::string GetWindowClassName() const override { return "TestWnd"; }
  std::string GetSkinFile() override { return m_markup; }
  void InitWindow() override {
    if (onInit) onInit();
  }
  void OnClick(TNotifyUI& msg) override {
    clicks.push_back(msg.pSender->GetName());
    WindowImplBase::OnClick(msg);
  }
  LRESULT HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (message < WM_USER && message != WM_COPYDATA) return WindowImplBase::HandleCustomMessage(message, wParam, lParam, handled);
    {
      std::lock_guard lock(m_mutex);
      m_seen.push_back({message, wParam, lParam, std::this_thread::get_id()});
    }
    handled = true;
    return onMessage ? onMessage(message, wParam, lParam) : 0;
  }
  LRESULT OnTimer(unsigned, WPARAM wParam, LPARAM, bool& handled) override {
    handled = true;
    timers.push_back(static_cast<unsigned>(wParam));
    if (onMessage) onMessage(WM_TIMER, wParam, 0);
    return 0;
  }
  void OnFinalMessage(HWND hWnd) override {
    WindowImplBase::OnFinalMessage(hWnd);
    if (onFinal) onFinal();
    if (deleteOnFinal) delete this;
  }

 private:
  std::string m_markup;
  mutable std::mutex m_mutex;
  std::vector<SeenMessage> m_seen;
};

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  HeadlessWindowBackend& Backend() { return *m_backend; }
  HeadlessWindowPeer& Peer(HWND hwnd);

 private:
  HeadlessWindowBackend* m_backend = nullptr;
};

// The skin folder of the program, for the real "menu.xml".
std::string SkinDir();

}  // namespace koru::test
