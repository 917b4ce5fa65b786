#include "documents/emf.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <numbers>
#include <optional>

#include "documents/dib.h"
#include "platform/cp1252.h"

namespace lirno::emf {

using wmf::Brush;
using wmf::BrushStyle;
using wmf::Color;
using wmf::Paint;
using wmf::Pen;
using wmf::PenStyle;
using wmf::PointF;
using wmf::RectF;

namespace {

enum : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12,
  kEof = 14,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kMoveToEx = 27,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kLineTo = 54,
  kBeginPath = 59,
  kEndPath = 60,
  kCloseFigure = 61,
  kFillPath = 62,
  kStrokeAndFillPath = 63,
  kStrokePath = 64,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kExtCreatePen = 95,
};

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kMaxHandles = 65536;
constexpr std::size_t kMaxPoints = 1 << 20;

std::uint32_t u32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}
std::int32_t s32(const std::uint8_t* p) { return static_cast<std::int32_t>(u32(p)); }
std::int16_t s16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }
float f32(const std::uint8_t* p) {
  const std::uint32_t v = u32(p);
  float f;
  static_assert(sizeof f == sizeof v);
  std::memcpy(&f, &v, sizeof f);
  return std::isfinite(f) ? f : 0.0f;
}
Color colour(std::uint32_t c) {
  return Color{static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
               static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

// A record's parameters, read within its size.
class Params {
 public:
  Params(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
  bool has(std::size_t at, std::size_t bytes) const { return at <= n_ && bytes <= n_ - at; }
  std::int32_t i32(std::size_t at) {
    if (!has(at, 4)) return bad();
    return s32(p_ + at);
  }
  std::uint32_t u(std::size_t at) { return static_cast<std::uint32_t>(i32(at)); }
  std::int16_t i16(std::size_t at) {
    if (!has(at, 2)) return static_cast<std::int16_t>(bad());
    return s16(p_ + at);
  }
  float f(std::size_t at) {
    if (!has(at, 4)) return static_cast<float>(bad());
    return f32(p_ + at);
  }
  const std::uint8_t* data() const { return p_; }
  std::size_t size() const { return n_; }
  bool ok() const { return ok_; }

 private:
  int bad() {
    ok_ = false;
    return 0;
  }
  const std::uint8_t* p_;
  std::size_t n_;
  bool ok_ = true;
};

struct Xform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  PointF apply(double x, double y) const { return {m11 * x + m21 * y + dx, m12 * x + m22 * y + dy}; }
  // this then `o`
  Xform then(const Xform& o) const {
    return {m11 * o.m11 + m12 * o.m21, m11 * o.m12 + m12 * o.m22, m21 * o.m11 + m22 * o.m21,
            m21 * o.m12 + m22 * o.m22, dx * o.m11 + dy * o.m21 + o.dx, dx * o.m12 + dy * o.m22 + o.dy};
  }
};

struct Object {
  enum class Kind { None, Pen, Brush, Font } kind = Kind::None;
  Pen pen;
  double penWidth = 0;  // logical
  Brush brush;
  wmf::Font font;
  double fontHeight = 0;  // logical
};

Object ofKind(Object::Kind kind) {
  Object o;
  o.kind = kind;
  return o;
}

struct Dc {
  int mapMode = 1;
  PointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
  Xform world;
  Object pen, brush, font;
  bool opaque = true;
  Color background{255, 255, 255};
  Color textColour{0, 0, 0};
  unsigned textAlign = 0;
  bool winding = false;
  PointF current{0, 0};  // logical
};

}  // namespace

class EmfPlayer {
 public:
  EmfPlayer(const EnhancedMetafile& mf, wmf::Canvas* canvas, const RectF& target)
      : mf_(mf), canvas_(canvas), target_(target) {
    dc_.pen.kind = Object::Kind::Pen;
    dc_.brush.kind = Object::Kind::Brush;
    dc_.font.kind = Object::Kind::Font;
  }

  // Walks the records from the one after the header; false when the chain
  // is malformed.
  bool run() {
    const std::vector<std::uint8_t>& b = mf_.bytes_;
    std::size_t at = u32(b.data() + 4);  // the header's size
    while (b.size() - at >= 8) {
      const std::uint32_t type = u32(b.data() + at);
      const std::uint32_t size = u32(b.data() + at + 4);
      if (size < 8 || size % 4 != 0 || size > b.size() - at) return false;
      if (type == kEof) return true;
      Params p(b.data() + at + 8, size - 8);
      record(type, p);
      if (!p.ok()) return false;
      at += size;
    }
    return true;
  }

 private:
  // Logical point to target pixels.
  PointF map(double x, double y) const {
    const PointF page = dc_.world.apply(x, y);
    PointF dev;
    switch (dc_.mapMode) {
      case 7:
      case 8: {
        const double sx = dc_.winExt.x != 0 ? dc_.vpExt.x / dc_.winExt.x : 1;
        double sy = dc_.winExt.y != 0 ? dc_.vpExt.y / dc_.winExt.y : 1;
        double sxx = sx;
        if (dc_.mapMode == 7) {  // isotropic: the smaller scale, signs kept
          const double s = std::min(std::fabs(sx), std::fabs(sy));
          sxx = std::copysign(s, sx);
          sy = std::copysign(s, sy);
        }
        dev = {(page.x - dc_.winOrg.x) * sxx + dc_.vpOrg.x, (page.y - dc_.winOrg.y) * sy + dc_.vpOrg.y};
        break;
      }
      case 2:
      case 3:
      case 4:
      case 5:
      case 6: {
        // Millimetres per unit of LOMETRIC, HIMETRIC, LOENGLISH, HIENGLISH,
        // TWIPS; y grows upwards.
        static constexpr double kMm[] = {0, 0, 0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
        const double mm = kMm[dc_.mapMode];
        dev = {(page.x - dc_.winOrg.x) * mm * mf_.pixelsPerMm_[0] + dc_.vpOrg.x,
               -(page.y - dc_.winOrg.y) * mm * mf_.pixelsPerMm_[1] + dc_.vpOrg.y};
        break;
      }
      default:
        dev = {page.x - dc_.winOrg.x + dc_.vpOrg.x, page.y - dc_.winOrg.y + dc_.vpOrg.y};
    }
    const RectF& f = mf_.frame_;
    const double fx = f.width() != 0 ? target_.width() / f.width() : 1;
    const double fy = f.height() != 0 ? target_.height() / f.height() : 1;
    return {bounded(target_.left + (dev.x - f.left) * fx), bounded(target_.top + (dev.y - f.top) * fy)};
  }

  // Transforms from a file may overflow: what they give stays finite and
  // within what a painter draws.
  static double bounded(double v) { return std::isfinite(v) ? std::clamp(v, -1e6, 1e6) : 0.0; }

  // A logical length in target pixels (the mean of both axes).
  double scaleLength(double w) const {
    const PointF o = map(0, 0), a = map(w, 0), b = map(0, w);
    return (std::hypot(a.x - o.x, a.y - o.y) + std::hypot(b.x - o.x, b.y - o.y)) / 2;
  }

  Paint paint(bool fill) const {
    Paint p;
    p.pen = dc_.pen.pen;
    p.pen.width = std::clamp(scaleLength(dc_.pen.penWidth), 1.0, 1e4);
    p.brush = fill ? dc_.brush.brush : Brush{BrushStyle::Null, {}, 0, nullptr};
    p.opaqueBackground = dc_.opaque;
    p.background = dc_.background;
    p.winding = dc_.winding;
    return p;
  }

  void draw(std::vector<std::vector<PointF>> subpaths, bool closed) {
    if (inPath_) {
      for (auto& s : subpaths) path_.push_back({std::move(s), closed});
      return;
    }
    if (canvas_) canvas_->drawPath(subpaths, closed, paint(closed));
  }

  std::vector<PointF> mapped(const std::vector<PointF>& logical) const {
    std::vector<PointF> out;
    out.reserve(logical.size());
    for (const PointF& p : logical) out.push_back(map(p.x, p.y));
    return out;
  }

  static void bezier(std::vector<PointF>& out, PointF p0, PointF c1, PointF c2, PointF p3) {
    for (int i = 1; i <= 16; ++i) {
      const double t = i / 16.0, u = 1 - t;
      out.push_back({u * u * u * p0.x + 3 * u * u * t * c1.x + 3 * u * t * t * c2.x + t * t * t * p3.x,
                     u * u * u * p0.y + 3 * u * u * t * c1.y + 3 * u * t * t * c2.y + t * t * t * p3.y});
    }
  }

  // Points of a record: count at `countAt`, points from `at`, 16 or 32 bits.
  std::optional<std::vector<PointF>> points(Params& p, std::size_t at, std::size_t count, bool small) {
    const std::size_t each = small ? 4 : 8;
    if (count > kMaxPoints || !p.has(at, count * each)) {
      p.i32(p.size());  // marks the record malformed
      return std::nullopt;
    }
    std::vector<PointF> out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t k = at + i * each;
      out.push_back(small ? PointF{double(p.i16(k)), double(p.i16(k + 2))} : PointF{double(p.i32(k)), double(p.i32(k + 4))});
    }
    return out;
  }

  void polyRecord(std::uint32_t type, Params& p, bool small) {
    // bounds (16 bytes), count, points
    const std::size_t count = p.u(16);
    auto pts = points(p, 20, count, small);
    if (!pts || pts->empty()) return;
    const bool bez = type == kPolyBezier || type == kPolyBezier16 || type == kPolyBezierTo || type == kPolyBezierTo16;
    const bool to = type == kPolylineTo || type == kPolylineTo16 || type == kPolyBezierTo || type == kPolyBezierTo16;
    const bool closed = type == kPolygon || type == kPolygon16;
    std::vector<PointF> logical;
    std::size_t i = 0;
    if (to) {
      logical.push_back(dc_.current);
    } else {
      logical.push_back((*pts)[0]);
      i = 1;
    }
    if (bez) {
      for (; i + 3 <= pts->size(); i += 3) bezier(logical, logical.back(), (*pts)[i], (*pts)[i + 1], (*pts)[i + 2]);
    } else {
      for (; i < pts->size(); ++i) logical.push_back((*pts)[i]);
    }
    dc_.current = logical.back();
    if (to && inPath_ && !path_.empty() && !path_.back().closed) {
      // Continues the open figure of the path.
      auto m = mapped(logical);
      path_.back().points.insert(path_.back().points.end(), m.begin() + 1, m.end());
      return;
    }
    draw({mapped(logical)}, closed);
  }

  void polyPolyRecord(std::uint32_t type, Params& p, bool small) {
    // bounds, number of polygons, total points, counts, points
    const std::size_t n = p.u(16), total = p.u(20);
    if (n > kMaxPoints || total > kMaxPoints || !p.has(24, n * 4)) return void(p.i32(p.size()));
    auto pts = points(p, 24 + n * 4, total, small);
    if (!pts) return;
    std::vector<std::vector<PointF>> subpaths;
    std::size_t at = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const std::size_t c = p.u(24 + k * 4);
      if (c > total - at) return void(p.i32(p.size()));
      subpaths.push_back(mapped(std::vector<PointF>(pts->begin() + static_cast<std::ptrdiff_t>(at),
                                                    pts->begin() + static_cast<std::ptrdiff_t>(at + c))));
      at += c;
    }
    draw(std::move(subpaths), type == kPolyPolygon || type == kPolyPolygon16);
  }

  void ellipse(double l, double t, double r, double b) {
    std::vector<PointF> pts;
    const double cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
    for (int i = 0; i < 72; ++i) {
      const double a = i * 2 * std::numbers::pi / 72;
      pts.push_back(map(cx + rx * std::cos(a), cy + ry * std::sin(a)));
    }
    draw({pts}, true);
  }

  void rectangle(double l, double t, double r, double b) {
    draw({{map(l, t), map(r, t), map(r, b), map(l, b)}}, true);
  }

  void stockObject(std::uint32_t index) {
    switch (index & 0x7FFFFFFF) {
      case 0: dc_.brush.brush = Brush{BrushStyle::Solid, {255, 255, 255}, 0, nullptr}; break;
      case 1: dc_.brush.brush = Brush{BrushStyle::Solid, {192, 192, 192}, 0, nullptr}; break;
      case 2: dc_.brush.brush = Brush{BrushStyle::Solid, {128, 128, 128}, 0, nullptr}; break;
      case 3: dc_.brush.brush = Brush{BrushStyle::Solid, {64, 64, 64}, 0, nullptr}; break;
      case 4: dc_.brush.brush = Brush{BrushStyle::Solid, {0, 0, 0}, 0, nullptr}; break;
      case 5: dc_.brush.brush = Brush{BrushStyle::Null, {}, 0, nullptr}; break;
      case 6: dc_.pen.pen = Pen{PenStyle::Solid, 1, {255, 255, 255}}, dc_.pen.penWidth = 0; break;
      case 7: dc_.pen.pen = Pen{PenStyle::Solid, 1, {0, 0, 0}}, dc_.pen.penWidth = 0; break;
      case 8: dc_.pen.pen = Pen{PenStyle::Null, 1, {}}; break;
      default:
        if ((index & 0x7FFFFFFF) >= 10 && (index & 0x7FFFFFFF) <= 17) dc_.font = ofKind(Object::Kind::Font);
        break;
    }
  }

  static PenStyle penStyle(std::uint32_t s) {
    switch (s & 0x0F) {
      case 1: return PenStyle::Dash;
      case 2: return PenStyle::Dot;
      case 3: return PenStyle::DashDot;
      case 4: return PenStyle::DashDotDot;
      case 5: return PenStyle::Null;
      case 6: return PenStyle::InsideFrame;
      default: return PenStyle::Solid;
    }
  }

  static Brush brushOf(std::uint32_t style, std::uint32_t colourRef, std::uint32_t hatch) {
    Brush b;
    b.color = colour(colourRef);
    if (style == 1) {
      b.style = BrushStyle::Null;
    } else if (style == 2) {
      b.style = BrushStyle::Hatched;
      b.hatch = static_cast<int>(std::min<std::uint32_t>(hatch, 5));
    } else {
      b.style = BrushStyle::Solid;
    }
    return b;
  }

  Object* handle(std::uint32_t index) {
    if (index == 0 || index >= kMaxHandles) return nullptr;
    if (index >= objects_.size()) objects_.resize(index + 1);
    return &objects_[index];
  }

  void text(Params& p) {
    // bounds(16) mode(4) scaleX(4) scaleY(4), then EMRTEXT: reference(8)
    // chars(4) offString(4) options(4) rect(16) offDx(4)
    const double x = p.i32(28), y = p.i32(32);
    const std::size_t chars = p.u(36), off = p.u(40);
    if (!p.ok() || chars > 65536 || off < 8 || !p.has(off - 8, chars * 2)) return;
    std::u16string s;
    for (std::size_t i = 0; i < chars; ++i) s.push_back(static_cast<char16_t>(static_cast<std::uint16_t>(p.i16(off - 8 + 2 * i))));
    std::string bytes;
    for (char16_t c : s) {
      const int b = unicodeToCp1252(c);
      bytes.push_back(static_cast<char>(b < 0 ? '?' : b));
    }
    wmf::TextRun run;
    run.reference = map(x, y);
    run.bytes = std::move(bytes);
    run.align = dc_.textAlign & ~0x0001u;
    run.font = dc_.font.font;
    run.font.height = dc_.font.fontHeight == 0
                          ? 0
                          : std::copysign(std::min(scaleLength(std::fabs(dc_.font.fontHeight)), 1e4),
                                          dc_.font.fontHeight);
    run.color = dc_.textColour;
    run.opaqueBackground = dc_.opaque;
    run.background = dc_.background;
    if (canvas_ && !inPath_) canvas_->drawText(run);
  }

  void stretchDib(Params& p) {
    // bounds(16) xDest yDest xSrc ySrc cxSrc cySrc offBmi cbBmi offBits cbBits usage rop cxDest cyDest
    const double xd = p.i32(16), yd = p.i32(20);
    const double xs = p.i32(24), ys = p.i32(28), cxs = p.i32(32), cys = p.i32(36);
    const std::size_t offBmi = p.u(40), cbBmi = p.u(44), offBits = p.u(48), cbBits = p.u(52);
    const std::uint32_t usage = p.u(56), rop = p.u(60);
    const double cxd = p.i32(64), cyd = p.i32(68);
    if (!p.ok() || offBmi < 8 || offBits < 8 || !p.has(offBmi - 8, cbBmi) || !p.has(offBits - 8, cbBits)) return;
    // The DIB as one block: header and table, then the bits right after.
    std::vector<std::uint8_t> dib(p.data() + offBmi - 8, p.data() + offBmi - 8 + cbBmi);
    dib.insert(dib.end(), p.data() + offBits - 8, p.data() + offBits - 8 + cbBits);
    if (wmf::checkDib(dib.data(), dib.size(), usage == 1) != wmf::DibCheck::Ok) return;
    wmf::Image image;
    if (!wmf::decodeDib(dib.data(), dib.size(), usage == 1, {}, image)) return;
    const PointF a = map(xd, yd), b = map(xd + cxd, yd + cyd);
    RectF src{std::clamp(xs, 0.0, double(image.width)), std::clamp(ys, 0.0, double(image.height)), 0, 0};
    src.right = std::clamp(xs + cxs, 0.0, double(image.width));
    src.bottom = std::clamp(ys + cys, 0.0, double(image.height));
    if (!(src.left < src.right && src.top < src.bottom)) return;
    if (canvas_ && !inPath_) canvas_->drawImage(RectF{a.x, a.y, b.x, b.y}, image, src, static_cast<int>(rop >> 16), dc_.brush.brush);
  }

  void record(std::uint32_t type, Params& p) {
    switch (type) {
      case kPolyBezier: case kPolygon: case kPolyline: case kPolyBezierTo: case kPolylineTo:
        return polyRecord(type, p, false);
      case kPolyBezier16: case kPolygon16: case kPolyline16: case kPolyBezierTo16: case kPolylineTo16:
        return polyRecord(type == kPolyBezier16 ? kPolyBezier : type == kPolygon16 ? kPolygon
                          : type == kPolyline16 ? kPolyline : type == kPolyBezierTo16 ? kPolyBezierTo : kPolylineTo,
                          p, true);
      case kPolyPolyline: case kPolyPolygon: return polyPolyRecord(type, p, false);
      case kPolyPolyline16: return polyPolyRecord(kPolyPolyline, p, true);
      case kPolyPolygon16: return polyPolyRecord(kPolyPolygon, p, true);
      case kSetWindowExtEx: dc_.winExt = {double(p.i32(0)), double(p.i32(4))}; return;
      case kSetWindowOrgEx: dc_.winOrg = {double(p.i32(0)), double(p.i32(4))}; return;
      case kSetViewportExtEx: dc_.vpExt = {double(p.i32(0)), double(p.i32(4))}; return;
      case kSetViewportOrgEx: dc_.vpOrg = {double(p.i32(0)), double(p.i32(4))}; return;
      case kSetMapMode: {
        const int m = p.i32(0);
        if (m >= 1 && m <= 8) dc_.mapMode = m;
        return;
      }
      case kSetBkMode: dc_.opaque = p.i32(0) == 2; return;
      case kSetPolyFillMode: dc_.winding = p.i32(0) == 2; return;
      case kSetTextAlign: dc_.textAlign = p.u(0); return;
      case kSetTextColor: dc_.textColour = colour(p.u(0)); return;
      case kSetBkColor: dc_.background = colour(p.u(0)); return;
      case kMoveToEx:
        dc_.current = {double(p.i32(0)), double(p.i32(4))};
        if (inPath_) path_.push_back({{map(dc_.current.x, dc_.current.y)}, false});
        return;
      case kLineTo: {
        const PointF to{double(p.i32(0)), double(p.i32(4))};
        if (inPath_ && !path_.empty() && !path_.back().closed) {
          path_.back().points.push_back(map(to.x, to.y));
        } else {
          draw({{map(dc_.current.x, dc_.current.y), map(to.x, to.y)}}, false);
        }
        dc_.current = to;
        return;
      }
      case kSaveDc:
        if (saved_.size() < 1024) saved_.push_back(dc_);
        return;
      case kRestoreDc: {
        const int n = p.i32(0);
        const std::size_t back = n < 0 ? static_cast<std::size_t>(-static_cast<long long>(n)) : 0;
        if (back == 0 || back > saved_.size()) return;
        dc_ = saved_[saved_.size() - back];
        saved_.resize(saved_.size() - back);
        return;
      }
      case kSetWorldTransform:
        dc_.world = {p.f(0), p.f(4), p.f(8), p.f(12), p.f(16), p.f(20)};
        return;
      case kModifyWorldTransform: {
        const Xform x{p.f(0), p.f(4), p.f(8), p.f(12), p.f(16), p.f(20)};
        const std::uint32_t mode = p.u(24);
        if (mode == 1) dc_.world = Xform{};
        if (mode == 2) dc_.world = x.then(dc_.world);
        if (mode == 3) dc_.world = dc_.world.then(x);
        if (mode == 4) dc_.world = x;
        return;
      }
      case kSelectObject: {
        const std::uint32_t i = p.u(0);
        if (i & 0x80000000u) return stockObject(i);
        if (Object* o = handle(i)) {
          if (o->kind == Object::Kind::Pen) dc_.pen = *o;
          if (o->kind == Object::Kind::Brush) dc_.brush = *o;
          if (o->kind == Object::Kind::Font) dc_.font = *o;
        }
        return;
      }
      case kCreatePen: {
        Object* o = handle(p.u(0));
        const std::uint32_t style = p.u(4);
        const double width = p.i32(8);
        const std::uint32_t c = p.u(16);
        if (!o || !p.ok()) return;
        *o = ofKind(Object::Kind::Pen);
        o->pen = Pen{penStyle(style), 1, colour(c)};
        o->penWidth = std::fabs(width);
        return;
      }
      case kExtCreatePen: {
        // ihPen offBmi cbBmi offBits cbBits, then LOGPEN_EX: style width brushStyle colour hatch
        Object* o = handle(p.u(0));
        const std::uint32_t style = p.u(20);
        const double width = p.u(24);
        const std::uint32_t c = p.u(32);
        if (!o || !p.ok()) return;
        *o = ofKind(Object::Kind::Pen);
        o->pen = Pen{penStyle(style), 1, colour(c)};
        o->penWidth = (style & 0x00010000u) ? width : 0;  // a cosmetic pen is one pixel wide
        return;
      }
      case kCreateBrushIndirect: {
        Object* o = handle(p.u(0));
        const std::uint32_t style = p.u(4), c = p.u(8), hatch = p.u(12);
        if (!o || !p.ok()) return;
        *o = ofKind(Object::Kind::Brush);
        o->brush = brushOf(style, c, hatch);
        return;
      }
      case kExtCreateFontIndirectW: {
        Object* o = handle(p.u(0));
        // LOGFONTW: height width escapement orientation weight italic
        // underline strikeout charset ... face (32 wide characters at 28)
        const double height = p.i32(4);
        const int weight = p.i32(20);
        if (!o || !p.ok() || !p.has(4, 28)) return;
        *o = ofKind(Object::Kind::Font);
        o->fontHeight = height;
        o->font.weight = weight;
        o->font.italic = p.data()[24] != 0;
        o->font.underline = p.data()[25] != 0;
        o->font.strikeOut = p.data()[26] != 0;
        o->font.charset = p.data()[27];
        for (std::size_t i = 0; i < 32 && p.has(32 + 2 * i, 2); ++i) {
          const auto c = static_cast<char16_t>(static_cast<std::uint16_t>(p.i16(32 + 2 * i)));
          if (c == 0) break;
          const int b = unicodeToCp1252(c);
          o->font.face.push_back(static_cast<char>(b < 0 ? '?' : b));
        }
        o->font.escapement = p.i32(12) / 10.0;
        return;
      }
      case kDeleteObject:
        if (Object* o = handle(p.u(0))) *o = Object{};
        return;
      case kEllipse: return ellipse(p.i32(0), p.i32(4), p.i32(8), p.i32(12));
      case kRectangle:
      case kRoundRect:
        return rectangle(p.i32(0), p.i32(4), p.i32(8), p.i32(12));
      case kBeginPath:
        inPath_ = true;
        path_.clear();
        return;
      case kEndPath: inPath_ = false; return;
      case kCloseFigure:
        if (!path_.empty()) path_.back().closed = true;
        return;
      case kFillPath:
      case kStrokeAndFillPath:
      case kStrokePath: {
        std::vector<std::vector<PointF>> subpaths;
        for (const Figure& f : path_) subpaths.push_back(f.points);
        Paint paintNow = paint(type != kStrokePath);
        if (type == kFillPath) paintNow.pen.style = PenStyle::Null;
        if (canvas_ && !subpaths.empty()) canvas_->drawPath(subpaths, type != kStrokePath, paintNow);
        path_.clear();
        return;
      }
      case kExtTextOutW: return text(p);
      case kStretchDiBits: return stretchDib(p);
      default: return;
    }
  }

  struct Figure {
    std::vector<PointF> points;
    bool closed = false;
  };

  const EnhancedMetafile& mf_;
  wmf::Canvas* canvas_;
  RectF target_;
  Dc dc_;
  std::vector<Dc> saved_;
  std::vector<Object> objects_;
  bool inPath_ = false;
  std::vector<Figure> path_;
};

bool EnhancedMetafile::load(const std::uint8_t* data, std::size_t size) {
  *this = EnhancedMetafile{};
  if (!data || size < 88) return false;
  if (u32(data) != kHeader || u32(data + 40) != kSignature) return false;
  const std::uint32_t headerSize = u32(data + 4);
  if (headerSize < 88 || headerSize > size || headerSize % 4 != 0) return false;
  EnhancedMetafile mf;
  mf.bytes_.assign(data, data + size);
  // The frame is in hundredths of a millimetre; the reference device's
  // size in pixels and millimetres gives its resolution.
  const double fl = s32(data + 24), ft = s32(data + 28), fr = s32(data + 32), fb = s32(data + 36);
  const double devW = s32(data + 72), devH = s32(data + 76), mmW = s32(data + 80), mmH = s32(data + 84);
  if (devW > 0 && devH > 0 && mmW > 0 && mmH > 0) {
    mf.pixelsPerMm_[0] = devW / mmW;
    mf.pixelsPerMm_[1] = devH / mmH;
  }
  if (fr > fl && fb > ft) {
    mf.frame_ = {fl / 100 * mf.pixelsPerMm_[0], ft / 100 * mf.pixelsPerMm_[1], fr / 100 * mf.pixelsPerMm_[0],
                 fb / 100 * mf.pixelsPerMm_[1]};
    mf.natural_ = {(fr - fl) / 2540.0 * 96, (fb - ft) / 2540.0 * 96};
  } else {
    // No frame: the bounds, in reference-device pixels.
    const double bl = s32(data + 8), bt = s32(data + 12), br = s32(data + 16), bb = s32(data + 20);
    if (!(br > bl && bb > bt)) return false;
    mf.frame_ = {bl, bt, br + 1, bb + 1};
    mf.natural_ = {(br - bl + 1) / mf.pixelsPerMm_[0] * 96 / 25.4, (bb - bt + 1) / mf.pixelsPerMm_[1] * 96 / 25.4};
  }
  EmfPlayer check(mf, nullptr, RectF{0, 0, 1, 1});
  if (!check.run()) return false;
  mf.valid_ = true;
  *this = std::move(mf);
  return true;
}

void EnhancedMetafile::play(wmf::Canvas& canvas, const RectF& target) const {
  if (!valid_) return;
  EmfPlayer player(*this, &canvas, target);
  player.run();
}

}  // namespace lirno::emf
