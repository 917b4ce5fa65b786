#pragma once
// The canvas both metafile players' fuzz targets draw on: it aborts on any
// coordinate that is not finite and on a bitmap that does not hold together.
#include <cmath>
#include <cstdlib>
#include <vector>

#include "documents/metafile.h"

namespace lirno::fuzz {

using namespace lirno::wmf;

inline void check(bool ok) {
  if (!ok) std::abort();
}
inline void checkPoint(const PointF& p) { check(std::isfinite(p.x) && std::isfinite(p.y)); }
inline void checkRect(const RectF& r) {
  checkPoint({r.left, r.top});
  checkPoint({r.right, r.bottom});
}

struct CheckingCanvas : Canvas {
  void drawPath(const std::vector<std::vector<PointF>>& subpaths, bool, const Paint& paint) override {
    check(std::isfinite(paint.pen.width) && paint.pen.width >= 1);
    for (const auto& s : subpaths) {
      for (const PointF& p : s) checkPoint(p);
    }
  }
  double drawText(const TextRun& run) override {
    checkPoint(run.reference);
    check(std::isfinite(run.font.height));
    return static_cast<double>(run.bytes.size());
  }
  void drawImage(const RectF& target, const Image& image, const RectF& source, int,
                 const Brush&) override {
    checkRect(target);
    check(image.width > 0 && image.height > 0);
    check(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height);
    check(source.left >= 0 && source.top >= 0 && source.right <= image.width &&
          source.bottom <= image.height && source.left < source.right && source.top < source.bottom);
  }
  void fillRaster(const RectF& target, int, const Brush&) override { checkRect(target); }
  void setClip(const Clip& clip) override {
    if (clip.include) checkRect(*clip.include);
    for (const RectF& r : clip.exclude) checkRect(r);
  }
};

}  // namespace lirno::fuzz
