#pragma once
// Shared set-up of the skin tests: the real skin folder, a GUI application on
// the offscreen platform, and readers for the skin's own files.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "toolkit/markup/CDialogBuilder.h"

class CControlUI;
class CContainerUI;

namespace koru {
class HeadlessWindow;
}

namespace koru::test {

std::string SourceDir();
std::string SkinDir();
// Where screenshots go: the build tree, so they are never committed by accident.
std::string ShotDir();

// The markup files of the skin, as res.xml ids or paths relative to the skin.
const std::vector<std::string>& MarkupFiles();

// id -> text of a language file in the skin folder; empty when it cannot be read.
std::map<std::string, std::string> ReadLanguageFile(const std::string& fileName);

// Every image a markup file names: image attributes of controls, and those
// inside the attribute lists of <Default> and <Style>.
std::set<std::string> ImagesNamedIn(const std::string& markupPath);

// Visits a control and all of its descendants, hidden ones included.
void ForEachControl(CControlUI* root, const std::function<void(CControlUI*)>& visit);

// Builds a tab item and its power indicator into the main window's strip the
// way the program does, so screens can be looked at with devices present.
// `stem` is the picture stem of the kind ("kb", "ms", ...). Returns the item.
CContainerUI* AddDeviceTab(HeadlessWindow& window, const std::string& stem, const std::string& nameId);

// The tray menu's own element tags belong to the menu window; a plain layout
// and buttons stand in for them here, which is enough to check names and looks.
class MenuTags : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(std::string_view tag) override;
};

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace koru::test
