#include "documents/metafile.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "documents/document.h"

namespace lirno::wmf {
namespace {

// Record functions.
enum : std::uint16_t {
  kEof = 0x0000,
  kRealizePalette = 0x0035,
  kSetPalEntries = 0x0037,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetPolyFillMode = 0x0106,
  kRestoreDc = 0x0127,
  kDibCreatePatternBrush = 0x0142,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kSelectPalette = 0x0234,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kSaveDc = 0x001E,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kBitBlt = 0x0922,
  kStretchBlt = 0x0B23,
  kExtTextOut = 0x0A32,
  kDibBitBlt = 0x0940,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
  kSelectClipRegion = 0x012C,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDeleteObject = 0x01F0,
  kCreatePalette = 0x00F7,
  kCreatePatternBrush = 0x01F9,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kCreateRegion = 0x06FF,
};

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kRecordHeader = 6;
constexpr int kMaxObjects = 65535;
constexpr std::size_t kMaxSavedStates = 256;
constexpr std::size_t kMaxExcludedRects = 64;
constexpr double kCoordinateLimit = 1e7;  // device values beyond are clamped
constexpr int kMaxCurveSegments = 512;

constexpr int kBkTransparent = 1;
constexpr int kBkOpaque = 2;
constexpr int kPolyFillWinding = 2;
constexpr unsigned kEtoOpaque = 0x0002;
constexpr unsigned kEtoClipped = 0x0004;

double clampCoordinate(double v) {
  if (!std::isfinite(v)) return 0;
  return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}

RectF normalized(const RectF& r) {
  return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
          std::max(r.top, r.bottom)};
}

// A record's parameter block; every read out of range sets `ok` to false and
// yields 0.
class Params {
 public:
  Params(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
  std::size_t size() const { return n_; }
  const std::uint8_t* data() const { return p_; }
  bool ok() const { return ok_; }
  void fail() { ok_ = false; }
  bool require(std::size_t bytes) {
    if (bytes > n_) ok_ = false;
    return ok_;
  }
  std::uint16_t u16(std::size_t off) {
    if (off + 2 > n_) return fail(), 0;
    return static_cast<std::uint16_t>(p_[off] | p_[off + 1] << 8);
  }
  std::int16_t s16(std::size_t off) { return static_cast<std::int16_t>(u16(off)); }
  std::uint32_t u32(std::size_t off) {
    if (off + 4 > n_) return fail(), 0;
    return std::uint32_t{p_[off]} | std::uint32_t{p_[off + 1]} << 8 |
           std::uint32_t{p_[off + 2]} << 16 | std::uint32_t{p_[off + 3]} << 24;
  }
  std::uint8_t u8(std::size_t off) {
    if (off + 1 > n_) return fail(), 0;
    return p_[off];
  }

 private:
  const std::uint8_t* p_;
  std::size_t n_;
  bool ok_ = true;
};

// Pen, brush and font as the metafile defines them, in logical units.
struct LogPen {
  int style = 0;  // PS_SOLID
  double width = 0;
  Color color{0, 0, 0};
};

struct LogBrush {
  BrushStyle style = BrushStyle::Solid;
  Color color{255, 255, 255};
  int hatch = 0;
  std::shared_ptr<const Image> pattern;
};

struct LogFont {
  double height = 0;
  double width = 0;
  double escapement = 0;  // tenths of degrees
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 0;
  std::string face;
};

enum class ObjectKind { Free, Pen, Brush, Font, Palette, Other };

struct Object {
  ObjectKind kind = ObjectKind::Free;
  LogPen pen;
  LogBrush brush;
  LogFont font;
  std::shared_ptr<const std::vector<Color>> palette;
};

struct DcState {
  int mapMode = kMmAnisotropic;
  PointF winOrg{0, 0};
  PointF winExt{1, 1};
  bool winExtSet = false;
  LogPen pen;
  LogBrush brush;
  LogFont font;
  std::shared_ptr<const std::vector<Color>> palette;  // the selected palette, if any
  Color textColor{0, 0, 0};
  Color bkColor{255, 255, 255};
  int bkMode = kBkOpaque;
  int polyFill = 1;
  unsigned textAlign = 0;
  PointF current{0, 0};
  Clip clip;
};

// Collects the extent of what a metafile draws (in page units).
class BoundsCanvas : public Canvas {
 public:
  void drawPath(const std::vector<std::vector<PointF>>& subpaths, bool, const Paint&) override {
    for (const auto& s : subpaths) {
      for (const PointF& p : s) add(p);
    }
  }
  double drawText(const TextRun& run) override {
    add(run.reference);
    return 0;
  }
  void drawImage(const RectF& target, const Image&, const RectF&, int, const Brush&) override {
    add({target.left, target.top});
    add({target.right, target.bottom});
  }
  void fillRaster(const RectF& target, int, const Brush&) override {
    add({target.left, target.top});
    add({target.right, target.bottom});
  }
  void setClip(const Clip&) override {}

  bool any = false;
  RectF bounds;

 private:
  void add(const PointF& p) {
    if (!any) {
      bounds = {p.x, p.y, p.x, p.y};
      any = true;
      return;
    }
    bounds.left = std::min(bounds.left, p.x);
    bounds.top = std::min(bounds.top, p.y);
    bounds.right = std::max(bounds.right, p.x);
    bounds.bottom = std::max(bounds.bottom, p.y);
  }
};

double pixelsPerUnit(int mode) {
  switch (mode) {
    case kMmLoMetric:
      return 96.0 / 254.0;
    case kMmHiMetric:
      return 96.0 / 2540.0;
    case kMmLoEnglish:
      return 0.96;
    case kMmHiEnglish:
      return 0.096;
    case kMmTwips:
      return 96.0 / 1440.0;
    default:
      return 1.0;
  }
}

bool isFixedMode(int mode) { return mode >= kMmText && mode <= kMmTwips; }

std::uint32_t le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

}  // namespace

// Interprets the records of a Metafile into canvas calls. With `identity`
// the output is in page units (logical units less the window origin), which
// is how load() measures what a picture draws.
class Player {
 public:
  Player(const Metafile& mf, Canvas& canvas, const RectF& target, bool identity)
      : mf_(mf), canvas_(canvas), target_(target), identity_(identity) {
    dc_.mapMode = mf.mappingMode_;
    updateScale();
  }

  // False when a record is malformed.
  bool run() {
    const std::vector<std::uint8_t>& b = mf_.bytes_;
    std::size_t at = mf_.firstRecord_;
    while (b.size() - at >= kRecordHeader) {
      const std::uint32_t words = le32(b.data() + at);
      const std::uint16_t function = static_cast<std::uint16_t>(b[at + 4] | b[at + 5] << 8);
      if (words < 3 || words > (b.size() - at) / 2) return false;
      const std::size_t bytes = std::size_t{words} * 2;
      if (function == kEof) return true;
      Params p(b.data() + at + kRecordHeader, bytes - kRecordHeader);
      record(function, words, p);
      if (!p.ok()) return false;
      at += bytes;
    }
    // Data ending without the end record is accepted once every record was
    // whole; a few stray bytes after the last one are ignored.
    return true;
  }

  bool sawWindowExt() const { return firstWindowExt_.has_value(); }
  PointF firstWindowExt() const { return firstWindowExt_.value_or(PointF{0, 0}); }

 private:
  // --- Mapping ------------------------------------------------------------

  void updateScale() {
    if (identity_) {
      sx_ = sy_ = 1;
      ox_ = oy_ = 0;
      return;
    }
    const double tw = target_.width(), th = target_.height();
    const RectF& b = mf_.drawnBounds_;
    auto span = [](double v) { return v > 0 ? v : 1.0; };
    const int mode = dc_.mapMode;
    if (isFixedMode(mode)) {
      const double ySign = mode == kMmText ? 1 : -1;
      if (mf_.picWidth_ > 0 && mf_.picHeight_ > 0) {
        sx_ = tw / mf_.picWidth_;
        sy_ = ySign * th / mf_.picHeight_;
        ox_ = oy_ = 0;
      } else {
        sx_ = tw / span(b.width());
        sy_ = ySign * th / span(b.height());
        ox_ = b.left;
        oy_ = ySign > 0 ? b.top : b.bottom;
      }
      return;
    }
    if (dc_.winExtSet) {
      sx_ = tw / dc_.winExt.x;
      sy_ = th / dc_.winExt.y;
      ox_ = oy_ = 0;
    } else {
      sx_ = tw / span(b.width());
      sy_ = th / span(b.height());
      ox_ = b.left;
      oy_ = b.top;
    }
    if (mode == kMmIsotropic) {
      const double m = std::min(std::fabs(sx_), std::fabs(sy_));
      sx_ = std::copysign(m, sx_);
      sy_ = std::copysign(m, sy_);
    }
  }

  PointF device(double x, double y) const {
    const double px = x - dc_.winOrg.x - ox_;
    const double py = y - dc_.winOrg.y - oy_;
    if (identity_) return {px, py};
    return {clampCoordinate(target_.left + px * sx_), clampCoordinate(target_.top + py * sy_)};
  }
  RectF deviceRect(double l, double t, double r, double b) const {
    const PointF a = device(l, t), c = device(r, b);
    return {a.x, a.y, c.x, c.y};
  }
  double deviceWidth(double logical) const { return std::fabs(logical * sx_); }
  double deviceHeight(double logical) const { return std::fabs(logical * sy_); }

  // --- Drawing state ------------------------------------------------------

  Color colorRef(Params& p, std::size_t off) const {
    const std::uint8_t r = p.u8(off), g = p.u8(off + 1), b = p.u8(off + 2), flag = p.u8(off + 3);
    if (flag == 1) {  // palette index
      const std::size_t k = static_cast<std::size_t>(r | g << 8);
      return dc_.palette && k < dc_.palette->size() ? (*dc_.palette)[k] : Color{0, 0, 0};
    }
    return {r, g, b};
  }

  Paint paint() const {
    Paint out;
    switch (dc_.pen.style & 0x0F) {
      case 1:
        out.pen.style = PenStyle::Dash;
        break;
      case 2:
        out.pen.style = PenStyle::Dot;
        break;
      case 3:
        out.pen.style = PenStyle::DashDot;
        break;
      case 4:
        out.pen.style = PenStyle::DashDotDot;
        break;
      case 5:
        out.pen.style = PenStyle::Null;
        break;
      case 6:
        out.pen.style = PenStyle::InsideFrame;
        break;
      default:
        out.pen.style = PenStyle::Solid;
        break;
    }
    out.pen.width = std::max(1.0, std::min(deviceWidth(dc_.pen.width), kCoordinateLimit));
    out.pen.color = dc_.pen.color;
    out.brush.style = dc_.brush.style;
    out.brush.color = dc_.brush.color;
    out.brush.hatch = dc_.brush.hatch;
    out.brush.pattern = dc_.brush.pattern;
    out.opaqueBackground = dc_.bkMode != kBkTransparent;
    out.background = dc_.bkColor;
    out.winding = dc_.polyFill == kPolyFillWinding;
    return out;
  }

  Brush brush() const { return paint().brush; }

  const std::vector<Color>& palette() const {
    static const std::vector<Color> none;
    return dc_.palette ? *dc_.palette : none;
  }

  Font font() const {
    Font f;
    f.height = std::copysign(std::min(deviceHeight(dc_.font.height), kCoordinateLimit),
                             dc_.font.height);
    f.width = std::min(deviceWidth(dc_.font.width), kCoordinateLimit);
    f.escapement = dc_.font.escapement / 10.0;
    f.weight = dc_.font.weight;
    f.italic = dc_.font.italic;
    f.underline = dc_.font.underline;
    f.strikeOut = dc_.font.strikeOut;
    f.charset = dc_.font.charset;
    f.face = dc_.font.face;
    return f;
  }

  // --- Objects ------------------------------------------------------------

  // The lowest free index, as the header's object table would give it; the
  // table only grows when every slot is taken.
  Object* createObject() {
    for (Object& o : objects_) {
      if (o.kind == ObjectKind::Free) return &o;
    }
    if (objects_.size() >= kMaxObjects) return nullptr;
    objects_.emplace_back();
    return &objects_.back();
  }

  Object* objectAt(std::size_t index) {
    if (index >= objects_.size() || objects_[index].kind == ObjectKind::Free) return nullptr;
    return &objects_[index];
  }

  void select(std::size_t index) {
    Object* o = objectAt(index);
    if (!o) return;
    switch (o->kind) {
      case ObjectKind::Pen:
        dc_.pen = o->pen;
        break;
      case ObjectKind::Brush:
        dc_.brush = o->brush;
        break;
      case ObjectKind::Font:
        dc_.font = o->font;
        break;
      default:
        break;
    }
  }

  // --- Shapes -------------------------------------------------------------

  void path(std::vector<std::vector<PointF>> subpaths, bool closed) {
    canvas_.drawPath(subpaths, closed, paint());
  }

  std::vector<PointF> points(Params& p, std::size_t off, std::size_t count) {
    std::vector<PointF> out;
    if (!p.require(off + 4 * count)) return out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      out.push_back(device(p.s16(off + 4 * i), p.s16(off + 4 * i + 2)));
    }
    return out;
  }

  static int segmentsFor(double sweep, double rx, double ry) {
    const double perimeter = sweep * (rx + ry) / 2;
    const double n = std::ceil(perimeter / 3);
    if (!std::isfinite(n)) return kMaxCurveSegments;
    return static_cast<int>(std::clamp(n, 4.0, static_cast<double>(kMaxCurveSegments)));
  }

  // Points of the elliptic arc inscribed in `r` (device space) from angle t0
  // over `sweep`, counter-clockwise on the device as the compatible graphics
  // mode draws arcs.
  static void arcPoints(const RectF& r, double t0, double sweep, std::vector<PointF>& out) {
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const double rx = r.width() / 2, ry = r.height() / 2;
    const int n = segmentsFor(sweep, rx, ry);
    for (int i = 0; i <= n; ++i) {
      const double t = t0 + sweep * i / n;
      out.push_back({cx + rx * std::cos(t), cy - ry * std::sin(t)});
    }
  }

  void ellipse(const RectF& box) {
    const RectF r = normalized(box);
    std::vector<PointF> pts;
    arcPoints(r, 0, 2 * std::numbers::pi, pts);
    pts.pop_back();
    path({std::move(pts)}, true);
  }

  enum class ArcKind { Arc, Chord, Pie };

  void arc(Params& p, ArcKind kind) {
    if (!p.require(16)) return;
    const PointF end = device(p.s16(2), p.s16(0));
    const PointF start = device(p.s16(6), p.s16(4));
    const RectF r = normalized(deviceRect(p.s16(14), p.s16(12), p.s16(10), p.s16(8)));
    const double cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const double rx = r.width() / 2, ry = r.height() / 2;
    if (rx <= 0 || ry <= 0) return;
    auto angle = [&](const PointF& q) { return std::atan2(-(q.y - cy) * rx, (q.x - cx) * ry); };
    const double t0 = angle(start);
    double sweep = angle(end) - t0;
    while (sweep <= 0) sweep += 2 * std::numbers::pi;
    std::vector<PointF> pts;
    if (kind == ArcKind::Pie) pts.push_back({cx, cy});
    arcPoints(r, t0, sweep, pts);
    path({std::move(pts)}, kind != ArcKind::Arc);
  }

  void roundRect(Params& p) {
    if (!p.require(12)) return;
    const RectF r = normalized(deviceRect(p.s16(10), p.s16(8), p.s16(6), p.s16(4)));
    const double rx = std::min(deviceWidth(p.s16(2)) / 2, r.width() / 2);
    const double ry = std::min(deviceHeight(p.s16(0)) / 2, r.height() / 2);
    if (rx <= 0 || ry <= 0) {
      path({{{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}}, true);
      return;
    }
    const double half = std::numbers::pi / 2;
    std::vector<PointF> pts;
    arcPoints({r.right - 2 * rx, r.top, r.right, r.top + 2 * ry}, 0, half, pts);
    arcPoints({r.left, r.top, r.left + 2 * rx, r.top + 2 * ry}, half, half, pts);
    arcPoints({r.left, r.bottom - 2 * ry, r.left + 2 * rx, r.bottom}, 2 * half, half, pts);
    arcPoints({r.right - 2 * rx, r.bottom - 2 * ry, r.right, r.bottom}, 3 * half, half, pts);
    path({std::move(pts)}, true);
  }

  // --- Text ---------------------------------------------------------------

  void text(double x, double y, std::string bytes, std::optional<RectF> clip,
            std::optional<RectF> opaque, std::vector<double> advances) {
    TextRun run;
    const bool updateCp = (dc_.textAlign & kTaUpdateCp) != 0;
    run.reference = updateCp ? device(dc_.current.x, dc_.current.y) : device(x, y);
    run.bytes = std::move(bytes);
    run.align = dc_.textAlign & ~unsigned{kTaUpdateCp};
    run.font = font();
    run.color = dc_.textColor;
    run.opaqueBackground = dc_.bkMode == kBkOpaque;
    run.background = dc_.bkColor;
    run.clip = clip;
    run.opaque = opaque;
    run.advances = std::move(advances);
    const double advance = canvas_.drawText(run);
    if (updateCp && sx_ != 0 && std::isfinite(advance)) dc_.current.x += advance / sx_;
  }

  void textOut(Params& p) {
    const std::int16_t n = p.s16(0);
    if (!p.ok() || n < 0) return p.fail();
    const std::size_t len = static_cast<std::size_t>(n);
    const std::size_t padded = (len + 1) & ~std::size_t{1};
    if (!p.require(2 + padded + 4)) return;
    std::string s(reinterpret_cast<const char*>(p.data() + 2), len);
    text(p.s16(2 + padded + 2), p.s16(2 + padded), std::move(s), std::nullopt, std::nullopt, {});
  }

  void extTextOut(Params& p) {
    if (!p.require(8)) return;
    const double y = p.s16(0), x = p.s16(2);
    const std::int16_t n = p.s16(4);
    const unsigned options = p.u16(6);
    if (n < 0) return p.fail();
    const std::size_t len = static_cast<std::size_t>(n);
    std::size_t off = 8;
    std::optional<RectF> rect;
    if (options & (kEtoOpaque | kEtoClipped)) {
      if (!p.require(off + 8)) return;
      rect = normalized(deviceRect(p.s16(off), p.s16(off + 2), p.s16(off + 4), p.s16(off + 6)));
      off += 8;
    }
    if (!p.require(off + len)) return;
    std::string s(reinterpret_cast<const char*>(p.data() + off), len);
    off += (len + 1) & ~std::size_t{1};
    std::vector<double> advances;
    if (len > 0 && p.size() >= off + 2 * len) {
      advances.reserve(len);
      for (std::size_t i = 0; i < len; ++i) advances.push_back(deviceWidth(p.s16(off + 2 * i)));
    }
    std::optional<RectF> clip, opaque;
    if (options & kEtoClipped) clip = rect;
    if (options & kEtoOpaque) opaque = rect;
    text(x, y, std::move(s), clip, opaque, std::move(advances));
  }

  // --- Bitmaps ------------------------------------------------------------

  // Draws the DIB at `dibOffset` of the record; `fromBottom`: the source y
  // counts from the bottom row of a bottom-up bitmap (StretchDIBits).
  void dib(Params& p, std::size_t dibOffset, bool paletteIndices, int rop, double xSrc,
           double ySrc, double wSrc, double hSrc, const RectF& target, bool fromBottom) {
    if (!p.require(dibOffset)) return;
    const std::uint8_t* data = p.data() + dibOffset;
    const std::size_t size = p.size() - dibOffset;
    switch (checkDib(data, size, paletteIndices)) {
      case DibCheck::Malformed:
        return p.fail();
      case DibCheck::Unsupported:
        return;
      case DibCheck::Ok:
        break;
    }
    Image image;
    if (!decodeDib(data, size, paletteIndices, palette(), image)) return;
    wSrc = std::fabs(wSrc);
    hSrc = std::fabs(hSrc);
    // Core headers are always bottom-up; info headers unless the height is negative.
    const bool bottomUp = le32(data) == 12 || static_cast<std::int32_t>(le32(data + 8)) > 0;
    if (fromBottom && bottomUp) ySrc = image.height - ySrc - hSrc;
    RectF source{std::clamp(xSrc, 0.0, double(image.width)), std::clamp(ySrc, 0.0, double(image.height)),
                 std::clamp(xSrc + wSrc, 0.0, double(image.width)),
                 std::clamp(ySrc + hSrc, 0.0, double(image.height))};
    if (source.width() <= 0 || source.height() <= 0) return;
    canvas_.drawImage(target, image, source, rop, brush());
  }

  static int ternary(std::uint32_t rop) { return static_cast<int>((rop >> 16) & 0xFF); }

  void dibBitBlt(Params& p, std::uint32_t words, std::uint16_t function) {
    const bool noBitmap = words == static_cast<std::uint32_t>((function >> 8) + 3);
    if (!p.require(noBitmap ? 18 : 16)) return;
    const int rop = ternary(p.u32(0));
    const double ySrc = p.s16(4), xSrc = p.s16(6);
    const std::size_t k = noBitmap ? 10 : 8;  // a reserved word precedes the sizes without bitmap
    const double h = p.s16(k), w = p.s16(k + 2), yDst = p.s16(k + 4), xDst = p.s16(k + 6);
    const RectF target = deviceRect(xDst, yDst, xDst + w, yDst + h);
    if (noBitmap) return canvas_.fillRaster(normalized(target), rop, brush());
    dib(p, 16, false, rop, xSrc, ySrc, w, h, target, false);
  }

  void dibStretchBlt(Params& p, std::uint32_t words, std::uint16_t function) {
    const bool noBitmap = words == static_cast<std::uint32_t>((function >> 8) + 3);
    if (!p.require(noBitmap ? 22 : 20)) return;
    const int rop = ternary(p.u32(0));
    const double hSrc = p.s16(4), wSrc = p.s16(6), ySrc = p.s16(8), xSrc = p.s16(10);
    const std::size_t k = noBitmap ? 14 : 12;
    const double h = p.s16(k), w = p.s16(k + 2), yDst = p.s16(k + 4), xDst = p.s16(k + 6);
    const RectF target = deviceRect(xDst, yDst, xDst + w, yDst + h);
    if (noBitmap) return canvas_.fillRaster(normalized(target), rop, brush());
    dib(p, 20, false, rop, xSrc, ySrc, wSrc, hSrc, target, false);
  }

  void stretchDib(Params& p) {
    if (!p.require(22)) return;
    const int rop = ternary(p.u32(0));
    const bool paletteIndices = p.u16(4) == 1;
    const double hSrc = p.s16(6), wSrc = p.s16(8), ySrc = p.s16(10), xSrc = p.s16(12);
    const double h = p.s16(14), w = p.s16(16), yDst = p.s16(18), xDst = p.s16(20);
    const RectF target = deviceRect(xDst, yDst, xDst + w, yDst + h);
    dib(p, 22, paletteIndices, rop, xSrc, ySrc, wSrc, hSrc, target, true);
  }

  // Bit blits without a source (the bitmap forms of the old records are
  // not drawn).
  void oldBlt(Params& p, std::uint32_t words, std::uint16_t function) {
    if (words != static_cast<std::uint32_t>((function >> 8) + 3)) return;
    const bool stretch = function == kStretchBlt;
    const std::size_t k = stretch ? 14 : 10;
    if (!p.require(k + 8)) return;
    const int rop = ternary(p.u32(0));
    const double h = p.s16(k), w = p.s16(k + 2), y = p.s16(k + 4), x = p.s16(k + 6);
    canvas_.fillRaster(normalized(deviceRect(x, y, x + w, y + h)), rop, brush());
  }

  // --- Records ------------------------------------------------------------

  void record(std::uint16_t function, std::uint32_t words, Params& p) {
    switch (function) {
      case kSetBkMode:
        dc_.bkMode = p.u16(0);
        break;
      case kSetMapMode:
        dc_.mapMode = p.u16(0);
        updateScale();
        break;
      case kSetPolyFillMode:
        dc_.polyFill = p.u16(0);
        break;
      case kSetTextAlign:
        dc_.textAlign = p.u16(0);
        break;
      case kSetBkColor:
        dc_.bkColor = colorRef(p, 0);
        break;
      case kSetTextColor:
        dc_.textColor = colorRef(p, 0);
        break;
      case kSetWindowOrg:
        if (p.require(4)) dc_.winOrg = {double(p.s16(2)), double(p.s16(0))};
        break;
      case kOffsetWindowOrg:
        if (p.require(4)) {
          dc_.winOrg.x += p.s16(2);
          dc_.winOrg.y += p.s16(0);
        }
        break;
      case kSetWindowExt:
        if (p.require(4)) {
          const double y = p.s16(0), x = p.s16(2);
          if (x != 0 && y != 0) {
            dc_.winExt = {x, y};
            dc_.winExtSet = true;
            if (!firstWindowExt_) firstWindowExt_ = dc_.winExt;
            updateScale();
          }
        }
        break;
      case kScaleWindowExt:
        if (p.require(8)) {
          const double yDen = p.s16(0), yNum = p.s16(2), xDen = p.s16(4), xNum = p.s16(6);
          if (xDen != 0 && yDen != 0 && xNum != 0 && yNum != 0) {
            dc_.winExt = {dc_.winExt.x * xNum / xDen, dc_.winExt.y * yNum / yDen};
            updateScale();
          }
        }
        break;
      case kSetViewportOrg:
      case kSetViewportExt:
      case kOffsetViewportOrg:
        // The viewport is the player's: the picture is placed in its target.
        p.require(4);
        break;
      case kScaleViewportExt:
        p.require(8);
        break;
      case kSaveDc:
        if (saved_.size() < kMaxSavedStates) saved_.push_back(dc_);
        break;
      case kRestoreDc:
        restore(p.s16(0));
        break;
      case kMoveTo:
        if (p.require(4)) dc_.current = {double(p.s16(2)), double(p.s16(0))};
        break;
      case kLineTo:
        if (p.require(4)) {
          const PointF to{double(p.s16(2)), double(p.s16(0))};
          path({{device(dc_.current.x, dc_.current.y), device(to.x, to.y)}}, false);
          dc_.current = to;
        }
        break;
      case kPolyline:
      case kPolygon: {
        const std::int16_t n = p.s16(0);
        if (n < 0) return p.fail();
        auto pts = points(p, 2, static_cast<std::size_t>(n));
        if (p.ok() && !pts.empty()) path({std::move(pts)}, function == kPolygon);
        break;
      }
      case kPolyPolygon:
        polyPolygon(p);
        break;
      case kRectangle:
        if (p.require(8)) {
          const RectF r = deviceRect(p.s16(6), p.s16(4), p.s16(2), p.s16(0));
          path({{{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}}}, true);
        }
        break;
      case kRoundRect:
        roundRect(p);
        break;
      case kEllipse:
        if (p.require(8)) ellipse(deviceRect(p.s16(6), p.s16(4), p.s16(2), p.s16(0)));
        break;
      case kArc:
        arc(p, ArcKind::Arc);
        break;
      case kChord:
        arc(p, ArcKind::Chord);
        break;
      case kPie:
        arc(p, ArcKind::Pie);
        break;
      case kSetPixel:
        if (p.require(8)) {
          const double y = p.s16(4), x = p.s16(6);
          Brush b;
          b.color = colorRef(p, 0);
          canvas_.fillRaster(normalized(deviceRect(x, y, x + 1, y + 1)), kRopPatCopy, b);
        }
        break;
      case kPatBlt:
        if (p.require(12)) {
          const int rop = ternary(p.u32(0));
          const double h = p.s16(4), w = p.s16(6), y = p.s16(8), x = p.s16(10);
          canvas_.fillRaster(normalized(deviceRect(x, y, x + w, y + h)), rop, brush());
        }
        break;
      case kTextOut:
        textOut(p);
        break;
      case kExtTextOut:
        extTextOut(p);
        break;
      case kDibBitBlt:
        dibBitBlt(p, words, function);
        break;
      case kDibStretchBlt:
        dibStretchBlt(p, words, function);
        break;
      case kStretchDib:
        stretchDib(p);
        break;
      case kBitBlt:
      case kStretchBlt:
        oldBlt(p, words, function);
        break;
      case kSelectObject:
        select(p.u16(0));
        break;
      case kSelectPalette:
        if (Object* o = objectAt(p.u16(0)); o && o->kind == ObjectKind::Palette) {
          dc_.palette = o->palette;
        }
        break;
      case kDeleteObject:
        if (Object* o = objectAt(p.u16(0))) *o = Object{};
        break;
      case kCreatePenIndirect:
        if (p.require(10)) {
          Object o;
          o.kind = ObjectKind::Pen;
          o.pen.style = p.u16(0);
          o.pen.width = p.s16(2);
          o.pen.color = colorRef(p, 6);
          put(std::move(o));
        }
        break;
      case kCreateBrushIndirect:
        if (p.require(8)) {
          Object o;
          o.kind = ObjectKind::Brush;
          const int style = p.u16(0);
          o.brush.style = style == 1   ? BrushStyle::Null
                          : style == 2 ? BrushStyle::Hatched
                                       : BrushStyle::Solid;
          o.brush.color = colorRef(p, 2);
          o.brush.hatch = p.u16(6);
          put(std::move(o));
        }
        break;
      case kDibCreatePatternBrush:
        dibPatternBrush(p);
        break;
      case kCreatePatternBrush: {
        // An old device-dependent pattern: kept as a black brush so that the
        // object indexes stay right.
        Object o;
        o.kind = ObjectKind::Brush;
        o.brush.color = {0, 0, 0};
        put(std::move(o));
        break;
      }
      case kCreateFontIndirect:
        createFont(p);
        break;
      case kCreatePalette:
        createPalette(p);
        break;
      case kCreateRegion: {
        Object o;
        o.kind = ObjectKind::Other;
        put(std::move(o));
        break;
      }
      case kIntersectClipRect:
        if (p.require(8)) {
          const RectF r = normalized(deviceRect(p.s16(6), p.s16(4), p.s16(2), p.s16(0)));
          Clip& c = dc_.clip;
          if (c.include) {
            c.include = RectF{std::max(c.include->left, r.left), std::max(c.include->top, r.top),
                              std::min(c.include->right, r.right),
                              std::min(c.include->bottom, r.bottom)};
          } else {
            c.include = r;
          }
          canvas_.setClip(c);
        }
        break;
      case kExcludeClipRect:
        if (p.require(8)) {
          if (dc_.clip.exclude.size() < kMaxExcludedRects) {
            dc_.clip.exclude.push_back(
                normalized(deviceRect(p.s16(6), p.s16(4), p.s16(2), p.s16(0))));
          }
          canvas_.setClip(dc_.clip);
        }
        break;
      case kSelectClipRegion:
        // Regions are not kept; selecting one (or none) resets the clipping.
        dc_.clip = Clip{};
        canvas_.setClip(dc_.clip);
        break;
      default:
        // Records without effect on a glyph drawing (palettes, regions,
        // flood fills, escapes, mode switches) are skipped.
        break;
    }
  }

  void put(Object o) {
    if (Object* slot = createObject()) *slot = std::move(o);
  }

  void restore(int n) {
    std::size_t keep;
    if (n < 0) {
      const std::size_t back = static_cast<std::size_t>(-n);
      if (back > saved_.size()) return;
      keep = saved_.size() - back;
    } else if (n > 0) {
      if (static_cast<std::size_t>(n) > saved_.size()) return;
      keep = static_cast<std::size_t>(n) - 1;
    } else {
      return;
    }
    dc_ = std::move(saved_[keep]);
    saved_.resize(keep);
    updateScale();
    canvas_.setClip(dc_.clip);
  }

  void polyPolygon(Params& p) {
    const std::size_t count = p.u16(0);
    if (!p.require(2 + 2 * count)) return;
    std::size_t off = 2 + 2 * count;
    std::vector<std::vector<PointF>> subpaths;
    subpaths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t n = p.u16(2 + 2 * i);
      auto pts = points(p, off, n);
      if (!p.ok()) return;
      off += 4 * n;
      if (!pts.empty()) subpaths.push_back(std::move(pts));
    }
    if (!subpaths.empty()) path(std::move(subpaths), true);
  }

  void dibPatternBrush(Params& p) {
    if (!p.require(4)) return;
    const int style = p.u16(0);
    const bool paletteIndices = style != 3 && p.u16(2) == 1;
    const std::uint8_t* data = p.data() + 4;
    const std::size_t size = p.size() - 4;
    Object o;
    o.kind = ObjectKind::Brush;
    o.brush.color = {0, 0, 0};
    switch (checkDib(data, size, paletteIndices)) {
      case DibCheck::Malformed:
        return p.fail();
      case DibCheck::Unsupported:
        break;
      case DibCheck::Ok: {
        auto image = std::make_shared<Image>();
        if (decodeDib(data, size, paletteIndices, palette(), *image)) {
          o.brush.style = BrushStyle::Pattern;
          o.brush.pattern = std::move(image);
        }
        break;
      }
    }
    put(std::move(o));
  }

  void createFont(Params& p) {
    if (!p.require(18)) return;
    Object o;
    o.kind = ObjectKind::Font;
    LogFont& f = o.font;
    f.height = p.s16(0);
    f.width = p.s16(2);
    f.escapement = p.s16(4);
    f.weight = p.s16(8);
    f.italic = p.u8(10) != 0;
    f.underline = p.u8(11) != 0;
    f.strikeOut = p.u8(12) != 0;
    f.charset = p.u8(13);
    for (std::size_t i = 18; i < p.size() && i < 18 + 32; ++i) {
      const char c = static_cast<char>(p.data()[i]);
      if (c == '\0') break;
      f.face.push_back(c);
    }
    put(std::move(o));
  }

  void createPalette(Params& p) {
    if (!p.require(4)) return;
    const std::size_t n = p.u16(2);
    if (!p.require(4 + 4 * n)) return;
    auto entries = std::make_shared<std::vector<Color>>();
    entries->reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t e = 4 + 4 * i;
      entries->push_back({p.u8(e), p.u8(e + 1), p.u8(e + 2)});
    }
    Object o;
    o.kind = ObjectKind::Palette;
    o.palette = std::move(entries);
    put(std::move(o));
  }

  const Metafile& mf_;
  Canvas& canvas_;
  RectF target_;
  bool identity_;
  DcState dc_;
  std::vector<DcState> saved_;
  std::vector<Object> objects_;
  double sx_ = 1, sy_ = 1, ox_ = 0, oy_ = 0;
  std::optional<PointF> firstWindowExt_;
};

bool Metafile::load(const std::uint8_t* data, std::size_t size, int mappingMode, int width,
                    int height) {
  *this = Metafile{};
  if (!data) return false;
  std::size_t at = 0;
  if (size >= 4 && le32(data) == kPlaceableKey) {
    if (size < kPlaceableSize) return false;
    at = kPlaceableSize;
  }
  if (size - at < kHeaderSize) return false;
  const std::uint8_t* h = data + at;
  const int type = h[0] | h[1] << 8;
  const int headerWords = h[2] | h[3] << 8;
  if ((type != 1 && type != 2) || headerWords != 9) return false;

  Metafile mf;
  mf.bytes_.assign(data, data + size);
  mf.firstRecord_ = at + kHeaderSize;
  mf.mappingMode_ = (mappingMode >= kMmText && mappingMode <= kMmAnisotropic) ? mappingMode
                                                                               : kMmAnisotropic;
  mf.picWidth_ = width;
  mf.picHeight_ = height;

  // One pass in page units checks every record and measures the drawing.
  BoundsCanvas bounds;
  Player measure(mf, bounds, RectF{}, /*identity=*/true);
  if (!measure.run()) return false;
  if (bounds.any) mf.drawnBounds_ = bounds.bounds;

  const int mode = mf.mappingMode_;
  SizeF natural;
  if (width > 0 && height > 0) {
    const double f = isFixedMode(mode) ? pixelsPerUnit(mode) : 96.0 / 2540.0;
    natural = {width * f, height * f};
  } else if (!isFixedMode(mode) && measure.sawWindowExt()) {
    natural = {std::fabs(measure.firstWindowExt().x), std::fabs(measure.firstWindowExt().y)};
  } else {
    const double f = pixelsPerUnit(mode);
    natural = {mf.drawnBounds_.width() * f, mf.drawnBounds_.height() * f};
  }
  mf.natural_ = natural;
  mf.valid_ = true;
  *this = std::move(mf);
  return true;
}

bool Metafile::load(const GlyphPicture& picture) {
  return load(picture.metafile.data(), picture.metafile.size(), picture.mappingMode, picture.width,
              picture.height);
}

void Metafile::play(Canvas& canvas, const RectF& target) const {
  if (!valid_) return;
  Player player(*this, canvas, target, /*identity=*/false);
  player.run();
}

RectF glyphTarget(SizeF natural, int boxWidth, int boxHeight) {
  long long right = std::llround(natural.width);
  long long bottom = std::llround(natural.height);
  if (right <= 0 || bottom <= 0) return {2, 2, 2, 2};
  const long long room = std::max(0, boxWidth - 4), roomHeight = std::max(0, boxHeight - 4);
  if (right > room || bottom > roomHeight) {
    // Scale by the smaller of room / right and roomHeight / bottom, in whole
    // numbers so that the limiting side comes out exact.
    if (room * bottom <= roomHeight * right) {
      bottom = bottom * room / right;
      right = room;
    } else {
      right = right * roomHeight / bottom;
      bottom = roomHeight;
    }
  }
  return {2, 2, 2.0 + static_cast<double>(right), 2.0 + static_cast<double>(bottom)};
}

}  // namespace lirno::wmf
