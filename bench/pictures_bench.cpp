// The image viewer on a large folio photograph, offscreen: the first
// display (file read, JPEG decoded, the window painted), each zoom step
// down to 0.1 and back up to 2.0 (painted), and the memory the loaded
// picture holds against its decoded bitmap.
//
//   lirno-bench-pictures PICTURE.jpg [WIDTHxHEIGHT of the window]
//
// Prints "key value" lines for bench/run. (bench/run makes the picture
// with lirno-make-folios --page.)
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollArea>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "documents/picture_list.h"
#include "documents/ui/image_viewer.h"
#include "platform/paths.h"

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

long peakRssKb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Everything the step asked for is on the screen: posted layouts done, the
// visible part of the picture painted.
void painted(lirno::TfrmImage& v) {
  QCoreApplication::sendPostedEvents();
  v.sclImage->viewport()->repaint();
  v.imgPicture->repaint();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: lirno-bench-pictures PICTURE.jpg [WxH]\n", stderr);
    return 2;
  }
  const std::string path = argv[1];
  int w = 1280, h = 900;
  if (argc > 2) std::sscanf(argv[2], "%dx%d", &w, &h);

  lirno::cPictureList list;
  list.build("[Images]\r\nFolio\tDescription\tImage\r\n12v\tbench\t" + lirno::fileNameOf(path) + "\r\n");
  lirno::TfrmImage viewer;
  viewer.resize(w, h);
  const long rssBefore = peakRssKb();

  QElapsedTimer t;
  t.start();
  viewer.present(&list, 0, "bench", lirno::folderOf(path));
  painted(viewer);
  const double first = ms(t);
  const QSize size = viewer.loadedPicture().size();
  if (size.isEmpty()) {
    std::fprintf(stderr, "cannot load %s\n", path.c_str());
    return 1;
  }
  const double decoded = 4.0 * size.width() * size.height();
  const double heldAtOne = static_cast<double>(viewer.loadedPicture().memoryBytes());

  std::vector<double> steps;
  for (int i = 0; i < 9; ++i) {
    t.restart();
    viewer.zoomOut();
    painted(viewer);
    steps.push_back(ms(t));
  }
  for (int i = 0; i < 19; ++i) {
    t.restart();
    viewer.zoomIn();
    painted(viewer);
    steps.push_back(ms(t));
  }
  const double heldAfter = static_cast<double>(viewer.loadedPicture().memoryBytes());
  const long rssAfter = peakRssKb();
  double sum = 0;
  for (double s : steps) sum += s;

  std::printf("width %d\nheight %d\n", size.width(), size.height());
  std::printf("first_display_ms %.1f\n", first);
  std::printf("zoom_steps %zu\nzoom_step_mean_ms %.1f\nzoom_step_max_ms %.1f\n", steps.size(),
              sum / static_cast<double>(steps.size()), *std::max_element(steps.begin(), steps.end()));
  std::printf("zoom_final %.1f\n", viewer.zoom());
  std::printf("decoded_bytes %.0f\nheld_bytes_zoom1 %.0f\nheld_bytes_max %.0f\n", decoded, heldAtOne,
              std::max(heldAtOne, heldAfter));
  std::printf("peak_rss_growth_bytes %ld\n", (rssAfter - rssBefore) * 1024);
  return 0;
}
