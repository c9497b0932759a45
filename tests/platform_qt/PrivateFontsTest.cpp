#include "platform/qt/PrivateFonts.h"

#include <filesystem>
#include <fstream>

#include <QFontDatabase>
#include <gtest/gtest.h>

#include "tests/platform_qt/QtTestSupport.h"

namespace koru {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> SomeInstalledFont() {
  for (const char* font : {"/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf",
                           "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                           "/usr/share/fonts/truetype/noto/NotoSans-Regular.ttf"})
    if (fs::exists(font)) return fs::path(font);
  return std::nullopt;
}

TEST(PrivateFonts, TheFontFilesOfTheFolderAreRegisteredAndTheRestSkipped) {
  const std::optional<fs::path> font = SomeInstalledFont();
  if (!font) GTEST_SKIP() << "no font package installed";
  test::TempFolder folder;
  fs::copy_file(*font, folder / ("Copied" + font->extension().string()));
  std::ofstream(folder / "Broken.ttf") << "not a font at all";
  std::ofstream(folder / "readme.txt") << "text";

  const std::size_t familiesBefore = QFontDatabase::families().size();
  {
    PrivateFonts fonts;
    EXPECT_EQ(fonts.RegisterFolder(folder.Path().string()), 1);
    ASSERT_EQ(fonts.Families().size(), 1u);
    EXPECT_FALSE(fonts.Families()[0].empty());
    EXPECT_TRUE(QFontDatabase::families().contains(QString::fromStdString(fonts.Families()[0])));
  }
  // Gone with the object, as far as this process is concerned.
  EXPECT_EQ(QFontDatabase::families().size(), familiesBefore);
}

TEST(PrivateFonts, AMissingFolderLeavesTheSystemFonts) {
  PrivateFonts fonts;
  EXPECT_EQ(fonts.RegisterFolder("/nonexistent/Font"), 0);
  EXPECT_TRUE(fonts.Families().empty());
}

}  // namespace
}  // namespace koru
