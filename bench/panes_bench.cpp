// The document panes on a large transcription, offscreen, in a real main
// window: opening it into the first pane until the window is ready for
// input, caret moves with the position display, and colouring many ranges.
//
//   lirno-bench-panes TRANSCRIPTION [CARET_MOVES] [RANGES]
//
// (bench/run makes the transcription with lirno-gen-transcription.)
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "app/composition.h"
#include "documents/ui/pane_text.h"
#include "documents/ui/panes_controller.h"
#include "platform/paths.h"
#include "shell/ui/workbench.h"

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  if (argc < 2) {
    std::fputs("usage: lirno-bench-panes TRANSCRIPTION [CARET_MOVES] [RANGES]\n", stderr);
    return 2;
  }
  const std::string path = argv[1];
  const int moves = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int rangeCount = argc > 3 ? std::atoi(argv[3]) : 100000;

  lirno::Workbench wb(lirno::executableFolder(), lirno::parseCommandLine(""));
  wb.setFallbackSettingsPath("/tmp/lirno-bench-panes/Lirno.ini");
  lirno::composeWorkbench(wb);
  lirno::TfrmMain* w = wb.start();
  w->setWindowState(Qt::WindowNoState);
  w->resize(1024, 605);
  QCoreApplication::processEvents();
  auto* panes = w->controller<lirno::PanesController>();
  panes->setFileChooser([&](QWidget*, const std::string&) { return path; });

  // Open, as "&Ouvrir" does, until the pending events (layout, painting) are
  // done and the window would take the next key.
  QElapsedTimer t;
  t.start();
  panes->openDocument();
  QCoreApplication::processEvents();
  w->repaint();
  const double openMs = ms(t);
  lirno::PaneRecord& pane = panes->paneAt(0);
  const lirno::Document& doc = pane.document;
  if (doc.text.empty()) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  std::printf("document: %.1f MB, %zu marks, %zu line breaks, %zu notes\n",
              static_cast<double>(doc.text.size()) / 1e6, doc.marks.size(), doc.lineTable.size(),
              doc.notes.size());
  std::printf("open into the pane, ready for input: %.0f ms\n", openMs);

  // The same caret moves twice: first under the busy count (the editor's
  // own work: scrolling, laying out the paragraphs it comes to), then as
  // the user makes them, each also running the position display.
  const std::int32_t end = doc.positionOfIndex(static_cast<std::int32_t>(doc.text.size()));
  auto caretMoves = [&](bool busy) {
    std::mt19937 rng(7);
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(moves));
    for (int i = 0; i < moves; ++i) {
      const std::int32_t at = static_cast<std::int32_t>(rng() % static_cast<std::uint32_t>(end));
      QTextCursor c(pane.editor->document());
      c.setPosition(lirno::cursorOfPosition(doc, at));
      t.restart();
      if (busy) {
        lirno::TfrmMain::Busy b(*w);
        pane.editor->setTextCursor(c);
      } else {
        pane.editor->setTextCursor(c);
      }
      times.push_back(ms(t));
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double v : times) sum += v;
    std::printf("%s: mean %.3f ms, median %.3f ms, 99%% %.3f ms, max %.3f ms (%d moves)\n",
                busy ? "caret move alone (busy), first visit" : "same moves with position display   ",
                sum / static_cast<double>(times.size()), times[times.size() / 2],
                times[times.size() * 99 / 100], times.back(), moves);
  };
  caretMoves(true);
  caretMoves(false);

  // Colouring: sorted ranges spread over the whole text, then cleared.
  std::vector<lirno::PositionRange> ranges;
  const std::int32_t step = std::max<std::int32_t>(1, end / std::max(1, rangeCount));
  for (std::int32_t p = 0; p + 5 < end && static_cast<int>(ranges.size()) < rangeCount; p += step) {
    ranges.push_back({p, 5});
  }
  t.restart();
  panes->colourRanges(pane, ranges, Qt::red);
  QCoreApplication::processEvents();
  const double colourMs = ms(t);
  t.restart();
  panes->clearColours(pane);
  QCoreApplication::processEvents();
  std::printf("colour %zu ranges: %.0f ms; clear them: %.0f ms\n", ranges.size(), colourMs, ms(t));

  t.restart();
  panes->closeAllDocuments();
  QCoreApplication::processEvents();
  std::printf("close all documents: %.0f ms\n", ms(t));
  w->close();
  return 0;
}
