#pragma once
// The names of the program's D-Bus service and of the companions it talks to
// (docs/ipc.md describes the interface for the programs on the other side).
#include <string>
#include <string_view>

namespace koru {

inline constexpr std::string_view kProgramBusName = "org.koru7315.Utility";
inline constexpr std::string_view kProgramObjectPath = "/org/koru7315/Utility";
inline constexpr std::string_view kMessagesInterface = "org.koru7315.Messages";
// A companion serves the same interface at this path under its own bus name.
inline constexpr std::string_view kCompanionObjectPath = "/org/koru7315/Window";

inline constexpr std::string_view kUnknownMessageError = "org.koru7315.Error.UnknownMessage";
inline constexpr std::string_view kDataTooLargeError = "org.koru7315.Error.DataTooLarge";
inline constexpr std::string_view kInvalidArgumentsError = "org.koru7315.Error.InvalidArguments";

// One end point of the interface: a bus name and the object path below it.
struct BusEndpoint {
  std::string busName;
  std::string objectPath;
};

BusEndpoint ProgramEndpoint();

// The bus name of a companion window known by its class and title, the way a
// window is found by class and title on the desktop we replace:
// "org.koru7315.Window.<class>.<title>", or "org.koru7315.Window.<title>" for a
// window known by title alone (empty class). Characters other than ASCII letters
// and digits, and a leading digit, are written as "_" and two hex digits.
BusEndpoint CompanionEndpoint(std::string_view className, std::string_view title);
std::string EscapeBusNameElement(std::string_view text);

}  // namespace koru
