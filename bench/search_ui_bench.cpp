// The search in a real main window, offscreen: a generated 10 MB document
// with 100 000 occurrences, searched through the dialog until the grid is
// filled and the occurrences are red; selecting rows and stepping; and a
// grid of 100 000 targets scrolled page by page.
//
//   lirno-bench-search-ui [MEGABYTES] [OCCURRENCES]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/composition.h"
#include "documents/ui/panes_controller.h"
#include "results/ui/results_controller.h"
#include "search/ui/find_dialog.h"
#include "search/ui/search_controller.h"
#include "shell/ui/workbench.h"

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

const char kRules[] =
    "[Separators]\n32=2\n,=2\n.=3\n10=4\n13=4\n'=1\n"
    "[Substitutions]\nQU=K\nPH=F\n";

// Prose of `bytes` bytes, paragraphs of about 12 words, in which `hits`
// words are the searched word: "chat" itself, or, with `distinct`, "chat"
// followed by a suffix of its own, so that every hit is a target.
std::string makeText(std::size_t bytes, int hits, bool distinct) {
  static const char* const kWords[] = {"le", "moine", "copie", "un", "livre", "de", "prieres",
                                       "dans", "la", "salle", "froide", "et", "sombre", "avec"};
  std::mt19937 rng(42);
  std::string text;
  text.reserve(bytes + 64);
  const std::size_t every = bytes / static_cast<std::size_t>(std::max(1, hits));
  std::size_t nextHit = every / 2;
  int made = 0, words = 0;
  while (text.size() < bytes) {
    if (made < hits && text.size() >= nextHit) {
      text += "chat";
      if (distinct) {
        for (int k = made, n = 0; n < 4; ++n, k /= 26) text += static_cast<char>('a' + k % 26);
      }
      ++made;
      nextHit += every;
    } else {
      text += kWords[rng() % (sizeof kWords / sizeof *kWords)];
    }
    text += (++words % 12 == 0) ? ".\n" : " ";
  }
  return text;
}

struct Stats {
  double mean = 0, median = 0, p99 = 0, max = 0;
};

Stats stats(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  Stats s;
  for (double x : v) s.mean += x;
  s.mean /= static_cast<double>(v.size());
  s.median = v[v.size() / 2];
  s.p99 = v[v.size() * 99 / 100];
  s.max = v.back();
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 10.0;
  const int hits = argc > 2 ? std::atoi(argv[2]) : 100000;
  const auto bytes = static_cast<std::size_t>(megabytes * 1e6);

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lirno-bench-search-ui";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "nac.rul", std::ios::binary) << kRules;
  const std::string same = (folder / "same.txt").string(), distinct = (folder / "distinct.txt").string();
  std::ofstream(same, std::ios::binary) << makeText(bytes, hits, false);
  std::ofstream(distinct, std::ios::binary) << makeText(bytes, hits, true);

  lirno::Workbench wb(folder.string() + "/", lirno::parseCommandLine(""));
  wb.setFallbackSettingsPath((folder / "home" / "Lirno.ini").string());
  lirno::composeWorkbench(wb);
  lirno::TfrmMain* w = wb.start();
  w->setWindowState(Qt::WindowNoState);
  w->resize(1024, 605);
  QCoreApplication::processEvents();
  auto& panes = *w->controller<lirno::PanesController>();
  auto& results = *w->controller<lirno::ResultsController>();
  auto& find = *qobject_cast<lirno::TfrmFind*>(wb.dialogs().frmFind);
  QTableView* grid = w->ui.grdTarget;

  auto open = [&](const std::string& path) {
    panes.setFileChooser([path](QWidget*, const std::string&) { return path; });
    panes.openDocument();
    QCoreApplication::processEvents();
  };
  // "Recherche", the word typed, "OK"; then until the window is painted.
  auto search = [&](const char* word, int place) {
    w->button("btnFind")->click();
    find.ui.btnClear->click();
    find.ui.pnlOrtho.setIndex(lirno::kSpellingUpper);
    find.ui.pnlPlace.setIndex(place);
    find.ui.edWord->setText(QString::fromLatin1(word));
    QElapsedTimer t;
    t.start();
    find.accept();
    const double searchMs = ms(t);
    QCoreApplication::processEvents();
    w->repaint();
    return std::make_pair(searchMs, ms(t));
  };

  open(same);
  const std::size_t textBytes = panes.currentDocument().text.size();
  auto [searchMs, paintedMs] = search("chat", lirno::kPlaceAnywhere);
  const auto occurrences = results.targets().occurrenceCount();
  std::printf("document %.1f MB, %lld occurrences in %zu targets\n", static_cast<double>(textBytes) / 1e6,
              static_cast<long long>(occurrences), results.targets().size());
  std::printf("search + highlighting + grid fill: %.0f ms (window painted: %.0f ms)\n", searchMs,
              paintedMs);

  QElapsedTimer t;
  t.start();
  w->controller<lirno::SearchController>()->highlightOccurrences();
  QCoreApplication::processEvents();
  w->repaint();
  std::printf("highlighting alone, the %lld occurrences again: %.0f ms\n", static_cast<long long>(occurrences),
              ms(t));

  // Stepping through the occurrences of the one big target.
  t.restart();
  results.setCurrentRow(1);
  const double firstSelectMs = ms(t);
  std::vector<double> steps;
  for (int i = 0; i < 2000; ++i) {
    t.restart();
    results.step(i % 50 == 49 ? lirno::ResultsController::Step::Last : lirno::ResultsController::Step::Next);
    if (i % 50 == 49) results.step(lirno::ResultsController::Step::First);
    QCoreApplication::processEvents();
    w->repaint();
    steps.push_back(ms(t));
  }
  const Stats st = stats(steps);
  std::printf("select row 1: %.1f ms; step (with repaint): mean %.2f ms, median %.2f ms, 99%% %.2f ms, max %.2f ms\n",
              firstSelectMs, st.mean, st.median, st.p99, st.max);

  // 100 000 targets: rows selected at random, and the grid scrolled.
  open(distinct);
  std::tie(searchMs, paintedMs) = search("chat", lirno::kPlaceWordStart);
  const int rows = static_cast<int>(results.targets().size());
  std::printf("%d targets: search + highlighting + grid fill %.0f ms (painted %.0f ms)\n", rows, searchMs,
              paintedMs);
  std::mt19937 rng(3);
  std::vector<double> selects;
  for (int i = 0; i < 500; ++i) {
    const int row = 1 + static_cast<int>(rng() % static_cast<unsigned>(rows));
    t.restart();
    results.setCurrentRow(row);
    QCoreApplication::processEvents();
    w->repaint();
    selects.push_back(ms(t));
  }
  const Stats sel = stats(selects);
  std::printf("select a random row (with repaint): mean %.2f ms, median %.2f ms, 99%% %.2f ms, max %.2f ms\n",
              sel.mean, sel.median, sel.p99, sel.max);
  QScrollBar* bar = grid->verticalScrollBar();
  std::vector<double> pages;
  for (int v = 0; v <= bar->maximum(); v += std::max(1, bar->maximum() / 400)) {
    t.restart();
    bar->setValue(v);
    grid->viewport()->repaint();
    pages.push_back(ms(t));
  }
  const Stats sc = stats(pages);
  std::printf("grid scroll (%zu jumps over %d rows, repaint each): mean %.2f ms, max %.2f ms\n", pages.size(),
              rows, sc.mean, sc.max);
  t.restart();
  grid->scrollToBottom();
  grid->viewport()->repaint();
  std::printf("grid to the last row: %.2f ms\n", ms(t));

  w->close();
  QCoreApplication::processEvents();
  std::filesystem::remove_all(folder);
  return 0;
}
