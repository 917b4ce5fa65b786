// libFuzzer target: the enhanced metafile player. Whatever the file holds,
// loading and playing must stay in bounds and hand the canvas only finite
// coordinates and consistent bitmaps.
#include <cmath>
#include <cstdint>

#include "checking_canvas.h"
#include "documents/emf.h"

using lirno::fuzz::check;
using lirno::fuzz::CheckingCanvas;
using namespace lirno::wmf;

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
