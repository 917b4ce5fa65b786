// Work over a corpus in a main window: progress shown with the document's
// number and name, "Annuler" between two documents (search, word list,
// export), an interrupted result that says so, and documents that cannot
// be read reported together at the end.
#include "documents/ui/corpus_work.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "lexicon/ui/word_dialog.h"
#include "lexicon/ui/word_list_controller.h"
#include "platform/ui/qt_text.h"
#include "results/ui/export_controller.h"
#include "results/ui/result_dialog.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

class CorpusWorkTest : public testing::WorkbenchTest {
 protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    for (int k = 1; k <= 4; ++k) {
      corpus_.push_back(writeDocument("doc" + std::to_string(k) + ".txt", "un chat numero " + std::to_string(k) + ".\n"));
    }
    CorpusWork::setShowDelay(0);
  }
  void TearDown() override {
    CorpusWork::setShowDelay(300);
    CorpusWork::setObserver({});
    WorkbenchTest::TearDown();
  }
  TfrmMain& startWithCorpus() {
    TfrmMain& w = start();
    searcher(w).setCorpusSource([this] { return &corpus_; });
    w.setCommandsEnabled({"btnFind", "mnuFind", "btnWord", "mnuWord"}, true);
    return w;
  }
  // "Annuler" pressed in the progress window before document `at`.
  void cancelAt(std::size_t at) {
    CorpusWork::setObserver([this, at](CorpusWork& work, std::size_t k) {
      QProgressDialog* p = work.progressWindow();
      ASSERT_NE(p, nullptr);
      labels.push_back(toUtf8(p->labelText()));
      if (k == at) p->findChild<QPushButton*>()->click();
    });
  }
  static std::string status(TfrmMain& w) { return toUtf8(w.ui.lblStatus->text()); }
  static Strings documents(TfrmMain& w) {
    Strings out;
    for (const auto& t : results(w).targets().records()) out.push_back(t->document.str().substr(0, 8));
    return out;
  }

  Strings corpus_;
  Strings labels;
};

TEST_F(CorpusWorkTest, CancellingASearchKeepsWhatWasFoundAndSaysItWasInterrupted) {
  TfrmMain& w = startWithCorpus();
  cancelAt(2);
  searchWord(w, "chat", kSpellingUpper);
  EXPECT_EQ(documents(w), (Strings{"doc1.txt", "doc2.txt"}));
  EXPECT_EQ(status(w), "\"CHAT\"  Mots : 2  Occurrences : 2  Interrompu après 2 documents sur 4");
  ASSERT_EQ(labels.size(), 3u);
  EXPECT_EQ(labels[0], "Document 1 sur 4 :\ndoc1.txt");
  // Brought up to date at most every 100 ms: these steps are quicker.
  EXPECT_EQ(labels[2].rfind("Document ", 0), 0u);
  EXPECT_TRUE(panes(w).currentDocument().path.empty());
  EXPECT_TRUE(messages.empty());

  // The report names the documents searched only.
  auto& d = *qobject_cast<TfrmResult*>(workbench().dialogs().frmResult);
  const std::string out = program_.file("report.txt");
  d.setRunner([&](TfrmResult& r) {
    r.ui.edFile->setText(fromUtf8(out));
    r.accept();
    return r.result();
  });
  CorpusWork::setObserver({});
  ASSERT_TRUE(w.controller<ExportController>()->saveResults());
  EXPECT_EQ(program_.read("report.txt").rfind("DOCUMENT: doc1.txt, doc2.txt\r\n", 0), 0u);

  // A search that runs to the end names them all again.
  searchWord(w, "chat", kSpellingUpper);
  EXPECT_EQ(status(w), "\"CHAT\"  Mots : 4  Occurrences : 4");
  ASSERT_TRUE(w.controller<ExportController>()->saveResults());
  EXPECT_EQ(program_.read("report.txt").rfind("DOCUMENT: doc1.txt, doc2.txt, doc3.txt, doc4.txt\r\n", 0), 0u);
}

TEST_F(CorpusWorkTest, CancellingAWordListStopsBetweenTwoDocuments) {
  TfrmMain& w = startWithCorpus();
  cancelAt(1);
  auto& d = *qobject_cast<TfrmWord*>(workbench().dialogs().frmWord);
  d.setRunner([](TfrmWord& dialog) {
    dialog.accept();
    return dialog.result();
  });
  ASSERT_TRUE(w.controller<WordListController>()->wordListCommand());
  EXPECT_EQ(documents(w), (Strings{"doc1.txt", "doc1.txt", "doc1.txt", "doc1.txt"}));
  EXPECT_EQ(status(w), "Mots : 4  Occurrences : 4  Interrompu après 1 documents sur 4");
}

TEST_F(CorpusWorkTest, ACancelledExportWritesNothing) {
  TfrmMain& w = startWithCorpus();
  searchWord(w, "chat", kSpellingUpper);
  ASSERT_EQ(results(w).targets().size(), 4u);
  program_.write("report.txt", "previous\r\n");
  auto& d = *qobject_cast<TfrmResult*>(workbench().dialogs().frmResult);
  d.setRunner([&](TfrmResult& r) {
    r.ui.edFile->setText(fromUtf8(program_.file("report.txt")));
    r.ui.extractKinds->button(2)->setChecked(true);
    r.accept();
    return r.result();
  });
  cancelAt(1);
  EXPECT_FALSE(w.controller<ExportController>()->saveResults());
  EXPECT_EQ(program_.read("report.txt"), "previous\r\n");
  EXPECT_EQ(labels.size(), 2u);  // one step per document read
  EXPECT_EQ(results(w).targets().size(), 4u);
}

TEST_F(CorpusWorkTest, MissingDocumentsAreReportedInOneMessageAtTheEnd) {
  corpus_.insert(corpus_.begin() + 1, program_.file("absent1.txt"));
  corpus_.push_back(program_.file("absent2.txt"));
  program_.write("scan.pdf", "%PDF-1.4\n");
  corpus_.push_back(program_.file("scan.pdf"));
  TfrmMain& w = startWithCorpus();
  std::size_t rowsWhenReported = 0;
  setMessageHandler([&](const MessageRequest& m) {
    messages.push_back(m.text);
    rowsWhenReported = results(w).targets().size();
    return MessageAnswer::Ok;
  });
  searchWord(w, "chat", kSpellingUpper);
  // Each with its reason when it is not simply missing.
  EXPECT_EQ(messages, (Strings{"Fichiers non trouvés : 3\n" + program_.file("absent1.txt") + "\n" +
                               program_.file("absent2.txt") + "\n" + program_.file("scan.pdf") +
                               " (Ce document n'est ni du texte enrichi (RTF) ni du texte brut. Enregistrez-le en "
                               "texte enrichi ou en texte brut pour l'ouvrir)"}));
  EXPECT_EQ(rowsWhenReported, 4u);  // after the work, its results shown
  EXPECT_EQ(status(w), "\"CHAT\"  Mots : 4  Occurrences : 4");
}

TEST_F(CorpusWorkTest, ShortWorkShowsNoProgress) {
  CorpusWork::setShowDelay(60000);
  TfrmMain& w = startWithCorpus();
  bool shown = false;
  CorpusWork::setObserver([&](CorpusWork& work, std::size_t) { shown = shown || work.progressWindow(); });
  searchWord(w, "chat", kSpellingUpper);
  EXPECT_FALSE(shown);
  EXPECT_EQ(results(w).targets().size(), 4u);
}

}  // namespace
}  // namespace lirno
