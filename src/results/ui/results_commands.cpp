// The edit commands of the result grid (delete, copy, cut, select all and
// their enabling), the target at the caret, and opening a target's
// document in this window or in another one.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "documents/ui/panes_controller.h"
#include "platform/ui/qt_text.h"
#include "results/document_label.h"
#include "results/ui/results_controller.h"
#include "results/ui/target_model.h"
#include "shell/ui/workbench.h"

namespace lirno {

bool ResultsController::gridFocused() const { return frame().focusWidget() == grid(); }

void ResultsController::deleteRows() {
  TfrmMain::Busy busy(frame());
  const std::size_t n = targets_.size();
  std::vector<bool> doomed(n, false);
  bool any = false;
  for (const QItemSelectionRange& r : grid()->selectionModel()->selection()) {
    for (int row = std::max(r.top(), 0); row <= r.bottom() && row < static_cast<int>(n); ++row) {
      doomed[static_cast<std::size_t>(row)] = true;
      any = true;
    }
  }
  if (any) {
    // One pass, so that deleting every row of a long list costs what the
    // list costs; the others keep their order.
    TargetModel::Change change(*model_);
    current_ = nullptr;
    auto& records = targets_.records();
    std::size_t k = 0;
    records.erase(std::remove_if(records.begin(), records.end(), [&](const auto&) { return doomed[k++]; }),
                  records.end());
    targets_.setLabelRuns(nullptr);  // the runs' places moved
  }
  clearResults(false);
}

void ResultsController::copy() {
  QWidget* focus = frame().focusWidget();
  if (focus && focus == panes().currentEditor()) {
    panes().currentEditor()->copy();
  } else if (gridFocused()) {
    copyRows();
  }
}

void ResultsController::copyRows() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  const auto [top, bottom] = selectionRows();
  if (top < 1) return;
  QString text;
  for (int row = top; row <= bottom && row <= static_cast<int>(targets_.size()); ++row) {
    const Target& t = targets_[static_cast<std::size_t>(row - 1)];
    text += QString::number(t.occurrences.size()) + QLatin1Char('\t') + fromAnsi(t.text) +
            QLatin1Char('\t') + fromUtf8(documentPathOf(t.document)) + QLatin1Char('\n');
  }
  text.chop(1);
  clipboard->setText(text);
}

void ResultsController::cut() {
  copyRows();
  deleteRows();
}

void ResultsController::selectAll() {
  const int n = static_cast<int>(targets_.size());
  if (n == 0) return;
  grid()->selectionModel()->select(QItemSelection(model_->index(0, 0), model_->index(n - 1, 2)),
                                   QItemSelectionModel::ClearAndSelect);
  updateEditCommands();
}

void ResultsController::updateEditCommands() {
  bool rows = false, text = false;
  if (gridFocused()) {
    rows = selectionRows().second > 0;
  } else {
    text = panes().selectionLength(panes().currentRecord()) > 0;
  }
  TfrmMain& w = frame();
  w.setCommandsEnabled({"mnuCut", "mnuDel", "mnuAll", "mnuGrdCut", "mnuGrdDel", "mnuGrdAll", "mnuGrdCopy"},
                       rows);
  w.setCommandsEnabled({"mnuCopy"}, rows || text);
  w.setCommandsEnabled({"mnuTxtCopy"}, text);
}

void ResultsController::targetAtCaret() {
  PanesController& p = panes();
  const std::int32_t caret = p.selectionStart(p.currentRecord());
  // Only the targets of the document in the pane: the places of another
  // document's occurrences say nothing about this caret.
  const std::string label =
      documentLabel(p.currentDocument().path, frame().workbench().programFolder());
  for (std::size_t i = 0; i < targets_.size(); ++i) {
    const Target& t = targets_[i];
    if (!t.document.empty() && t.document.str() != label) continue;
    for (std::size_t k = 0; k < t.occurrences.size(); ++k) {
      const Occurrence& o = t.occurrences[k];
      if (o.start <= caret && caret < o.start + o.length) {
        targets_.setCurrent(t, static_cast<std::int32_t>(k));
        setCurrentRow(static_cast<int>(i) + 1);
        return;
      }
    }
  }
}

void ResultsController::openHere() {
  if (!current_ || current_->document.empty()) return;
  PanesController& p = panes();
  const std::string path = documentPathOf(current_->document);
  p.closeAllDocuments();
  p.showPane(0);
  p.makeCurrent(0);
  p.arrangePanes();
  p.setDocumentPath(path);
  const bool loaded = p.loadIntoCurrentPane(path, true, true);
  p.enableTranslation(path);
  if (loaded && !wordListMode_ && producer_.highlight) producer_.highlight();
  currentInDocument_ = loaded;
  step(Step::None);
  setOpenCommandsEnabled(false);
}

void ResultsController::openElsewhere() {
  if (!current_ || current_->document.empty()) return;
  const std::string path = documentPathOf(current_->document);
  Workbench& wb = frame().workbench();
  const QString caption = QStringLiteral("Lirno - ") + fromUtf8(path);
  TfrmMain* found = nullptr;
  for (TfrmMain* w : wb.windows()) {
    // Not this window, and not one whose caption outlived its document.
    if (w == &frame() || w->windowTitle() != caption) continue;
    PanesController* other = w->controller<PanesController>();
    for (int s = 0; other && s < PanesController::kPanes; ++s) {
      if (other->paneAt(s).open && other->paneAt(s).document.path == path) found = w;
    }
    if (found) break;
  }
  if (!found) {
    TfrmMain* w = wb.createMainWindow();
    w->move(frame().pos() + QPoint(25, 25));
    w->show();
    PanesController& other = *w->controller<PanesController>();
    other.setDocumentPath(path);
    other.showPane(0);
    other.makeCurrent(0);
    other.arrangePanes();
    // Reported, unlike the form did: a window that vanishes without a word
    // leaves the user guessing.
    if (!other.loadIntoCurrentPane(path, true, true)) {
      w->close();
      return;
    }
    other.enableTranslation(path);
    found = w;
  } else {
    // Its document is scanned there: the pane that holds it becomes current.
    PanesController& other = *found->controller<PanesController>();
    for (int s = 0; s < PanesController::kPanes; ++s) {
      if (other.paneAt(s).open && other.paneAt(s).document.path == path) {
        other.makeCurrent(s);
        break;
      }
    }
  }
  if (producer_.reproduceIn) producer_.reproduceIn(*found);
  frame().setCommandsEnabled({"mnuGrdOpenNew", "btnGrdOpenNew"}, false);
}

}  // namespace lirno
