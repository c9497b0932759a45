#pragma once
// One profile document: the device's section ("Device"[index]) of a profile
// file, turned into the records the pages work with. Setters change only the
// in-memory section; nothing reaches the disk before Save.
//
// Reading never harms the file: a missing profile is repaired from the factory
// template, a damaged one is first renamed aside, and values of the wrong type
// or out of range read as the template's value.
#include "profiles/CheckedValue.h"
#include "profiles/JsonFile.h"
#include "profiles/ProfileRecords.h"

#include <json/json.h>

#include <string>
#include <vector>

// What the last LoadSection found and did, for callers that tell the user.
struct ProfileLoadReport {
  JsonFileState fileState = JsonFileState::Missing;
  bool damaged = false;          // unreadable, not JSON, or not shaped like a profile
  std::string keptAsidePath;     // where the damaged file went (empty: not moved)
  bool repaired = false;         // the section came from the template
  bool repairWritten = false;    // and the repaired file was written
};

class CBasicProfiledata {
 public:
  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;
  CBasicProfiledata(const CBasicProfiledata&) = delete;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

  // Writes the current section into the profile file (other keys survive).
  virtual bool Save();
  virtual bool SaveSection(const Json::Value& section, const std::string& path);
  virtual bool SaveReference(const std::string& path);
  virtual bool WriteDocument(const Json::Value& document, const std::string& path);

  void SetProfilePath(const std::string& path);
  const std::string& GetProfilePath() const { return profilePath_; }
  void SetTemplatePath(const std::string& path);
  const std::string& GetTemplatePath() const { return templatePath_; }
  void SetLightLibraryPath(const std::string& path) { lightLibraryPath_ = path; }
  const std::string& GetLightLibraryPath() const { return lightLibraryPath_; }
  void SetDeviceIndex(int index);
  int GetDeviceIndex() const { return static_cast<int>(deviceIndex_); }

  // Loads "Device"[index] of the file as the current section and returns it.
  const Json::Value& LoadSection(const std::string& path);
  const Json::Value& LoadReferenceSection(const std::string& path);
  const ProfileLoadReport& LastLoad() const { return lastLoad_; }
  const Json::Value& CurrentSection() const { return section_; }
  Json::Value LoadLightLibrary(const std::string& path);

  LightInfoData GetLightInfo();
  void SetLightInfo(const LightInfoData& info);
  AudioLightInfoData GetAudioLightInfo();
  void SetAudioLightInfo(const AudioLightInfoData& info);
  std::vector<LightInfoData> GetLightList();
  // Steps of the custom effect that the lighting record (GetLightInfo) selects.
  std::vector<LightEffectStep> GetCustomLightEffect();

  std::vector<KeyListItem> GetKeyList();
  void SetKeyList(const std::vector<KeyListItem>& items);
  std::vector<KeyListItem> GetReferenceKeyList();
  void SetReferenceKeyList(const std::vector<KeyListItem>& items);

 protected:
  // The current section, read against the template's section.
  koru::CheckedValue Checked();
  Json::Value& WritableSection();
  const Json::Value& TemplateSection();

 private:
  const Json::Value& LoadInto(const std::string& path, Json::Value& target);
  std::vector<KeyListItem> ReadKeyList(const Json::Value& section);
  static void WriteKeyList(Json::Value& section, const std::vector<KeyListItem>& items);

  std::string profilePath_;
  std::string templatePath_;
  LightInfoData lightInfo_;
  AudioLightInfoData audioLightInfo_;
  std::vector<LightInfoData> lightList_;
  Json::Value section_;
  Json::Value referenceSection_;
  std::string lightLibraryPath_;
  std::vector<LightEffectStep> effectSteps_;
  Json::Value lightLibrary_;
  std::vector<KeyListItem> keyList_;
  std::vector<KeyListItem> referenceKeyList_;
  Json::ArrayIndex deviceIndex_ = 0;

  Json::Value templateSection_;
  bool templateLoaded_ = false;
  ProfileLoadReport lastLoad_;
};
