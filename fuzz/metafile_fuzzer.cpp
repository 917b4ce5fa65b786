// libFuzzer target: the metafile player. The first five bytes choose the
// mapping mode and the picture extents, the rest is the metafile; whatever it
// holds, loading and playing must stay in bounds and hand the canvas only
// finite coordinates and consistent bitmaps.
#include <cmath>
#include <cstdint>

#include "checking_canvas.h"
#include "documents/metafile.h"

using lirno::fuzz::check;
using lirno::fuzz::CheckingCanvas;
using namespace lirno::wmf;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  const int mode = data[0] % 10;
  const int width = static_cast<std::int16_t>(data[1] | data[2] << 8);
  const int height = static_cast<std::int16_t>(data[3] | data[4] << 8);
  Metafile mf;
  if (!mf.load(data + 5, size - 5, mode, width, height)) return 0;
  const SizeF natural = mf.naturalSize();
  check(std::isfinite(natural.width) && std::isfinite(natural.height));
  CheckingCanvas canvas;
  mf.play(canvas, glyphTarget(natural, 105, 100));
  mf.play(canvas, {50, 50, -50, -50});  // a mirrored target
  return 0;
}
