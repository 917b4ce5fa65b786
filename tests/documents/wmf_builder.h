#pragma once
// Builds Windows metafiles record by record for the player's tests. Record
// parameters are given in file order (the reverse of the GDI call's
// argument order, as metafiles store them).
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lirno::testing {

class WmfBuilder {
 public:
  // A record with 16-bit parameters.
  WmfBuilder& record(std::uint16_t function, std::initializer_list<int> words) {
    std::vector<std::uint8_t> p;
    for (int w : words) put16(p, w);
    return raw(function, p);
  }
  // A record with its parameter block as bytes (padded to an even size).
  WmfBuilder& raw(std::uint16_t function, std::vector<std::uint8_t> params) {
    if (params.size() % 2) params.push_back(0);
    const std::uint32_t words = static_cast<std::uint32_t>(3 + params.size() / 2);
    put32(body_, words);
    put16(body_, function);
    body_.insert(body_.end(), params.begin(), params.end());
    ++records_;
    if (words > maxRecord_) maxRecord_ = words;
    return *this;
  }

  WmfBuilder& windowOrg(int x, int y) { return record(0x020B, {y, x}); }
  WmfBuilder& windowExt(int x, int y) { return record(0x020C, {y, x}); }
  WmfBuilder& mapMode(int mode) { return record(0x0103, {mode}); }
  WmfBuilder& pen(int style, int width, std::uint32_t rgb) {
    std::vector<std::uint8_t> p;
    put16(p, style);
    put16(p, width);
    put16(p, 0);
    putColor(p, rgb);
    return raw(0x02FA, p);
  }
  WmfBuilder& brush(int style, std::uint32_t rgb, int hatch = 0) {
    std::vector<std::uint8_t> p;
    put16(p, style);
    putColor(p, rgb);
    put16(p, hatch);
    return raw(0x02FC, p);
  }
  WmfBuilder& font(int height, const std::string& face, int weight = 400) {
    std::vector<std::uint8_t> p;
    put16(p, height);
    for (int i = 0; i < 3; ++i) put16(p, 0);  // width, escapement, orientation
    put16(p, weight);
    for (int i = 0; i < 8; ++i) p.push_back(0);  // italic .. pitch and family
    for (char c : face) p.push_back(static_cast<std::uint8_t>(c));
    p.push_back(0);
    return raw(0x02FB, p);
  }
  WmfBuilder& select(int index) { return record(0x012D, {index}); }
  WmfBuilder& deleteObject(int index) { return record(0x01F0, {index}); }
  WmfBuilder& rectangle(int l, int t, int r, int b) { return record(0x041B, {b, r, t, l}); }
  WmfBuilder& ellipse(int l, int t, int r, int b) { return record(0x0418, {b, r, t, l}); }
  WmfBuilder& moveTo(int x, int y) { return record(0x0214, {y, x}); }
  WmfBuilder& lineTo(int x, int y) { return record(0x0213, {y, x}); }
  WmfBuilder& polygon(std::initializer_list<std::pair<int, int>> pts, bool closed = true) {
    std::vector<std::uint8_t> p;
    put16(p, static_cast<int>(pts.size()));
    for (auto [x, y] : pts) {
      put16(p, x);
      put16(p, y);
    }
    return raw(closed ? 0x0324 : 0x0325, p);
  }
  WmfBuilder& textOut(int x, int y, const std::string& s) {
    std::vector<std::uint8_t> p;
    put16(p, static_cast<int>(s.size()));
    for (char c : s) p.push_back(static_cast<std::uint8_t>(c));
    if (s.size() % 2) p.push_back(0);
    put16(p, y);
    put16(p, x);
    return raw(0x0521, p);
  }
  // StretchDIBits of a packed DIB into (x, y, w, h), the whole source.
  WmfBuilder& stretchDib(int x, int y, int w, int h, const std::vector<std::uint8_t>& dib,
                         int srcW, int srcH) {
    std::vector<std::uint8_t> p;
    put32(p, 0x00CC0020);  // SRCCOPY
    put16(p, 0);           // DIB_RGB_COLORS
    put16(p, srcH);
    put16(p, srcW);
    put16(p, 0);
    put16(p, 0);
    put16(p, h);
    put16(p, w);
    put16(p, y);
    put16(p, x);
    p.insert(p.end(), dib.begin(), dib.end());
    return raw(0x0F43, p);
  }

  // Header + records + end record. `objects`: size of the object table.
  std::vector<std::uint8_t> finish(int objects = 8) const {
    std::vector<std::uint8_t> out;
    put16(out, 1);       // memory metafile
    put16(out, 9);       // header words
    put16(out, 0x0300);  // version
    const std::uint32_t total = static_cast<std::uint32_t>(9 + body_.size() / 2 + 3);
    put32(out, total);
    put16(out, objects);
    put32(out, maxRecord_);
    put16(out, 0);
    out.insert(out.end(), body_.begin(), body_.end());
    put32(out, 3);
    put16(out, 0);
    return out;
  }

  // A packed bottom-up 24-bit DIB of w x h pixels, each 0xRRGGBB from `rgb`
  // (rows top-down).
  static std::vector<std::uint8_t> dib24(int w, int h, const std::vector<std::uint32_t>& rgb) {
    std::vector<std::uint8_t> out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h));
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i) put32(out, 0);
    const int stride = (w * 3 + 3) / 4 * 4;
    for (int y = h - 1; y >= 0; --y) {
      for (int x = 0; x < w; ++x) {
        const std::uint32_t c = rgb[static_cast<std::size_t>(y * w + x)];
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c >> 16));
      }
      for (int k = w * 3; k < stride; ++k) out.push_back(0);
    }
    return out;
  }

  static void put16(std::vector<std::uint8_t>& v, int w) {
    v.push_back(static_cast<std::uint8_t>(w & 0xFF));
    v.push_back(static_cast<std::uint8_t>((w >> 8) & 0xFF));
  }
  static void put32(std::vector<std::uint8_t>& v, std::uint32_t w) {
    put16(v, static_cast<int>(w & 0xFFFF));
    put16(v, static_cast<int>(w >> 16));
  }
  static void putColor(std::vector<std::uint8_t>& v, std::uint32_t rgb) {
    v.push_back(static_cast<std::uint8_t>(rgb >> 16));
    v.push_back(static_cast<std::uint8_t>(rgb >> 8));
    v.push_back(static_cast<std::uint8_t>(rgb));
    v.push_back(0);
  }

 private:
  std::vector<std::uint8_t> body_;
  int records_ = 0;
  std::uint32_t maxRecord_ = 3;
};

}  // namespace lirno::testing
