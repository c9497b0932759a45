#pragma once
// Safe reading of documents that come from files: lookups never insert keys and
// never throw, and every value is checked for its type and range. A value of
// the wrong type or out of range is replaced by the value at the same place in
// a fallback document (the factory template); a missing value reads as zero.
#include <json/json.h>

#include <cstdint>
#include <string>

namespace koru {

const Json::Value& NullJson();
// Never inserts, never throws: null when the value is not an object or has no such key.
const Json::Value& Member(const Json::Value& object, const char* key);
// Null when the value is not an array or the index is beyond it.
const Json::Value& Element(const Json::Value& array, Json::ArrayIndex index);
// Integral numbers (and bools as 0/1) within [min, max].
bool ReadInteger(const Json::Value& value, int64_t min, int64_t max, int64_t& out);

class CheckedValue {
 public:
  CheckedValue() = default;
  CheckedValue(const Json::Value& value, const Json::Value& fallback) : value_(&value), fallback_(&fallback) {}

  // The child of the wanted type (objectValue or arrayValue): the document's own
  // when it has that type, the fallback's when the document holds something
  // else there, null when the document has nothing there.
  CheckedValue Child(const char* key, Json::ValueType type) const;
  CheckedValue At(Json::ArrayIndex index, Json::ValueType type) const;

  bool IsNull() const { return value_->isNull(); }
  // Number of elements when the value is an array, else 0.
  Json::ArrayIndex Size() const { return value_->isArray() ? value_->size() : 0; }
  const Json::Value& Raw() const { return *value_; }

  int64_t Integer(const char* key, int64_t min, int64_t max) const;
  bool Bool(const char* key) const;
  std::string String(const char* key) const;

 private:
  const Json::Value* value_ = &NullJson();
  const Json::Value* fallback_ = &NullJson();
};

// Writing side: containers are created (or replace a value of another type)
// as needed; gaps in arrays are filled with empty containers, never with nulls.
Json::Value& ObjectMember(Json::Value& parent, const char* key);
Json::Value& ArrayMember(Json::Value& parent, const char* key);
Json::Value& ElementOfType(Json::Value& array, Json::ArrayIndex index, Json::ValueType type);

}  // namespace koru
