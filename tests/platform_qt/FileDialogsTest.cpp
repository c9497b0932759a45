#include "platform/qt/FileDialogs.h"

#include <gtest/gtest.h>

namespace koru {
namespace {

const FileFilter kProfiles{"Profile Files(*.json)", "*.json;"};
const FileFilter kMacros{"Macro Files(*.mac)", "*.mac;"};

TEST(FileDialogs, FiltersBecomeQtFilterTexts) {
  struct Case {
    std::vector<FileFilter> filters;
    std::string expected;
  } cases[] = {
      {{kProfiles}, "Profile Files (*.json)"},
      {{kProfiles, kMacros}, "Profile Files (*.json);;Macro Files (*.mac)"},
      {{{"Pictures", "*.png;*.jpg"}}, "Pictures (*.png *.jpg)"},
      {{{"Anything", ""}}, "Anything (*)"},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilter(c.filters), c.expected);
}

TEST(FileDialogs, TheDefaultExtensionIsAddedOnlyToNamesWithout) {
  struct Case {
    const char* path;
    const char* extension;
    const char* expected;
  } cases[] = {
      {"/tmp/profile", "json", "/tmp/profile.json"},
      {"/tmp/profile.json", "json", "/tmp/profile.json"},
      {"/tmp/my.profiles/profile", "json", "/tmp/my.profiles/profile.json"},
      {"/tmp/.hidden", "json", "/tmp/.hidden.json"},
      {"/tmp/profile", "", "/tmp/profile"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithDefaultExtension(c.path, c.extension), c.expected) << c.path;
}

TEST(FileDialogs, ScriptedAnswersAreUsedInOrderThenTheHeadlessDialogCancels) {
  ClearFileDialogScript();
  ScriptFileDialogAnswers({"/data/in.json", std::nullopt, "/data/out"});
  const FileDialogRequest request{{kProfiles}, "", "json", "", nullptr};
  EXPECT_EQ(OpenFileDialog(request), "/data/in.json");
  EXPECT_EQ(SaveFileDialog(request), std::nullopt);
  EXPECT_EQ(SaveFileDialog(request), "/data/out.json");
  // Nothing scripted and no screen to show a dialog on: cancelled, not hung.
  EXPECT_EQ(OpenFileDialog(request), std::nullopt);
}

}  // namespace
}  // namespace koru
