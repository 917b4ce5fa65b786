// Searching in a main window: the dialog's request run by the driver, the
// outcome (status line, grid, red occurrences, result pane), the command
// line's search at start-up and a corpus search.
#include "search/ui/search_controller.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QHelpEvent>
#include <QTableView>
#include <QToolTip>

#include "platform/ui/qt_text.h"
#include "results/ui/target_model.h"
#include "shell/ui/status_label.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using testing::WorkbenchTest;

// Positions: line 1 is 34 characters, its break counts 2, line 2 starts at 36.
const char kText[] = "le chat noir dort. le chien aboie.\nun chat blanc, deux chats.\n";

std::string status(TfrmMain& w) { return toUtf8(w.ui.lblStatus->text()); }

std::vector<std::string> rows(TfrmMain& w) {
  const QAbstractItemModel* m = w.ui.grdTarget->model();
  std::vector<std::string> out;
  for (int r = 0; r < m->rowCount(); ++r) {
    std::string line;
    for (int c = 0; c < 3; ++c) {
      if (c > 0) line += '|';
      line += toUtf8(m->index(r, c).data().toString());
    }
    out.push_back(line);
  }
  return out;
}

class SearchControllerTest : public WorkbenchTest {};

TEST_F(SearchControllerTest, ALongStatusLineShortensItsStringsAndKeepsTheCountsInView) {
  TfrmMain& w = start();
  w.setWindowState(Qt::WindowNoState);
  w.resize(640, 480);
  w.show();
  open(w, writeDocument("chats.txt", kText));
  search(w, [](TfrmFind& d) {
    d.ui.btnClear->click();
    d.ui.pnlOrtho.setIndex(kSpellingUpper);
    for (int i = 0; i < 40; ++i) {
      d.ui.edWord->setText(QStringLiteral("chat%1").arg(i));
      d.ui.btnAdd->click();
    }
    d.ui.edWord->setText(QStringLiteral("chat"));
    d.ui.btnAdd->click();
  });
  QCoreApplication::processEvents();
  auto* label = qobject_cast<StatusLabel*>(w.ui.lblStatus);
  ASSERT_NE(label, nullptr);
  const QString whole = label->text();
  EXPECT_TRUE(whole.startsWith(QStringLiteral("\"CHAT0 + CHAT1 + ")));  // the text as written
  EXPECT_TRUE(whole.endsWith(QStringLiteral("\"  Mots : 2  Occurrences : 3")));
  const QString shown = label->shownText();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("…\"  Mots : 2  Occurrences : 3"))) << toUtf8(shown);
  EXPECT_TRUE(shown.startsWith(QStringLiteral("\"CHAT0 + ")));
  EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
  EXPECT_LE(w.width(), 640);  // the line never widens the window

  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(label, &help);
  EXPECT_EQ(QToolTip::text(), whole);

  // A line that fits is drawn whole.
  EXPECT_EQ(StatusLabel::fitted(whole, label->fontMetrics(), 100000), whole);
  // So narrow that the counts alone do not fit: the end goes instead.
  const QString tiny = StatusLabel::fitted(whole, label->fontMetrics(), 60);
  EXPECT_TRUE(tiny.startsWith(QStringLiteral("\"CH"))) << toUtf8(tiny);
  EXPECT_TRUE(tiny.endsWith(QChar(0x2026)));
}

TEST_F(SearchControllerTest, SearchShowsTheStatusTheRowsAndTheOccurrencesInRed) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  ASSERT_TRUE(enabled(w, "btnFind"));
  searchWord(w, "chat", kSpellingUpper);

  // Found texts are whole words; the red ranges are the matched characters.
  EXPECT_EQ(status(w), "\"CHAT\"  Mots : 2  Occurrences : 3");
  EXPECT_EQ(rows(w), (std::vector<std::string>{"2|CHAT|", "1|CHATS|"}));
  EXPECT_EQ(redRanges(w), (std::vector<std::pair<int, int>>{{3, 4}, {39, 4}, {56, 4}}));
  EXPECT_EQ(selection(w).second, 0);
  EXPECT_EQ(panes(w).resultPane(), panes(w).currentPane());
  EXPECT_EQ(results(w).sortOrder(), 2);
  for (const char* c : {"mnuSaveTarget", "btnSaveTarget", "mnuAll", "mnuSortText", "mnuGrdSortDocNum"}) {
    EXPECT_TRUE(enabled(w, c)) << c;
  }
  for (const char* c : {"btnFirst", "btnNext", "mnuLast", "btnGrdOpen", "mnuGrdOpenNew", "btnUp"}) {
    EXPECT_FALSE(enabled(w, c)) << c;
  }
  EXPECT_TRUE(enabled(w, "btnDown"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(SearchControllerTest, ASecondSearchStartsFromNothing) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  searchWord(w, "chat", kSpellingUpper);
  results(w).setCurrentRow(1);
  ASSERT_NE(results(w).currentTarget(), nullptr);

  searchWord(w, "chien", kSpellingUpper);
  EXPECT_EQ(rows(w), (std::vector<std::string>{"1|CHIEN|"}));
  EXPECT_EQ(redRanges(w), (std::vector<std::pair<int, int>>{{22, 5}}));
  EXPECT_EQ(results(w).currentTarget(), nullptr);
  EXPECT_EQ(results(w).targets().size(), 1u);
}

TEST_F(SearchControllerTest, TheTypedWordIsSearchedAndListedWithoutAdd) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  search(w, [](TfrmFind& d) {
    d.ui.pnlOrtho.setIndex(kSpellingUpper);
    d.ui.edWord->setText(QStringLiteral("ch at"));
  });
  EXPECT_EQ(rows(w), (std::vector<std::string>{"2|CHAT|", "1|CHATS|"}));

  w.button("btnFind")->click();
  TfrmFind& d = findDialog();
  ASSERT_EQ(d.ui.lstWord->count(), 1);
  EXPECT_EQ(d.ui.lstWord->item(0)->text(), QStringLiteral("chat"));
  // "Annuler" keeps the request: the results stay.
  d.ui.btnClear->click();
  d.reject();
  EXPECT_EQ(rows(w), (std::vector<std::string>{"2|CHAT|", "1|CHATS|"}));
  EXPECT_TRUE(searcher(w).request().strings.empty());  // the edits in the dialog are kept
}

TEST_F(SearchControllerTest, StatusLineNamesTheMatchedPatternsAndTheContext) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  search(w, [](TfrmFind& d) {
    d.ui.btnClear->click();
    d.ui.pnlOrtho.setIndex(kSpellingUpper);
    d.ui.pnlContext.setIndex(kContextSentence);
    d.ui.edWord->setText(QStringLiteral("chat"));
    d.ui.btnAdd->click();
    d.ui.edWord->setText(QStringLiteral("chien"));
    d.ui.btnAdd->click();
    d.ui.chkExclude->click();
    d.ui.chkAll->setChecked(true);
  });
  EXPECT_EQ(status(w), "\"CHAT + !CHIEN\" (Contx : Phrase, tout)  Mots : 2  Occurrences : 3");
  EXPECT_EQ(results(w).requestContext(), kContextSentence);
}

TEST_F(SearchControllerTest, GeneratedSpellingSearchesWithoutTheVariantDialog) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  searchWord(w, "chien", kSpellingGenerated);
  // Reduced like "Modifiée" (the rules drop H), recorded reduced.
  EXPECT_EQ(rows(w), (std::vector<std::string>{"1|CIEN|"}));
  EXPECT_TRUE(searcher(w).request().strings.size() == 1);
}

TEST_F(SearchControllerTest, FiltersChosenInTheDialogKeepOnlyMatchingWords) {
  TfrmMain& w = start();
  open(w, writeDocument("chats.txt", kText));
  search(w, [](TfrmFind& d) {
    d.ui.btnClear->click();
    d.ui.pnlOrtho.setIndex(kSpellingUpper);
    d.ui.pnlPlace.setIndex(kPlaceWordStart);
    d.ui.edWord->setText(QStringLiteral("ch"));
    ASSERT_EQ(d.ui.lstFilter->count(), 2);
    d.ui.lstFilter->item(0)->setCheckState(Qt::Checked);  // P:Pluriels
  });
  EXPECT_EQ(searcher(w).request().filterDescription, "P:Pluriels");
  ASSERT_EQ(results(w).targets().size(), 1u);
  EXPECT_EQ(results(w).targets()[0].occurrences.size(), 1u);
  EXPECT_EQ(results(w).targets()[0].occurrences[0].start, 56);
}

TEST_F(SearchControllerTest, CommandLineSearchRunsAtStartAndIsListedInTheDialog) {
  const std::string doc = writeDocument("chats.txt", kText);
  TfrmMain& w = start("-F " + doc + " -S2X rat -S chat -M1");
  EXPECT_EQ(status(w), "\"!RAT + CHAT\"  Mots : 2  Occurrences : 3");
  EXPECT_EQ(redRanges(w).size(), 3u);
  EXPECT_FALSE(workbench().commandLine().searchStrings.has_value());

  // Consumed: "&Rechercher" now shows the dialog, with the strings listed.
  emit w.action("mnuFind")->triggered(false);
  TfrmFind& d = findDialog();
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(d.ui.lstWord->count(), 2);
  EXPECT_EQ(d.ui.lstWord->item(0)->text(), QStringLiteral("rat"));
  d.ui.lstWord->setCurrentRow(0);
  EXPECT_EQ(d.ui.pnlPlace.index(), kPlaceWordEnd);
  EXPECT_TRUE(d.ui.chkExclude->isChecked());
  d.reject();
}

TEST_F(SearchControllerTest, CommandLineStringsWithoutADocumentAreOnlyListed) {
  TfrmMain& w = start("-S chat");
  EXPECT_TRUE(w.ui.lblStatus->text().isEmpty());
  EXPECT_EQ(results(w).targets().size(), 0u);
  ASSERT_EQ(searcher(w).request().strings.size(), 1u);
  EXPECT_EQ(searcher(w).request().strings[0]->text, "chat");
}

TEST_F(SearchControllerTest, CorpusSearchLabelsEachDocumentAndSkipsAMissingOne) {
  TfrmMain& w = start();
  const std::vector<std::string> corpus = {writeDocument("un.txt", "un chat.\n"), program_.file("absent.txt"),
                                           "deux.txt"};
  writeDocument("deux.txt", "deux chats, un chat.\n");
  searcher(w).setCorpusSource([&] { return &corpus; });
  std::vector<bool> hourglass;
  setMessageHandler([&](const MessageRequest& m) {
    messages.push_back(m.text);
    const QCursor* c = QApplication::overrideCursor();
    hourglass.push_back(c && c->shape() == Qt::WaitCursor);
    return MessageAnswer::Ok;
  });
  w.setCommandsEnabled({"btnFind", "mnuFind"}, true);  // as loading a corpus does
  search(w, [](TfrmFind& d) {
    EXPECT_TRUE(d.ui.chkCorpus->isEnabled());
    EXPECT_TRUE(d.ui.chkCorpus->isChecked());  // no document open
    d.ui.btnClear->click();
    d.ui.pnlOrtho.setIndex(kSpellingUpper);
    d.ui.edWord->setText(QStringLiteral("chat"));
  });
  EXPECT_EQ(messages, (std::vector<std::string>{"Fichier non trouvé :\n" + program_.file("absent.txt")}));
  EXPECT_EQ(hourglass, (std::vector<bool>{true}));
  EXPECT_EQ(rows(w), (std::vector<std::string>{"1|CHAT|deux.txt", "1|CHAT|un.txt", "1|CHATS|deux.txt"}));
  EXPECT_EQ(results(w).targets()[0].document.str(), "deux.txt | " + program_.path());
  EXPECT_TRUE(panes(w).currentDocument().path.empty());  // nothing stays open
  EXPECT_EQ(panes(w).resultPane(), nullptr);
  EXPECT_TRUE(enabled(w, "btnFind"));
}

}  // namespace
}  // namespace lirno
