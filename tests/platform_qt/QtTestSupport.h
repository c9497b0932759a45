#pragma once
// A QApplication for the whole test run (offscreen), and helpers for tests that
// wait on the event loop or need names of their own on the shared test bus.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <QDBusConnection>
#include <QString>

namespace koru::test {

// Runs the event loop until the condition holds or the generous limit passes.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::seconds limit = std::chrono::seconds(30));

bool SessionBusAvailable();
// A bus name no other test process uses at the same time.
std::string UniqueBusName(const std::string& role);

// A temporary folder removed at the end of the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Sets (or unsets, for nullopt) an environment variable for the scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace koru::test
