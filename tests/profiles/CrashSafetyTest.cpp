// A process killed at any moment while saving must leave the profile as the
// old or the new complete document, never a torn or empty one.
#include "ProfileTestSupport.h"

#include "profiles/CKeyboardProfiledata.h"

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace koru::test {
namespace {

class CrashSafetyTest : public TempFolderTest {
 protected:
  void Open(CKeyboardProfiledata& profile) {
    profile.SetTemplatePath(FactoryFolder() + "mouse.Json");
    profile.SetProfilePath(Path("p.Json"));
    profile.LoadSection(profile.GetProfilePath());
  }
  static void Paint(CKeyboardProfiledata& profile, uint8_t red) {
    LightInfoData light = profile.GetLightInfo();
    light.red = red;
    profile.SetLightInfo(light);
  }
};

TEST_F(CrashSafetyTest, AKilledSaveLeavesTheOldOrTheNewDocument) {
  CKeyboardProfiledata profile;
  Open(profile);  // writes the repaired first version
  Paint(profile, 1);
  ASSERT_TRUE(profile.Save());
  const std::string first = ReadFile(Path("p.Json"));
  Paint(profile, 2);
  ASSERT_TRUE(profile.Save());
  const std::string second = ReadFile(Path("p.Json"));
  ASSERT_NE(first, second);
  ASSERT_TRUE(JsonFile::ReadJson(Path("p.Json")).isObject());

  const unsigned seed = 20261211;
  std::mt19937 random(seed);
  // In a sanitizer build the child's first save takes some tens of
  // milliseconds (copy-on-write after the fork), later ones about ten (read,
  // write, sync, rename); the kills land anywhere in the first few.
  std::uniform_int_distribution<int> delayMicros(0, 60000);
  int tornOrEmpty = 0;
  int completedSaves = 0;
  for (int round = 0; round < 40; ++round) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Say "starting", then alternate between the two documents until killed,
      // reporting each completed save.
      ::close(pipeFds[0]);
      for (uint8_t red = 1;; red = static_cast<uint8_t>(3 - red)) {
        if (::write(pipeFds[1], "s", 1) != 1) ::_exit(1);
        Paint(profile, red);
        profile.Save();
      }
    }
    ::close(pipeFds[1]);
    char mark = 0;
    ASSERT_EQ(::read(pipeFds[0], &mark, 1), 1);

    ::usleep(static_cast<useconds_t>(delayMicros(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    while (::read(pipeFds[0], &mark, 1) == 1) ++completedSaves;
    ::close(pipeFds[0]);
    // Byte for byte one of the two complete documents (both parse, checked above).
    const std::string onDisk = ReadFile(Path("p.Json"));
    if (onDisk != first && onDisk != second) ++tornOrEmpty;
  }
  EXPECT_EQ(tornOrEmpty, 0) << "seed " << seed;
  RecordProperty("CompletedSaves", completedSaves);
}

}  // namespace
}  // namespace koru::test
