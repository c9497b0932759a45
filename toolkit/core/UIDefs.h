#pragma once
// Plain geometry and colour types of the toolkit, and the small parsers the
// markup attributes need. Coordinates are logical pixels at 96 DPI; the paint
// manager scales them when it renders or receives input.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct UIPoint {
  int x = 0;
  int y = 0;
  bool operator==(const UIPoint&) const = default;
};

struct UISize {
  int cx = 0;
  int cy = 0;
  bool operator==(const UISize&) const = default;
};

struct UIRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const UIRect&) const = default;

  int GetWidth() const { return right - left; }
  int GetHeight() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(UIPoint pt) const { return pt.x >= left && pt.x < right && pt.y >= top && pt.y < bottom; }
  bool Intersects(const UIRect& o) const {
    return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
  }
  UIRect Intersect(const UIRect& o) const;
  UIRect Union(const UIRect& o) const;
  UIRect Deflate(const UIRect& inset) const {
    return {left + inset.left, top + inset.top, right - inset.right, bottom - inset.bottom};
  }
  void Offset(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
  UIPoint Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
};

// Colours are 32-bit ARGB words (0xAARRGGBB); 0 means "no colour".
using UIColor = std::uint32_t;

// Text layout flags of labels and buttons.
enum UITextStyle : unsigned {
  UI_TEXT_LEFT = 0x0000,
  UI_TEXT_CENTER = 0x0001,
  UI_TEXT_RIGHT = 0x0002,
  UI_TEXT_TOP = 0x0000,
  UI_TEXT_VCENTER = 0x0004,
  UI_TEXT_BOTTOM = 0x0008,
  UI_TEXT_WORDBREAK = 0x0010,
  UI_TEXT_SINGLELINE = 0x0020,
  UI_TEXT_END_ELLIPSIS = 0x8000,
};

namespace koru::ui {

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLower(std::string_view s);
bool ParseBool(std::string_view s);
int ParseInt(std::string_view s, int fallback = 0);
// "l,t,r,b"; missing numbers stay 0.
UIRect ParseRect(std::string_view s);
// "cx,cy"
UISize ParseSize(std::string_view s);
// "#FFRRGGBB", "0xFFRRGGBB", "FFRRGGBB"; six digits get an opaque alpha.
UIColor ParseColor(std::string_view s);
// Splits `name="value" name2='value2'` lists as used by styles, defaults and image strings.
std::vector<std::pair<std::string, std::string>> ParseAttributeList(std::string_view list);
// Markup paths use either separator; a backslash names the same file on every platform.
std::string NormalizePath(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view relative);

}  // namespace koru::ui
