// The "&Thesaurus" and "&Corpus" menus of the main window: levels and mark,
// the questions on Close, failed reads and writes, the files of the command
// line, the corpus shared by the windows and searched, and the thesaurus
// handed to the search dialog.
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <filesystem>

#include "lexicon/ui/corpus_controller.h"
#include "lexicon/ui/corpus_dialog.h"
#include "lexicon/ui/lexicon_files.h"
#include "lexicon/ui/menu_mark.h"
#include "lexicon/ui/thesaurus_controller.h"
#include "lexicon/ui/thesaurus_dialog.h"
#include "platform/ui/qt_text.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

class LexiconTest : public testing::WorkbenchTest {
 protected:
  void SetUp() override {
    WorkbenchTest::SetUp();
    setMessageHandler([this](const MessageRequest& m) {
      asked.push_back(m);
      messages.push_back(m.text);
      if (m.kind != MessageKind::Question) return MessageAnswer::Ok;
      if (answers.empty()) {
        ADD_FAILURE() << "unexpected question " << m.text;
        return MessageAnswer::Cancel;
      }
      const MessageAnswer a = answers.front();
      answers.pop_front();
      return a;
    });
    setLexiconFileChooser([this](QWidget*, const FileQuestion& q) {
      fileQuestions.push_back(q);
      if (files.empty()) return Strings();
      Strings f = files.front();
      files.pop_front();
      return f;
    });
  }
  void TearDown() override {
    setLexiconFileChooser({});
    WorkbenchTest::TearDown();
  }

  TfrmThesaurus& thesaurusDialog() { return *qobject_cast<TfrmThesaurus*>(workbench().dialogs().frmThesaurus); }
  TfrmCorpus& corpusDialog() { return *qobject_cast<TfrmCorpus*>(workbench().dialogs().frmCorpus); }

  // The thesaurus editor: adds `words` and leaves with `button`.
  void editThesaurusWith(Strings words, QPushButton* ThesaurusControls::*button = &ThesaurusControls::OKBtn) {
    thesaurusDialog().setRunner([this, words, button](TfrmThesaurus& d) {
      ++editorRuns;
      d.show();
      for (const std::string& w : words) {
        d.ui.edWord->clear();
        QTest::keyClicks(d.ui.edWord, fromUtf8(w));
        EXPECT_TRUE(d.ui.btnAdd->isEnabled()) << w;
        d.ui.btnAdd->click();
      }
      (d.ui.*button)->click();
      return d.result();
    });
  }
  // The corpus editor: "&Ajouter" with `chosen` when not empty, then `button`.
  void editCorpusWith(Strings chosen, QPushButton* CorpusControls::*button = &CorpusControls::OKBtn) {
    corpusDialog().setRunner([this, chosen, button](TfrmCorpus& d) {
      ++editorRuns;
      d.show();
      if (!chosen.empty()) {
        files.push_back(chosen);
        d.ui.btnAdd->click();
      }
      (d.ui.*button)->click();
      return d.result();
    });
  }

  static void trigger(TfrmMain& w, const char* name) {
    QAction* a = w.action(name);
    ASSERT_NE(a, nullptr) << name;
    ASSERT_TRUE(a->isEnabled()) << name;
    a->trigger();
  }
  static bool marked(TfrmMain& w, const char* menu) { return !w.menu(menu)->menuAction()->icon().isNull(); }
  // The enabled items of a menu among Modifier, Enregistrer, Enregistrer sous, Fermer.
  static std::string items(TfrmMain& w, char prefix) {
    std::string out;
    for (const char* item : {"Edit", "Save", "SaveAs", "Close"}) {
      const std::string name = std::string("mnu") + prefix + item;
      if (w.action(name)->isEnabled()) out += (out.empty() ? "" : " ") + std::string(item);
    }
    return out;
  }
  static ListResource& thesaurus(TfrmMain& w) { return w.controller<ThesaurusController>()->thesaurus(); }
  static ListResource& corpus(TfrmMain& w) { return w.controller<CorpusController>()->corpus(); }
  static bool searchEnabled(TfrmMain& w) {
    const bool on = enabled(w, "btnFind");
    for (const char* c : {"mnuFind", "btnWord", "mnuWord"}) EXPECT_EQ(enabled(w, c), on) << c;
    return on;
  }

  std::vector<MessageRequest> asked;
  std::deque<MessageAnswer> answers;
  std::deque<Strings> files;
  std::vector<FileQuestion> fileQuestions;
  int editorRuns = 0;
};

const char kThesaurusQuestion[] = "Le thesaurus a changé. Voulez-vous l'enregistrer ?";
const char kCorpusQuestion[] = "Le corpus a changé. Voulez-vous l'enregistrer ?";

// --- Thesaurus -----------------------------------------------------------------

TEST_F(LexiconTest, TheMenuMarkLeavesTheMenuBarItsHeight) {
  TfrmMain& w = start();
  w.show();
  QCoreApplication::processEvents();
  QMenuBar* bar = w.menuBar();
  const int before = bar->sizeHint().height();
  const int top = w.ui.pnlTop->mapTo(&w, QPoint(0, 0)).y();
  showMenuMark(w, "mnuThesaurus", true);
  showMenuMark(w, "mnuCorpus", true);
  QCoreApplication::processEvents();
  ASSERT_TRUE(marked(w, "mnuThesaurus"));
  EXPECT_EQ(bar->sizeHint().height(), before);  // it grew by 2 pixels
  EXPECT_EQ(w.ui.pnlTop->mapTo(&w, QPoint(0, 0)).y(), top);
  // The caption still fits beside the mark.
  const QRect item = bar->actionGeometry(w.menu("mnuThesaurus")->menuAction());
  EXPECT_GE(item.width(), bar->fontMetrics().horizontalAdvance(QStringLiteral("Thesaurus")) + 12);
}

TEST_F(LexiconTest, NewThesaurusIsSavedSortedAndLevelsFollowTheEdits) {
  TfrmMain& w = start();
  EXPECT_EQ(items(w, 'T'), "");
  EXPECT_FALSE(marked(w, "mnuThesaurus"));

  editThesaurusWith({"ours", "Loup"});
  trigger(w, "mnuTNew");
  // Accepted after New: open, yet only "Enregistrer sous" saves it.
  EXPECT_EQ(items(w, 'T'), "Edit SaveAs Close");
  EXPECT_TRUE(marked(w, "mnuThesaurus"));
  EXPECT_TRUE(thesaurus(w).changed());

  files.push_back({program_.file("t.the")});
  trigger(w, "mnuTSaveAs");
  EXPECT_EQ(program_.read("t.the"), "Loup\r\nours\r\n");
  ASSERT_EQ(fileQuestions.size(), 1u);
  EXPECT_TRUE(fileQuestions[0].save);
  EXPECT_EQ(fileQuestions[0].defaultSuffix, "the");
  EXPECT_EQ(fileQuestions[0].fileName, "");
  EXPECT_FALSE(thesaurus(w).changed());

  // OK without a change: nothing marked, the list as it was.
  editThesaurusWith({});
  trigger(w, "mnuTEdit");
  EXPECT_FALSE(thesaurus(w).changed());
  EXPECT_EQ(items(w, 'T'), "Edit SaveAs Close");
  EXPECT_EQ(thesaurus(w).entries(), (Strings{"Loup", "ours"}));

  editThesaurusWith({"cerf"});
  trigger(w, "mnuTEdit");
  EXPECT_EQ(items(w, 'T'), "Edit Save SaveAs Close");
  // "Sau&ver" in the editor saves under the current name at once.
  editThesaurusWith({"daim"}, &ThesaurusControls::btnSave);
  files.push_back({program_.file("t.the")});
  trigger(w, "mnuTEdit");
  EXPECT_EQ(fileQuestions.back().fileName, program_.file("t.the"));
  EXPECT_EQ(program_.read("t.the"), "cerf\r\ndaim\r\nLoup\r\nours\r\n");
  EXPECT_EQ(items(w, 'T'), "Edit SaveAs Close");
  EXPECT_TRUE(asked.empty());
}

TEST_F(LexiconTest, ClosingAChangedThesaurusAsksFirst) {
  program_.write("t.the", "chat\r\n\r\nchien");
  TfrmMain& w = start("-T " + program_.file("t.the"));
  EXPECT_EQ(thesaurus(w).entries(), (Strings{"chat", "", "chien"}));
  EXPECT_EQ(items(w, 'T'), "Edit SaveAs Close");
  EXPECT_TRUE(workbench().commandLine().thesaurusFile.empty());
  editThesaurusWith({"loup"});
  trigger(w, "mnuTEdit");
  const Strings edited = thesaurus(w).entries();
  EXPECT_EQ(edited, (Strings{"", "chat", "chien", "loup"}));

  answers = {MessageAnswer::Cancel};
  trigger(w, "mnuTClose");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].text, kThesaurusQuestion);
  EXPECT_EQ(asked[0].caption, "Thesaurus");
  EXPECT_EQ(asked[0].kind, MessageKind::Question);
  EXPECT_TRUE(thesaurus(w).isOpen());
  EXPECT_EQ(thesaurus(w).entries(), edited);

  answers = {MessageAnswer::Yes};  // and the save dialog cancelled
  trigger(w, "mnuTClose");
  EXPECT_TRUE(thesaurus(w).isOpen());
  EXPECT_EQ(items(w, 'T'), "Edit Save SaveAs Close");

  answers = {MessageAnswer::No};
  trigger(w, "mnuTClose");
  EXPECT_FALSE(thesaurus(w).isOpen());
  EXPECT_EQ(items(w, 'T'), "");
  EXPECT_FALSE(marked(w, "mnuThesaurus"));
  EXPECT_EQ(program_.read("t.the"), "chat\r\n\r\nchien");

  // The discarded changes are not asked about again by the next Close.
  asked.clear();
  trigger(w, "mnuTOpen");  // the open dialog cancelled
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(thesaurus(w).isOpen());
  EXPECT_EQ(editorRuns, 1);
}

TEST_F(LexiconTest, AnUnreadableOrUnwritableThesaurusIsReported) {
  TfrmMain& w = start();
  editThesaurusWith({});
  files.push_back({program_.file("absent.the")});
  trigger(w, "mnuTOpen");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Impossible de lire le fichier :\n" + program_.file("absent.the"), 0), 0u);
  EXPECT_FALSE(thesaurus(w).isOpen());
  EXPECT_EQ(editorRuns, 0);

  program_.write("t.the", "a\r\n");
  files.push_back({program_.file("t.the")});
  editThesaurusWith({"b"});
  trigger(w, "mnuTOpen");
  EXPECT_EQ(editorRuns, 1);
  EXPECT_EQ(fileQuestions.back().folder, program_.path());
  program_.blockWrites("t.the");
  files.push_back({program_.file("t.the")});
  trigger(w, "mnuTSave");
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].rfind("Impossible d'enregistrer le fichier :\n" + program_.file("t.the"), 0), 0u);
  EXPECT_TRUE(thesaurus(w).changed());
  EXPECT_EQ(items(w, 'T'), "Edit Save SaveAs Close");
  EXPECT_EQ(program_.read("t.the"), "a\r\n");
}

TEST_F(LexiconTest, TheSearchDialogTakesTheOpenThesaurus) {
  program_.write("t.the", " chat \r\nchien\r\n");
  TfrmMain& w = start("-T " + program_.file("t.the"));
  open(w, writeDocument("doc.txt", "un chat, un chien.\n"));
  search(w, [](TfrmFind& d) {
    ASSERT_TRUE(d.ui.btnThesaurus->isEnabled());
    d.ui.btnThesaurus->click();
    ASSERT_EQ(d.ui.lstWord->count(), 2);
    EXPECT_EQ(d.ui.lstWord->item(0)->text(), QStringLiteral("chat"));
  });
  EXPECT_EQ(results(w).targets().size(), 2u);

  trigger(w, "mnuTClose");
  w.button("btnFind")->click();
  EXPECT_FALSE(findDialog().ui.btnThesaurus->isEnabled());
  findDialog().reject();
}

// --- Corpus ------------------------------------------------------------------

TEST_F(LexiconTest, SearchAndWordListNeedADocumentOrTheCorpus) {
  program_.write("c.cor", writeDocument("un.txt", "un chat.\n") + "\r\n");
  TfrmMain& w = start();
  EXPECT_FALSE(searchEnabled(w));
  EXPECT_EQ(items(w, 'C'), "");

  files.push_back({program_.file("c.cor")});
  editCorpusWith({}, &CorpusControls::CancelBtn);
  trigger(w, "mnuCOpen");
  EXPECT_EQ(editorRuns, 1);
  EXPECT_TRUE(searchEnabled(w));
  EXPECT_TRUE(marked(w, "mnuCorpus"));
  EXPECT_EQ(items(w, 'C'), "Edit SaveAs Close");
  EXPECT_EQ(fileQuestions[0].defaultSuffix, "cor");

  // Opening and closing a document leaves them to the corpus.
  open(w, writeDocument("deux.txt", "deux chats.\n"));
  panes(w).closeAllDocuments();
  EXPECT_TRUE(searchEnabled(w));

  trigger(w, "mnuCClose");
  EXPECT_FALSE(searchEnabled(w));
  EXPECT_FALSE(marked(w, "mnuCorpus"));
  EXPECT_EQ(items(w, 'C'), "");
}

TEST_F(LexiconTest, OpenWithTheDialogCancelledStillShowsTheEditor) {
  const std::string un = writeDocument("un.txt", "un chat.\n");
  program_.write("c.cor", un + "\r\n");
  TfrmMain& w = start("-C " + program_.file("c.cor"));
  EXPECT_TRUE(corpus(w).isOpen());
  EXPECT_TRUE(workbench().commandLine().corpusFile.empty());
  workbench().shellSettings().documentPath = "/documents/";

  Strings shown;
  corpusDialog().setRunner([&](TfrmCorpus& d) {
    shown = d.entries();
    EXPECT_EQ(d.documentFolder(), "/documents/");
    files.push_back({un, program_.file("deux.txt")});
    d.ui.btnAdd->click();
    d.ui.OKBtn->click();
    return d.result();
  });
  trigger(w, "mnuCOpen");  // the open dialog cancelled
  EXPECT_TRUE(shown.empty());  // the previous corpus closed
  // What the editor built is the open corpus, as after "&Nouveau".
  EXPECT_TRUE(corpus(w).isOpen());
  EXPECT_TRUE(marked(w, "mnuCorpus"));
  EXPECT_EQ(items(w, 'C'), "Edit Save SaveAs Close");
  EXPECT_TRUE(searchEnabled(w));

  files.push_back({program_.file("new.cor")});
  trigger(w, "mnuCSave");
  EXPECT_EQ(program_.read("new.cor"), program_.file("deux.txt") + "\r\n" + un + "\r\n");
  EXPECT_EQ(items(w, 'C'), "Edit SaveAs Close");
}

TEST_F(LexiconTest, CloseDocumentsClosesTheThesaurusThenTheCorpus) {
  TfrmMain& w = start();
  editThesaurusWith({"chat"});
  trigger(w, "mnuTNew");
  editCorpusWith({writeDocument("un.txt", "un chat.\n")});
  trigger(w, "mnuCNew");
  ASSERT_TRUE(corpus(w).changed());

  answers = {MessageAnswer::No, MessageAnswer::Cancel};
  w.button("btnClose")->click();
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked[0].text, kThesaurusQuestion);
  EXPECT_EQ(asked[1].text, kCorpusQuestion);
  EXPECT_EQ(asked[1].caption, "Corpus");
  EXPECT_FALSE(thesaurus(w).isOpen());
  EXPECT_TRUE(corpus(w).isOpen());  // its question was cancelled
  EXPECT_TRUE(searchEnabled(w));

  answers = {MessageAnswer::No};
  w.button("btnClose")->click();
  EXPECT_FALSE(corpus(w).isOpen());
  EXPECT_FALSE(searchEnabled(w));
}

TEST_F(LexiconTest, EveryWindowSharesTheCorpusButHasItsOwnThesaurus) {
  program_.write("c.cor", writeDocument("un.txt", "un chat.\n") + "\r\n");
  program_.write("t.the", "chat\r\n");
  TfrmMain& first = start("-C " + program_.file("c.cor") + " -T " + program_.file("t.the"));
  TfrmMain& second = *workbench().createMainWindow();
  EXPECT_TRUE(marked(second, "mnuCorpus"));
  EXPECT_EQ(items(second, 'C'), "Edit SaveAs Close");
  EXPECT_TRUE(searchEnabled(second));
  EXPECT_TRUE(searcher(second).corpusLoaded());
  EXPECT_FALSE(thesaurus(second).isOpen());
  EXPECT_FALSE(marked(second, "mnuThesaurus"));

  // An edit in one window shows in both.
  editCorpusWith({program_.file("deux.txt")});
  trigger(second, "mnuCEdit");
  EXPECT_EQ(items(first, 'C'), "Edit Save SaveAs Close");
  EXPECT_EQ(corpus(first).entries().size(), 2u);

  answers = {MessageAnswer::No};
  trigger(second, "mnuCClose");
  EXPECT_FALSE(marked(first, "mnuCorpus"));
  EXPECT_FALSE(searchEnabled(first));
  EXPECT_TRUE(thesaurus(first).isOpen());
  second.close();
}

TEST_F(LexiconTest, AnUnreadableCorpusOfTheCommandLineIsReportedAndNotOpen) {
  TfrmMain& w = start("-C " + program_.file("absent.cor"));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("Impossible de lire le fichier :\n" + program_.file("absent.cor"), 0), 0u);
  EXPECT_FALSE(corpus(w).isOpen());
  EXPECT_EQ(items(w, 'C'), "");
  EXPECT_FALSE(searchEnabled(w));
}

// The sample corpus of the program folder, searched from the command line.
class SampleCorpusTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    std::filesystem::copy_file(bin_ + "nac.rul", program_.file("nac.rul"),
                               std::filesystem::copy_options::overwrite_existing);
  }
  const std::string bin_ = LIRNO_PROGRAM_FOLDER;
};

TEST_F(SampleCorpusTest, TheCommandLineSearchRunsOverTheCorpus) {
  TfrmMain& w = start("-C " + bin_ + "sample.cor -S odo");
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(searcher(w).request().useCorpus);
  EXPECT_EQ(toUtf8(w.ui.lblStatus->text()), "\"ODO\"  Mots : 3  Occurrences : 7");
  const cTargetList& targets = results(w).targets();
  ASSERT_EQ(targets.size(), 3u);
  const std::string folder = bin_ + "sample/";
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < targets.size(); ++i) labels.push_back(targets[i].document.str());
  // ODO, ODONIS, ODORATUS: the last from another document.
  EXPECT_EQ(labels, (Strings{"vita_clerici.txt | " + folder, "vita_clerici.txt | " + folder,
                             "ms_aubert.rtf | " + folder}));
  EXPECT_TRUE(panes(w).documentPath().empty());  // a corpus search leaves no document open
  EXPECT_TRUE(searchEnabled(w));

  // "Ouvrir dans la fenêtre" on a result of another document loads it.
  results(w).setCurrentRow(3);
  ASSERT_EQ(results(w).currentTarget()->document.str(), "ms_aubert.rtf | " + folder);
  ASSERT_TRUE(enabled(w, "btnGrdOpen"));
  w.button("btnGrdOpen")->click();
  EXPECT_EQ(panes(w).documentPath(), folder + "ms_aubert.rtf");
  EXPECT_EQ(redRanges(w).size(), 1u);
  EXPECT_EQ(results(w).targets().size(), 3u);
  EXPECT_TRUE(corpus(w).isOpen());
}

}  // namespace
}  // namespace lirno
