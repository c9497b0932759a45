#include "app/CMainWnd.h"

#include <QDBusConnection>

#include "app/CAboutWnd.h"
#include "catalogue/CDeviceScanner.h"
#include "catalogue/DeviceCatalogue.h"
#include "platform/DebugOutput.h"
#include "platform/KnownFolders.h"
#include "platform/RegisteredMessages.h"
#include "platform/qt/MessageClient.h"
#include "platform/qt/SettingsStore.h"
#include "toolkit/controls/CButtonUI.h"
#include "toolkit/core/CControlUI.h"
#include "toolkit/window/CMenuWnd.h"
#include "toolkit/window/MessageLoop.h"
#include "toolkit/window/WindowRegistry.h"

using namespace mainwnd;

namespace {

constexpr std::string_view kAudioCompanionClass = "KORU7315AudioRecord";
constexpr std::string_view kAudioCompanionTitle = "KORU7315AUDIORECORD";
constexpr std::string_view kWorkToolTitle = "WorkTool";
constexpr unsigned kWorkToolReplyKind = 5;
constexpr std::size_t kWorkToolReplyBytes = 1024;
// What the audio companion is told at shutdown.
constexpr std::array<std::uint64_t, 3> kAudioCompanionClosing{2, 4, 5};

void Trace(const std::string& line) {
  if (koru::DebugOutputEnabled()) koru::DebugOutput(line);
}

void DefaultBroadcast(const koru::BusMessage&) {}

void DefaultSendToCompanion(std::string_view className, std::string_view title, const koru::BusMessage& message) {
  koru::SendToWindow(QDBusConnection::sessionBus(), className, title, message);
}

std::optional<koru::ScreenGeometry> DefaultMonitorAt(UIPoint pt) { return koru::DisplayMonitor::ScreenAt(pt.x, pt.y); }

void PutWord(std::vector<std::uint8_t>& block, std::size_t word, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) block[word * 4 + i] = std::uint8_t(value >> (8 * i));
}

}  // namespace

const CMainWnd::RegisteredMessages& CMainWnd::Registered() {
  static const RegisteredMessages numbers = [] {
    RegisteredMessages r;
    r.showRequest = koru::RegisterWindowMessage(koru::kShowRequestMessage);
    r.updateProgress = koru::RegisterWindowMessage(koru::kUpdateProgressMessage);
    r.lightControlBroadcast = koru::RegisterWindowMessage(koru::kLightControlBroadcastMessage);
    r.lightControlRequest = koru::RegisterWindowMessage(koru::kLightControlRequestMessage);
    r.workToolQuery = koru::RegisterWindowMessage(koru::kWorkToolQueryMessage);
    r.audioCompanion = koru::RegisterWindowMessage(koru::kAudioCompanionMessage);
    r.gameEvents = {koru::RegisterWindowMessage(koru::kGameStartMessage),
                    koru::RegisterWindowMessage(koru::kGameEndMessage),
                    koru::RegisterWindowMessage(koru::kGameKillMessage),
                    koru::RegisterWindowMessage(koru::kGameDeathMessage)};
    for (std::string_view name : koru::HookMessageNames()) koru::RegisterWindowMessage(name);
    return r;
  }();
  return numbers;
}

CMainWnd::CMainWnd(MainWndServices services)
    : services_(std::move(services)),
      lighting_(
          pages_, [this](bool on) { ShowLightingLabel(on); },
          [this](bool on) { Announce(koru::kLightControlBroadcastMessage, 1, on ? 1 : 0); }),
      games_([this](unsigned id, unsigned ms) { SetTimer(id, ms); }) {
  if (!services_.broadcast) services_.broadcast = DefaultBroadcast;
  if (!services_.sendToCompanion) services_.sendToCompanion = DefaultSendToCompanion;
  if (!services_.monitorAt) services_.monitorAt = DefaultMonitorAt;
  if (services_.settings == nullptr) {
    ownSettings_ = std::make_unique<koru::SettingsStore>();
    services_.settings = ownSettings_.get();
  }
  if (services_.languageConfigPath.empty()) {
    services_.languageConfigPath = koru::ProgramSubfolder("DefaultData") + "/Language.config";
  }
  language_ = std::make_unique<CLanguageSwitch>(*services_.settings, services_.languageConfigPath);
  emptyStrip_ = std::make_unique<CEmptyDeviceStrip>(slots_);
  strip_ = emptyStrip_.get();
  Registered();
}

CMainWnd::~CMainWnd() {
  Shutdown();
  CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
}

unsigned CMainWnd::GetClassStyle() const {
  constexpr unsigned kDoubleClicks = 0x0008;
  return kDoubleClicks;
}

HWND CMainWnd::CreateMainWindow() {
  HWND hwnd = Create(nullptr, "KORU7315",
                     WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                     0, 0, 0, kWindowWidth, kWindowHeight);
  if (hwnd != nullptr) CenterWindow();
  return hwnd;
}

void CMainWnd::SetDeviceStrip(IDeviceStrip* strip) { strip_ = strip != nullptr ? strip : emptyStrip_.get(); }

IDevicePage* CMainWnd::SelectedPage() { return strip_->SelectedPage(); }

std::optional<std::string> CMainWnd::QueryControlText(std::string_view, std::string_view) { return std::nullopt; }

CControlUI* CMainWnd::CreateControl(std::string_view className) {
  // Panels whose markup lives in a file of its own, built with this window as
  // the callback again. A file the skin does not have yet builds nothing.
  struct SubTree {
    std::string_view tag;
    std::string_view file;
  };
  static constexpr SubTree kSubTrees[] = {
      {"DeviceProfileUI", "XML\\CustomControlXML\\DeviceProfile.xml"},
      {"LightSetControlUI", "XML\\CustomControlXML\\LightControl.xml"},
      {"Voice6533SetControlUI", "XML\\CustomControlXML\\Voice6533Control.xml"},
      {"MagicSetControlUI", "XML\\CustomControlXML\\MagicControl.xml"},
      {"KeySetControlUI", "XML\\CustomControlXML\\KeySetControl.xml"},
      {"MacroSetControlUI", "XML\\CustomControlXML\\MacroControl.xml"},
      {"ShootKeySetControlUI", "XML\\CustomControlXML\\ShootControl.xml"},
      {"VirtualSetControlUI", "XML\\CustomControlXML\\VirtualSet.xml"},
  };
  for (const SubTree& subTree : kSubTrees) {
    if (koru::ui::EqualsNoCase(className, subTree.tag)) {
      CDialogBuilder builder;
      return builder.Create(subTree.file, this, &m_pm);
    }
  }
  // The device pages and the custom control classes join here as they are
  // written; every other tag is the toolkit's.
  return nullptr;
}

// ---------------------------------------------------------------------------
// Start and shutdown

void CMainWnd::InitWindow() {
  Trace("InitWindow");
  CResourceManager::GetInstance().SetTextQueryInterface(this);
  SetIcon("IMG_APP_ICON");
  tray_.CreateTrayIcon(GetHWND(), "IMG_TRAY_ICON", "KORU7315", kTrayCallback);
  tray_.SetShowIcon();
}

void CMainWnd::StartSequence() {
  if (started_) return;
  started_ = true;
  Announce(koru::kLightControlBroadcastMessage, 1, 1);
  language_->ApplyLanguage(language_->LoadLanguageIndex(), &m_pm);
  ShowLightingLabel(lighting_.IsOn());
  if (const auto primary = koru::DisplayMonitor::PrimaryScreen()) screen_ = {primary->width, primary->height};
  UpdateNoDeviceLink();
  // Shown by the scanner's first pass.
  ShowWindow(false);
  if (services_.startWorkers) StartWorkers();
  SetTimer(kRescaleTimer, kRescaleDelayMs);
}

void CMainWnd::StartWorkers() {
  workerTarget_ = GetHWND();
  scanner_ = std::make_unique<CDeviceScanner>(slots_, *this);
  CDeviceScanner* scanner = scanner_.get();
  if (scanner->Start()) {
    workers_.Adopt(
        CWorkerThreads::kScannerSlot, [scanner] { scanner->RequestStop(); },
        [scanner](std::chrono::milliseconds timeout) {
          // The scanner may be sending us an attach while we wait: keep answering.
          return koru::WaitServingSends([scanner] { return !scanner->IsRunning(); }, timeout);
        });
  }
  syncThread_ = std::make_unique<CSyncLightingThread>(pages_, syncSettings_);
  CSyncLightingThread* sync = syncThread_.get();
  workers_.Start(CWorkerThreads::kSyncLightingSlot, [sync](koru::StopEvent& stop) { sync->Run(stop); });
}

void CMainWnd::Shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  threadsLeftRunning_ = workers_.Shutdown();
  // A scanner left running still uses the slot list and this window: keep it.
  if (scanner_ && !scanner_->IsRunning()) scanner_.reset();
}

// ---------------------------------------------------------------------------
// Notifications

void CMainWnd::Notify(TNotifyUI& msg) {
  const std::string& type = msg.sType;
  const std::string name = msg.pSender != nullptr ? msg.pSender->GetName() : std::string();
  if (type != DUI_MSGTYPE_TIMER) Trace("notify " + type + " " + name);
  if (type == DUI_MSGTYPE_WINDOWINIT) {
    StartSequence();
  } else if (type == DUI_MSGTYPE_WINDOWSIZE) {
    if (name == "root" && pendingRescale_) {
      pendingRescale_ = false;
      Rescale();
    }
  } else if (type == DUI_MSGTYPE_CLICK) {
    OnClick(msg);
    return;
  } else if (type == "click_wpremove" || type == "click_wpedit") {
    return;
  }
  // The routing tables of the pages and panels take the remaining types once they exist.
  WindowImplBase::Notify(msg);
}

void CMainWnd::OnClick(TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const std::string& name = msg.pSender->GetName();
  if (name == "closebtn" || name == "nodevice_ok_btn") {
    HideToTray();
  } else if (name == "control_light_status") {
    lighting_.SetByButton(!lighting_.IsOn());
  } else if (name == "deng_same_mode") {
    if (IDevicePage* page = SelectedPage()) {
      JoinSynchronisedLighting(*page, pages_, syncSettings_, screen_);
      if (koru::StopEvent* stop = workers_.StopOf(CWorkerThreads::kSyncLightingSlot)) stop->Wake();
    }
  } else if (name == "setbtn") {
    SendMessage(kOpenSettings);
  } else {
    WindowImplBase::OnClick(msg);
  }
}

// ---------------------------------------------------------------------------
// Messages

LRESULT CMainWnd::HandleCustomMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) {
  const RegisteredMessages& r = Registered();
  handled = true;
  if (message == WM_ACTIVATE) {
    active_ = hovered_ = wParam != WA_INACTIVE;
    TellPagesActive(active_);
    handled = false;
    return 0;
  }
  if (message == WM_MOUSELEAVE || message == WM_MOUSEHOVER) {
    hovered_ = message == WM_MOUSEHOVER;
    Trace(hovered_ ? "鼠标移入" : "鼠标移出");
    TellPagesActive(hovered_);
    return 0;
  }
  if (message == r.showRequest) {
    OnShowRequest(wParam, lParam);
    return 0;
  }
  if (message == r.updateProgress) return 0;  // for the settings window, when it is open
  if (message == r.lightControlRequest) {
    lighting_.SetByRequest(wParam, lParam);
    return 0;
  }
  if (message == r.workToolQuery) {
    ReplyToWorkTool();
    return 0;
  }
  if (message == WM_DESTROY) {
    Trace("退出测试");
    tray_.DeleteTrayIcon();
    ShowWindow(false);
    Shutdown();
    for (std::uint64_t command : kAudioCompanionClosing) {
      services_.sendToCompanion(kAudioCompanionClass, kAudioCompanionTitle,
                                {std::string(koru::kAudioCompanionMessage), command, 0, {}});
    }
    PostQuitMessage(0);
    handled = false;  // the base window still tidies up
    return 0;
  }
  if (message == WM_SIZE) {
    // One size only: a size the window did not ask for (a late event of the
    // display, a window manager) is set right by the rescale that the
    // "windowsize" notification runs.
    const int width = int(wParam & 0xFFFF);
    const int height = int((wParam >> 16) & 0xFFFF);
    if (width != kWindowWidth * dpi_ / 96 || height != kWindowHeight * dpi_ / 96) pendingRescale_ = true;
    handled = false;
    return 0;
  }
  if (message == WM_POWERBROADCAST && (wParam == kPowerSuspend || wParam == kPowerResumeAutomatic)) {
    OnPower(wParam);
    return 0;
  }
  if (!gate_.IsOpen()) {
    // Asleep: nothing of devices, hooks, tray or timers; device events wait for the resume.
    if (message == kInterfaceAttached || message == kInterfaceDetached) {
      gate_.DeferIfClosed({message == kInterfaceAttached ? SlotEventKind::Attached : SlotEventKind::Detached,
                           int(wParam)});
      return 0;
    }
    handled = false;
    return 0;
  }
  return HandleGatedMessage(message, wParam, lParam, handled);
}

LRESULT CMainWnd::HandleGatedMessage(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) {
  const RegisteredMessages& r = Registered();
  for (unsigned game : r.gameEvents) {
    if (message == game) {
      games_.OnGameEvent(SelectedPage(), wParam, lParam, screen_);
      return 0;
    }
  }
  switch (message) {
    case kInterfaceAttached: HandleSlotEvent({SlotEventKind::Attached, int(wParam)}); return 0;
    case kInterfaceDetached: HandleSlotEvent({SlotEventKind::Detached, int(wParam)}); return 0;
    case kOpenSettings: Trace("settings window requested"); return 0;
    case kClearUpdateBadge:
      if (CControlUI* badge = m_pm.FindControl("setbtn")) badge->SetForeImage("");
      return 0;
    case kShowDeviceTab:
      strip_->ShowTab(int(wParam), lParam != 0);
      UpdateNoDeviceLink();
      return 0;
    case kLanguageChanged:
      language_->ApplyLanguage(int(wParam), &m_pm);
      ShowLightingLabel(lighting_.IsOn());
      m_pm.NeedUpdate();
      return 0;
    case kShowSettingProgress:
      if (CControlUI* progress = m_pm.FindControl("setting_progress")) progress->SetVisible(true);
      return 0;
    case kDpiNotice: Trace("界面 DPI 1发生变化"); return 0;
    case kHookControl:
      Trace(std::string("keyboard hook ") + (wParam != 0 ? "start" : "stop") + " (no recorder yet)");
      return 0;
    case WM_DPICHANGED: {
      const int dpi = int(wParam & 0xFFFF);
      if (dpi >= 96 && dpi <= 384) {
        SetDPI(dpi);
        m_pm.ResetDPIAssets();
        CenterWindow();
        m_pm.NeedUpdate();
      }
      Trace("界面 DPI 发生变化");
      return 0;
    }
    case kTrayCallback: OnTrayMouse(lParam); return 0;
    case kMenuCommand:
      if (const MenuCmd* command = koru::MenuCommandOf(wParam)) OnMenuCommand(command->szName);
      return 0;
    case WM_COPYDATA: return OnCopyData(koru::CopyDataOf(lParam));
    case WM_DISPLAYCHANGE:
      Trace("显示器分辨率发生变化");
      pendingRescale_ = true;
      Rescale();
      return 0;
    default: break;
  }
  handled = false;
  return 0;
}

LRESULT CMainWnd::OnTimer(unsigned, WPARAM wParam, LPARAM, bool& handled) {
  handled = true;
  // Asleep: the timer stays armed and fires again after the resume.
  if (!gate_.IsOpen()) return 0;
  const auto id = unsigned(wParam);
  switch (id) {
    case kRescaleTimer:
      KillTimer(id);
      Rescale();
      m_pm.Invalidate();
      break;
    case kTrayMenuTimer:
      KillTimer(id);
      OpenTrayMenu();
      break;
    case kDeferredProfileTimer: KillTimer(id); break;  // the profile flows arm it once they exist
    case kGameRestoreTimer:
      KillTimer(id);
      games_.OnRestoreTimer(SelectedPage(), screen_);
      break;
    default: handled = false; break;
  }
  return 0;
}

LRESULT CMainWnd::OnSysCommand(unsigned message, WPARAM wParam, LPARAM lParam, bool& handled) {
  // The window has one size: it is never maximised, and its zoom buttons stay hidden.
  if ((wParam & 0xFFF0) == SC_MAXIMIZE) {
    handled = true;
    return 0;
  }
  const LRESULT result = WindowImplBase::OnSysCommand(message, wParam, lParam, handled);
  for (CButtonUI* zoom : {m_pMaxBtn, m_pRestoreBtn}) {
    if (zoom != nullptr) zoom->SetVisible(false);
  }
  return result;
}

void CMainWnd::OnShowRequest(WPARAM wParam, LPARAM lParam) {
  Trace("软件标示 " + std::to_string(Registered().showRequest) + "，" + std::to_string(wParam) + " " +
        std::to_string(lParam));
  UpdateNoDeviceLink();
  const bool firstPassOfScanner = lParam == 0;
  if (services_.startInTray && firstPassOfScanner) {
    services_.startInTray = false;
    return;
  }
  OnShownChanged(true);
  if (IsMinimized()) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  ShowWindow(true);
  BringForward();
}

std::int64_t CMainWnd::OnExternalMessage(const koru::ExternalMessage& external) {
  const koru::BusMessage& m = external.message;
  if (external.number == koru::kCopyDataMessageNumber) {
    return koru::SendCopyData(GetHWND(), nullptr, std::uintptr_t(m.lParam), m.data);
  }
  return SendMessage(external.number, WPARAM(m.wParam), LPARAM(m.lParam));
}

LRESULT CMainWnd::OnCopyData(const COPYDATASTRUCT* data) {
  if (data == nullptr) return 0;
  IDevicePage* page = SelectedPage();
  if (data->dwData == 1 && data->cbData() <= audioFrame_.size()) {
    std::copy(data->bytes.begin(), data->bytes.end(), audioFrame_.begin());
    if (page != nullptr) page->OnAudioData(1, std::span(audioFrame_.data(), data->cbData()));
    return 1;
  }
  if (data->dwData == 2 && data->cbData() <= audioKeyboard_.size()) {
    std::copy(data->bytes.begin(), data->bytes.end(), audioKeyboard_.begin());
    if (page != nullptr && page->PageKind() == kKindKeyboard) {
      page->OnAudioData(2, std::span(audioKeyboard_.data(), data->cbData()));
    }
    return 1;
  }
  Trace("copy data of kind " + std::to_string(data->dwData) + " with " + std::to_string(data->cbData()) +
        " bytes refused");
  return 0;
}

void CMainWnd::ReplyToWorkTool() {
  std::vector<std::uint8_t> block(kWorkToolReplyBytes, 0);
  const std::uint32_t header[] = {2, 3, 0, 2};
  for (std::size_t i = 0; i < 4; ++i) PutWord(block, i, header[i]);
  PutWord(block, 4, std::uint32_t(DeviceModelTable.size()));
  for (std::size_t i = 0; i < DeviceModelTable.size(); ++i) {
    PutWord(block, 5 + 3 * i, DeviceModelTable[i].vendorId);
    PutWord(block, 6 + 3 * i, DeviceModelTable[i].productId);
    PutWord(block, 7 + 3 * i, DeviceModelTable[i].kind);
  }
  services_.sendToCompanion("", kWorkToolTitle,
                            {std::string(koru::kCopyDataMessage), 0, kWorkToolReplyKind, std::move(block)});
}

void CMainWnd::OnPower(WPARAM event) {
  if (event == kPowerSuspend) {
    gate_.Close();
    lighting_.OnSuspend();
    return;
  }
  for (const SlotEvent& deferred : gate_.Open()) HandleSlotEvent(deferred);
  lighting_.OnResume();
}

void CMainWnd::HandleSlotEvent(const SlotEvent& event) {
  if (event.kind == SlotEventKind::Attached) {
    strip_->OnInterfaceAttached(event.slot);
    UpdateNoDeviceLink();
  } else {
    strip_->OnInterfaceDetached(event.slot);
    UpdateNoDeviceLink();
  }
}

// ---------------------------------------------------------------------------
// Scanner events (scanner thread)

void CMainWnd::OnInterfaceAttached(int slot) { ::SendMessage(workerTarget_, kInterfaceAttached, WPARAM(slot), 0); }

void CMainWnd::OnInterfaceDetached(int slot) { ::SendMessage(workerTarget_, kInterfaceDetached, WPARAM(slot), 0); }

void CMainWnd::OnFirstPassComplete() { ::PostMessage(workerTarget_, Registered().showRequest, 0, 0); }

// ---------------------------------------------------------------------------
// Tray, menu, popups

void CMainWnd::OnTrayMouse(LPARAM mouseMessage) {
  if (mouseMessage == UI_TRAY_LBUTTONUP) {
    UpdateNoDeviceLink();
    const bool wasShown = IsVisible() && !IsMinimized();
    ClosePopups();
    if (wasShown) {
      ShowWindow(false);
      OnShownChanged(false);
    } else {
      ShowFromTray();
    }
  } else if (mouseMessage == UI_TRAY_RBUTTONUP) {
    SetTimer(kTrayMenuTimer, kTrayMenuDelayMs);
  }
}

void CMainWnd::OpenTrayMenu() {
  if (trayMenu_ != nullptr && ::IsWindow(trayMenu_)) ::SendMessage(trayMenu_, WM_CLOSE, 0, 0);
  trayMenu_ = nullptr;
  const UIPoint cursor = koru::WindowBackend().GetCursorPos();
  const UIRect work = koru::WindowBackend().GetWorkArea(cursor);
  // Open towards the middle of the screen, away from the panel the tray lies in.
  unsigned alignment = cursor.y > work.top + work.GetHeight() / 2 ? eMenuAlignment_Bottom : eMenuAlignment_Top;
  alignment |= cursor.x > work.left + work.GetWidth() / 2 ? eMenuAlignment_Right : eMenuAlignment_Left;
  if (CMenuWnd* menu = CMenuWnd::CreateMenu(GetHWND(), "XML_MENU", cursor, alignment)) trayMenu_ = menu->GetHWND();
}

void CMainWnd::OnMenuCommand(const std::string& name) {
  if (name == "exit") {
    ClosePopups();
    Close(IDOK);
  } else if (name == "about_menu") {
    ShowAboutBox();
  } else if (name == "setwnd_menu") {
    SendMessage(kOpenSettings);
  }
  // The macro action and recording-delay items join with the macro editor.
}

void CMainWnd::ShowAboutBox() {
  if (aboutBox_ != nullptr && ::IsWindow(aboutBox_)) return;
  CAboutWnd* box = CAboutWnd::Create(GetHWND());
  if (box == nullptr) return;
  aboutBox_ = box->GetHWND();
  box->ShowModal();
  aboutBox_ = nullptr;
}

void CMainWnd::ClosePopups() {
  for (HWND* popup : {&aboutBox_, &trayMenu_}) {
    if (*popup != nullptr && ::IsWindow(*popup)) ::PostMessage(*popup, WM_CLOSE, IDCANCEL, 0);
    *popup = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Showing, hiding, scaling

void CMainWnd::HideToTray() {
  ClosePopups();
  // Without a tray there would be no way back but a second start: minimise instead.
  if (tray_.IsAvailable()) {
    ShowWindow(false);
  } else {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  }
  OnShownChanged(false);
}

void CMainWnd::ShowFromTray() {
  Rescale();
  if (IsMinimized()) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  ShowWindow(true);
  BringForward();
  m_pm.Invalidate();
  OnShownChanged(true);
  m_pm.NeedUpdate();
}

void CMainWnd::BringForward() { BringToFront(); }

void CMainWnd::Rescale() {
  const bool wasVisible = IsVisible();
  if (IsMinimized()) SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
  const UIRect rc = GetWindowRect();
  const std::optional<koru::ScreenGeometry> monitor = services_.monitorAt(rc.Center());
  dpi_ = monitor ? koru::ScalingDpiForScreen(monitor->width, monitor->height) : 96;
  m_pm.SetClientSize({kWindowWidth, kWindowHeight});
  CPaintManagerUI::SetAllDPI(dpi_);
  m_pm.Paint();
  ResizeClient(kWindowWidth * dpi_ / 96, kWindowHeight * dpi_ / 96);
  CenterWindow();
  ShowWindow(wasVisible, false);
}

void CMainWnd::SetPowerPolling(bool on) {
  for (int kind : {kKindMouse, kKindKeyboard}) {
    for (IDevicePage* page : pages_.OfKind(kind)) page->SetPowerPolling(on);
  }
}

// Hidden, the pages neither poll power nor animate a picture nobody sees.
void CMainWnd::OnShownChanged(bool shown) {
  SetPowerPolling(shown);
  for (IDevicePage* page : pages_.All()) page->SetWindowActive(shown);
}

void CMainWnd::TellPagesActive(bool active) {
  for (IDevicePage* page : pages_.LightingPages()) page->SetWindowActive(active);
}

void CMainWnd::UpdateNoDeviceLink() {
  if (CControlUI* panel = m_pm.FindControl("No_device_Link")) panel->SetVisible(strip_->CountVisibleTabs() == 0);
}

void CMainWnd::ShowLightingLabel(bool on) {
  if (CControlUI* label = m_pm.FindControl("control_light_status")) {
    label->SetText(on ? "light_control_on_text" : "light_control_off_text");
  }
}

void CMainWnd::Announce(std::string_view name, std::uint64_t wParam, std::int64_t lParam) {
  services_.broadcast({std::string(name), wParam, lParam, {}});
}
