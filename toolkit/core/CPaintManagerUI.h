#pragma once
// One window's toolkit state: the control tree, input routing, focus and
// capture, notifications, timers, fonts, images, styles and the offscreen
// image the tree is painted into. The window host feeds it input in device
// pixels and calls Pump; everything inside works in logical 96-DPI pixels.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "toolkit/core/IPaintHost.h"
#include "toolkit/core/UIDefs.h"
#include "toolkit/core/UIEvents.h"

class QImage;
class QPainter;
class QFont;
class CControlUI;
struct TImageInfo;
struct TDrawInfo;

// A control that draws and hit-tests a layer above the tree (a combo's drop list).
class IPopupUI {
 public:
  virtual ~IPopupUI() = default;
  virtual UIRect GetPopupRect() const = 0;
  virtual CControlUI* PopupHitTest(UIPoint pt) = 0;
  virtual void PaintPopup(QPainter& painter) = 0;
  virtual void ClosePopup() = 0;
};

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  void Init(IPaintHost* host, std::string_view name = {});
  IPaintHost* GetHost() const { return m_pHost; }
  const std::string& GetName() const { return m_sName; }
  std::uint64_t GetTickCount() const;

  // Folders. The resource path is the skin folder that markup and images are relative to.
  static void SetInstancePath(std::string_view path);
  static std::string GetInstancePath();
  static void SetResourcePath(std::string_view path);
  static std::string GetResourcePath();
  static std::vector<CPaintManagerUI*> GetAllManagers();

  // Control tree
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return m_pRoot; }
  // Registers the names of a subtree that joined this window.
  void InitControls(CControlUI* control, CControlUI* parent = nullptr);
  // A control is leaving the window: forget names, timers, focus, capture and queued notifications.
  void ReapObjects(CControlUI* control);
  // Deletes the control once the current event or notification has been handled.
  void AddDelayedCleanup(CControlUI* control);
  CControlUI* FindControl(std::string_view name) const;
  CControlUI* FindControl(UIPoint logicalPt) const;
  static CControlUI* FindSubControlByName(CControlUI* parent, std::string_view name);
  static std::vector<CControlUI*> FindSubControlsByClass(CControlUI* parent, std::string_view className);
  void RenameControl(CControlUI* control, std::string_view oldName);

  // Window size in logical pixels; a change relayouts and sends "windowsize" from the root.
  UISize GetClientSize() const { return m_szClient; }
  void SetClientSize(UISize size);
  UISize GetInitSize() const { return m_szInit; }
  void SetInitSize(UISize size) { m_szInit = size; }
  UIRect GetCaptionRect() const { return m_rcCaption; }
  void SetCaptionRect(const UIRect& rc) { m_rcCaption = rc; }
  UIRect GetSizeBox() const { return m_rcSizeBox; }
  void SetSizeBox(const UIRect& rc) { m_rcSizeBox = rc; }
  UISize GetMinInfo() const { return m_szMin; }
  void SetMinInfo(UISize size) { m_szMin = size; }
  UISize GetMaxInfo() const { return m_szMax; }
  void SetMaxInfo(UISize size) { m_szMax = size; }
  UISize GetRoundCorner() const { return m_szRoundCorner; }
  void SetRoundCorner(UISize size) { m_szRoundCorner = size; }
  // Applies a <Window> attribute.
  void SetWindowAttribute(std::string_view name, std::string_view value);

  // Scaling: 96 DPI draws 1:1, 144 DPI draws at 1.5.
  int GetDPI() const { return m_nDPI; }
  double GetScale() const { return m_nDPI / 96.0; }
  void SetDPI(int dpi);
  static void SetAllDPI(int dpi);
  // Drops images and other assets prepared for the previous scale.
  void ResetDPIAssets();
  UIPoint ToLogical(UIPoint devicePt) const;
  UIPoint ToDevice(UIPoint logicalPt) const;

  // Notifications
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  void SendNotify(TNotifyUI& msg, bool async = false);
  void SendNotify(CControlUI* control, std::string_view type, std::uintptr_t wParam = 0, std::intptr_t lParam = 0,
                  bool async = false);
  // Window-level timers (SetTimer with a null control) are handed here.
  void SetWindowTimerHandler(std::function<void(unsigned id)> handler) { m_windowTimerHandler = std::move(handler); }
  // Runs `task` on the user-interface thread at the next Pump; callable from any thread.
  void PostTask(std::function<void()> task);

  // Timers per control (or per window with a null control). Callable from any thread.
  bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs);
  bool KillTimer(CControlUI* control, unsigned id);
  void KillTimer(CControlUI* control);
  void RemoveAllTimers();
  bool HasTimer(CControlUI* control, unsigned id) const;
  std::optional<std::uint64_t> NextTimerDue() const;
  // Fires every timer that is due on the host's clock; returns how many fired.
  int ProcessTimers();
  // Delivers the start notification, posted tasks, queued notifications and
  // due timers, then relayouts and repaints; returns the number of items handled.
  int Pump();

  // Focus, hot control and capture
  CControlUI* GetFocus() const { return m_pFocus; }
  void SetFocus(CControlUI* control);
  bool SetNextTabControl(bool forward = true);
  CControlUI* GetHot() const { return m_pEventHover; }
  CControlUI* GetCapture() const { return m_pEventClick; }
  void SetPopup(IPopupUI* popup);
  IPopupUI* GetPopup() const { return m_pPopup; }

  // Input from the host, in device pixels.
  void OnMouseMove(UIPoint pt, unsigned keyState = 0);
  void OnMouseLeaveWindow();
  void OnButtonDown(UIPoint pt, unsigned keyState = UIKEYSTATE_LBUTTON);
  void OnButtonUp(UIPoint pt, unsigned keyState = 0);
  void OnDoubleClick(UIPoint pt, unsigned keyState = UIKEYSTATE_LBUTTON);
  void OnRightButtonDown(UIPoint pt);
  void OnRightButtonUp(UIPoint pt);
  void OnContextMenu(UIPoint pt);
  // delta > 0 scrolls up.
  void OnWheel(UIPoint pt, int delta, unsigned keyState = 0);
  void OnKeyDown(unsigned key, unsigned keyState = 0);
  void OnKeyUp(unsigned key, unsigned keyState = 0);
  void OnChar(char32_t ch);
  UIPoint GetMousePos() const { return m_ptLastMouse; }

  // Layout and painting
  void NeedUpdate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  void Invalidate();
  void Invalidate(const UIRect& rc);
  UIRect GetDirtyRect() const { return m_rcDirty; }
  // Relayouts when needed, then paints the dirty area; returns the area painted.
  UIRect Paint();
  // The window's image, the client size times the scale.
  const QImage& GetImage() const;
  bool SaveImage(const std::string& pngPath) const;

  // Fonts: slot -1 is the default font. Sizes are pixel heights at 96 DPI.
  void AddFont(int id, std::string_view family, int size, bool bold = false, bool underline = false,
               bool italic = false, bool shared = false);
  void SetDefaultFont(std::string_view family, int size, bool bold = false, bool underline = false,
                      bool italic = false, bool shared = false);
  void RemoveAllFonts();
  bool HasFont(int id) const;
  const QFont& GetFont(int id) const;
  static void RemoveAllSharedFonts();

  // Images, cached per window; a name may be a res.xml image id or a path in the skin.
  std::shared_ptr<const TImageInfo> GetImageEx(std::string_view name, UIColor mask = 0);
  void RemoveAllImages();
  const TDrawInfo& GetDrawInfo(std::string_view imageString);

  // Defaults per class (keyed by tag, ignoring case) and named styles.
  void AddDefaultAttributeList(std::string_view className, std::string_view list, bool shared = false);
  std::string GetDefaultAttributeList(std::string_view className) const;
  void AddStyle(std::string_view name, std::string_view list, bool shared = false);
  std::string GetStyle(std::string_view name) const;

  // Option groups: at most one selected option per group.
  void AddOptionGroup(std::string_view group, CControlUI* control);
  const std::vector<CControlUI*>* GetOptionGroup(std::string_view group) const;
  void RemoveOptionGroup(std::string_view group, CControlUI* control);

  // Text colours used when a control sets none.
  UIColor GetDefaultFontColor() const { return m_dwDefaultFontColor; }
  void SetDefaultFontColor(UIColor c) { m_dwDefaultFontColor = c; }
  UIColor GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
  void SetDefaultDisabledColor(UIColor c) { m_dwDefaultDisabledColor = c; }
  UIColor GetDefaultSelectedBkColor() const { return m_dwDefaultSelectedBkColor; }

  // Colour adjustment of the whole skin by hue (0..360), saturation and lightness (0..200, 100 = unchanged).
  static UIColor GetAdjustColor(UIColor color, short H, short S, short L);
  void SetHSL(bool use, short H, short S, short L);
  UIColor AdjustColor(UIColor color) const;

 private:
  bool RootPaintsEveryPixel(const UIRect& area) const;
  struct Timer {
    CControlUI* control;
    unsigned id;
    unsigned elapse;
    std::uint64_t due;
    std::uint64_t serial;
  };
  struct Resources;

  void SendEvent(CControlUI* target, int type, UIPoint pt, unsigned keyState = 0, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0, char32_t key = 0);
  // Converts a device point, remembers it as the mouse position and makes the layout current.
  UIPoint TakeMouse(UIPoint devicePt);
  void UpdateHot(CControlUI* hit, UIPoint logicalPt, unsigned keyState);
  CControlUI* HitTest(UIPoint logicalPt) const;
  void LayoutIfNeeded();
  void DeliverNotify(TNotifyUI& msg);
  void EndDispatch();
  void RegisterName(CControlUI* control);

  IPaintHost* m_pHost = nullptr;
  std::string m_sName;
  CControlUI* m_pRoot = nullptr;
  std::unordered_map<std::string, CControlUI*> m_nameMap;
  std::vector<INotifyUI*> m_notifiers;
  std::function<void(unsigned)> m_windowTimerHandler;
  std::map<std::string, std::vector<CControlUI*>> m_optionGroups;
  std::map<std::string, std::string> m_defaultAttrs;
  std::map<std::string, std::string> m_styles;

  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  IPopupUI* m_pPopup = nullptr;
  UIPoint m_ptLastMouse;
  int m_dispatchDepth = 0;
  std::vector<CControlUI*> m_delayedCleanup;
  bool m_bWindowInitSent = false;

  UISize m_szClient;
  UISize m_szInit;
  UISize m_szMin;
  UISize m_szMax;
  UISize m_szRoundCorner;
  UIRect m_rcCaption;
  UIRect m_rcSizeBox;
  int m_nDPI = 96;
  bool m_bUpdateNeeded = true;
  UIRect m_rcDirty;

  UIColor m_dwDefaultFontColor = 0xFF000000;
  UIColor m_dwDefaultDisabledColor = 0xFFA7A6AA;
  UIColor m_dwDefaultSelectedBkColor = 0xFFBAE4FF;
  bool m_bUseHSL = false;
  short m_H = 180, m_S = 100, m_L = 100;

  mutable std::mutex m_timerMutex;
  std::vector<Timer> m_timers;
  std::uint64_t m_timerSerial = 0;

  std::mutex m_queueMutex;
  std::vector<TNotifyUI> m_asyncNotify;
  std::vector<std::function<void()>> m_tasks;

  std::unique_ptr<Resources> m_res;
};
