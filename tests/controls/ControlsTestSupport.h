#pragma once
// Shared set-up of the control tests: a GUI application on the offscreen
// platform, the real skin folder, the custom controls registered, and small
// trees built from markup text.
#include <gtest/gtest.h>

#include <QColor>
#include <memory>
#include <string>

#include "toolkit/headless/HeadlessWindow.h"
#include "toolkit/markup/CDialogBuilder.h"

namespace koru::test {

std::string SourceDir();
std::string SkinDir();
// Where pictures go: the build tree, or docs/screenshots with KORU_UPDATE_SCREENSHOTS=1.
std::string ShotDir();

// The device pages are built by another layer; a plain horizontal layout
// stands in for their tags ("KestroKeyboardDevice", ...) here.
class PageTags : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(std::string_view tag) override;
};

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Builds a window from markup text (a <Window> or a bare control tree) of `size`.
  std::unique_ptr<HeadlessWindow> Build(const std::string& markup, UISize size = {400, 300});
  // The colour the window shows at a logical point.
  static QColor PixelAt(HeadlessWindow& window, UIPoint pt);
};

}  // namespace koru::test
