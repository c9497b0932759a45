#include "profiles/ProfileDocument.h"

#include "profiles/CheckedValue.h"

#include <array>
#include <utility>

namespace koru {

namespace {

struct KindMarks {
  ProfileKind kind;
  std::array<const char*, 4> keys;
};

constexpr std::array<KindMarks, 3> kKindMarks{{
    {ProfileKind::Keyboard, {"FnKeysetFlag", "CustomLightMode", "AudioLightInfo", nullptr}},
    {ProfileKind::Mouse, {"DPIStages", "ReportStages", "CorrectInfo", nullptr}},
    {ProfileKind::Headset, {"SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo", "CustomEQHzValueInfo"}},
}};

// The containers of a section; everything below them must be numbers or bools.
constexpr std::array<std::pair<const char*, Json::ValueType>, 14> kSectionShapes{{
    {"LightInfo", Json::objectValue},
    {"LightList", Json::arrayValue},
    {"AudioLightInfo", Json::objectValue},
    {"KeyList", Json::arrayValue},
    {"SystemStages", Json::objectValue},
    {"CustomLightMode", Json::objectValue},
    {"DPIStages", Json::objectValue},
    {"ReportStages", Json::objectValue},
    {"CorrectInfo", Json::arrayValue},
    {"SystemSetStages", Json::objectValue},
    {"EQHzValueInfo", Json::arrayValue},
    {"CustomEQNameInfo", Json::arrayValue},
    {"CustomEQHzValueInfo", Json::arrayValue},
    {"FnKeysetFlag", Json::booleanValue},
}};

bool IsNameKey(const std::string& key) { return key == "Name" || key == "CorrectName"; }

bool LeavesAreNumbers(const Json::Value& value, int depth) {
  if (depth > 8) return false;
  if (value.isObject()) {
    for (auto it = value.begin(); it != value.end(); ++it) {
      const std::string key = it.name();
      if (IsNameKey(key) ? !it->isString() : !LeavesAreNumbers(*it, depth + 1)) return false;
    }
    return true;
  }
  if (value.isArray()) {
    for (const auto& element : value)
      if (!LeavesAreNumbers(element, depth + 1)) return false;
    return true;
  }
  return value.isNull() || value.isBool() || value.isNumeric();
}

}  // namespace

bool HasProfileShape(const Json::Value& document, Json::ArrayIndex index) {
  if (!document.isObject()) return false;
  const Json::Value& devices = Member(document, "Device");
  if (devices.isNull()) return true;
  if (!devices.isArray()) return false;
  const Json::Value& section = Element(devices, index);
  return section.isNull() || section.isObject();
}

const Json::Value& DeviceSection(const Json::Value& document, Json::ArrayIndex index) {
  const Json::Value& section = Element(Member(document, "Device"), index);
  return section.isObject() ? section : NullJson();
}

void PutDeviceSection(Json::Value& document, Json::ArrayIndex index, const Json::Value& section) {
  ElementOfType(ArrayMember(document, "Device"), index, Json::objectValue) = section;
}

ProfileKind DetectProfileKind(const Json::Value& section) {
  if (!section.isObject()) return ProfileKind::Unknown;
  ProfileKind found = ProfileKind::MousePad;
  int kinds = 0;
  for (const auto& marks : kKindMarks) {
    for (const char* key : marks.keys) {
      if (key && section.isMember(key)) {
        found = marks.kind;
        ++kinds;
        break;
      }
    }
  }
  if (kinds > 1) return ProfileKind::Unknown;
  if (kinds == 0 && section.isMember("KeyList")) return ProfileKind::Unknown;
  return found;
}

bool HasWellTypedValues(const Json::Value& section) {
  if (!section.isObject()) return false;
  for (const auto& [key, type] : kSectionShapes) {
    const Json::Value& part = Member(section, key);
    if (part.isNull()) continue;
    if (type == Json::booleanValue) {
      int64_t flag = 0;
      if (!ReadInteger(part, 0, 1, flag)) return false;
      continue;
    }
    if (part.type() != type || !LeavesAreNumbers(part, 0)) return false;
  }
  return true;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 200) return false;
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
  return name.find("..") == std::string_view::npos;
}

}  // namespace koru
