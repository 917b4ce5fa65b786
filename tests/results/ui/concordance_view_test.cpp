// The concordance window of a main window: its commands and their enabling,
// the lines and their sort, showing a line's occurrence in the pane (a
// corpus document loaded as "Ouvrir dans la fenêtre" does), copying and
// exporting; the "Répartition" strips, their clicks and exports, and the
// counts per folio and page.
#include "results/ui/concordance_controller.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "platform/ui/qt_text.h"
#include "results/ui/concordance_model.h"
#include "results/ui/concordance_window.h"
#include "results/ui/dispersion_view.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

// CHAT at 3 and 51, RAT at 14, 34 and 43 (line 2 starts at position 40).
using Ranges = std::vector<std::pair<int, int>>;

const char kText[] = "le chat et le rat. le chien et le rat.\nun rat, un chat.\n";

class ConcordanceViewTest : public testing::WorkbenchTest {
 protected:
  TfrmMain& startAndSearch() {
    TfrmMain& w = start();
    open(w, writeDocument("animaux.txt", kText));
    searchWords(w, {"chat", "rat"});
    return w;
  }

  void searchWords(TfrmMain& w, std::initializer_list<const char*> words) {
    search(w, [&](TfrmFind& d) {
      d.ui.btnClear->click();
      d.ui.pnlOrtho.setIndex(kSpellingUpper);
      d.ui.chkAll->setChecked(false);
      for (const char* word : words) {
        d.ui.edWord->setText(QString::fromUtf8(word));
        d.ui.btnAdd->click();
      }
    });
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

  static ConcordanceController& kwic(TfrmMain& w) { return *w.controller<ConcordanceController>(); }
  static TfrmConcordance& view(TfrmMain& w) { return *kwic(w).window(); }

  static std::vector<int> starts(TfrmMain& w) {
    std::vector<int> out;
    const ConcordanceModel& m = view(w).model();
    for (int r = 0; r < m.rowCount(); ++r) out.push_back(m.lineAt(r).start);
    return out;
  }

  static QString cell(TfrmMain& w, int row, int column) {
    const ConcordanceModel& m = view(w).model();
    return m.data(m.index(row, column)).toString();
  }

  static void chooseSort(TfrmMain& w, int box, KwicKey key) {
    QComboBox* c = view(w).ui.cmbKwicSort[static_cast<std::size_t>(box)];
    c->setCurrentIndex(static_cast<int>(key) + 1);
    emit c->activated(c->currentIndex());
  }

  static void selectLine(TfrmMain& w, int row) {
    QTableView* g = view(w).ui.grdConcordance;
    g->selectionModel()->setCurrentIndex(view(w).model().index(row, 0),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
};

TEST_F(ConcordanceViewTest, TheCommandsNeedResultsAndOpenTheWindow) {
  TfrmMain& w = start();
  for (const char* name : {"mnuConcordance", "btnConcordance", "mnuDispersion", "btnDispersion"}) {
    EXPECT_FALSE(enabled(w, name)) << name;
  }
  EXPECT_EQ(w.action("mnuConcordance")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
  EXPECT_EQ(w.action("mnuConcordance")->text(), QStringLiteral("&Concordance"));
  open(w, writeDocument("animaux.txt", kText));
  searchWords(w, {"chat", "rat"});
  for (const char* name : {"mnuConcordance", "btnConcordance", "mnuDispersion", "btnDispersion"}) {
    EXPECT_TRUE(enabled(w, name)) << name;
  }
  w.button("btnConcordance")->click();
  ASSERT_NE(kwic(w).window(), nullptr);
  EXPECT_TRUE(view(w).isVisible());
  EXPECT_EQ(view(w).ui.pgcConcordance->currentIndex(), 0);
  // Document order, the found text in the middle column.
  EXPECT_EQ(starts(w), (std::vector<int>{3, 14, 34, 43, 51}));
  EXPECT_EQ(cell(w, 0, ConcordanceModel::kLeft), QStringLiteral("le "));
  EXPECT_EQ(cell(w, 0, ConcordanceModel::kHit), QStringLiteral("chat"));
  // The reader ends the text with a paragraph break of its own.
  EXPECT_EQ(cell(w, 2, ConcordanceModel::kRight).toStdString(), ".\u00b6un rat, un chat.\u00b6\u00b6");
  EXPECT_EQ(cell(w, 4, ConcordanceModel::kDocument), QStringLiteral("animaux.txt"));
  EXPECT_EQ(cell(w, 4, ConcordanceModel::kReference), QStringLiteral("p:001 f:000r"));
  EXPECT_EQ(view(w).ui.lblKwicCount->text(), QStringLiteral("5 occurrences de 2 cibles"));
}

TEST_F(ConcordanceViewTest, SortingByTheWordsAroundSaysItselfAndTheWidthCuts) {
  TfrmMain& w = startAndSearch();
  trigger(w, "mnuConcordance");
  chooseSort(w, 0, KwicKey::R1);
  // R1: (none) at 51, ET at 3, LE at 14, UN at 34 and 43 (document order).
  EXPECT_EQ(starts(w), (std::vector<int>{51, 3, 14, 34, 43}));
  EXPECT_EQ(view(w).ui.lblKwicSortOrder->text(), QStringLiteral("Tri : R1, puis document et position"));
  chooseSort(w, 1, KwicKey::L1);
  // Among the R1 UN: L1 LE (34) before L1 UN (43).
  EXPECT_EQ(starts(w), (std::vector<int>{51, 3, 14, 34, 43}));
  chooseSort(w, 0, KwicKey::L1);
  chooseSort(w, 1, KwicKey::Match);
  // L1 LE: CHAT 3, RAT 14, RAT 34; L1 UN: CHAT 51, RAT 43.
  EXPECT_EQ(starts(w), (std::vector<int>{3, 14, 34, 51, 43}));
  EXPECT_EQ(view(w).ui.lblKwicSortOrder->text(), QStringLiteral("Tri : L1, Cible, puis document et position"));

  view(w).ui.udKwicWidth->setValue(4);
  emit view(w).ui.udKwicWidth->editingFinished();
  EXPECT_EQ(cell(w, 0, ConcordanceModel::kLeft), QStringLiteral("le "));
  EXPECT_EQ(cell(w, 0, ConcordanceModel::kRight), QStringLiteral(" et "));
  // The sort holds after the rebuild.
  EXPECT_EQ(starts(w), (std::vector<int>{3, 14, 34, 51, 43}));
}

TEST_F(ConcordanceViewTest, ALineShowsItsOccurrenceInThePaneAsSteppingDoes) {
  TfrmMain& w = startAndSearch();
  trigger(w, "mnuConcordance");
  selectLine(w, 3);  // RAT at 43
  EXPECT_EQ(selection(w), std::make_pair(43, 3));
  EXPECT_EQ(results(w).currentTarget()->text, "RAT");
  EXPECT_EQ(results(w).targets().currentOf(*results(w).currentTarget()), 2);
  // Stepping goes on from there.
  trigger(w, "mnuPrev");
  EXPECT_EQ(selection(w), std::make_pair(34, 3));
  selectLine(w, 0);
  EXPECT_EQ(selection(w), std::make_pair(3, 4));
}

TEST_F(ConcordanceViewTest, CopyAndExportWriteEveryLineWithItsReferences) {
  TfrmMain& w = startAndSearch();
  trigger(w, "mnuConcordance");
  QTableView* g = view(w).ui.grdConcordance;
  g->selectionModel()->select(QItemSelection(view(w).model().index(0, 0), view(w).model().index(1, 4)),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view(w).ui.btnKwicCopy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
            "le \tchat\t et le rat. le chien et le rat.\\nun rat, un chat.\\n\\n\tCHAT\tanimaux.txt\t"
            "p:001 f:000r\t3\n"
            "le chat et le \trat\t. le chien et le rat.\\nun rat, un chat.\\n\\n\tRAT\tanimaux.txt\t"
            "p:001 f:000r\t14");

  // Ctrl+C in the grid copies the same lines.
  QGuiApplication::clipboard()->clear();
  view(w).ui.mnuKwicCopy->trigger();
  EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("le \tchat\t")));

  const std::string csv = program_.file("lignes.csv");
  kwic(w).chooseSaveFile = [&](const QString&, const QString&) { return fromUtf8(csv); };
  view(w).ui.chkKwicBom->setChecked(true);
  view(w).ui.btnKwicExport->click();
  const std::string bytes = program_.read("lignes.csv");
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(bytes.find("\r\nle chat et le rat. le chien et le ,rat,\".\nun rat, un chat.\n\n\",RAT,animaux.txt,"
                       "p:001 f:000r,34\r\n"),
            std::string::npos)
      << bytes;
  // Cancelled: nothing written.
  kwic(w).chooseSaveFile = [](const QString&, const QString&) { return QString(); };
  view(w).ui.btnKwicExport->click();
  EXPECT_TRUE(messages.empty());
  // A file that cannot be written says so.
  EXPECT_FALSE(kwic(w).exportConcordance(fromUtf8(program_.file("no/such/folder/x.tsv"))));
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ConcordanceViewTest, OnlyTheSelectedTargetsWhenAsked) {
  TfrmMain& w = startAndSearch();
  results(w).setCurrentRow(2);  // RAT
  trigger(w, "mnuConcordance");
  EXPECT_FALSE(view(w).ui.chkKwicSelected->isChecked());  // one row: where the grid stands
  EXPECT_EQ(view(w).model().rowCount(), 5);
  view(w).ui.chkKwicSelected->setChecked(true);
  EXPECT_EQ(starts(w), (std::vector<int>{14, 34, 43}));
  EXPECT_EQ(view(w).ui.pbxDispersion->strips().at(0).hits.size(), 3u);
}

TEST_F(ConcordanceViewTest, TheDispersionShowsWhereTheHitsFallAndExportsItsPictures) {
  TfrmMain& w = startAndSearch();
  trigger(w, "mnuDispersion");
  TfrmConcordance& v = view(w);
  EXPECT_EQ(v.ui.pgcConcordance->currentIndex(), 1);
  DispersionView& d = *v.ui.pbxDispersion;
  ASSERT_EQ(d.strips().size(), 1u);
  const DispersionStrip& s = d.strips()[0];
  EXPECT_EQ(s.hits.size(), 5u);
  const Document& doc = panes(w).currentDocument();
  EXPECT_EQ(s.length, doc.positionOfIndex(static_cast<std::int32_t>(doc.text.size())));
  QCoreApplication::processEvents();
  ASSERT_GT(d.width(), 100);
  // A click on the tick of RAT at 34 shows it.
  const int inner = d.width() - 2 * DispersionView::kMargin - 1;
  const QPoint at(DispersionView::kMargin + 34 * inner / s.length,
                  DispersionView::kMargin + DispersionView::kStripGap + DispersionView::kStripHeight / 2);
  EXPECT_EQ(d.hitAt(at).second, 2);
  QTest::mouseClick(&d, Qt::LeftButton, {}, at);
  EXPECT_EQ(selection(w), std::make_pair(34, 3));
  EXPECT_EQ(v.ui.lblDispPlace->text().toStdString(), "animaux.txt  p:001 f:000r");
  EXPECT_TRUE(d.placeAt(at).contains(QStringLiteral("p:001 f:000r")));
  EXPECT_TRUE(d.placeAt(QPoint(2, 2)).isEmpty());

  // The counts: one folio (none marked), one page.
  const QStandardItemModel& counts = *v.ui.folioCounts;
  ASSERT_EQ(counts.rowCount(), 2);
  EXPECT_EQ(counts.item(0, 2)->text(), QStringLiteral("f:000r"));
  EXPECT_EQ(counts.item(1, 2)->text(), QStringLiteral("p:001"));
  EXPECT_EQ(counts.item(1, 3)->data(Qt::DisplayRole).toLongLong(), 5);

  const std::string png = program_.file("dispersion.png"), svg = program_.file("dispersion.svg");
  EXPECT_TRUE(kwic(w).exportPicture(fromUtf8(png)));
  EXPECT_TRUE(kwic(w).exportPicture(fromUtf8(svg)));
  const QImage image(fromUtf8(png));
  EXPECT_FALSE(image.isNull());
  EXPECT_NE(program_.read("dispersion.svg").find("<svg"), std::string::npos);
  const std::string table = program_.file("counts.tsv");
  EXPECT_TRUE(kwic(w).exportCounts(fromUtf8(table)));
  EXPECT_EQ(program_.read("counts.tsv"),
            "Document\tUnit\xc3\xa9\tLieu\tOccurrences\nanimaux.txt\tfolio\tf:000r\t5\nanimaux.txt\tpage\tp:001\t5\n");
}

TEST_F(ConcordanceViewTest, ChangedResultsRebuildTheOpenView) {
  TfrmMain& w = startAndSearch();
  trigger(w, "mnuConcordance");
  EXPECT_EQ(view(w).model().rowCount(), 5);
  clickHeader(w, 1);  // a sort keeps the records: nothing to rebuild
  EXPECT_EQ(view(w).model().rowCount(), 5);
  selectLine(w, 4);  // CHAT at 51, whatever row it is on now
  EXPECT_EQ(selection(w), std::make_pair(51, 4));
  searchWords(w, {"chien"});
  EXPECT_EQ(starts(w), (std::vector<int>{22}));
}

// --- Corpus results -----------------------------------------------------------

TEST_F(ConcordanceViewTest, ALineOfAnotherDocumentLoadsItAsOpenInThisWindowDoes) {
  TfrmMain& w = start();
  std::vector<std::string> corpus = {writeDocument("un.txt", "un chat.\n"),
                                     writeDocument("deux.txt", "deux chats, un chat.\n")};
  searcher(w).setCorpusSource([&] { return &corpus; });
  w.setCommandsEnabled({"btnFind", "mnuFind"}, true);
  searchWords(w, {"chat"});
  trigger(w, "mnuConcordance");
  ASSERT_EQ(view(w).model().rowCount(), 3);
  EXPECT_EQ(cell(w, 0, ConcordanceModel::kDocument), QStringLiteral("deux.txt"));
  EXPECT_EQ(cell(w, 2, ConcordanceModel::kDocument), QStringLiteral("un.txt"));
  EXPECT_EQ(cell(w, 1, ConcordanceModel::kLeft), QStringLiteral("deux chats, un "));
  selectLine(w, 1);  // deux.txt, CHAT at 15
  EXPECT_EQ(panes(w).documentPath(), program_.file("deux.txt"));
  EXPECT_EQ(selection(w), std::make_pair(15, 4));
  EXPECT_EQ(redRanges(w), (Ranges{{5, 4}, {15, 4}}));
  selectLine(w, 2);  // un.txt, CHAT at 3
  EXPECT_EQ(panes(w).documentPath(), program_.file("un.txt"));
  EXPECT_EQ(selection(w), std::make_pair(3, 4));
  EXPECT_EQ(view(w).ui.pbxDispersion->strips().size(), 2u);
}

}  // namespace
}  // namespace lirno
