#pragma once
// A device page: the control that shows one connected device and the
// controller of that device. It owns the device's command channel and its
// notification endpoints, keeps the lighting state, animates the device
// picture on its light thread, and binds the picture's key and light buttons.
// The four device kinds derive from it and add their commands and panels.
//
// Threads: the user-interface thread calls everything unless marked
// otherwise. The light thread runs RunLightPass (the effect steps, the custom
// effect and the per-light records); it sends nothing to the device. The light
// frame, the animation state and the ripple state are shared with it through
// atomics, the lighting record through a lock, the custom effect and the light
// records through their players' locks.
#include <array>
#include <atomic>
#include <memory>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/InterfaceSlot.h"
#include "controls/IDeviceTabPage.h"
#include "devices/CustomEffectPlayer.h"
#include "devices/LightFrame.h"
#include "devices/LightRecordPlayer.h"
#include "devices/LightThread.h"
#include "devices/RippleState.h"
#include "profiles/ProfileRecords.h"
#include "toolkit/core/CNotifyPump.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"
#include "toolkit/window/WindowTypes.h"
#include "transport/CDeviceChannel.h"
#include "transport/CHidDevice.h"

class CBasicProfiledata;
class CContainerUI;
class CDeviceOptionUI;
class CMpDevicePowerUI;
class CTabLayoutUI;

// The names a device uses for its effects, areas and macros, as the kinds
// load them for the lighting and key panels.
struct DeviceNameLists {
  std::vector<std::string> areaLightNames;
  std::vector<std::string> effectNames;
  std::vector<uint8_t> effectVisible;
  std::vector<std::string> customLightNames;
  std::vector<std::string> macroNames;
  std::vector<int> effectCodes;  // the device's own code of each effect
};

class CKestroUSBDevice : public CHorizontalLayoutUI, public CNotifyPump, public INotifyUI, public IDeviceTabPage {
 public:
  // Milliseconds of a monotonic clock; callable from the light thread.
  using Clock = std::function<uint64_t()>;
  using EffectStep = void (*)(CKestroUSBDevice& page);
  // One effect a kind animates: its step and the ticks per step by speed level.
  struct EffectSlot {
    uint8_t effect;
    EffectStep step;
    std::array<uint8_t, 5> ticks;
  };

  static constexpr int kMaxLights = 170;
  static constexpr uint8_t kNoLed = 255;

  CKestroUSBDevice();
  ~CKestroUSBDevice() override;

  // Toolkit identity: the class tag with "UI". GetInterface answers the page
  // for "KestroUSBDevice" and for its own tag.
  std::string GetClass() const override;
  void* GetInterface(std::string_view name) override;
  // Notifications of the page's own controls go to its handlers (Bind).
  void Notify(TNotifyUI& msg) override;

  // ---- Operations the main window, the tab item and the kinds call.
  // Binds the picture's buttons (BuildDeviceControls) unless the page has no markup.
  virtual void InitDevicePage();
  // Takes the loaded profile's lighting (record, per-light records, custom
  // effect) into the animation; 0 while no profile is loaded.
  virtual int LoadProfileToPage();
  // Effect steps; each writes every light of the frame. Light thread.
  virtual int StepBreathEffect();
  virtual void StepBreathPaletteEffect();
  virtual void StepStaticEffect();
  virtual void StepSpectrumEffect();
  virtual void StepBlinkEffect();
  virtual void StepBlinkPaletteEffect();
  virtual void StepLightsOff();
  // Shows the frame on the picture's light buttons (the tab item, every 50 ms).
  void RefreshLightFrame() override;
  // packed = red | green << 8 | blue << 16 | level << 24. Any thread.
  virtual void SetLightColor(int light, uint32_t packed);
  virtual uint32_t GetLightColor(int light) const;
  // Loads the current profile and starts the light thread; the kinds add
  // their device reading.
  void SyncWithDevice() override;
  void ReloadFromDevice() override;
  // The base reads nothing; the wireless kinds and the headset read the power
  // block into the indicator (ReadPowerIntoIndicator).
  void UpdatePowerStatus() override;
  bool IsWirelessLinkUp() override;
  // The main window pauses the keyboard's and the mouse's polling while it is hidden.
  void SetPowerPolling(bool on) { powerPolling_.store(on, std::memory_order_relaxed); }
  bool IsPowerPolling() const { return powerPolling_.load(std::memory_order_relaxed); }
  // SetProfilePaths, load the profile file, LoadProfileToPage; 1 when loaded.
  virtual int LoadCurrentProfile();
  virtual void RefreshControls();
  virtual void ValidateMacroAssignments();
  virtual void ResetToDefaultProfile();
  virtual void CollectUsedMacros(std::vector<int>& macros);
  virtual int WriteKeyAssignments(int bank, const std::vector<KeyListItem>& keys);
  virtual int DownloadKeyAssignments(int bank);
  // 0 when done, -1 or the number of the macro that failed otherwise.
  virtual int DownloadMacros(const std::vector<int>& macros);
  virtual int WriteDeviceSettings(int bank, int activeProfile, int flag, int screenWidth, int screenHeight);
  virtual void LoadNameLists();
  virtual int DecayRippleLevel(int light, int curve);
  virtual void SeedRippleFromTriggers();
  virtual void RotateTriggerRow(uint8_t direction);
  virtual void ClearRipple();
  // Switches the function tabs ("device_function_switch",
  // "device_key_function_switch") for a function mode 1..8.
  virtual void SetFunctionPage(int mode);
  virtual int GetFunctionPage() const { return functionPage_; }
  // The profile is the one the device's profile list selects; the list and
  // its first profile are made from the factory template when missing.
  virtual void SetProfilePaths();
  virtual std::string GetProfilePath() const;
  virtual void SaveProfile();
  virtual void SetLightSetIndex(int index);
  virtual int GetLightSetIndex() const { return lightSetIndex_; }
  virtual void SetLightInfo(const LightInfoData& info);
  virtual void SetAudioLightInfo(const AudioLightInfoData& info);
  virtual AudioLightInfoData GetAudioLightInfo();
  virtual void SelectKey(int key);
  virtual void OnAudioSpectrum(const int32_t* levels, int count);
  virtual void OnAudioPeaks(const int32_t* values, int count);
  // Every kind: its controls (the base binds its first "SelectPanel"), the
  // shared lighting record, its own effects.
  virtual void BuildDeviceControls();
  virtual LightInfoData GetLightInfo() const;
  virtual void StepFlowEffect() {}
  virtual void StepWaveEffect() {}
  virtual void StepWaveEffect2() {}

  // The lighting record as five words: four bytes each, lowest first; the
  // fifth word's low byte is the last byte.
  void SetLightInfoWords(const std::array<uint32_t, 5>& words);
  std::array<uint32_t, 5> GetLightInfoWords() const;

  // ---- Set-up by the main window, in this order, then InitDevicePage.
  void SetWindowHandle(HWND window) { window_ = window; }
  HWND GetWindowHandle() const { return window_; }
  void SetPageXml(std::string_view name) { pageXml_ = name; }
  const std::string& GetPageXml() const { return pageXml_; }
  void SetKeyCount(int count);
  int GetKeyCount() const { return keyCount_; }
  // At most kMaxLights; every light becomes dark and every light record goes.
  void SetLightCount(int count);
  int GetLightCount() const { return lightCount_; }
  void SetCatalogueIndex(int index) { catalogueIndex_ = index; }
  int GetCatalogueIndex() const { return catalogueIndex_; }
  void SetHasBattery(bool on) { hasBattery_ = on; }
  bool HasBattery() const { return hasBattery_; }
  void SetPowerControl(CMpDevicePowerUI* control) { powerControl_ = control; }
  CMpDevicePowerUI* GetPowerControl() const { return powerControl_; }
  // Kind and sub-kind follow the record's kind (as its cable kind) and role.
  void SetDeviceRecord(const InterfaceSlot& record);
  const InterfaceSlot& GetDeviceRecord() const { return deviceRecord_; }
  void SetKind(int kind) { kind_ = kind; }
  int GetKind() const { return kind_; }
  void SetSubKind(int subKind);
  int GetSubKind() const { return subKind_; }
  void SetProfileName(std::string_view name) { profileName_ = name; }
  const std::string& GetProfileName() const { return profileName_; }
  void SetLightLibraryName(std::string_view name) { lightLibraryName_ = name; }
  const std::string& GetLightLibraryName() const { return lightLibraryName_; }
  void SetDeviceFolder(std::string_view name) { deviceFolder_ = name; }
  const std::string& GetDeviceFolder() const { return deviceFolder_; }
  void SetTabItem(CDeviceOptionUI* item) { tabItem_ = item; }
  CDeviceOptionUI* GetTabItem() const { return tabItem_; }
  // 1 while this program drives the device's lights; on a keyboard with an
  // open channel, taking them sends TakeLightControl.
  void SetHostLighting(int on);
  int GetHostLighting() const { return hostLighting_.load(std::memory_order_relaxed); }
  void SetPreviewActive(int on) { previewActive_.store(on, std::memory_order_relaxed); }
  int GetPreviewActive() const { return previewActive_.load(std::memory_order_relaxed); }
  void SetPictureShown(bool shown) override { pictureShown_.store(shown, std::memory_order_relaxed); }
  bool IsPictureShown() const { return pictureShown_.load(std::memory_order_relaxed); }

  // ---- What the tab item asks (its timers, on the user-interface thread).
  bool IsChannelOpen() const override { return channel_.IsOpen(); }
  bool IsReceiverMode() const override { return channel_.IsReceiverMode(); }
  bool IsWirelessCapable() const override { return hasBattery_; }
  bool IsPreviewActive() const override { return GetPreviewActive() != 0; }
  // Repaints the picture containers when a light changed since the last repaint.
  void RepaintPicture() override;

  // ---- The device connection, for the main window.
  CDeviceChannel& Channel() { return channel_; }
  const CDeviceChannel& Channel() const { return channel_; }
  // Opens the command endpoint of a path under the exchange lock and marks the
  // channel open; mode is CDeviceChannel::kCableMode or kReceiverMode, or 0 to
  // leave the connection mode (and chunk size) as it is.
  bool OpenCommandEndpoint(bool receiver, const std::string& path, int mode);
  // Marks the channel closed and closes one command endpoint, under the exchange lock.
  void CloseCommandEndpoint(bool receiver);
  // The consumer-control endpoints the synchronisation threads read (cable and receiver).
  bool OpenNotifyEndpoint(bool receiver, const std::string& path);
  // Cancels a read blocked on it.
  void CloseNotifyEndpoint(bool receiver);
  bool IsNotifyEndpointOpen(bool receiver) const;
  // Synchronised lighting: while set, the light thread leaves the frame to it.
  bool IsSyncLighting() const { return channel_.IsSyncLightingMember(); }
  void SetSyncLighting(bool on) { channel_.SetSyncLightingMember(on); }
  // Every light shows the packed colour (see SetLightColor). Any thread.
  void SetSyncColour(uint32_t packed) { frame_.Fill(LightFrameEntry::FromPacked(packed)); }

  // ---- Files. Folder paths end with '/'; empty when the device folder is
  // not a plain name or there is no data folder.
  static std::string DefaultDataFolder();
  std::string GetDefaultTemplatePath() const;
  // Created when missing.
  std::string GetDataFolder() const;
  std::string ProfileFilePath() const;
  std::string LightLibraryFilePath() const;

  // ---- The light thread.
  void StartLightThread();
  // Cooperative: returns once the thread has ended.
  void StopLightThread();
  bool IsLightThreadRunning() const { return lightThread_.IsRunning(); }
  // One pass of the light thread (public for tests and measurements).
  koru::CLightThread::PassResult RunLightPass();
  // The animation of one tick, whatever the channel's state.
  void AnimateOneTick();
  // Tests replace the clock before the light thread starts.
  void SetClock(Clock clock);
  uint64_t NowMs() const { return clock_(); }

  // ---- The profile document, made on first use (the kinds give its type).
  CBasicProfiledata& Profile();
  bool IsProfileLoaded() const;

  // ---- Working state the kinds replace when a profile loads.
  void ReplaceCustomEffect(std::vector<LightEffectStep> steps);
  void ReplaceLightList(std::vector<LightInfoData> records);

  // ---- State read by the panels, the tab item and the tests.
  const std::vector<CControlUI*>& KeyButtons() const { return keyButtons_; }
  const std::vector<CControlUI*>& LightButtons() const { return lightButtons_; }
  CContainerUI* GetKeyPanel() const { return keyPanel_; }
  const CLightFrame& Frame() const { return frame_; }
  const CRippleState& Ripple() const { return ripple_; }
  CRippleState& Ripple() { return ripple_; }
  uint8_t GetPhase() const { return phase_.load(std::memory_order_relaxed); }
  void SetPhase(uint8_t phase) { phase_.store(phase, std::memory_order_relaxed); }
  uint8_t GetColorIndex() const { return colorIndex_.load(std::memory_order_relaxed); }
  bool IsBlinkOn() const { return blinkOn_.load(std::memory_order_relaxed); }
  int GetSelectedKey() const { return selectedKey_; }
  const DeviceNameLists& NameLists() const { return nameLists_; }

 protected:
  // A kind's page: its kind code and its markup tag.
  CKestroUSBDevice(int kind, const char* classTag);

  virtual std::unique_ptr<CBasicProfiledata> MakeProfile() const;
  // The device's power block (6 bytes at address 0) into the indicator, byte 3
  // marking the receiver, and byte 4 to the main window as message 3329. The
  // wireless kinds poll only while polling is on and the link is up.
  void ReadPowerIntoIndicator(bool wireless);
  // Open, through the receiver, and the device answers behind it.
  bool ReceiverLinkAnswers();

  // A new effect starts from its beginning; the kinds clear their own state too.
  virtual void ResetEffectState();

  // The effects this kind animates; an effect without a slot plays the custom effect.
  virtual std::span<const EffectSlot> EffectTable() const { return {}; }
  // The mouse plays no per-light records.
  virtual bool PlaysLightRecords() const { return true; }
  // True while the device takes its frames from this program, so the frame
  // must move on even when nobody sees the picture.
  virtual bool StreamsFrames() const { return false; }
  virtual const char* LightThreadExitLine() const { return "MS灯光线程设定退出"; }

  // The common start of InitDevicePage: without markup the page has no
  // picture (false, tables emptied); otherwise the tables are cleared for binding.
  bool PreparePictureTables();
  // Binds the buttons of one picture container; the first one bound becomes the key panel.
  int BindPictureContainer(CContainerUI* container, bool lightByName);
  CContainerUI* FindContainer(std::string_view name);
  // The static colour and level of the lighting record.
  static WheelColour StaticColour(const LightInfoData& info);

  CDeviceChannel channel_;
  CLightFrame frame_;
  CRippleState ripple_;
  CCustomEffectPlayer customEffect_;
  CLightRecordPlayer lightRecords_;
  DeviceNameLists nameLists_;
  std::array<uint8_t, kMaxLights> keyToLed_{};
  std::array<uint8_t, kMaxLights> keyToFrame_{};
  AudioLightInfoData audioLightInfo_;
  CControlUI* lightControl_ = nullptr;
  CControlUI* profilePanel_ = nullptr;

 private:
  void ShowStep(const WheelColour& colour, uint8_t level);
  // Flips the blink state when the interval of `speed` has passed since the last flip.
  bool ToggleBlinkWhenDue(uint8_t speed);
  CTabLayoutUI* FindTabLayout(std::string_view name);

  // Set-up and identity.
  HWND window_ = nullptr;
  std::string pageXml_;
  std::string profileName_;
  std::string lightLibraryName_;
  std::string deviceFolder_;
  InterfaceSlot deviceRecord_;
  int kind_ = 0;
  const char* classTag_;
  int subKind_ = 0;
  int keyCount_ = 0;
  int lightCount_ = 0;
  int catalogueIndex_ = -1;
  bool hasBattery_ = false;
  int lightSetIndex_ = 0;

  // Controls.
  CMpDevicePowerUI* powerControl_ = nullptr;
  CDeviceOptionUI* tabItem_ = nullptr;
  CContainerUI* keyPanel_ = nullptr;
  std::vector<CContainerUI*> pictures_;
  CTabLayoutUI* functionSwitch_ = nullptr;
  CTabLayoutUI* keyFunctionSwitch_ = nullptr;
  std::vector<CControlUI*> keyButtons_;
  std::vector<CControlUI*> lightButtons_;
  int selectedKey_ = -1;
  int functionPage_ = 1;
  // A light's shown state changed since the picture was last repainted.
  bool pictureChanged_ = true;

  // Lighting.
  mutable std::mutex lightInfoLock_;
  LightInfoData lightInfo_;
  std::atomic<int> hostLighting_{1};
  std::atomic<bool> powerPolling_{true};
  std::atomic<int> previewActive_{1};
  std::atomic<bool> pictureShown_{true};
  std::atomic<uint8_t> phase_{0};
  std::atomic<uint8_t> colorIndex_{0};
  std::atomic<bool> blinkOn_{false};
  std::atomic<uint64_t> lastToggleMs_{0};
  // Light thread only.
  int ticks_ = 0;

  std::unique_ptr<CBasicProfiledata> profile_;
  CHidDevice notifyCable_;
  CHidDevice notifyReceiver_;
  Clock clock_;
  koru::CLightThread lightThread_;
};
