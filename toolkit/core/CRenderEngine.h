#pragma once
// Drawing primitives over QPainter: colours, image strings, text and borders.
#include <QBrush>
#include <QImage>
#include <cstdint>
#include <unordered_map>
#include <string>
#include <string_view>

#include "toolkit/core/UIDefs.h"

class QPainter;
class CPaintManagerUI;

// A loaded image. width and height are logical pixels; `image` may hold more
// pixels than that when it was rendered for a higher scale (SVG).
struct TImageInfo {
  QImage image;
  int width = 0;
  int height = 0;
  // Light layers tinted in the colours recently drawn, by part and colour: an
  // animated picture shows the same few dozen colours over and over.
  mutable std::unordered_map<std::uint64_t, QImage> tints;
};

// A parsed image string: a bare file name, or
// "file='…' source='l,t,r,b' dest='l,t,r,b' corner='l,t,r,b' fade='n' hole='true'
//  xtiled='true' ytiled='true' mask='#FFFF00FF'".
struct TDrawInfo {
  std::string file;
  UIRect source;
  UIRect dest;
  UIRect corner;
  UIColor mask = 0;
  int fade = 255;
  bool hasSource = false;
  bool hasDest = false;
  bool hole = false;
  bool xtiled = false;
  bool ytiled = false;
};

// The light layer of an image: its shape filled with a colour at a level.
struct TLightLayer {
  std::uint32_t colour = 0;  // 0x00BBGGRR
  int level = 255;
};

class CRenderEngine {
 public:
  static TDrawInfo ParseImageString(std::string_view imageString);
  // The raster engine hands any fill or blend taller than about a hundred
  // device lines to its thread pool, whose hand-offs cost more than the pixels
  // on small machines (an animated picture repaints twenty times a second);
  // large fills and images are therefore drawn in strips of at most this many.
  static constexpr int kMaxStripLines = 60;
  // fillRect in strips, within the painter's clip.
  static void FillInStrips(QPainter& painter, const QRectF& rect, const QBrush& brush);
  static void DrawColor(QPainter& painter, const UIRect& rc, UIColor color);
  static void DrawGradient(QPainter& painter, const UIRect& rc, UIColor from, UIColor to, bool vertical);
  static void DrawBorder(QPainter& painter, const UIRect& rc, int size, UIColor color, UISize round = {});
  static void DrawRoundRect(QPainter& painter, const UIRect& rc, UISize round, UIColor color);
  // Draws an image string inside `item`; `modify` is a second attribute list
  // that overrides the first (a control's state image plus a dest, for example).
  static bool DrawImageString(QPainter& painter, CPaintManagerUI* manager, const UIRect& item,
                              std::string_view image, std::string_view modify = {},
                              const TLightLayer* light = nullptr);
  static bool DrawImage(QPainter& painter, const TImageInfo& info, const UIRect& dest, const TDrawInfo& draw,
                        const TLightLayer* light = nullptr);
  static void DrawText(QPainter& painter, CPaintManagerUI* manager, const UIRect& rc, std::string_view text,
                       UIColor color, int font, unsigned style);
  static UISize MeasureText(CPaintManagerUI* manager, std::string_view text, int font, int maxWidth = 0);
};
