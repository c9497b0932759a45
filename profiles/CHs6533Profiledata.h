#pragma once
// Profile document of the headset page: audio settings, the equaliser rows of
// the presets and the user's custom equaliser presets.
#include "profiles/CBasicProfiledata.h"

#include <string>
#include <vector>

class CHs6533Profiledata : public CBasicProfiledata {
 public:
  static constexpr int kBands = 10;
  static constexpr int kCustomEqType = 13;
  static constexpr int kMaxCustomPresets = 256;
  static constexpr int kBandMin = -128;
  static constexpr int kBandMax = 127;

  HeadsetSystemSetStages GetSystemSetStages();
  void SetSystemSetStages(const HeadsetSystemSetStages& stages);
  // Ten band values of the preset row for eqType; empty for the custom type 13.
  std::vector<int> GetEqValues(int eqType);
  bool SetEqValues(int eqType, const std::vector<int>& values);
  std::vector<std::string> GetCustomEqNames();
  void SetCustomEqNames(const std::vector<std::string>& names);
  std::vector<int> GetCustomEqValues(int index);
  bool SetCustomEqValues(int index, const std::vector<int>& values);

 private:
  std::vector<int> ReadBands(const koru::CheckedValue& row) const;
  static void WriteBands(Json::Value& row, const std::vector<int>& values);

  HeadsetSystemSetStages systemSetStages_;
};
