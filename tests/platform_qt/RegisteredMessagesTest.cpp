#include "platform/RegisteredMessages.h"

#include <set>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace koru {
namespace {

TEST(RegisteredMessages, OneNumberPerNameInTheRegisteredRangeAndBackToItsName) {
  const unsigned show = RegisterWindowMessage(kShowRequestMessage);
  const unsigned game = RegisterWindowMessage(kGameStartMessage);
  EXPECT_GE(show, kFirstRegisteredMessage);
  EXPECT_LE(show, kLastRegisteredMessage);
  EXPECT_NE(show, game);
  EXPECT_EQ(show, RegisterWindowMessage("KORU7315"));
  EXPECT_EQ(RegisteredMessageName(show), std::string(kShowRequestMessage));
  // Names are exact: the audio companion's EBE19 is not the lighting messages' EBF19.
  EXPECT_NE(RegisterWindowMessage(kAudioCompanionMessage), RegisterWindowMessage("{4695579F-999A-41d4-9FAF-EFFCE93EBF19}"));
}

TEST(RegisteredMessages, EmptyNamesAndForeignNumbersHaveNone) {
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
  EXPECT_EQ(RegisteredMessageName(0x0400), std::nullopt);
  EXPECT_EQ(RegisteredMessageName(kLastRegisteredMessage), std::nullopt);
}

TEST(RegisteredMessages, HookNamesAreDistinctAndShareNoNumber) {
  std::set<unsigned> numbers;
  for (std::string_view name : HookMessageNames()) numbers.insert(RegisterWindowMessage(name));
  EXPECT_EQ(numbers.size(), HookMessageNames().size());
  EXPECT_EQ(numbers.count(0), 0u);
}

TEST(RegisteredMessages, ThreadsRegisteringTheSameNamesAgreeOnTheNumbers) {
  constexpr int kThreads = 4;
  constexpr int kNames = 200;
  std::vector<std::vector<unsigned>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &seen] {
      for (int i = 0; i < kNames; ++i) seen[t].push_back(RegisterWindowMessage("concurrent_" + std::to_string(i)));
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
  EXPECT_EQ(std::set<unsigned>(seen[0].begin(), seen[0].end()).size(), std::size_t(kNames));
}

}  // namespace
}  // namespace koru
