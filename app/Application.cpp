#include "app/Application.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

#include "app/CDeviceStrip.h"
#include "app/CMainWnd.h"
#include "app/SimulatorMessages.h"
#include "app/StartupProbe.h"
#include "controls/RegisterControls.h"
#include "devices/DevicePageFactory.h"
#include "platform/DebugOutput.h"
#include "platform/KnownFolders.h"
#include "platform/qt/DisplayMonitor.h"
#include "platform/qt/PowerMonitor.h"
#include "platform/qt/PrivateFonts.h"
#include "platform/qt/SingleInstance.h"
#include "sim/Simulation.h"
#include "sim/firmware/DeviceFirmware.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

namespace koru {
namespace {

// SIGTERM and SIGINT close the main window like the tray menu's "exit", so
// the threads stop and the audio companion is told, instead of dying mid-write.
class TerminationRequest {
 public:
  explicit TerminationRequest(HWND window) {
    if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) return;
    writeFd_ = fds_[1];
    notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this, window] {
      char byte;
      while (::read(fds_[0], &byte, 1) == 1) {
      }
      DebugOutput("termination requested: closing the main window");
      ::PostMessage(window, WM_CLOSE, IDOK, 0);
    });
    struct sigaction action {};
    action.sa_handler = [](int) {
      const char byte = 1;
      [[maybe_unused]] auto written = ::write(writeFd_, &byte, 1);
    };
    ::sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &oldTerm_);
    ::sigaction(SIGINT, &action, &oldInt_);
  }
  ~TerminationRequest() {
    if (!notifier_) return;
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    ::sigaction(SIGINT, &oldInt_, nullptr);
    notifier_.reset();
    writeFd_ = -1;
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  TerminationRequest(const TerminationRequest&) = delete;
  TerminationRequest& operator=(const TerminationRequest&) = delete;

 private:
  static inline volatile int writeFd_ = -1;
  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction oldTerm_ {};
  struct sigaction oldInt_ {};
};

// The devices to simulate; empty when none, or when the option or the
// variable is bad (said on standard error).
sim::SimulationRequest ChooseSimulatedDevices(std::vector<std::string> arguments) {
  std::optional<std::string> option;
  std::string error;
  if (!sim::TakeSimulateOption(arguments, &option, &error)) {
    std::fprintf(stderr, "koru7315: %s\n", error.c_str());
    return {};
  }
  sim::SimulationChoice choice;
  if (!sim::ChooseSimulation(option, &choice, &error)) {
    std::fprintf(stderr, "koru7315: %s\n", error.c_str());
    return {};
  }
  return choice.request;
}

std::unique_ptr<sim::Simulation> StartChosenSimulation(const sim::SimulationRequest& request) {
  if (request.Empty()) return nullptr;
  DebugOutput("simulated devices: " + sim::FormatSimulateList(request));
  // The emulated firmware: a device that answers nothing would hold the pages
  // in read time-outs on the event loop's thread.
  return sim::StartSimulation(request, sim::MakeDeviceFirmware);
}

}  // namespace

void RegisterCustomControls() {
  // The device pictures, the tab item, the power indicator and the device
  // pages; the panels' classes join as they are written.
  RegisterDeviceControls();
  RegisterDevicePageClasses();
}

int RunApplication(const ApplicationOptions& options) {
  PrivateFonts fonts;
  fonts.RegisterProgramFonts();

  // Chosen before the bus name is claimed: the simulator message is accepted
  // only while devices are simulated.
  const sim::SimulationRequest simulated = ChooseSimulatedDevices(options.arguments);
  std::unique_ptr<SingleInstance> instance =
      SingleInstance::Claim({}, simulated.Empty() ? ProgramMessagePolicy() : SimulatingProgramPolicy());
  if (instance->Role() == InstanceRole::Second) {
    DebugOutput("another instance runs; it was asked to show itself");
    return 0;
  }

  CPaintManagerUI::SetInstancePath(ExecutableFolder());
  const std::string skin = ProgramSubfolder("skin");
  CPaintManagerUI::SetResourcePath(skin);
  if (!CResourceManager::GetInstance().LoadResource(skin)) DebugOutput("skin: res.xml not found in " + skin + "'");
  RegisterCustomControls();
  CMainWnd::Registered();

  std::unique_ptr<sim::Simulation> simulation = StartChosenSimulation(simulated);

  MessageService* messages = instance->Messages();
  MainWndServices services;
  const char* inTray = std::getenv("KORU_START_IN_TRAY");
  services.startInTray = inTray != nullptr && std::string(inTray) == "1";
  if (messages != nullptr) {
    services.broadcast = [messages](const BusMessage& message) { messages->Broadcast(message); };
  }
  int status = 0;
  {
    CMainWnd window(services);
    CDeviceStrip strip(window);
    window.SetDeviceStrip(&strip);
    if (window.CreateMainWindow() == nullptr) {
      DebugOutput("the main window could not be created");
      return 1;
    }
    const HWND hwnd = window.GetHWND();
    std::optional<SimulatorMessageSink> simulatorSink;
    IExternalMessageSink* sink = &window;
    if (simulation) sink = &simulatorSink.emplace(window, *simulation);
    if (messages != nullptr) messages->SetSink(sink);
    TerminationRequest termination(hwnd);
    PowerMonitor power([hwnd](PowerEvent event) { ::SendMessage(hwnd, WM_POWERBROADCAST, WPARAM(event), 0); });
    DisplayMonitor display([hwnd](const ScreenGeometry&) { ::PostMessage(hwnd, WM_DISPLAYCHANGE, 0, 0); });
    std::unique_ptr<StartupProbe> probe = StartupProbe::FromEnvironment(
        [&window](const std::string& path) { return window.GetPaintManager().SaveImage(path); },
        [hwnd] { ::PostMessage(hwnd, WM_CLOSE, IDOK, 0); });

    status = RunMessageLoop();
    if (messages != nullptr) messages->SetSink(nullptr);
    if (!window.ThreadsLeftRunning().empty()) {
      // A thread that did not stop still uses the window: end without tearing
      // down what it may touch.
      std::fflush(nullptr);
      std::_Exit(status);
    }
  }
  simulation.reset();
  CResourceManager::GetInstance().ResetTexts();
  return status;
}

}  // namespace koru
