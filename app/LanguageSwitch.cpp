#include "app/LanguageSwitch.h"

#include <array>

#include "platform/DebugOutput.h"
#include "platform/qt/SettingsStore.h"
#include "profiles/JsonFile.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"

namespace {

struct FontSlot {
  int id;
  int size;
  bool bold;
  bool underline;
};

// The slots every screen uses: the family changes with the language, never the size.
constexpr std::array<FontSlot, 14> kFontSlots{{{-1, 14, false, false},
                                               {0, 15, false, false},
                                               {1, 14, false, true},
                                               {2, 12, false, false},
                                               {3, 30, false, false},
                                               {4, 16, false, false},
                                               {5, 20, false, false},
                                               {6, 22, false, false},
                                               {7, 14, false, false},
                                               {8, 12, false, false},
                                               {9, 11, false, false},
                                               {10, 10, false, false},
                                               {11, 28, false, false},
                                               {50, 18, true, false}}};

struct ScriptFont {
  const char* language;
  const char* family;
};
// Languages whose script needs a family of its own; every other language uses
// the skin's family.
constexpr std::array<ScriptFont, 3> kScriptFonts{{{"cn", "Noto Sans CJK SC"},
                                                  {"tw", "Noto Sans CJK TC"},
                                                  {"th", "Noto Sans Thai"}}};
constexpr const char* kSkinFamily = "Noto Sans";

const char* ScriptFamily(const std::string& language) {
  for (const ScriptFont& f : kScriptFonts) {
    if (language == f.language) return f.family;
  }
  return nullptr;
}

std::string StringMember(const Json::Value& element, const char* key) {
  const Json::Value& v = element[key];
  return v.isString() ? v.asString() : std::string();
}

}  // namespace

std::vector<LanguageEntry> ReadLanguageConfig(const std::string& path) {
  std::vector<LanguageEntry> entries;
  const Json::Value document = JsonFile::ReadJson(path);
  if (!document.isObject()) return entries;
  const Json::Value& list = document["Language"];
  if (!list.isArray()) return entries;
  for (const Json::Value& element : list) {
    LanguageEntry entry;
    if (element.isObject()) {
      const Json::Value& id = element["Language_ID"];
      if (id.isIntegral() && id.asLargestInt() >= 0 && id.asLargestInt() <= 0xFFFFFFFFLL) {
        entry.id = std::uint32_t(id.asLargestUInt());
      }
      entry.name = StringMember(element, "Language_name");
      entry.file = StringMember(element, "Language_file");
      entry.textId = StringMember(element, "Language_text");
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

CLanguageSwitch::CLanguageSwitch(koru::SettingsStore& store, std::string configPath)
    : store_(store), configPath_(std::move(configPath)) {}

int CLanguageSwitch::LoadLanguageIndex() const {
  const std::vector<LanguageEntry> entries = ReadLanguageConfig(configPath_);
  const std::optional<std::uint32_t> stored = store_.ReadDword(koru::kProgramSettingsSection, koru::kLanguageValue);
  for (int i = 0; i < int(entries.size()); ++i) {
    if (stored ? entries[i].id == *stored : entries[i].name == kFirstStartLanguage) return i;
  }
  return 0;
}

std::string CLanguageSwitch::FontFamilyForSwitch(const std::string& previous, const std::string& next, bool first) {
  if (const char* family = ScriptFamily(next)) return family;
  if (first || ScriptFamily(previous) != nullptr) return kSkinFamily;
  return {};
}

void CLanguageSwitch::SetFontFamily(CPaintManagerUI& manager, const std::string& family) {
  CPaintManagerUI::RemoveAllSharedFonts();
  manager.RemoveAllFonts();
  for (const FontSlot& slot : kFontSlots) {
    if (slot.id < 0) {
      manager.SetDefaultFont(family, slot.size, slot.bold, slot.underline, false, true);
    } else {
      manager.AddFont(slot.id, family, slot.size, slot.bold, slot.underline, false, true);
    }
  }
}

bool CLanguageSwitch::ApplyLanguage(int index, CPaintManagerUI* manager) {
  if (index == current_) return false;
  const std::vector<LanguageEntry> entries = ReadLanguageConfig(configPath_);
  const bool known = index >= 0 && index < int(entries.size());
  const std::string name = known ? entries[index].name : std::string();
  const std::string family = FontFamilyForSwitch(currentName_, name, current_ < 0);
  if (manager != nullptr && !family.empty()) SetFontFamily(*manager, family);
  current_ = index;
  currentName_ = name;
  if (!known) return true;
  const LanguageEntry& entry = entries[index];
  CResourceManager& resources = CResourceManager::GetInstance();
  resources.SetLanguage(entry.name);
  if (!resources.LoadLanguage(entry.file)) koru::DebugOutput("language file " + entry.file + " could not be read");
  resources.ReloadText();
  StoreLanguageId(entry.id);
  return true;
}

bool CLanguageSwitch::StoreLanguageId(std::uint32_t id) {
  const bool written = store_.WriteDword(koru::kProgramSettingsSection, koru::kLanguageValue, id);
  if (written) koru::DebugOutput("写成功！");
  return written;
}
