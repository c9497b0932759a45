#include "platform/qt/SettingsStore.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>

#include <QSaveFile>
#include <QString>

#include "platform/DebugOutput.h"
#include "platform/KnownFolders.h"

#ifndef KORU_VERSION
#define KORU_VERSION "0.0.0"
#endif

namespace koru {
namespace {

// Larger files are not ours; reading stops there rather than eating memory.
constexpr std::streamsize kMaxFileBytes = 1 << 20;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

bool UsableName(std::string_view name) {
  return !name.empty() && Trim(name) == name && name.find_first_of("[]=\r\n") == std::string_view::npos &&
         name.front() != ';' && name.front() != '#';
}

// Values are kept on one line: backslash, CR and LF are escaped.
std::string Escape(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

std::string Unescape(std::string_view value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

void Trace(const std::string& line) {
  if (DebugOutputEnabled()) DebugOutput(line);
}

}  // namespace

bool SettingsStore::NameLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

SettingsStore::SettingsStore(std::string filePath) : filePath_(std::move(filePath)) {}

std::string SettingsStore::DefaultFilePath() {
  const std::string folder = UserConfigFolder();
  return folder.empty() ? std::string() : folder + "/KORU7315.ini";
}

SettingsStore::Document SettingsStore::Load() const {
  Document document;
  std::ifstream file(filePath_, std::ios::binary);
  if (!file) return document;
  std::string text(static_cast<std::size_t>(kMaxFileBytes), '\0');
  file.read(text.data(), kMaxFileBytes);
  text.resize(static_cast<std::size_t>(file.gcount()));

  Section* current = nullptr;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const std::string_view content = Trim(line);
    if (content.empty() || content.front() == ';' || content.front() == '#') continue;
    if (content.front() == '[' && content.back() == ']') {
      const std::string_view name = Trim(content.substr(1, content.size() - 2));
      current = UsableName(name) ? &document[std::string(name)] : nullptr;
      continue;
    }
    const std::size_t equals = content.find('=');
    const std::string_view name = equals == std::string_view::npos ? std::string_view() : Trim(content.substr(0, equals));
    if (!current || !UsableName(name)) {
      Trace(filePath_ + ":" + std::to_string(number) + ": unreadable settings line skipped");
      continue;
    }
    (*current)[std::string(name)] = Unescape(Trim(content.substr(equals + 1)));
  }
  return document;
}

bool SettingsStore::Save(const Document& document) const {
  std::string text;
  for (const auto& [section, values] : document) {
    text += "[" + section + "]\n";
    for (const auto& [name, value] : values) text += name + "=" + Escape(value) + "\n";
  }
  QSaveFile file(QString::fromStdString(filePath_));
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(text.data(), qint64(text.size()));
  return file.commit();
}

std::optional<std::string> SettingsStore::ReadString(std::string_view section, std::string_view name) const {
  std::lock_guard guard(lock_);
  const Document document = Load();
  const auto values = document.find(std::string(section));
  if (values == document.end()) return std::nullopt;
  const auto value = values->second.find(std::string(name));
  if (value == values->second.end()) return std::nullopt;
  return value->second;
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view name,
                                      std::string_view fallback) const {
  return ReadString(section, name).value_or(std::string(fallback));
}

std::optional<std::uint32_t> SettingsStore::ReadDword(std::string_view section, std::string_view name) const {
  const std::optional<std::string> text = ReadString(section, name);
  if (!text || text->empty()) return std::nullopt;
  std::uint32_t value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop != end) {
    Trace(filePath_ + ": " + std::string(name) + " is not a 32-bit number");
    return std::nullopt;
  }
  return value;
}

std::uint32_t SettingsStore::ReadDword(std::string_view section, std::string_view name,
                                       std::uint32_t fallback) const {
  return ReadDword(section, name).value_or(fallback);
}

bool SettingsStore::Write(std::string_view section, std::string_view name, std::string value) {
  if (filePath_.empty() || !UsableName(section) || !UsableName(name)) return false;
  std::lock_guard guard(lock_);
  Document document = Load();
  document[std::string(section)][std::string(name)] = std::move(value);
  const bool saved = Save(document);
  if (!saved) Trace("cannot write " + filePath_);
  return saved;
}

bool SettingsStore::WriteDword(std::string_view section, std::string_view name, std::uint32_t value) {
  return Write(section, name, std::to_string(value));
}

bool SettingsStore::WriteString(std::string_view section, std::string_view name, std::string_view value) {
  return Write(section, name, std::string(value));
}

std::string InstalledDisplayVersion(const SettingsStore& store) {
  return store.ReadString(kUninstallSection, kDisplayVersionValue, KORU_VERSION);
}

}  // namespace koru
