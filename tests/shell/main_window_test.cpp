#include "shell/ui/main_window.h"

#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "app/composition.h"
#include "platform/ui/message.h"
#include "platform/ui/qt_text.h"
#include "shell/ui/workbench.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;

void deletePostedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.write("nac.rul", "[Separators]\n32=2\n");
    previous_ = setMessageHandler([this](const MessageRequest& m) {
      messages.push_back(m.text);
      return MessageAnswer::Ok;
    });
  }
  void TearDown() override { setMessageHandler(previous_); }

  std::unique_ptr<Workbench> makeWorkbench(const std::string& args = {}) {
    auto wb = std::make_unique<Workbench>(program_.path(), parseCommandLine(args));
    wb->setFallbackSettingsPath(home_.file("lirno/Lirno.ini"));
    composeWorkbench(*wb);
    return wb;
  }

  TempFolder program_{"prog"};
  TempFolder home_{"home"};
  std::vector<std::string> messages;
  MessageHandler previous_;
};

// One menu: its items as "name|caption|shortcut", separators as "-".
std::vector<std::string> describe(const QMenu* menu) {
  std::vector<std::string> out;
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      out.push_back("-");
    } else {
      out.push_back(toUtf8(a->objectName() + QLatin1Char('|') + a->text() + QLatin1Char('|') +
                           a->shortcut().toString(QKeySequence::PortableText)));
    }
  }
  return out;
}

TEST_F(MainWindowTest, MainMenuHasEveryItemInOrder) {
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  const QList<QAction*> top = w->menuBar()->actions();
  std::vector<std::string> titles;
  for (const QAction* a : top) titles.push_back(toUtf8(a->objectName() + QLatin1Char('|') + a->text()));
  EXPECT_EQ(titles, (std::vector<std::string>{"mnuFile|&Fichier", "mnuEdit|&Edition",
                                              "mnuTarget|Ci&bles", "mnuThesaurus|&Thesaurus",
                                              "mnuCorpus|&Corpus", "mnuSettings|&Options"}));
  EXPECT_EQ(describe(w->menu("mnuFile")),
            (std::vector<std::string>{"mnuOpen|&Ouvrir|Ctrl+O", "mnuInfo|&Informations|Ctrl+I", "-",
                                      "mnuExit|&Quitter|"}));
  EXPECT_EQ(describe(w->menu("mnuEdit")),
            (std::vector<std::string>{"mnuCut|Cou&per|Ctrl+X", "mnuCopy|&Copier|Ctrl+C",
                                      "mnuDel|Supprimer|Del", "mnuAll|Sélectionner &tout|Ctrl+A", "-",
                                      "mnuFind|&Rechercher|Ctrl+F", "mnuWord|Liste de &mots|Ctrl+W",
                                      "-", "mnuGoto|&Aller à la marque|Ctrl+M"}));
  EXPECT_EQ(describe(w->menu("mnuTarget")),
            (std::vector<std::string>{
                "mnuSortText|Trier par &texte|", "mnuSortNum|Trier par nom&bre|",
                "mnuSortDocText|Trier par doc + texte|", "mnuSortDocNum|Trier par doc + nombre|", "-",
                "mnuUp|&Monter|F3", "mnuDown|&Descendre|F4", "-", "mnuFirst|&Début|F5",
                "mnuPrev|&Précédente|F6", "mnuNext|&Suivante|F7", "mnuLast|&Fin|F8", "-",
                "mnuSaveTarget|&Enregister|Ctrl+S",
                // Added after the form's items: the concordance and where the hits fall.
                "-", "mnuConcordance|&Concordance|Ctrl+K", "mnuDispersion|&Répartition|Ctrl+Shift+K"}));
  EXPECT_EQ(describe(w->menu("mnuCorpus")),
            (std::vector<std::string>{"mnuCNew|&Nouveau|", "mnuCOpen|&Ouvrir|", "mnuCEdit|&Modifier|",
                                      "-", "mnuCSave|&Enregistrer|", "mnuCSaveAs|Enregistrer &sous|",
                                      "-", "mnuCClose|&Fermer|"}));
  EXPECT_EQ(describe(w->menu("mnuThesaurus")).front(), "mnuTNew|&Nouveau|");
  EXPECT_EQ(describe(w->menu("mnuSettings")),
            (std::vector<std::string>{"mnuLangue|&Langue|", "mnuRules|&Règles|", "-", "mnuHelp|&Aide|",
                                      "mnuAbout|A &propos|"}));
  EXPECT_EQ(describe(w->ui.popGrid),
            (std::vector<std::string>{
                "mnuGrdCut|Cou&per|", "mnuGrdCopy|&Copier|", "mnuGrdDel|Supprimer|",
                "mnuGrdAll|Sélectionner &tout|", "-", "mnuGrdSortText|Trier par &texte|",
                "mnuGrdSortNum|Trier par nom&bre|", "mnuGrdSortDocText|Trier par doc + texte|",
                "mnuGrdSortDocNum|Trier par doc + nombre|", "-",
                "mnuGrdOpen|Ouvrir dans la fenêtre|", "mnuGrdOpenNew|Ouvrir dans une autre fenêtre|"}));
  EXPECT_EQ(describe(w->ui.popText),
            (std::vector<std::string>{"mnuTxtCopy|&Copier|", "mnuTxtTarget|Ci&ble|"}));
}

TEST_F(MainWindowTest, ToolButtonsAreInOrderWithTheirHints) {
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  std::vector<std::string> top;
  for (QObject* o : w->ui.pnlTop->children()) {
    if (auto* b = qobject_cast<QToolButton*>(o)) {
      top.push_back(toUtf8(b->objectName() + QLatin1Char('|') + b->toolTip()));
      EXPECT_FALSE(b->icon().isNull()) << toUtf8(b->objectName());
    }
  }
  EXPECT_EQ(top, (std::vector<std::string>{
                     "btnOpen|Ovrir un document", "btnClose|Fermer les documents", "btnFind|Recherche",
                     "btnWord|Liste des mots", "btnSaveTarget|Enregistrer le résultat",
                     "btnUp|Ligne précédente", "btnDown|Ligne suivante", "btnFirst|Première cible",
                     "btnPrev|Cible précédente", "btnNext|Cible suivante", "btnLast|Derniére cible",
                     "btnGrdOpen|Ouvrir dans la fenêtre", "btnGrdOpenNew|Ouvrir dans une autre fenêtre",
                     "btnConcordance|Concordance", "btnDispersion|Répartition des occurrences", "btnHelp|Aide", "btnZoomOut|Zoom out", "btnZoomIn|Zoom in"}));
  EXPECT_EQ(w->button("btnTrad")->text(), QStringLiteral("T"));
  EXPECT_EQ(w->button("btnSwap")->text(), QStringLiteral("X"));
  EXPECT_EQ(w->button("btnHoriz")->text(), QStringLiteral("H"));
  EXPECT_FALSE(w->ui.reInfoParser->isVisibleTo(w));
}

TEST_F(MainWindowTest, NamedControlsAndDesignValues) {
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  for (const char* name :
       {"pnlTop", "pnlTarget", "grdTarget", "Splitter", "pnlDoc", "pnlPos", "edPage", "edFolio",
        "edVign", "pnlCont", "pnlDoc1", "pnlDoc2", "pnlDoc3", "pnlName1", "pnlName3", "btnClose2",
        "lblName1", "reText1", "reText2", "reText3", "splDoc2", "Splitter1", "pnlBottom", "pnlNote",
        "reNote", "splBott1", "pnlGlyph", "pbxGlyph", "splBott2", "pnlPicture", "grdPicture",
        "plnStatus", "lblStatus", "reInfoParser"}) {
    EXPECT_NE(w->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(w->ui.edPage->maxLength(), 4);
  EXPECT_TRUE(w->ui.reText[0]->isReadOnly());
  EXPECT_EQ(w->greatestTargetWidth(), 26 + 38 + 150 + 137);
  EXPECT_EQ(w->minimumSize(), QSize(600, 420));
  EXPECT_EQ(w->ui.pnlTop->height(), 29);
  EXPECT_EQ(w->ui.plnStatus->height(), 19);
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Lirno"));
  EXPECT_TRUE(w->ui.lblStatus->text().isEmpty());
}

TEST_F(MainWindowTest, CommandsDisabledAtCreation) {
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  for (const char* name :
       {"mnuFind", "btnFind", "mnuWord", "btnWord", "mnuInfo", "btnInfo", "mnuGoto", "btnGoto",
        "mnuCut", "mnuCopy", "mnuDel", "mnuAll", "mnuGrdCut", "mnuGrdCopy", "mnuGrdDel", "mnuGrdAll",
        "mnuUp", "mnuDown", "mnuFirst", "mnuPrev", "mnuNext", "mnuLast", "btnUp", "btnDown",
        "btnFirst", "btnPrev", "btnNext", "btnLast", "mnuSortText", "mnuSortDocNum",
        "mnuGrdSortNum", "mnuSaveTarget", "btnSaveTarget", "btnGrdOpen", "btnGrdOpenNew",
        "mnuGrdOpen", "mnuGrdOpenNew", "btnTrad", "btnSwap", "btnHoriz", "mnuTEdit", "mnuTSave",
        "mnuTSaveAs", "mnuTClose", "mnuCEdit", "mnuCSave", "mnuCSaveAs", "mnuCClose"}) {
    const QAction* a = w->action(name);
    const QToolButton* b = w->button(name);
    ASSERT_TRUE(a || b) << name;
    if (a) {
      EXPECT_FALSE(a->isEnabled()) << name;
    }
    if (b) {
      EXPECT_FALSE(b->isEnabled()) << name;
    }
  }
  for (const char* name : {"mnuOpen", "btnOpen", "btnClose", "mnuExit", "mnuTNew", "mnuTOpen",
                           "mnuCNew", "mnuCOpen", "mnuLangue", "mnuRules", "mnuHelp", "mnuAbout",
                           "btnHelp", "mnuTxtTarget", "btnZoomIn", "btnZoomOut"}) {
    const QAction* a = w->action(name);
    const QToolButton* b = w->button(name);
    ASSERT_TRUE(a || b) << name;
    if (a) {
      EXPECT_TRUE(a->isEnabled()) << name;
    }
    if (b) {
      EXPECT_TRUE(b->isEnabled()) << name;
    }
  }
}

TEST_F(MainWindowTest, FirstStartOpensMaximizedAndTheEndWritesEveryWindowKey) {
  auto wb = makeWorkbench();
  QSignalSpy finished(wb.get(), &Workbench::finished);
  TfrmMain* w = wb->start();
  EXPECT_TRUE(w->isMaximized());
  EXPECT_EQ(wb->settingsPath(), program_.file("Lirno.ini"));
  EXPECT_EQ(program_.read("Lirno.ini"), "[Window]\r\nTop=0\r\n");

  w->close();
  deletePostedWindows();
  EXPECT_TRUE(wb->windows().empty());
  EXPECT_EQ(finished.count(), 1);
  const IniFile ini(program_.file("Lirno.ini"));
  EXPECT_EQ(ini.readInt("Window", "State", -1), 2);
  for (const char* key : {"Top", "Left", "Height", "Width", "GridSplitter", "FootnoteSplitter",
                          "PictureSplitter"}) {
    EXPECT_NE(ini.readString("Window", key, "missing"), "missing") << key;
  }
}

TEST_F(MainWindowTest, NormalStateRestoresTheSavedBounds) {
  program_.write("Lirno.ini",
                 "[Window]\r\nState=0\r\nTop=40\r\nLeft=30\r\nHeight=500\r\nWidth=800\r\n"
                 "GridSplitter=200\r\n");
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  EXPECT_FALSE(w->isMaximized());
  EXPECT_EQ(w->geometry(), QRect(30, 40, 800, 500));
  EXPECT_EQ(w->ui.pnlTarget->width(), 200);
  w->close();
  deletePostedWindows();
  const IniFile ini(program_.file("Lirno.ini"));
  EXPECT_EQ(ini.readInt("Window", "State", -1), 0);
  EXPECT_EQ(ini.readInt("Window", "Width", -1), 800);
  EXPECT_EQ(ini.readInt("Window", "GridSplitter", -1), 200);
}

TEST_F(MainWindowTest, SplittersTheUserDidNotMoveAreSavedAsTheyWereRead) {
  for (const int footnote : {60, 30}) {
    program_.write("Lirno.ini", "[Window]\r\nState=0\r\nHeight=500\r\nWidth=900\r\nGridSplitter=200\r\n"
                                "FootnoteSplitter=" + std::to_string(footnote) + "\r\nPictureSplitter=250\r\n");
    auto wb = makeWorkbench();
    TfrmMain* w = wb->start();
    w->close();
    deletePostedWindows();
    const IniFile ini(program_.file("Lirno.ini"));
    EXPECT_EQ(ini.readInt("Window", "FootnoteSplitter", -1), footnote);  // was saved as 70
    EXPECT_EQ(ini.readInt("Window", "PictureSplitter", -1), 250);
    EXPECT_EQ(ini.readInt("Window", "GridSplitter", -1), 200);
  }
  // A drag is the user's: then the size the layout gave is saved.
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  w->ui.Splitter1->setSizes({300, 150});
  emit w->ui.Splitter1->splitterMoved(300, 1);
  const int bottom = w->ui.pnlBottom->height();
  w->close();
  deletePostedWindows();
  EXPECT_EQ(IniFile(program_.file("Lirno.ini")).readInt("Window", "FootnoteSplitter", -1), bottom);
  EXPECT_NE(bottom, 30);
}

TEST_F(MainWindowTest, ResultPanelNeverExceedsTheGridAndSnapsToIt) {
  program_.write("Lirno.ini", "[Window]\r\nState=0\r\nHeight=500\r\nWidth=900\r\n");
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  const int greatest = w->greatestTargetWidth();
  w->ui.Splitter->setSizes({greatest - 30, 900 - greatest + 30});
  emit w->ui.Splitter->splitterMoved(greatest - 30, 1);
  EXPECT_EQ(w->ui.pnlTarget->width(), greatest);
  w->ui.Splitter->setSizes({150, 750});
  emit w->ui.Splitter->splitterMoved(150, 1);
  EXPECT_EQ(w->ui.pnlTarget->width(), 150);
}

TEST_F(MainWindowTest, UnwritableProgramFolderUsesTheFallbackFile) {
  program_.write("Lirno.ini", "[Lirno]\r\nRules=mine.rul\r\n");
  program_.blockWrites("Lirno.ini");
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  EXPECT_EQ(wb->settingsPath(), home_.file("lirno/Lirno.ini"));
  EXPECT_EQ(wb->shellSettings().rules, "mine.rul");
  EXPECT_EQ(home_.read("lirno/Lirno.ini"),
            "[Lirno]\r\nRules=mine.rul\r\nLanguage=\r\nDocumentPath=\r\n");
  w->close();
  deletePostedWindows();
  EXPECT_EQ(IniFile(home_.file("lirno/Lirno.ini")).readInt("Window", "State", -1), 2);
  EXPECT_EQ(program_.read("Lirno.ini"), "[Lirno]\r\nRules=mine.rul\r\n");
}

TEST_F(MainWindowTest, SecondWindowReadsNoSettingsAndOnlyTheLastOneSaves) {
  auto wb = makeWorkbench();
  QSignalSpy finished(wb.get(), &Workbench::finished);
  TfrmMain* first = wb->start();
  EXPECT_TRUE(first->isFirst());
  program_.write("Lirno.ini", "[Window]\r\nState=0\r\nTop=1\r\nLeft=1\r\nHeight=450\r\nWidth=650\r\n");

  TfrmMain* second = wb->createMainWindow();
  EXPECT_FALSE(second->isFirst());
  EXPECT_FALSE(second->isMaximized());  // the file's state is not read again
  EXPECT_EQ(wb->windows().size(), 2u);

  first->close();
  deletePostedWindows();
  EXPECT_EQ(finished.count(), 0);
  EXPECT_EQ(IniFile(program_.file("Lirno.ini")).readInt("Window", "Width", -1), 650);

  const int secondWidth = second->width();
  second->action("mnuExit")->trigger();  // "&Quitter" closes its own window
  deletePostedWindows();
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(wb->windows().empty());
  EXPECT_EQ(IniFile(program_.file("Lirno.ini")).readInt("Window", "Width", -1), secondWidth);
}

TEST_F(MainWindowTest, ASettingsFileThatCannotBeReadIsNotReplacedAndTheFailureIsSaid) {
  std::vector<MessageRequest> shown;
  const MessageHandler previous = setMessageHandler([&](const MessageRequest& m) {
    shown.push_back(m);
    return MessageAnswer::Ok;
  });
  program_.write("Lirno.ini", "[Lirno]\r\nRules=mine.rul\r\n");
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  ASSERT_EQ(wb->settingsPath(), program_.file("Lirno.ini"));
  const std::string before = program_.read("Lirno.ini");
  {
    testing::ScopedFaults faults;
    faults.readOpenFails(EACCES);  // as when its rights were taken away meanwhile
    w->close();
    deletePostedWindows();
  }
  setMessageHandler(previous);
  EXPECT_EQ(program_.read("Lirno.ini"), before);  // not replaced by the window's keys alone
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Impossible d'enregistrer les réglages :\n" + program_.file("Lirno.ini") + "\n" +
                               std::strerror(EACCES));
}

TEST_F(MainWindowTest, NeitherFolderTakingTheSettingsIsSaidOnce) {
  std::vector<MessageRequest> shown;
  const MessageHandler previous = setMessageHandler([&](const MessageRequest& m) {
    shown.push_back(m);
    return MessageAnswer::Ok;
  });
  program_.blockWrites("Lirno.ini");
  home_.blockWrites("lirno/Lirno.ini");
  auto wb = makeWorkbench();
  TfrmMain* w = wb->start();
  EXPECT_EQ(wb->settingsPath(), home_.file("lirno/Lirno.ini"));
  w->close();  // the window settings fail too, and are not said again
  deletePostedWindows();
  setMessageHandler(previous);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Impossible d'enregistrer les réglages :\n" + home_.file("lirno/Lirno.ini") +
                               "\n" + std::strerror(EACCES));
  EXPECT_FALSE(home_.exists("lirno/Lirno.ini"));
}

TEST_F(MainWindowTest, ACommandLineCutSaysWhatWasNotRead) {
  std::vector<MessageRequest> shown;
  const MessageHandler previous = setMessageHandler([&](const MessageRequest& m) {
    shown.push_back(m);
    return MessageAnswer::Ok;
  });
  Workbench wb(program_.path(), parseCommandArguments({"-P", std::string(1023, 'x'), "-A", "-S", "mot"}, true));
  wb.setFallbackSettingsPath(home_.file("lirno/Lirno.ini"));
  composeWorkbench(wb);
  wb.start();
  EXPECT_TRUE(shown.empty());  // once the window is up and its commands ran
  QCoreApplication::processEvents();
  setMessageHandler(previous);
  ASSERT_EQ(shown.size(), 2u);  // the file "xx...x" it was asked to open: a name too long
  EXPECT_EQ(shown[0].text.rfind("Impossible de lire le fichier :\n", 0), 0u);
  EXPECT_EQ(shown[1].text, "La ligne de commande dépasse 1024 caractères ; ceci n'a pas été lu :\n-A -S mot");
  EXPECT_FALSE(wb.commandLine().allStrings);
  for (TfrmMain* w : wb.windows()) w->close();
  deletePostedWindows();
}

TEST_F(MainWindowTest, SharedDialogsExistOnceWithTheirCaptions) {
  auto wb = makeWorkbench();
  wb->start();
  const SharedDialogs& d = wb->dialogs();
  const std::vector<std::pair<QDialog*, const char*>> expected = {
      {d.frmFind, "Recherche"},      {d.frmCorpus, "Corpus"},   {d.frmThesaurus, "Thesaurus"},
      {d.frmWord, "Liste des mots"}, {d.frmInfo, "Lirno"},      {d.frmGenoa, "Genor"},
      {d.frmAddStr, "Ajouter une chaîne"}, {d.frmResult, "Résultat"}, {d.frmImage, "Lirno"}};
  for (const auto& [dialog, caption] : expected) {
    ASSERT_NE(dialog, nullptr) << caption;
    EXPECT_EQ(toUtf8(dialog->windowTitle()), caption);
  }
  wb->createMainWindow();
  EXPECT_EQ(wb->dialogs().frmFind, d.frmFind);
}

}  // namespace
}  // namespace lirno
