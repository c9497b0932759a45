#include "profiles/CHs6533Profiledata.h"

#include "profiles/RecordFields.h"

#include <algorithm>
#include <array>

using koru::CheckedValue;
using koru::Field;
using koru::RecordField;

namespace {

constexpr std::array<RecordField<HeadsetSystemSetStages>, 7> kFixedRangeFields{{
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::magicEnable>("MagicEnable", 0, 1),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::magicType>("MagicType", 0, 4),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::eqType>("EqType", 0, CHs6533Profiledata::kCustomEqType),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::micInSelect>("MicInSelect", 0, 1),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::micInValue>("MicInValue", 0, 100),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::micMonitorSelect>("MicMoniterSelect", 0, 1),
    Field<HeadsetSystemSetStages, &HeadsetSystemSetStages::micMonitorValue>("MicMoniterValue", 0, 100),
}};

constexpr const char* kCustomSelectKey = "CustomEqSeletIndex";

// Presets 1..12 have their own rows; 0 and anything unknown show row 1.
int EqRow(int eqType) { return eqType >= 1 && eqType <= 12 ? eqType : 1; }

}  // namespace

HeadsetSystemSetStages CHs6533Profiledata::GetSystemSetStages() {
  systemSetStages_ = {};
  const CheckedValue section = Checked();
  const CheckedValue stages = section.Child("SystemSetStages", Json::objectValue);
  koru::ReadFields<HeadsetSystemSetStages>(stages, systemSetStages_, kFixedRangeFields);
  // The custom preset index must name a preset (or be -1, none).
  const int presets = static_cast<int>(section.Child("CustomEQHzValueInfo", Json::arrayValue).Size());
  systemSetStages_.customEqSelectIndex =
      static_cast<int32_t>(stages.Integer(kCustomSelectKey, -1, std::clamp(presets, 1, kMaxCustomPresets) - 1));
  return systemSetStages_;
}

void CHs6533Profiledata::SetSystemSetStages(const HeadsetSystemSetStages& stages) {
  systemSetStages_ = stages;
  Json::Value& object = koru::ObjectMember(WritableSection(), "SystemSetStages");
  koru::WriteFields<HeadsetSystemSetStages>(object, stages, kFixedRangeFields);
  object[kCustomSelectKey] = Json::Value(stages.customEqSelectIndex);
}

std::vector<int> CHs6533Profiledata::ReadBands(const CheckedValue& row) const {
  std::vector<int> values(kBands);
  for (int band = 0; band < kBands; ++band)
    values[static_cast<size_t>(band)] = static_cast<int>(
        row.At(static_cast<Json::ArrayIndex>(band), Json::objectValue).Integer("value", kBandMin, kBandMax));
  return values;
}

void CHs6533Profiledata::WriteBands(Json::Value& row, const std::vector<int>& values) {
  for (Json::ArrayIndex band = 0; band < static_cast<Json::ArrayIndex>(kBands); ++band)
    koru::ElementOfType(row, band, Json::objectValue)["value"] = Json::Value(values[band]);
}

std::vector<int> CHs6533Profiledata::GetEqValues(int eqType) {
  if (eqType == kCustomEqType) return {};
  const auto rows = Checked().Child("EQHzValueInfo", Json::arrayValue);
  return ReadBands(rows.At(static_cast<Json::ArrayIndex>(EqRow(eqType)), Json::arrayValue));
}

bool CHs6533Profiledata::SetEqValues(int eqType, const std::vector<int>& values) {
  if (eqType == kCustomEqType || values.size() != static_cast<size_t>(kBands)) return false;
  Json::Value& rows = koru::ArrayMember(WritableSection(), "EQHzValueInfo");
  WriteBands(koru::ElementOfType(rows, static_cast<Json::ArrayIndex>(EqRow(eqType)), Json::arrayValue), values);
  return true;
}

std::vector<std::string> CHs6533Profiledata::GetCustomEqNames() {
  const auto list = Checked().Child("CustomEQNameInfo", Json::arrayValue);
  std::vector<std::string> names(std::min<Json::ArrayIndex>(list.Size(), kMaxCustomPresets));
  for (Json::ArrayIndex i = 0; i < names.size(); ++i) names[i] = list.At(i, Json::objectValue).String("Name");
  return names;
}

void CHs6533Profiledata::SetCustomEqNames(const std::vector<std::string>& names) {
  Json::Value list(Json::arrayValue);
  for (const auto& name : names) {
    Json::Value entry(Json::objectValue);
    entry["Name"] = name;
    list.append(std::move(entry));
  }
  WritableSection()["CustomEQNameInfo"] = std::move(list);
}

std::vector<int> CHs6533Profiledata::GetCustomEqValues(int index) {
  if (index < 0 || index >= kMaxCustomPresets) return {};
  const auto rows = Checked().Child("CustomEQHzValueInfo", Json::arrayValue);
  return ReadBands(rows.At(static_cast<Json::ArrayIndex>(index), Json::arrayValue));
}

bool CHs6533Profiledata::SetCustomEqValues(int index, const std::vector<int>& values) {
  if (index < 0 || index >= kMaxCustomPresets || values.size() != static_cast<size_t>(kBands)) return false;
  Json::Value& rows = koru::ArrayMember(WritableSection(), "CustomEQHzValueInfo");
  WriteBands(koru::ElementOfType(rows, static_cast<Json::ArrayIndex>(index), Json::arrayValue), values);
  return true;
}
