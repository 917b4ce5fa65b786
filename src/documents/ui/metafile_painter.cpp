#include "documents/ui/metafile_painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

QColor qcolor(const wmf::Color& c) { return QColor(c.r, c.g, c.b); }

QRectF qrect(const wmf::RectF& r) {
  return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
}

QBrush qbrush(const wmf::Brush& b) {
  switch (b.style) {
    case wmf::BrushStyle::Null:
      return Qt::NoBrush;
    case wmf::BrushStyle::Hatched: {
      Qt::BrushStyle s = Qt::HorPattern;
      switch (b.hatch) {
        case wmf::kHatchVertical:
          s = Qt::VerPattern;
          break;
        case wmf::kHatchForwardDiagonal:
          s = Qt::FDiagPattern;
          break;
        case wmf::kHatchBackwardDiagonal:
          s = Qt::BDiagPattern;
          break;
        case wmf::kHatchCross:
          s = Qt::CrossPattern;
          break;
        case wmf::kHatchDiagonalCross:
          s = Qt::DiagCrossPattern;
          break;
        default:
          break;
      }
      return QBrush(qcolor(b.color), s);
    }
    case wmf::BrushStyle::Pattern:
      if (b.pattern && b.pattern->width > 0 && b.pattern->height > 0) {
        const QImage img(reinterpret_cast<const uchar*>(b.pattern->pixels.data()), b.pattern->width,
                         b.pattern->height, b.pattern->width * 4, QImage::Format_RGB32);
        return QBrush(img.copy());
      }
      return QBrush(Qt::black);
    case wmf::BrushStyle::Solid:
      break;
  }
  return QBrush(qcolor(b.color));
}

QPen qpen(const wmf::Pen& pen) {
  if (pen.style == wmf::PenStyle::Null) return Qt::NoPen;
  Qt::PenStyle s = Qt::SolidLine;
  switch (pen.style) {
    case wmf::PenStyle::Dash:
      s = Qt::DashLine;
      break;
    case wmf::PenStyle::Dot:
      s = Qt::DotLine;
      break;
    case wmf::PenStyle::DashDot:
      s = Qt::DashDotLine;
      break;
    case wmf::PenStyle::DashDotDot:
      s = Qt::DashDotDotLine;
      break;
    default:
      break;
  }
  return QPen(qcolor(pen.color), pen.width, s, Qt::RoundCap, Qt::RoundJoin);
}

QImage qimage(const wmf::Image& image) {
  return QImage(reinterpret_cast<const uchar*>(image.pixels.data()), image.width, image.height,
                image.width * 4, QImage::Format_RGB32);
}

// The composition mode of a raster operation that combines source and
// destination; SourceOver for a plain copy.
QPainter::CompositionMode modeOf(int rop) {
  switch (rop) {
    case wmf::kRopSrcAnd:
      return QPainter::RasterOp_SourceAndDestination;
    case wmf::kRopSrcPaint:
      return QPainter::RasterOp_SourceOrDestination;
    case wmf::kRopSrcInvert:
    case wmf::kRopPatInvert:
      return QPainter::RasterOp_SourceXorDestination;
    case wmf::kRopSrcErase:
      return QPainter::RasterOp_SourceAndNotDestination;
    case wmf::kRopNotSrcErase:
      return QPainter::RasterOp_NotSourceAndNotDestination;
    case wmf::kRopMergePaint:
      return QPainter::RasterOp_NotSourceOrDestination;
    case wmf::kRopDstInvert:
      return QPainter::RasterOp_NotDestination;
    default:
      return QPainter::CompositionMode_SourceOver;
  }
}

}  // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter)
    : p_(painter), baseClipping_(painter.hasClipping()) {
  p_.save();
  if (baseClipping_) baseClip_ = p_.clipPath();
  p_.setRenderHint(QPainter::Antialiasing, true);
  p_.setRenderHint(QPainter::TextAntialiasing, true);
  p_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterCanvas::~QPainterCanvas() { p_.restore(); }

void QPainterCanvas::drawPath(const std::vector<std::vector<wmf::PointF>>& subpaths, bool closed,
                              const wmf::Paint& paint) {
  QPainterPath path;
  path.setFillRule(paint.winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const auto& s : subpaths) {
    if (s.empty()) continue;
    path.moveTo(s.front().x, s.front().y);
    for (std::size_t i = 1; i < s.size(); ++i) path.lineTo(s[i].x, s[i].y);
    if (closed) path.closeSubpath();
  }
  p_.setBackgroundMode(paint.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
  p_.setBackground(qcolor(paint.background));
  p_.setPen(qpen(paint.pen));
  p_.setBrush(closed ? qbrush(paint.brush) : QBrush(Qt::NoBrush));
  if (closed && paint.brush.style == wmf::BrushStyle::Pattern) {
    // Patterns are aligned on the device origin, as the brush origin is.
    p_.setBrushOrigin(0, 0);
  }
  p_.drawPath(path);
}

double QPainterCanvas::drawText(const wmf::TextRun& run) {
  const QString text = fromAnsi(run.bytes);
  QFont font(run.font.face.empty() ? QStringLiteral("Arial") : fromAnsi(run.font.face));
  font.setStyleHint(QFont::SansSerif);
  double pixels = std::fabs(run.font.height);
  if (pixels == 0) pixels = 12;
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  if (run.font.height > 0) {
    // A positive height is the cell height (ascent plus descent).
    const double cell = QFontMetricsF(font).height();
    if (cell > 0) font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels * pixels / cell))));
  }
  font.setWeight(static_cast<QFont::Weight>(std::clamp(run.font.weight == 0 ? 400 : run.font.weight, 1, 1000)));
  font.setItalic(run.font.italic);
  font.setUnderline(run.font.underline);
  font.setStrikeOut(run.font.strikeOut);
  if (run.font.width > 0) {
    const double average = QFontMetricsF(font).averageCharWidth();
    if (average > 0) font.setStretch(std::clamp(static_cast<int>(run.font.width / average * 100), 1, 4000));
  }
  const QFontMetricsF fm(font);

  double width = 0;
  if (!run.advances.empty()) {
    for (double a : run.advances) width += a;
  } else {
    width = fm.horizontalAdvance(text);
  }

  p_.save();
  if (run.opaque) p_.fillRect(qrect(*run.opaque), qcolor(run.background));
  if (run.clip) p_.setClipRect(qrect(*run.clip), Qt::IntersectClip);
  p_.translate(run.reference.x, run.reference.y);
  if (run.font.escapement != 0) p_.rotate(-run.font.escapement);

  double x = 0;
  switch (run.align & wmf::kTaHorizontalMask) {
    case wmf::kTaCenter:
      x = -width / 2;
      break;
    case wmf::kTaRight:
      x = -width;
      break;
    default:
      break;
  }
  double baseline = fm.ascent();  // top alignment
  switch (run.align & wmf::kTaVerticalMask) {
    case wmf::kTaBaseline:
      baseline = 0;
      break;
    case wmf::kTaBottom:
      baseline = -fm.descent();
      break;
    default:
      break;
  }
  if (run.opaqueBackground) {
    p_.fillRect(QRectF(x, baseline - fm.ascent(), width, fm.ascent() + fm.descent()),
                qcolor(run.background));
  }
  p_.setFont(font);
  p_.setPen(qcolor(run.color));
  p_.setBackgroundMode(Qt::TransparentMode);  // the cell was filled above when opaque
  if (run.advances.empty()) {
    p_.drawText(QPointF(x, baseline), text);
  } else {
    for (qsizetype i = 0; i < text.size(); ++i) {
      p_.drawText(QPointF(x, baseline), QString(text.at(i)));
      if (static_cast<std::size_t>(i) < run.advances.size()) x += run.advances[static_cast<std::size_t>(i)];
    }
  }
  p_.restore();
  return width;
}

void QPainterCanvas::drawImage(const wmf::RectF& target, const wmf::Image& image,
                               const wmf::RectF& source, int rop, const wmf::Brush& brush) {
  switch (rop) {
    case wmf::kRopBlackness:
    case wmf::kRopWhiteness:
    case wmf::kRopPatCopy:
    case wmf::kRopDstInvert:
      return fillRaster(target, rop, brush);
    default:
      break;
  }
  QImage img = qimage(image).copy(static_cast<int>(source.left), static_cast<int>(source.top),
                                  static_cast<int>(std::ceil(source.width())),
                                  static_cast<int>(std::ceil(source.height())));
  // A mirrored target draws the bitmap mirrored.
  const bool flipX = target.right < target.left, flipY = target.bottom < target.top;
  if (flipX || flipY) img = img.mirrored(flipX, flipY);
  if (rop == wmf::kRopNotSrcCopy) img.invertPixels();
  p_.save();
  p_.setCompositionMode(modeOf(rop));
  p_.drawImage(qrect(target), img);
  p_.restore();
}

void QPainterCanvas::fillRaster(const wmf::RectF& target, int rop, const wmf::Brush& brush) {
  const QRectF r = qrect(target);
  p_.save();
  p_.setPen(Qt::NoPen);
  switch (rop) {
    case wmf::kRopBlackness:
      p_.fillRect(r, Qt::black);
      break;
    case wmf::kRopWhiteness:
      p_.fillRect(r, Qt::white);
      break;
    case wmf::kRopDstInvert:
      p_.setCompositionMode(QPainter::RasterOp_NotDestination);
      p_.fillRect(r, Qt::white);
      break;
    case wmf::kRopPatInvert:
      p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
      p_.fillRect(r, qbrush(brush));
      break;
    default:
      p_.fillRect(r, qbrush(brush));
      break;
  }
  p_.restore();
}

void QPainterCanvas::setClip(const wmf::Clip& clip) {
  if (!clip.include && clip.exclude.empty()) {
    if (baseClipping_) {
      p_.setClipPath(baseClip_);
    } else {
      p_.setClipping(false);
    }
    return;
  }
  QPainterPath area;
  if (clip.include) {
    area.addRect(qrect(*clip.include));
  } else {
    const double big = 1e7;
    area.addRect(QRectF(-big, -big, 2 * big, 2 * big));
  }
  for (const wmf::RectF& r : clip.exclude) {
    QPainterPath hole;
    hole.addRect(qrect(r));
    area = area.subtracted(hole);
  }
  if (baseClipping_) area = area.intersected(baseClip_);
  p_.setClipPath(area);
}

void drawMetafile(QPainter& painter, const wmf::Metafile& metafile, const QRectF& target) {
  if (!metafile.valid() || target.isEmpty()) return;
  QPainterCanvas canvas(painter);
  metafile.play(canvas, {target.left(), target.top(), target.right(), target.bottom()});
}

}  // namespace lirno
