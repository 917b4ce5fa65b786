// The metafile player drawing on a QPainter, checked by pixels.
#include "documents/ui/metafile_painter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "documents/wmf_builder.h"

namespace lirno {
namespace {

using lirno::testing::WmfBuilder;

QImage render(const std::vector<std::uint8_t>& bytes, int size = 100, int mode = wmf::kMmAnisotropic) {
  wmf::Metafile mf;
  mf.load(bytes.data(), bytes.size(), mode, 0, 0);
  QImage img(size, size, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  drawMetafile(p, mf, QRectF(0, 0, size, size));
  return img;
}

TEST(MetafilePainterTest, FillsShapesWithTheSelectedBrush) {
  const auto img = render(WmfBuilder()
                              .windowExt(10, 10)
                              .pen(5, 0, 0)
                              .select(0)
                              .brush(0, 0x0000FF)
                              .select(1)
                              .rectangle(0, 0, 5, 10)
                              .brush(0, 0x00FF00)
                              .select(2)
                              .ellipse(5, 0, 10, 10)
                              .finish());
  EXPECT_EQ(img.pixelColor(20, 50), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(75, 50), QColor(Qt::green));
  EXPECT_EQ(img.pixelColor(52, 2), QColor(Qt::white));  // outside the ellipse
}

TEST(MetafilePainterTest, TransparentTextLeavesWhatIsUnderIt) {
  // A red square, then a small dot of text over it with a green background
  // colour but the transparent background mode.
  const auto img = render(WmfBuilder()
                              .windowExt(100, 100)
                              .brush(2, 0xFF0000, 4)  // opaque hatched cross first
                              .select(0)
                              .rectangle(0, 0, 50, 50)
                              .brush(0, 0xFF0000)
                              .select(1)
                              .pen(5, 0, 0)
                              .select(2)
                              .rectangle(50, 50, 100, 100)
                              .record(0x0201, {0xFF00, 0})  // SetBkColor green
                              .record(0x0102, {1})          // TRANSPARENT
                              .font(-30, "Arial")
                              .select(3)
                              .textOut(52, 52, ".")
                              .finish());
  // Inside the text cell, away from the dot, the square is still red.
  EXPECT_EQ(img.pixelColor(56, 56), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(95, 95), QColor(Qt::red));
}

TEST(MetafilePainterTest, OpaqueTextFillsItsCell) {
  const auto img = render(WmfBuilder()
                              .windowExt(100, 100)
                              .record(0x0201, {0xFF00, 0})  // SetBkColor green
                              .font(-30, "Arial")
                              .select(0)
                              .textOut(10, 10, ".")
                              .finish());
  EXPECT_EQ(img.pixelColor(11, 12), QColor(Qt::green));
}

TEST(MetafilePainterTest, ClipRectanglesLimitTheDrawing) {
  const auto img = render(WmfBuilder()
                              .windowExt(10, 10)
                              .pen(5, 0, 0)
                              .select(0)
                              .brush(0, 0x000000)
                              .select(1)
                              .record(0x0416, {10, 5, 0, 0})  // keep the left half
                              .record(0x0415, {6, 6, 4, 4})   // but not its middle
                              .rectangle(0, 0, 10, 10)
                              .finish());
  EXPECT_EQ(img.pixelColor(20, 20), QColor(Qt::black));
  EXPECT_EQ(img.pixelColor(75, 20), QColor(Qt::white));
  EXPECT_EQ(img.pixelColor(45, 50), QColor(Qt::white));
}

TEST(MetafilePainterTest, BitmapsAreStretchedAndMirroredWithTheirTarget) {
  // 2 x 1 pixels: red then blue; drawn over the whole picture, then again
  // mirrored over its lower half (negative width).
  const auto dib = WmfBuilder::dib24(2, 1, {0xFF0000, 0x0000FF});
  const auto img = render(WmfBuilder()
                              .windowExt(10, 10)
                              .stretchDib(0, 0, 10, 5, dib, 2, 1)
                              .stretchDib(10, 5, -10, 5, dib, 2, 1)
                              .finish());
  EXPECT_EQ(img.pixelColor(10, 25), QColor(Qt::red));
  EXPECT_EQ(img.pixelColor(90, 25), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(10, 75), QColor(Qt::blue));
  EXPECT_EQ(img.pixelColor(90, 75), QColor(Qt::red));
}

TEST(MetafilePainterTest, AMalformedMetafileDrawsNothing) {
  auto bytes = WmfBuilder().windowExt(10, 10).brush(0, 0).select(0).rectangle(0, 0, 10, 10)
                   .polygon({{0, 0}, {5, 5}, {0, 9}})
                   .finish();
  bytes.resize(bytes.size() - 9);  // the polygon's points run past the data
  const auto img = render(bytes);
  for (int y = 0; y < img.height(); y += 7) {
    for (int x = 0; x < img.width(); x += 7) ASSERT_EQ(img.pixelColor(x, y), QColor(Qt::white));
  }
}

}  // namespace
}  // namespace lirno
