#pragma once
// Window handles, message parameters and the message numbers the program's
// windows exchange. The numbers are the classic desktop ones, so code written
// against them reads the same here; nothing here talks to a desktop directly.
#include <cstdint>
#include <string>
#include <vector>

// A window handle: an opaque number, never reused within a process. A message
// to a handle whose window is gone is dropped (a send answers 0).
struct UIWindowHandle;
using HWND = UIWindowHandle*;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

inline constexpr unsigned WM_NULL = 0x0000;
inline constexpr unsigned WM_CREATE = 0x0001;
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_MOVE = 0x0003;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_ACTIVATE = 0x0006;
inline constexpr unsigned WM_SETFOCUS = 0x0007;
inline constexpr unsigned WM_KILLFOCUS = 0x0008;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_QUIT = 0x0012;
inline constexpr unsigned WM_SHOWWINDOW = 0x0018;
inline constexpr unsigned WM_COPYDATA = 0x004A;
inline constexpr unsigned WM_NCDESTROY = 0x0082;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_POWERBROADCAST = 0x0218;
inline constexpr unsigned WM_MOUSEHOVER = 0x02A1;
inline constexpr unsigned WM_MOUSELEAVE = 0x02A3;
inline constexpr unsigned WM_DPICHANGED = 0x02E0;
inline constexpr unsigned WM_DISPLAYCHANGE = 0x007E;
inline constexpr unsigned WM_USER = 0x0400;
// Numbers from here up to 0xBFFF are the program's private messages; names
// registered with RegisterWindowMessage get numbers from 0xC000 on.
inline constexpr unsigned WM_APP = 0x8000;

// wParam of WM_SYSCOMMAND.
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// wParam of WM_ACTIVATE.
inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;

// Window styles the toolkit honours; the others are accepted and ignored.
inline constexpr unsigned UI_WNDSTYLE_CHILD = 0x40000000;
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_VISIBLE = 0x10000000;
inline constexpr unsigned WS_MINIMIZEBOX = 0x00020000;
inline constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_SYSMENU = 0x00080000;
inline constexpr unsigned WS_CLIPSIBLINGS = 0x04000000;
inline constexpr unsigned WS_CLIPCHILDREN = 0x02000000;
inline constexpr unsigned WS_EX_TOPMOST = 0x00000008;
inline constexpr unsigned WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr unsigned WS_EX_NOACTIVATE = 0x08000000;
inline constexpr unsigned UI_WNDSTYLE_FRAME = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
inline constexpr unsigned UI_WNDSTYLE_DIALOG = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
inline constexpr unsigned UI_WNDSTYLE_EX_DIALOG = WS_EX_TOOLWINDOW;

// "Let the system choose" for a position or size of Create.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Modal results.
inline constexpr unsigned IDOK = 1;
inline constexpr unsigned IDCANCEL = 2;

// Mouse messages a tray icon reports in lParam of its callback message.
inline constexpr LPARAM UI_TRAY_LBUTTONUP = WM_LBUTTONUP;
inline constexpr LPARAM UI_TRAY_RBUTTONUP = WM_RBUTTONUP;

namespace koru {

// An attachment a message owns: it lives until the handler returns and is then
// freed by the message loop, also when the message is dropped, so a receiver
// never frees it and nothing leaks.
class MessagePayload {
 public:
  virtual ~MessagePayload() = default;
};

// The menu command a popup menu posts to its owner (wParam points to it).
inline constexpr unsigned kMenuCommandMessage = 1145;

}  // namespace koru

// Copy data: lParam of WM_COPYDATA points to this record; wParam is the sender.
struct COPYDATASTRUCT : koru::MessagePayload {
  std::uintptr_t dwData = 0;
  std::vector<std::uint8_t> bytes;
  std::size_t cbData() const { return bytes.size(); }
  const std::uint8_t* lpData() const { return bytes.data(); }
};

// The record of a chosen menu item.
struct MenuCmd : koru::MessagePayload {
  std::string szName;
  std::string szUserData;
  std::string szText;
  bool bChecked = false;
};
