#pragma once
// The font files of the program's "Font" folder, registered for this process
// only and removed again when the object goes. Needs a QGuiApplication.
#include <string>
#include <vector>

namespace koru {

class PrivateFonts {
 public:
  PrivateFonts() = default;
  ~PrivateFonts();
  PrivateFonts(const PrivateFonts&) = delete;
  PrivateFonts& operator=(const PrivateFonts&) = delete;

  // Registers every .ttf, .otf and .ttc file of the folder, in name order. A
  // missing folder or a file Qt cannot load is skipped (traced). Returns how
  // many files were registered.
  int RegisterFolder(const std::string& folder);
  // The program's own "Font" folder (KnownFolders, plus the build tree that this
  // library was built in, where the build copies the fonts).
  int RegisterProgramFonts();

  // The font families the registered files brought.
  std::vector<std::string> Families() const;

 private:
  std::vector<int> ids_;
};

}  // namespace koru
