#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include "macros.h"
#include "messages.h"
#include "support/test_support.h"

namespace stelvane {
namespace {

class Macros : public test::ScriptTest {
 protected:
  Macros() {
    installer.installFolder = L"C:\\Lirno";
    installer.sourceFolder = L"D:\\Source\\";
    installer.workFolder = L"C:\\Temp\\KX_1.tmp\\";
    installer.windowsFolder = L"C:\\Windows";
    installer.systemFolder = L"C:\\Windows\\system32";
    installer.dataFolder = L"C:\\Données";
    installer.installDrive = L"C:";
    installer.applicationName = L"Lirno";
  }
};

std::wstring desktop() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

TEST_F(Macros, EveryTokenIsReplacedEverywhere) {
  EXPECT_EQ(expandMacros(installer,
                         L"%REP_INSTALL%|%REP_WINDOWS%|%REP_SYSTEM%|%REP_SRC%|%REP_TEMP%|<RepInst>|"
                         L"<RepWin>|<RepSys>|<FicInst>|<LectInst>|%APPLI%|%REP_INSTALL%"),
            L"C:\\Lirno|C:\\Windows|C:\\Windows\\system32|D:\\Source|C:\\Temp\\KX_1.tmp|C:\\Lirno|"
            L"C:\\Windows|C:\\Windows\\system32|C:\\Données|C:|Lirno|C:\\Lirno");
}

TEST_F(Macros, TokensInAnotherCaseStayAsWritten) {
  EXPECT_EQ(expandMessage(installer, L"%rep_install% <repinst> %Appli% \\N"),
            L"%rep_install% <repinst> %Appli% \\N");
}

TEST_F(Macros, BackslashNIsALineFeedOnlyInShownText) {
  EXPECT_EQ(expandMessage(installer, L"ligne 1\\nligne 2"), L"ligne 1\nligne 2");
  // In paths it is a backslash and a name, and so it is in substituted folders.
  EXPECT_EQ(expandMacros(installer, L"%REP_INSTALL%\\notes.txt"), L"C:\\Lirno\\notes.txt");
  installer.installFolder = L"C:\\nouveau";
  EXPECT_EQ(expandMessage(installer, L"Dans %REP_INSTALL%.\\nFin"), L"Dans C:\\nouveau.\nFin");
  // Substituted values are never scanned again for tokens.
  installer.applicationName = L"%REP_SRC%";
  EXPECT_EQ(expandMacros(installer, L"%APPLI%"), L"%REP_SRC%");
}

TEST_F(Macros, EmptyWorkFolderGivesEmptyText) {
  installer.workFolder.clear();
  EXPECT_EQ(expandMacros(installer, L"[%REP_TEMP%]"), L"[]");
}

TEST_F(Macros, OnlyALeadingShellFolderTokenIsReplaced) {
  EXPECT_EQ(expandMacros(installer, L"<srBureau>\\Lirno.lnk"), desktop() + L"\\Lirno.lnk");
  EXPECT_EQ(expandMacros(installer, L"<SRBUREAU>\\Lirno.lnk"), desktop() + L"\\Lirno.lnk");
  EXPECT_EQ(expandMacros(installer, L"<srSysteme>\\x.dll"), L"C:\\Windows\\system32\\x.dll");
  EXPECT_EQ(expandMacros(installer, L"C:\\<srBureau>\\x"), L"C:\\<srBureau>\\x");
  EXPECT_EQ(expandMacros(installer, L"<srInconnu>\\x"), L"<srInconnu>\\x");
  // The rest of the text is still expanded.
  EXPECT_EQ(expandMacros(installer, L"<srBureau>\\%APPLI%"), desktop() + L"\\Lirno");
}

TEST_F(Macros, MessagesExpandTheFormatButNotTheArguments) {
  installer.installFolder = L"C:\\100% neuf";
  question(installer, L"Titre", L"%REP_INSTALL% : %s\\n(%d)", {L"C:\\nac\\%s", L"3"});
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].text, L"C:\\100% neuf : C:\\nac\\%s\n(3)");
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Question);
}

TEST_F(Macros, SilentModeShowsNothingAndAnswersYes) {
  installer.silent = true;
  messages.answer = false;
  EXPECT_TRUE(question(installer, L"Titre", L"Continuer ?"));
  errorBox(installer, L"Titre", L"Erreur");
  warningBox(installer, L"Titre", L"Attention");
  scriptError(installer, L"NOMEXE", L"VERIFICATION_VERSION");
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(Macros, ScriptErrorNamesKeyAndSection) {
  scriptError(installer, L"NOMEXE", L"VERIFICATION_VERSION_EN");
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Error);
  EXPECT_EQ(messages.entries[0].caption, L"Erreur de script");
  EXPECT_EQ(messages.entries[0].text,
            L"la valeur NOMEXE de la section VERIFICATION_VERSION_EN n'est pas définie");
}

}  // namespace
}  // namespace stelvane
