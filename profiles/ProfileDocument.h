#pragma once
// Shape rules of profile files: {"Device": [section, ...], "profilename": ...,
// "profileUUID": ...}. Shared by the profile documents, the list store and import.
#include <json/json.h>

#include <string>
#include <string_view>

namespace koru {

enum class ProfileKind { Unknown, Keyboard, Mouse, MousePad, Headset };

// True when the document can hold a section at index without losing anything:
// an object whose "Device" is absent or an array whose element is absent, null
// or an object.
bool HasProfileShape(const Json::Value& document, Json::ArrayIndex index);
// "Device"[index] when it is an object, else null. Never inserts.
const Json::Value& DeviceSection(const Json::Value& document, Json::ArrayIndex index);
// Sets "Device"[index]; earlier gaps get empty sections, never nulls.
void PutDeviceSection(Json::Value& document, Json::ArrayIndex index, const Json::Value& section);

// The kind of device a section was made for, from the sections only that kind has.
// A section with the marks of two kinds, or with a key list but no other mark, is Unknown.
ProfileKind DetectProfileKind(const Json::Value& section);
// Every known part has its shape (objects, arrays) and every leaf is a number or
// a bool, except the names, which are strings.
bool HasWellTypedValues(const Json::Value& section);

// A name usable as a file name inside a folder: no separators, no "..", no NUL.
bool IsPlainFileName(std::string_view name);

}  // namespace koru
