#include "profiles/CBasicProfiledata.h"

#include "platform/DebugOutput.h"
#include "profiles/ProfileDocument.h"
#include "profiles/RecordFields.h"

#include <array>

using koru::CheckedValue;
using koru::Field;
using koru::RecordField;

namespace {

constexpr int64_t kMaxAssignment = 0xFFFFFF;

constexpr std::array<RecordField<LightInfoData>, 14> kLightInfoFields{{
    Field<LightInfoData, &LightInfoData::selectItem>("SelectItem"),
    Field<LightInfoData, &LightInfoData::light>("Light"),
    Field<LightInfoData, &LightInfoData::speed>("Speed"),
    Field<LightInfoData, &LightInfoData::fx>("Fx"),
    Field<LightInfoData, &LightInfoData::multiColor>("MultiColor"),
    Field<LightInfoData, &LightInfoData::red>("Red"),
    Field<LightInfoData, &LightInfoData::green>("Green"),
    Field<LightInfoData, &LightInfoData::blue>("Blue"),
    Field<LightInfoData, &LightInfoData::zzccLedMode>("ZZCCLedMode"),
    Field<LightInfoData, &LightInfoData::customGroup>("CustomGroup"),
    Field<LightInfoData, &LightInfoData::oldLedMode>("OldLedmode"),
    Field<LightInfoData, &LightInfoData::voiceLedModeSwitch>("byVoiceLedmodeSwith"),
    Field<LightInfoData, &LightInfoData::voiceLedMode>("byVoiceLedmode"),
    Field<LightInfoData, &LightInfoData::voiceSensitivity>("byVoiceSensitivity"),
}};

// The light list and the custom effect steps share these eight keys.
constexpr std::array<RecordField<LightInfoData>, 8> kLightEntryFields{{
    Field<LightInfoData, &LightInfoData::selectItem>("LEDREGMode"),
    Field<LightInfoData, &LightInfoData::light>("LEDBrightness"),
    Field<LightInfoData, &LightInfoData::speed>("LEDSpeed"),
    Field<LightInfoData, &LightInfoData::fx>("LEDDirection"),
    Field<LightInfoData, &LightInfoData::multiColor>("LEDMultiColor"),
    Field<LightInfoData, &LightInfoData::red>("red"),
    Field<LightInfoData, &LightInfoData::green>("green"),
    Field<LightInfoData, &LightInfoData::blue>("blue"),
}};

constexpr std::array<RecordField<LightEffectStep>, 2> kEffectStepFields{{
    Field<LightEffectStep, &LightEffectStep::time>("Time", 0),
    Field<LightEffectStep, &LightEffectStep::cycle>("Cyle"),
}};

constexpr std::array<RecordField<AudioLightInfoData>, 9> kAudioLightFields{{
    Field<AudioLightInfoData, &AudioLightInfoData::audioMode>("AudioMode"),
    Field<AudioLightInfoData, &AudioLightInfoData::bkColorR>("BkColorR"),
    Field<AudioLightInfoData, &AudioLightInfoData::bkColorG>("BkColorG"),
    Field<AudioLightInfoData, &AudioLightInfoData::bkColorB>("BkColorB"),
    Field<AudioLightInfoData, &AudioLightInfoData::fgColorR>("FgColorR"),
    Field<AudioLightInfoData, &AudioLightInfoData::fgColorG>("FgColorG"),
    Field<AudioLightInfoData, &AudioLightInfoData::fgColorB>("FgColorB"),
    Field<AudioLightInfoData, &AudioLightInfoData::sevenColorFlags>("7ColorFlags"),
    Field<AudioLightInfoData, &AudioLightInfoData::colorTypeFlags>("ColorTypeFlags"),
}};

Json::Value ReadTemplateSection(const std::string& path, Json::ArrayIndex index) {
  if (path.empty()) return {};
  Json::Value document;
  JsonFile::ReadJson(path, document);
  return koru::DeviceSection(document, index);
}

// The folder part of a path, with its trailing separator; empty when there is none.
std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

bool CBasicProfiledata::Save() { return SaveSection(section_, profilePath_); }

bool CBasicProfiledata::SaveReference(const std::string& path) { return SaveSection(referenceSection_, path); }

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const std::string& path) {
  return !path.empty() && JsonFile::WriteJson(path, document);
}

bool CBasicProfiledata::SaveSection(const Json::Value& section, const std::string& path) {
  // A section that never loaded would write an empty "Device" over the profile.
  if (path.empty() || !section.isObject()) return false;
  Json::Value document;
  const JsonFileState state = JsonFile::ReadJson(path, document);
  if (state != JsonFileState::Missing && !koru::HasProfileShape(document, deviceIndex_)) {
    if (JsonFile::KeepAside(path).empty()) return false;
    if (!document.isObject()) document = Json::Value(Json::objectValue);
    document.removeMember("Device");
  }
  koru::PutDeviceSection(document, deviceIndex_, section);
  return JsonFile::WriteJson(path, document);
}

void CBasicProfiledata::SetProfilePath(const std::string& path) {
  if (!path.empty()) profilePath_ = path;
}

void CBasicProfiledata::SetTemplatePath(const std::string& path) {
  if (path.empty() || path == templatePath_) return;
  templatePath_ = path;
  templateLoaded_ = false;
}

void CBasicProfiledata::SetDeviceIndex(int index) {
  // Every device page uses section 0; a bad index would address nothing sensible.
  deviceIndex_ = index >= 0 && index < 16 ? static_cast<Json::ArrayIndex>(index) : 0;
  templateLoaded_ = false;
}

const Json::Value& CBasicProfiledata::TemplateSection() {
  if (!templateLoaded_) {
    templateSection_ = ReadTemplateSection(templatePath_, deviceIndex_);
    templateLoaded_ = true;
  }
  return templateSection_;
}

CheckedValue CBasicProfiledata::Checked() { return CheckedValue(section_, TemplateSection()); }

Json::Value& CBasicProfiledata::WritableSection() {
  if (!section_.isObject()) section_ = Json::Value(Json::objectValue);
  return section_;
}

const Json::Value& CBasicProfiledata::LoadSection(const std::string& path) { return LoadInto(path, section_); }

const Json::Value& CBasicProfiledata::LoadReferenceSection(const std::string& path) {
  return LoadInto(path, referenceSection_);
}

const Json::Value& CBasicProfiledata::LoadInto(const std::string& path, Json::Value& target) {
  lastLoad_ = {};
  Json::Value document;
  lastLoad_.fileState = JsonFile::ReadJson(path, document);
  if (lastLoad_.fileState == JsonFileState::Ok && koru::HasProfileShape(document, deviceIndex_) &&
      koru::DeviceSection(document, deviceIndex_).isObject()) {
    // The document is ours to take apart: move the section out instead of copying it.
    target.swap(document["Device"][deviceIndex_]);
    return target;
  }

  // Nothing usable: repair from the template, after moving a damaged file aside.
  bool mayWrite = !path.empty();
  if (lastLoad_.fileState != JsonFileState::Missing && !koru::HasProfileShape(document, deviceIndex_)) {
    lastLoad_.damaged = true;
    lastLoad_.keptAsidePath = JsonFile::KeepAside(path);
    mayWrite = mayWrite && !lastLoad_.keptAsidePath.empty();
    // Keep what can be kept of a parsable document (its name and UUID).
    if (!document.isObject()) document = Json::Value(Json::objectValue);
    document.removeMember("Device");
  }
  const Json::Value& factory = TemplateSection();
  if (!factory.isObject()) {
    // No template either: the file stays as it is and the getters give defaults.
    if (koru::DebugOutputEnabled()) koru::DebugOutput("profile: no template to repair " + path);
    target = Json::Value();
    return target;
  }
  target = factory;
  lastLoad_.repaired = true;
  if (mayWrite) {
    koru::PutDeviceSection(document, deviceIndex_, factory);
    lastLoad_.repairWritten = JsonFile::WriteJson(path, document);
  }
  return target;
}

Json::Value CBasicProfiledata::LoadLightLibrary(const std::string& path) {
  lightLibrary_ = JsonFile::ReadJson(path);
  return lightLibrary_;
}

LightInfoData CBasicProfiledata::GetLightInfo() {
  lightInfo_ = {};
  koru::ReadFields<LightInfoData>(Checked().Child("LightInfo", Json::objectValue), lightInfo_, kLightInfoFields);
  return lightInfo_;
}

void CBasicProfiledata::SetLightInfo(const LightInfoData& info) {
  lightInfo_ = info;
  Json::Value object(Json::objectValue);
  koru::WriteFields<LightInfoData>(object, info, kLightInfoFields);
  WritableSection()["LightInfo"] = std::move(object);
}

AudioLightInfoData CBasicProfiledata::GetAudioLightInfo() {
  audioLightInfo_ = {};
  koru::ReadFields<AudioLightInfoData>(Checked().Child("AudioLightInfo", Json::objectValue), audioLightInfo_,
                                       kAudioLightFields);
  return audioLightInfo_;
}

void CBasicProfiledata::SetAudioLightInfo(const AudioLightInfoData& info) {
  audioLightInfo_ = info;
  Json::Value object(Json::objectValue);
  koru::WriteFields<AudioLightInfoData>(object, info, kAudioLightFields);
  WritableSection()["AudioLightInfo"] = std::move(object);
}

std::vector<LightInfoData> CBasicProfiledata::GetLightList() {
  const CheckedValue list = Checked().Child("LightList", Json::arrayValue);
  lightList_.assign(list.Size(), LightInfoData{});
  for (Json::ArrayIndex i = 0; i < list.Size(); ++i) {
    const CheckedValue entry = list.At(i, Json::objectValue);
    if (entry.IsNull()) continue;
    koru::ReadFields<LightInfoData>(entry, lightList_[i], kLightEntryFields);
    lightList_[i].valid = 1;
  }
  return lightList_;
}

std::vector<LightEffectStep> CBasicProfiledata::GetCustomLightEffect() {
  effectSteps_.clear();
  const Json::Value& entry =
      koru::Element(koru::Element(koru::Member(lightLibrary_, "LightInfo"), deviceIndex_), lightInfo_.selectItem);
  const Json::Value& guid = koru::Member(entry, "Guid");
  const std::string folder = FolderOf(lightLibraryPath_);
  // The effect file lies beside the light library; a name that leads elsewhere is refused.
  if (!guid.isString() || !koru::IsPlainFileName(guid.asString()) || folder.empty()) return effectSteps_;
  const Json::Value document = JsonFile::ReadJson(folder + guid.asString() + ".light");
  const CheckedValue steps = CheckedValue(document, koru::NullJson()).Child("LEDEffectList", Json::arrayValue);
  effectSteps_.resize(steps.Size());
  for (Json::ArrayIndex i = 0; i < steps.Size(); ++i) {
    const CheckedValue step = steps.At(i, Json::objectValue);
    koru::ReadFields<LightInfoData>(step, effectSteps_[i].light, kLightEntryFields);
    koru::ReadFields<LightEffectStep>(step, effectSteps_[i], kEffectStepFields);
  }
  return effectSteps_;
}

std::vector<KeyListItem> CBasicProfiledata::ReadKeyList(const Json::Value& section) {
  const CheckedValue list = CheckedValue(section, TemplateSection()).Child("KeyList", Json::arrayValue);
  const Json::ArrayIndex count = std::min<Json::ArrayIndex>(list.Size(), 0x10000);
  std::vector<KeyListItem> items(count);
  for (Json::ArrayIndex i = 0; i < count; ++i) {
    const CheckedValue item = list.At(i, Json::objectValue);
    const auto key = static_cast<uint16_t>(i);
    items[i].fnAssignment =
        KeyAssignment::FromPacked(key, static_cast<uint32_t>(item.Integer("FnAssignment", 0, kMaxAssignment)));
    items[i].assignment =
        KeyAssignment::FromPacked(key, static_cast<uint32_t>(item.Integer("Assignment", 0, kMaxAssignment)));
    items[i].defaultAssignment =
        KeyAssignment::FromPacked(key, static_cast<uint32_t>(item.Integer("DefaultAssignment", 0, kMaxAssignment)));
  }
  return items;
}

void CBasicProfiledata::WriteKeyList(Json::Value& section, const std::vector<KeyListItem>& items) {
  Json::Value& list = koru::ArrayMember(section, "KeyList");
  for (Json::ArrayIndex i = 0; i < items.size(); ++i) {
    Json::Value& item = koru::ElementOfType(list, i, Json::objectValue);
    item["Assignment"] = Json::Value(items[i].assignment.Packed());
    item["FnAssignment"] = Json::Value(items[i].fnAssignment.Packed());
    // The default belongs to the template; only an entry that never had one gets it.
    if (!item.isMember("DefaultAssignment")) item["DefaultAssignment"] = Json::Value(items[i].defaultAssignment.Packed());
  }
}

std::vector<KeyListItem> CBasicProfiledata::GetKeyList() {
  keyList_ = ReadKeyList(section_);
  return keyList_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyListItem>& items) {
  keyList_ = items;
  WriteKeyList(WritableSection(), items);
}

std::vector<KeyListItem> CBasicProfiledata::GetReferenceKeyList() {
  referenceKeyList_ = ReadKeyList(referenceSection_);
  return referenceKeyList_;
}

void CBasicProfiledata::SetReferenceKeyList(const std::vector<KeyListItem>& items) {
  referenceKeyList_ = items;
  if (!referenceSection_.isObject()) referenceSection_ = Json::Value(Json::objectValue);
  WriteKeyList(referenceSection_, items);
}
