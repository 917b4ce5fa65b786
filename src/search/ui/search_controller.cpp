#include "search/ui/search_controller.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QToolButton>

#include <algorithm>
#include <optional>

#include "documents/ui/corpus_work.h"
#include "documents/ui/panes_controller.h"
#include "lexicon/word_list.h"
#include "platform/paths.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "results/document_label.h"
#include "results/sorting.h"
#include "results/ui/export_controller.h"
#include "results/ui/results_controller.h"
#include "results/ui/target_model.h"
#include "search/driver.h"
#include "search/request_builder.h"
#include "search/ui/find_dialog.h"
#include "search/ui/genoa_dialog.h"
#include "shell/ui/workbench.h"

namespace lirno {
namespace {

const QColor kRed(255, 0, 0);

class Hourglass {
 public:
  Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { QApplication::restoreOverrideCursor(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
};

Translator programTranslator() {
  return [](std::string_view text) { return translate(text); };
}

}  // namespace

SearchController::SearchController(TfrmMain& frame) : WindowController(frame) {
  if (QAction* a = frame.action("mnuFind")) connect(a, &QAction::triggered, this, [this] { findCommand(); });
  if (QToolButton* b = frame.button("btnFind")) {
    connect(b, &QToolButton::clicked, this, [this] { showSearchDialog(); });
  }
  ResultsController::Producer producer;
  producer.highlight = [this] { highlightOccurrences(); };
  producer.reproduceIn = [this](TfrmMain& other) { reproduceIn(other); };
  results().setProducer(std::move(producer));
  if (auto* exporter = frame.controller<ExportController>()) {
    ExportController::Source source;
    source.request = [this]() -> const SearchRequest& { return request_; };
    source.corpus = [this] { return searchedCorpus(); };
    exporter->setSource(std::move(source));
  }
}

std::vector<std::string> SearchController::searchedCorpus() const {
  const std::vector<std::string>* corpus = corpus_ ? corpus_() : nullptr;
  if (!corpus) return {};
  const std::size_t n = std::min(corpus->size(), searchedDocuments_);
  return std::vector<std::string>(corpus->begin(), corpus->begin() + static_cast<std::ptrdiff_t>(n));
}

PanesController& SearchController::panes() const { return *frame().controller<PanesController>(); }

ResultsController& SearchController::results() const { return *frame().controller<ResultsController>(); }

bool SearchController::corpusLoaded() const { return corpus_ && corpus_() != nullptr; }

bool SearchController::documentOpen() const {
  return panes().currentPane() != nullptr && !panes().currentDocument().path.empty();
}

// --- Commands ---------------------------------------------------------------

void SearchController::findCommand() {
  if (frame().isFirst() && frame().workbench().commandLine().searchStrings) {
    runCommandLineSearch();
  } else {
    showSearchDialog();
  }
}

void SearchController::runCommandLineSearch() {
  Workbench& wb = frame().workbench();
  CommandLine& cl = wb.commandLine();
  const bool go = buildCommandLineRequest(cl, wb.rules().filters, documentOpen(), corpusLoaded(), request_);
  cl.searchStrings.reset();  // consumed: later commands show the dialog
  if (go) runSearch(false);
}

void SearchController::showSearchDialog() {
  Workbench& wb = frame().workbench();
  auto* dialog = qobject_cast<TfrmFind*>(wb.dialogs().frmFind);
  if (!dialog) return;
  FindSetup setup;
  setup.thesaurus = thesaurus_ ? thesaurus_() : nullptr;
  setup.highestVariantLevel = wb.rules().highestVariantLevel;
  setup.corpusLoaded = corpusLoaded();
  setup.documentOpen = documentOpen();
  setup.filterDefinitions = wb.rules().filters;
  dialog->prepare(request_.strings, setup);
  // Shared by the windows: it comes up over the one that asked.
  dialog->adjustSize();
  dialog->move(frame().geometry().center() - dialog->rect().center());
  QPointer<SearchController> self(this);
  dialog->present([self, dialog](bool accepted) {
    if (accepted && self) self->confirmDialog(*dialog);
  });
}

void SearchController::confirmDialog(TfrmFind& dialog) {
  dialog.readRequest(request_, corpusLoaded(), documentOpen());
  runSearch(true);
}

// --- The driver -------------------------------------------------------------

bool SearchController::runSearch(bool interactive) {
  Hourglass hourglass;
  Workbench& wb = frame().workbench();
  ResultsController& r = results();
  CorpusWork documents(panes(), &frame());
  static const std::vector<std::string> kNoCorpus;
  const std::vector<std::string>* corpus = corpus_ ? corpus_() : nullptr;
  if (!corpus) request_.useCorpus = false;

  const std::string settingsFolder =
      wb.settingsPath().empty() ? wb.programFolder() : folderOf(wb.settingsPath());
  EngineContext context{wb.rules(),
                        documents,
                        corpus ? *corpus : kNoCorpus,
                        wb.programFolder(),
                        programTranslator(),
                        settingsFolder + "Lirno_Genor.txt",
                        {},
                        {}};
  if (auto* review = qobject_cast<TfrmGenoa*>(wb.dialogs().frmGenoa)) {
    context.reviewVariants = [this, review, &wb](cArrowList& strings) {
      // Strings added in the dialog are matched as the search matches the others.
      auto patternOf = [this, &wb](const std::string& text) {
        cArrowList one;
        one.push_back(std::make_unique<SearchString>());
        one.front()->text = text;
        preparePatterns(one, request_, wb.rules());
        return one.front()->pattern;
      };
      review->prepare(strings, patternOf, wb.programFolder());
      QApplication::setOverrideCursor(Qt::ArrowCursor);
      const bool confirmed = review->run();
      QApplication::restoreOverrideCursor();
      return confirmed;
    };
  }
  // The grid lets go of the old targets only once the search is certain to
  // run; a single reset then covers freeing, scanning and sorting.
  std::optional<TargetModel::Change> change;
  context.clearingTargets = [&] {
    change.emplace(r.model());
    r.clearResults(true);
  };
  if (corpus) {
    context.progress = [&](std::size_t k, std::size_t n) { return documents.advance(k, n, (*corpus)[k]); };
  }
  const SearchOutcome outcome = lirno::runSearch(request_, r.targets(), context, interactive);
  if (!outcome.searched) return false;
  searchedDocuments_ = outcome.corpus.interrupted ? outcome.corpus.done : static_cast<std::size_t>(-1);
  showOutcome(outcome.status, outcome.sortOrder);
  change.reset();

  highlightOccurrences();
  panes().setResultPane(panes().currentPane());
  r.setRequestContext(request_.context);
  r.setWordListMode(false);
  if (request_.useCorpus) {
    // Closing the documents disabled these; the corpus still allows them.
    frame().setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord"}, true);
  }
  documents.reportMissing();
  return true;
}

void SearchController::showOutcome(const std::string& status, int sortOrder) {
  frame().ui.lblStatus->setText(fromAnsi(status));
  results().sortApplied(sortOrder);
}

void SearchController::highlightOccurrences() {
  PanesController& p = panes();
  PaneRecord& pane = p.currentRecord();
  if (pane.document.path.empty()) return;
  const std::string label = documentLabel(pane.document.path, frame().workbench().programFolder());
  const std::vector<HighlightRange> found = highlightRanges(results().targets(), label);
  std::vector<PositionRange> ranges;
  ranges.reserve(found.size());
  for (const HighlightRange& h : found) ranges.push_back({h.start, h.length});
  std::sort(ranges.begin(), ranges.end(),
            [](const PositionRange& a, const PositionRange& b) { return a.start < b.start; });
  TfrmMain::Busy busy(frame());
  p.colourRanges(pane, ranges, kRed);
  p.selectRange(pane, p.selectionStart(pane), 0);
}

void SearchController::reproduceIn(TfrmMain& other) {
  auto* os = other.controller<SearchController>();
  auto* orc = other.controller<ResultsController>();
  auto* op = other.controller<PanesController>();
  if (!os || !orc || !op) return;
  SearchRequest& rq = os->request_;
  const bool wordList = results().wordListMode();
  orc->setWordListMode(wordList);
  rq.spelling = request_.spelling;
  rq.ignoreSeparators = request_.ignoreSeparators;
  rq.context = request_.context;
  rq.allStrings = request_.allStrings;
  rq.inOrder = request_.inOrder;
  rq.resultLikeSpelling = request_.resultLikeSpelling;
  rq.resultSpelling = request_.resultSpelling;
  rq.showSymbols = request_.showSymbols;
  rq.filterDescription = request_.filterDescription;
  rq.filters = request_.filters;  // the scan there runs with this window's filters
  rq.useCorpus = false;

  const RulesTables& rules = frame().workbench().rules();
  const Translator T = programTranslator();
  const Document& doc = op->currentDocument();
  // That window's results are kept; the new occurrences join them.
  cTargetList& targets = orc->targets();
  const int order = rq.sortFromRight ? kSortRightToLeftAscending : kSortTextAscending;
  std::string status;
  {
    TargetModel::Change change(orc->model());
    if (wordList) {
      wordScan(doc, DocumentLabel(), rq.filters, rules, rq.resultSpelling, rq.showSymbols, targets);
      status = finishWordList(targets, rq.sortFromRight, T);
    } else {
      for (const auto& s : request_.strings) {
        auto copy = std::make_unique<SearchString>();
        copy->text = s->text;
        copy->place = s->place;
        copy->exclude = s->exclude;
        rq.strings.push_back(std::move(copy));
      }
      numberStrings(rq.strings);
      preparePatterns(rq.strings, rq, rules);
      scanDocument(rq, doc, rules, DocumentLabel(), targets);
      status = searchStatusLine(rq, targets, T);
      sortTargets(targets, order, false);
    }
    os->showOutcome(status, order);
  }
  if (!wordList) os->highlightOccurrences();
  op->setResultPane(op->currentPane());
  orc->setRequestContext(rq.context);
}

}  // namespace lirno
