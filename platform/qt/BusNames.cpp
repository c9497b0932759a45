#include "platform/qt/BusNames.h"

namespace koru {

BusEndpoint ProgramEndpoint() {
  return {std::string(kProgramBusName), std::string(kProgramObjectPath)};
}

std::string EscapeBusNameElement(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string escaped;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool letter = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
    const bool digit = byte >= '0' && byte <= '9';
    if (letter || (digit && i > 0)) {
      escaped += static_cast<char>(byte);
    } else {
      escaped += '_';
      escaped += kHex[byte >> 4];
      escaped += kHex[byte & 0x0F];
    }
  }
  return escaped.empty() ? std::string("_") : escaped;
}

BusEndpoint CompanionEndpoint(std::string_view className, std::string_view title) {
  std::string name = "org.koru7315.Window.";
  if (!className.empty()) name += EscapeBusNameElement(className) + ".";
  name += EscapeBusNameElement(title);
  return {name, std::string(kCompanionObjectPath)};
}

}  // namespace koru
