// The word list in a main window: TfrmWord's states, enabling and filter
// lines, the command over a document and over a corpus, word-list mode in
// the grid, its report compared with lirno-batch's, and a word-list result
// opened in another window.
#include "lexicon/ui/word_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "lexicon/ui/word_list_controller.h"
#include "platform/ui/qt_text.h"
#include "results/ui/export_controller.h"
#include "results/ui/result_dialog.h"
#include "support/batch_runner.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

class WordListTest : public testing::WorkbenchTest {
 protected:
  TfrmWord& dialog() { return *qobject_cast<TfrmWord*>(workbench().dialogs().frmWord); }

  // "Liste des mots" with the dialog set up by `setUp`, then OK (or Annuler).
  bool wordList(TfrmMain& w, const std::function<void(TfrmWord&)>& setUp, bool ok = true) {
    dialog().setRunner([&](TfrmWord& d) {
      setUp(d);
      (ok ? d.ui.OKBtn : d.ui.CancelBtn)->click();
      return d.result();
    });
    return w.controller<WordListController>()->wordListCommand();
  }
  static void spelling(TfrmWord& d, int s) { d.ui.resultSpellings->button(s)->setChecked(true); }

  static Strings rows(TfrmMain& w) {
    Strings out;
    for (const auto& t : results(w).targets().records()) {
      out.push_back(std::to_string(t->occurrences.size()) + "|" + t->text.str() + "|" +
                    std::string(fileNameOfLabelFor(t->document.str())));
    }
    return out;
  }
  static std::string fileNameOfLabelFor(const std::string& label) { return label.substr(0, label.find(" | ")); }
  static std::string status(TfrmMain& w) { return toUtf8(w.ui.lblStatus->text()); }

  const std::string bin_ = LIRNO_PROGRAM_FOLDER;
};

TEST_F(WordListTest, DialogStartsAsTheFormAndKeepsItsStates) {
  TfrmMain& w = start();
  TfrmWord& d = dialog();
  EXPECT_EQ(d.windowTitle(), QStringLiteral("Liste des mots"));
  EXPECT_EQ(d.resultSpelling(), kResultReduced);
  EXPECT_FALSE(d.ui.chkResSep->isChecked());
  EXPECT_FALSE(d.ui.chkResSep->isEnabled());
  spelling(d, kResultSame);
  EXPECT_TRUE(d.ui.chkResSep->isEnabled());
  spelling(d, kResultUpper);
  EXPECT_TRUE(d.ui.chkResSep->isEnabled());
  spelling(d, kResultReduced);
  EXPECT_FALSE(d.ui.chkResSep->isEnabled());

  ASSERT_EQ(d.ui.lstFilter->count(), 2);
  EXPECT_EQ(d.ui.lstFilter->item(0)->text(), QStringLiteral("P:Pluriels"));
  EXPECT_EQ(d.ui.lstFilter->item(1)->text(), QStringLiteral("C:Initiale C"));
  EXPECT_EQ(d.ui.lstFilter->item(0)->checkState(), Qt::Unchecked);

  open(w, writeDocument("a.txt", "le chat, le chien.\n"));
  ASSERT_TRUE(wordList(w, [](TfrmWord& d) {
    spelling(d, kResultSame);
    d.ui.chkResSep->setChecked(true);
    d.ui.chkRightSort->setChecked(true);
    d.ui.lstFilter->item(1)->setCheckState(Qt::Checked);
  }));
  bool kept = false;
  wordList(
      w,
      [&](TfrmWord& d) {
        kept = d.resultSpelling() == kResultSame && d.ui.chkResSep->isChecked() &&
               d.ui.chkRightSort->isChecked() && d.ui.lstFilter->item(1)->checkState() == Qt::Checked;
      },
      false);
  EXPECT_TRUE(kept);

  // Another rules file: its filters, none ticked.
  workbench().rules().filters = {"X:Autre=A$"};
  emit workbench().rulesChanged();
  ASSERT_EQ(d.ui.lstFilter->count(), 1);
  EXPECT_EQ(d.ui.lstFilter->item(0)->text(), QStringLiteral("X:Autre"));
}

TEST_F(WordListTest, EveryWordOfTheDocumentBecomesATargetInWordListMode) {
  TfrmMain& w = start();
  open(w, writeDocument("a.txt", "le chat, le chien.\nLe "));
  ASSERT_TRUE(enabled(w, "btnWord"));
  ASSERT_TRUE(wordList(w, [](TfrmWord& d) { spelling(d, kResultSame); }));
  EXPECT_EQ(rows(w), (Strings{"1|Le|", "1|chat|", "1|chien|", "2|le|"}));
  EXPECT_EQ(status(w), "Mots : 4  Occurrences : 5");
  EXPECT_TRUE(results(w).wordListMode());
  EXPECT_EQ(panes(w).resultPane(), panes(w).currentPane());
  EXPECT_TRUE(redRanges(w).empty());

  // Selecting a word colours its occurrences alone.
  results(w).setCurrentRow(4);
  EXPECT_EQ(redRanges(w), (std::vector<std::pair<int, int>>{{0, 2}, {9, 2}}));
  results(w).setCurrentRow(2);
  EXPECT_EQ(redRanges(w), (std::vector<std::pair<int, int>>{{3, 4}}));

  ASSERT_TRUE(wordList(w, [](TfrmWord& d) { spelling(d, kResultUpper); }));
  EXPECT_EQ(rows(w), (Strings{"1|CHAT|", "1|CHIEN|", "3|LE|"}));
  EXPECT_TRUE(redRanges(w).empty());

  // A search ends word-list mode.
  searchWord(w, "chat");
  EXPECT_FALSE(results(w).wordListMode());
}

TEST_F(WordListTest, FiltersCountOnlyTheWordsThatPassAndCancelChangesNothing) {
  TfrmMain& w = start();
  open(w, writeDocument("a.txt", "les chats et le chien.\n"));
  ASSERT_TRUE(wordList(w, [](TfrmWord& d) {
    spelling(d, kResultUpper);
    d.ui.lstFilter->item(0)->setCheckState(Qt::Checked);  // P:Pluriels
  }));
  EXPECT_EQ(rows(w), (Strings{"1|CHATS|", "1|LES|"}));
  EXPECT_EQ(searcher(w).request().filterDescription, "P:Pluriels");
  const std::size_t patterns = searcher(w).request().filters.size();

  EXPECT_FALSE(wordList(w, [](TfrmWord& d) { d.ui.lstFilter->item(0)->setCheckState(Qt::Unchecked); }, false));
  EXPECT_EQ(searcher(w).request().filterDescription, "P:Pluriels");
  EXPECT_EQ(searcher(w).request().filters.size(), patterns);
  EXPECT_EQ(rows(w), (Strings{"1|CHATS|", "1|LES|"}));

  ASSERT_TRUE(wordList(w, [](TfrmWord&) {}));
  EXPECT_EQ(rows(w).size(), 5u);
  EXPECT_EQ(searcher(w).request().filterDescription, "");
}

TEST_F(WordListTest, CorpusWordListGivesOneTargetPerDocument) {
  TfrmMain& w = start();
  const Strings corpus = {writeDocument("un.txt", "un chat.\n"), writeDocument("deux.txt", "deux chats, un chat.\n")};
  searcher(w).setCorpusSource([&] { return &corpus; });
  w.setCommandsEnabled({"btnWord", "mnuWord"}, true);
  bool offered = false, ticked = false;
  ASSERT_TRUE(wordList(w, [&](TfrmWord& d) {
    offered = d.ui.chkCorpus->isEnabled();
    ticked = d.ui.chkCorpus->isChecked();  // no document open
    spelling(d, kResultUpper);
  }));
  EXPECT_TRUE(offered);
  EXPECT_TRUE(ticked);
  EXPECT_EQ(rows(w), (Strings{"1|CHAT|deux.txt", "1|CHAT|un.txt", "1|CHATS|deux.txt", "1|DEUX|deux.txt",
                              "1|UN|deux.txt", "1|UN|un.txt"}));
  EXPECT_TRUE(searcher(w).request().useCorpus);
  EXPECT_TRUE(panes(w).currentDocument().path.empty());
  EXPECT_TRUE(enabled(w, "btnWord"));
  EXPECT_TRUE(enabled(w, "btnFind"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WordListTest, AWordListResultOpensInAnotherWindowWithItsWords) {
  TfrmMain& w = start();
  const Strings corpus = {writeDocument("un.txt", "un chat.\n"), writeDocument("deux.txt", "deux chats, un chat.\n")};
  searcher(w).setCorpusSource([&] { return &corpus; });
  w.setCommandsEnabled({"btnWord", "mnuWord"}, true);
  ASSERT_TRUE(wordList(w, [&](TfrmWord& d) { spelling(d, kResultUpper); }));
  results(w).setCurrentRow(2);  // CHAT of un.txt
  w.button("btnGrdOpenNew")->click();
  ASSERT_EQ(workbench().windows().size(), 2u);
  TfrmMain& other = *workbench().windows()[1];
  EXPECT_TRUE(results(other).wordListMode());
  EXPECT_EQ(rows(other), (Strings{"1|CHAT|", "1|UN|"}));
  EXPECT_EQ(status(other), "Mots : 2  Occurrences : 2");
}

// --- Reports --------------------------------------------------------------------

class WordListReportTest : public WordListTest {
 protected:
  std::string save(TfrmMain& w, int extracts, bool detailed) {
    const std::string out = program_.file("report.txt");
    auto& d = *qobject_cast<TfrmResult*>(workbench().dialogs().frmResult);
    d.setRunner([&](TfrmResult& r) {
      r.ui.edFile->setText(fromUtf8(out));
      r.ui.chkApend->setChecked(false);
      r.ui.extractKinds->button(extracts)->setChecked(true);
      r.ui.extractModes->button(detailed ? 1 : 0)->setChecked(true);
      r.ui.OKBtn->click();
      return r.result();
    });
    EXPECT_TRUE(w.controller<ExportController>()->saveResults());
    return program_.read("report.txt");
  }
};

TEST_F(WordListReportTest, ADocumentsWordListReportIsTheBatchReport) {
  const std::string doc = writeDocument("a.txt", "le chat, le chien. Un chat !\nLes chats dorment.\n");
  TfrmMain& w = start("-F " + doc);
  ASSERT_TRUE(wordList(w, [](TfrmWord& d) {
    spelling(d, kResultUpper);
    d.ui.chkResSep->setChecked(true);
    d.ui.chkCorpus->setChecked(false);
    d.ui.chkRightSort->setChecked(false);
    for (int i = 0; i < d.ui.lstFilter->count(); ++i) d.ui.lstFilter->item(i)->setCheckState(Qt::Unchecked);
  }));
  // The window's request keeps the search dialog's defaults (ignore
  // separators, all strings); the command line says them with -P and -A.
  for (const bool detailed : {false, true}) {
    const std::string mine = save(w, 1, detailed);
    std::vector<std::string> args = {"-R", program_.file("nac.rul"), "-P", "-A", "-F", doc, "-W1", "-Y", "--words", "--extracts", "1"};
    if (detailed) args.push_back("--detailed");
    const testing::BatchRun batch = testing::runBatch(bin_, args);
    ASSERT_EQ(batch.exitCode, 0);
    EXPECT_EQ(mine, batch.out) << detailed;
  }
}

TEST_F(WordListReportTest, TheSampleCorpusWordListReportIsTheBatchReport) {
  std::filesystem::copy_file(bin_ + "nac.rul", program_.file("nac.rul"),
                             std::filesystem::copy_options::overwrite_existing);
  TfrmMain& w = start("-C " + bin_ + "sample.cor");
  ASSERT_TRUE(wordList(w, [](TfrmWord& d) {
    spelling(d, kResultReduced);
    d.ui.chkRightSort->setChecked(false);
    for (int i = 0; i < d.ui.lstFilter->count(); ++i) d.ui.lstFilter->item(i)->setCheckState(Qt::Unchecked);
  }));
  ASSERT_GT(results(w).targets().size(), 100u);
  for (const bool detailed : {false, true}) {
    const std::string mine = save(w, 2, detailed);
    std::vector<std::string> args = {"-C", bin_ + "sample.cor", "-P", "-A", "-W2", "--words", "--extracts", "2"};
    if (detailed) args.push_back("--detailed");
    const testing::BatchRun batch = testing::runBatch(bin_, args);
    ASSERT_EQ(batch.exitCode, 0);
    EXPECT_EQ(mine.size(), batch.out.size()) << detailed;
    EXPECT_TRUE(mine == batch.out) << detailed;
  }
  EXPECT_TRUE(messages.empty());
}

}  // namespace
}  // namespace lirno
