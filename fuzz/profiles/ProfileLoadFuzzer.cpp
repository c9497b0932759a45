// Feeds arbitrary bytes to everything that loads profile data: profile files
// (every getter of every kind, then a save), the factory template behind them,
// and the profile list with its operations. Nothing may crash, throw or write
// outside the scratch folder.
#include "profiles/CHs6533Profiledata.h"
#include "profiles/CKeyboardProfiledata.h"
#include "profiles/CMouseProfiledata.h"
#include "profiles/MemoryListView.h"
#include "profiles/ProfileListStore.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kTemplate = R"({"Device": [{"LightInfo": {"Red": 1}, "KeyList": [{"Assignment": 3}],
  "DPIStages": {"StageActive": 1, "StageDPIs": [{"StageDPIX": 2}]}, "SystemSetStages": {"EqType": 2},
  "EQHzValueInfo": [[], [{"value": 7}]], "CustomLightMode": {"LightColorInfo": [[{"Red": 5}]]}}]})";
constexpr const char* kSparseProfile = R"({"Device": [{"LightInfo": {"Red": "x"}, "KeyList": [{}, 5],
  "DPIStages": {"StageDPIs": [[]]}, "SystemSetStages": {"CustomEqSeletIndex": 9}, "EQHzValueInfo": 1}]})";

std::string ScratchFolder() {
  const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
  std::string pattern = base + "/koru-profiles-fuzz-XXXXXX";
  if (!::mkdtemp(pattern.data())) std::abort();
  return pattern + "/";
}

void Write(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                static_cast<std::streamsize>(size));
}

class Fixture {
 public:
  Fixture() : folder_(ScratchFolder()) {}
  ~Fixture() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  void Reset() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    std::filesystem::create_directories(folder_, ignored);
  }
  std::string Path(const char* name) const { return folder_ + name; }

 private:
  std::string folder_;
};

template <class Profile>
Profile& Loaded(Profile& profile, const std::string& templatePath, const std::string& path) {
  profile.SetTemplatePath(templatePath);
  profile.SetProfilePath(path);
  profile.SetLightLibraryPath(path);
  profile.LoadSection(path);
  profile.LoadLightLibrary(path);
  profile.GetLightInfo();
  profile.GetAudioLightInfo();
  profile.GetLightList();
  profile.GetCustomLightEffect();
  profile.SetKeyList(profile.GetKeyList());
  return profile;
}

void LoadEveryKind(const std::string& templatePath, const std::string& path) {
  CKeyboardProfiledata keyboard;
  Loaded(keyboard, templatePath, path);
  keyboard.SetKeyboardSystemStages(keyboard.GetKeyboardSystemStages());
  keyboard.GetFnKeysetFlag();
  keyboard.SetCustomLightColors(1, keyboard.GetCustomLightColors(0, 170));
  keyboard.GetCustomLightGroupIndex();

  CMouseProfiledata mouse;
  Loaded(mouse, templatePath, path);
  mouse.SetDpiStages(mouse.GetDpiStages());
  mouse.SetMouseSystemStages(mouse.GetMouseSystemStages());
  mouse.GetCorrectInfo();

  CHs6533Profiledata headset;
  Loaded(headset, templatePath, path);
  const HeadsetSystemSetStages stages = headset.GetSystemSetStages();
  headset.GetEqValues(stages.eqType);
  headset.GetCustomEqValues(stages.customEqSelectIndex);
  headset.SetCustomEqNames(headset.GetCustomEqNames());
  headset.Save();
}

void RunListOperations(const Fixture& fixture) {
  koru::MemoryListView combo;
  koru::ProfileListStore store(combo);
  store.SetDeviceKind(7);
  store.SetFolders(fixture.Path(""), fixture.Path("template.Json"));
  store.InitProfileList();
  store.CopyProfile();
  store.RenameProfile("renamed");
  store.ImportProfile(fixture.Path("input.json"));
  store.ResetProfile();
  store.DeleteProfile();
  for (int i = 0; i < store.ReadProfileCount(); ++i) store.GetProfilePathAt(i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  if (size == 0) return 0;
  fixture.Reset();
  const uint8_t mode = data[0] % 3;
  ++data;
  --size;
  const std::string templatePath = fixture.Path("template.Json");
  const std::string profilePath = fixture.Path("p.Json");
  const std::string templateText = kTemplate;
  Write(templatePath, reinterpret_cast<const uint8_t*>(templateText.data()), templateText.size());
  switch (mode) {
    case 0:  // a profile file
      Write(profilePath, data, size);
      LoadEveryKind(templatePath, profilePath);
      break;
    case 1: {  // the template behind a profile of bad values
      Write(templatePath, data, size);
      const std::string sparse = kSparseProfile;
      Write(profilePath, reinterpret_cast<const uint8_t*>(sparse.data()), sparse.size());
      LoadEveryKind(templatePath, profilePath);
      break;
    }
    default:  // the profile list, and a file offered for import
      Write(fixture.Path(koru::ProfileListStore::kListFileName), data, size);
      Write(fixture.Path("input.json"), data, size);
      Write(fixture.Path("2024_01_01_00_00_00_000.Json"), data, size);
      RunListOperations(fixture);
      break;
  }
  return 0;
}
