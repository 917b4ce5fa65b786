#pragma once
// The metafile player's canvas on a QPainter: glyph pictures drawn into the
// glyph box (and anywhere else a painter goes, such as an image in tests).
#include <QPainterPath>

#include "documents/metafile.h"

class QPainter;
class QRectF;

namespace lirno {

class QPainterCanvas : public wmf::Canvas {
 public:
  // Draws through `painter`, whose state is restored at destruction; the
  // painter's own clipping stays in force under the metafile's.
  explicit QPainterCanvas(QPainter& painter);
  ~QPainterCanvas() override;
  QPainterCanvas(const QPainterCanvas&) = delete;
  QPainterCanvas& operator=(const QPainterCanvas&) = delete;

  void drawPath(const std::vector<std::vector<wmf::PointF>>& subpaths, bool closed,
                const wmf::Paint& paint) override;
  double drawText(const wmf::TextRun& run) override;
  void drawImage(const wmf::RectF& target, const wmf::Image& image, const wmf::RectF& source,
                 int rop, const wmf::Brush& brush) override;
  void fillRaster(const wmf::RectF& target, int rop, const wmf::Brush& brush) override;
  void setClip(const wmf::Clip& clip) override;

 private:
  QPainter& p_;
  bool baseClipping_;
  QPainterPath baseClip_;
};

// Plays `metafile` so that its frame fills `target`.
void drawMetafile(QPainter& painter, const wmf::Metafile& metafile, const QRectF& target);

}  // namespace lirno
