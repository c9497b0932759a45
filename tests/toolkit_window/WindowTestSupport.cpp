#include "tests/toolkit_window/WindowTestSupport.h"

#include <cstdlib>

#include "toolkit/core/CPaintManagerUI.h"
#include "toolkit/core/CResourceManager.h"
#include "toolkit/window/MessageLoop.h"

// Fontconfig keeps a cache for the life of the process that the leak checker
// reports at exit; it is not ours to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

namespace koru::test {

std::string SkinDir() {
  const char* source = std::getenv("KORU_SOURCE_DIR");
  return std::string(source ? source : ".") + "/skin";
}

void WindowTest::SetUp() {
  m_backend = &UseHeadlessWindowBackend();
  m_backend->SetTrayAvailable(true);
  CPaintManagerUI::SetResourcePath(SkinDir());
  CResourceManager::GetInstance().LoadResource(SkinDir());
  // Nothing of an earlier test may still be queued for this thread.
  DispatchPendingMessages();
}

HeadlessWindowPeer& WindowTest::Peer(HWND hwnd) {
  HeadlessWindowPeer* peer = HeadlessWindowBackend::PeerOf(hwnd);
  if (!peer) throw std::runtime_error("window has no headless peer");
  return *peer;
}

}  // namespace koru::test
