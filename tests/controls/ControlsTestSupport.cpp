#include "tests/controls/ControlsTestSupport.h"

#include <QImage>
#include <cstdlib>

#include "controls/RegisterControls.h"
#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/layout/CHorizontalLayoutUI.h"

// fontconfig keeps its pattern caches until exit; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace koru::test {

std::string SourceDir() {
  const char* env = std::getenv("KORU_SOURCE_DIR");
  return env && *env ? env : KORU_TEST_SOURCE_DIR;
}

std::string SkinDir() { return SourceDir() + "/skin"; }

std::string ShotDir() {
  const char* update = std::getenv("KORU_UPDATE_SCREENSHOTS");
  if (update && std::string(update) == "1") return SourceDir() + "/docs/screenshots";
  return KORU_CONTROLS_SHOT_DIR;
}

CControlUI* PageTags::CreateControl(std::string_view tag) {
  if (tag.starts_with("Kestro")) return new CHorizontalLayoutUI;
  return nullptr;
}

void ControlsTest::SetUp() {
  EnsureGuiApplication();
  CPaintManagerUI::SetResourcePath(SkinDir());
  CResourceManager::GetInstance().LoadResource(SkinDir());
  CResourceManager::GetInstance().ResetTexts();
  RegisterDeviceControls();
}

void ControlsTest::TearDown() {
  CResourceManager::GetInstance().ResetTexts();
  CPaintManagerUI::RemoveAllSharedFonts();
}

std::unique_ptr<HeadlessWindow> ControlsTest::Build(const std::string& markup, UISize size) {
  auto window = std::make_unique<HeadlessWindow>();
  EXPECT_TRUE(window->Load(markup, nullptr, size)) << window->GetLastError();
  return window;
}

QColor ControlsTest::PixelAt(HeadlessWindow& window, UIPoint pt) {
  const QImage& image = window.Snapshot();
  double scale = window.Manager().GetScale();
  return image.pixelColor(static_cast<int>(pt.x * scale), static_cast<int>(pt.y * scale));
}

}  // namespace koru::test
