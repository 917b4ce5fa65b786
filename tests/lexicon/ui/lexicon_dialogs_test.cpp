// TfrmThesaurus and TfrmCorpus on their own: the sorted box, the enabling
// of their buttons, duplicates, deleting, and the three results.
#include <QIcon>
#include <QLineEdit>
#include <QPixmap>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "lexicon/ui/corpus_dialog.h"
#include "lexicon/ui/lexicon_files.h"
#include "platform/ui/file_dialogs.h"
#include "lexicon/ui/thesaurus_dialog.h"
#include "platform/cp1252.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"

namespace lirno {
namespace {

using Strings = std::vector<std::string>;

// A click on the entry of `row` alone, as the user makes it.
void clickRow(QListWidget* box, int row, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  const QRect r = box->visualItemRect(box->item(row));
  QTest::mouseClick(box->viewport(), Qt::LeftButton, mods, r.center());
}

// Thesaurus lines are Windows-1252.
Strings ansi(const Strings& utf8) {
  Strings out;
  for (const std::string& s : utf8) out.push_back(utf8ToCp1252(s));
  return out;
}

class ThesaurusDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog.fill(ansi({"zèbre", "chat", "Bête", " âne"}));
    dialog.show();
  }
  // Typed key by key (QTest's own key clicks take ASCII only).
  void type(const char* text) {
    ui.edWord->clear();
    for (const QChar c : QString::fromUtf8(text)) {
      QTest::sendKeyEvent(QTest::Click, ui.edWord, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
  Strings entries() {
    Strings out;
    for (const std::string& e : dialog.entries()) out.push_back(cp1252ToUtf8(e));
    return out;
  }

  TfrmThesaurus dialog;
  ThesaurusControls& ui = dialog.ui;
};

TEST_F(ThesaurusDialogTest, TheBoxSortsWithoutRegardToCase) {
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "chat", "zèbre"}));
  for (QPushButton* b : {ui.btnAdd, ui.btnRepl, ui.btnDel, ui.btnSave}) EXPECT_FALSE(b->isEnabled());
  EXPECT_TRUE(ui.OKBtn->isDefault());
  EXPECT_EQ(ui.lstWord->selectionMode(), QAbstractItemView::ExtendedSelection);

  type("  cerf ");
  ASSERT_TRUE(ui.btnAdd->isEnabled());
  EXPECT_FALSE(ui.btnRepl->isEnabled());  // nothing selected
  ui.btnAdd->click();
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "cerf", "chat", "zèbre"}));
  EXPECT_FALSE(ui.btnAdd->isEnabled());
  EXPECT_TRUE(ui.btnSave->isEnabled());
  EXPECT_TRUE(dialog.changed());
}

TEST_F(ThesaurusDialogTest, AnEqualEntryCannotBeAddedOneDifferingInCaseCan) {
  type(" chat ");
  EXPECT_FALSE(ui.btnAdd->isEnabled());
  type("Chat");
  ASSERT_TRUE(ui.btnAdd->isEnabled());
  ui.btnAdd->click();
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "Chat", "chat", "zèbre"}));
  type("   ");
  EXPECT_FALSE(ui.btnAdd->isEnabled());
}

TEST_F(ThesaurusDialogTest, ClickingAnEntryCopiesItAndReplaceKeepsItsPlace) {
  type("loup");
  clickRow(ui.lstWord, 0);
  EXPECT_EQ(toUtf8(ui.edWord->text()), "âne");  // without its blank
  EXPECT_TRUE(ui.btnDel->isEnabled());
  EXPECT_FALSE(ui.btnAdd->isEnabled());  // "âne" differs from " âne", yet a click disables it
  EXPECT_FALSE(ui.btnRepl->isEnabled());

  clickRow(ui.lstWord, 2);
  type("ours");
  ASSERT_TRUE(ui.btnRepl->isEnabled());
  ui.btnRepl->click();
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "ours", "zèbre"}));
  EXPECT_FALSE(ui.btnRepl->isEnabled());
  EXPECT_TRUE(ui.btnSave->isEnabled());
}

TEST_F(ThesaurusDialogTest, DeletingAdjacentEntriesSelectsTheOneAfterThem) {
  clickRow(ui.lstWord, 1);
  clickRow(ui.lstWord, 2, Qt::ShiftModifier);
  ui.btnDel->click();
  EXPECT_EQ(entries(), (Strings{" âne", "zèbre"}));
  EXPECT_EQ(selectedRow(*ui.lstWord), 1);
  EXPECT_EQ(toUtf8(ui.edWord->text()), "zèbre");
  EXPECT_TRUE(ui.btnDel->isEnabled());
  EXPECT_TRUE(ui.btnSave->isEnabled());

  ui.btnDel->click();  // the last one: nothing takes its place
  EXPECT_EQ(entries(), (Strings{" âne"}));
  EXPECT_TRUE(ui.edWord->text().isEmpty());
  EXPECT_FALSE(ui.btnDel->isEnabled());
}

TEST_F(ThesaurusDialogTest, OkWithoutAChangeIsACancel) {
  ui.OKBtn->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_FALSE(dialog.isVisible());

  dialog.fill({"a"});  // shown again: nothing changed yet
  EXPECT_FALSE(dialog.changed());
  dialog.show();
  type("b");
  ui.btnAdd->click();
  ui.OKBtn->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);

  dialog.fill({"a"});
  dialog.show();
  type("b");
  ui.btnAdd->click();
  ui.btnSave->click();
  EXPECT_EQ(dialog.result(), TfrmThesaurus::Save);
}

TEST_F(ThesaurusDialogTest, EnterInTheFieldAddsTheWordOrElseActsAsOk) {
  type("cerf");
  QTest::keyClick(ui.edWord, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());  // not closed by "OK", the word not lost
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "cerf", "chat", "zèbre"}));
  EXPECT_TRUE(dialog.changed());
  // Nothing to add: Enter is the default button's.
  type("chat");
  ASSERT_FALSE(ui.btnAdd->isEnabled());
  QTest::keyClick(ui.edWord, Qt::Key_Enter);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(ThesaurusDialogTest, AnEntryWithoutAWindows1252FormIsRefusedWithAMessage) {
  std::vector<std::string> shown;
  const MessageHandler previous = setMessageHandler([&](const MessageRequest& m) {
    shown.push_back(m.text);
    return MessageAnswer::Ok;
  });
  type("łódź");
  ui.btnAdd->click();
  // Kept as "??d?" it would be searched and saved so.
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "chat", "zèbre"}));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("ł ź"), std::string::npos) << shown[0];
  EXPECT_FALSE(dialog.changed());

  clickRow(ui.lstWord, 2);  // chat
  type("chał");
  ui.btnRepl->click();
  EXPECT_EQ(entries(), (Strings{" âne", "Bête", "chat", "zèbre"}));
  EXPECT_EQ(shown.size(), 2u);
  setMessageHandler(previous);
}

class CorpusDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setLexiconFileChooser([this](QWidget*, const FileQuestion& q) {
      questions.push_back(q);
      return chosen;
    });
    dialog.fill({"/d/B.rtf", "/d/a.txt"}, "/docs/");
    dialog.show();
  }
  void TearDown() override { setLexiconFileChooser({}); }

  TfrmCorpus dialog;
  CorpusControls& ui = dialog.ui;
  Strings chosen;
  std::vector<FileQuestion> questions;
};

TEST_F(CorpusDialogTest, AddingKeepsOneEntryPerPathInAnyCase) {
  EXPECT_EQ(dialog.entries(), (Strings{"/d/a.txt", "/d/B.rtf"}));
  EXPECT_TRUE(ui.btnAdd->isEnabled());
  EXPECT_FALSE(ui.btnDel->isEnabled());
  EXPECT_FALSE(ui.btnSave->isEnabled());

  chosen = {"/d/c.txt", "/D/A.TXT", "/d/b.rtf", "/d/c.txt"};
  ui.btnAdd->click();
  EXPECT_EQ(dialog.entries(), (Strings{"/d/a.txt", "/d/B.rtf", "/d/c.txt"}));
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].multiple);
  EXPECT_FALSE(questions[0].save);
  EXPECT_EQ(questions[0].folder, "/docs/");
  EXPECT_TRUE(ui.btnSave->isEnabled());
}

TEST_F(CorpusDialogTest, AddCancelledStillCountsAsAChange) {
  ui.btnAdd->click();  // the file dialog cancelled
  EXPECT_EQ(dialog.entries().size(), 2u);
  EXPECT_TRUE(ui.btnSave->isEnabled());
  ui.OKBtn->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CorpusDialogTest, DeleteRemovesTheSelectedEntries) {
  clickRow(ui.lstWord, 0);
  EXPECT_TRUE(ui.btnDel->isEnabled());
  clickRow(ui.lstWord, 1, Qt::ControlModifier);
  ui.btnDel->click();
  EXPECT_TRUE(dialog.entries().empty());
  EXPECT_FALSE(ui.btnDel->isEnabled());
  ui.btnSave->click();
  EXPECT_EQ(dialog.result(), TfrmCorpus::Save);
}

TEST(LexiconFilesTest, DialogFiltersShowThePatternThatApplies) {
  EXPECT_EQ(toUtf8(qtFileFilter(TfrmCorpus::kDocumentFilter)),
            "Rich text files (*.rtf);;Text files (*.txt);;Any files (*.*)");
  EXPECT_EQ(toUtf8(qtFileFilter("Corpus file (*.cor)|*.cor|Any file (*.*)|*.*")),
            "Corpus file (*.cor);;Any file (*.*)");
}

TEST(LexiconFilesTest, TheMenuMarkIsAPicture) { EXPECT_FALSE(greenDot().pixmap(16, 16).isNull()); }

}  // namespace
}  // namespace lirno
