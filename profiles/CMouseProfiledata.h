#pragma once
// Profile document of the mouse page: DPI stages, pointer values, polling rate
// and the cursor correction choices.
#include "profiles/CBasicProfiledata.h"

#include <vector>

class CMouseProfiledata : public CBasicProfiledata {
 public:
  // The mouse's settings record has room for five stages.
  static constexpr int kMaxDpiStages = 5;

  // The stages of the loaded profile; they replace whatever an earlier profile had.
  std::vector<DpiStage> GetDpiStages();
  void SetDpiStages(const std::vector<DpiStage>& stages);
  int GetActiveDpiStage() const { return activeDpiStage_; }  // as last read or set
  void SetActiveDpiStage(int stage);
  MouseSystemStages GetMouseSystemStages();
  void SetMouseSystemStages(const MouseSystemStages& stages);
  std::vector<CorrectItem> GetCorrectInfo();

 private:
  std::vector<DpiStage> dpiStages_;
  int activeDpiStage_ = 0;
  MouseSystemStages systemStages_;
  std::vector<CorrectItem> correctItems_;
};
