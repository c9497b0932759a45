#pragma once
// The few values the program keeps outside its JSON files: the language under
// the program's own key and the installed version of the uninstall entry. They
// live in one INI file, by default $XDG_CONFIG_HOME/KORU7315/KORU7315.ini:
//
//   [Software/KORU7315]
//   LANGUAGE=520
//   [Uninstall/KORU7315]
//   DisplayVersion=1.0.0
//
// Every write reads the file afresh, changes one value and writes the whole
// file through a temporary file and a rename. A damaged file loses only the
// lines that cannot be read; a value of the wrong type reads as the default.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace koru {

inline constexpr std::string_view kProgramSettingsSection = "Software/KORU7315";
inline constexpr std::string_view kLanguageValue = "LANGUAGE";
inline constexpr std::string_view kUninstallSection = "Uninstall/KORU7315";
inline constexpr std::string_view kDisplayVersionValue = "DisplayVersion";

class SettingsStore {
 public:
  explicit SettingsStore(std::string filePath = DefaultFilePath());
  static std::string DefaultFilePath();
  const std::string& FilePath() const { return filePath_; }

  // A 32-bit unsigned decimal number; anything else is absent.
  std::optional<std::uint32_t> ReadDword(std::string_view section, std::string_view name) const;
  std::uint32_t ReadDword(std::string_view section, std::string_view name, std::uint32_t fallback) const;
  std::optional<std::string> ReadString(std::string_view section, std::string_view name) const;
  std::string ReadString(std::string_view section, std::string_view name, std::string_view fallback) const;

  // false when the names are unusable ('[', ']', '=', line breaks, empty) or the
  // file cannot be written; the old file is then left as it was.
  bool WriteDword(std::string_view section, std::string_view name, std::uint32_t value);
  bool WriteString(std::string_view section, std::string_view name, std::string_view value);

 private:
  // Case-insensitive, like the registry whose keys these values replace.
  struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  using Section = std::map<std::string, std::string, NameLess>;
  using Document = std::map<std::string, Section, NameLess>;

  Document Load() const;
  bool Save(const Document& document) const;
  bool Write(std::string_view section, std::string_view name, std::string value);

  std::string filePath_;
  mutable std::mutex lock_;
};

// The version the uninstall entry records, else the version this program was built as.
std::string InstalledDisplayVersion(const SettingsStore& store);

}  // namespace koru
