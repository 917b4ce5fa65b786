#include "lexicon/ui/word_list_controller.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QToolButton>

#include <optional>

#include "documents/ui/corpus_work.h"
#include "documents/ui/panes_controller.h"
#include "lexicon/ui/word_dialog.h"
#include "lexicon/word_list.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "results/sorting.h"
#include "results/ui/results_controller.h"
#include "results/ui/target_model.h"
#include "search/ui/search_controller.h"
#include "shell/ui/workbench.h"

namespace lirno {

WordListController::WordListController(TfrmMain& frame) : WindowController(frame) {
  if (QAction* a = frame.action("mnuWord")) connect(a, &QAction::triggered, this, [this] { wordListCommand(); });
  if (QToolButton* b = frame.button("btnWord")) {
    connect(b, &QToolButton::clicked, this, [this] { wordListCommand(); });
  }
}

bool WordListController::wordListCommand() {
  auto* dialog = qobject_cast<TfrmWord*>(frame().workbench().dialogs().frmWord);
  auto* search = frame().controller<SearchController>();
  if (!dialog || !search) return false;
  const bool corpus = search->corpusLoaded();
  const bool document = search->documentOpen();
  dialog->prepare(corpus, document);
  if (dialog->run() != QDialog::Accepted) return false;
  dialog->readRequest(search->request(), corpus, document);
  runWordList();
  return true;
}

void WordListController::runWordList() {
  auto* search = frame().controller<SearchController>();
  auto* results = frame().controller<ResultsController>();
  auto* panes = frame().controller<PanesController>();
  if (!search || !results || !panes) return;
  Workbench& wb = frame().workbench();
  SearchRequest& request = search->request();
  static const std::vector<std::string> kNoCorpus;
  const std::vector<std::string>* corpus = search->corpusList();
  if (!corpus) request.useCorpus = false;

  QApplication::setOverrideCursor(Qt::WaitCursor);
  TfrmMain::Busy busy(frame());
  results->setWordListMode(true);
  CorpusWork documents(*panes, &frame());
  EngineContext context{wb.rules(),
                        documents,
                        corpus ? *corpus : kNoCorpus,
                        wb.programFolder(),
                        [](std::string_view text) { return translate(text); },
                        {},
                        {},
                        {}};
  context.progress = [&](std::size_t k, std::size_t n) {
    return documents.advance(k, n, (*corpus)[k]);
  };
  // One reset of the grid covers freeing, scanning and sorting.
  std::optional<TargetModel::Change> change;
  context.clearingTargets = [&] {
    change.emplace(results->model());
    results->clearResults(true);
  };
  CorpusRun run;
  const std::string status = lirno::runWordList(request, results->targets(), context, &run);
  search->setSearchedDocuments(run.interrupted ? run.done : static_cast<std::size_t>(-1));
  frame().ui.lblStatus->setText(fromAnsi(status));
  results->sortApplied(request.sortFromRight ? kSortRightToLeftAscending : kSortTextAscending);
  change.reset();
  panes->setResultPane(panes->currentPane());
  if (request.useCorpus) {
    // Closing the documents disabled these; the corpus still allows them.
    frame().setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord"}, true);
  }
  documents.reportMissing();
  QApplication::restoreOverrideCursor();
}

}  // namespace lirno
