#include "profiles/ProfileListStore.h"

#include "platform/DebugOutput.h"
#include "profiles/CheckedValue.h"
#include "profiles/JsonFile.h"
#include "profiles/ProfileDocument.h"
#include "profiles/TimeStampId.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace koru {

namespace {

constexpr const char* kName = "profilename";
constexpr const char* kUuid = "profileUUID";
constexpr const char* kProfileExtension = ".Json";

void Trace(const std::string& line) {
  if (DebugOutputEnabled()) DebugOutput("profile list: " + line);
}

// The toolkit compares names without regard to case (ASCII letters).
bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
           return std::tolower(x) == std::tolower(y);
         });
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; });
}

// "profile%d", "(%d)": built with snprintf, as the names always were.
std::string Formatted(const char* format, int n) {
  char text[32];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

bool NamesProfile(const Json::Value& document) {
  return Member(document, kName).isString() && Member(document, kUuid).isString();
}

}  // namespace

void ProfileListStore::SetFolders(const std::string& dataFolder, const std::string& templatePath) {
  dataFolder_ = dataFolder;
  if (!dataFolder_.empty() && dataFolder_.back() != '/') dataFolder_ += '/';
  templatePath_ = templatePath;
}

bool ProfileListStore::ParseList(const Json::Value& document, List& list) const {
  const Json::Value& entries = Member(document, "profilelist");
  if (!document.isObject() || !(entries.isNull() || entries.isArray())) return false;
  list.document = document;
  list.entries.clear();
  for (Json::ArrayIndex i = 0; entries.isArray() && i < entries.size(); ++i) {
    const Json::Value& entry = entries[i];
    const Json::Value& name = Member(entry, kName);
    const Json::Value& uuid = Member(entry, kUuid);
    // An entry whose UUID could lead outside the folder, or that repeats another, is dropped.
    if (!name.isString() || !uuid.isString() || !IsPlainFileName(uuid.asString())) {
      Trace("dropping a malformed entry");
      continue;
    }
    const std::string id = uuid.asString();
    if (std::any_of(list.entries.begin(), list.entries.end(), [&](const Entry& e) { return e.uuid == id; })) continue;
    list.entries.push_back({name.asString(), id, entry});
  }
  int64_t select = 0;
  if (!ReadInteger(Member(document, "profileselect"), 0, static_cast<int64_t>(list.entries.size()) - 1, select))
    select = 0;
  list.select = static_cast<int>(select);
  return true;
}

std::vector<ProfileListStore::Entry> ProfileListStore::EntriesFromProfileFiles() const {
  std::vector<Entry> entries;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(dataFolder_, error)) {
    const std::filesystem::path& path = item.path();
    if (path.extension() != kProfileExtension || !item.is_regular_file(error)) continue;
    const Json::Value document = JsonFile::ReadJson(path.string());
    // Each profile file carries its own name and UUID; the UUID must be its file name.
    if (!NamesProfile(document) || document[kUuid].asString() != path.stem().string()) continue;
    entries.push_back({document[kName].asString(), document[kUuid].asString(), Json::Value(Json::objectValue)});
  }
  // Time-stamp UUIDs sort in creation order.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.uuid < b.uuid; });
  return entries;
}

Json::Value ProfileListStore::ReadTemplate() const {
  Json::Value document;
  if (templatePath_.empty() || JsonFile::ReadJson(templatePath_, document) != JsonFileState::Ok ||
      !DeviceSection(document, 0).isObject())
    return {};
  return document;
}

ProfileListStore::Entry ProfileListStore::CreateFirstProfile() {
  Entry entry{"Profile1", MakeUnusedTimeStampId(dataFolder_, kProfileExtension), Json::Value(Json::objectValue)};
  Json::Value document = ReadTemplate();
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document[kName] = entry.name;
  document[kUuid] = entry.uuid;
  if (!JsonFile::WriteJson(ProfilePath(entry.uuid), document)) Trace("cannot write the first profile");
  return entry;
}

ProfileListStore::List ProfileListStore::ReadList() {
  List list;
  Json::Value document;
  const JsonFileState state = JsonFile::ReadJson(ListPath(), document);
  const bool parsed = state == JsonFileState::Ok && ParseList(document, list);
  if (parsed && !list.entries.empty()) return list;

  // Damaged: keep it for the user, then rebuild from the profile files, which
  // carry their own names and UUIDs.
  if (state != JsonFileState::Missing && !parsed) {
    JsonFile::KeepAside(ListPath());
    list = List{};
  }
  list.entries = EntriesFromProfileFiles();
  if (list.entries.empty()) list.entries.push_back(CreateFirstProfile());
  list.select = 0;
  Trace("list rebuilt with " + std::to_string(list.entries.size()) + " profiles");
  WriteList(list);
  return list;
}

bool ProfileListStore::WriteList(const List& list) {
  Json::Value document = list.document.isObject() ? list.document : Json::Value(Json::objectValue);
  Json::Value& entries = document["profilelist"];
  entries = Json::Value(Json::arrayValue);
  for (const Entry& entry : list.entries) {
    Json::Value object = entry.original.isObject() ? entry.original : Json::Value(Json::objectValue);
    object[kName] = entry.name;
    object[kUuid] = entry.uuid;
    object["profileislink"] = 0;
    object["profilelinkmame"] = "";
    entries.append(std::move(object));
  }
  document["profileselect"] = list.select;
  // The list can be rebuilt from the profile files, so it does not wait for the disk.
  return JsonFile::WriteJson(ListPath(), document, JsonFile::Sync::NoWait);
}

void ProfileListStore::SyncView(const List& list) {
  bool same = view_.Count() == static_cast<int>(list.entries.size());
  for (int i = 0; same && i < view_.Count(); ++i) same = view_.ItemText(i) == list.entries[static_cast<size_t>(i)].name;
  if (same) return;
  // The list changed behind our back (edited by hand or rebuilt): show it as it is now.
  const int selected = view_.SelectedIndex();
  view_.Clear();
  for (const Entry& entry : list.entries) view_.AppendItem(entry.name);
  const int count = static_cast<int>(list.entries.size());
  view_.SelectItem(selected >= 0 && selected < count ? selected : list.select, false);
}

bool ProfileListStore::NameUsed(const List& list, const std::string& name, int except) const {
  for (size_t i = 0; i < list.entries.size(); ++i)
    if (static_cast<int>(i) != except && SameNameIgnoringCase(list.entries[i].name, name)) return true;
  return false;
}

int ProfileListStore::SelectedEntry(const List& list) const {
  const int selected = view_.SelectedIndex();
  return selected >= 0 && selected < static_cast<int>(list.entries.size()) ? selected : -1;
}

ProfileListResult ProfileListStore::InitProfileList() {
  const List list = ReadList();
  view_.Clear();
  for (const Entry& entry : list.entries) view_.AppendItem(entry.name);
  return SelectProfile(list.select, false) ? ProfileListResult::Done : ProfileListResult::WriteFailed;
}

bool ProfileListStore::SelectProfile(int index, bool notify) {
  List list = ReadList();
  SyncView(list);
  if (index < 0 || index >= static_cast<int>(list.entries.size())) return false;
  const Entry& entry = list.entries[static_cast<size_t>(index)];
  view_.SelectItem(index, notify);
  view_.ShowName(entry.name);
  selectedUuid_ = entry.uuid;
  if (list.select == index) return true;
  list.select = index;
  return WriteList(list);
}

ProfileListResult ProfileListStore::AppendProfile(List& list, Json::Value document, const std::string& name) {
  if (static_cast<int>(list.entries.size()) >= kMaxProfiles) return ProfileListResult::LimitReached;
  const std::string uuid = MakeUnusedTimeStampId(dataFolder_, kProfileExtension);
  document[kName] = name;
  document[kUuid] = uuid;
  const std::string path = ProfilePath(uuid);
  if (!JsonFile::WriteJson(path, document)) return ProfileListResult::WriteFailed;
  list.entries.push_back({name, uuid, Json::Value(Json::objectValue)});
  if (!WriteList(list)) {
    ::unlink(path.c_str());
    return ProfileListResult::WriteFailed;
  }
  view_.AppendItem(name);
  return ProfileListResult::Done;
}

ProfileListResult ProfileListStore::AddProfile() {
  List list = ReadList();
  SyncView(list);
  if (static_cast<int>(list.entries.size()) >= kMaxProfiles) return ProfileListResult::LimitReached;
  Json::Value document = ReadTemplate();
  if (!document.isObject()) return ProfileListResult::TemplateMissing;
  int n = 1;
  while (NameUsed(list, Formatted("profile%d", n))) ++n;
  return AppendProfile(list, std::move(document), Formatted("profile%d", n));
}

ProfileListResult ProfileListStore::CopyProfile() {
  List list = ReadList();
  SyncView(list);
  const int selected = SelectedEntry(list);
  if (selected < 0) return ProfileListResult::NothingSelected;
  if (static_cast<int>(list.entries.size()) >= kMaxProfiles) return ProfileListResult::LimitReached;
  const Entry& source = list.entries[static_cast<size_t>(selected)];
  Json::Value document;
  const JsonFileState state = JsonFile::ReadJson(ProfilePath(source.uuid), document);
  // A profile that was never written reads as the template, so its copy is one too.
  if (state == JsonFileState::Missing) document = ReadTemplate();
  if (!document.isObject() || !HasProfileShape(document, 0)) return ProfileListResult::SourceUnreadable;
  std::string name = source.name + " copy";
  while (NameUsed(list, name)) name += " copy";
  return AppendProfile(list, std::move(document), name);
}

ProfileListResult ProfileListStore::DeleteProfile() {
  List list = ReadList();
  SyncView(list);
  const int selected = SelectedEntry(list);
  if (selected < 0) return ProfileListResult::NothingSelected;
  if (list.entries.size() < 2) return ProfileListResult::LastProfile;
  const std::string uuid = list.entries[static_cast<size_t>(selected)].uuid;
  list.entries.erase(list.entries.begin() + selected);
  list.select = selected > 0 ? selected - 1 : 0;
  if (!WriteList(list)) return ProfileListResult::WriteFailed;
  if (::unlink(ProfilePath(uuid).c_str()) != 0) Trace("cannot delete the file of " + uuid);
  view_.RemoveItem(selected);
  return ProfileListResult::Done;
}

int ProfileListStore::RenameProfile(const std::string& newName) {
  if (IsBlank(newName)) return kRenameNameBlank;
  List list = ReadList();
  SyncView(list);
  const int selected = SelectedEntry(list);
  if (selected < 0) return kRenameNothingSelected;
  if (NameUsed(list, newName, selected)) return kRenameNameTaken;
  Entry& entry = list.entries[static_cast<size_t>(selected)];
  // The profile file carries its name too; a missing or damaged file is left to
  // the repair of the next load rather than replaced here.
  Json::Value document;
  const std::string path = ProfilePath(entry.uuid);
  if (JsonFile::ReadJson(path, document) == JsonFileState::Ok && HasProfileShape(document, 0)) {
    document[kName] = newName;
    if (!JsonFile::WriteJson(path, document)) return kRenameWriteFailed;
  }
  entry.name = newName;
  if (!WriteList(list)) return kRenameWriteFailed;
  view_.SetItemText(selected, newName);
  view_.ShowName(newName);
  return kRenameDone;
}

ProfileListResult ProfileListStore::ResetProfile() {
  List list = ReadList();
  SyncView(list);
  const int selected = SelectedEntry(list);
  if (selected < 0) return ProfileListResult::NothingSelected;
  Json::Value document = ReadTemplate();
  if (!document.isObject()) return ProfileListResult::TemplateMissing;
  const Entry& entry = list.entries[static_cast<size_t>(selected)];
  document[kName] = entry.name;
  document[kUuid] = entry.uuid;
  const std::string path = ProfilePath(entry.uuid);
  if (deviceKind_ == kHeadsetKind) {
    // The user's own equaliser presets survive a reset.
    const Json::Value previous = JsonFile::ReadJson(path);
    const Json::Value& current = DeviceSection(previous, 0);
    Json::Value& section = document["Device"][0];
    for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"})
      if (Member(current, key).isArray()) section[key] = current[key];
  }
  return JsonFile::WriteJson(path, document) ? ProfileListResult::Done : ProfileListResult::WriteFailed;
}

ProfileListResult ProfileListStore::ImportProfile(const std::string& sourcePath) {
  Json::Value document;
  if (JsonFile::ReadJson(sourcePath, document) != JsonFileState::Ok) return ProfileListResult::SourceUnreadable;
  const Json::Value& section = DeviceSection(document, 0);
  if (!NamesProfile(document) || !HasProfileShape(document, 0) || !section.isObject())
    return ProfileListResult::NotAProfile;
  if (!HasWellTypedValues(section)) return ProfileListResult::WrongTypes;
  const Json::Value factory = ReadTemplate();
  if (!factory.isObject()) return ProfileListResult::TemplateMissing;
  const ProfileKind kind = DetectProfileKind(section);
  if (kind == ProfileKind::Unknown || kind != DetectProfileKind(DeviceSection(factory, 0)))
    return ProfileListResult::WrongDeviceKind;

  List list = ReadList();
  SyncView(list);
  if (static_cast<int>(list.entries.size()) >= kMaxProfiles) return ProfileListResult::LimitReached;
  std::string name = JsonFile::FileTitle(sourcePath);
  if (name.empty()) name = "profile";
  for (int n = 1; NameUsed(list, name); ++n) name += Formatted("(%d)", n);
  return AppendProfile(list, std::move(document), name);
}

ProfileListResult ProfileListStore::ExportProfile(const std::string& targetPath) {
  List list = ReadList();
  SyncView(list);
  const int selected = SelectedEntry(list);
  if (selected < 0) return ProfileListResult::NothingSelected;
  Json::Value document;
  if (JsonFile::ReadJson(ProfilePath(list.entries[static_cast<size_t>(selected)].uuid), document) !=
          JsonFileState::Ok ||
      !HasProfileShape(document, 0))
    return ProfileListResult::SourceUnreadable;
  return JsonFile::WriteJson(targetPath, document) ? ProfileListResult::Done : ProfileListResult::WriteFailed;
}

int ProfileListStore::ReadProfileCount() {
  List list;
  return ParseList(JsonFile::ReadJson(ListPath()), list) ? static_cast<int>(list.entries.size()) : 0;
}

std::string ProfileListStore::GetProfilePathAt(int index) {
  List list;
  if (!ParseList(JsonFile::ReadJson(ListPath()), list) || index < 0 ||
      index >= static_cast<int>(list.entries.size()))
    return {};
  return ProfilePath(list.entries[static_cast<size_t>(index)].uuid);
}

}  // namespace koru
