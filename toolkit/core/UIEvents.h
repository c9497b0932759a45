#pragma once
// Event and notification records that travel between the paint manager, the
// controls and the window's listeners.
#include <cstdint>
#include <string>

#include "toolkit/core/UIDefs.h"

class CControlUI;

// Events the paint manager hands to a control's DoEvent.
enum EVENTTYPE_UI {
  UIEVENT_UNKNOWN = 0,
  UIEVENT_MOUSEMOVE,
  UIEVENT_MOUSELEAVE,
  UIEVENT_MOUSEENTER,
  UIEVENT_MOUSEHOVER,
  UIEVENT_BUTTONDOWN,
  UIEVENT_BUTTONUP,
  UIEVENT_DBLCLICK,
  UIEVENT_RBUTTONDOWN,
  UIEVENT_RBUTTONUP,
  UIEVENT_CONTEXTMENU,
  UIEVENT_SCROLLWHEEL,
  UIEVENT_KEYDOWN,
  UIEVENT_KEYUP,
  UIEVENT_CHAR,
  UIEVENT_SETFOCUS,
  UIEVENT_KILLFOCUS,
  UIEVENT_TIMER,
  UIEVENT_SETCURSOR,
};

// Modifier state carried by input events.
enum UIKeyState : unsigned {
  UIKEYSTATE_SHIFT = 0x01,
  UIKEYSTATE_CONTROL = 0x02,
  UIKEYSTATE_ALT = 0x04,
  UIKEYSTATE_LBUTTON = 0x10,
  UIKEYSTATE_RBUTTON = 0x20,
};

// Key codes of key events; the values are the classic virtual-key numbers, so a
// host that receives those numbers can pass them on unchanged.
enum UIKeyCode : unsigned {
  UIKEY_BACK = 0x08,
  UIKEY_TAB = 0x09,
  UIKEY_RETURN = 0x0D,
  UIKEY_ESCAPE = 0x1B,
  UIKEY_END = 0x23,
  UIKEY_HOME = 0x24,
  UIKEY_LEFT = 0x25,
  UIKEY_UP = 0x26,
  UIKEY_RIGHT = 0x27,
  UIKEY_DOWN = 0x28,
  UIKEY_DELETE = 0x2E,
  UIKEY_A = 0x41,
};

struct TEventUI {
  int Type = UIEVENT_UNKNOWN;
  CControlUI* pSender = nullptr;
  std::uint64_t dwTimestamp = 0;
  UIPoint ptMouse;
  char32_t chKey = 0;     // character of UIEVENT_CHAR, key code of key events
  unsigned wKeyState = 0; // UIKeyState bits
  std::uintptr_t wParam = 0;  // timer id, wheel direction (0 up, 1 down)
  std::intptr_t lParam = 0;
};

struct TNotifyUI {
  std::string sType;
  std::string sVirtualWnd;
  CControlUI* pSender = nullptr;
  std::uint64_t dwTimestamp = 0;
  UIPoint ptMouse;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

class INotifyUI {
 public:
  virtual ~INotifyUI() = default;
  virtual void Notify(TNotifyUI& msg) = 0;
};

// Notification type names.
inline constexpr const char* DUI_MSGTYPE_WINDOWINIT = "windowinit";
inline constexpr const char* DUI_MSGTYPE_WINDOWSIZE = "windowsize";
inline constexpr const char* DUI_MSGTYPE_CLICK = "click";
inline constexpr const char* DUI_MSGTYPE_DBCLICK = "dbclick";
inline constexpr const char* DUI_MSGTYPE_SELECTCHANGED = "selectchanged";
inline constexpr const char* DUI_MSGTYPE_VALUECHANGED = "valuechanged";
inline constexpr const char* DUI_MSGTYPE_MOVEVALUECHANGED = "movevaluechanged";
inline constexpr const char* DUI_MSGTYPE_ITEMSELECT = "itemselect";
inline constexpr const char* DUI_MSGTYPE_ITEMCLICK = "itemclick";
inline constexpr const char* DUI_MSGTYPE_ITEMACTIVATE = "itemactivate";
inline constexpr const char* DUI_MSGTYPE_TEXTCHANGED = "textchanged";
inline constexpr const char* DUI_MSGTYPE_RETURN = "return";
inline constexpr const char* DUI_MSGTYPE_SETFOCUS = "setfocus";
inline constexpr const char* DUI_MSGTYPE_KILLFOCUS = "killfocus";
inline constexpr const char* DUI_MSGTYPE_COLORCHANGED = "colorchanged";
inline constexpr const char* DUI_MSGTYPE_MENU = "menu";
inline constexpr const char* DUI_MSGTYPE_TIMER = "timer";
inline constexpr const char* DUI_MSGTYPE_MOUSEENTER = "msenter";
inline constexpr const char* DUI_MSGTYPE_MOUSELEAVE = "msleave";
inline constexpr const char* DUI_MSGTYPE_TABSELECT = "tabselect";
inline constexpr const char* DUI_MSGTYPE_DROPDOWN = "dropdown";
inline constexpr const char* DUI_MSGTYPE_SCROLL = "scroll";
