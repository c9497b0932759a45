#pragma once
// Tables that tie the integer fields of a record to their JSON keys, so that
// each record is read, checked and written by one loop instead of by hand.
#include "profiles/CheckedValue.h"

#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>

namespace koru {

template <class Record>
struct RecordField {
  const char* key;
  int64_t min;
  int64_t max;
  void (*store)(Record&, int64_t);
  int64_t (*load)(const Record&);
};

// A field whose range is its member's type, or [min, max] when given.
template <class Record, auto Member>
constexpr RecordField<Record> Field(const char* key,
                                    int64_t min = std::numeric_limits<std::remove_cvref_t<
                                        decltype(std::declval<Record&>().*Member)>>::min(),
                                    int64_t max = std::numeric_limits<std::remove_cvref_t<
                                        decltype(std::declval<Record&>().*Member)>>::max()) {
  using T = std::remove_cvref_t<decltype(std::declval<Record&>().*Member)>;
  return {key, min, max, +[](Record& record, int64_t value) { record.*Member = static_cast<T>(value); },
          +[](const Record& record) { return static_cast<int64_t>(record.*Member); }};
}

template <class Record>
void ReadFields(const CheckedValue& object, Record& record, std::span<const RecordField<Record>> fields) {
  for (const auto& field : fields) field.store(record, object.Integer(field.key, field.min, field.max));
}

template <class Record>
void WriteFields(Json::Value& object, const Record& record, std::span<const RecordField<Record>> fields) {
  for (const auto& field : fields) object[field.key] = Json::Value(static_cast<Json::Int64>(field.load(record)));
}

}  // namespace koru
