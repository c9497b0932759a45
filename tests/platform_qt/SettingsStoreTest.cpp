#include "platform/qt/SettingsStore.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

class SettingsFile : public ::testing::Test {
 protected:
  void Damage(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

  test::TempFolder folder_;
  std::string path_ = folder_ / "KORU7315.ini";
  SettingsStore store_{path_};
};

TEST_F(SettingsFile, ValuesSurviveTheRoundTripAndOtherValuesAreKept) {
  EXPECT_EQ(store_.ReadDword(kProgramSettingsSection, kLanguageValue), std::nullopt);
  ASSERT_TRUE(store_.WriteDword(kProgramSettingsSection, kLanguageValue, 4294967295u));
  ASSERT_TRUE(store_.WriteString(kUninstallSection, kDisplayVersionValue, "2.3.0"));
  ASSERT_TRUE(store_.WriteString("Other", "Text", " two\nlines \\ and = signs"));
  ASSERT_TRUE(store_.WriteDword(kProgramSettingsSection, kLanguageValue, 15));

  const SettingsStore reader(path_);
  EXPECT_EQ(reader.ReadDword(kProgramSettingsSection, kLanguageValue), 15u);
  // Names are matched like registry names, without regard to case.
  EXPECT_EQ(reader.ReadDword("software/koru7315", "language"), 15u);
  EXPECT_EQ(InstalledDisplayVersion(reader), "2.3.0");
  EXPECT_EQ(reader.ReadString("Other", "Text"), "two\nlines \\ and = signs");
  // Written whole: no temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_.Path()), fs::directory_iterator()), 1);
}

struct DamagedCase {
  const char* what;
  const char* file;
  std::optional<std::uint32_t> language;
};

TEST_F(SettingsFile, DamagedFilesReadAsDefaultsWhereTheyAreDamaged) {
  const DamagedCase cases[] = {
      {"not a number", "[Software/KORU7315]\nLANGUAGE=abc\n", std::nullopt},
      {"negative", "[Software/KORU7315]\nLANGUAGE=-1\n", std::nullopt},
      {"beyond 32 bits", "[Software/KORU7315]\nLANGUAGE=4294967296\n", std::nullopt},
      {"trailing text", "[Software/KORU7315]\nLANGUAGE=12x\n", std::nullopt},
      {"empty", "[Software/KORU7315]\nLANGUAGE=\n", std::nullopt},
      {"outside any section", "LANGUAGE=3\n", std::nullopt},
      {"binary noise around a good line", "\x01\xff\xfe[[\n=\n[Software/KORU7315]\n\x7f\x80garbage\nLANGUAGE = 7 \r\n", 7u},
      {"the last of two wins", "[Software/KORU7315]\nLANGUAGE=1\nLANGUAGE=2\n", 2u},
  };
  for (const DamagedCase& damaged : cases) {
    Damage(damaged.file);
    EXPECT_EQ(store_.ReadDword(kProgramSettingsSection, kLanguageValue), damaged.language) << damaged.what;
    EXPECT_EQ(store_.ReadDword(kProgramSettingsSection, kLanguageValue, 520), damaged.language.value_or(520))
        << damaged.what;
  }
}

TEST_F(SettingsFile, AWriteOverADamagedFileKeepsEveryReadableValue) {
  Damage("[Uninstall/KORU7315]\nDisplayVersion=1.2.3\n\x01\x02 noise\n[Software/KORU7315]\nLANGUAGE=oops\n");
  ASSERT_TRUE(store_.WriteDword(kProgramSettingsSection, kLanguageValue, 2));
  EXPECT_EQ(store_.ReadString(kUninstallSection, kDisplayVersionValue), "1.2.3");
  EXPECT_EQ(store_.ReadDword(kProgramSettingsSection, kLanguageValue), 2u);
}

TEST_F(SettingsFile, RefusedWritesLeaveTheFileAsItWas) {
  ASSERT_TRUE(store_.WriteDword(kProgramSettingsSection, kLanguageValue, 5));
  const std::string before = ReadFile(path_);
  for (std::string_view badName : {"", "a=b", "[x]", "two\nlines", " padded"})
    EXPECT_FALSE(store_.WriteString(kProgramSettingsSection, badName, "v")) << badName;
  EXPECT_FALSE(store_.WriteString("bad]section", "name", "v"));

  // A folder we may not write into: the old file stays whole.
  ::chmod(folder_.Path().c_str(), 0500);
  const bool written = store_.WriteDword(kProgramSettingsSection, kLanguageValue, 6);
  ::chmod(folder_.Path().c_str(), 0700);
  if (::geteuid() != 0) {
    EXPECT_FALSE(written);
  }
  if (!written) {
    EXPECT_EQ(ReadFile(path_), before);
  }
}

TEST(SettingsStore, TheDefaultFileLiesInTheConfigFolderAndTheVersionHasADefault) {
  test::TempFolder home;
  test::ScopedEnv config("XDG_CONFIG_HOME", home.Path().string());
  EXPECT_EQ(SettingsStore::DefaultFilePath(), home / "KORU7315/KORU7315.ini");
  EXPECT_FALSE(InstalledDisplayVersion(SettingsStore()).empty());
}

}  // namespace
}  // namespace koru
