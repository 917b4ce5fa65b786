// The word list, the export and corpus progress in a real main window,
// offscreen:
// - the word list of a generated document (20 MB by default) through its
//   dialog, until the grid is filled and painted;
// - Save results of a search with 100 000 occurrences in sentence context,
//   with sentence extracts (grouped and detailed);
// - a corpus search with its progress window shown from the first document
//   against the same search without it (best of 6 each, in turns).
// Prints "key value" lines after the readable ones, for bench/run.
//
//   lirno-bench-results-ui [MEGABYTES] [OCCURRENCES] [DOCUMENTS]
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
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
#include "bench/vocabulary.h"
#include "documents/ui/corpus_work.h"
#include "documents/ui/panes_controller.h"
#include "lexicon/ui/word_dialog.h"
#include "lexicon/ui/word_list_controller.h"
#include "results/ui/export_controller.h"
#include "results/ui/result_dialog.h"
#include "results/ui/results_controller.h"
#include "search/ui/find_dialog.h"
#include "search/ui/search_controller.h"
#include "shell/ui/workbench.h"

namespace {

double ms(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

const char kRules[] =
    "[Separators]\n32=2\n,=2\n.=3\n10=4\n13=4\n'=1\n"
    "[Substitutions]\nQU=K\nPH=F\n";

// Prose of `bytes` bytes from the corpus vocabulary (frequent words more
// often), sentences of about 12 words, a paragraph every 4 sentences; with
// `hits`, that many words are "chat", evenly spread.
std::string makeText(std::size_t bytes, int hits, unsigned seed) {
  static const std::vector<std::string> words = lirno::bench::vocabulary();
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  std::string text;
  text.reserve(bytes + 64);
  const std::size_t every = hits > 0 ? bytes / static_cast<std::size_t>(hits) : bytes + 1;
  std::size_t nextHit = every / 2;
  int made = 0, n = 0;
  while (text.size() < bytes) {
    if (made < hits && text.size() >= nextHit) {
      text += "chat";
      ++made;
      nextHit += every;
    } else {
      const double x = u(rng);
      text += words[static_cast<std::size_t>(x * x * x * static_cast<double>(words.size() - 1))];
    }
    ++n;
    text += n % 48 == 0 ? ".\n" : n % 12 == 0 ? ". " : " ";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 20.0;
  const int hits = argc > 2 ? std::atoi(argv[2]) : 100000;
  const int documents = argc > 3 ? std::atoi(argv[3]) : 1000;

  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "lirno-bench-results-ui";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "corpus");
  std::ofstream(folder / "nac.rul", std::ios::binary) << kRules;
  const std::string big = (folder / "big.txt").string(), hitsDoc = (folder / "hits.txt").string();
  std::ofstream(big, std::ios::binary) << makeText(static_cast<std::size_t>(megabytes * 1e6), 0, 1);
  std::ofstream(hitsDoc, std::ios::binary) << makeText(10000000, hits, 2);
  std::vector<std::string> corpus;
  for (int k = 0; k < documents; ++k) {
    const std::string path = (folder / "corpus" / ("doc" + std::to_string(k) + ".txt")).string();
    std::ofstream(path, std::ios::binary) << makeText(50000, 20, 100u + static_cast<unsigned>(k));
    corpus.push_back(path);
  }

  lirno::Workbench wb(folder.string() + "/", lirno::parseCommandLine(""));
  wb.setFallbackSettingsPath((folder / "home" / "Lirno.ini").string());
  lirno::composeWorkbench(wb);
  lirno::TfrmMain* w = wb.start();
  w->setWindowState(Qt::WindowNoState);
  w->resize(1024, 605);
  QCoreApplication::processEvents();
  auto& panes = *w->controller<lirno::PanesController>();
  auto& results = *w->controller<lirno::ResultsController>();
  auto& search = *w->controller<lirno::SearchController>();
  auto& find = *qobject_cast<lirno::TfrmFind*>(wb.dialogs().frmFind);
  auto& wordDialog = *qobject_cast<lirno::TfrmWord*>(wb.dialogs().frmWord);
  auto& resultDialog = *qobject_cast<lirno::TfrmResult*>(wb.dialogs().frmResult);

  auto open = [&](const std::string& path) {
    panes.setFileChooser([path](QWidget*, const std::string&) { return path; });
    panes.openDocument();
    QCoreApplication::processEvents();
  };

  // --- The word list --------------------------------------------------------
  open(big);
  const std::size_t bigBytes = panes.currentDocument().text.size();
  wordDialog.setRunner([](lirno::TfrmWord& d) {
    d.ui.resultSpellings->button(lirno::kResultReduced)->setChecked(true);
    d.accept();
    return d.result();
  });
  double wordMs = 1e30;
  for (int run = 0; run < 3; ++run) {
    QElapsedTimer t;
    t.start();
    w->controller<lirno::WordListController>()->wordListCommand();
    QCoreApplication::processEvents();
    w->repaint();
    wordMs = std::min(wordMs, ms(t));
  }
  std::printf("word list of a %.1f MB document in the window (scan, sort, grid, painted): %.0f ms, "
              "%zu words, %lld occurrences\n",
              static_cast<double>(bigBytes) / 1e6, wordMs, results.targets().size(),
              static_cast<long long>(results.targets().occurrenceCount()));

  // --- The export ---------------------------------------------------------
  open(hitsDoc);
  w->button("btnFind")->click();
  find.ui.btnClear->click();
  find.ui.pnlOrtho.setIndex(lirno::kSpellingUpper);
  find.ui.pnlContext.setIndex(lirno::kContextSentence);
  find.ui.edWord->setText(QStringLiteral("chat"));
  find.accept();
  QCoreApplication::processEvents();
  const auto occurrences = results.targets().occurrenceCount();
  const std::string report = (folder / "report.txt").string();
  double exportMs[2] = {1e30, 1e30};
  for (int detailed = 0; detailed < 2; ++detailed) {
    resultDialog.setRunner([&](lirno::TfrmResult& d) {
      d.ui.edFile->setText(QString::fromStdString(report));
      d.ui.extractKinds->button(2)->setChecked(true);
      d.ui.extractModes->button(detailed)->setChecked(true);
      d.accept();
      return d.result();
    });
    for (int run = 0; run < 3; ++run) {
      QElapsedTimer t;
      t.start();
      w->controller<lirno::ExportController>()->saveResults();
      exportMs[detailed] = std::min(exportMs[detailed], ms(t));
    }
  }
  const auto reportBytes = std::filesystem::file_size(report);
  std::printf("export of %lld occurrences with sentence extracts: grouped %.0f ms (%.1f MB), detailed %.0f ms\n",
              static_cast<long long>(occurrences), exportMs[0], static_cast<double>(reportBytes) / 1e6,
              exportMs[1]);

  // --- Progress on a corpus search -------------------------------------------
  search.setCorpusSource([&] { return &corpus; });
  auto corpusSearch = [&] {
    w->setCommandsEnabled({"btnFind"}, true);
    w->button("btnFind")->click();
    find.ui.btnClear->click();
    find.ui.pnlOrtho.setIndex(lirno::kSpellingReduced);
    find.ui.pnlContext.setIndex(lirno::kContextText);
    find.ui.chkCorpus->setChecked(true);
    find.ui.edWord->setText(QStringLiteral("chevalier"));
    QElapsedTimer t;
    t.start();
    find.accept();
    return ms(t);
  };
  double with = 1e30, without = 1e30;
  // Each order in turn, so that neither pays for what the other left.
  for (int run = 0; run < 6; ++run) {
    for (const bool shown : {run % 2 == 0, run % 2 != 0}) {
      lirno::CorpusWork::setShowDelay(shown ? 0 : -1);
      double& best = shown ? with : without;
      best = std::min(best, corpusSearch());
    }
  }
  // One update of the window: its label, its bar and the events let
  // through, timed alone (the updates are 100 ms apart).
  double showMs = 0, updateMs = 0;
  {
    lirno::CorpusWork work(panes, w);
    QElapsedTimer t;
    t.start();
    work.advance(0, 1000, corpus[0]);
    showMs = ms(t);
    std::vector<double> each;
    for (std::size_t k = 1; k <= 20; ++k) {
      QElapsedTimer wait;
      wait.start();
      while (wait.elapsed() < 105) {
      }
      t.restart();
      work.advance(k, 1000, corpus[k % corpus.size()]);
      each.push_back(ms(t));
    }
    std::sort(each.begin(), each.end());
    updateMs = each[each.size() / 2];
  }
  lirno::CorpusWork::setShowDelay(300);
  std::printf("progress window: shown in %.2f ms, one update %.2f ms (median of 20), at most one update "
              "per 100 ms: %.1f%% of the time of a long search\n",
              showMs, updateMs, updateMs / 100.0 * 100.0);
  std::printf("corpus search of %d documents (%.1f MB): %.0f ms without progress, %.0f ms with it shown "
              "throughout: %+.1f%%\n",
              documents, documents * 0.05, without, with, (with - without) / without * 100.0);

  std::printf("wordlist_ms %.0f\nwordlist_mb %.1f\nexport_grouped_ms %.0f\nexport_detailed_ms %.0f\n"
              "export_occurrences %lld\nprogress_without_ms %.0f\nprogress_with_ms %.0f\nprogress_update_ms %.2f\n",
              wordMs, static_cast<double>(bigBytes) / 1e6, exportMs[0], exportMs[1],
              static_cast<long long>(occurrences), without, with, updateMs);
  delete w;
  std::filesystem::remove_all(folder);
  return 0;
}
