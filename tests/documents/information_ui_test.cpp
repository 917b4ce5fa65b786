// The information view in a real workbench (offscreen): which file it finds,
// the enabling of its commands, what it shows, its links.
#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

#include "documents/ui/info_dialog.h"
#include "documents/ui/rich_text_document.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

class InformationTest : public testing::WorkbenchTest {
 protected:
  TfrmInfo& view() { return *qobject_cast<TfrmInfo*>(workbench().dialogs().frmInfo); }
};

const char* kInfo =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\qc{\\b Herbier d'Aubert}\\par"
    "\\pard Notice : {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/n\"}}{\\fldrslt lien}}"
    " ou www.example.org/h\\par{\\protect fixe}\\par}";

TEST_F(InformationTest, ShowsTheDocumentsFileAndOpensItsLinks) {
  const std::string doc = writeDocument("ms.txt", "\xb1=texte\r\n");
  program_.write("ms_fra.txt", kInfo);
  TfrmMain& w = start();
  EXPECT_FALSE(enabled(w, "btnInfo"));
  EXPECT_FALSE(enabled(w, "mnuInfo"));
  open(w, doc);
  EXPECT_TRUE(enabled(w, "btnInfo"));
  EXPECT_TRUE(enabled(w, "mnuInfo"));
  EXPECT_EQ(panes(w).informationPath(), program_.file("ms_fra.txt"));

  std::vector<QUrl> opened;
  view().setLinkOpener([&](const QUrl& u) { opened.push_back(u); });
  w.button("btnInfo")->click();
  ASSERT_TRUE(view().isVisible());
  EXPECT_TRUE(view().isModal());
  EXPECT_EQ(view().size(), QSize(700, 409));
  EXPECT_EQ(view().windowTitle(), QStringLiteral("Lirno"));
  EXPECT_TRUE(view().btnOK->isDefault());
  const QString text = view().reInfo->toPlainText();
  EXPECT_TRUE(text.startsWith(QStringLiteral("Herbier d'Aubert\nNotice : lien ou www.example.org/h\nfixe")));
  EXPECT_EQ(view().reInfo->document()->firstBlock().blockFormat().alignment(), Qt::AlignHCenter);

  // A click on each link, where the view draws it.
  auto clickOn = [&](const QString& word) {
    QTextCursor c = view().reInfo->document()->find(word);
    ASSERT_FALSE(c.isNull());
    QTextCursor mid(view().reInfo->document());
    mid.setPosition(c.selectionStart() + 1);
    const QRect r = view().reInfo->cursorRect(mid);
    QTest::mouseClick(view().reInfo->viewport(), Qt::LeftButton, {}, r.center() + QPoint(2, 0));
  };
  clickOn(QStringLiteral("lien"));
  clickOn(QStringLiteral("www.example.org"));
  clickOn(QStringLiteral("Notice"));  // not a link
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/n")));
  EXPECT_EQ(opened[1], QUrl(QStringLiteral("http://www.example.org/h")));

  // Protected text is marked so; the view changes nothing of the file.
  QTextCursor fixed = view().reInfo->document()->find(QStringLiteral("fixe"));
  EXPECT_TRUE(fixed.charFormat().property(kProtectedProperty).toBool());
  EXPECT_TRUE(view().reInfo->isReadOnly());

  view().btnOK->click();
  EXPECT_FALSE(view().isVisible());
  EXPECT_TRUE(messages.empty());
}

TEST_F(InformationTest, WithoutAFileTheButtonStaysOffAndTheMenuItemDoesNothing) {
  const std::string doc = writeDocument("ms.txt", "texte\r\n");
  TfrmMain& w = start();
  open(w, doc);
  EXPECT_FALSE(enabled(w, "btnInfo"));
  EXPECT_TRUE(enabled(w, "mnuInfo"));
  w.action("mnuInfo")->trigger();
  EXPECT_FALSE(view().isVisible());
  EXPECT_TRUE(messages.empty());
}

TEST_F(InformationTest, AFileGoneSinceTheDisplayGivesTheMessage) {
  const std::string doc = writeDocument("ms.txt", "texte\r\n");
  program_.write("infos/ms_fra.txt", "infos\r\n");
  TfrmMain& w = start();
  open(w, doc);
  ASSERT_EQ(panes(w).informationPath(), program_.file("infos/ms_fra.txt"));
  std::filesystem::remove(program_.file("infos/ms_fra.txt"));
  w.action("mnuInfo")->trigger();
  EXPECT_FALSE(view().isVisible());
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Fichier non trouvé :\n" + program_.file("infos/ms_fra.txt"));
}

TEST_F(InformationTest, ClosingAndTranslationsAndTheLanguageCode) {
  const std::string doc = writeDocument("ms.txt", "texte\r\n");
  writeDocument("ms_trad.txt", "traduction\r\n");
  program_.write("ms_fra.txt", "fr\r\n");
  program_.write("ms_eng.txt", "en\r\n");
  TfrmMain& w = start();
  open(w, doc);
  // A translation has no information file of its own: the main one stays.
  w.button("btnTrad")->click();
  EXPECT_EQ(panes(w).informationPath(), program_.file("ms_fra.txt"));
  EXPECT_TRUE(enabled(w, "btnInfo"));
  w.button("btnClose")->click();
  EXPECT_FALSE(enabled(w, "btnInfo"));
  EXPECT_FALSE(enabled(w, "mnuInfo"));
  EXPECT_EQ(panes(w).informationPath(), "");

  ASSERT_EQ(workbench().language().loadBytes("Lirno:eng:\n"), LanguageLoad::Loaded);
  open(w, doc);
  EXPECT_EQ(panes(w).informationPath(), program_.file("ms_eng.txt"));
  w.button("btnInfo")->click();
  EXPECT_EQ(view().reInfo->toPlainText().trimmed(), QStringLiteral("en"));
  view().btnOK->click();
}

}  // namespace
}  // namespace lirno
