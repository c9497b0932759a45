#include "ProfileTestSupport.h"

#include "profiles/JsonFile.h"
#include "profiles/ProfileDocument.h"
#include "profiles/TimeStampId.h"

#include <set>
#include <sys/stat.h>

namespace koru::test {
namespace {

using JsonFileTest = TempFolderTest;

TEST_F(JsonFileTest, WritesTheStyledLayoutAndReadsItBack) {
  const Json::Value value = Parse(R"({"b": [1, 2], "a": {"x": "é"}})");
  ASSERT_TRUE(JsonFile::WriteJson(Path("doc.json"), value));
  // Keys sorted, three-space indent, short arrays on one line, one more line end.
  EXPECT_EQ(ReadFile(Path("doc.json")), "{\n   \"a\" : {\n      \"x\" : \"é\"\n   },\n   \"b\" : [ 1, 2 ]\n}\n\n");
  EXPECT_EQ(JsonFile::ReadJson(Path("doc.json")), value);
  EXPECT_TRUE(FilesStartingWith(folder_, "doc.json.tmp").empty());
}

TEST(JsonFileText, KeepsUtf8PlainAndOtherEscapesAsTheyAre) {
  // An escaped backslash before "u00e9" is text, not an escape; control characters stay escaped.
  const Json::Value value = Parse(R"(["低音 Bühne 🎧", "tab\t", "back\\u00e9"])");
  const std::string text = JsonFile::StyledText(value);
  EXPECT_NE(text.find("\"低音 Bühne 🎧\""), std::string::npos) << text;
  EXPECT_NE(text.find(R"("tab\t")"), std::string::npos) << text;
  EXPECT_NE(text.find(R"("back\\u00e9")"), std::string::npos) << text;
  EXPECT_EQ(Parse(text), value);
}

TEST_F(JsonFileTest, TellsMissingUnreadableAndMalformedApart) {
  Json::Value value;
  EXPECT_EQ(JsonFile::ReadJson(Path("none.json"), value), JsonFileState::Missing);
  WriteFile(Path("bad.json"), "{\"Device\": [");
  EXPECT_EQ(JsonFile::ReadJson(Path("bad.json"), value), JsonFileState::Malformed);
  EXPECT_TRUE(value.isNull());
  std::filesystem::create_directory(Path("folder.json"));
  EXPECT_EQ(JsonFile::ReadJson(Path("folder.json"), value), JsonFileState::Unreadable);
  // Text ends at the first NUL byte, as the program always read it.
  WriteFile(Path("nul.json"), std::string("{\"a\":1}\0garbage", 15));
  EXPECT_EQ(JsonFile::ReadJson(Path("nul.json"), value), JsonFileState::Ok);
  EXPECT_EQ(value["a"].asInt(), 1);
}

TEST_F(JsonFileTest, DeepNestingIsRejectedWithoutThrowing) {
  Json::Value value;
  EXPECT_FALSE(JsonFile::ParseJson(std::string(5000, '[') + std::string(5000, ']'), value));
  EXPECT_TRUE(value.isNull());
}

TEST_F(JsonFileTest, AFailedWriteIsReportedAndLeavesTheOldFile) {
  EXPECT_FALSE(JsonFile::WriteJson(Path("no/such/folder/doc.json"), Json::Value(1)));
  WriteFile(Path("keep.json"), "{\"old\": true}");
  ::chmod(folder_.c_str(), 0500);
  const bool written = JsonFile::WriteJson(Path("keep.json"), Json::Value(2));
  ::chmod(folder_.c_str(), 0700);
  if (::geteuid() != 0) {
    EXPECT_FALSE(written);  // root writes anyway
  }
  if (!written) {
    EXPECT_EQ(ReadFile(Path("keep.json")), "{\"old\": true}");
  }
}

TEST_F(JsonFileTest, KeepAsideMovesTheFileUnderANewName) {
  WriteFile(Path("p.Json"), "damaged");
  const std::string aside = JsonFile::KeepAside(Path("p.Json"));
  ASSERT_FALSE(aside.empty());
  EXPECT_FALSE(std::filesystem::exists(Path("p.Json")));
  EXPECT_EQ(ReadFile(aside), "damaged");
  EXPECT_EQ(aside.rfind(Path("p.Json.damaged-"), 0), 0u);
}

TEST(JsonFileTitle, StripsFolderAndExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/b/Gaming.json", "Gaming"}, {"Gaming", "Gaming"}, {"/a/my.profile.json", "my.profile"},
      {"C:\\x\\Win.json", "Win"},     {"/a/.hidden", ".hidden"}, {"/a/b/", ""},
  };
  for (const auto& [path, title] : cases) EXPECT_EQ(JsonFile::FileTitle(path), title) << path;
}

TEST(TimeStampId, HasTheStoredFormatAndNeverRepeatsInOneProcess) {
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string id = MakeTimeStampId();
    EXPECT_TRUE(Matches(id, "dddd_dd_dd_dd_dd_dd_ddd")) << id;
    EXPECT_TRUE(seen.insert(id).second) << id;
  }
}

TEST_F(JsonFileTest, AnIdNamingAnExistingFileIsBumped) {
  // Occupy the next few milliseconds' names; the new id must step past them.
  const auto now = std::chrono::system_clock::now();
  std::set<std::string> taken;
  for (int ms = 0; ms < 50; ++ms) {
    const std::string id = FormatTimeStampId(now + std::chrono::milliseconds(ms));
    WriteFile(Path(id + ".Json"), "{}");
    taken.insert(id);
  }
  const std::string id = MakeUnusedTimeStampId(folder_, ".Json");
  EXPECT_EQ(taken.count(id), 0u);
  EXPECT_FALSE(std::filesystem::exists(Path(id + ".Json")));
}

TEST(PlainFileName, RefusesNamesThatLeaveTheFolder) {
  EXPECT_TRUE(IsPlainFileName("2024_03_05_14_07_09_042"));
  for (const char* name : {"", "../x", "a/b", "a\\b", "..", "x..y"}) EXPECT_FALSE(IsPlainFileName(name)) << name;
  EXPECT_FALSE(IsPlainFileName(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace koru::test
