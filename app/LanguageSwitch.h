#pragma once
// The interface language: which one is stored, switching texts and fonts, and
// remembering the choice. "Language.config" (in the factory data) lists the
// languages; everywhere else a language is its position in that list.
#include <cstdint>
#include <string>
#include <vector>

class CPaintManagerUI;
namespace koru {
class SettingsStore;
}

struct LanguageEntry {
  std::uint32_t id = 0;   // "Language_ID", the stored value
  std::string name;       // "Language_name"
  std::string file;       // "Language_file", relative to the skin folder
  std::string textId;     // "Language_text"
};

// The "Language" array in order; an element with fields of the wrong type
// keeps its position with empty values. Empty when the file is unusable.
std::vector<LanguageEntry> ReadLanguageConfig(const std::string& path);

class CLanguageSwitch {
 public:
  // The language new users see when nothing is stored.
  static constexpr const char* kFirstStartLanguage = "en";

  CLanguageSwitch(koru::SettingsStore& store, std::string configPath);

  // The stored language as a position in the list: the entry of the stored ID;
  // the first-start language when nothing is stored; 0 when the stored ID is
  // unknown or the list is unusable.
  int LoadLanguageIndex() const;
  // Switches texts and fonts (fonts on `manager`, when given) and stores the
  // choice. False when `index` is already current.
  bool ApplyLanguage(int index, CPaintManagerUI* manager);
  int CurrentIndex() const { return current_; }
  bool StoreLanguageId(std::uint32_t id);

  // The font family every slot takes when switching from `previous` to
  // `next` (language names; empty before the first choice); empty when the
  // fonts stay as they are.
  static std::string FontFamilyForSwitch(const std::string& previous, const std::string& next, bool first);
  // The slots of the skin with `family`, all shared.
  static void SetFontFamily(CPaintManagerUI& manager, const std::string& family);

 private:
  koru::SettingsStore& store_;
  std::string configPath_;
  int current_ = -1;
  std::string currentName_;
};
