// The result grid of a main window: rows, drawing, selecting and stepping,
// sorting by commands and header clicks, deleting, copying and cutting
// rows, the target at the caret, and opening a corpus target here or in
// another window.
#include "results/ui/results_controller.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTableView>
#include <QHelpEvent>
#include <QToolTip>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

#include "platform/ui/qt_text.h"
#include "results/ui/target_grid_style.h"
#include "results/ui/target_model.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using Ranges = std::vector<std::pair<int, int>>;

// Line 1 is 38 characters; line 2 starts at position 40.
// CHAT at 3 and 51, CHIEN at 22, RAT at 14, 34 and 43.
const char kText[] = "le chat et le rat. le chien et le rat.\nun rat, un chat.\n";

class ResultsControllerTest : public testing::WorkbenchTest {
 protected:
  TfrmMain& startWithDocument() {
    TfrmMain& w = start();
    open(w, writeDocument("animaux.txt", kText));
    tester_ = std::make_unique<QAbstractItemModelTester>(
        w.ui.grdTarget->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    return w;
  }

  void searchWords(TfrmMain& w, std::initializer_list<const char*> words, int context = kContextText) {
    search(w, [&](TfrmFind& d) {
      d.ui.btnClear->click();
      d.ui.pnlOrtho.setIndex(kSpellingUpper);
      d.ui.pnlContext.setIndex(context);
      d.ui.chkAll->setChecked(false);
      for (const char* word : words) {
        d.ui.edWord->setText(QString::fromUtf8(word));
        d.ui.btnAdd->click();
      }
    });
  }

  static std::vector<std::string> texts(TfrmMain& w) {
    std::vector<std::string> out;
    for (const auto& t : results(w).targets().records()) out.push_back(t->text.str());
    return out;
  }

  static void trigger(TfrmMain& w, const char* name) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
  }

  static void clickHeader(TfrmMain& w, int column) {
    QHeaderView* h = w.ui.grdTarget->horizontalHeader();
    const QPoint at(h->sectionViewportPosition(column) + 4, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
  }

  static QPoint rowCentre(TfrmMain& w, int row) {
    return w.ui.grdTarget->visualRect(w.ui.grdTarget->model()->index(row - 1, 1)).center();
  }

  static void focusGrid(TfrmMain& w) {
    w.activateWindow();
    w.ui.grdTarget->setFocus();
    ASSERT_EQ(w.focusWidget(), w.ui.grdTarget);
  }

  static void selectRows(TfrmMain& w, int top, int bottom) {
    QAbstractItemModel* m = w.ui.grdTarget->model();
    w.ui.grdTarget->selectionModel()->select(QItemSelection(m->index(top - 1, 0), m->index(bottom - 1, 2)),
                                             QItemSelectionModel::ClearAndSelect);
    results(w).updateEditCommands();
  }

  std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(ResultsControllerTest, ANewWindowHasOnlyTheHeaderAndNoResultCommand) {
  TfrmMain& w = start();
  QTableView* g = w.ui.grdTarget;
  EXPECT_EQ(g->model()->rowCount(), 0);
  EXPECT_EQ(g->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("#"));
  EXPECT_EQ(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Texte"));
  EXPECT_EQ(g->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Document"));
  EXPECT_EQ(g->horizontalHeader()->sectionSize(0), 38);
  EXPECT_EQ(g->horizontalHeader()->sectionSize(1), 150);
  EXPECT_GE(g->horizontalHeader()->sectionSize(2), 4);  // the rest of the panel
  for (const char* c : {"mnuUp", "mnuDown", "mnuFirst", "btnPrev", "btnNext", "mnuLast", "mnuSaveTarget",
                        "mnuSortText", "mnuGrdSortDocNum", "mnuCut", "mnuGrdCopy", "mnuDel", "mnuAll",
                        "btnGrdOpen", "mnuGrdOpenNew"}) {
    EXPECT_FALSE(enabled(w, c)) << c;
  }
  EXPECT_TRUE(enabled(w, "mnuTxtTarget"));
  results(w).setCurrentRow(1);  // no data row to select
  EXPECT_EQ(results(w).currentTarget(), nullptr);
}

TEST_F(ResultsControllerTest, SelectingAndSteppingMoveThePaneSelectionAndTheEnabling) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  ASSERT_EQ(texts(w), (std::vector<std::string>{"CHAT", "CHIEN", "RAT"}));
  auto state = [&] {
    std::string s;
    for (const char* c : {"btnFirst", "btnPrev", "btnNext", "btnLast", "btnUp", "btnDown"}) {
      s += enabled(w, c) ? '1' : '0';
    }
    return s;
  };

  trigger(w, "mnuDown");
  EXPECT_EQ(results(w).currentRow(), 1);
  EXPECT_EQ(selection(w), std::make_pair(3, 4));
  EXPECT_EQ(state(), "001101");
  trigger(w, "mnuNext");
  EXPECT_EQ(selection(w), std::make_pair(51, 4));
  EXPECT_EQ(state(), "110001");
  results(w).step(ResultsController::Step::Next);  // on the last: stays
  EXPECT_EQ(selection(w), std::make_pair(51, 4));

  trigger(w, "mnuDown");
  EXPECT_EQ(selection(w), std::make_pair(22, 5));
  EXPECT_EQ(state(), "000011");
  w.button("btnDown")->click();
  EXPECT_EQ(selection(w), std::make_pair(14, 3));
  EXPECT_EQ(state(), "001110");

  // The arrows step without moving the grid.
  QTest::keyClick(w.ui.grdTarget, Qt::Key_Right);
  EXPECT_EQ(selection(w), std::make_pair(34, 3));
  QTest::keyClick(w.ui.grdTarget, Qt::Key_Right);
  QTest::keyClick(w.ui.grdTarget, Qt::Key_Left);
  EXPECT_EQ(selection(w), std::make_pair(34, 3));
  EXPECT_EQ(results(w).currentRow(), 3);
  trigger(w, "mnuLast");
  EXPECT_EQ(selection(w), std::make_pair(43, 3));
  trigger(w, "mnuFirst");
  EXPECT_EQ(selection(w), std::make_pair(14, 3));

  // Back to a target: the occurrence last shown.
  trigger(w, "mnuUp");
  trigger(w, "mnuUp");
  EXPECT_EQ(selection(w), std::make_pair(51, 4));
  EXPECT_EQ(state(), "110001");

  // The current row again changes nothing, not even the pane.
  panes(w).selectRange(panes(w).currentRecord(), 0, 2);
  QTest::mouseClick(w.ui.grdTarget->viewport(), Qt::LeftButton, {}, rowCentre(w, 1));
  EXPECT_EQ(selection(w), std::make_pair(0, 2));
  QTest::mouseClick(w.ui.grdTarget->viewport(), Qt::LeftButton, {}, rowCentre(w, 2));
  EXPECT_EQ(selection(w), std::make_pair(22, 5));
}

TEST_F(ResultsControllerTest, HeaderClicksAndSortCommandsCycleTheOrders) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  results(w).setCurrentRow(1);
  ASSERT_NE(results(w).currentTarget(), nullptr);
  auto rightAligned = [&] {
    const QVariant a = w.ui.grdTarget->model()->index(0, 1).data(Qt::TextAlignmentRole);
    return (a.value<Qt::Alignment>() & Qt::AlignRight) != 0;
  };
  struct Expect {
    int column, order;
    std::vector<std::string> texts;
    bool right;
  };
  const std::vector<Expect> clicks = {
      {0, 0, {"CHIEN", "CHAT", "RAT"}, false}, {0, 1, {"RAT", "CHAT", "CHIEN"}, false},
      {1, 2, {"CHAT", "CHIEN", "RAT"}, false}, {1, 3, {"RAT", "CHIEN", "CHAT"}, false},
      {1, 4, {"CHIEN", "CHAT", "RAT"}, true},  {1, 5, {"RAT", "CHAT", "CHIEN"}, true},
      {1, 2, {"CHAT", "CHIEN", "RAT"}, false},
      // Document first by the stored order, then the next document order.
      {2, 3, {"CHAT", "CHIEN", "RAT"}, false}, {2, 4, {"RAT", "CHIEN", "CHAT"}, true},
      {2, 0, {"CHIEN", "CHAT", "RAT"}, false},
  };
  for (const Expect& e : clicks) {
    clickHeader(w, e.column);
    EXPECT_EQ(results(w).sortOrder(), e.order) << e.column;
    EXPECT_EQ(texts(w), e.texts) << e.column << " " << e.order;
    EXPECT_EQ(rightAligned(), e.right) << e.order;
  }
  // A sort leaves no target selected and the highlighting gone.
  EXPECT_EQ(results(w).currentTarget(), nullptr);
  EXPECT_FALSE(enabled(w, "btnNext"));
  EXPECT_TRUE(redRanges(w).empty());

  trigger(w, "mnuSortNum");  // from 0: descending counts
  EXPECT_EQ(results(w).sortOrder(), 1);
  trigger(w, "mnuGrdSortText");
  EXPECT_EQ(results(w).sortOrder(), 2);
  trigger(w, "mnuSortDocText");
  EXPECT_EQ(results(w).sortOrder(), 3);
  EXPECT_EQ(texts(w), (std::vector<std::string>{"RAT", "CHIEN", "CHAT"}));
  trigger(w, "mnuGrdSortDocNum");
  EXPECT_EQ(results(w).sortOrder(), 0);
}

TEST_F(ResultsControllerTest, ColumnsFitThePanelAndLongCellsAreShortenedWithTheirTextAsTooltip) {
  TfrmMain& w = start();
  w.setWindowState(Qt::WindowNoState);
  w.resize(1024, 605);
  w.show();
  QCoreApplication::processEvents();
  QTableView* g = w.ui.grdTarget;
  QHeaderView* h = g->horizontalHeader();
  ASSERT_EQ(w.ui.pnlTarget->width(), 235);
  // Empty, at the default width: "Document" ends at the panel's edge and
  // nothing scrolls sideways.
  EXPECT_EQ(h->sectionViewportPosition(2) + h->sectionSize(2), g->viewport()->width());
  EXPECT_FALSE(g->horizontalScrollBar()->isVisible());
  EXPECT_EQ(h->sectionSize(0), 38);
  EXPECT_EQ(h->sectionSize(1), 150);

  const std::string longWord(60, 'z');
  open(w, writeDocument("long.txt", "un " + longWord + " chat\n"));
  searchWords(w, {longWord.c_str(), "chat"});
  QCoreApplication::processEvents();
  EXPECT_FALSE(g->horizontalScrollBar()->isVisible());
  EXPECT_EQ(h->sectionViewportPosition(2) + h->sectionSize(2), g->viewport()->width());
  const QModelIndex longCell = g->model()->index(1, 1);
  const QModelIndex shortCell = g->model()->index(0, 1);
  ASSERT_EQ(longCell.data().toString(), QString::fromStdString(std::string(60, 'Z')));
  const QFontMetrics fm(g->font());
  const QString shown = TargetDelegate::shownText(longCell, fm, g->columnWidth(1));
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << toUtf8(shown);
  EXPECT_LE(fm.horizontalAdvance(shown), g->columnWidth(1) - 2);
  EXPECT_EQ(TargetDelegate::shownText(shortCell, fm, g->columnWidth(1)), QStringLiteral("CHAT"));

  const auto tooltipAt = [&](const QModelIndex& i) {
    const QPoint at = g->visualRect(i).center();
    QHelpEvent help(QEvent::ToolTip, at, g->viewport()->mapToGlobal(at));
    QApplication::sendEvent(g->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  EXPECT_EQ(tooltipAt(shortCell), QString());  // nothing hidden, no tooltip
  EXPECT_EQ(tooltipAt(longCell), longCell.data().toString());
}

TEST_F(ResultsControllerTest, QuickRepeatedHeaderClicksEachSort) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  QHeaderView* h = w.ui.grdTarget->horizontalHeader();
  const QPoint at(h->sectionViewportPosition(1) + h->sectionSize(1) / 2, h->height() / 2);
  // What the system sends for two presses within the double-click time.
  const auto send = [&](QEvent::Type type) {
    QMouseEvent e(type, QPointF(at), QPointF(h->viewport()->mapToGlobal(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(h->viewport(), &e);
  };
  ASSERT_EQ(results(w).sortOrder(), 2);
  send(QEvent::MouseButtonPress);
  send(QEvent::MouseButtonRelease);
  send(QEvent::MouseButtonDblClick);
  send(QEvent::MouseButtonRelease);
  EXPECT_EQ(results(w).sortOrder(), 4);  // 2 -> 3 -> 4: two sorts, none lost
  EXPECT_EQ(texts(w), (std::vector<std::string>{"CHIEN", "CHAT", "RAT"}));
}

TEST_F(ResultsControllerTest, CopyDeleteAndCutRows) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  focusGrid(w);
  selectRows(w, 1, 2);
  for (const char* c : {"mnuCut", "mnuCopy", "mnuDel", "mnuAll", "mnuGrdCut", "mnuGrdCopy", "mnuGrdDel"}) {
    EXPECT_TRUE(enabled(w, c)) << c;
  }
  EXPECT_FALSE(enabled(w, "mnuTxtCopy"));
  trigger(w, "mnuCopy");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("2\tCHAT\t\n1\tCHIEN\t"));

  trigger(w, "mnuDel");
  EXPECT_EQ(texts(w), (std::vector<std::string>{"RAT"}));
  EXPECT_EQ(w.ui.grdTarget->model()->rowCount(), 1);
  EXPECT_EQ(results(w).currentTarget(), nullptr);

  trigger(w, "mnuAll");
  EXPECT_EQ(results(w).selectionRows(), std::make_pair(1, 1));
  trigger(w, "mnuGrdCut");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("3\tRAT\t"));
  EXPECT_EQ(w.ui.grdTarget->model()->rowCount(), 0);
  for (const char* c : {"mnuSaveTarget", "btnSaveTarget", "mnuAll", "mnuGrdAll", "mnuSortText", "mnuGrdSortNum"}) {
    EXPECT_FALSE(enabled(w, c)) << c;
  }
}

TEST_F(ResultsControllerTest, EditCommandsFollowTheFocusAndCopyTakesThePaneSelection) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat"});
  PaneRecord& pane = panes(w).currentRecord();
  w.activateWindow();
  pane.editor->setFocus();
  panes(w).selectRange(pane, 3, 4);
  results(w).updateEditCommands();
  EXPECT_TRUE(enabled(w, "mnuCopy"));
  EXPECT_TRUE(enabled(w, "mnuTxtCopy"));
  EXPECT_FALSE(enabled(w, "mnuCut"));
  EXPECT_FALSE(enabled(w, "mnuGrdCopy"));
  trigger(w, "mnuTxtCopy");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("chat"));

  panes(w).selectRange(pane, 3, 0);
  results(w).updateEditCommands();
  EXPECT_FALSE(enabled(w, "mnuCopy"));
  EXPECT_FALSE(enabled(w, "mnuTxtCopy"));
}

TEST_F(ResultsControllerTest, TargetAtTheCaretSelectsItsRowAndOccurrence) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  PanesController& p = panes(w);
  p.selectRange(p.currentRecord(), 53, 0);
  trigger(w, "mnuTxtTarget");
  EXPECT_EQ(results(w).currentRow(), 1);
  EXPECT_EQ(results(w).targets().currentOf(*results(w).currentTarget()), 1);
  EXPECT_EQ(selection(w), std::make_pair(51, 4));

  p.selectRange(p.currentRecord(), 36, 0);  // in RAT's second occurrence
  trigger(w, "mnuTxtTarget");
  EXPECT_EQ(results(w).currentRow(), 3);
  EXPECT_EQ(selection(w), std::make_pair(34, 3));

  p.selectRange(p.currentRecord(), 0, 0);  // in no occurrence
  trigger(w, "mnuTxtTarget");
  EXPECT_EQ(results(w).currentRow(), 3);
  EXPECT_EQ(selection(w), std::make_pair(0, 0));
}

TEST_F(ResultsControllerTest, ShiftClickExtendsTheRowsAndSelectsTheWholeSentence) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "rat"}, kContextSentence);
  ASSERT_EQ(texts(w), (std::vector<std::string>{"CHAT", "RAT"}));
  results(w).setCurrentRow(1);
  QTest::mouseClick(w.ui.grdTarget->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(w, 2));
  EXPECT_EQ(results(w).currentRow(), 1);
  EXPECT_EQ(results(w).selectionRows(), std::make_pair(1, 2));
  const Occurrence& o = results(w).currentTarget()->occurrences[0];
  EXPECT_GT(o.contextLength, 4);
  EXPECT_EQ(selection(w), std::make_pair(o.contextStart, o.contextLength));
}

TEST_F(ResultsControllerTest, ASentenceLongerThanSixteenBitsIsSelectedWhole) {
  TfrmMain& w = start();
  open(w, writeDocument("long.txt", "chat " + std::string(40000, 'a') + " rat.\n"));
  searchWords(w, {"chat"}, kContextSentence);
  results(w).setCurrentRow(1);
  QTest::mouseClick(w.ui.grdTarget->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(w, 1));
  EXPECT_EQ(selection(w), std::make_pair(0, 40010));
}

TEST_F(ResultsControllerTest, InWordListModeTheSelectedTargetAloneIsRed) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  results(w).setWordListMode(true);
  results(w).setCurrentRow(3);
  EXPECT_EQ(redRanges(w), (Ranges{{14, 3}, {34, 3}, {43, 3}}));
  EXPECT_EQ(selection(w), std::make_pair(14, 3));
  results(w).setCurrentRow(1);
  EXPECT_EQ(redRanges(w), (Ranges{{3, 4}, {51, 4}}));
}

TEST_F(ResultsControllerTest, ClosingTheResultPaneEmptiesTheGrid) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat"});
  ASSERT_EQ(w.ui.grdTarget->model()->rowCount(), 2 - 1);
  w.button("btnClose1")->click();
  EXPECT_EQ(w.ui.grdTarget->model()->rowCount(), 0);
  EXPECT_TRUE(results(w).targets().empty());
  EXPECT_FALSE(enabled(w, "mnuSaveTarget"));
}

TEST_F(ResultsControllerTest, StatusTranslationButtonAndCaptionNeverOutliveTheirDocument) {
  writeDocument("animaux_trad.txt", "the cat\n");
  TfrmMain& w = startWithDocument();
  const QString caption = QStringLiteral("Lirno - ") + fromUtf8(program_.file("animaux.txt"));
  const auto searched = [&] {
    searchWords(w, {"chat"});
    ASSERT_FALSE(w.ui.lblStatus->text().isEmpty());
    ASSERT_TRUE(enabled(w, "btnTrad"));
    ASSERT_EQ(w.windowTitle(), caption);
  };
  searched();
  w.button("btnClose")->click();  // "Fermer les documents"
  EXPECT_EQ(w.ui.lblStatus->text(), QString());
  EXPECT_FALSE(enabled(w, "btnTrad"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lirno"));

  open(w, program_.file("animaux.txt"));
  searched();
  w.button("btnClose1")->click();  // the result pane
  EXPECT_EQ(w.ui.lblStatus->text(), QString());
  EXPECT_FALSE(enabled(w, "btnTrad"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lirno"));

  open(w, program_.file("animaux.txt"));
  searched();
  open(w, writeDocument("autre.txt", "un chien\n"));
  EXPECT_EQ(w.ui.lblStatus->text(), QString());
  EXPECT_FALSE(enabled(w, "btnTrad"));
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lirno - ") + fromUtf8(program_.file("autre.txt")));
}

TEST_F(ResultsControllerTest, GridDrawsSilverHeaderNavySelectionAndRightAlignedText) {
  TfrmMain& w = startWithDocument();
  searchWords(w, {"chat", "chien", "rat"});
  w.resize(1024, 605);
  results(w).setCurrentRow(1);
  QTableView* g = w.ui.grdTarget;
  const QImage header = g->horizontalHeader()->grab().toImage();
  EXPECT_EQ(QColor(header.pixel(3, header.height() / 2)), QColor(192, 192, 192));
  EXPECT_EQ(QColor(header.pixel(0, header.height() / 2)), QColor(Qt::white));
  EXPECT_EQ(QColor(header.pixel(header.width() - 1 > 37 ? 37 : 0, header.height() / 2)), QColor(128, 128, 128));

  const QImage cells = g->viewport()->grab().toImage();
  const QRect selected = g->visualRect(g->model()->index(0, 1));
  const QRect plain = g->visualRect(g->model()->index(1, 1));
  EXPECT_EQ(QColor(cells.pixel(selected.right() - 3, selected.center().y())), QColor(0, 0, 128));
  EXPECT_EQ(QColor(cells.pixel(plain.right() - 3, plain.center().y())), QColor(Qt::white));

  // The text's ink sits at the left, and at the right in the orders 4 and 5.
  auto inkSide = [&](int row) {
    const QImage img = g->viewport()->grab().toImage();
    const QRect r = g->visualRect(g->model()->index(row - 1, 1));
    int first = -1, last = -1;
    for (int x = r.left(); x < r.right(); ++x) {
      for (int y = r.top() + 2; y < r.bottom() - 1; ++y) {
        if (qGray(img.pixel(x, y)) < 128) {
          if (first < 0) first = x;
          last = x;
        }
      }
    }
    return std::make_pair(first - r.left(), r.right() - last);
  };
  EXPECT_LT(inkSide(2).first, 6);
  clickHeader(w, 1);  // 3
  clickHeader(w, 1);  // 4
  ASSERT_EQ(results(w).sortOrder(), 4);
  EXPECT_LT(inkSide(2).second, 6);
  EXPECT_GT(inkSide(2).first, 40);
}

// --- Corpus results -----------------------------------------------------------

class CorpusResultsTest : public ResultsControllerTest {
 protected:
  TfrmMain& searchCorpus() {
    TfrmMain& w = start();
    corpus_ = {writeDocument("un.txt", "un chat.\n"), writeDocument("deux.txt", "deux chats, un chat.\n")};
    searcher(w).setCorpusSource([this] { return &corpus_; });
    w.setCommandsEnabled({"btnFind", "mnuFind"}, true);
    searchWords(w, {"chat"});
    return w;
  }
  std::vector<std::string> corpus_;
};

TEST_F(CorpusResultsTest, ATargetOfAnotherDocumentOffersTheOpeningCommandsOnly) {
  TfrmMain& w = searchCorpus();
  ASSERT_EQ(results(w).targets().size(), 3u);  // CHAT deux, CHAT un, CHATS deux
  clickHeader(w, 2);  // document first, then text: deux CHAT, deux CHATS, un CHAT
  results(w).setCurrentRow(1);
  EXPECT_EQ(results(w).currentTarget()->document.str(), "deux.txt | " + program_.path());
  EXPECT_TRUE(enabled(w, "btnGrdOpen"));
  EXPECT_TRUE(enabled(w, "mnuGrdOpenNew"));
  EXPECT_FALSE(enabled(w, "btnFirst"));
  EXPECT_FALSE(enabled(w, "mnuPrev"));
  QTest::keyClick(w.ui.grdTarget, Qt::Key_Right);  // nothing to step in this pane
  EXPECT_EQ(selection(w), std::make_pair(0, 0));

  focusGrid(w);
  selectRows(w, 1, 3);
  trigger(w, "mnuCopy");
  const QString deux = fromUtf8(program_.file("deux.txt"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QStringLiteral("1\tCHAT\t") + deux + QStringLiteral("\n1\tCHATS\t") + deux +
                QStringLiteral("\n1\tCHAT\t") + fromUtf8(program_.file("un.txt")));
}

TEST_F(CorpusResultsTest, OpenInThisWindowShowsTheDocumentWithItsOccurrences) {
  TfrmMain& w = searchCorpus();
  clickHeader(w, 2);  // deux: CHAT, CHATS; un: CHAT
  results(w).setCurrentRow(1);
  w.button("btnGrdOpen")->click();
  EXPECT_EQ(panes(w).documentPath(), program_.file("deux.txt"));
  EXPECT_EQ(redRanges(w), (Ranges{{5, 4}, {15, 4}}));
  EXPECT_EQ(selection(w), std::make_pair(15, 4));
  EXPECT_FALSE(enabled(w, "btnGrdOpen"));
  EXPECT_FALSE(enabled(w, "btnGrdOpenNew"));
  EXPECT_EQ(results(w).targets().size(), 3u);  // the corpus results stay

  trigger(w, "mnuDown");
  EXPECT_EQ(selection(w), std::make_pair(5, 4));  // same document: shown at once
  trigger(w, "mnuDown");
  EXPECT_TRUE(enabled(w, "btnGrdOpen"));
}

TEST_F(CorpusResultsTest, OpenInAnotherWindowRunsTheRequestThere) {
  TfrmMain& w = searchCorpus();
  clickHeader(w, 2);
  results(w).setCurrentRow(3);  // un.txt
  w.button("btnGrdOpenNew")->click();
  ASSERT_EQ(workbench().windows().size(), 2u);
  TfrmMain& other = *workbench().windows()[1];
  EXPECT_EQ(other.pos(), w.pos() + QPoint(25, 25));
  EXPECT_TRUE(other.isVisible());
  EXPECT_EQ(other.windowTitle(), QStringLiteral("Lirno - ") + fromUtf8(program_.file("un.txt")));
  EXPECT_EQ(texts(other), (std::vector<std::string>{"CHAT"}));
  EXPECT_EQ(results(other).targets()[0].document.str(), "");
  EXPECT_EQ(toUtf8(other.ui.lblStatus->text()), "\"CHAT\"  Mots : 1  Occurrences : 1");
  EXPECT_EQ(redRanges(other), (Ranges{{3, 4}}));
  EXPECT_EQ(searcher(other).request().spelling, kSpellingUpper);
  EXPECT_FALSE(searcher(other).request().useCorpus);
  EXPECT_FALSE(enabled(w, "btnGrdOpenNew"));
  EXPECT_TRUE(enabled(w, "btnGrdOpen"));

  // The same document again: that window, its results kept, nothing twice.
  results(w).setCurrentRow(1);
  results(w).setCurrentRow(3);
  w.button("btnGrdOpenNew")->click();
  EXPECT_EQ(workbench().windows().size(), 2u);
  ASSERT_EQ(results(other).targets().size(), 1u);
  EXPECT_EQ(results(other).targets()[0].occurrences.size(), 1u);
}

TEST_F(CorpusResultsTest, AnotherWindowForAMissingDocumentIsClosedAgain) {
  TfrmMain& w = searchCorpus();
  clickHeader(w, 2);
  std::filesystem::remove(program_.file("un.txt"));
  messages.clear();
  results(w).setCurrentRow(3);
  w.button("btnGrdOpenNew")->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(workbench().windows().size(), 1u);
  EXPECT_EQ(messages, (std::vector<std::string>{"Fichier non trouvé :\n" + program_.file("un.txt")}));
  EXPECT_EQ(results(w).targets().size(), 3u);
}

}  // namespace
}  // namespace lirno
