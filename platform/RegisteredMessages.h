#pragma once
// Message numbers by name, one number per name for the life of the process, in
// the range the desktop reserves for registered messages (0xC000..0xFFFF). The
// names below are the ones other programs use to reach us or to hear from us;
// over D-Bus they travel by name, inside the process by number.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace koru {

inline constexpr unsigned kFirstRegisteredMessage = 0xC000;
inline constexpr unsigned kLastRegisteredMessage = 0xFFFF;

// The same number for the same name on every call, from any thread; 0 for an
// empty name or when the range is used up.
unsigned RegisterWindowMessage(std::string_view name);
// The name a number was registered under; nullopt for any other number.
std::optional<std::string> RegisteredMessageName(unsigned message);

// Copy data travels as a message of this name: lParam is the data kind (dwData)
// and the bytes are the block; its number is the fixed one of the desktop.
inline constexpr std::string_view kCopyDataMessage = "WM_COPYDATA";
inline constexpr unsigned kCopyDataMessageNumber = 0x004A;

// A second start asks the running instance to show itself (wParam 0, lParam 1);
// the scanner posts it too (lParam 0).
inline constexpr std::string_view kShowRequestMessage = "KORU7315";
// wParam step, lParam value; forwarded to the settings window.
inline constexpr std::string_view kUpdateProgressMessage = "{4695579F-999A-41d4-9FAF-EFFCE93EBF15}";
// Broadcast by us: wParam 1, lParam 1 when we drive the device lighting, 0 when not.
inline constexpr std::string_view kLightControlBroadcastMessage = "{4695579F-999A-41d4-9FAF-EFFCE93EBF16}";
// Another program switches our lighting control: wParam 1, lParam 0 or 1.
inline constexpr std::string_view kLightControlRequestMessage = "{4695579F-999A-41d4-9FAF-EFFCE93EBF17}";
// A query from the "WorkTool" window; answered with copy data kind 5.
inline constexpr std::string_view kWorkToolQueryMessage = "{4695579F-999A-41d4-9FAF-EFFCE93EBF18}";
// Commands to the audio companion (wParam command code, lParam value). The last
// group really is EBE19, not EBF19.
inline constexpr std::string_view kAudioCompanionMessage = "{4695579F-999A-41d4-9FAF-EFFCE93EBE19}";
// Game light events: wParam step, lParam the light effect.
inline constexpr std::string_view kGameStartMessage = "Game_Start";
inline constexpr std::string_view kGameEndMessage = "Game_End";
inline constexpr std::string_view kGameKillMessage = "Game_Kill";
inline constexpr std::string_view kGameDeathMessage = "Game_Death";

// The messages of the keyboard and mouse hook, which stay inside the process.
std::span<const std::string_view> HookMessageNames();

}  // namespace koru
