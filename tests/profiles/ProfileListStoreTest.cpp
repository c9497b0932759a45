#include "ProfileTestSupport.h"

#include "profiles/MemoryListView.h"
#include "profiles/ProfileListStore.h"

namespace koru::test {
namespace {

constexpr const char* kKeyboardTemplate =
    R"({"Device": [{"LightInfo": {"Red": 1}, "KeyList": [], "FnKeysetFlag": false}]})";
constexpr const char* kHeadsetTemplate =
    R"({"Device": [{"LightInfo": {"Red": 2}, "SystemSetStages": {}, "CustomEQNameInfo": [], "CustomEQHzValueInfo": []}]})";

class ProfileListStoreTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    UseTemplate(kKeyboardTemplate, 1);
  }
  void UseTemplate(const char* text, int kind) {
    WriteFile(Path("template.Json"), text);
    store.SetDeviceKind(kind);
    store.SetFolders(folder_, Path("template.Json"));
  }
  Json::Value List() { return JsonFile::ReadJson(store.ListPath()); }
  Json::Value Entry(int i) { return List()["profilelist"][i]; }
  Json::Value ProfileAt(int i) { return JsonFile::ReadJson(store.GetProfilePathAt(i)); }
  std::vector<std::string> Names() { return view.Items(); }
  void Init() { ASSERT_EQ(store.InitProfileList(), ProfileListResult::Done); }
  // A list of n profiles named P1..Pn, as if made earlier.
  void MakeProfiles(int n) {
    Init();
    for (int i = 1; i < n; ++i) ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);
  }
  std::string Export(const std::string& name) {
    const std::string path = root_ + "/" + name;
    EXPECT_EQ(store.ExportProfile(path), ProfileListResult::Done);
    return path;
  }

  MemoryListView view;
  ProfileListStore store{view};
};

TEST_F(ProfileListStoreTest, FirstStartCreatesProfile1FromTheTemplate) {
  Init();
  const Json::Value list = List();
  ASSERT_EQ(list["profilelist"].size(), 1u);
  EXPECT_EQ(Entry(0)["profilename"], "Profile1");
  EXPECT_EQ(Entry(0)["profileislink"], 0);
  EXPECT_EQ(Entry(0)["profilelinkmame"], "");
  EXPECT_EQ(list["profileselect"], 0);
  const Json::Value profile = ProfileAt(0);
  EXPECT_EQ(profile["Device"], Parse(kKeyboardTemplate)["Device"]);
  EXPECT_EQ(profile["profileUUID"], Entry(0)["profileUUID"]);
  EXPECT_EQ(store.GetSelectedUuid(), Entry(0)["profileUUID"].asString());
  EXPECT_EQ(Names(), std::vector<std::string>{"Profile1"});
  EXPECT_EQ(view.SelectedIndex(), 0);
  EXPECT_EQ(view.ShownName(), "Profile1");
}

TEST_F(ProfileListStoreTest, NewNamesCopiesAndTheLimit) {
  Init();
  ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);  // "profile1" would equal "Profile1"
  ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile1", "profile2", "profile3"}));
  // Adding leaves the stored selection alone, as copying and importing do.
  EXPECT_EQ(List()["profileselect"], 0);
  EXPECT_EQ(view.SelectedIndex(), 0);

  ASSERT_EQ(store.RenameProfile("Alpha"), kRenameDone);
  ASSERT_EQ(store.CopyProfile(), ProfileListResult::Done);
  ASSERT_EQ(store.CopyProfile(), ProfileListResult::Done);
  EXPECT_EQ(Names().back(), "Alpha copy copy");
  EXPECT_EQ(ProfileAt(4)["profilename"], "Alpha copy copy");
  EXPECT_NE(ProfileAt(4)["profileUUID"], ProfileAt(0)["profileUUID"]);

  while (view.Count() < ProfileListStore::kMaxProfiles) ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);
  const std::string exported = Export("Gaming.json");
  const std::string before = ReadFile(store.ListPath());
  EXPECT_EQ(store.AddProfile(), ProfileListResult::LimitReached);
  EXPECT_EQ(store.CopyProfile(), ProfileListResult::LimitReached);
  EXPECT_EQ(store.ImportProfile(exported), ProfileListResult::LimitReached);
  EXPECT_EQ(ReadFile(store.ListPath()), before);
  EXPECT_EQ(view.Count(), ProfileListStore::kMaxProfiles);
}

TEST_F(ProfileListStoreTest, RenameResults) {
  MakeProfiles(2);
  view.SelectItem(1, false);
  EXPECT_EQ(store.RenameProfile("   "), kRenameNameBlank);
  EXPECT_EQ(store.RenameProfile("PROFILE1"), kRenameNameTaken);
  EXPECT_EQ(store.RenameProfile("profile2"), kRenameDone);  // its own name
  EXPECT_EQ(store.RenameProfile("Ünïcode name"), kRenameDone);
  EXPECT_EQ(Entry(1)["profilename"], "Ünïcode name");
  EXPECT_EQ(ProfileAt(1)["profilename"], "Ünïcode name");
  EXPECT_EQ(view.ItemText(1), "Ünïcode name");
  view.SelectItem(-1, false);
  EXPECT_EQ(store.RenameProfile("x"), kRenameNothingSelected);
}

TEST_F(ProfileListStoreTest, DeleteIsRefusedForTheLastProfile) {
  Init();
  const std::string only = store.GetProfilePathAt(0);
  EXPECT_EQ(store.DeleteProfile(), ProfileListResult::LastProfile);
  EXPECT_TRUE(std::filesystem::exists(only));

  ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);
  ASSERT_EQ(store.AddProfile(), ProfileListResult::Done);
  const std::string first = store.GetProfilePathAt(0);
  view.SelectItem(0, false);
  ASSERT_EQ(store.DeleteProfile(), ProfileListResult::Done);
  EXPECT_FALSE(std::filesystem::exists(first));
  EXPECT_EQ(List()["profileselect"], 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"profile2", "profile3"}));

  view.SelectItem(1, false);
  ASSERT_EQ(store.DeleteProfile(), ProfileListResult::Done);
  EXPECT_EQ(List()["profileselect"], 0);
  EXPECT_EQ(store.ReadProfileCount(), 1);
}

TEST_F(ProfileListStoreTest, ResetKeepsOnlyTheHeadsetsOwnEqualisers) {
  for (const int kind : {1, 7}) {
    SCOPED_TRACE(kind);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    UseTemplate(kind == 7 ? kHeadsetTemplate : kKeyboardTemplate, kind);
    view.Clear();
    Init();
    const std::string path = store.GetProfilePathAt(0);
    Json::Value edited = JsonFile::ReadJson(path);
    edited["Device"][0]["LightInfo"]["Red"] = 99;
    edited["Device"][0]["CustomEQNameInfo"] = Parse(R"([{"Name": "Mine"}])");
    edited["Device"][0]["CustomEQHzValueInfo"] = Parse(R"([[{"value": 3}]])");
    ASSERT_TRUE(JsonFile::WriteJson(path, edited));

    ASSERT_EQ(store.ResetProfile(), ProfileListResult::Done);
    const Json::Value reset = JsonFile::ReadJson(path);
    EXPECT_EQ(reset["Device"][0]["LightInfo"]["Red"], kind == 7 ? 2 : 1);
    EXPECT_EQ(reset["Device"][0].isMember("CustomEQNameInfo") && reset["Device"][0]["CustomEQNameInfo"].size() == 1,
              kind == 7);
    EXPECT_EQ(reset["profilename"], "Profile1");
  }
}

TEST_F(ProfileListStoreTest, ExportThenImportMakesANewProfileNamedAfterTheFile) {
  Init();
  const std::string exported = Export("Gaming.json");
  EXPECT_EQ(JsonFile::ReadJson(exported), ProfileAt(0));
  for (int i = 0; i < 3; ++i) ASSERT_EQ(store.ImportProfile(exported), ProfileListResult::Done);
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile1", "Gaming", "Gaming(1)", "Gaming(1)(2)"}));
  EXPECT_EQ(ProfileAt(1)["Device"], ProfileAt(0)["Device"]);
  EXPECT_NE(ProfileAt(1)["profileUUID"], ProfileAt(0)["profileUUID"]);
  EXPECT_EQ(ProfileAt(3)["profilename"], "Gaming(1)(2)");
  EXPECT_EQ(List()["profileselect"], 0);
}

TEST_F(ProfileListStoreTest, ImportRefusesWhatIsNotAProfileOfThisDevice) {
  Init();
  const std::pair<const char*, ProfileListResult> cases[] = {
      {"{not json", ProfileListResult::SourceUnreadable},
      {R"({"profilename": "x", "Device": [{}]})", ProfileListResult::NotAProfile},
      {R"({"profilename": "x", "profileUUID": "y"})", ProfileListResult::NotAProfile},
      {R"({"profilename": "x", "profileUUID": "y", "Device": [{"LightInfo": {"Red": "red"}}]})",
       ProfileListResult::WrongTypes},
      {R"({"profilename": "x", "profileUUID": "y", "Device": [{"KeyList": {}}]})", ProfileListResult::WrongTypes},
      {R"({"profilename": "x", "profileUUID": "y", "Device": [{"DPIStages": {"StageActive": 1}}]})",
       ProfileListResult::WrongDeviceKind},
      {R"({"profilename": "x", "profileUUID": "y", "Device": [{"LightInfo": {}}]})",
       ProfileListResult::WrongDeviceKind},
  };
  const std::string listBefore = ReadFile(store.ListPath());
  for (const auto& [text, expected] : cases) {
    WriteFile(root_ + "/in.json", text);
    EXPECT_EQ(store.ImportProfile(root_ + "/in.json"), expected) << text;
  }
  EXPECT_EQ(ReadFile(store.ListPath()), listBefore);
  EXPECT_EQ(view.Count(), 1);
  EXPECT_EQ(FilesStartingWith(folder_, "20").size(), 1u);
}

TEST_F(ProfileListStoreTest, AnUnreadableListIsRebuiltFromTheProfileFiles) {
  MakeProfiles(3);
  view.SelectItem(1, false);
  ASSERT_EQ(store.RenameProfile("Beta"), kRenameDone);
  WriteFile(store.ListPath(), "{\"profilelist\": [");

  view.Clear();
  Init();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile1", "Beta", "profile3"}));
  EXPECT_EQ(FilesStartingWith(folder_, "ProfileList.ini.damaged-").size(), 1u);
  EXPECT_EQ(store.ReadProfileCount(), 3);
}

TEST_F(ProfileListStoreTest, BadEntriesAndSelectionsOfAHandEditedList) {
  MakeProfiles(2);
  Json::Value list = List();
  list["profileselect"] = 7;
  list["profilelist"].append(Parse(R"({"profilename": "evil", "profileUUID": "../../escape"})"));
  list["profilelist"].append(Parse(R"({"profilename": 5})"));
  ASSERT_TRUE(JsonFile::WriteJson(store.ListPath(), list));

  view.Clear();
  Init();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Profile1", "profile2"}));
  EXPECT_EQ(view.SelectedIndex(), 0);
  EXPECT_EQ(store.ReadProfileCount(), 2);
  EXPECT_EQ(store.GetProfilePathAt(2), "");
  EXPECT_EQ(store.GetProfilePathAt(-1), "");

  // The combo follows a list changed behind its back before any operation.
  ASSERT_TRUE(JsonFile::WriteJson(store.ListPath(), Parse(R"({"profilelist": [
      {"profilename": "Only", "profileUUID": "only"}], "profileselect": 0})")));
  EXPECT_EQ(store.DeleteProfile(), ProfileListResult::LastProfile);
  EXPECT_EQ(Names(), std::vector<std::string>{"Only"});
}

TEST_F(ProfileListStoreTest, SelectRecordsTheChoice) {
  MakeProfiles(3);
  ASSERT_TRUE(store.SelectProfile(2, true));
  EXPECT_EQ(List()["profileselect"], 2);
  EXPECT_EQ(store.GetSelectedUuid(), Entry(2)["profileUUID"].asString());
  EXPECT_EQ(view.Notifications(), 1);
  EXPECT_EQ(view.ShownName(), "profile3");
  EXPECT_FALSE(store.SelectProfile(3, false));
  EXPECT_EQ(List()["profileselect"], 2);
}

}  // namespace
}  // namespace koru::test
