#pragma once
// Shared pieces of the profile tests: a private data folder per test (with
// XDG_DATA_HOME pointing into it, so nothing touches the real home), file
// helpers, and a list view double that behaves like the toolkit's combo.
#include "profiles/JsonFile.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace koru::test {

inline std::string FactoryFolder() {
  const char* source = std::getenv("KORU_SOURCE_DIR");
  return std::string(source ? source : KORU_TEST_SOURCE_DIR) + "/DefaultData/";
}

// Checks text against a pattern where 'd' is a decimal digit, 'h' an upper-case
// hexadecimal digit, and any other character stands for itself.
inline bool Matches(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = c >= '0' && c <= '9';
    if (pattern[i] == 'd' ? !digit : pattern[i] == 'h' ? !(digit || (c >= 'A' && c <= 'F')) : c != pattern[i])
      return false;
  }
  return true;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline Json::Value Parse(const std::string& text) {
  Json::Value value;
  EXPECT_TRUE(JsonFile::ParseJson(text, value)) << text;
  return value;
}

// Files of a folder whose names start with prefix.
inline std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& item : std::filesystem::directory_iterator(folder))
    if (item.path().filename().string().rfind(prefix, 0) == 0) found.push_back(item.path().string());
  return found;
}

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/koru-profiles-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    const char* old = std::getenv("XDG_DATA_HOME");
    hadDataHome_ = old != nullptr;
    if (old) oldDataHome_ = old;
    ::setenv("XDG_DATA_HOME", (root_ + "/share").c_str(), 1);
    folder_ = root_ + "/device/";
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    if (hadDataHome_)
      ::setenv("XDG_DATA_HOME", oldDataHome_.c_str(), 1);
    else
      ::unsetenv("XDG_DATA_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string Path(const std::string& name) const { return folder_ + name; }

  std::string root_;
  std::string folder_;  // a device's data folder, ends with '/'

 private:
  bool hadDataHome_ = false;
  std::string oldDataHome_;
};

}  // namespace koru::test
