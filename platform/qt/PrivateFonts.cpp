#include "platform/qt/PrivateFonts.h"

#include <QDir>
#include <QFontDatabase>

#include "platform/DebugOutput.h"
#include "platform/KnownFolders.h"

namespace koru {

PrivateFonts::~PrivateFonts() {
  for (auto id = ids_.rbegin(); id != ids_.rend(); ++id) QFontDatabase::removeApplicationFont(*id);
}

int PrivateFonts::RegisterFolder(const std::string& folder) {
  const QDir dir(QString::fromStdString(folder));  // name filters match any case
  const QStringList files = dir.entryList({"*.ttf", "*.otf", "*.ttc"},
                                          QDir::Files | QDir::Readable, QDir::Name);
  int registered = 0;
  for (const QString& name : files) {
    const int id = QFontDatabase::addApplicationFont(dir.filePath(name));
    if (id < 0) {
      if (DebugOutputEnabled()) DebugOutput("font not loaded: " + dir.filePath(name).toStdString());
      continue;
    }
    ids_.push_back(id);
    ++registered;
  }
  return registered;
}

int PrivateFonts::RegisterProgramFonts() {
  std::vector<std::string> roots = ProgramFolderRoots();
#ifdef KORU_FONT_BUILD_TREE
  roots.insert(roots.begin() + (roots.empty() ? 0 : 1), KORU_FONT_BUILD_TREE);
#endif
  const std::string folder = FindProgramSubfolder("Font", roots);
  if (folder.empty()) {
    if (DebugOutputEnabled()) DebugOutput("no \"Font\" folder: the system fonts are used");
    return 0;
  }
  return RegisterFolder(folder);
}

std::vector<std::string> PrivateFonts::Families() const {
  std::vector<std::string> families;
  for (int id : ids_)
    for (const QString& family : QFontDatabase::applicationFontFamilies(id)) families.push_back(family.toStdString());
  return families;
}

}  // namespace koru
