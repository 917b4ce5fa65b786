#pragma once
// A player for the Windows metafiles (WMF, 16-bit records) that glyph
// pictures carry. It interprets the records a glyph drawing uses - window
// origin and extent, mapping mode, pens, brushes, fonts, save and restore,
// lines, polygons, rectangles, ellipses, arcs, text and device-independent
// bitmaps - and hands device-space primitives to a Canvas; the panes
// implement the canvas on QPainter, tests and the fuzzer on plain memory.
//
// Every read is bounds-checked. A metafile whose header or record chain is
// malformed (a record running past the data, a parameter block too short for
// its record, a bitmap larger than its record) is rejected as a whole at
// load(), so that nothing at all is drawn for it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "documents/dib.h"

namespace lirno {

struct GlyphPicture;

namespace wmf {

// Mapping modes (the picture type of an embedded metafile).
enum MapMode : int {
  kMmText = 1,
  kMmLoMetric = 2,
  kMmHiMetric = 3,
  kMmLoEnglish = 4,
  kMmHiEnglish = 5,
  kMmTwips = 6,
  kMmIsotropic = 7,
  kMmAnisotropic = 8,
};

struct PointF {
  double x = 0;
  double y = 0;
};

// Device rectangle; right < left or bottom < top means a mirrored target.
struct RectF {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
  double width() const { return right - left; }
  double height() const { return bottom - top; }
};

enum class PenStyle { Solid, Dash, Dot, DashDot, DashDotDot, Null, InsideFrame };

struct Pen {
  PenStyle style = PenStyle::Solid;
  double width = 1;  // device pixels; at least 1
  Color color{0, 0, 0};
};

enum class BrushStyle { Solid, Null, Hatched, Pattern };

// Hatch styles of a hatched brush.
enum Hatch : int {
  kHatchHorizontal = 0,
  kHatchVertical = 1,
  kHatchForwardDiagonal = 2,
  kHatchBackwardDiagonal = 3,
  kHatchCross = 4,
  kHatchDiagonalCross = 5,
};

struct Brush {
  BrushStyle style = BrushStyle::Solid;
  Color color{255, 255, 255};
  int hatch = kHatchHorizontal;
  std::shared_ptr<const Image> pattern;  // BrushStyle::Pattern
};

// The drawing state that goes with a filled or stroked shape.
struct Paint {
  Pen pen;
  Brush brush;
  bool opaqueBackground = true;  // hatch gaps and pen dashes filled with `background`
  Color background{255, 255, 255};
  bool winding = false;  // fill rule: false alternate (odd-even), true winding
};

// A logical font, its sizes already in device pixels.
struct Font {
  double height = 0;  // < 0: character (em) height; > 0: cell height; 0: default
  double width = 0;   // average character width; 0: natural
  double escapement = 0;  // degrees, counter-clockwise
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 0;
  std::string face;  // as stored (Windows-1252)
};

// Text alignment flags of SetTextAlign.
enum TextAlign : unsigned {
  kTaUpdateCp = 0x0001,
  kTaRight = 0x0002,
  kTaCenter = 0x0006,
  kTaHorizontalMask = 0x0006,
  kTaBottom = 0x0008,
  kTaBaseline = 0x0018,
  kTaVerticalMask = 0x0018,
};

struct TextRun {
  PointF reference;    // device point the alignment refers to
  std::string bytes;   // Windows-1252
  unsigned align = 0;  // TextAlign flags (kTaUpdateCp already resolved)
  Font font;
  Color color{0, 0, 0};
  bool opaqueBackground = false;  // fill the text cell with `background`
  Color background{255, 255, 255};
  std::optional<RectF> clip;    // ETO_CLIPPED rectangle
  std::optional<RectF> opaque;  // ETO_OPAQUE rectangle, filled with `background`
  std::vector<double> advances;  // per character, device pixels; empty: natural
};

// Clipping: the intersection of `include` (when set) minus every rectangle
// of `exclude`, all in device space.
struct Clip {
  std::optional<RectF> include;
  std::vector<RectF> exclude;
};

// Ternary raster operations the canvas understands (others draw as kSrcCopy).
enum RasterOp : int {
  kRopBlackness = 0x00,
  kRopNotSrcErase = 0x11,
  kRopNotSrcCopy = 0x33,
  kRopSrcErase = 0x44,
  kRopDstInvert = 0x55,
  kRopPatInvert = 0x5A,
  kRopSrcInvert = 0x66,
  kRopSrcAnd = 0x88,
  kRopMergePaint = 0xBB,
  kRopMergeCopy = 0xC0,
  kRopSrcCopy = 0xCC,
  kRopSrcPaint = 0xEE,
  kRopPatCopy = 0xF0,
  kRopPatPaint = 0xFB,
  kRopWhiteness = 0xFF,
};

class Canvas {
 public:
  virtual ~Canvas() = default;
  // Shapes in device space. `closed` subpaths are filled with the brush and
  // outlined with the pen; open ones are only stroked.
  virtual void drawPath(const std::vector<std::vector<PointF>>& subpaths, bool closed,
                        const Paint& paint) = 0;
  // Returns the horizontal advance of the run in device pixels.
  virtual double drawText(const TextRun& run) = 0;
  // `source` is a pixel rectangle of `image` (already inside it), drawn into
  // `target` with the raster operation; `brush` for the pattern operations.
  virtual void drawImage(const RectF& target, const Image& image, const RectF& source, int rop,
                         const Brush& brush) = 0;
  // A raster operation without a source (PatBlt): pattern, black, white or
  // inversion over `target`.
  virtual void fillRaster(const RectF& target, int rop, const Brush& brush) = 0;
  virtual void setClip(const Clip& clip) = 0;
};

// Natural size of a picture at 96 pixels per inch.
struct SizeF {
  double width = 0;
  double height = 0;
};

class Metafile {
 public:
  Metafile() = default;

  // Checks and keeps a copy of the metafile. `mappingMode`, `width` and
  // `height` are the picture's type and extents as embedded (\wmetafileN,
  // \picwN, \pichN: HIMETRIC units for the isotropic and anisotropic modes,
  // units of the mode otherwise). False, leaving the object empty, when the
  // metafile is malformed.
  bool load(const std::uint8_t* data, std::size_t size, int mappingMode, int width, int height);
  bool load(const GlyphPicture& picture);

  bool valid() const { return valid_; }

  // The picture's size in pixels (at 96 dpi): its extents when the picture
  // gives them, else its window extent, else the extent of what it draws.
  SizeF naturalSize() const { return natural_; }

  // Plays the records so that the picture's frame fills `target` (device
  // pixels). Nothing happens for an invalid metafile.
  void play(Canvas& canvas, const RectF& target) const;

 private:
  friend class Player;
  std::vector<std::uint8_t> bytes_;
  std::size_t firstRecord_ = 0;  // offset of the first record after the header
  int mappingMode_ = kMmAnisotropic;
  int picWidth_ = 0;
  int picHeight_ = 0;
  bool valid_ = false;
  bool hasWindowExt_ = false;  // a SetWindowExt record comes before the first drawing
  RectF drawnBounds_;          // logical extent of what is drawn (when nothing else frames it)
  SizeF natural_;
};

// The rectangle the glyph box plays a picture into: its natural size, shrunk
// proportionally (truncated to whole pixels) when it exceeds the box less 4
// pixels, never enlarged, 2 pixels from the top left corner.
RectF glyphTarget(SizeF natural, int boxWidth, int boxHeight);

}  // namespace wmf
}  // namespace lirno
