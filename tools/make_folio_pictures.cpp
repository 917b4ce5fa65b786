// lirno-make-folios: synthetic folio photographs for the sample documents
// and the benchmark. A page is parchment-coloured (mottled, darker at the
// edges, with a little grain), ruled, and carries the folio's own text in a
// brown book hand with a red initial and its folio number; written as JPEG
// by libjpeg.
//
//   lirno-make-folios DOCUMENT OUTDIR PREFIX [--detail] [--size WxH] [--quality Q]
//       one picture per folio of DOCUMENT: OUTDIR/PREFIX<folio>.jpg ("f1r.jpg");
//       --detail adds PREFIX<first folio>_detail.jpg, the initial enlarged
//   lirno-make-folios --page OUT.jpg WxH [--quality Q]
//       one page of generated text (the benchmark's 24-megapixel picture)
//
// The same arguments always give the same bytes (fixed seeds).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "documents/document.h"
#include "documents/markers.h"
#include "documents/rtf_reader.h"
#include "platform/cp1252.h"

namespace {

struct Folio {
  std::string label;  // "1r"
  QString text;
};

// The text of each folio: from its mark to the next folio mark, markers
// and note anchors left out, paragraphs kept.
std::vector<Folio> foliosOf(const lirno::Document& doc) {
  std::vector<Folio> out;
  std::vector<const lirno::Mark*> marks;
  for (const lirno::Mark& m : doc.marks) {
    if (m.kind == lirno::MarkKind::Folio) marks.push_back(&m);
  }
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const std::size_t from = static_cast<std::size_t>(marks[i]->index) + 1;
    const std::size_t to = i + 1 < marks.size() ? static_cast<std::size_t>(marks[i + 1]->index) : doc.text.size();
    std::string bytes;
    for (std::size_t k = from; k < to && k < doc.text.size(); ++k) {
      const auto c = static_cast<unsigned char>(doc.text[k]);
      if (c == lirno::Markers::kDefaultPage || c == lirno::Markers::kDefaultVerso ||
          c == lirno::Markers::kDefaultGlyph || c == lirno::Markers::kNoteAnchor || c == lirno::Markers::kSpan) {
        continue;
      }
      if (c == '=' && k == from) continue;  // the recto sign after a page marker
      bytes.push_back(c == '\r' || c == '\n' ? ' ' : static_cast<char>(c));
    }
    Folio f;
    f.label = std::to_string(marks[i]->number) + (marks[i]->value == 1 ? "v" : "r");
    f.text = QString::fromUtf8(lirno::cp1252ToUtf8(bytes)).trimmed();
    out.push_back(std::move(f));
  }
  return out;
}

// Smooth noise in [0, 1]: a coarse random grid, bilinearly interpolated.
class Mottle {
 public:
  Mottle(int cells, unsigned seed) : n_(cells + 2), v_(static_cast<std::size_t>(n_ * n_)) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> d(0, 1);
    for (float& x : v_) x = d(rng);
  }
  float at(double u, double v) const {  // u, v in [0, 1]
    const double x = u * (n_ - 2), y = v * (n_ - 2);
    const int i = static_cast<int>(x), j = static_cast<int>(y);
    const double fx = x - i, fy = y - j;
    auto g = [&](int a, int b) { return v_[static_cast<std::size_t>(b * n_ + a)]; };
    return static_cast<float>((g(i, j) * (1 - fx) + g(i + 1, j) * fx) * (1 - fy) +
                              (g(i, j + 1) * (1 - fx) + g(i + 1, j + 1) * fx) * fy);
  }

 private:
  int n_;
  std::vector<float> v_;
};

QImage parchment(int w, int h, unsigned seed) {
  QImage img(w, h, QImage::Format_RGB32);
  const Mottle coarse(6, seed), fine(40, seed + 1);
  std::mt19937 rng(seed + 2);
  std::uniform_int_distribution<int> grain(-3, 3);
  for (int y = 0; y < h; ++y) {
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    const double v = (y + 0.5) / h;
    for (int x = 0; x < w; ++x) {
      const double u = (x + 0.5) / w;
      // Darker towards the edges, as a page photographed under a lamp.
      const double edge = std::min({u, 1 - u, v, 1 - v});
      const double shade = 0.80 + 0.20 * std::min(1.0, edge * 9) - 0.10 * coarse.at(u, v) - 0.05 * fine.at(u, v);
      const int g = grain(rng);
      auto ch = [&](double base) { return std::clamp(static_cast<int>(base * shade) + g, 0, 255); };
      row[x] = qRgb(ch(236), ch(220), ch(180));
    }
  }
  return img;
}

void drawPage(QImage& img, const QString& label, const QString& text, unsigned seed) {
  const int w = img.width(), h = img.height();
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const double margin = w * 0.12;
  const double lineHeight = h / 30.0;
  // Ruling.
  p.setPen(QPen(QColor(150, 120, 90, 70), std::max(1.0, w / 1200.0)));
  for (double y = h * 0.12; y < h * 0.9; y += lineHeight) p.drawLine(QPointF(margin, y), QPointF(w - margin, y));
  // Folio number, top right.
  QFont small(QStringLiteral("Liberation Serif"));
  small.setPixelSize(static_cast<int>(lineHeight * 0.7));
  p.setFont(small);
  p.setPen(QColor(90, 60, 40));
  p.drawText(QRectF(w - margin - lineHeight * 4, h * 0.04, lineHeight * 4, lineHeight), Qt::AlignRight, label);

  // The text, line by line on the ruling, a red initial first.
  QFont hand(QStringLiteral("Liberation Serif"));
  hand.setItalic(true);
  hand.setPixelSize(static_cast<int>(lineHeight * 0.62));
  const QString body = text.isEmpty() ? QStringLiteral("…") : text;
  QFont initial(QStringLiteral("Liberation Serif"));
  initial.setBold(true);
  initial.setPixelSize(static_cast<int>(lineHeight * 2.2));
  p.setFont(initial);
  p.setPen(QColor(160, 30, 20));
  const double initialWidth = lineHeight * 1.9;
  p.drawText(QRectF(margin, h * 0.12 - lineHeight * 0.25, initialWidth, lineHeight * 2.3), Qt::AlignLeft | Qt::AlignBottom, body.left(1));

  p.setFont(hand);
  p.setPen(QColor(70, 45, 25));
  QTextLayout layout(body.mid(1), hand);
  QTextOption opt;
  opt.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(opt);
  layout.beginLayout();
  double y = h * 0.12 + lineHeight * 0.78 - QFontMetricsF(hand).ascent();
  int n = 0;
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> wobble(-lineHeight * 0.03, lineHeight * 0.03);
  while (y < h * 0.88) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    const double indent = n < 2 ? initialWidth : 0;
    line.setLineWidth(w - 2 * margin - indent);
    line.setPosition(QPointF(margin + indent, y + wobble(rng)));
    y += lineHeight;
    ++n;
  }
  layout.endLayout();
  layout.draw(&p, QPointF(0, 0));
}

bool writeJpeg(const QImage& image, const std::string& path, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = static_cast<JDIMENSION>(image.width());
  cinfo.image_height = static_cast<JDIMENSION>(image.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  cinfo.optimize_coding = TRUE;
  jpeg_start_compress(&cinfo, TRUE);
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

bool parseSize(const char* s, int& w, int& h) { return std::sscanf(s, "%dx%d", &w, &h) == 2 && w > 0 && h > 0; }

int usage() {
  std::fputs("usage: lirno-make-folios DOCUMENT OUTDIR PREFIX [--detail] [--size WxH] [--quality Q]\n"
             "       lirno-make-folios --page OUT.jpg WxH [--quality Q]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc < 4) return usage();
  int quality = 72;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string(argv[i]) == "--quality") quality = std::atoi(argv[i + 1]);
  }

  if (std::string(argv[1]) == "--page") {
    int w = 0, h = 0;
    if (!parseSize(argv[3], w, h)) return usage();
    QString text;
    for (int i = 0; i < 400; ++i) text += QStringLiteral("Herba quae dicitur salvia crescit in locis siccis. ");
    QImage img = parchment(w, h, 7);
    drawPage(img, QStringLiteral("12v"), text, 7);
    if (!writeJpeg(img, argv[2], quality)) return 1;
    return 0;
  }

  const std::string document = argv[1], folder = argv[2], prefix = argv[3];
  int w = 900, h = 1260;
  bool detail = false;
  for (int i = 4; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--detail") detail = true;
    if (a == "--size" && i + 1 < argc && !parseSize(argv[++i], w, h)) return usage();
  }
  lirno::Document doc;
  if (!lirno::readDocument(document, doc, lirno::Markers())) {
    std::fprintf(stderr, "cannot read %s\n", document.c_str());
    return 1;
  }
  unsigned seed = 11;
  const std::vector<Folio> folios = foliosOf(doc);
  for (const Folio& f : folios) {
    QImage img = parchment(w, h, ++seed);
    drawPage(img, QString::fromStdString(f.label), f.text, seed);
    const std::string out = folder + "/" + prefix + f.label + ".jpg";
    if (!writeJpeg(img, out, quality)) {
      std::fprintf(stderr, "cannot write %s\n", out.c_str());
      return 1;
    }
    std::printf("%s\n", out.c_str());
  }
  if (detail && !folios.empty()) {
    // The top left of the first page, twice as large: the initial.
    QImage img = parchment(w, h, 5);
    drawPage(img, QString::fromStdString(folios[0].label), folios[0].text, 5);
    const QImage part = img.copy(0, 0, w / 2, h / 3).scaled(w, h * 2 / 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const std::string out = folder + "/" + prefix + folios[0].label + "_detail.jpg";
    if (!writeJpeg(part, out, quality)) return 1;
    std::printf("%s\n", out.c_str());
  }
  return 0;
}
