#pragma once
// The program's main window: the device strip and pages, the tray icon and
// its menu, the caption buttons, the lighting-control switch, game light
// events, synchronised lighting, and the worker threads of the shell. It
// receives every notification of its controls, the program's private
// messages, and the messages of other programs (through the message service).
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/DeviceMessageGate.h"
#include "app/DevicePageLists.h"
#include "app/GameLightEvents.h"
#include "app/IDeviceStrip.h"
#include "app/LanguageSwitch.h"
#include "app/LightingControlSwitch.h"
#include "app/MainWndMessages.h"
#include "app/SyncLighting.h"
#include "app/SyncLightingThread.h"
#include "app/WorkerThreads.h"
#include "catalogue/IDeviceEventSink.h"
#include "catalogue/InterfaceSlotList.h"
#include "platform/qt/BusMessage.h"
#include "platform/qt/DisplayMonitor.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/window/CTrayIcon.h"
#include "toolkit/window/WindowImplBase.h"

class CDeviceScanner;
class CAboutWnd;
namespace koru {
class SettingsStore;
}

// What the window needs from outside; the defaults serve the program, tests
// replace them.
struct MainWndServices {
  // Announcements to every program (the Broadcast signal).
  std::function<void(const koru::BusMessage&)> broadcast;
  // A message to a companion window known by class and title.
  std::function<void(std::string_view className, std::string_view title, const koru::BusMessage&)> sendToCompanion;
  // The full rectangle of the monitor that holds a screen point.
  std::function<std::optional<koru::ScreenGeometry>(UIPoint)> monitorAt;
  // The language choice; null uses the program's settings file.
  koru::SettingsStore* settings = nullptr;
  std::string languageConfigPath;  // empty: DefaultData/Language.config
  // Start the scanner and the synchronised-lighting thread.
  bool startWorkers = true;
  // Stay in the tray after the scanner's first pass (a start at login); a
  // show request of the user or of a second start still shows the window.
  bool startInTray = false;
};

class CMainWnd : public WindowImplBase, public IQueryControlText, public IDeviceEventSink,
                 public koru::IExternalMessageSink {
 public:
  explicit CMainWnd(MainWndServices services = {});
  ~CMainWnd() override;

  // Creates the window (hidden until the scanner's first pass) with the
  // program's class, title and style.
  HWND CreateMainWindow();

  // The strip that holds the device tabs; the window keeps using the empty
  // one until another is set. Not owned.
  void SetDeviceStrip(IDeviceStrip* strip);
  CDevicePageLists& Pages() { return pages_; }
  CInterfaceSlotList& Slots() { return slots_; }
  CSyncLightingSettingsStore& SyncSettings() { return syncSettings_; }
  CWorkerThreads& Workers() { return workers_; }
  CTrayIcon& Tray() { return tray_; }
  bool LightingControl() const { return lighting_.IsOn(); }
  bool IsDeviceGateOpen() const { return gate_.IsOpen(); }
  int ScalingDpi() const { return dpi_; }
  ScreenSize Screen() const { return screen_; }
  // Slots whose thread did not end at shutdown (left to end with the process).
  const std::vector<int>& ThreadsLeftRunning() const { return threadsLeftRunning_; }

  // Message numbers of the registered names, fixed for the process.
  struct RegisteredMessages {
    unsigned showRequest = 0;
    unsigned updateProgress = 0;
    unsigned lightControlBroadcast = 0;
    unsigned lightControlRequest = 0;
    unsigned workToolQuery = 0;
    unsigned audioCompanion = 0;
    std::array<unsigned, 4> gameEvents{};
  };
  static const RegisteredMessages& Registered();

  // INotifyUI
  void Notify(TNotifyUI& msg) override;
  // IDialogBuilderCallback
  CControlUI* CreateControl(std::string_view className) override;
  // IQueryControlText: texts come only from the language files.
  std::optional<std::string> QueryControlText(std::string_view id, std::string_view type) override;
  // IDeviceEventSink (scanner thread): each event is handled on the window's thread while the scanner waits.
  void OnInterfaceAttached(int slot) override;
  void OnInterfaceDetached(int slot) override;
  void OnFirstPassComplete() override;
  // koru::IExternalMessageSink (the thread that runs the loop)
  std::int64_t OnExternalMessage(const koru::ExternalMessage& message) override;

 protected:
  std::string GetWindowClassName() const override { return "MainWnd"; }
  unsigned GetClassStyle() const override;
  std::string GetSkinFile() override { return "XML_MAIN"; }
  void InitWindow() override;
  LRESULT HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnTimer(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  LRESULT OnSysCommand(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  void StartSequence();
  void StartWorkers();
  void Shutdown();
  LRESULT HandleGatedMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled);
  void OnShowRequest(WPARAM wParam, LPARAM lParam);
  void OnClick(TNotifyUI& msg) override;
  void OnTrayMouse(LPARAM mouseMessage);
  void OpenTrayMenu();
  void OnMenuCommand(const std::string& name);
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  void ReplyToWorkTool();
  void OnPower(WPARAM event);
  void HandleSlotEvent(const SlotEvent& event);
  void ShowAboutBox();

  void ShowLightingLabel(bool on);
  void Announce(std::string_view name, std::uint64_t wParam, std::int64_t lParam);
  void HideToTray();
  void ShowFromTray();
  void BringForward();
  void Rescale();
  void ClosePopups();
  void SetPowerPolling(bool on);
  // The window was shown or hidden.
  void OnShownChanged(bool shown);
  void TellPagesActive(bool active);
  void UpdateNoDeviceLink();
  IDevicePage* SelectedPage();

  MainWndServices services_;
  CInterfaceSlotList slots_;
  CDevicePageLists pages_;
  std::unique_ptr<CEmptyDeviceStrip> emptyStrip_;
  IDeviceStrip* strip_ = nullptr;
  CSyncLightingSettingsStore syncSettings_;
  std::unique_ptr<CSyncLightingThread> syncThread_;
  std::unique_ptr<CDeviceScanner> scanner_;
  CWorkerThreads workers_;
  CLightingControlSwitch lighting_;
  CGameLightEvents games_;
  CDeviceMessageGate gate_;
  std::unique_ptr<koru::SettingsStore> ownSettings_;
  std::unique_ptr<CLanguageSwitch> language_;
  CTrayIcon tray_;
  HWND trayMenu_ = nullptr;
  HWND aboutBox_ = nullptr;

  ScreenSize screen_;
  int dpi_ = 96;
  bool pendingRescale_ = false;
  bool active_ = false;
  bool hovered_ = false;
  bool started_ = false;
  bool shutDown_ = false;
  // The handle as the worker threads see it: set before they start.
  std::atomic<HWND> workerTarget_{nullptr};
  std::vector<int> threadsLeftRunning_;
  std::array<std::uint8_t, mainwnd::kAudioFrameBytes> audioFrame_{};
  std::array<std::uint8_t, mainwnd::kAudioKeyboardBytes> audioKeyboard_{};
};
