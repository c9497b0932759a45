#include "toolkit/core/CRenderEngine.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "toolkit/core/CPaintManagerUI.h"

using koru::ui::EqualsNoCase;

namespace {

QColor ToQColor(UIColor c) { return QColor::fromRgba(static_cast<QRgb>(c)); }

QRectF ToQRect(const UIRect& rc) { return QRectF(rc.left, rc.top, rc.GetWidth(), rc.GetHeight()); }

void ApplyAttributes(TDrawInfo& info, std::string_view list) {
  using namespace koru::ui;
  for (const auto& [name, value] : ParseAttributeList(list)) {
    if (EqualsNoCase(name, "file") || EqualsNoCase(name, "res")) info.file = value;
    else if (EqualsNoCase(name, "source")) {
      info.source = ParseRect(value);
      info.hasSource = true;
    } else if (EqualsNoCase(name, "dest")) {
      info.dest = ParseRect(value);
      info.hasDest = true;
    } else if (EqualsNoCase(name, "corner")) info.corner = ParseRect(value);
    else if (EqualsNoCase(name, "mask")) info.mask = ParseColor(value);
    else if (EqualsNoCase(name, "fade")) info.fade = std::clamp(ParseInt(value, 255), 0, 255);
    else if (EqualsNoCase(name, "hole")) info.hole = ParseBool(value);
    else if (EqualsNoCase(name, "xtiled")) info.xtiled = ParseBool(value);
    else if (EqualsNoCase(name, "ytiled")) info.ytiled = ParseBool(value);
  }
}

// A copy of part of the image whose shape is filled with the light colour.
QImage TintedImage(const QImage& src, const QRect& part, std::uint32_t colour) {
  QImage tinted = src.copy(part).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter p(&tinted);
  p.setCompositionMode(QPainter::CompositionMode_SourceIn);
  p.fillRect(tinted.rect(), QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
  return tinted;
}

// The tinted part from the image's cache, made when missing. Parts too large
// for the key are tinted afresh every time. The cache holds a whole colour
// wheel: the waves move every colour on by one position a step, so a step
// shares no colour with the one before, and a smaller cache would miss on
// every light of every step.
const QImage& CachedTint(const TImageInfo& info, const QRect& part, std::uint32_t colour, QImage& scratch) {
  constexpr int kLimit = 1 << 10;
  constexpr size_t kMaxTints = 256;
  if (part.x() < 0 || part.y() < 0 || part.x() >= kLimit || part.y() >= kLimit || part.width() >= kLimit ||
      part.height() >= kLimit) {
    scratch = TintedImage(info.image, part, colour);
    return scratch;
  }
  const std::uint64_t key = std::uint64_t{colour & 0xFFFFFFu} << 40 | std::uint64_t(part.x()) << 30 |
                            std::uint64_t(part.y()) << 20 | std::uint64_t(part.width()) << 10 |
                            std::uint64_t(part.height());
  if (auto it = info.tints.find(key); it != info.tints.end()) return it->second;
  if (info.tints.size() >= kMaxTints) info.tints.clear();
  return info.tints.emplace(key, TintedImage(info.image, part, colour)).first->second;
}

void DrawPart(QPainter& painter, const QImage& image, const QRectF& dest, const QRect& source, bool xtiled,
              bool ytiled) {
  if (dest.isEmpty() || source.isEmpty()) return;
  if (!xtiled && !ytiled) {
    // Images are prepared at the window's scale, so most parts land on the
    // device pixel for pixel: copy them at the nearest pixel (in strips, see
    // kMaxStripLines) instead of through the scaled path, which resamples on
    // every paint.
    const QTransform& transform = painter.worldTransform();
    if (transform.type() <= QTransform::TxScale) {
      const QRectF device = transform.mapRect(dest);
      if (std::abs(device.width() - source.width()) < 1.0 && std::abs(device.height() - source.height()) < 1.0) {
        // Only the transform changes; a full save would copy the whole state.
        const QTransform saved = transform;
        painter.resetTransform();
        const QPoint at(qRound(device.left()), qRound(device.top()));
        if (source.height() <= CRenderEngine::kMaxStripLines) {
          painter.drawImage(at, image, source);
        } else {
          const QRectF clip = painter.hasClipping() ? painter.clipBoundingRect() : QRectF(at, source.size());
          for (int y = 0; y < source.height(); y += CRenderEngine::kMaxStripLines) {
            const int lines = std::min(CRenderEngine::kMaxStripLines, source.height() - y);
            if (at.y() + y + lines <= clip.top() || at.y() + y >= clip.bottom()) continue;
            painter.drawImage(QPoint(at.x(), at.y() + y), image,
                              QRect(source.x(), source.y() + y, source.width(), lines));
          }
        }
        painter.setWorldTransform(saved);
        return;
      }
    }
    painter.drawImage(dest, image, source);
    return;
  }
  // Tiles keep the source size along the tiled axis and stretch along the other.
  double tileW = xtiled ? source.width() : dest.width();
  double tileH = ytiled ? source.height() : dest.height();
  painter.save();
  painter.setClipRect(dest, Qt::IntersectClip);
  for (double y = dest.top(); y < dest.bottom(); y += tileH) {
    for (double x = dest.left(); x < dest.right(); x += tileW) {
      painter.drawImage(QRectF(x, y, tileW, tileH), image, source);
    }
  }
  painter.restore();
}

}  // namespace

TDrawInfo CRenderEngine::ParseImageString(std::string_view imageString) {
  TDrawInfo info;
  std::string_view s = imageString;
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  if (s.find('=') == std::string_view::npos) {
    info.file = s;  // a bare file name
  } else {
    ApplyAttributes(info, s);
  }
  return info;
}

void CRenderEngine::FillInStrips(QPainter& painter, const QRectF& rect, const QBrush& brush) {
  const double strip = kMaxStripLines / std::max(painter.worldTransform().m22(), 1e-3);
  // Most fills are small: no clip to look at.
  if (rect.height() <= strip) {
    painter.fillRect(rect, brush);
    return;
  }
  const QRectF area = painter.hasClipping() ? rect.intersected(painter.clipBoundingRect()) : rect;
  for (double top = area.top(); top < area.bottom(); top += strip)
    painter.fillRect(QRectF(area.left(), top, area.width(), std::min(strip, area.bottom() - top)), brush);
}

void CRenderEngine::DrawColor(QPainter& painter, const UIRect& rc, UIColor color) {
  if (color == 0 || rc.IsEmpty()) return;
  FillInStrips(painter, ToQRect(rc), ToQColor(color));
}

void CRenderEngine::DrawGradient(QPainter& painter, const UIRect& rc, UIColor from, UIColor to, bool vertical) {
  if (rc.IsEmpty()) return;
  QLinearGradient gradient(rc.left, rc.top, vertical ? rc.left : rc.right, vertical ? rc.bottom : rc.top);
  gradient.setColorAt(0, ToQColor(from));
  gradient.setColorAt(1, ToQColor(to));
  FillInStrips(painter, ToQRect(rc), gradient);
}

void CRenderEngine::DrawBorder(QPainter& painter, const UIRect& rc, int size, UIColor color, UISize round) {
  if (size <= 0 || color == 0 || rc.IsEmpty()) return;
  painter.save();
  QPen pen(ToQColor(color));
  pen.setWidthF(size);
  pen.setJoinStyle(Qt::MiterJoin);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  QRectF r = ToQRect(rc).adjusted(size / 2.0, size / 2.0, -size / 2.0, -size / 2.0);
  if (round.cx > 0 || round.cy > 0) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.drawRoundedRect(r, round.cx / 2.0, round.cy / 2.0);
  } else {
    painter.drawRect(r);
  }
  painter.restore();
}

void CRenderEngine::DrawRoundRect(QPainter& painter, const UIRect& rc, UISize round, UIColor color) {
  if (color == 0 || rc.IsEmpty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.setBrush(ToQColor(color));
  painter.drawRoundedRect(ToQRect(rc), round.cx / 2.0, round.cy / 2.0);
  painter.restore();
}

bool CRenderEngine::DrawImageString(QPainter& painter, CPaintManagerUI* manager, const UIRect& item,
                                    std::string_view image, std::string_view modify, const TLightLayer* light) {
  if (!manager || image.empty()) return false;
  TDrawInfo info = manager->GetDrawInfo(image);
  if (!modify.empty()) ApplyAttributes(info, modify);
  if (info.file.empty()) return false;
  std::shared_ptr<const TImageInfo> loaded = manager->GetImageEx(info.file, info.mask);
  if (!loaded) return false;
  UIRect dest = item;
  if (info.hasDest) {
    // dest is relative to the control and never leaves it.
    dest = UIRect{item.left + info.dest.left, item.top + info.dest.top, item.left + info.dest.right,
                  item.top + info.dest.bottom}
               .Intersect(item);
  }
  if (dest.IsEmpty()) return false;
  return DrawImage(painter, *loaded, dest, info, light);
}

bool CRenderEngine::DrawImage(QPainter& painter, const TImageInfo& info, const UIRect& dest, const TDrawInfo& draw,
                              const TLightLayer* light) {
  if (info.image.isNull() || info.width <= 0 || info.height <= 0) return false;
  // Source rectangles are in logical image pixels; a larger source is cut to the image.
  UIRect src = draw.hasSource && !draw.source.IsEmpty() ? draw.source : UIRect{0, 0, info.width, info.height};
  src = src.Intersect({0, 0, info.width, info.height});
  if (src.IsEmpty()) return false;
  double sx = static_cast<double>(info.image.width()) / info.width;
  double sy = static_cast<double>(info.image.height()) / info.height;
  auto px = [&](int l, int t, int r, int b) {
    return QRect(static_cast<int>(l * sx), static_cast<int>(t * sy), static_cast<int>((r - l) * sx),
                 static_cast<int>((b - t) * sy));
  };

  const QImage* source = &info.image;
  QImage scratch;
  QRect whole = px(src.left, src.top, src.right, src.bottom);
  if (light) {
    source = &CachedTint(info, whole, light->colour, scratch);
    whole.moveTo(0, 0);
  }
  // Offsets of the source within `*source`, in image pixels.
  int ox = light ? -static_cast<int>(src.left * sx) : 0;
  int oy = light ? -static_cast<int>(src.top * sy) : 0;

  double opacity = draw.fade / 255.0;
  if (light) opacity *= light->level / 255.0;
  if (opacity <= 0.0) return true;
  // Only the opacity changes here; a full save would copy the painter's state
  // for every light of a picture.
  const double previousOpacity = painter.opacity();
  if (opacity < 1.0) painter.setOpacity(previousOpacity * opacity);

  const UIRect& c = draw.corner;
  bool hasCorner = c.left || c.top || c.right || c.bottom;
  if (!hasCorner) {
    DrawPart(painter, *source, ToQRect(dest), whole, draw.xtiled, draw.ytiled);
  } else {
    // Nine parts: corners keep their size, edges stretch along one axis, the middle along both.
    int cl = std::min(c.left, src.GetWidth()), cr = std::min(c.right, src.GetWidth() - cl);
    int ct = std::min(c.top, src.GetHeight()), cb = std::min(c.bottom, src.GetHeight() - ct);
    int xs[4] = {src.left, src.left + cl, src.right - cr, src.right};
    int ys[4] = {src.top, src.top + ct, src.bottom - cb, src.bottom};
    int xd[4] = {dest.left, dest.left + cl, dest.right - cr, dest.right};
    int yd[4] = {dest.top, dest.top + ct, dest.bottom - cb, dest.bottom};
    for (int row = 0; row < 3; ++row) {
      for (int col = 0; col < 3; ++col) {
        if (row == 1 && col == 1 && draw.hole) continue;
        QRect part = px(xs[col], ys[row], xs[col + 1], ys[row + 1]);
        part.translate(ox, oy);
        QRectF target(xd[col], yd[row], xd[col + 1] - xd[col], yd[row + 1] - yd[row]);
        bool middle = row == 1 && col == 1;
        DrawPart(painter, *source, target, part, middle && draw.xtiled, middle && draw.ytiled);
      }
    }
  }
  if (opacity < 1.0) painter.setOpacity(previousOpacity);
  return true;
}

void CRenderEngine::DrawText(QPainter& painter, CPaintManagerUI* manager, const UIRect& rc, std::string_view text,
                             UIColor color, int font, unsigned style) {
  if (!manager || text.empty() || rc.IsEmpty()) return;
  const QFont& qfont = manager->GetFont(font);
  QString str = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  int flags = 0;
  flags |= (style & UI_TEXT_CENTER) ? Qt::AlignHCenter : (style & UI_TEXT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  flags |= (style & UI_TEXT_VCENTER) ? Qt::AlignVCenter : (style & UI_TEXT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  bool wrap = (style & UI_TEXT_WORDBREAK) && !(style & UI_TEXT_SINGLELINE);
  if (wrap) flags |= Qt::TextWordWrap;
  if ((style & UI_TEXT_END_ELLIPSIS) && !wrap) {
    QFontMetrics metrics(qfont);
    str = metrics.elidedText(str, Qt::ElideRight, rc.GetWidth());
  }
  painter.save();
  painter.setFont(qfont);
  painter.setPen(ToQColor(manager->AdjustColor(color)));
  painter.drawText(ToQRect(rc), flags, str);
  painter.restore();
}

UISize CRenderEngine::MeasureText(CPaintManagerUI* manager, std::string_view text, int font, int maxWidth) {
  if (!manager) return {};
  QFontMetrics metrics(manager->GetFont(font));
  QString str = QString::fromUtf8(text.data(), static_cast<int>(text.size()));
  if (maxWidth > 0) {
    QRect r = metrics.boundingRect(QRect(0, 0, maxWidth, 100000), Qt::TextWordWrap, str);
    return {r.width(), r.height()};
  }
  return {metrics.horizontalAdvance(str), metrics.height()};
}
