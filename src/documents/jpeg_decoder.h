#pragma once
// JPEG decoding through libjpeg (libjpeg-turbo), with an error manager that
// turns a damaged or truncated file into a message instead of an exit.
// Pixels come out as 32-bit 0xFFRRGGBB words (the layout of a QImage of
// format RGB32), optionally reduced by the DCT scaling of the library.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lirno {

struct JpegSize {
  int width = 0;
  int height = 0;
};

// Pictures with more pixels than this are refused (a header may claim
// 65535 x 65535); a 24-megapixel photograph is far below.
inline constexpr std::int64_t kMaxJpegPixels = std::int64_t{1} << 28;

// True when the bytes start with a JPEG marker (FF D8 FF).
bool isJpeg(std::string_view data);

// The picture's full size from its header. False with `error` set when the
// header cannot be read.
bool readJpegSize(std::string_view data, JpegSize& size, std::string& error);

// Where decoded rows go: called once with the output size; returns the
// first row and sets `stride` (bytes between rows, at least 4 x width), or
// nullptr to give up (no memory).
using JpegTarget = std::function<std::uint32_t*(int width, int height, std::size_t& stride)>;

// Decodes at 1/`denominator` of the full size (1, 2, 4 or 8; sizes are
// rounded up). False with `error` set (in the library's words) for a file
// it cannot decode; rows already written then hold what could be read.
// Recoverable damage (a truncated scan) is decoded as far as it goes.
bool decodeJpeg(std::string_view data, int denominator, const JpegTarget& target, std::string& error);

}  // namespace lirno
