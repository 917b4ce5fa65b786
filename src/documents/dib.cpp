#include "documents/dib.h"

#include <bit>

namespace lirno::wmf {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

std::uint32_t u32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}
std::uint16_t u16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// What the header says, with every offset checked against the data.
struct Layout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // absolute value
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = kBiRgb;
  std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue for bit fields
  std::size_t tableOffset = 0;
  std::size_t tableCount = 0;
  std::size_t tableEntrySize = 4;
  std::size_t bitsOffset = 0;
  std::size_t stride = 0;
};

DibCheck readLayout(const std::uint8_t* data, std::size_t size, bool paletteIndices, Layout& l) {
  if (size < 12) return DibCheck::Malformed;
  const std::uint32_t headerSize = u32(data);
  bool core = false;
  std::uint32_t clrUsed = 0;
  if (headerSize == 12) {
    core = true;
    l.width = u16(data + 4);
    l.height = u16(data + 6);
    l.bitCount = u16(data + 10);
  } else if (headerSize >= 40 && headerSize <= size) {
    const auto w = static_cast<std::int32_t>(u32(data + 4));
    const auto h = static_cast<std::int32_t>(u32(data + 8));
    if (w < 0) return DibCheck::Malformed;
    l.width = w;
    l.topDown = h < 0;
    l.height = h < 0 ? -static_cast<std::int64_t>(h) : h;
    l.bitCount = u16(data + 14);
    l.compression = u32(data + 16);
    clrUsed = u32(data + 32);
  } else {
    return DibCheck::Malformed;
  }
  switch (l.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      if (l.compression != kBiRgb) return DibCheck::Unsupported;
      break;
    case 16:
    case 32:
      if (l.compression != kBiRgb && l.compression != kBiBitfields &&
          l.compression != kBiAlphaBitfields) {
        return DibCheck::Unsupported;
      }
      break;
    default:
      return DibCheck::Malformed;
  }

  std::size_t offset = headerSize;
  if (l.compression == kBiBitfields || l.compression == kBiAlphaBitfields) {
    if (headerSize >= 52) {
      for (int i = 0; i < 3; ++i) l.masks[i] = u32(data + 40 + 4 * i);
    } else {
      // The masks follow a plain 40-byte header.
      const std::size_t n = l.compression == kBiAlphaBitfields ? 4 : 3;
      if (size - offset < 4 * n) return DibCheck::Malformed;
      for (int i = 0; i < 3; ++i) l.masks[i] = u32(data + offset + 4 * i);
      offset += 4 * n;
    }
  } else if (l.bitCount == 16) {
    l.masks[0] = 0x7C00;
    l.masks[1] = 0x03E0;
    l.masks[2] = 0x001F;
  } else if (l.bitCount == 32) {
    l.masks[0] = 0xFF0000;
    l.masks[1] = 0x00FF00;
    l.masks[2] = 0x0000FF;
  }

  if (l.bitCount <= 8) {
    const std::size_t full = std::size_t{1} << l.bitCount;
    l.tableCount = (!core && clrUsed != 0) ? clrUsed : full;
    if (l.tableCount > 256) return DibCheck::Malformed;
  } else {
    l.tableCount = core ? 0 : clrUsed;  // an optional table, skipped
    if (l.tableCount > 256) return DibCheck::Malformed;
  }
  l.tableEntrySize = paletteIndices ? 2 : (core ? 3 : 4);
  l.tableOffset = offset;
  const std::size_t tableBytes = l.tableCount * l.tableEntrySize;
  if (size - offset < tableBytes) return DibCheck::Malformed;
  l.bitsOffset = offset + tableBytes;

  const std::int64_t rowBits = l.width * l.bitCount;
  l.stride = static_cast<std::size_t>((rowBits + 31) / 32 * 4);
  const std::size_t available = size - l.bitsOffset;
  if (l.height != 0 && l.stride > available / static_cast<std::size_t>(l.height)) {
    return DibCheck::Malformed;
  }
  if (l.width == 0 || l.height == 0) return DibCheck::Unsupported;
  if (l.width * l.height > kMaxDibPixels) return DibCheck::Unsupported;
  return DibCheck::Ok;
}

// Extracts one channel through a bit mask, scaled to 8 bits.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask >> shift);
  const std::uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return v >> (bits - 8);
  const std::uint32_t max = (1u << bits) - 1;
  return v * 255 / max;
}

}  // namespace

DibCheck checkDib(const std::uint8_t* data, std::size_t size, bool paletteIndices) {
  Layout l;
  return readLayout(data, size, paletteIndices, l);
}

bool decodeDib(const std::uint8_t* data, std::size_t size, bool paletteIndices,
               const std::vector<Color>& palette, Image& out) {
  out = Image{};
  Layout l;
  if (readLayout(data, size, paletteIndices, l) != DibCheck::Ok) return false;

  std::vector<std::uint32_t> table(l.tableCount);
  for (std::size_t i = 0; i < l.tableCount; ++i) {
    const std::uint8_t* e = data + l.tableOffset + i * l.tableEntrySize;
    Color c;
    if (paletteIndices) {
      const std::size_t k = u16(e);
      if (k < palette.size()) c = palette[k];
    } else {
      c = Color{e[2], e[1], e[0]};
    }
    table[i] = 0xFF000000u | std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
  }
  auto indexed = [&](std::size_t k) { return k < table.size() ? table[k] : 0xFF000000u; };

  out.width = static_cast<int>(l.width);
  out.height = static_cast<int>(l.height);
  out.pixels.resize(static_cast<std::size_t>(l.width * l.height));
  const std::size_t w = static_cast<std::size_t>(l.width);
  for (std::int64_t y = 0; y < l.height; ++y) {
    const std::int64_t srcRow = l.topDown ? y : l.height - 1 - y;
    const std::uint8_t* row = data + l.bitsOffset + static_cast<std::size_t>(srcRow) * l.stride;
    std::uint32_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * w;
    for (std::size_t x = 0; x < w; ++x) {
      switch (l.bitCount) {
        case 1:
          dst[x] = indexed((row[x >> 3] >> (7 - (x & 7))) & 1);
          break;
        case 4:
          dst[x] = indexed((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF);
          break;
        case 8:
          dst[x] = indexed(row[x]);
          break;
        case 24: {
          const std::uint8_t* p = row + 3 * x;
          dst[x] = 0xFF000000u | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
          break;
        }
        case 16:
        case 32: {
          const std::uint32_t v = l.bitCount == 16 ? u16(row + 2 * x) : u32(row + 4 * x);
          dst[x] = 0xFF000000u | channel(v, l.masks[0]) << 16 | channel(v, l.masks[1]) << 8 |
                   channel(v, l.masks[2]);
          break;
        }
        default:
          break;
      }
    }
  }
  return true;
}

}  // namespace lirno::wmf
