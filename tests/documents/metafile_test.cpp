#include "documents/metafile.h"

#include <gtest/gtest.h>

#include <cmath>

#include "documents/dib.h"
#include "documents/document.h"
#include "documents/wmf_builder.h"

namespace lirno::wmf {
namespace {

using lirno::testing::WmfBuilder;

// Remembers what the player draws.
struct Recorder : Canvas {
  struct Shape {
    std::vector<std::vector<PointF>> subpaths;
    bool closed;
    Paint paint;
  };
  std::vector<Shape> shapes;
  std::vector<TextRun> texts;
  struct Blit {
    RectF target;
    Image image;
    RectF source;
    int rop;
  };
  std::vector<Blit> blits;
  std::vector<std::pair<RectF, int>> fills;
  std::vector<Clip> clips;
  double textAdvance = 10;

  void drawPath(const std::vector<std::vector<PointF>>& s, bool closed, const Paint& p) override {
    shapes.push_back({s, closed, p});
  }
  double drawText(const TextRun& run) override {
    texts.push_back(run);
    return textAdvance;
  }
  void drawImage(const RectF& t, const Image& i, const RectF& s, int rop, const Brush&) override {
    blits.push_back({t, i, s, rop});
  }
  void fillRaster(const RectF& t, int rop, const Brush&) override { fills.push_back({t, rop}); }
  void setClip(const Clip& c) override { clips.push_back(c); }
};

Metafile loaded(const std::vector<std::uint8_t>& bytes, int mode = kMmAnisotropic, int w = 0,
                int h = 0) {
  Metafile mf;
  EXPECT_TRUE(mf.load(bytes.data(), bytes.size(), mode, w, h));
  return mf;
}

Recorder played(const Metafile& mf, RectF target) {
  Recorder r;
  mf.play(r, target);
  return r;
}

void expectPoint(const PointF& p, double x, double y) {
  EXPECT_NEAR(p.x, x, 1e-9);
  EXPECT_NEAR(p.y, y, 1e-9);
}

TEST(MetafileTest, WindowMapsOntoTheTargetWithPenAndBrush) {
  const auto bytes = WmfBuilder()
                         .windowOrg(100, 200)
                         .windowExt(1000, 500)
                         .pen(0, 20, 0x112233)
                         .select(0)
                         .brush(0, 0xFF0000)
                         .select(1)
                         .rectangle(100, 200, 600, 450)
                         .finish();
  const Metafile mf = loaded(bytes);
  const Recorder r = played(mf, {10, 20, 110, 70});
  ASSERT_EQ(r.shapes.size(), 1u);
  const auto& s = r.shapes[0];
  EXPECT_TRUE(s.closed);
  ASSERT_EQ(s.subpaths.size(), 1u);
  expectPoint(s.subpaths[0][0], 10, 20);
  expectPoint(s.subpaths[0][2], 60, 45);
  EXPECT_EQ(s.paint.brush.color, (Color{0xFF, 0, 0}));
  EXPECT_EQ(s.paint.pen.color, (Color{0x11, 0x22, 0x33}));
  EXPECT_NEAR(s.paint.pen.width, 2.0, 1e-9);  // 20 logical units at 0.1 pixel per unit
}

TEST(MetafileTest, NaturalSizeFromExtentsElseWindowElseDrawing) {
  const auto bytes = WmfBuilder().windowExt(400, 200).rectangle(0, 0, 400, 200).finish();
  Metafile himetric = loaded(bytes, kMmAnisotropic, 2540, 1270);  // 1 x 0.5 inch
  EXPECT_NEAR(himetric.naturalSize().width, 96, 1e-9);
  EXPECT_NEAR(himetric.naturalSize().height, 48, 1e-9);

  Metafile window = loaded(bytes, kMmAnisotropic, 0, 0);
  EXPECT_NEAR(window.naturalSize().width, 400, 1e-9);

  // Pixel units and no extents: what is drawn, origin at its top left.
  const auto text = WmfBuilder().rectangle(30, 40, 80, 60).finish();
  Metafile pixels = loaded(text, kMmText, 0, 0);
  EXPECT_NEAR(pixels.naturalSize().width, 50, 1e-9);
  EXPECT_NEAR(pixels.naturalSize().height, 20, 1e-9);
  const Recorder r = played(pixels, {2, 2, 52, 22});
  expectPoint(r.shapes.at(0).subpaths[0][0], 2, 2);
  expectPoint(r.shapes.at(0).subpaths[0][2], 52, 22);
}

TEST(MetafileTest, MetricModesPointTheYAxisUp) {
  // 0.1 mm units, picture 254 x 254 units (1 inch): y from 0 down to -254.
  const auto bytes = WmfBuilder().rectangle(0, 0, 127, -254).finish();
  Metafile mf = loaded(bytes, kMmLoMetric, 254, 254);
  EXPECT_NEAR(mf.naturalSize().width, 96, 1e-9);
  const Recorder r = played(mf, {0, 0, 96, 96});
  expectPoint(r.shapes.at(0).subpaths[0][0], 0, 0);
  expectPoint(r.shapes.at(0).subpaths[0][2], 48, 96);
}

TEST(MetafileTest, IsotropicKeepsTheAspectRatio) {
  const auto bytes = WmfBuilder().windowExt(100, 100).rectangle(0, 0, 100, 100).finish();
  const Recorder r = played(loaded(bytes, kMmIsotropic), {0, 0, 200, 50});
  expectPoint(r.shapes.at(0).subpaths[0][2], 50, 50);
}

TEST(MetafileTest, ObjectsTakeTheLowestFreeSlot) {
  const auto bytes = WmfBuilder()
                         .windowExt(10, 10)
                         .pen(0, 0, 0x0000FF)    // slot 0
                         .brush(0, 0x00FF00)     // slot 1
                         .deleteObject(0)
                         .brush(0, 0xFF00FF)     // slot 0 again
                         .select(0)
                         .rectangle(0, 0, 5, 5)
                         .select(1)
                         .rectangle(0, 0, 5, 5)
                         .select(7)              // nothing there: ignored
                         .rectangle(0, 0, 5, 5)
                         .finish();
  const Recorder r = played(loaded(bytes), {0, 0, 10, 10});
  ASSERT_EQ(r.shapes.size(), 3u);
  EXPECT_EQ(r.shapes[0].paint.brush.color, (Color{0xFF, 0, 0xFF}));
  EXPECT_EQ(r.shapes[1].paint.brush.color, (Color{0, 0xFF, 0}));
  EXPECT_EQ(r.shapes[2].paint.brush.color, (Color{0, 0xFF, 0}));
  EXPECT_EQ(r.shapes[0].paint.pen.color, (Color{0, 0, 0}));  // the default black pen
}

TEST(MetafileTest, RestoreDcBringsBackPenWindowAndClip) {
  const auto bytes = WmfBuilder()
                         .windowExt(10, 10)
                         .record(0x001E, {})                   // SaveDC
                         .pen(0, 0, 0xFF0000)
                         .select(0)
                         .windowExt(20, 20)
                         .record(0x0416, {5, 5, 0, 0})         // IntersectClipRect 0,0,5,5
                         .lineTo(10, 10)
                         .record(0x0127, {-1})                 // RestoreDC
                         .lineTo(10, 10)
                         .finish();
  const Recorder r = played(loaded(bytes), {0, 0, 100, 100});
  ASSERT_EQ(r.shapes.size(), 2u);
  EXPECT_EQ(r.shapes[0].paint.pen.color, (Color{0xFF, 0, 0}));
  expectPoint(r.shapes[0].subpaths[0][1], 50, 50);
  EXPECT_EQ(r.shapes[1].paint.pen.color, (Color{0, 0, 0}));
  expectPoint(r.shapes[1].subpaths[0][1], 100, 100);
  ASSERT_EQ(r.clips.size(), 2u);
  ASSERT_TRUE(r.clips[0].include.has_value());
  EXPECT_NEAR(r.clips[0].include->right, 25, 1e-9);
  EXPECT_FALSE(r.clips[1].include.has_value());
}

TEST(MetafileTest, PieGoesCounterClockwiseOnTheDevice) {
  // Ellipse 0..100; from the right-hand radial (3 o'clock) to the top one.
  const auto bytes = WmfBuilder()
                         .windowExt(100, 100)
                         .record(0x081A, {0, 50, 50, 100, 100, 100, 0, 0})
                         .finish();
  const Recorder r = played(loaded(bytes), {0, 0, 100, 100});
  ASSERT_EQ(r.shapes.size(), 1u);
  const auto& pts = r.shapes[0].subpaths[0];
  expectPoint(pts.front(), 50, 50);  // the centre
  expectPoint(pts[1], 100, 50);
  expectPoint(pts.back(), 50, 0);
  for (const PointF& p : pts) {  // the upper right quarter only
    EXPECT_GE(p.x, 50 - 1e-9);
    EXPECT_LE(p.y, 50 + 1e-9);
  }
}

TEST(MetafileTest, TextCarriesFontColourAndAdvancesTheCurrentPosition) {
  const auto bytes = WmfBuilder()
                         .windowExt(100, 100)
                         .font(-20, "Arial", 700)
                         .select(0)
                         .record(0x0209, {0x00FF, 0})  // SetTextColor red
                         .record(0x012E, {0x0001})     // TA_UPDATECP
                         .moveTo(10, 10)
                         .textOut(0, 0, "ab\xe9")
                         .textOut(0, 0, "c")
                         .finish();
  const Recorder r = played(loaded(bytes), {0, 0, 50, 50});
  ASSERT_EQ(r.texts.size(), 2u);
  EXPECT_EQ(r.texts[0].bytes, "ab\xe9");
  EXPECT_NEAR(r.texts[0].font.height, -10, 1e-9);
  EXPECT_EQ(r.texts[0].font.face, "Arial");
  EXPECT_EQ(r.texts[0].font.weight, 700);
  EXPECT_EQ(r.texts[0].color, (Color{0xFF, 0, 0}));
  expectPoint(r.texts[0].reference, 5, 5);
  // The first run advanced 10 device pixels, 20 logical units.
  expectPoint(r.texts[1].reference, 15, 5);
}

TEST(MetafileTest, StretchDibDecodesTheBitmap) {
  const auto dib = WmfBuilder::dib24(2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  const auto bytes =
      WmfBuilder().windowExt(10, 10).stretchDib(0, 0, 10, 10, dib, 2, 2).finish();
  const Recorder r = played(loaded(bytes), {0, 0, 20, 20});
  ASSERT_EQ(r.blits.size(), 1u);
  const auto& b = r.blits[0];
  EXPECT_EQ(b.rop, kRopSrcCopy);
  ASSERT_EQ(b.image.width, 2);
  EXPECT_EQ(b.image.pixels, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                                         0xFFFFFFFF}));
  EXPECT_NEAR(b.target.right, 20, 1e-9);
  EXPECT_NEAR(b.source.right, 2, 1e-9);
}

TEST(MetafileTest, MalformedMetafilesAreRejectedWhole) {
  const auto good = WmfBuilder().windowExt(10, 10).rectangle(0, 0, 5, 5).finish();
  Metafile mf;
  ASSERT_TRUE(mf.load(good.data(), good.size(), kMmAnisotropic, 0, 0));

  auto truncated = good;
  truncated.resize(truncated.size() - 10);  // cuts into the rectangle record
  EXPECT_FALSE(mf.load(truncated.data(), truncated.size(), kMmAnisotropic, 0, 0));
  EXPECT_FALSE(mf.valid());

  auto badHeader = good;
  badHeader[2] = 7;  // header size not 9 words
  EXPECT_FALSE(mf.load(badHeader.data(), badHeader.size(), kMmAnisotropic, 0, 0));

  auto tinyRecord = good;
  tinyRecord[18] = 2;  // first record claims 2 words, less than its own header
  EXPECT_FALSE(mf.load(tinyRecord.data(), tinyRecord.size(), kMmAnisotropic, 0, 0));

  // A polygon whose point count runs past its record.
  const auto shortPolygon = WmfBuilder().raw(0x0324, {50, 0, 1, 0, 2, 0}).finish();
  EXPECT_FALSE(mf.load(shortPolygon.data(), shortPolygon.size(), kMmAnisotropic, 0, 0));

  // A bitmap whose bits do not fit its record.
  auto dib = WmfBuilder::dib24(4, 4, std::vector<std::uint32_t>(16, 0));
  dib.resize(dib.size() - 8);
  const auto shortDib = WmfBuilder().stretchDib(0, 0, 4, 4, dib, 4, 4).finish();
  EXPECT_FALSE(mf.load(shortDib.data(), shortDib.size(), kMmAnisotropic, 0, 0));

  // A record too short for its fixed fields.
  const auto shortRect = WmfBuilder().record(0x041B, {1, 2}).finish();
  EXPECT_FALSE(mf.load(shortRect.data(), shortRect.size(), kMmAnisotropic, 0, 0));

  EXPECT_FALSE(mf.load(nullptr, 0, kMmAnisotropic, 0, 0));
  Recorder r;
  mf.play(r, {0, 0, 10, 10});
  EXPECT_TRUE(r.shapes.empty());
}

TEST(MetafileTest, UnknownRecordsAndAMissingEndRecordAreAccepted) {
  auto bytes = WmfBuilder().record(0x0626, {1, 2, 3}).windowExt(10, 10).ellipse(0, 0, 10, 10).finish();
  bytes.resize(bytes.size() - 6);  // drop the end record
  const Recorder r = played(loaded(bytes), {0, 0, 10, 10});
  ASSERT_EQ(r.shapes.size(), 1u);
  EXPECT_GT(r.shapes[0].subpaths[0].size(), 8u);
}

TEST(MetafileTest, GlyphTargetShrinksProportionallyNeverEnlarges) {
  // The box is 105 x 100: room 101 x 96.
  RectF small = glyphTarget({40, 30}, 105, 100);
  EXPECT_EQ(small.left, 2);
  EXPECT_EQ(small.top, 2);
  EXPECT_EQ(small.right, 42);
  EXPECT_EQ(small.bottom, 32);
  // 202 x 50 shrinks by 101/202 = 0.5 (the height would allow more).
  RectF wide = glyphTarget({202, 50}, 105, 100);
  EXPECT_EQ(wide.right, 2 + 101);
  EXPECT_EQ(wide.bottom, 2 + 25);
  // 300 x 400: by 96/400 = 0.24, truncated: 72 x 96.
  RectF tall = glyphTarget({300, 400}, 105, 100);
  EXPECT_EQ(tall.right, 2 + 72);
  EXPECT_EQ(tall.bottom, 2 + 96);
}

TEST(DibTest, DecodesPalettesBitFieldsAndOrientation) {
  std::vector<std::uint8_t> dib;
  auto put32 = [&](std::uint32_t v) { WmfBuilder::put32(dib, v); };
  auto put16 = [&](int v) { WmfBuilder::put16(dib, v); };
  // 1 bit per pixel, 3 x 2, top-down, palette black / white.
  put32(40);
  put32(3);
  put32(static_cast<std::uint32_t>(-2));
  put16(1);
  put16(1);
  for (int i = 0; i < 6; ++i) put32(0);
  put32(0x000000);
  put32(0xFFFFFF);
  put32(0xA0);  // row 0: 1 0 1 (from the high bit of the first byte)
  put32(0x40);  // row 1: 0 1 0
  ASSERT_EQ(checkDib(dib.data(), dib.size(), false), DibCheck::Ok);
  Image img;
  ASSERT_TRUE(decodeDib(dib.data(), dib.size(), false, {}, img));
  EXPECT_EQ(img.pixels, (std::vector<std::uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF,
                                                    0xFF000000, 0xFFFFFFFF, 0xFF000000}));

  // 16 bits 5-6-5 through bit fields, one pixel of pure green.
  dib.clear();
  put32(40);
  put32(1);
  put32(1);
  put16(1);
  put16(16);
  put32(3);  // BI_BITFIELDS
  for (int i = 0; i < 5; ++i) put32(0);
  put32(0xF800);
  put32(0x07E0);
  put32(0x001F);
  put32(0x07E0);  // the pixel and its padding
  ASSERT_TRUE(decodeDib(dib.data(), dib.size(), false, {}, img));
  EXPECT_EQ(img.pixels, (std::vector<std::uint32_t>{0xFF00FF00}));

  // Compressed bitmaps are well-formed but not drawn; oversized ones neither.
  dib[16] = 1;  // BI_RLE8 with 16 bits
  EXPECT_EQ(checkDib(dib.data(), dib.size(), false), DibCheck::Unsupported);
  EXPECT_EQ(checkDib(dib.data(), 20, false), DibCheck::Malformed);
}

TEST(DibTest, HugeDimensionsNeverOverflowTheSizeCheck) {
  std::vector<std::uint8_t> dib;
  WmfBuilder::put32(dib, 40);
  WmfBuilder::put32(dib, 0x7FFFFFFF);
  WmfBuilder::put32(dib, 0x7FFFFFFF);
  WmfBuilder::put16(dib, 1);
  WmfBuilder::put16(dib, 32);
  for (int i = 0; i < 6; ++i) WmfBuilder::put32(dib, 0);
  EXPECT_EQ(checkDib(dib.data(), dib.size(), false), DibCheck::Malformed);
}

}  // namespace
}  // namespace lirno::wmf
