#include "profiles/CheckedValue.h"

namespace koru {

namespace {

bool HasType(const Json::Value& value, Json::ValueType type) { return value.type() == type; }

Json::Value& EnsureType(Json::Value& value, Json::ValueType type) {
  if (!HasType(value, type)) value = Json::Value(type);
  return value;
}

}  // namespace

const Json::Value& NullJson() {
  static const Json::Value null;
  return null;
}

const Json::Value& Member(const Json::Value& object, const char* key) {
  if (!object.isObject()) return NullJson();
  const Json::Value* found = object.find(key, key + std::char_traits<char>::length(key));
  return found ? *found : NullJson();
}

const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index) {
  if (!array.isArray() || index >= array.size()) return NullJson();
  return array[index];
}

bool ReadInteger(const Json::Value& value, int64_t min, int64_t max, int64_t& out) {
  int64_t number = 0;
  if (value.isBool()) {
    number = value.asBool() ? 1 : 0;
  } else if (value.isInt64()) {
    number = value.asInt64();
  } else {
    return false;
  }
  if (number < min || number > max) return false;
  out = number;
  return true;
}

CheckedValue CheckedValue::Child(const char* key, Json::ValueType type) const {
  const Json::Value& own = Member(*value_, key);
  const Json::Value& spare = Member(*fallback_, key);
  const Json::Value& usableSpare = HasType(spare, type) ? spare : NullJson();
  if (own.isNull()) return {};
  if (HasType(own, type)) return {own, usableSpare};
  return {usableSpare, NullJson()};
}

CheckedValue CheckedValue::At(Json::ArrayIndex index, Json::ValueType type) const {
  const Json::Value& own = Element(*value_, index);
  const Json::Value& spare = Element(*fallback_, index);
  const Json::Value& usableSpare = HasType(spare, type) ? spare : NullJson();
  if (own.isNull()) return {};
  if (HasType(own, type)) return {own, usableSpare};
  return {usableSpare, NullJson()};
}

int64_t CheckedValue::Integer(const char* key, int64_t min, int64_t max) const {
  const Json::Value& own = Member(*value_, key);
  if (own.isNull()) return 0;
  int64_t number = 0;
  if (ReadInteger(own, min, max, number)) return number;
  if (ReadInteger(Member(*fallback_, key), min, max, number)) return number;
  return 0;
}

bool CheckedValue::Bool(const char* key) const { return Integer(key, 0, 1) != 0; }

std::string CheckedValue::String(const char* key) const {
  const Json::Value& own = Member(*value_, key);
  if (own.isNull()) return {};
  if (own.isString()) return own.asString();
  const Json::Value& spare = Member(*fallback_, key);
  return spare.isString() ? spare.asString() : std::string();
}

Json::Value& ObjectMember(Json::Value& parent, const char* key) {
  return EnsureType(EnsureType(parent, Json::objectValue)[key], Json::objectValue);
}

Json::Value& ArrayMember(Json::Value& parent, const char* key) {
  return EnsureType(EnsureType(parent, Json::objectValue)[key], Json::arrayValue);
}

Json::Value& ElementOfType(Json::Value& array, Json::ArrayIndex index, Json::ValueType type) {
  EnsureType(array, Json::arrayValue);
  while (array.size() <= index) array.append(Json::Value(type));
  return EnsureType(array[index], type);
}

}  // namespace koru
