#include "devices/CKestroUSBDevice.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "controls/CDeviceKeyButtonUI.h"
#include "controls/CMpDevicePowerUI.h"
#include "controls/CSelectPanelUI.h"
#include "devices/LightingTables.h"
#include "devices/PictureBinding.h"
#include "platform/DebugOutput.h"
#include "profiles/CBasicProfiledata.h"
#include "profiles/MemoryListView.h"
#include "profiles/ProfileDocument.h"
#include "profiles/ProfileFolders.h"
#include "profiles/ProfileListStore.h"
#include "protocol/DeviceCommands.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/layout/CTabLayoutUI.h"
#include "toolkit/window/WindowRegistry.h"

using namespace koru::lighting;

namespace {

uint64_t SteadyMs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr size_t kPowerBlockSize = 6;
// Carries the power block's byte 4 to the main window.
constexpr unsigned kPowerLevelMessage = 3329;

}  // namespace

CKestroUSBDevice::CKestroUSBDevice() : CKestroUSBDevice(0, "KestroUSBDevice") {}

CKestroUSBDevice::CKestroUSBDevice(int kind, const char* classTag) : kind_(kind), classTag_(classTag), clock_(SteadyMs) {
  keyToLed_.fill(kNoLed);
  keyToFrame_.fill(kNoLed);
}

CKestroUSBDevice::~CKestroUSBDevice() {
  // The kinds stop it first; this only covers a page of the base class.
  StopLightThread();
  if (m_pManager != nullptr) m_pManager->RemoveNotifier(this);
  notifyCable_.Close();
  notifyReceiver_.Close();
}

std::string CKestroUSBDevice::GetClass() const { return std::string(classTag_) + "UI"; }

void* CKestroUSBDevice::GetInterface(std::string_view name) {
  if (name == "KestroUSBDevice" || name == classTag_) return this;
  return CHorizontalLayoutUI::GetInterface(name);
}

void CKestroUSBDevice::Notify(TNotifyUI& msg) {
  if (msg.pSender == nullptr || msg.pSender->GetName().empty()) return;
  if (FindSubControl(msg.pSender->GetName()) == msg.pSender) NotifyPump(msg);
}

// ---- Picture binding

bool CKestroUSBDevice::PreparePictureTables() {
  if (pageXml_.empty()) {
    keyCount_ = 0;
    lightCount_ = 0;
    StopLightThread();
    frame_.Resize(0);
    keyButtons_.clear();
    lightButtons_.clear();
    pictures_.clear();
    return false;
  }
  std::fill(keyButtons_.begin(), keyButtons_.end(), nullptr);
  std::fill(lightButtons_.begin(), lightButtons_.end(), nullptr);
  return true;
}

int CKestroUSBDevice::BindPictureContainer(CContainerUI* container, bool lightByName) {
  if (container == nullptr) return 0;
  if (keyPanel_ == nullptr) keyPanel_ = container;
  if (std::find(pictures_.begin(), pictures_.end(), container) == pictures_.end()) pictures_.push_back(container);
  return koru::BindPictureButtons(*container, {&keyButtons_, &lightButtons_, lightByName});
}

// A still picture (a static effect, lights off) costs no painting.
void CKestroUSBDevice::RepaintPicture() {
  if (!pictureChanged_) return;
  pictureChanged_ = false;
  for (CContainerUI* picture : pictures_) picture->Invalidate();
}

CContainerUI* CKestroUSBDevice::FindContainer(std::string_view name) {
  CControlUI* control = FindSubControl(name);
  return control != nullptr ? static_cast<CContainerUI*>(control->GetInterface(DUI_CTR_CONTAINER)) : nullptr;
}

void CKestroUSBDevice::InitDevicePage() {
  if (PreparePictureTables()) BuildDeviceControls();
}

void CKestroUSBDevice::BuildDeviceControls() {
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (child->GetClass() != kSelectPanelClass) continue;
    keyPanel_ = static_cast<CContainerUI*>(child->GetInterface(DUI_CTR_CONTAINER));
    BindPictureContainer(keyPanel_, false);
    return;
  }
}

// ---- Set-up

void CKestroUSBDevice::SetKeyCount(int count) {
  keyCount_ = std::max(count, 0);
  keyButtons_.assign(static_cast<size_t>(keyCount_), nullptr);
}

void CKestroUSBDevice::SetLightCount(int count) {
  const bool running = IsLightThreadRunning();
  StopLightThread();
  lightCount_ = std::clamp(count, 0, kMaxLights);
  lightButtons_.assign(static_cast<size_t>(lightCount_), nullptr);
  frame_.Resize(lightCount_);
  lightRecords_.Replace({}, clock_());
  if (running) StartLightThread();
}

void CKestroUSBDevice::SetDeviceRecord(const InterfaceSlot& record) {
  deviceRecord_ = record;
  kind_ = CableKindOf(record.kind);
  SetSubKind(record.role);
}

void CKestroUSBDevice::SetSubKind(int subKind) {
  if (subKind != subKind_) subKind_ = subKind;
}

void CKestroUSBDevice::SetHostLighting(int on) {
  hostLighting_.store(on, kRelaxed);
  if (on == 1 && kind_ == kKindKeyboard && channel_.IsOpen()) TakeLightControl(channel_);
}

// ---- Connection

bool CKestroUSBDevice::OpenCommandEndpoint(bool receiver, const std::string& path, int mode) {
  std::lock_guard lock(channel_.ExchangeLock());
  CHidDevice& endpoint = receiver ? channel_.ReceiverEndpoint() : channel_.CableEndpoint();
  if (!endpoint.Open(path, true, true, true, false)) return false;
  if (mode != 0) channel_.SetConnectionMode(mode);
  channel_.SetOpen(true);
  return true;
}

void CKestroUSBDevice::CloseCommandEndpoint(bool receiver) {
  std::lock_guard lock(channel_.ExchangeLock());
  channel_.SetOpen(false);
  (receiver ? channel_.ReceiverEndpoint() : channel_.CableEndpoint()).Close();
}

bool CKestroUSBDevice::OpenNotifyEndpoint(bool receiver, const std::string& path) {
  return (receiver ? notifyReceiver_ : notifyCable_).Open(path, true, false, true, false);
}

void CKestroUSBDevice::CloseNotifyEndpoint(bool receiver) { (receiver ? notifyReceiver_ : notifyCable_).Close(); }

bool CKestroUSBDevice::IsNotifyEndpointOpen(bool receiver) const {
  return (receiver ? notifyReceiver_ : notifyCable_).IsOpen();
}

// ---- Files

std::string CKestroUSBDevice::DefaultDataFolder() { return koru::FactoryDataFolder(); }

std::string CKestroUSBDevice::GetDefaultTemplatePath() const {
  if (!koru::IsPlainFileName(deviceFolder_)) return {};
  return koru::DefaultTemplatePath(deviceFolder_);
}

std::string CKestroUSBDevice::GetDataFolder() const {
  if (!koru::IsPlainFileName(deviceFolder_)) return {};
  return koru::DeviceDataFolder(deviceFolder_);
}

std::string CKestroUSBDevice::ProfileFilePath() const {
  const std::string folder = GetDataFolder();
  if (folder.empty() || !koru::IsPlainFileName(profileName_)) return {};
  return folder + profileName_ + ".Json";
}

std::string CKestroUSBDevice::LightLibraryFilePath() const {
  const std::string folder = GetDataFolder();
  if (folder.empty() || !koru::IsPlainFileName(lightLibraryName_)) return {};
  return folder + lightLibraryName_ + ".config";
}

// ---- Function pages

CTabLayoutUI* CKestroUSBDevice::FindTabLayout(std::string_view name) {
  CControlUI* control = FindSubControl(name);
  return control != nullptr ? static_cast<CTabLayoutUI*>(control->GetInterface(DUI_CTR_TABLAYOUT)) : nullptr;
}

void CKestroUSBDevice::SetFunctionPage(int mode) {
  functionPage_ = mode;
  if (functionSwitch_ == nullptr) functionSwitch_ = FindTabLayout("device_function_switch");
  if (keyFunctionSwitch_ == nullptr) keyFunctionSwitch_ = FindTabLayout("device_key_function_switch");
  if (functionSwitch_ == nullptr || keyFunctionSwitch_ == nullptr) return;

  constexpr int kKeep = -1;
  int function = 0;
  int key = 0;
  switch (mode) {
    case 1: function = 0, key = 0; break;  // lighting
    case 2: function = 0, key = 1; break;  // key assignment
    case 3: function = 1, key = kKeep; break;  // macros
    case 4:  // system
      if (kind_ == kKindKeyboard || kind_ == kKindMouse) function = 3, key = kKeep;
      else function = 0, key = 2;
      break;
    case 5: function = 2, key = kKeep; break;  // pointer
    case 6: function = 0, key = 1; break;  // headset voice
    case 7: function = 0, key = 2; break;  // magic voice
    case 8: function = 1, key = kKeep; break;  // virtual surround
    default: break;
  }
  functionSwitch_->SelectItem(function);
  if (key != kKeep) keyFunctionSwitch_->SelectItem(key);
}

// ---- Lighting record

void CKestroUSBDevice::SetLightInfo(const LightInfoData& info) {
  std::lock_guard lock(lightInfoLock_);
  lightInfo_ = info;
}

LightInfoData CKestroUSBDevice::GetLightInfo() const {
  std::lock_guard lock(lightInfoLock_);
  return lightInfo_;
}

void CKestroUSBDevice::SetLightInfoWords(const std::array<uint32_t, 5>& words) {
  uint8_t bytes[20] = {};
  for (size_t w = 0; w < words.size(); ++w)
    for (size_t b = 0; b < 4; ++b) bytes[w * 4 + b] = static_cast<uint8_t>(words[w] >> (8 * b));
  LightInfoData info;
  std::memcpy(&info, bytes, sizeof info);
  SetLightInfo(info);
}

std::array<uint32_t, 5> CKestroUSBDevice::GetLightInfoWords() const {
  const LightInfoData info = GetLightInfo();
  uint8_t bytes[20] = {};
  std::memcpy(bytes, &info, sizeof info);
  std::array<uint32_t, 5> words{};
  for (size_t w = 0; w < words.size(); ++w)
    for (size_t b = 0; b < 4; ++b) words[w] |= uint32_t{bytes[w * 4 + b]} << (8 * b);
  return words;
}

void CKestroUSBDevice::SetAudioLightInfo(const AudioLightInfoData& info) { audioLightInfo_ = info; }

AudioLightInfoData CKestroUSBDevice::GetAudioLightInfo() { return audioLightInfo_; }

void CKestroUSBDevice::SetLightSetIndex(int index) { lightSetIndex_ = index; }

void CKestroUSBDevice::SelectKey(int key) { selectedKey_ = key; }

WheelColour CKestroUSBDevice::StaticColour(const LightInfoData& info) { return {info.red, info.green, info.blue}; }

// ---- Frame access

void CKestroUSBDevice::SetLightColor(int light, uint32_t packed) { frame_.SetPacked(light, packed); }

uint32_t CKestroUSBDevice::GetLightColor(int light) const { return frame_.GetPacked(light); }

void CKestroUSBDevice::RefreshLightFrame() {
  if (hostLighting_.load(kRelaxed) == 0) return;
  for (int i = 0; i < lightCount_; ++i) {
    CDeviceKeyButtonUI* button = koru::AsKeyButton(lightButtons_[static_cast<size_t>(i)]);
    if (button == nullptr || !button->IsVisible()) continue;
    const LightFrameEntry entry = frame_.Get(i);
    if (button->SetLightState(CDeviceKeyButtonUI::PackLightColour(entry.red, entry.green, entry.blue), entry.level,
                              true))
      pictureChanged_ = true;
  }
}

// ---- Base effect steps

void CKestroUSBDevice::ShowStep(const WheelColour& colour, uint8_t level) {
  frame_.Fill(LightFrameEntry::Of(colour, level));
}

int CKestroUSBDevice::StepBreathEffect() {
  const LightInfoData info = GetLightInfo();
  const uint8_t phase = PhaseStep(info.fx, kBreathingLength, phase_.load(kRelaxed), 1);
  phase_.store(phase, kRelaxed);
  uint8_t colour = colorIndex_.load(kRelaxed);
  if (phase == 0) {
    colour = colour + 16 >= kWheelLength ? 0 : colour + 16;
    colorIndex_.store(colour, kRelaxed);
  }
  ShowStep(info.multiColor ? WheelAt(colour) : StaticColour(info), Scale(BreathingAt(phase), BrightnessOf(info.light)));
  return frame_.Size();
}

void CKestroUSBDevice::StepBreathPaletteEffect() {
  const LightInfoData info = GetLightInfo();
  const uint8_t phase = PhaseStep(info.fx, kBreathingLength, phase_.load(kRelaxed), 1);
  phase_.store(phase, kRelaxed);
  // Another effect may have left a wheel position here.
  uint8_t colour = colorIndex_.load(kRelaxed);
  if (colour >= kPaletteLength) colour = 0;
  if (phase == 0) colour = colour + 1 >= kPaletteLength ? 0 : colour + 1;
  colorIndex_.store(colour, kRelaxed);
  ShowStep(PaletteAt(colour), Scale(BreathingAt(phase), BrightnessOf(info.light)));
}

void CKestroUSBDevice::StepStaticEffect() {
  const LightInfoData info = GetLightInfo();
  ShowStep(StaticColour(info), BrightnessOf(info.light));
}

void CKestroUSBDevice::StepSpectrumEffect() {
  const LightInfoData info = GetLightInfo();
  const uint8_t phase = PhaseStep(info.fx, kWheelLength, phase_.load(kRelaxed), 1);
  phase_.store(phase, kRelaxed);
  ShowStep(WheelAt(phase), BrightnessOf(info.light));
}

bool CKestroUSBDevice::ToggleBlinkWhenDue(uint8_t speed) {
  const uint64_t now = clock_();
  if (now - lastToggleMs_.load(kRelaxed) < uint64_t{SpeedTicksOf(speed)} * kBlinkMsPerTick) return false;
  blinkOn_.store(!blinkOn_.load(kRelaxed), kRelaxed);
  lastToggleMs_.store(now, kRelaxed);
  return true;
}

void CKestroUSBDevice::StepBlinkEffect() {
  const LightInfoData info = GetLightInfo();
  uint8_t phase = phase_.load(kRelaxed);
  if (ToggleBlinkWhenDue(info.speed)) phase = phase + 16 >= kWheelLength ? 0 : phase + 16;
  phase_.store(phase, kRelaxed);
  if (!blinkOn_.load(kRelaxed)) return StepLightsOff();
  ShowStep(info.multiColor ? WheelAt(phase) : StaticColour(info), BrightnessOf(info.light));
}

void CKestroUSBDevice::StepBlinkPaletteEffect() {
  const LightInfoData info = GetLightInfo();
  // Another effect may have left a wheel position here.
  uint8_t phase = phase_.load(kRelaxed) >= kPaletteLength ? 0 : phase_.load(kRelaxed);
  if (ToggleBlinkWhenDue(info.speed)) phase = phase + 1 >= kPaletteLength ? 0 : phase + 1;
  phase_.store(phase, kRelaxed);
  if (!blinkOn_.load(kRelaxed)) return StepLightsOff();
  ShowStep(PaletteAt(phase), BrightnessOf(info.light));
}

void CKestroUSBDevice::StepLightsOff() { frame_.Fill({}); }

// ---- Ripple

int CKestroUSBDevice::DecayRippleLevel(int light, int curve) { return ripple_.Decay(light, curve); }

void CKestroUSBDevice::SeedRippleFromTriggers() { ripple_.SeedFromTriggers(9); }

void CKestroUSBDevice::RotateTriggerRow(uint8_t direction) { ripple_.RotateTriggers(direction); }

void CKestroUSBDevice::ClearRipple() { ripple_.Clear(); }

// ---- Light thread

void CKestroUSBDevice::SetClock(Clock clock) {
  StopLightThread();
  clock_ = clock ? std::move(clock) : Clock(SteadyMs);
}

void CKestroUSBDevice::StartLightThread() {
  lightThread_.Start([this] { return RunLightPass(); }, LightThreadExitLine());
}

void CKestroUSBDevice::StopLightThread() { lightThread_.Stop(); }

koru::CLightThread::PassResult CKestroUSBDevice::RunLightPass() {
  using Result = koru::CLightThread::PassResult;
  if (!channel_.IsOpen()) return Result::Idle;
  // A settings write is under way: the frame waits rather than interleave with it.
  if (channel_.IsBusy()) return Result::Ticked;
  // Synchronised lighting paints the frame itself.
  if (channel_.IsSyncLightingMember()) return Result::Ticked;
  // Nobody sees the picture (hidden or inactive window, another tab selected)
  // and the device runs its own effect: the animation rests and picks up
  // where it was.
  if ((previewActive_.load(kRelaxed) == 0 || !pictureShown_.load(kRelaxed)) && !StreamsFrames()) return Result::Idle;
  AnimateOneTick();
  return Result::Ticked;
}

void CKestroUSBDevice::AnimateOneTick() {
  ++ticks_;
  const LightInfoData info = GetLightInfo();
  const auto table = EffectTable();
  const auto slot = std::find_if(table.begin(), table.end(),
                                 [&](const EffectSlot& s) { return s.effect == info.selectItem; });
  if (slot != table.end()) {
    if (ticks_ >= slot->ticks[static_cast<size_t>(ClampLevel(info.speed))]) {
      slot->step(*this);
      ticks_ = 0;
    }
  } else {
    customEffect_.PlayPass(frame_, info.speed, clock_());
  }
  if (PlaysLightRecords()) lightRecords_.PlayPass(frame_, clock_());
}

void CKestroUSBDevice::ReplaceCustomEffect(std::vector<LightEffectStep> steps) {
  customEffect_.Replace(std::move(steps), clock_());
}

void CKestroUSBDevice::ReplaceLightList(std::vector<LightInfoData> records) {
  lightRecords_.Replace(std::move(records), clock_());
}

// ---- Profile

std::unique_ptr<CBasicProfiledata> CKestroUSBDevice::MakeProfile() const {
  return std::make_unique<CBasicProfiledata>();
}

CBasicProfiledata& CKestroUSBDevice::Profile() {
  if (!profile_) {
    profile_ = MakeProfile();
    profile_->SetDeviceIndex(0);
    profile_->SetTemplatePath(GetDefaultTemplatePath());
  }
  return *profile_;
}

bool CKestroUSBDevice::IsProfileLoaded() const { return profile_ && !profile_->CurrentSection().isNull(); }

void CKestroUSBDevice::SetProfilePaths() {
  const std::string folder = GetDataFolder();
  if (!folder.empty()) {
    koru::MemoryListView view;
    koru::ProfileListStore store(view);
    store.SetDeviceKind(kind_);
    store.SetFolders(folder, GetDefaultTemplatePath());
    if (store.InitProfileList() == koru::ProfileListResult::Done && !store.GetSelectedUuid().empty())
      profileName_ = store.GetSelectedUuid();
  }
  Profile().SetProfilePath(ProfileFilePath());
  Profile().SetLightLibraryPath(LightLibraryFilePath());
}

std::string CKestroUSBDevice::GetProfilePath() const { return profile_ ? profile_->GetProfilePath() : std::string(); }

int CKestroUSBDevice::LoadCurrentProfile() {
  SetProfilePaths();
  const std::string path = GetProfilePath();
  if (path.empty()) return 0;
  Profile().LoadSection(path);
  if (!IsProfileLoaded()) {
    koru::DebugOutput("profile could not be loaded: " + path);
    return 0;
  }
  LoadProfileToPage();
  return 1;
}

int CKestroUSBDevice::LoadProfileToPage() {
  if (!IsProfileLoaded()) return 0;
  CBasicProfiledata& profile = Profile();
  const uint8_t previousEffect = GetLightInfo().selectItem;
  const LightInfoData info = profile.GetLightInfo();
  SetLightInfo(info);
  SetAudioLightInfo(profile.GetAudioLightInfo());
  if (info.selectItem != previousEffect) ResetEffectState();
  ReplaceLightList(profile.GetLightList());
  SetPhase(0);
  profile.LoadLightLibrary(profile.GetLightLibraryPath());
  ReplaceCustomEffect(profile.GetCustomLightEffect());
  return 1;
}

void CKestroUSBDevice::ResetEffectState() {
  SetPhase(0);
  colorIndex_.store(0, kRelaxed);
  ripple_.Clear();
}

void CKestroUSBDevice::SyncWithDevice() {
  LoadCurrentProfile();
  RefreshControls();
  StartLightThread();
}

// ---- Operations the kinds give meaning to

void CKestroUSBDevice::ReloadFromDevice() {}
void CKestroUSBDevice::UpdatePowerStatus() {}
bool CKestroUSBDevice::IsWirelessLinkUp() { return true; }

void CKestroUSBDevice::ReadPowerIntoIndicator(bool wireless) {
  if (!channel_.IsOpen()) return;
  if (wireless && (!IsPowerPolling() || !QueryWirelessLink(channel_))) return;
  uint8_t block[kPowerBlockSize] = {};
  if (ReadPowerStatus(channel_, block, sizeof block, 0) != koru::result::kSuccess) return;
  block[3] = channel_.IsReceiverMode() ? 1 : 0;
  if (powerControl_ != nullptr) powerControl_->SetPowerData(block, sizeof block);
  if (window_ != nullptr) ::PostMessage(window_, kPowerLevelMessage, block[4], 0);
}

bool CKestroUSBDevice::ReceiverLinkAnswers() {
  return channel_.IsOpen() && channel_.IsReceiverMode() && QueryWirelessLink(channel_);
}

void CKestroUSBDevice::RefreshControls() {}
void CKestroUSBDevice::ValidateMacroAssignments() {}
void CKestroUSBDevice::ResetToDefaultProfile() {}
void CKestroUSBDevice::CollectUsedMacros(std::vector<int>& macros) { macros.clear(); }
int CKestroUSBDevice::WriteKeyAssignments(int, const std::vector<KeyListItem>&) { return 0; }
int CKestroUSBDevice::DownloadKeyAssignments(int) { return 0; }
int CKestroUSBDevice::DownloadMacros(const std::vector<int>&) { return 0; }
int CKestroUSBDevice::WriteDeviceSettings(int, int, int, int, int) { return 0; }
void CKestroUSBDevice::LoadNameLists() {}
void CKestroUSBDevice::SaveProfile() {}
void CKestroUSBDevice::OnAudioSpectrum(const int32_t*, int) {}
void CKestroUSBDevice::OnAudioPeaks(const int32_t*, int) {}
