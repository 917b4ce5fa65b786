// libFuzzer target: the enhanced metafile player. Whatever the file holds,
// loading and playing must stay in bounds and hand the canvas only finite
// coordinates and consistent bitmaps.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "documents/emf.h"

namespace {

using namespace lirno::wmf;

void check(bool ok) {
  if (!ok) std::abort();
}
void checkPoint(const PointF& p) { check(std::isfinite(p.x) && std::isfinite(p.y)); }
void checkRect(const RectF& r) {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lirno::emf::EnhancedMetafile mf;
  if (!mf.load(data, size)) return 0;
  const SizeF natural = mf.naturalSize();
  check(std::isfinite(natural.width) && std::isfinite(natural.height) && natural.width > 0 && natural.height > 0);
  CheckingCanvas canvas;
  mf.play(canvas, {0, 0, 200, 150});
  mf.play(canvas, {50, 50, -50, -50});  // a mirrored target
  return 0;
}
