#pragma once
// Shared set-up of the toolkit tests: a GUI application on the offscreen
// platform, the sample skin folder, and a clean language state.
#include <gtest/gtest.h>

#include <string>

namespace koru::test {

std::string DataDir();

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace koru::test
