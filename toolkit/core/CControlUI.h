#pragma once
// The base of every control: identity, geometry, state, appearance and the
// painting and event hooks that derived controls override.
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/core/UIDefs.h"
#include "toolkit/core/UIEvents.h"

class QPainter;
class CPaintManagerUI;
class CControlUI;

// Visitor of FindControl; returns the control that ends the search, or null to go on.
using FINDCONTROLPROC = std::function<CControlUI*(CControlUI* control)>;

enum UIFindFlags : unsigned {
  UIFIND_ALL = 0x00,
  UIFIND_VISIBLE = 0x01,
  UIFIND_ENABLED = 0x02,
  UIFIND_TOP_FIRST = 0x08,
  UIFIND_ME_FIRST = 0x80,
};

// Interface names of GetInterface; GetClass answers the name followed by "UI"
// ("OptionUI"), as pages that walk a tree by class expect.
inline constexpr const char* DUI_CTR_CONTROL = "Control";
inline constexpr const char* DUI_CTR_CONTAINER = "Container";

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // Identity
  virtual std::string GetClass() const;
  virtual void* GetInterface(std::string_view name);
  const std::string& GetName() const { return m_sName; }
  void SetName(std::string_view name);
  CControlUI* GetParent() const { return m_pParent; }
  CPaintManagerUI* GetManager() const { return m_pManager; }
  // Attaches the control (and its subtree) to a window; `init` runs DoInit once attached.
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init = true);
  virtual void DoInit() {}

  // Texts. In resource-text mode the text is a language text identifier and
  // GetText answers the translation of the current language.
  virtual std::string GetText() const;
  virtual void SetText(std::string_view text);
  const std::string& GetRawText() const { return m_sText; }
  bool IsResourceText() const { return m_bResourceText; }
  void SetResourceText(bool on);
  std::string GetToolTip() const;
  void SetToolTip(std::string_view text) { m_sToolTip = text; }
  const std::string& GetUserData() const { return m_sUserData; }
  void SetUserData(std::string_view data) { m_sUserData = data; }
  // The panel ("virtual window") whose pump handles this control's notifications:
  // its own "virtualwnd" attribute or the nearest ancestor's.
  std::string GetVirtualWnd() const;
  void SetVirtualWnd(std::string_view name) { m_sVirtualWnd = name; }
  std::uintptr_t GetTag() const { return m_tag; }
  void SetTag(std::uintptr_t tag) { m_tag = tag; }

  // Appearance
  UIColor GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(UIColor color);
  UIColor GetBkColor2() const { return m_dwBackColor2; }
  void SetBkColor2(UIColor color);
  const std::string& GetBkImage() const { return m_sBkImage; }
  void SetBkImage(std::string_view image);
  const std::string& GetForeImage() const { return m_sForeImage; }
  void SetForeImage(std::string_view image);
  UIColor GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(UIColor color);
  UIColor GetFocusBorderColor() const { return m_dwFocusBorderColor; }
  void SetFocusBorderColor(UIColor color);
  int GetBorderSize() const { return m_nBorderSize; }
  void SetBorderSize(int size);
  UISize GetBorderRound() const { return m_cxyBorderRound; }
  void SetBorderRound(UISize round);

  // Geometry. Fixed sizes of 0 mean "share the remaining space".
  const UIRect& GetPos() const { return m_rcItem; }
  virtual void SetPos(const UIRect& rc, bool needInvalidate = true);
  int GetWidth() const { return m_rcItem.GetWidth(); }
  int GetHeight() const { return m_rcItem.GetHeight(); }
  int GetX() const { return m_rcItem.left; }
  int GetY() const { return m_rcItem.top; }
  const UIRect& GetPadding() const { return m_rcPadding; }
  void SetPadding(const UIRect& rc);
  UISize GetFixedXY() const { return m_cXY; }
  void SetFixedXY(UISize xy);
  int GetFixedWidth() const { return m_cxyFixed.cx; }
  void SetFixedWidth(int cx);
  int GetFixedHeight() const { return m_cxyFixed.cy; }
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return m_cxyMin.cx; }
  void SetMinWidth(int cx);
  int GetMaxWidth() const { return m_cxyMax.cx; }
  void SetMaxWidth(int cx);
  int GetMinHeight() const { return m_cxyMin.cy; }
  void SetMinHeight(int cy);
  int GetMaxHeight() const { return m_cxyMax.cy; }
  void SetMaxHeight(int cy);
  // The size a layout should give this control inside `available`.
  virtual UISize EstimateSize(UISize available);
  bool IsFloat() const { return m_bFloat; }
  void SetFloat(bool on);
  // Position of a floating control relative to its parent's top-left corner.
  const UIRect& GetFloatPos() const { return m_rcFloat; }
  void SetFloatPos(const UIRect& rc);

  // State
  virtual bool IsVisible() const { return m_bVisible && m_bInternVisible; }
  bool IsOwnVisible() const { return m_bVisible; }
  virtual void SetVisible(bool visible = true);
  virtual void SetInternVisible(bool visible = true);
  // A control is enabled only when every ancestor is enabled as well.
  virtual bool IsEnabled() const;
  bool IsOwnEnabled() const { return m_bEnabled; }
  virtual void SetEnabled(bool enabled = true);
  bool IsMouseEnabled() const { return m_bMouseEnabled; }
  void SetMouseEnabled(bool enabled = true) { m_bMouseEnabled = enabled; }
  bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
  void SetKeyboardEnabled(bool enabled = true) { m_bKeyboardEnabled = enabled; }
  bool IsFocused() const { return m_bFocused; }
  virtual void SetFocus();
  int GetCursor() const { return m_nCursor; }
  void SetCursor(int cursor) { m_nCursor = cursor; }
  // Activation is what a click does; false when the control cannot act now.
  virtual bool Activate();

  // Relayout and repaint requests.
  void NeedUpdate();
  void NeedParentUpdate();
  void Invalidate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }

  // Hit testing and tree walks.
  virtual CControlUI* FindControl(const FINDCONTROLPROC& proc, unsigned flags);
  // The deepest control under `pt` that takes mouse input, or null.
  virtual CControlUI* HitTest(UIPoint pt);

  // Events and attributes
  virtual void DoEvent(TEventUI& event);
  virtual void SetAttribute(std::string_view name, std::string_view value);
  void ApplyAttributeList(std::string_view list);

  // Painting. `paint` is the area being repainted (logical coordinates).
  virtual void DoPaint(QPainter& painter, const UIRect& paint);
  bool BkImageHidesBkColor();
  virtual void PaintBkColor(QPainter& painter);
  virtual void PaintBkImage(QPainter& painter);
  virtual void PaintStatusImage(QPainter& painter);
  virtual void PaintForeImage(QPainter& painter);
  virtual void PaintText(QPainter& painter);
  virtual void PaintBorder(QPainter& painter);
  // Draws an image string over this control; false when the image is missing.
  bool DrawImage(QPainter& painter, std::string_view image, std::string_view modify = {});
  // The same with a light layer: the image's shape is filled with `lightColour`
  // (0x00BBGGRR, red in the low byte) at `level` (0..255) when `on`.
  bool DrawImage(QPainter& painter, std::string_view image, std::uint32_t lightColour, int level, bool on);

 protected:
  friend class CContainerUI;
  friend class CPaintManagerUI;
  void SetParentOnly(CControlUI* parent) { m_pParent = parent; }

  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  std::string m_sName;
  std::string m_sText;
  std::string m_sToolTip;
  std::string m_sUserData;
  std::string m_sVirtualWnd;
  std::uintptr_t m_tag = 0;
  bool m_bResourceText = false;
  bool m_bUpdateNeeded = true;
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  int m_nCursor = 0;

  UIRect m_rcItem;
  UIRect m_rcPadding;
  UIRect m_rcFloat;
  UISize m_cXY;
  UISize m_cxyFixed;
  UISize m_cxyMin;
  UISize m_cxyMax{9999, 9999};

  UIColor m_dwBackColor = 0;
  UIColor m_dwBackColor2 = 0;
  UIColor m_dwBorderColor = 0;
  UIColor m_dwFocusBorderColor = 0;
  int m_nBorderSize = 0;
  UISize m_cxyBorderRound;
  std::string m_sBkImage;
  std::string m_sForeImage;
};
