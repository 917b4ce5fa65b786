// The installation sequence of the OK button, run in-process on a real main
// window with the messages logged.
#include <gtest/gtest.h>

#include "driver.h"
#include "fs.h"
#include "support/test_support.h"
#include "windows/main_window.h"

namespace stelvane {
namespace {

class Sequence : public test::ScriptTest {
 protected:
  Sequence() { test::writeBytes(installer.sourceFolder + L"a.txt", "a"); }

  void start(const std::wstring& folder) {
    installer.installFolder = folder;
    ASSERT_TRUE(window.create(false));
  }
  void pressOk() { installationSequence(installer, window); }
  bool open() const { return window.handle() != nullptr; }
  bool enabled(int id) const { return IsWindowEnabled(GetDlgItem(window.handle(), id)); }

  const std::wstring dialog =
      L"[DIALOGUE]\nTITRE=Installation\nT_REPERTOIRE=Dossier\nT_BOUTON_PARCOURIR=...\n"
      L"T_OPTION1=Un\nT_OPTION2=Deux\nT_BOUTON_OK=OK\nT_BOUTON_ESC=Annuler\n"
      L"T_REPNONVIDE=Indiquez un dossier\nT_REPINEXISTANT=Créer %REP_INSTALL% ?\n"
      L"T_REPNONCREE=Impossible de créer le dossier\n"
      L"[OPTION1]\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\option1.txt\n"
      L"[OPTION2]\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\option2.txt\n"
      L"[FIN_INSTALLATION]\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\fin.txt\n";
  test::TempFolder target;
  MainWindow window{installer, [this](MainWindow&) { pressOk(); }};
};

TEST_F(Sequence, EmptyFolderIsRefusedAndTheWindowStays) {
  writeScript(dialog);
  start(L"");
  pressOk();
  EXPECT_TRUE(open());
  EXPECT_FALSE(installer.busy);
  EXPECT_TRUE(enabled(kCmdOk));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Warning);
  EXPECT_EQ(messages.entries[0].caption, L"Installation");
  EXPECT_EQ(messages.entries[0].text, L"Indiquez un dossier");
  EXPECT_FALSE(installer.success);
}

TEST_F(Sequence, MissingFolderIsCreatedOnlyWhenTheUserAgrees) {
  writeScript(dialog);
  const std::wstring folder = target.file(L"a\\b");
  start(folder + L"\\");
  messages.answer = false;
  pressOk();
  EXPECT_TRUE(open());
  EXPECT_FALSE(folderExists(folder));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text, L"Créer " + folder + L" ?");

  messages.answer = true;
  pressOk();
  EXPECT_TRUE(folderExists(folder));
  EXPECT_EQ(installer.installFolder, folder);  // the trailing backslash is gone
  EXPECT_TRUE(fileExists(folder + L"\\fin.txt"));
  EXPECT_TRUE(installer.success);
  EXPECT_FALSE(open());
}

TEST_F(Sequence, OptionActionsRunOnlyForCheckedBoxes) {
  writeScript(dialog);
  start(target.path());
  CheckDlgButton(window.handle(), kIdOption1, BST_UNCHECKED);
  pressOk();
  EXPECT_FALSE(fileExists(target.file(L"option1.txt")));
  EXPECT_TRUE(fileExists(target.file(L"option2.txt")));
  EXPECT_TRUE(fileExists(target.file(L"fin.txt")));
  EXPECT_TRUE(installer.success);
  EXPECT_EQ(installer.installDrive, target.path().substr(0, 2));
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Sequence, AMainArchiveThatCannotBeOpenedStopsTheSequenceButTheRecordIsWritten) {
  writeScript(dialog + L"[ARCHIVE]\nNOM_KXZ=lirno.zip\n[OPTION_INSTALL]\nINFO_DESINSTALLATION=O\n");
  start(target.path());
  pressOk();
  EXPECT_FALSE(installer.success);
  EXPECT_FALSE(open());
  EXPECT_FALSE(fileExists(target.file(L"option1.txt")));
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
  EXPECT_TRUE(messages.entries.empty());  // the driver's ERREUR_INSTALLATION reports it
  EXPECT_TRUE(fileExists(target.file(L"UNINST.INF")));
}

TEST_F(Sequence, TheMainArchiveIsPlacedBeforeTheOptions) {
  ASSERT_TRUE(copyFileOver(std::wstring(STELVANE_ARCHIVE_DIR) + L"\\infozip.zip",
                           installer.sourceFolder + L"lirno.zip"));
  writeScript(dialog + L"[ARCHIVE]\nNOM_KXZ=lirno.zip\n");
  start(target.path());
  pressOk();
  EXPECT_TRUE(installer.success);
  EXPECT_TRUE(fileExists(target.file(L"docs\\long.txt")));  // no description: the whole archive
  EXPECT_TRUE(fileExists(target.file(L"option1.txt")));
  EXPECT_TRUE(messages.entries.empty());
  SetFileAttributesW(target.file(L"docs\\notes\\lecture-seule.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Sequence, DeclinedVersionClosesWithoutInstalling) {
  writeScript(dialog +
              L"[VERIFICATION_VERSION]\nVERIF=Y\nTITRE_EGALE=Même version\nMESSAGE_EGALE=%s\n");
  installer.installedVersion = installer.newVersion = L"2.9";
  start(target.path());
  messages.answer = false;
  pressOk();
  EXPECT_FALSE(open());
  EXPECT_FALSE(installer.success);
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Même version");
}

TEST_F(Sequence, ControlsAreDisabledWhileInstalling) {
  // FIN_INSTALLATION's message box shows up while the sequence is busy.
  writeScript(dialog + L"TITRE=Fin\nMESSAGE=Terminé\n");  // ESC_ACTIF defaults to N
  start(target.path());
  bool okEnabled = true, cancelEnabled = true, option1Enabled = true, busy = false;
  installer.messageSink = [&](MessageKind, const std::wstring&, const std::wstring&) {
    okEnabled = enabled(kCmdOk);
    cancelEnabled = enabled(kCmdCancel);
    option1Enabled = enabled(kIdOption1);
    busy = installer.busy;
    return true;
  };
  pressOk();
  EXPECT_TRUE(busy);
  EXPECT_FALSE(okEnabled);
  EXPECT_FALSE(option1Enabled);
  EXPECT_FALSE(cancelEnabled);
  EXPECT_FALSE(installer.busy);
}

}  // namespace
}  // namespace stelvane
