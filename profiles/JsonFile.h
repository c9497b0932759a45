#pragma once
// Every JSON file of the program is read and written through JsonFile: whole
// files, parsed without exceptions escaping, written through a temporary file
// and a rename so that a crash leaves either the old or the new document.
#include <json/json.h>

#include <string>
#include <string_view>

// How a read went; callers that repair files need to tell a missing file from
// a damaged one, because a damaged one must be kept aside, never overwritten.
enum class JsonFileState {
  Ok,
  Missing,     // no such file
  Unreadable,  // exists but could not be read
  Malformed,   // read, but not JSON
};

class JsonFile {
 public:
  // The file's bytes up to the first NUL; empty when it cannot be read.
  static std::string ReadText(const std::string& path);
  // Null when the file is missing, unreadable or not JSON.
  static Json::Value ReadJson(const std::string& path);
  // Like ReadJson, but says why nothing came back.
  static JsonFileState ReadJson(const std::string& path, Json::Value& out);
  // Parses text; false (and a null value) for anything that is not one JSON value.
  static bool ParseJson(std::string_view text, Json::Value& out);
  // Whether a write waits until the data is on the disk before the rename. Files
  // that can be rebuilt from others (the profile list) skip the wait, which
  // costs milliseconds on a real disk.
  enum class Sync { ToDisk, NoWait };

  // The styled writer's layout, one more line end at the end. False when the
  // file could not be written; the previous file is then left as it was.
  static bool WriteJson(const std::string& path, const Json::Value& value, Sync sync = Sync::ToDisk);
  static std::string StyledText(const Json::Value& value);
  // Writes bytes whole through a temporary file beside the target and a rename.
  static bool WriteFileAtomically(const std::string& path, std::string_view bytes, Sync sync = Sync::ToDisk);
  // Renames a damaged file out of the way ("name.damaged-<time stamp>") and
  // returns the new path, or an empty string when it could not be moved.
  static std::string KeepAside(const std::string& path);
  // File name without folder and extension: "/a/b/Gaming.json" -> "Gaming".
  static std::string FileTitle(const std::string& path);
};
