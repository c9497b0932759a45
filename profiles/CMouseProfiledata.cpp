#include "profiles/CMouseProfiledata.h"

#include "profiles/RecordFields.h"

#include <algorithm>
#include <array>

using koru::Field;
using koru::RecordField;

namespace {

constexpr std::array<RecordField<DpiStage>, 7> kStageFields{{
    Field<DpiStage, &DpiStage::active>("StageActive", 0, 1),
    Field<DpiStage, &DpiStage::xyMode>("StageXY", 0, 1),
    Field<DpiStage, &DpiStage::dpiX>("StageDPIX"),
    Field<DpiStage, &DpiStage::dpiY>("StageDPIY"),
    Field<DpiStage, &DpiStage::red>("StageColorR"),
    Field<DpiStage, &DpiStage::green>("StageColorG"),
    Field<DpiStage, &DpiStage::blue>("StageColorB"),
}};

constexpr std::array<RecordField<MouseSystemStages>, 5> kSystemFields{{
    Field<MouseSystemStages, &MouseSystemStages::doubleClickTime>("DoubleClickTime"),
    Field<MouseSystemStages, &MouseSystemStages::mouseSpeed>("MouseSpeed"),
    Field<MouseSystemStages, &MouseSystemStages::pointerPrecision>("PointerPrecision"),
    Field<MouseSystemStages, &MouseSystemStages::scrollPage>("ScorllPage"),
    Field<MouseSystemStages, &MouseSystemStages::wheelScrollLines>("WheelScorlllinse"),
}};

constexpr std::array<RecordField<MouseSystemStages>, 1> kReportFields{{
    Field<MouseSystemStages, &MouseSystemStages::reportRate>("StageActive"),
}};

constexpr std::array<RecordField<CorrectItem>, 3> kCorrectFields{{
    Field<CorrectItem, &CorrectItem::pixThresh>("CorrectPixThresh"),
    Field<CorrectItem, &CorrectItem::minSq>("CorrectMinSq"),
    Field<CorrectItem, &CorrectItem::select>("CorrectSelect"),
}};

constexpr Json::ArrayIndex kMaxListedStages = 16;
constexpr Json::ArrayIndex kMaxCorrectItems = 64;

}  // namespace

std::vector<DpiStage> CMouseProfiledata::GetDpiStages() {
  const auto stages = Checked().Child("DPIStages", Json::objectValue);
  activeDpiStage_ = static_cast<int>(stages.Integer("StageActive", 0, kMaxDpiStages - 1));
  const auto list = stages.Child("StageDPIs", Json::arrayValue);
  dpiStages_.assign(std::min(list.Size(), kMaxListedStages), DpiStage{});
  for (Json::ArrayIndex i = 0; i < dpiStages_.size(); ++i)
    koru::ReadFields<DpiStage>(list.At(i, Json::objectValue), dpiStages_[i], kStageFields);
  return dpiStages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
  dpiStages_ = stages;
  Json::Value& list = koru::ArrayMember(koru::ObjectMember(WritableSection(), "DPIStages"), "StageDPIs");
  for (Json::ArrayIndex i = 0; i < stages.size(); ++i)
    koru::WriteFields<DpiStage>(koru::ElementOfType(list, i, Json::objectValue), stages[i], kStageFields);
  // The list is the whole set: stages dropped here must not come back on the next load.
  list.resize(static_cast<Json::ArrayIndex>(stages.size()));
}

void CMouseProfiledata::SetActiveDpiStage(int stage) {
  activeDpiStage_ = stage;
  koru::ObjectMember(WritableSection(), "DPIStages")["StageActive"] = Json::Value(stage);
}

MouseSystemStages CMouseProfiledata::GetMouseSystemStages() {
  systemStages_ = {};
  const auto section = Checked();
  koru::ReadFields<MouseSystemStages>(section.Child("SystemStages", Json::objectValue), systemStages_, kSystemFields);
  koru::ReadFields<MouseSystemStages>(section.Child("ReportStages", Json::objectValue), systemStages_, kReportFields);
  return systemStages_;
}

void CMouseProfiledata::SetMouseSystemStages(const MouseSystemStages& stages) {
  systemStages_ = stages;
  Json::Value& section = WritableSection();
  koru::WriteFields<MouseSystemStages>(koru::ObjectMember(section, "SystemStages"), stages, kSystemFields);
  koru::WriteFields<MouseSystemStages>(koru::ObjectMember(section, "ReportStages"), stages, kReportFields);
}

std::vector<CorrectItem> CMouseProfiledata::GetCorrectInfo() {
  const auto list = Checked().Child("CorrectInfo", Json::arrayValue);
  correctItems_.assign(std::min(list.Size(), kMaxCorrectItems), CorrectItem{});
  for (Json::ArrayIndex i = 0; i < correctItems_.size(); ++i) {
    const auto item = list.At(i, Json::objectValue);
    koru::ReadFields<CorrectItem>(item, correctItems_[i], kCorrectFields);
    correctItems_[i].name = item.String("CorrectName");
  }
  return correctItems_;
}
