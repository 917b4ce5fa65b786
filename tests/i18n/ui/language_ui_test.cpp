// Translate window and menu on plain widgets, and the commands of the
// language subsystem in a running workbench: "&Langue", "&Aide", "A &propos",
// Qt's own texts.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "documents/ui/info_dialog.h"
#include "platform/ui/qt_text.h"
#include "i18n/language.h"
#include "documents/ui/panes_controller.h"
#include "i18n/ui/language_controller.h"
#include "i18n/ui/translate_controls.h"
#include "platform/ini_file.h"
#include "support/workbench_fixture.h"

namespace lirno {
namespace {

LanguageTables tablesOf(std::string_view bytes) {
  LanguageTables t;
  EXPECT_EQ(t.loadBytes(bytes), LanguageLoad::Loaded);
  return t;
}

// A form with a radio group holding a check box beside its buttons.
struct Form {
  QWidget form;
  QGroupBox* group = new QGroupBox(QStringLiteral("Position"), &form);
  QButtonGroup* buttons = new QButtonGroup(group);
  QCheckBox* inside = new QCheckBox(QStringLiteral("Exclure"), group);
  QLabel* label = new QLabel(QStringLiteral("Libellé"), &form);
  QPushButton* button = new QPushButton(QStringLiteral("&Ajouter"), &form);
  Form() {
    form.setObjectName(QStringLiteral("frmTest"));
    form.setWindowTitle(QStringLiteral("Essai"));
    group->setObjectName(QStringLiteral("pnlPlace"));
    inside->setObjectName(QStringLiteral("chkExclude"));
    label->setObjectName(QStringLiteral("lblName"));
    button->setObjectName(QStringLiteral("btnAdd"));
    for (int i = 0; i < 3; ++i) {
      auto* b = new QRadioButton(QStringLiteral("Choix %1").arg(i), group);
      b->setObjectName(QStringLiteral("pnlPlace_%1").arg(i));
      buttons->addButton(b, i);
    }
  }
  QString item(int i) const { return buttons->button(i)->text(); }
};

TEST(TranslateWindow, CaptionsHintsAndRadioItems) {
  Form f;
  const LanguageTables t = tablesOf(
      "Lirno:eng:\n"
      "frmTest:frmTest:\"Trial\":\"\"\n"
      "frmTest:pnlPlace:\"Place\":\"Where\":\"Anywhere\\r\\nStart\"\n"
      "frmTest:chkExclude:\"Exclude\":\"\"\n"
      "frmTest:pnlPlace_2:\"Not an item's line\":\"\"\n"
      "frmTest:lblName:\"\":\"The name\"\n"
      "frmOther:btnAdd:\"Other form\":\"\"\n");
  translateWindow(t, "frmTest", &f.form);
  EXPECT_EQ(f.form.windowTitle(), QStringLiteral("Trial"));
  EXPECT_EQ(f.group->title(), QStringLiteral("Place"));
  EXPECT_EQ(f.group->toolTip(), QStringLiteral("Where"));
  // Two items for three buttons: the third is no item any more.
  EXPECT_EQ(f.item(0), QStringLiteral("Anywhere"));
  EXPECT_EQ(f.item(1), QStringLiteral("Start"));
  EXPECT_TRUE(f.buttons->button(2)->isHidden());
  EXPECT_EQ(f.item(2), QStringLiteral("Choix 2"));
  // Controls inside the group other than its buttons are visited.
  EXPECT_EQ(f.inside->text(), QStringLiteral("Exclude"));
  // An empty caption leaves the control's.
  EXPECT_EQ(f.label->text(), QString::fromUtf8("Libellé"));
  EXPECT_EQ(f.label->toolTip(), QStringLiteral("The name"));
  EXPECT_EQ(f.button->text(), QStringLiteral("&Ajouter"));

  // An empty items field leaves the group without items.
  translateWindow(tablesOf("Lirno:eng:\nfrmTest:pnlPlace:\"Place\":\"\":\"\"\n"), "frmTest", &f.form);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(f.buttons->button(i)->isHidden());
}

TEST(TranslateWindow, NothingChangesWithoutControlLines) {
  Form f;
  translateWindow(LanguageTables(), "frmTest", &f.form);
  translateWindow(tablesOf("Lirno:eng:\n\"Essai\"=\"Trial\"\n"), "frmTest", &f.form);
  EXPECT_EQ(f.form.windowTitle(), QStringLiteral("Essai"));
  EXPECT_EQ(f.item(0), QStringLiteral("Choix 0"));
}

TEST(TranslateMenu, ItemsAndSubItemsEvenToAnEmptyCaption) {
  QMenuBar bar;
  QMenu* file = bar.addMenu(QStringLiteral("&Fichier"));
  file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
  QAction* open = file->addAction(QStringLiteral("&Ouvrir"));
  open->setObjectName(QStringLiteral("mnuOpen"));
  file->addSeparator();
  QAction* exit = file->addAction(QStringLiteral("&Quitter"));
  exit->setObjectName(QStringLiteral("mnuExit"));
  // The root's line ("frmMain::") reaches neither separators nor items.
  const LanguageTables t = tablesOf(
      "Lirno:eng:\n"
      "frmMain::\"Root\":\"\"\n"
      "frmMain:mnuFile:\"&File\":\"\"\n"
      "frmMain:mnuOpen:\"&Open\":\"Open a document\"\n"
      "frmMain:mnuExit:\"\":\"\"\n");
  translateMenu(t, "frmMain", &bar);
  EXPECT_EQ(file->title(), QStringLiteral("&File"));
  EXPECT_EQ(open->text(), QStringLiteral("&Open"));
  EXPECT_EQ(open->statusTip(), QStringLiteral("Open a document"));
  EXPECT_EQ(exit->text(), QString());
  EXPECT_EQ(file->actions()[1]->text(), QString());
}

class LanguageCommandsTest : public testing::WorkbenchTest {
 protected:
  void TearDown() override {
    LanguageController::setFileChooser({});
    LanguageController::setUrlOpener({});
    WorkbenchTest::TearDown();
  }
  void chooseLanguage(TfrmMain& w, const std::string& path) {
    LanguageController::setFileChooser([path](QWidget*, const std::string&) { return path; });
    w.action("mnuLangue")->trigger();
  }
  std::string languageSetting() {
    return IniFile(workbench().settingsPath()).readString("Lirno", "Language", "<none>");
  }
  void writeEnglish() {
    program_.write("mine.lng",
                   "; a test language\n"
                   "Lirno:eng:\n"
                   "\"Fichier non trouv\xE9 :\\n\"=\"File not found:\\n\"\n"
                   "\"\\nn'est pas un fichier langue.\"=\"\\nis not a language file.\"\n"
                   "\"Texte\"=\"Text\"\n"
                   "frmMain:frmMain:\"Workbench\":\"\"\n"
                   "frmMain:mnuOpen:\"&Open\":\"\"\n"
                   "frmMain:btnHelp:\"\":\"Help\"\n"
                   "frmFind:frmFind:\"Search\":\"\"\n");
  }
};

TEST_F(LanguageCommandsTest, TheCaptionKeepsTheOpenDocumentThroughALanguageChange) {
  writeEnglish();
  program_.write("ms.txt", "herba\r\n");
  TfrmMain& w = start();
  PanesController* panes = w.controller<PanesController>();
  ASSERT_TRUE(panes->loadIntoCurrentPane(program_.file("ms.txt"), true, true));
  chooseLanguage(w, program_.file("mine.lng"));
  // Other windows find this one by "Lirno - " and the path.
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lirno - ") + fromUtf8(program_.file("ms.txt")));
  panes->closeAllDocuments();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Workbench"));
}

TEST_F(LanguageCommandsTest, LangueLoadsRecordsAndTranslatesEveryMainWindow) {
  writeEnglish();
  TfrmMain& w = start();
  TfrmMain* second = workbench().createMainWindow();
  chooseLanguage(w, program_.file("mine.lng"));
  for (TfrmMain* x : {&w, second}) {
    EXPECT_EQ(x->windowTitle(), QStringLiteral("Workbench"));
    EXPECT_EQ(x->action("mnuOpen")->text(), QStringLiteral("&Open"));
    EXPECT_EQ(x->button("btnHelp")->toolTip(), QStringLiteral("Help"));
  }
  EXPECT_EQ(languageSetting(), "mine.lng");
  // The grid titles are drawn translated.
  EXPECT_EQ(w.ui.grdTarget->model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
            QStringLiteral("Text"));
  // Dialogs pick the language up when next shown.
  QDialog* find = workbench().dialogs().frmFind;
  EXPECT_EQ(find->windowTitle(), QStringLiteral("Recherche"));
  find->show();
  EXPECT_EQ(find->windowTitle(), QStringLiteral("Search"));
  find->hide();
  delete second;
}

TEST_F(LanguageCommandsTest, LanguageOutsideTheProgramFolderIsRecordedWithItsFolder) {
  testing::TempFolder elsewhere("lng");
  elsewhere.write("x.lng", "Lirno:eng:\n");
  TfrmMain& w = start();
  chooseLanguage(w, elsewhere.file("x.lng"));
  EXPECT_EQ(languageSetting(), elsewhere.file("x.lng"));
}

TEST_F(LanguageCommandsTest, NotALanguageFileSaysSoAndChangesNothing) {
  writeEnglish();
  program_.write("bad.lng", "; comment\nLirno:deu\n\"Texte\"=\"Wort\"\n");
  TfrmMain& w = start();
  chooseLanguage(w, program_.file("mine.lng"));
  messages.clear();
  chooseLanguage(w, program_.file("bad.lng"));
  ASSERT_EQ(messages.size(), 1u);
  // The path first, then the text translated by the language in force.
  EXPECT_EQ(messages[0], program_.file("bad.lng") + "\nis not a language file.");
  EXPECT_EQ(languageSetting(), "mine.lng");
  EXPECT_EQ(workbench().language().code(), "eng");
  EXPECT_EQ(workbench().language().translate("Texte"), "Text");
}

TEST_F(LanguageCommandsTest, AFileThatCannotBeOpenedIsStillRecorded) {
  TfrmMain& w = start();
  chooseLanguage(w, program_.file("gone.lng"));
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(languageSetting(), "gone.lng");
  EXPECT_EQ(workbench().language().code(), "fra");
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Lirno"));
}

TEST_F(LanguageCommandsTest, SettingsLanguageIsLoadedFromTheProgramFolderAndTheCommandLineWins) {
  writeEnglish();
  program_.write("Lirno.ini", "[Lirno]\nLanguage=mine.lng\n");
  {
    TfrmMain& w = start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Workbench"));
  }
  program_.write("other.lng", "Lirno:ita:\nfrmMain:frmMain:\"Banco\":\"\"\n");
  TfrmMain& w = start("-L " + program_.file("other.lng"));
  EXPECT_EQ(workbench().language().code(), "ita");
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Banco"));
  EXPECT_TRUE(workbench().commandLine().languageFile.empty());
}

TEST_F(LanguageCommandsTest, HelpOpensThePageOfTheLanguageWhenThereIsOne) {
  writeEnglish();
  std::vector<QUrl> opened;
  LanguageController::setUrlOpener([&opened](const QUrl& u) {
    opened.push_back(u);
    return true;
  });
  TfrmMain& w = start();
  w.action("mnuHelp")->trigger();
  chooseLanguage(w, program_.file("mine.lng"));
  w.button("btnHelp")->click();  // no English page yet
  program_.write("Lirno_help_eng.htm", "<html></html>");
  w.action("mnuHelp")->trigger();
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(program_.file("Lirno_help.htm"))));
  EXPECT_EQ(opened[1], opened[0]);
  EXPECT_EQ(opened[2], QUrl::fromLocalFile(QString::fromStdString(program_.file("Lirno_help_eng.htm"))));
}

TEST_F(LanguageCommandsTest, AboutShowsTheTextInTheInformationViewOrSaysTheFileIsMissing) {
  writeEnglish();
  TfrmMain& w = start();
  auto& view = *qobject_cast<TfrmInfo*>(workbench().dialogs().frmInfo);
  chooseLanguage(w, program_.file("mine.lng"));
  w.action("mnuAbout")->trigger();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "File not found:\n" + program_.file("Lirno_About.txt"));
  EXPECT_FALSE(view.isVisible());
  // With no document open.
  program_.write("Lirno_About.txt", "Lirno \xE9tabli\r\nhttps://example.org/lirno\r\n");
  w.action("mnuAbout")->trigger();
  EXPECT_TRUE(view.isVisible());
  EXPECT_TRUE(view.reInfo->toPlainText().startsWith(QString::fromUtf8("Lirno établi")));
  view.btnOK->click();
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(messages.size(), 1u);
}

TEST_F(LanguageCommandsTest, QtStandardTextsAreFrenchThenFollowTheLanguage) {
  writeEnglish();
  TfrmMain& w = start();
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Oui"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("&Nom de fichier :"));
  chooseLanguage(w, program_.file("mine.lng"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Yes"));
  program_.write("deu.lng", "Lirno:deu:\n");
  chooseLanguage(w, program_.file("deu.lng"));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
}

}  // namespace
}  // namespace lirno
