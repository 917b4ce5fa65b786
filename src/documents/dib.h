#pragma once
// Device-independent bitmaps as metafile records embed them: a header
// (BITMAPINFOHEADER and its later versions, or BITMAPCOREHEADER), a colour
// table and uncompressed bits, decoded into 32-bit pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lirno::wmf {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Color&) const = default;
};

// Pixels top-down, row-major, each 0xFFRRGGBB.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Bitmaps larger than this are not decoded (a glyph drawing is small).
inline constexpr std::int64_t kMaxDibPixels = std::int64_t{1} << 22;

enum class DibCheck {
  Ok,           // decodable
  Unsupported,  // well-formed but not drawn (compressed, too large, empty)
  Malformed,    // header or bits do not fit the data
};

// Checks the DIB at `data` (`size` bytes available). `paletteIndices`: the
// colour table holds 16-bit palette indices (DIB_PAL_COLORS) instead of RGB
// quads.
DibCheck checkDib(const std::uint8_t* data, std::size_t size, bool paletteIndices);

// Decodes a DIB that checkDib accepted; false (and `out` emptied) otherwise.
// Palette indices are looked up in `palette` (black when out of range).
bool decodeDib(const std::uint8_t* data, std::size_t size, bool paletteIndices,
               const std::vector<Color>& palette, Image& out);

}  // namespace lirno::wmf
