// The real host end to end: Xvfb, a Qt top-level window per toolkit window,
// the manager's image on the screen, Qt input reaching the caption buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <atomic>
#include <csignal>
#include <thread>
#include <iostream>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/RegisteredMessages.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/qt/QtWindowBackend.h"
#include "toolkit/qt/QtWindowPeer.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowImplBase.h"
#include "toolkit/window/WindowRegistry.h"

extern "C" const char* __lsan_default_suppressions() {
  // Caches of fontconfig, xcb and the X libraries live for the process.
  return "leak:libfontconfig\nleak:libxcb\nleak:libX11\nleak:libQt6XcbQpa\nleak:libQt6Gui\nleak:libdbus\n";
}

namespace {

constexpr const char* kSampleMarkup = R"(<Window size="420,260" caption="0,0,0,36">
  <Font id="0" name="Noto Sans" size="14" default="true"/>
  <VerticalLayout name="root" bkcolor="#FF1C2128" bordercolor="#FF3A4452" bordersize="1">
    <HorizontalLayout height="36" bkcolor="#FF262D36">
      <Label name="title" text="KORU7315" textcolor="#FFE8ECF2" textpadding="12,0,0,0"/>
      <Button name="minbtn" width="36" text="_" textcolor="#FFE8ECF2" hotbkcolor="#FF323B47"/>
      <Button name="closebtn" width="36" text="X" textcolor="#FFE8ECF2" hotbkcolor="#FFE5484D"/>
    </HorizontalLayout>
    <Control height="30"/>
    <HorizontalLayout height="60" padding="30,0,30,0">
      <Control width="60" bkcolor="#FFE5484D"/>
      <Control width="20"/>
      <Control width="60" bkcolor="#FF2ECC71"/>
      <Control width="20"/>
      <Control width="60" bkcolor="#FF3498DB"/>
    </HorizontalLayout>
    <Label height="40" text="Qt host under Xvfb" textcolor="#FFE8ECF2" align="center"/>
  </VerticalLayout>
</Window>)";

class SampleWindow : public WindowImplBase {
 public:
  std::atomic<int> showRequests{0};

 protected:
  std::string GetWindowClassName() const override { return "SampleWnd"; }
  std::string GetSkinFile() override { return kSampleMarkup; }
  LRESULT HandleCustomMessage(unsigned message, WPARAM, LPARAM lParam, bool& handled) override {
    if (message != koru::RegisterWindowMessage(koru::kShowRequestMessage)) return 0;
    handled = true;
    ++showRequests;
    return lParam + 1;
  }
};

// An X server of our own; stopped (by its process id) when the test ends.
class VirtualDisplay {
 public:
  bool Start() {
    int fds[2];
    if (pipe(fds) != 0) return false;
    m_pid = fork();
    if (m_pid == 0) {
      close(fds[0]);
      std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    // The server writes its display number and a newline once it is ready;
    // the pipe stays open until it is stopped, so its later writes cannot fail.
    m_readyFd = fds[0];
    char ch = 0;
    std::string number;
    while (read(m_readyFd, &ch, 1) == 1 && ch != '\n') number += ch;
    if (number.empty()) return false;
    m_display = ":" + number;
    return true;
  }
  ~VirtualDisplay() {
    if (m_pid > 0) {
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_readyFd >= 0) close(m_readyFd);
  }
  const std::string& Display() const { return m_display; }

 private:
  pid_t m_pid = -1;
  int m_readyFd = -1;
  std::string m_display;
};

bool HaveXvfb() { return std::system("command -v Xvfb >/dev/null 2>&1") == 0; }

int CountDiffering(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      QRgb p = a.pixel(x, y);
      QRgb q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 40 || std::abs(qGreen(p) - qGreen(q)) > 40 ||
          std::abs(qBlue(p) - qBlue(q)) > 40)
        ++differing;
    }
  }
  return differing;
}

TEST(QtHostSmokeTest, SampleWindowShowsOnXvfbAndItsCloseButtonWorks) {
  if (!HaveXvfb()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the Qt host is not tried";
  VirtualDisplay display;
  ASSERT_TRUE(display.Start()) << "Xvfb did not start";
  std::cout << "Xvfb display " << display.Display() << "\n";
  setenv("DISPLAY", display.Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  static int argc = 1;
  static char name[] = "toolkit_qt_tests";
  static char* argv[] = {name, nullptr};
  koru::UseQtWindowBackend(argc, argv);
  ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  std::string skin = std::string(std::getenv("KORU_SOURCE_DIR") ? std::getenv("KORU_SOURCE_DIR") : ".") + "/skin";
  CPaintManagerUI::SetResourcePath(skin);
  CResourceManager::GetInstance().LoadResource(skin);

  auto* window = new SampleWindow;
  HWND hwnd = window->Create(nullptr, "KORU7315", UI_WNDSTYLE_FRAME, 0, 100, 80, CW_USEDEFAULT, CW_USEDEFAULT);
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(window->GetWindowRect(), (UIRect{100, 80, 520, 340}));
  auto* peer = dynamic_cast<koru::QtWindowPeer*>(window->Peer());
  ASSERT_NE(peer, nullptr);

  // Let the window map and paint: a window timer ends the wait.
  bool painted = false;
  window->SetTimer(1, 500);
  window->GetPaintManager().SetWindowTimerHandler([&](unsigned) { painted = true; });
  koru::RunMessageLoopUntil([&] { return painted; });
  window->KillTimer(1);
  QCoreApplication::processEvents();

  QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
  std::string shot = std::string(KORU_SCREENSHOT_DIR) + "/qt_host_sample_window.png";
  ASSERT_TRUE(screen.save(QString::fromStdString(shot))) << shot;
  std::cout << "screenshot: " << shot << "\n";

  // What the X server shows at the window is the manager's picture.
  QImage expected = window->GetPaintManager().GetImage().convertToFormat(QImage::Format_RGB32);
  QImage shown = screen.copy(100, 80, expected.width(), expected.height()).convertToFormat(QImage::Format_RGB32);
  EXPECT_LT(CountDiffering(expected, shown), expected.width() * expected.height() / 100);

  // A send from another thread wakes the thread sleeping in Qt's event loop.
  LRESULT answer = 0;
  std::thread sender([&] { answer = SendMessage(hwnd, koru::RegisterWindowMessage(koru::kShowRequestMessage), 0, 1); });
  koru::RunMessageLoopUntil([&] { return window->showRequests.load() > 0; });
  sender.join();
  EXPECT_EQ(answer, 2);

  // A click on "closebtn" through Qt's mouse events closes and deletes the window.
  QWidget* widget = peer->Widget();
  QPointF at(420 - 18, 18);
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
  koru::RunMessageLoopUntil([&] { return !IsWindow(hwnd); });
  EXPECT_FALSE(IsWindow(hwnd));
  delete window;
  QCoreApplication::processEvents();
}

}  // namespace
