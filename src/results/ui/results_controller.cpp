#include "results/ui/results_controller.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QToolButton>

#include <algorithm>

#include "documents/ui/panes_controller.h"
#include "results/document_label.h"
#include "results/sorting.h"
#include "results/ui/target_grid_style.h"
#include "results/ui/target_model.h"

namespace lirno {
namespace {

const QColor kRed(255, 0, 0);

}  // namespace

ResultsController::ResultsController(TfrmMain& frame)
    : WindowController(frame), model_(std::make_unique<TargetModel>(targets_)), grid_(frame.ui.grdTarget) {
  QTableView* g = grid();
  auto* header = new TargetHeader(g);
  header->setFont(g->font());
  g->setHorizontalHeader(header);
  g->setModel(model_.get());
  g->setItemDelegate(new TargetDelegate(g));
  g->setWordWrap(false);
  g->setCornerButtonEnabled(false);
  g->setSortingEnabled(false);
  g->setTabKeyNavigation(false);
  g->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  header->setFixedHeight(g->verticalHeader()->defaultSectionSize());
  const QList<int> widths = g->property("designColumnWidths").value<QList<int>>();
  for (int c = 0; c < widths.size() && c < 3; ++c) header->resizeSection(c, widths[c]);
  // "Document" takes the rest of the panel (its design width when the panel
  // is at its widest): never cut at the panel's edge, and no horizontal
  // scroll bar unless the panel is narrower than the first two columns.
  header->setSectionResizeMode(2, QHeaderView::Stretch);
  g->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  wire();
}

ResultsController::~ResultsController() {
  // The view outlives this controller by a moment: it must not read the
  // list once it is gone.
  if (auto* g = qobject_cast<QTableView*>(grid_.data())) g->setModel(nullptr);
}

QTableView* ResultsController::grid() const { return frame().ui.grdTarget; }

PanesController& ResultsController::panes() const { return *frame().controller<PanesController>(); }

void ResultsController::wire() {
  TfrmMain& w = frame();
  auto on = [&](std::initializer_list<const char*> names, auto slot) {
    for (const char* n : names) {
      if (QAction* a = w.action(n)) connect(a, &QAction::triggered, this, slot);
      if (QToolButton* b = w.button(n)) connect(b, &QToolButton::clicked, this, slot);
    }
  };
  on({"mnuUp", "btnUp"}, [this] { moveUp(); });
  on({"mnuDown", "btnDown"}, [this] { moveDown(); });
  on({"mnuFirst", "btnFirst"}, [this] { step(Step::First); });
  on({"mnuPrev", "btnPrev"}, [this] { step(Step::Previous); });
  on({"mnuNext", "btnNext"}, [this] { step(Step::Next); });
  on({"mnuLast", "btnLast"}, [this] { step(Step::Last); });
  on({"mnuSortText", "mnuGrdSortText"}, [this] { sortByText(); });
  on({"mnuSortNum", "mnuGrdSortNum"}, [this] { sortByNumber(); });
  on({"mnuSortDocText", "mnuGrdSortDocText"}, [this] { sortByDocumentAndText(); });
  on({"mnuSortDocNum", "mnuGrdSortDocNum"}, [this] { sortByDocumentAndNumber(); });
  on({"mnuCut", "mnuGrdCut"}, [this] { cut(); });
  on({"mnuCopy", "mnuGrdCopy", "mnuTxtCopy"}, [this] { copy(); });
  on({"mnuDel", "mnuGrdDel"}, [this] { deleteRows(); });
  on({"mnuAll", "mnuGrdAll"}, [this] { selectAll(); });
  on({"mnuGrdOpen", "btnGrdOpen"}, [this] { openHere(); });
  on({"mnuGrdOpenNew", "btnGrdOpenNew"}, [this] { openElsewhere(); });
  on({"mnuTxtTarget"}, [this] { targetAtCaret(); });

  QTableView* g = grid();
  connect(g->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            if (!model_->changing()) selectRow(now.isValid() ? now.row() + 1 : 0);
          });
  connect(g->horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int c) { headerClick(c); });
  // A second press soon after the first arrives as a double click, not as
  // a press: it is a sort all the same.
  connect(g->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this, [this](int c) { headerClick(c); });
  connect(g, &QWidget::customContextMenuRequested, this, [this, g](const QPoint& at) {
    if (QMenu* m = frame().ui.popGrid) m->popup(g->viewport()->mapToGlobal(at));
  });
  g->installEventFilter(this);
  g->viewport()->installEventFilter(this);

  PanesController& p = panes();
  connect(&p, &PanesController::resultPaneClosed, this, [this] { clearResults(true); });
  connect(&p, &PanesController::closeDocumentsCommandRan, this, [this] { clearResults(true); });
  connect(&p, &PanesController::editItemsChanged, this, [this] { updateEditCommands(); });
}

void ResultsController::formCreated() {
  current_ = nullptr;
  sortOrder_ = 0;
  fillGrid();
}

bool ResultsController::eventFilter(QObject* watched, QEvent* event) {
  // While the window is being destroyed it is no longer a TfrmMain, and its
  // widgets still get events (hiding, focus moves): nothing to do then.
  auto* g = qobject_cast<QTableView*>(grid_.data());
  if (!g || !qobject_cast<TfrmMain*>(g->window())) return false;
  if (watched == g) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Right || key == Qt::Key_Left) {
        step(key == Qt::Key_Right ? Step::Next : Step::Previous);
        return true;
      }
    } else if (event->type() == QEvent::KeyRelease || event->type() == QEvent::FocusIn) {
      updateEditCommands();
    }
  } else if (watched == g->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* me = static_cast<QMouseEvent*>(event);
      const QModelIndex at = g->indexAt(me->position().toPoint());
      if (at.isValid() && (me->modifiers() & Qt::ShiftModifier)) {
        g->setFocus(Qt::MouseFocusReason);
        extendSelectionTo(at.row() + 1);
        contextClick(true);
        return true;
      }
    } else if (event->type() == QEvent::MouseButtonRelease) {
      updateEditCommands();
    }
  }
  return false;
}

// --- Rows -----------------------------------------------------------------

int ResultsController::currentRow() const {
  const QModelIndex i = grid()->currentIndex();
  return i.isValid() ? i.row() + 1 : 0;
}

void ResultsController::setCurrentRow(int row) {
  if (row < 1 || row > static_cast<int>(targets_.size())) return;
  const QModelIndex i = model_->index(row - 1, 0);
  grid()->scrollTo(i);
  if (grid()->currentIndex().row() == i.row()) {
    selectRow(row);
    return;
  }
  grid()->selectionModel()->setCurrentIndex(
      i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::pair<int, int> ResultsController::selectionRows() const {
  int top = 0, bottom = 0;
  for (const QItemSelectionRange& r : grid()->selectionModel()->selection()) {
    if (!r.isValid()) continue;
    top = top == 0 ? r.top() + 1 : std::min(top, r.top() + 1);
    bottom = std::max(bottom, r.bottom() + 1);
  }
  return {top, bottom};
}

void ResultsController::extendSelectionTo(int row) {
  const int anchor = currentRow() > 0 ? currentRow() : row;
  const int top = std::min(anchor, row) - 1, bottom = std::max(anchor, row) - 1;
  grid()->selectionModel()->select(QItemSelection(model_->index(top, 0), model_->index(bottom, 2)),
                                   QItemSelectionModel::ClearAndSelect);
}

void ResultsController::fillGrid() {
  { TargetModel::Change reset(*model_); }
  updateLineCommands(0);
  const bool any = !targets_.empty();
  frame().setCommandsEnabled({"mnuSaveTarget", "btnSaveTarget", "mnuAll", "mnuGrdAll", "mnuSortText",
                              "mnuSortNum", "mnuSortDocText", "mnuSortDocNum", "mnuGrdSortText",
                              "mnuGrdSortNum", "mnuGrdSortDocText", "mnuGrdSortDocNum"},
                             any);
}

void ResultsController::clearResults(bool free) {
  TfrmMain::Busy busy(frame());
  PanesController& p = panes();
  if (PaneRecord* pane = p.resultPane()) p.clearColours(*pane);
  if (free) {
    TargetModel::Change change(*model_);
    targets_.clear();
    p.setResultPane(nullptr);
    // The counts described the results just freed.
    frame().ui.lblStatus->clear();
  }
  current_ = nullptr;
  currentInDocument_ = false;
  fillGrid();
  frame().setCommandsEnabled({"btnFirst", "btnPrev", "btnNext", "btnLast", "mnuFirst", "mnuPrev",
                              "mnuNext", "mnuLast"},
                             false);
  setOpenCommandsEnabled(false);
}

void ResultsController::setOpenCommandsEnabled(bool enabled) {
  frame().setCommandsEnabled({"btnGrdOpen", "mnuGrdOpen", "btnGrdOpenNew", "mnuGrdOpenNew"}, enabled);
}

void ResultsController::updateLineCommands(int row) {
  const int rows = static_cast<int>(targets_.size()) + 1;
  frame().setCommandsEnabled({"btnDown", "mnuDown"}, row < rows - 1);
  frame().setCommandsEnabled({"btnUp", "mnuUp"}, row > 1);
}

void ResultsController::moveUp() {
  const int r = currentRow();
  if (r > 1) setCurrentRow(r - 1);
}

void ResultsController::moveDown() {
  const int r = currentRow();
  if (r < static_cast<int>(targets_.size())) setCurrentRow(r + 1);
}

void ResultsController::selectRow(int row) {
  if (row <= 0 || row > static_cast<int>(targets_.size())) return;
  PanesController& p = panes();
  if (PaneRecord* rp = p.resultPane(); rp && rp != p.currentPane()) {
    const int slot = p.slotOf(*rp);
    if (slot >= 0) {
      p.makeCurrent(slot);
    } else {
      p.setResultPane(nullptr);
    }
  }
  bool inDocument = !p.documentPath().empty();
  Target* t = &targets_[static_cast<std::size_t>(row - 1)];
  if (t == current_) return;
  current_ = t;
  setOpenCommandsEnabled(false);
  if (!t->document.empty()) {
    const std::string path = documentPathOf(t->document);
    const bool same = path == p.documentPath();
    setOpenCommandsEnabled(!same);
    inDocument = same;
  }
  currentInDocument_ = inDocument;
  if (inDocument) {
    TfrmMain::Busy busy(frame());
    if (wordListMode_) {
      std::vector<PositionRange> ranges;
      ranges.reserve(t->occurrences.size());
      for (const Occurrence& o : t->occurrences) ranges.push_back({o.start, o.length});
      std::sort(ranges.begin(), ranges.end(),
                [](const PositionRange& a, const PositionRange& b) { return a.start < b.start; });
      p.colourRanges(p.currentRecord(), ranges, kRed);
    }
    step(Step::None);
  } else {
    frame().setCommandsEnabled({"btnFirst", "btnPrev", "mnuFirst", "mnuPrev"}, false);
  }
  updateLineCommands(row);
}

void ResultsController::step(Step kind) {
  // The places of a target of another document mean nothing in this pane.
  if (!current_ || !currentInDocument_ || current_->occurrences.empty()) return;
  const Target& t = *current_;
  const auto last = static_cast<std::int32_t>(t.occurrences.size()) - 1;
  std::int32_t current = targets_.currentOf(t);
  switch (kind) {
    case Step::First: current = 0; break;
    case Step::Previous: if (current > 0) --current; break;
    case Step::Next: if (current < last) ++current; break;
    case Step::Last: current = last; break;
    case Step::None: break;
  }
  current = std::clamp(current, 0, last);
  targets_.setCurrent(t, current);
  const Occurrence o = t.occurrences[static_cast<std::size_t>(current)];
  {
    TfrmMain::Busy busy(frame());
    PanesController& p = panes();
    PaneRecord& pane = p.currentRecord();
    // The whole length: a long occurrence is selected whole.
    p.selectRange(pane, o.start, o.length);
    if (p.translationLink()) p.alignTranslations(pane.tag, p.selectionStart(pane));
  }
  frame().setCommandsEnabled({"btnFirst", "btnPrev", "mnuFirst", "mnuPrev"}, current != 0);
  frame().setCommandsEnabled({"btnNext", "btnLast", "mnuNext", "mnuLast"}, current < last);
}

void ResultsController::contextClick(bool shift) {
  if (!shift || requestContext_ < 2 || !current_ || !currentInDocument_) return;
  const Target& t = *current_;
  const std::int32_t current = targets_.currentOf(t);
  if (current < 0 || current >= static_cast<std::int32_t>(t.occurrences.size())) return;
  const Occurrence o = t.occurrences[static_cast<std::size_t>(current)];
  if (o.contextStart < 0) return;
  TfrmMain::Busy busy(frame());
  // The whole sentence or paragraph, however long.
  panes().selectRange(panes().currentRecord(), o.contextStart, o.contextLength);
}

// --- Sorting ----------------------------------------------------------------

void ResultsController::applySort(int order, bool documentFirst) {
  TfrmMain::Busy busy(frame());
  {
    TargetModel::Change change(*model_);
    sortTargets(targets_, order, documentFirst);
  }
  sortApplied(order);
}

void ResultsController::sortApplied(int order) {
  TfrmMain::Busy busy(frame());
  clearResults(false);
  sortOrder_ = order;
  model_->setTextRightAligned(order == 4 || order == 5);
}

void ResultsController::sortByText() { applySort(nextTextOrder(sortOrder_), false); }
void ResultsController::sortByNumber() { applySort(nextNumberOrder(sortOrder_), false); }
void ResultsController::sortByDocumentAndText() { applySort(nextTextOrder(sortOrder_), true); }
void ResultsController::sortByDocumentAndNumber() { applySort(nextNumberOrder(sortOrder_), true); }

void ResultsController::headerClick(int column) {
  TfrmMain::Busy busy(frame());
  clearResults(false);
  updateLineCommands(0);
  switch (column) {
    case 0: sortByNumber(); break;
    case 1: sortByText(); break;
    case 2: {
      const int used = sortOrder_;
      applySort(used, true);
      sortOrder_ = orderAfterDocumentClick(used);
      model_->setTextRightAligned(sortOrder_ == 4 || sortOrder_ == 5);
      break;
    }
    default: break;
  }
  clearResults(false);
}

}  // namespace lirno
