// The folio pictures in a real workbench (offscreen): the picture grid of a
// displayed document, the caret's folio in bold, the viewer opened on a
// row, its move commands and their enabling, zoom and its clamps, dragging,
// the picture formats, damaged files and "Suivre le texte".
#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QCheckBox>
#include <QHeaderView>
#include <QImageWriter>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <fstream>
#include <iterator>

#include "documents/ui/image_viewer.h"
#include "documents/ui/picture_grid.h"
#include "documents/ui/picture_loader.h"
#include "documents/ui/pictures_controller.h"
#include "documents/wmf_builder.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

std::string encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  EXPECT_TRUE(writer.write(image)) << format;
  return bytes.toStdString();
}

QImage filled(int w, int h, QColor colour) {
  QImage i(w, h, QImage::Format_RGB32);
  i.fill(colour);
  return i;
}

// Three folios, recto and verso of the first, recto of the second.
const char* kDocument = "\xb1=un\r\n\xbe" "deux\r\n\xb1=trois\r\n";

class PicturesTest : public testing::WorkbenchTest {
 protected:
  // An information file beside ms.txt listing `lines` after the heading.
  std::string prepare(const std::string& lines) {
    program_.write("ms_fra.txt", "Notice\r\n[Images]\r\nFolio\tDescription\tImage\r\n" + lines);
    return writeDocument("ms.txt", kDocument);
  }
  void picture(const std::string& name, const std::string& bytes) { program_.write("Images/ms/" + name, bytes); }

  TfrmImage& viewer() { return *qobject_cast<TfrmImage*>(workbench().dialogs().frmImage); }
  static PicturesController& pictures(TfrmMain& w) { return *w.controller<PicturesController>(); }
  static QTableView& grid(TfrmMain& w) { return *w.ui.grdPicture; }

  // The caret moved by the user to folio `folio` ("1v").
  static void caretTo(TfrmMain& w, const char* folio) {
    w.ui.edFolio->setText(QString::fromLatin1(folio));
    emit w.ui.edFolio->textEdited(w.ui.edFolio->text());
    w.button("btnGoto")->click();
  }
  static std::vector<bool> bold(TfrmMain& w) {
    std::vector<bool> out;
    PictureModel& m = *pictures(w).model();
    for (int r = 0; r < m.rowCount(); ++r) out.push_back(m.index(r, 0).data(PictureModel::kMarkedRole).toBool());
    return out;
  }
  std::vector<bool> moves() {
    return {viewer().btnFirst->isEnabled(), viewer().btnPrev->isEnabled(), viewer().btnNext->isEnabled(),
            viewer().btnLast->isEnabled()};
  }
  void doubleClick(TfrmMain& w, int row) {
    grid(w).setCurrentIndex(grid(w).model()->index(row, 0));
    emit grid(w).doubleClicked(grid(w).currentIndex());
  }
};

using Flags = std::vector<bool>;

TEST_F(PicturesTest, GridRowsAndTheCaretsFolioInBold) {
  const std::string doc = prepare("1r\tRecto\ta.jpg\r\n1v\tVerso\tb.jpg\r\n1V\tVerso bis\tc.jpg\r\n2r\tDeux\td.jpg\r\n");
  TfrmMain& w = start();
  QAbstractItemModelTester tester(pictures(w).model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  EXPECT_EQ(grid(w).model()->rowCount(), 0);
  EXPECT_FALSE(grid(w).horizontalHeader()->isVisible());
  open(w, doc);
  w.show();
  ASSERT_EQ(grid(w).model()->rowCount(), 4);
  EXPECT_TRUE(grid(w).horizontalHeader()->isVisible());
  EXPECT_EQ(grid(w).model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Description"));
  EXPECT_EQ(grid(w).model()->index(3, 2).data().toString(), QStringLiteral("d.jpg"));
  EXPECT_EQ(grid(w).columnWidth(0), 58);

  caretTo(w, "1v");
  EXPECT_EQ(bold(w), (Flags{false, true, true, false}));
  EXPECT_EQ(grid(w).currentIndex().row(), 1);  // the first of them
  caretTo(w, "2r");
  EXPECT_EQ(bold(w), (Flags{false, false, false, true}));
  EXPECT_EQ(grid(w).currentIndex().row(), 3);

  // Closing the documents empties the grid, title row and all.
  w.button("btnClose")->click();
  EXPECT_EQ(grid(w).model()->rowCount(), 0);
  EXPECT_FALSE(grid(w).horizontalHeader()->isVisible());
  EXPECT_TRUE(pictures(w).pictureList().lastFolio().empty());
}

TEST_F(PicturesTest, TheViewerMovesZoomsAndDrags) {
  const std::string doc = prepare("1r\tRecto\ta.jpg\r\n1v\tVerso\tb.bmp\r\n2r\tDeux\tc.jpg\r\n");
  picture("a.jpg", encoded(filled(300, 200, Qt::red), "jpg"));
  picture("b.bmp", encoded(filled(120, 90, Qt::blue), "bmp"));
  picture("c.jpg", encoded(filled(1000, 800, Qt::green), "jpg"));
  TfrmMain& w = start();
  open(w, doc);
  doubleClick(w, 1);
  TfrmImage& v = viewer();
  ASSERT_TRUE(v.isVisible());
  EXPECT_FALSE(v.isModal());
  EXPECT_EQ(v.folder(), program_.path() + "Images/ms/");
  EXPECT_EQ(v.currentIndex(), 1);
  EXPECT_EQ(v.edFolio->text(), QStringLiteral("1v"));
  EXPECT_EQ(v.edDescr->text(), QStringLiteral("Verso"));
  EXPECT_EQ(v.edImage->text(), QStringLiteral("b.bmp"));
  EXPECT_EQ(v.displayedSize(), QSize(120, 90));
  EXPECT_EQ(moves(), (Flags{true, true, true, true}));

  v.btnLast->click();
  EXPECT_EQ(v.currentIndex(), 2);
  EXPECT_EQ(moves(), (Flags{true, true, false, false}));
  EXPECT_EQ(v.displayedSize(), QSize(1000, 800));
  EXPECT_EQ(v.imgPicture->size(), QSize(1000, 800));
  v.btnFirst->click();
  EXPECT_EQ(v.currentIndex(), 0);
  EXPECT_EQ(moves(), (Flags{false, false, true, true}));
  EXPECT_EQ(v.loadedPicture().size(), QSize(300, 200));
  v.btnNext->click();
  v.btnPrev->click();
  EXPECT_EQ(v.currentIndex(), 0);

  // Zoom: tenths from 0.1 to 2.0, clamped, a new picture back at 1.0.
  for (int i = 0; i < 10; ++i) v.btnZoomIn->click();
  EXPECT_DOUBLE_EQ(v.zoom(), 2.0);
  v.btnZoomIn->click();
  EXPECT_DOUBLE_EQ(v.zoom(), 2.0);
  EXPECT_EQ(v.displayedSize(), QSize(600, 400));
  for (int i = 0; i < 30; ++i) v.btnZoomOut->click();
  EXPECT_DOUBLE_EQ(v.zoom(), 0.1);
  EXPECT_EQ(v.displayedSize(), QSize(30, 20));
  v.setZoom(0.15);
  v.btnZoomOut->click();
  EXPECT_DOUBLE_EQ(v.zoom(), 0.1);
  v.setZoom(0.3);
  EXPECT_EQ(v.displayedSize(), QSize(90, 60));
  v.btnNext->click();
  EXPECT_DOUBLE_EQ(v.zoom(), 1.0);

  // Dragging moves the scroll bars against the mouse.
  v.btnLast->click();
  v.resize(400, 300);
  QCoreApplication::processEvents();
  QScrollBar* h = v.sclImage->horizontalScrollBar();
  QScrollBar* vert = v.sclImage->verticalScrollBar();
  ASSERT_GT(h->maximum(), 100);
  QTest::mousePress(v.imgPicture, Qt::LeftButton, {}, QPoint(200, 200));
  EXPECT_TRUE(v.dragging());
  QTest::mouseMove(v.imgPicture, QPoint(150, 170));
  EXPECT_EQ(h->value(), 50);
  EXPECT_EQ(vert->value(), 30);
  QTest::mouseRelease(v.imgPicture, Qt::LeftButton, {}, QPoint(150, 170));
  EXPECT_FALSE(v.dragging());
  EXPECT_TRUE(messages.empty());
}

TEST_F(PicturesTest, APictureThatCannotBeLoadedKeepsTheShownOne) {
  const std::string doc = prepare("1r\tBon\ta.jpg\r\n1v\tAbîmé\tbad.jpg\r\n2r\tAbsent\tnone.jpg\r\n");
  const std::string good = encoded(filled(64, 48, Qt::red), "jpg");
  picture("a.jpg", good);
  std::string bad = good;
  bad.resize(40);  // cut inside its headers
  picture("bad.jpg", bad);
  // Cut inside its scan: the decoder gets past it and shows what it read.
  QImage big(400, 300, QImage::Format_RGB32);
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) big.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  }
  std::string cut = encoded(big, "jpg");
  cut.resize(cut.size() * 2 / 3);
  LoadedPicture partial;
  std::string reason;
  EXPECT_TRUE(partial.loadBytes(cut, "cut.jpg", reason)) << reason;
  EXPECT_EQ(partial.size(), QSize(400, 300));
  TfrmMain& w = start();
  open(w, doc);
  doubleClick(w, 0);
  TfrmImage& v = viewer();
  v.btnZoomIn->click();
  v.btnNext->click();  // the damaged one: a message, not the end of the program
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Impossible de charger l'image :\n" + program_.file("Images/ms/bad.jpg") + "\n", 0), 0u);
  EXPECT_EQ(v.edImage->text(), QStringLiteral("bad.jpg"));  // the fields show the entry
  EXPECT_DOUBLE_EQ(v.zoom(), 1.1);                          // the picture and zoom stay
  EXPECT_EQ(v.loadedPicture().size(), QSize(64, 48));
  v.btnNext->click();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[1].find("none.jpg\nFichier non trouvé"), std::string::npos);
}

TEST_F(PicturesTest, TheImageFolderTheListsLifeAndFollowingTheText) {
  program_.write("ms_fra.txt", "[Images]\r\nh\r\n1r\tun\ta.jpg\r\n1v\tdeux\tb.jpg\r\n2r\ttrois\tc.jpg\r\nRepertoire=scans\r\n");
  const std::string doc = writeDocument("ms.txt", kDocument);
  for (const char* n : {"a.jpg", "b.jpg", "c.jpg"}) program_.write(std::string("Images/scans/") + n, encoded(filled(20, 10, Qt::gray), "jpg"));
  const std::string other = writeDocument("autre.txt", kDocument);
  program_.write("autre_fra.txt", "[Images]\r\nh\r\n1r\tseul\ta.jpg\r\nRepertoire=scans\r\n");
  TfrmMain& w = start();
  open(w, doc);
  doubleClick(w, 2);
  TfrmImage& v = viewer();
  EXPECT_EQ(v.folder(), program_.path() + "Images/scans/");
  EXPECT_EQ(v.currentIndex(), 2);

  // Off by default: the caret does not move the viewer.
  EXPECT_FALSE(v.chkFollow->isChecked());
  caretTo(w, "1v");
  EXPECT_EQ(v.currentIndex(), 2);
  v.chkFollow->setChecked(true);
  caretTo(w, "1r");
  EXPECT_EQ(v.currentIndex(), 0);
  EXPECT_EQ(v.edDescr->text(), QStringLiteral("un"));
  caretTo(w, "1v");
  EXPECT_EQ(v.currentIndex(), 1);

  // A shorter list under the viewer: its index is past the end, the first is shown.
  open(w, other);
  EXPECT_EQ(moves(), (Flags{true, true, false, false}));
  doubleClick(w, 0);
  EXPECT_EQ(v.currentIndex(), 0);
  EXPECT_EQ(v.edDescr->text(), QStringLiteral("seul"));
  // Documents closed under the viewer: no entry to move to.
  w.button("btnClose")->click();
  EXPECT_EQ(moves(), (Flags{false, false, false, false}));
  EXPECT_TRUE(v.edFolio->text().isEmpty());
  EXPECT_FALSE(v.btnZoomIn->isEnabled());
  EXPECT_FALSE(v.btnZoomOut->isEnabled());
  v.btnNext->click();
  v.btnLast->click();
  EXPECT_TRUE(messages.empty());
  // A double click on an empty grid does nothing.
  v.hide();
  emit grid(w).doubleClicked(QModelIndex());
  EXPECT_FALSE(v.isVisible());
  // The state of the check box is kept.
  doubleClick(w, 0);
  EXPECT_TRUE(v.chkFollow->isChecked());
}

TEST_F(PicturesTest, WindowsPictureFormats) {
  LoadedPicture p;
  std::string reason;
  // Icons: the largest picture of the file.
  ASSERT_TRUE(p.loadBytes(encoded(filled(32, 32, Qt::yellow), "ico"), "x.ico", reason)) << reason;
  EXPECT_EQ(p.size(), QSize(32, 32));
  EXPECT_EQ(QColor(p.bitmapFor(1.0).pixel(5, 5)), QColor(Qt::yellow));

  // A placeable metafile of 1 x 0.5 inch: 96 x 48 pixels, drawn by our player.
  const auto wmf = testing::WmfBuilder()
                       .windowExt(100, 50)
                       .pen(5, 0, 0)
                       .select(0)
                       .brush(0, 0x0000FF)
                       .select(1)
                       .rectangle(0, 0, 100, 50)
                       .finish();
  std::string placeable("\xD7\xCD\xC6\x9A\0\0\0\0\0\0\x64\0\x32\0\x64\0\0\0\0\0\0\0", 22);
  placeable.append(reinterpret_cast<const char*>(wmf.data()), wmf.size());
  ASSERT_TRUE(p.loadBytes(placeable, "x.wmf", reason)) << reason;
  EXPECT_EQ(p.size(), QSize(96, 48));
  EXPECT_EQ(QColor(p.bitmapFor(1.0).pixel(48, 24)), QColor(0, 0, 255));

  // An enhanced metafile: frame 2.54 x 2.54 cm, a red rectangle in MM_TEXT.
  std::string emf;
  auto u32 = [&emf](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) emf.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  u32(1); u32(88);
  u32(0); u32(0); u32(95); u32(95);        // bounds
  u32(0); u32(0); u32(2540); u32(2540);    // frame, 0.01 mm
  u32(0x464D4520); u32(0x10000); u32(0); u32(0);  // signature, version, bytes, records
  u32(0); u32(0); u32(0); u32(0);          // handles, reserved, description, palette
  u32(1920); u32(1080); u32(508); u32(286);  // device: pixels and millimetres (96 dpi)
  u32(39); u32(24); u32(1); u32(0); u32(0x000000FF); u32(0);  // CreateBrushIndirect 1: solid red
  u32(37); u32(12); u32(1);                                   // SelectObject 1
  u32(37); u32(12); u32(0x80000008);                          // NULL_PEN
  u32(43); u32(24); u32(0); u32(0); u32(96); u32(96);         // Rectangle
  u32(14); u32(20); u32(0); u32(16); u32(20);                 // EOF
  ASSERT_TRUE(p.loadBytes(emf, "x.emf", reason)) << reason;
  EXPECT_EQ(p.size(), QSize(96, 96));
  EXPECT_EQ(QColor(p.bitmapFor(1.0).pixel(40, 40)), QColor(255, 0, 0));
  // A record running past the file: refused whole, the picture unchanged.
  std::string cut = emf.substr(0, emf.size() - 30);
  EXPECT_FALSE(p.loadBytes(cut + std::string("\x2B\0\0\0\xFF\0\0\0", 8), "x.emf", reason));
  EXPECT_EQ(p.size(), QSize(96, 96));

  // The fuzzer's seeds, one drawing kind each (pens and brushes, 16-bit
  // shapes under a mapping mode, paths under world transforms, text, a
  // bitmap): each is read and draws something.
  for (const char* seed : {"rect", "poly16", "path", "text", "dib"}) {
    std::ifstream in(std::string(LIRNO_SAMPLE_DATA) + "/../fuzz/seeds/emf/" + seed, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(p.loadBytes(bytes, seed, reason)) << seed;
    const QImage& img = p.bitmapFor(1.0);
    int drawn = 0;
    for (int y = 0; y < img.height(); ++y) {
      for (int x = 0; x < img.width(); ++x) drawn += img.pixel(x, y) != qRgb(255, 255, 255);
    }
    EXPECT_GT(drawn, 20) << seed;
  }

  EXPECT_FALSE(p.loadBytes("GIF89a", "x.gif", reason));
  EXPECT_EQ(reason, "Format d'image inconnu");
}

TEST_F(PicturesTest, JpegDecodedAtTheScaleShown) {
  EXPECT_EQ(LoadedPicture::denominatorFor(1.0), 1);
  EXPECT_EQ(LoadedPicture::denominatorFor(0.6), 1);
  EXPECT_EQ(LoadedPicture::denominatorFor(0.5), 2);
  EXPECT_EQ(LoadedPicture::denominatorFor(0.3), 2);
  EXPECT_EQ(LoadedPicture::denominatorFor(0.25), 4);
  EXPECT_EQ(LoadedPicture::denominatorFor(0.1), 8);
  LoadedPicture p;
  std::string reason;
  QImage source(801, 600, QImage::Format_RGB32);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 801; ++x) source.setPixel(x, y, x < 400 ? qRgb(250, 10, 10) : qRgb(10, 10, 250));
  }
  ASSERT_TRUE(p.loadBytes(encoded(source, "jpg"), "x.jpg", reason)) << reason;
  double scale = 0;
  EXPECT_EQ(p.bitmapFor(1.0, &scale).size(), QSize(801, 600));
  EXPECT_DOUBLE_EQ(scale, 1.0);
  const QImage& quarter = p.bitmapFor(0.2, &scale);
  EXPECT_EQ(quarter.size(), QSize(201, 150));  // rounded up
  EXPECT_DOUBLE_EQ(scale, 0.25);
  EXPECT_GT(qRed(quarter.pixel(20, 75)), 200);
  EXPECT_GT(qBlue(quarter.pixel(180, 75)), 200);
  EXPECT_EQ(p.bitmapFor(0.1).size(), QSize(101, 75));
}

}  // namespace
}  // namespace lirno
