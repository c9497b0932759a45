// File work of the profiles: loading and saving a full keyboard profile (170
// keys, custom light groups) and the file work of one profile switch (record
// the selection in the list, load the new profile, read its records).
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/MemoryListView.h"
#include "profiles/ProfileFolders.h"
#include "profiles/ProfileListStore.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A scratch data folder on the same disk as the user's data, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* base = std::getenv("KORU_BENCH_DIR");
    std::string pattern = std::string(base ? base : "/tmp") + "/koru-profiles-bench-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern + "/";
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The keyboard page's reads after a load.
void ReadAllRecords(CKeyboardProfiledata& profile, int groups) {
  benchmark::DoNotOptimize(profile.GetLightInfo());
  benchmark::DoNotOptimize(profile.GetAudioLightInfo());
  benchmark::DoNotOptimize(profile.GetLightList());
  benchmark::DoNotOptimize(profile.GetKeyList());
  benchmark::DoNotOptimize(profile.GetKeyboardSystemStages());
  benchmark::DoNotOptimize(profile.GetFnKeysetFlag());
  for (int group = 0; group < groups; ++group) benchmark::DoNotOptimize(profile.GetCustomLightColors(group, 170));
}

// A keyboard profile made from the factory template with `groups` custom light groups painted.
std::string MakeFullKeyboardProfile(const std::string& folder, const std::string& name, int groups) {
  CKeyboardProfiledata profile;
  profile.SetTemplatePath(koru::DefaultTemplatePath("keyboard"));
  profile.SetProfilePath(folder + name);
  profile.LoadSection(profile.GetProfilePath());
  std::vector<LightColor> colours(170);
  for (int group = 0; group < groups; ++group) {
    for (size_t k = 0; k < colours.size(); ++k)
      colours[k] = {static_cast<uint8_t>(k), static_cast<uint8_t>(group * 40), static_cast<uint8_t>(255 - k), 255};
    profile.SetCustomLightColors(group, colours);
  }
  profile.Save();
  return profile.GetProfilePath();
}

void BM_LoadKeyboardProfile(benchmark::State& state) {
  const int groups = static_cast<int>(state.range(0));
  ScratchFolder folder;
  const std::string path = MakeFullKeyboardProfile(folder.path(), "load.Json", groups);
  CKeyboardProfiledata profile;
  profile.SetTemplatePath(koru::DefaultTemplatePath("keyboard"));
  profile.SetProfilePath(path);
  for (auto _ : state) {
    profile.LoadSection(path);
    ReadAllRecords(profile, groups);
  }
  state.SetLabel(std::to_string(std::filesystem::file_size(path) / 1024) + " KiB");
}
BENCHMARK(BM_LoadKeyboardProfile)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

void BM_SaveKeyboardProfile(benchmark::State& state) {
  const int groups = static_cast<int>(state.range(0));
  ScratchFolder folder;
  const std::string path = MakeFullKeyboardProfile(folder.path(), "save.Json", groups);
  CKeyboardProfiledata profile;
  profile.SetTemplatePath(koru::DefaultTemplatePath("keyboard"));
  profile.SetProfilePath(path);
  profile.LoadSection(path);
  LightInfoData light = profile.GetLightInfo();
  for (auto _ : state) {
    ++light.red;
    profile.SetLightInfo(light);
    if (!profile.Save()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveKeyboardProfile)->Arg(1)->Arg(5)->Unit(benchmark::kMicrosecond);

// Switching between two full keyboard profiles of a list of ten.
void BM_ProfileSwitch(benchmark::State& state) {
  ScratchFolder folder;
  koru::MemoryListView view;
  koru::ProfileListStore store(view);
  store.SetDeviceKind(1);
  store.SetFolders(folder.path(), koru::DefaultTemplatePath("keyboard"));
  store.InitProfileList();
  for (int i = 1; i < 10; ++i) store.AddProfile();
  for (int i = 0; i < 2; ++i) {
    const std::string path = store.GetProfilePathAt(i);
    MakeFullKeyboardProfile(folder.path(), path.substr(folder.path().size()), 1);
  }
  CKeyboardProfiledata profile;
  profile.SetTemplatePath(koru::DefaultTemplatePath("keyboard"));
  int index = 0;
  for (auto _ : state) {
    index = 1 - index;
    if (!store.SelectProfile(index, false)) state.SkipWithError("select failed");
    profile.SetProfilePath(store.ProfilePath(store.GetSelectedUuid()));
    profile.LoadSection(profile.GetProfilePath());
    ReadAllRecords(profile, 1);
  }
}
BENCHMARK(BM_ProfileSwitch)->Unit(benchmark::kMicrosecond);

}  // namespace
