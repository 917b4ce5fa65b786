#include <gtest/gtest.h>

#include <thread>

#include "fs.h"
#include "processes.h"
#include "registry.h"
#include "section_actions.h"
#include "support/test_support.h"

namespace stelvane {
namespace {

const wchar_t kTestKey[] = L"Software\\StelvaneTests";

class SectionActions : public test::ScriptTest {
 protected:
  SectionActions() {
    test::clearTestRegistry();
    installer.installFolder = target.path();
    test::writeBytes(installer.sourceFolder + L"a.txt", "contenu");
  }
  ~SectionActions() override { test::clearTestRegistry(); }
  test::TempFolder target;
};

TEST_F(SectionActions, DisabledSectionDoesNothing) {
  writeScript(L"[OPTION1]\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\a.txt\nTITRE=Fini\n");
  runSectionActions(installer, L"OPTION1", false);
  EXPECT_FALSE(fileExists(target.file(L"a.txt")));
  EXPECT_TRUE(messages.entries.empty());
}

TEST_F(SectionActions, ACopyFailureIsReportedAndEveryOtherActionStillRuns) {
  writeScript(
      L"[FIN_INSTALLATION]\n"
      L"COPY1=%REP_SRC%\\absent.txt;%REP_INSTALL%\\absent.txt\n"
      L"COPY2=%REP_SRC%\\a.txt;%REP_INSTALL%\\b.txt\n"
      L"BASEREG1=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Dossier\n"
      L"VAL_BASEREG1=S,%REP_INSTALL%\n"
      L"TITRE=Installation terminée\nMESSAGE=Dans %REP_INSTALL%\n");
  runSectionActions(installer, L"FIN_INSTALLATION", true);

  EXPECT_EQ(test::readBytes(target.file(L"b.txt")), "contenu");
  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, kTestKey, L"Dossier"), target.path());
  ASSERT_EQ(messages.entries.size(), 2u);
  EXPECT_EQ(messages.entries[0].kind, MessageKind::Error);
  EXPECT_EQ(messages.entries[0].caption, L"Erreur");
  EXPECT_EQ(messages.entries[0].text, L"Erreur de copie de " + installer.sourceFolder +
                                          L"absent.txt vers " + target.path() +
                                          L"\\absent.txt\nVoulez vous continuer ?");
  EXPECT_EQ(messages.entries[1].kind, MessageKind::Warning);
  EXPECT_EQ(messages.entries[1].caption, L"Installation terminée");
  EXPECT_EQ(messages.entries[1].text, L"Dans " + target.path());
}

TEST_F(SectionActions, LocalizedSectionAndItsCopyErrorText) {
  installer.languageSuffix = L"EN";
  writeScript(
      L"[AVANT_INSTALLATION]\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\fr.txt\n"
      L"[AVANT_INSTALLATION_EN]\nCOPY1=%REP_SRC%\\none.txt;%REP_INSTALL%\\en.txt\n"
      L"[ERREUR_COPY_EN]\nTITRE=Copy error\nMESSAGE=%s -> %s\n");
  runSectionActions(installer, L"AVANT_INSTALLATION", true);
  EXPECT_FALSE(fileExists(target.file(L"fr.txt")));
  ASSERT_EQ(messages.entries.size(), 1u);
  EXPECT_EQ(messages.entries[0].caption, L"Copy error");
  EXPECT_EQ(messages.entries[0].text,
            installer.sourceFolder + L"none.txt -> " + target.path() + L"\\en.txt");
}

TEST_F(SectionActions, ExecuteUpperCasesBeforeExpanding) {
  installer.installFolder = L"C:\\Lirno";
  EXPECT_EQ(prepareExecuteCommand(installer, L"%REP_INSTALL%\\setup.exe /s"),
            L"C:\\Lirno\\SETUP.EXE /S");
  // Mixed-case tokens no longer match once upper-cased.
  EXPECT_EQ(prepareExecuteCommand(installer, L"<RepInst>\\setup.exe"), L"<REPINST>\\SETUP.EXE");
  EXPECT_EQ(prepareExecuteCommand(installer, L"<srSysteme>\\cmd.exe"),
            installer.systemFolder + L"\\CMD.EXE");
}

TEST_F(SectionActions, ExecuteWaitsForAProgramStartedInTheInstallationFolder) {
  writeScript(L"[OPTION2]\nEXECUTE1=\"" + test::programFolder() +
              L"stelvane_helper.exe\" mark fait.txt termine\n");
  runSectionActions(installer, L"OPTION2", true);
  // Relative to the installation folder, and written before the call returned.
  EXPECT_EQ(test::readBytes(target.file(L"FAIT.TXT")), "TERMINE");
}

TEST_F(SectionActions, AnUnquotedProgramInAFolderWithASpaceIsTheOneStarted) {
  // Unquoted, "<target>\Program Files\App\HELPER.EXE" would start the
  // planted "<target>\Program.exe" with "Files\App\HELPER.EXE" as argument.
  const std::wstring helper = test::programFolder() + L"stelvane_helper.exe";
  const std::wstring folder = target.file(L"Program Files\\App");
  ASSERT_TRUE(createFolderTree(folder));
  ASSERT_TRUE(copyFileOver(helper, folder + L"\\helper.exe"));
  ASSERT_TRUE(copyFileOver(helper, target.file(L"Program.exe")));
  installer.installFolder = folder;
  writeScript(L"[OPTION2]\nEXECUTE1=%REP_INSTALL%\\helper.exe mark lance.txt oui\n");
  runSectionActions(installer, L"OPTION2", true);
  EXPECT_EQ(test::readBytes(folder + L"\\LANCE.TXT"), "OUI");
}

TEST_F(SectionActions, AProgramEndingWithTheStillActiveCodeIsNotAwaitedForEver) {
  const std::wstring helper = L"\"" + test::programFolder() + L"stelvane_helper.exe\"";
  writeScript(L"[OPTION2]\nEXECUTE1=" + helper + L" exit 259\nEXECUTE2=" + helper +
              L" mark apres.txt fin\n");
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread worker([&] {
    runSectionActions(installer, L"OPTION2", true);
    SetEvent(done);
  });
  const bool ended = WaitForSingleObject(done, 30000) == WAIT_OBJECT_0;
  // A worker still waiting is left behind: the test has failed already.
  if (ended) worker.join(); else worker.detach();
  ASSERT_TRUE(ended) << "still waiting for a program that has ended";
  EXPECT_EQ(test::readBytes(target.file(L"APRES.TXT")), "FIN");
}

TEST(CommandLines, TheProgramPartIsQuotedUpToItsExtension) {
  EXPECT_EQ(quoteProgramPart(L"C:\\PROGRAM FILES\\APP\\SETUP.EXE /S"),
            L"\"C:\\PROGRAM FILES\\APP\\SETUP.EXE\" /S");
  EXPECT_EQ(quoteProgramPart(L"C:\\Program Files\\App\\setup.exe"),
            L"\"C:\\Program Files\\App\\setup.exe\"");
  EXPECT_EQ(quoteProgramPart(L"  C:\\A B\\RUN.BAT X Y"), L"\"C:\\A B\\RUN.BAT\" X Y");
  // ".COM" inside a folder name is not the program's extension.
  EXPECT_EQ(quoteProgramPart(L"C:\\A.COMBO\\EDIT.COM C:\\B.EXE"), L"\"C:\\A.COMBO\\EDIT.COM\" C:\\B.EXE");
  // Already quoted, or no program extension: left as it stands.
  EXPECT_EQ(quoteProgramPart(L"\"C:\\Program Files\\a.exe\" /s"), L"\"C:\\Program Files\\a.exe\" /s");
  EXPECT_EQ(quoteProgramPart(L"NOTEPAD LISEZMOI.TXT"), L"NOTEPAD LISEZMOI.TXT");
  EXPECT_EQ(quoteProgramPart(L""), L"");
}

// Counts the messages a test window receives.
int testMessages = 0;
LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++testMessages;
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Processes, WaitingForAProgramKeepsTheWindowsServed) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = countingProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"StelvaneTestCounting";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  testMessages = 0;
  PostMessageW(window, WM_APP, 0, 0);
  EXPECT_TRUE(runAndWait(L"\"" + test::programFolder() + L"stelvane_helper.exe\" sleep 300", L""));
  EXPECT_EQ(testMessages, 1);
  EXPECT_FALSE(runAndWait(L"\"" + test::programFolder() + L"absent.exe\"", L""));
  DestroyWindow(window);
}

TEST(RegistryText, ValueTextsAndPathStrings) {
  auto v = parseRegistryValue(L"S,123");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(v.text, L"123");
  v = parseRegistryValue(L"123");
  EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(v.number, 123u);
  EXPECT_EQ(parseRegistryValue(L"").type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(parseRegistryValue(L"12a").text, L"12a");

  auto p = parseRegistryPath(L"HKEY_LOCAL_MACHINE\\Software\\Halvorn\\REPINST");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->root, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(p->keyPath, L"Software\\Halvorn");
  EXPECT_EQ(p->valueName, L"REPINST");
  p = parseRegistryPath(L"hkey_local_machine\\Software\\");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->root, HKEY_CURRENT_USER);
  EXPECT_EQ(p->rootName, L"HKEY_CURRENT_USER");
  EXPECT_EQ(p->valueName, L"");
  EXPECT_FALSE(parseRegistryPath(L""));
}

}  // namespace
}  // namespace stelvane
