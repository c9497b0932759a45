#pragma once
// The profile list of one device: "ProfileList.ini" in the device's data folder
// (display order, names, UUIDs, the selected entry) and one profile file per
// entry. Every operation reads the list afresh and writes what it changed at
// once; profile files are written before the list names them, and the list
// forgets an entry before its file is deleted, so a crash never leaves an entry
// without its file.
#include "profiles/ProfileListView.h"

#include <json/json.h>

#include <string>
#include <vector>

namespace koru {

enum class ProfileListResult {
  Done,
  NothingSelected,
  LimitReached,      // already kMaxProfiles profiles
  LastProfile,       // deleting is refused below two profiles
  SourceUnreadable,  // the profile or import file cannot be read or parsed
  NotAProfile,       // no "profilename", "profileUUID" or "Device" section
  WrongTypes,        // the section holds values of the wrong type
  WrongDeviceKind,   // a profile of another kind of device
  TemplateMissing,   // the factory template cannot be read
  WriteFailed,
};

// RenameProfile results; 0, 1 and 2 are the ones the panel has messages for.
enum RenameResult : int {
  kRenameNameTaken = 0,
  kRenameDone = 1,
  kRenameNameBlank = 2,
  kRenameNothingSelected = 3,
  kRenameWriteFailed = 4,
};

class ProfileListStore {
 public:
  static constexpr int kMaxProfiles = 50;
  static constexpr int kHeadsetKind = 7;
  static constexpr const char* kListFileName = "ProfileList.ini";

  explicit ProfileListStore(ProfileListView& view) : view_(view) {}

  void SetDeviceKind(int kind) { deviceKind_ = kind; }
  // dataFolder ends with '/'.
  void SetFolders(const std::string& dataFolder, const std::string& templatePath);

  // Loads the list (creating or rebuilding it when needed), fills the view and
  // selects the stored entry.
  ProfileListResult InitProfileList();
  bool SelectProfile(int index, bool notify);
  const std::string& GetSelectedUuid() const { return selectedUuid_; }

  ProfileListResult AddProfile();
  ProfileListResult CopyProfile();
  ProfileListResult DeleteProfile();
  int RenameProfile(const std::string& newName);
  ProfileListResult ResetProfile();
  ProfileListResult ImportProfile(const std::string& sourcePath);
  ProfileListResult ExportProfile(const std::string& targetPath);

  // Read-only views of the list on disk, for walks over every profile.
  int ReadProfileCount();
  std::string GetProfilePathAt(int index);

  std::string ProfilePath(const std::string& uuid) const { return dataFolder_ + uuid + ".Json"; }
  std::string ListPath() const { return dataFolder_ + kListFileName; }

 private:
  struct Entry {
    std::string name;
    std::string uuid;
    Json::Value original;  // keys we do not own survive
  };
  struct List {
    Json::Value document{Json::objectValue};
    std::vector<Entry> entries;
    int select = 0;
  };

  bool ParseList(const Json::Value& document, List& list) const;
  // The list as it is on disk, repaired when missing, empty or damaged.
  List ReadList();
  std::vector<Entry> EntriesFromProfileFiles() const;
  bool WriteList(const List& list);
  void SyncView(const List& list);
  bool NameUsed(const List& list, const std::string& name, int except = -1) const;
  int SelectedEntry(const List& list) const;
  Json::Value ReadTemplate() const;
  // Writes document as a new profile named name, appends it and writes the list.
  ProfileListResult AppendProfile(List& list, Json::Value document, const std::string& name);
  Entry CreateFirstProfile();

  ProfileListView& view_;
  int deviceKind_ = 0;
  std::string dataFolder_;
  std::string templatePath_;
  std::string selectedUuid_;
};

}  // namespace koru
