#include "profiles/CKeyboardProfiledata.h"

#include "profiles/RecordFields.h"

#include <algorithm>
#include <array>

using koru::Field;
using koru::RecordField;

namespace {

constexpr std::array<RecordField<KeyboardSystemStages>, 6> kSystemFields{{
    Field<KeyboardSystemStages, &KeyboardSystemStages::repeat>("Repeat"),
    Field<KeyboardSystemStages, &KeyboardSystemStages::repeatDelay>("RepeatDelay"),
    Field<KeyboardSystemStages, &KeyboardSystemStages::key6Flag>("Key6Flag"),
    Field<KeyboardSystemStages, &KeyboardSystemStages::pollingRate>("PollingRate"),
    Field<KeyboardSystemStages, &KeyboardSystemStages::wFlag>("WFlag"),
    Field<KeyboardSystemStages, &KeyboardSystemStages::winFlag>("WinFlag"),
}};

constexpr std::array<RecordField<LightColor>, 4> kColourFields{{
    Field<LightColor, &LightColor::red>("Red"),
    Field<LightColor, &LightColor::green>("Green"),
    Field<LightColor, &LightColor::blue>("Blue"),
    Field<LightColor, &LightColor::alpha>("Alpha"),
}};

}  // namespace

KeyboardSystemStages CKeyboardProfiledata::GetKeyboardSystemStages() {
  systemStages_ = {};
  koru::ReadFields<KeyboardSystemStages>(Checked().Child("SystemStages", Json::objectValue), systemStages_,
                                         kSystemFields);
  return systemStages_;
}

void CKeyboardProfiledata::SetKeyboardSystemStages(const KeyboardSystemStages& stages) {
  systemStages_ = stages;
  koru::WriteFields<KeyboardSystemStages>(koru::ObjectMember(WritableSection(), "SystemStages"), stages,
                                          kSystemFields);
}

bool CKeyboardProfiledata::GetFnKeysetFlag() { return Checked().Bool("FnKeysetFlag"); }

void CKeyboardProfiledata::SetFnKeysetFlag(bool flag) { WritableSection()["FnKeysetFlag"] = Json::Value(flag); }

std::vector<LightColor> CKeyboardProfiledata::GetCustomLightColors(int group, int count) {
  customColours_.clear();
  if (group < 0 || group >= kMaxCustomGroups || count <= 0) return customColours_;
  count = std::min(count, kMaxCustomColours);
  const auto colours = Checked()
                           .Child("CustomLightMode", Json::objectValue)
                           .Child("LightColorInfo", Json::arrayValue)
                           .At(static_cast<Json::ArrayIndex>(group), Json::arrayValue);
  customColours_.resize(static_cast<size_t>(count));
  for (int j = 0; j < count; ++j)
    koru::ReadFields<LightColor>(colours.At(static_cast<Json::ArrayIndex>(j), Json::objectValue),
                                 customColours_[static_cast<size_t>(j)], kColourFields);
  return customColours_;
}

bool CKeyboardProfiledata::SetCustomLightColors(int group, const std::vector<LightColor>& colours) {
  if (group < 0 || group >= kMaxCustomGroups || colours.size() > static_cast<size_t>(kMaxCustomColours)) return false;
  customColours_ = colours;
  Json::Value& groups = koru::ArrayMember(koru::ObjectMember(WritableSection(), "CustomLightMode"), "LightColorInfo");
  Json::Value& row = koru::ElementOfType(groups, static_cast<Json::ArrayIndex>(group), Json::arrayValue);
  for (Json::ArrayIndex j = 0; j < colours.size(); ++j)
    koru::WriteFields<LightColor>(koru::ElementOfType(row, j, Json::objectValue), colours[j], kColourFields);
  return true;
}

int CKeyboardProfiledata::GetCustomLightGroupIndex() {
  customGroupIndex_ = static_cast<int>(
      Checked().Child("CustomLightMode", Json::objectValue).Integer("CustomLightModeGroupIndex", 0, kMaxCustomGroups - 1));
  return customGroupIndex_;
}

void CKeyboardProfiledata::SetCustomLightGroupIndex(int index) {
  customGroupIndex_ = index;
  koru::ObjectMember(WritableSection(), "CustomLightMode")["CustomLightModeGroupIndex"] = Json::Value(index);
}
