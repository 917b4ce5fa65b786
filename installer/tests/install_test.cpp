// End-to-end tests: each builds a source folder (stelvane.exe beside an
// INSTALL.INI), starts the installer, answers its windows and checks the outcome.
#include <gtest/gtest.h>

#include "automation.h"
#include "commande_composante.h"
#include "fs.h"
#include "paths.h"
#include "support/test_support.h"
#include "text.h"

namespace stelvane {
namespace {

using automation::WindowAction;

class Install : public ::testing::Test {
 protected:
  Install() {
    test::clearTestRegistry();
    EXPECT_TRUE(copyFileOver(test::programFolder() + L"stelvane.exe", source.file(L"stelvane.exe")));
    test::writeBytes(source.file(L"a.txt"), "a");
    run.program = source.file(L"stelvane.exe");
    run.folder = target.path();
  }
  ~Install() override { test::clearTestRegistry(); }

  void script(const std::wstring& text) { test::writeUnicodeFile(source.file(L"INSTALL.INI"), text); }
  automation::Outcome install() { return automation::runInstaller(run); }
  std::wstring testValue(const wchar_t* name) {
    return test::registryString(HKEY_CURRENT_USER, L"Software\\StelvaneTests", name);
  }

  test::TempFolder source;
  test::TempFolder target;
  automation::Run run;
};

const wchar_t kDialog[] =
    L"[DIALOGUE]\r\nTITRE=Installation\r\nT_REPERTOIRE=Dossier\r\nT_BOUTON_PARCOURIR=...\r\n"
    L"T_BOUTON_OK=OK\r\nT_BOUTON_ESC=Annuler\r\n"
    L"[ERREUR_INSTALLATION]\r\nTITRE=Installation interrompue\r\nMESSAGE=Rien n'a été installé\r\n";

const wchar_t kFinish[] =
    L"[FIN_INSTALLATION]\r\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\fin.txt\r\n"
    L"BASEREG1=HKEY_CURRENT_USER\\Software\\StelvaneTests\\Temp\r\nVAL_BASEREG1=S,%REP_TEMP%\r\n";

TEST_F(Install, SilentInstallationRunsTheActionsAndRemovesTheWorkFolder) {
  script(std::wstring(kDialog) + kFinish);
  const auto outcome = install();
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(outcome.sawMainWindow);
  EXPECT_FALSE(outcome.sawLanguageWindow);
  EXPECT_TRUE(outcome.boxes.empty());
  EXPECT_TRUE(fileExists(target.file(L"fin.txt")));
  const std::wstring work = testValue(L"Temp");
  EXPECT_NE(fileNameOf(work).find(L"KX_"), std::wstring::npos) << toUtf8(work);
  EXPECT_FALSE(pathExists(work));
}

TEST_F(Install, GardetempKeepsTheWorkFolder) {
  script(std::wstring(kDialog) + kFinish);
  const std::wstring previous = automation::setWinIni(L"INSTALL", L"GARDETEMP", L"1");
  const auto outcome = install();
  automation::setWinIni(L"INSTALL", L"GARDETEMP", previous);
  EXPECT_EQ(outcome.exitCode, 0u);
  const std::wstring work = testValue(L"Temp");
  ASSERT_FALSE(work.empty());
  EXPECT_TRUE(folderExists(work));
  deleteFolderTree(work);
}

TEST_F(Install, CancelledLanguageShowsTheInstallationErrorAndNoMainWindow) {
  script(std::wstring(L"[LANGUE]\r\nLIB_LANGUE1=Français\r\nLANGUE1=FR\r\nLIB_LANGUE2=English\r\n"
                      L"LANGUE2=EN\r\nT_BOUTON_OK=OK\r\nT_BOUTON_ESC=Annuler\r\n") +
         kDialog + kFinish);
  run.silent = false;
  run.language = 0;
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_TRUE(outcome.sawLanguageWindow);
  EXPECT_FALSE(outcome.sawMainWindow);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, L"Installation interrompue");
  EXPECT_EQ(outcome.boxes[0].text, L"Rien n'a été installé");
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
}

TEST_F(Install, TheChosenLanguageSelectsItsSections) {
  script(std::wstring(L"[LANGUE]\r\nLIB_LANGUE1=Français\r\nLANGUE1=FR\r\nLIB_LANGUE2=English\r\n"
                      L"LANGUE2=EN\r\nT_BOUTON_OK=OK\r\nT_BOUTON_ESC=Annuler\r\n") +
         L"[DIALOGUE_EN]\r\nTITRE=Setup\r\nT_REPERTOIRE=Folder\r\nT_BOUTON_PARCOURIR=...\r\n"
         L"T_BOUTON_OK=OK\r\n" + kFinish +
         L"[FIN_INSTALLATION_EN]\r\nCOPY1=%REP_SRC%\\a.txt;%REP_INSTALL%\\end.txt\r\n");
  run.language = 2;
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(outcome.sawLanguageWindow);
  EXPECT_TRUE(fileExists(target.file(L"end.txt")));
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
}

TEST_F(Install, ClosingTheWindowWithoutInstallingReportsFailure) {
  script(std::wstring(kDialog) + kFinish);
  run.silent = false;
  run.mainAction = WindowAction::Close;
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_TRUE(outcome.sawMainWindow);
  ASSERT_EQ(outcome.boxes.size(), 1u);
  EXPECT_EQ(outcome.boxes[0].caption, L"Installation interrompue");
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
}

TEST_F(Install, AMainArchiveFailsTheInstallationUntilArchivesAreRead) {
  script(std::wstring(kDialog) + kFinish + L"[ARCHIVE]\r\nNOM_KXZ=lirno.zip\r\n");
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
}

TEST_F(Install, WithoutScriptNothingIsShown) {
  const auto outcome = install();
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_FALSE(outcome.sawMainWindow);
  EXPECT_FALSE(outcome.sawLanguageWindow);
}

// Starts the helper sleeping for `ms`; `inheritable` is a handle to it that
// child processes inherit.
PROCESS_INFORMATION startSleeper(DWORD ms, HANDLE& inheritable) {
  std::wstring line = L"\"" + test::programFolder() + L"stelvane_helper.exe\" SLEEP " + std::to_wstring(ms);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process));
  EXPECT_TRUE(DuplicateHandle(GetCurrentProcess(), process.hProcess, GetCurrentProcess(),
                              &inheritable, SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION,
                              TRUE, 0));
  return process;
}

// Starts stelvane.exe (inheriting handles) and waits for it.
DWORD runInherited(const std::wstring& program, const std::wstring& arguments) {
  std::wstring line = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  EXPECT_TRUE(CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = 259;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

TEST_F(Install, CleanupModeWaitsForTheProcessThenRemovesTheFolder) {
  script(std::wstring(kDialog) + kFinish);  // never read in cleanup mode
  test::TempFolder doomed;
  test::writeBytes(doomed.file(L"x.txt"), "x");
  ASSERT_TRUE(createFolderTree(doomed.file(L"sous\\dossier")));
  test::writeBytes(doomed.file(L"sous\\dossier\\y.txt"), "y");
  HANDLE inheritable = nullptr;
  const PROCESS_INFORMATION sleeper = startSleeper(1500, inheritable);
  const ULONGLONG started = GetTickCount64();
  const DWORD code = runInherited(run.program, std::to_wstring(reinterpret_cast<INT_PTR>(inheritable)) +
                                                   L" \"" + doomed.path() + L"\"");
  CloseHandle(inheritable);
  const ULONGLONG elapsed = GetTickCount64() - started;
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(WaitForSingleObject(sleeper.hProcess, 0), WAIT_OBJECT_0);  // it ended first
  EXPECT_GE(elapsed, 1000u);
  EXPECT_FALSE(pathExists(doomed.path()));
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
  CloseHandle(sleeper.hThread);
  CloseHandle(sleeper.hProcess);
}

TEST_F(Install, CleanupModeRemovesNothingWithoutAValidHandle) {
  test::TempFolder kept;
  EXPECT_EQ(runInherited(run.program, L"abc \"" + kept.path() + L"\""), 0u);
  EXPECT_TRUE(folderExists(kept.path()));
  // A handle that is not a process: an event, already signalled.
  SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
  HANDLE event = CreateEventW(&inherit, TRUE, TRUE, nullptr);
  EXPECT_EQ(runInherited(run.program, std::to_wstring(reinterpret_cast<INT_PTR>(event)) + L" \"" +
                                          kept.path() + L"\""),
            0u);
  EXPECT_TRUE(folderExists(kept.path()));
  CloseHandle(event);
}

TEST_F(Install, SupportFourRemovesTheSourceFolderAfterTheInstaller) {
  test::TempFolder removable;
  ASSERT_TRUE(copyFileOver(run.program, removable.file(L"stelvane.exe")));
  test::writeBytes(removable.file(L"a.txt"), "a");
  test::writeUnicodeFile(removable.file(L"INSTALL.INI"),
                         std::wstring(L"[OPTION_INSTALL]\r\nINSTALL_VZF=%REP_SRC%\\desc.vzf\r\n") +
                             kDialog + kFinish);
  test::writeUnicodeFile(removable.file(L"desc.vzf"), L"[KXF]\r\nAPPLI=StelvaneTest\r\n[GEN]\r\nSUPPORT=4\r\n");
  run.program = removable.file(L"stelvane.exe");
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(fileExists(target.file(L"fin.txt")));
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = !pathExists(removable.path());
    if (!gone) Sleep(100);
  }
  EXPECT_TRUE(gone);
}

TEST_F(Install, OtherSupportTypesLeaveTheSourceFolder) {
  test::writeUnicodeFile(source.file(L"desc.vzf"), L"[GEN]\r\nSUPPORT=3\r\n");
  script(std::wstring(L"[OPTION_INSTALL]\r\nINSTALL_VZF=%REP_SRC%\\desc.vzf\r\n") + kDialog + kFinish);
  EXPECT_EQ(install().exitCode, 0u);
  Sleep(1500);
  EXPECT_TRUE(fileExists(source.file(L"stelvane.exe")));
}

TEST(CommandeComposante, HandsOutTheInstallersStrings) {
  HMODULE module = LoadLibraryExW((test::programFolder() + L"stelvane.exe").c_str(), nullptr, 0);
  ASSERT_NE(module, nullptr);
  // Through void* as GetProcAddress's callers must.
  auto command = reinterpret_cast<int32_t(WINAPI*)(int32_t, void*)>(
      reinterpret_cast<void*>(GetProcAddress(module, "CommandeComposante")));
  ASSERT_NE(command, nullptr);
  wchar_t buffer[128] = {};
  StelvaneComponentBlock block = {1, buffer, 128, 0, 0};
  EXPECT_EQ(command(3, &block), 32);  // characters, the accent counting one
  EXPECT_EQ(block.result, 32);
  EXPECT_STREQ(buffer, L"Préparation de l'installation...");
  block.stringId = 28846;
  command(3, &block);
  EXPECT_STREQ(buffer, L"Fonction <%s>, n° de syntaxe <%d>");
  block.stringId = 2;
  command(3, &block);
  EXPECT_STREQ(buffer, L"Veuillez insérer la disquette suivante\nDisquette %i attendue.");
  // A small buffer gets what fits, NUL-terminated.
  StelvaneComponentBlock small = {1, buffer, 5, 0, 0};
  EXPECT_EQ(command(3, &small), 4);
  EXPECT_STREQ(buffer, L"Prép");
  EXPECT_EQ(command(4, &block), -1);
  EXPECT_EQ(command(7, &block), 0);
  EXPECT_EQ(command(3, nullptr), 0);
  FreeLibrary(module);
}

TEST_F(Install, SampleInstallsSilentlyWithTheTool) {
  // What the README's command does: the sample beside stelvane.exe, run by stelvane-silent.
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((std::wstring(STELVANE_SAMPLE_DIR) + L"\\*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      copyFileOver(std::wstring(STELVANE_SAMPLE_DIR) + L"\\" + data.cFileName, source.file(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  const std::wstring folder = target.file(L"Lirno");
  const DWORD code = runInherited(test::programFolder() + L"stelvane-silent.exe",
                                  L"\"" + run.program + L"\" \"" + folder + L"\"");
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(fileExists(folder + L"\\LISEZMOI.TXT"));
  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, L"Software\\Halvorn\\Lirno", L"Dossier"), folder);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvorn\\Lirno");
}

}  // namespace
}  // namespace stelvane
