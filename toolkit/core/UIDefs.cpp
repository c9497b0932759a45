#include "toolkit/core/UIDefs.h"

#include <algorithm>
#include <cctype>
#include <charconv>

UIRect UIRect::Intersect(const UIRect& o) const {
  UIRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

UIRect UIRect::Union(const UIRect& o) const {
  if (IsEmpty()) return o;
  if (o.IsEmpty()) return *this;
  return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
}

namespace koru::ui {

namespace {
std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Reads up to `count` comma-separated integers.
int ParseInts(std::string_view s, int* out, int count) {
  int n = 0;
  while (n < count) {
    s = Trim(s);
    if (s.empty()) break;
    size_t comma = s.find(',');
    out[n++] = ParseInt(s.substr(0, comma));
    if (comma == std::string_view::npos) break;
    s.remove_prefix(comma + 1);
  }
  return n;
}
}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

std::string ToLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool ParseBool(std::string_view s) {
  s = Trim(s);
  return EqualsNoCase(s, "true") || s == "1" || EqualsNoCase(s, "yes");
}

int ParseInt(std::string_view s, int fallback) {
  s = Trim(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  int value = fallback;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (ec != std::errc()) return fallback;
  (void)ptr;
  return value;
}

UIRect ParseRect(std::string_view s) {
  int v[4] = {0, 0, 0, 0};
  ParseInts(s, v, 4);
  return {v[0], v[1], v[2], v[3]};
}

UISize ParseSize(std::string_view s) {
  int v[2] = {0, 0};
  ParseInts(s, v, 2);
  return {v[0], v[1]};
}

UIColor ParseColor(std::string_view s) {
  s = Trim(s);
  if (!s.empty() && s.front() == '#') s.remove_prefix(1);
  else if (s.size() > 1 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  std::uint32_t value = 0;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, 16);
  if (ec != std::errc()) return 0;
  if (ptr - s.data() <= 6) value |= 0xFF000000u;
  return value;
}

std::vector<std::pair<std::string, std::string>> ParseAttributeList(std::string_view list) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    size_t nameStart = i;
    while (i < list.size() && list[i] != '=' && !std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    std::string name(list.substr(nameStart, i - nameStart));
    while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    if (i >= list.size() || list[i] != '=') {
      if (!name.empty()) out.emplace_back(std::move(name), std::string());
      if (i < list.size()) ++i;
      continue;
    }
    ++i;  // '='
    while (i < list.size() && std::isspace(static_cast<unsigned char>(list[i]))) ++i;
    if (i >= list.size()) { out.emplace_back(std::move(name), std::string()); break; }
    char quote = list[i];
    std::string value;
    if (quote == '"' || quote == '\'') {
      size_t end = list.find(quote, i + 1);
      if (end == std::string_view::npos) end = list.size();
      value = std::string(list.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t start = i;
      while (i < list.size() && !std::isspace(static_cast<unsigned char>(list[i]))) ++i;
      value = std::string(list.substr(start, i - start));
    }
    if (!name.empty()) out.emplace_back(std::move(name), std::move(value));
  }
  return out;
}

std::string NormalizePath(std::string_view path) {
  std::string out(path);
  std::replace(out.begin(), out.end(), '\\', '/');
  return out;
}

std::string JoinPath(std::string_view folder, std::string_view relative) {
  std::string rel = NormalizePath(relative);
  if (folder.empty() || (!rel.empty() && rel.front() == '/')) return rel;
  std::string out = NormalizePath(folder);
  if (out.back() != '/') out += '/';
  return out + rel;
}

}  // namespace koru::ui
