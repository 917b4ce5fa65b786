#include "documents/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <bit>
#include <cstring>

#include <jpeglib.h>

namespace lirno {
namespace {

// The library reports fatal errors through error_exit, which must not
// return: it jumps back to the call that started the work.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// Warnings (corrupt data the decoder gets past) are not shown.
void outputMessage(j_common_ptr) {}

void setUp(jpeg_decompress_struct& cinfo, ErrorManager& err) {
  cinfo.err = jpeg_std_error(&err.base);
  err.base.error_exit = errorExit;
  err.base.output_message = outputMessage;
  err.message[0] = 0;
}

// Adobe writes CMYK inverted: a component value is 255 - ink.
void cmykToRgb32(const std::uint8_t* cmyk, std::uint32_t* out, unsigned width) {
  for (unsigned x = 0; x < width; ++x) {
    const unsigned c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
    out[x] = 0xFF000000u | ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
  }
}

// The work behind decodeJpeg, in a frame that holds no C++ object with a
// destructor, so that the error jump skips nothing.
bool decode(const unsigned char* data, unsigned long size, int denominator, const JpegTarget* target,
            JpegSize* sizeOnly, char* message) {
  jpeg_decompress_struct cinfo;
  ErrorManager err;
  setUp(cinfo, err);
  std::uint8_t* volatile cmykRow = nullptr;
  if (setjmp(err.jump)) {
    std::memcpy(message, err.message, JMSG_LENGTH_MAX);
    jpeg_destroy_decompress(&cinfo);
    delete[] cmykRow;
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data, size);
  jpeg_read_header(&cinfo, TRUE);
  if (sizeOnly) {
    sizeOnly->width = static_cast<int>(cinfo.image_width);
    sizeOnly->height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return true;
  }
  if (static_cast<std::int64_t>(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Image too large (%u x %u)", cinfo.image_width, cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  if (cmyk) {
    cinfo.out_color_space = JCS_CMYK;
  } else {
    // 0xFFRRGGBB in memory order of this machine.
    cinfo.out_color_space = std::endian::native == std::endian::little ? JCS_EXT_BGRX : JCS_EXT_XRGB;
  }
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(denominator);
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&cinfo);
  std::size_t stride = 0;
  std::uint32_t* first = (*target)(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), stride);
  if (!first) {
    std::snprintf(message, JMSG_LENGTH_MAX, "Not enough memory for %u x %u pixels", cinfo.output_width,
                  cinfo.output_height);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (cmyk) cmykRow = new std::uint8_t[4 * static_cast<std::size_t>(cinfo.output_width)];
  auto* base = reinterpret_cast<std::uint8_t*>(first);
  while (cinfo.output_scanline < cinfo.output_height) {
    auto* row = reinterpret_cast<std::uint32_t*>(base + stride * cinfo.output_scanline);
    JSAMPROW rows[1] = {cmyk ? cmykRow : reinterpret_cast<JSAMPROW>(row)};
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (cmyk) cmykToRgb32(cmykRow, row, cinfo.output_width);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  delete[] cmykRow;
  return true;
}

}  // namespace

bool isJpeg(std::string_view data) { return data.size() >= 3 && data.substr(0, 3) == "\xFF\xD8\xFF"; }

bool readJpegSize(std::string_view data, JpegSize& size, std::string& error) {
  char message[JMSG_LENGTH_MAX] = {};
  if (decode(reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()), 1,
             nullptr, &size, message)) {
    return true;
  }
  error = message;
  return false;
}

bool decodeJpeg(std::string_view data, int denominator, const JpegTarget& target, std::string& error) {
  if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8) denominator = 1;
  char message[JMSG_LENGTH_MAX] = {};
  if (decode(reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()),
             denominator, &target, nullptr, message)) {
    return true;
  }
  error = message;
  return false;
}

}  // namespace lirno
