#pragma once
// The result grid of a main window (grdTarget) and its commands: the target
// list with its current target, sort order and word-list mode; filling and
// clearing the grid, selecting rows and stepping through occurrences in the
// current pane, sorting, deleting, copying and cutting rows, the target at
// the caret, and opening a target's document in this or another window,
// with the enabling of all these commands.
//
// Grid rows are counted as the form counts them: row 0 is the header, row
// r >= 1 shows target r - 1. Occurrence places are document positions.
#include <functional>
#include <memory>
#include <utility>

#include <QPointer>

#include "search/targets.h"
#include "shell/ui/main_window.h"

class QTableView;

namespace lirno {

class PanesController;
class TargetModel;

class ResultsController : public WindowController {
  Q_OBJECT

 public:
  enum class Step { None, First, Previous, Next, Last };

  explicit ResultsController(TfrmMain& frame);
  ~ResultsController() override;

  void formCreated() override;

  // --- State ----------------------------------------------------------------
  cTargetList& targets() { return targets_; }
  const cTargetList& targets() const { return targets_; }
  TargetModel& model() const { return *model_; }
  QTableView* grid() const;
  Target* currentTarget() const { return current_; }
  int sortOrder() const { return sortOrder_; }
  bool wordListMode() const { return wordListMode_; }
  void setWordListMode(bool on) { wordListMode_ = on; }
  // The context of the last request ("Texte" 0 .. "Paragraphe" 3).
  int requestContext() const { return requestContext_; }
  void setRequestContext(int context) { requestContext_ = context; }

  // The grid's current row (0 when none) and making a row current, which
  // runs Select row.
  int currentRow() const;
  void setCurrentRow(int row);
  // Top and bottom rows of the grid's selection; {0, 0} when none.
  std::pair<int, int> selectionRows() const;

  // --- Operations used by the search and the word list ------------------
  // Rebuilds the rows from the list.
  void fillGrid();
  // Forgets the current target and the highlighting of the result pane;
  // `free` also frees every target and forgets the result pane.
  void clearResults(bool free);
  // Sorts the list by `order` (0..5), plain or document first, and rebuilds
  // the grid; the order is stored.
  void applySort(int order, bool documentFirst);
  // The same when the list is already in that order (the driver sorted it).
  void sortApplied(int order);

  // --- Commands ---------------------------------------------------------
  void moveUp();
  void moveDown();
  void selectRow(int row);
  void step(Step kind);
  void contextClick(bool shift);
  void headerClick(int column);
  void sortByText();
  void sortByNumber();
  void sortByDocumentAndText();
  void sortByDocumentAndNumber();
  void deleteRows();
  void copy();
  void copyRows();
  void cut();
  void selectAll();
  void updateEditCommands();
  void targetAtCaret();
  void openHere();
  void openElsewhere();

  // What the producer of the results (the search, the word list) does for
  // the opening commands: colour the occurrences of the current document,
  // and show the same results for the document of `other` (Open in another
  // window, once the document is loaded there).
  struct Producer {
    std::function<void()> highlight;
    std::function<void(TfrmMain& other)> reproduceIn;
  };
  void setProducer(Producer producer) { producer_ = std::move(producer); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void wire();
  void updateLineCommands(int row);
  void setOpenCommandsEnabled(bool enabled);
  bool gridFocused() const;
  PanesController& panes() const;
  // Shift-press on a data row: the range selection reaches `row`, the
  // current row stays.
  void extendSelectionTo(int row);

  cTargetList targets_;
  std::unique_ptr<TargetModel> model_;
  Target* current_ = nullptr;
  bool currentInDocument_ = false;
  int sortOrder_ = 0;
  bool wordListMode_ = false;
  int requestContext_ = 0;
  Producer producer_;
  // The window deletes its widgets before its controllers, and they get
  // events while they go.
  QPointer<QWidget> grid_;
};

}  // namespace lirno
