#include "tests/toolkit/ToolkitTestSupport.h"

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/headless/HeadlessHost.h"

// Fontconfig keeps a cache for the life of the process that the leak checker
// reports at exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace koru::test {

std::string DataDir() { return KORU_TOOLKIT_TEST_DATA; }

void ToolkitTest::SetUp() {
  EnsureGuiApplication();
  CPaintManagerUI::SetResourcePath(DataDir());
  CResourceManager::GetInstance().LoadResource(DataDir());
  CResourceManager::GetInstance().ResetTexts();
  CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
}

void ToolkitTest::TearDown() {
  CResourceManager::GetInstance().ResetTexts();
  CResourceManager::GetInstance().SetTextQueryInterface(nullptr);
  CPaintManagerUI::RemoveAllSharedFonts();
}

}  // namespace koru::test
