#pragma once
// The main window's private messages and timers.
namespace mainwnd {

inline constexpr unsigned kShowSettingProgress = 0x0C00;
inline constexpr unsigned kLanguageChanged = 0x0C11;      // wParam: language index
inline constexpr unsigned kInterfaceAttached = 0x0C12;    // wParam: slot
inline constexpr unsigned kInterfaceDetached = 0x0C13;    // wParam: slot
inline constexpr unsigned kOpenSettings = 0x0C15;
inline constexpr unsigned kClearUpdateBadge = 0x0C16;
inline constexpr unsigned kShowDeviceTab = 0x0D03;        // wParam: tab, lParam: 1 show, 0 remove
inline constexpr unsigned kDpiNotice = 0x04C8;
inline constexpr unsigned kTrayCallback = 1025;           // lParam: mouse message
inline constexpr unsigned kHookControl = 1054;            // wParam: 1 start, 0 stop
inline constexpr unsigned kMenuCommand = 1145;            // wParam: the MenuCmd record

inline constexpr unsigned kPowerSuspend = 4;              // WM_POWERBROADCAST wParam
inline constexpr unsigned kPowerResumeAutomatic = 18;

inline constexpr unsigned kRescaleTimer = 1011;
inline constexpr unsigned kRescaleDelayMs = 100;
inline constexpr unsigned kTrayMenuTimer = 1032;
inline constexpr unsigned kTrayMenuDelayMs = 10;
inline constexpr unsigned kDeferredProfileTimer = 1055;
inline constexpr unsigned kGameRestoreTimer = 1066;

// The window's size in logical pixels, and the audio companion's buffers.
inline constexpr int kWindowWidth = 1000;
inline constexpr int kWindowHeight = 640;
inline constexpr unsigned kAudioFrameBytes = 2000;
inline constexpr unsigned kAudioKeyboardBytes = 6;

}  // namespace mainwnd
