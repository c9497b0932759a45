#pragma once
// Profile document of the keyboard page: system flags, the Fn layer flag and
// the per-key colours of the custom light groups.
#include "profiles/CBasicProfiledata.h"

#include <vector>

class CKeyboardProfiledata : public CBasicProfiledata {
 public:
  // Groups and colours per group are bounded so that a damaged file cannot make us allocate wildly.
  static constexpr int kMaxCustomGroups = 256;
  static constexpr int kMaxCustomColours = 1024;

  KeyboardSystemStages GetKeyboardSystemStages();
  void SetKeyboardSystemStages(const KeyboardSystemStages& stages);
  bool GetFnKeysetFlag();
  void SetFnKeysetFlag(bool flag);
  // count colours of the group; absent ones read as zero (the section is not changed).
  std::vector<LightColor> GetCustomLightColors(int group, int count);
  bool SetCustomLightColors(int group, const std::vector<LightColor>& colours);
  int GetCustomLightGroupIndex();
  void SetCustomLightGroupIndex(int index);

 private:
  KeyboardSystemStages systemStages_;
  std::vector<LightColor> customColours_;
  int customGroupIndex_ = 0;
};
