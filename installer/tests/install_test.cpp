// End-to-end tests: each builds a source folder (stelvane.exe beside an
// INSTALL.INI), starts the installer, answers its windows and checks the outcome.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "automation.h"
#include "commande_composante.h"
#include "fs.h"
#include "paths.h"
#include "support/files_fixture.h"
#include "uninstall_record.h"
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

TEST_F(Install, AMissingMainArchiveFailsTheInstallation) {
  script(std::wstring(kDialog) + kFinish + L"[ARCHIVE]\r\nNOM_KXZ=lirno.zip\r\n");
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_FALSE(fileExists(target.file(L"fin.txt")));
}

TEST_F(Install, AFailedEntryInSilentModeGoesOnButEndsWithTheFailureCodeAndALog) {
  ASSERT_TRUE(copyFileOver(test::archivePath(L"bad-crc.zip"), source.file(L"bad-crc.zip")));
  script(std::wstring(kDialog) + kFinish + L"[ARCHIVE]\r\nNOM_KXZ=bad-crc.zip\r\n");
  const auto outcome = install();
  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.exitCode, 1u);
  EXPECT_TRUE(outcome.boxes.empty());
  // The other entries and the actions after the files are there.
  EXPECT_TRUE(fileExists(target.file(L"docs\\lisez-moi.txt")));
  EXPECT_FALSE(fileExists(target.file(L"docs\\long.txt")));
  EXPECT_TRUE(fileExists(target.file(L"fin.txt")));
  const std::wstring log = test::readUtf16File(target.file(L"INSTALL.LOG"));
  EXPECT_NE(log.find(L"(30) " + target.file(L"docs\\long.txt") + L"\r\n"), std::wstring::npos)
      << toUtf8(log);
  EXPECT_EQ(log.find(L"lisez-moi.txt"), std::wstring::npos);
  setAttributes(target.file(L"docs\\notes\\lecture-seule.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Install, AnUpgradeStillRegistersUnderTheApplicationsName) {
  // The installed program the upgrade path points at, with its version.
  test::TempFolder installed;
  ASSERT_TRUE(copyFileOver(test::programFolder() + L"stelvane_helper.exe", installed.file(L"lirno.exe")));
  const std::wstring keys = L"HKEY_CURRENT_USER\\Software\\StelvaneTests\\";
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\StelvaneTests", L"Prog", REG_SZ, installed.path().c_str(),
                  static_cast<DWORD>((installed.path().size() + 1) * sizeof(wchar_t)));
  RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\StelvaneTests", L"Racine", REG_SZ, target.path().c_str(),
                  static_cast<DWORD>((target.path().size() + 1) * sizeof(wchar_t)));
  ASSERT_TRUE(copyFileOver(test::archivePath(L"infozip.zip"), source.file(L"infozip.zip")));
  script(L"[OPTION_INSTALL]\r\nINSTALL_VZF=%REP_SRC%\\desc.vzf\r\n[ARCHIVE]\r\nNOM_KXZ=infozip.zip\r\n"
         L"[VERIFICATION_VERSION]\r\nBASEREG_REPPRG=" + keys + L"Prog\r\nBASEREG_REPRACINE=" + keys +
         L"Racine\r\nNOMEXE=lirno.exe\r\nCHAINEVERSION=Version\r\nNEWVERSION=3.0\r\n" + kDialog + kFinish);
  test::writeUnicodeFile(source.file(L"desc.vzf"),
                         L"[KXF]\r\nAPPLI=StelvaneTest\r\n[FICHIER]\r\nNB=1\r\n"
                         L"F00001=1/docs/%REP_INSTALL%/lisez-moi.txt/lisez-moi.txt/0/20240601120000/\r\n"
                         L"[RACCOURCI]\r\nNBRACCOURCI=1\r\nFIC00001=docs\\lisez-moi.txt\r\n"
                         L"LIB00001=Lisez-moi\r\nFLAG00001=2\r\n");
  test::ShellFoldersRedirect shellFolders;
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(fileExists(target.file(L"lisez-moi.txt")));
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\KXSetup\\1\\StelvaneTest", L"REPINST"),
            target.path());
  wchar_t group[64] = {};
  GetPrivateProfileStringW(L"RACCOURCI", L"NOM_GROUPE", L"", group, ARRAYSIZE(group),
                           source.file(L"INSTALL.INI").c_str());
  EXPECT_EQ(std::wstring(group), L"StelvaneTest");
  EXPECT_TRUE(fileExists(shellFolders.desktop() + L"\\Lisez-moi.LNK"));
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
  // The installation's own files, as the installer hands them to its copy.
  SetEnvironmentVariableW(L"STELVANE_SOURCE_SET", L"x.txt|sous\\dossier\\y.txt");
  const DWORD code = runInherited(run.program, std::to_wstring(reinterpret_cast<INT_PTR>(inheritable)) +
                                                   L" \"" + doomed.path() + L"\"");
  SetEnvironmentVariableW(L"STELVANE_SOURCE_SET", nullptr);
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

TEST_F(Install, SupportFourRemovesOnlyTheFilesOfTheInstallation) {
  // A download folder: the installation's files beside the user's own.
  test::TempFolder downloads;
  ASSERT_TRUE(copyFileOver(run.program, downloads.file(L"stelvane.exe")));
  ASSERT_TRUE(copyFileOver(test::archivePath(L"infozip.zip"), downloads.file(L"infozip.zip")));
  test::writeBytes(downloads.file(L"a.txt"), "a");
  test::writeBytes(downloads.file(L"notice.txt"), "notice");
  test::writeBytes(downloads.file(L"mes notes.txt"), "a moi");
  ASSERT_TRUE(createFolderTree(downloads.file(L"lettres")));
  test::writeBytes(downloads.file(L"lettres\\lettre.txt"), "a moi");
  test::writeUnicodeFile(downloads.file(L"INSTALL.INI"),
                         std::wstring(L"[OPTION_INSTALL]\r\nINSTALL_VZF=%REP_SRC%\\desc.vzf\r\n"
                                      L"[ARCHIVE]\r\nNOM_KXZ=infozip.zip\r\n") +
                             kDialog + kFinish);
  test::writeUnicodeFile(downloads.file(L"desc.vzf"),
                         L"[KXF]\r\nAPPLI=StelvaneTest\r\n[FICHIER]\r\nNB=1\r\n"
                         L"F00001=1//%REP_INSTALL%/notice.txt/notice.txt/0/20240601120000/\r\n"
                         L"PARAM00001=0/0/0/0/0/0/0/1\r\n[GEN]\r\nSUPPORT=4\r\n");
  run.program = downloads.file(L"stelvane.exe");
  const auto outcome = install();
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_TRUE(fileExists(target.file(L"notice.txt")));
  bool gone = false;
  for (int i = 0; i < 100 && !gone; ++i) {
    gone = !pathExists(downloads.file(L"stelvane.exe"));
    if (!gone) Sleep(100);
  }
  EXPECT_TRUE(gone);
  Sleep(300);
  for (const wchar_t* name : {L"INSTALL.INI", L"desc.vzf", L"infozip.zip", L"a.txt", L"notice.txt"})
    EXPECT_FALSE(pathExists(downloads.file(name))) << toUtf8(name);
  EXPECT_EQ(test::readBytes(downloads.file(L"mes notes.txt")), "a moi");
  EXPECT_EQ(test::readBytes(downloads.file(L"lettres\\lettre.txt")), "a moi");
}

// The names of the libraries a program's import directory names (those the
// loader resolves before the program's first instruction runs).
std::vector<std::string> importedLibraries(const std::string& image) {
  std::vector<std::string> names;
  auto at = [&](size_t offset, auto& value) {
    if (offset > image.size() || image.size() - offset < sizeof(value)) return false;
    std::memcpy(&value, image.data() + offset, sizeof(value));
    return true;
  };
  IMAGE_DOS_HEADER dos;
  IMAGE_NT_HEADERS64 nt;
  if (!at(0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE || !at(dos.e_lfanew, nt) ||
      nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
    return names;
  const size_t sections = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  // The file offset of a virtual address, through the section that holds it.
  auto fileOffset = [&](DWORD rva, size_t& offset) {
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER section;
      if (!at(sections + i * sizeof(section), section)) return false;
      const DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
      if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size) {
        offset = section.PointerToRawData + (rva - section.VirtualAddress);
        return true;
      }
    }
    return false;
  };
  const IMAGE_DATA_DIRECTORY directory = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  size_t offset = 0;
  if (directory.VirtualAddress == 0 || !fileOffset(directory.VirtualAddress, offset)) return names;
  for (IMAGE_IMPORT_DESCRIPTOR entry; at(offset, entry) && entry.Name != 0; offset += sizeof(entry)) {
    size_t name = 0;
    if (!fileOffset(entry.Name, name) || name >= image.size()) break;
    names.emplace_back(image.c_str() + name);
  }
  return names;
}

TEST(Program, ImportsOnlyLibrariesTheSystemLoadsFromItsOwnFolder) {
  // The loader takes these from the system folder whatever lies beside the
  // program (the "known DLLs"); any other library would be looked for in the
  // program's folder first, before the program can restrict the search.
  const std::set<std::string> known = {
      "advapi32.dll", "comdlg32.dll", "gdi32.dll",   "imm32.dll",   "kernel32.dll", "msvcrt.dll",
      "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "psapi.dll",  "rpcrt4.dll",   "sechost.dll",
      "setupapi.dll", "shell32.dll",  "shlwapi.dll", "user32.dll",  "ws2_32.dll"};
  const auto names = importedLibraries(test::readBytes(test::programFolder() + L"stelvane.exe"));
  bool kernel = false;
  for (std::string name : names) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    kernel = kernel || name == "kernel32.dll";
    EXPECT_TRUE(known.count(name)) << name << " is imported";
  }
  EXPECT_TRUE(kernel) << "the import directory was not read";
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

// What the sample installation leaves in the system, removed after the test.
void removeSampleRegistration() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvorn\\Lirno");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\LIRNO.EXE");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lirno");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\KXSetup\\1\\Lirno");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\Lirno Textes");
}

TEST_F(Install, TheSampleInstallsInListModeWithEverythingItRegisters) {
  // What the README's command does: the staged sample beside stelvane.exe, run by stelvane-silent.
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((std::wstring(STELVANE_SAMPLE_DIR) + L"\\*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      copyFileOver(std::wstring(STELVANE_SAMPLE_DIR) + L"\\" + data.cFileName, source.file(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  removeSampleRegistration();
  test::ShellFoldersRedirect shellFolders;
  const std::wstring log = target.file(L"modification.log");
  SetEnvironmentVariableW(L"STELVANE_MODIF_LOG", log.c_str());
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::wstring driver = std::wstring(system) + L"\\lirno-odbc.txt";

  const std::wstring folder = target.file(L"Lirno");
  const DWORD code = runInherited(test::programFolder() + L"stelvane-silent.exe",
                                  L"\"" + run.program + L"\" \"" + folder + L"\"");
  SetEnvironmentVariableW(L"STELVANE_MODIF_LOG", nullptr);
  EXPECT_EQ(code, 0u);

  // The files of the list, the uninstaller, the option's copy, the INI list.
  for (const wchar_t* name : {L"LIRNO.EXE", L"Lirno_help.htm", L"Lirno_About.txt", L"Corpus\\folio-1r.txt",
                              L"LISEZMOI.TXT", L"DESINST.EXE", L"exemple.txt", L"Lirno.ini"})
    EXPECT_TRUE(fileExists(folder + L"\\" + name)) << toUtf8(name);
  EXPECT_EQ(test::readBytes(folder + L"\\LISEZMOI.TXT"), test::readBytes(source.file(L"LISEZMOI.TXT")));
  wchar_t ini[MAX_PATH] = {};
  GetPrivateProfileStringW(L"Lirno", L"Dossier", L"", ini, MAX_PATH, (folder + L"\\Lirno.ini").c_str());
  EXPECT_EQ(std::wstring(ini), folder);

  // App Paths, the uninstall entry, the folder for the next installation, the REG list.
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\LIRNO.EXE", L""),
            toUpper(folder + L"\\LIRNO.EXE"));
  const std::wstring uninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lirno";
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, uninstall, L"DisplayName"), L"Lirno");
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, uninstall, L"UninstallString"),
            L"\"" + folder + L"\\DESINST.EXE\" /REG=\"Lirno\"");
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, L"Software\\Halvorn\\KXSetup\\1\\Lirno", L"REPINST"), folder);
  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, L"Software\\Halvorn\\Lirno", L"Version"), L"0.1");
  EXPECT_EQ(test::registryString(HKEY_CURRENT_USER, L"Software\\Halvorn\\Lirno", L"Dossier"), folder);

  // Shortcuts from the description's list, in French (the first language).
  const std::wstring group = shellFolders.programs() + L"\\Lirno\\";
  for (const std::wstring& link : {group + L"Lirno.LNK", group + L"Aide de Lirno.LNK",
                                   shellFolders.desktop() + L"\\Lirno.LNK"})
    EXPECT_TRUE(fileExists(link)) << toUtf8(link);

  // The extra components: the ODBC driver file and its values, the
  // data-access setup run in the installation folder, the modification.
  EXPECT_TRUE(fileExists(driver));
  EXPECT_EQ(test::registryString(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ODBC\\ODBCINST.INI\\Lirno Textes", L"Driver"), driver);
  EXPECT_TRUE(fileExists(folder + L"\\mdac_type.marker"));
  const std::wstring calls = fromUtf8(test::readBytes(log));
  EXPECT_NE(calls.find(L"IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW|CORPUS|corpus-2024\n"),
            std::wstring::npos) << toUtf8(calls);
  EXPECT_NE(calls.find(L"IModifAuto_bExecute|1|"), std::wstring::npos);

  // The uninstall record: tag first, then the sorted lines of everything above.
  const std::wstring record = test::readUtf16File(folder + L"\\UNINST.INF");
  EXPECT_EQ(record.find(L"EFF_TAG=Lirno\r\n"), 0u);
  const auto lines = splitRecordText(record);
  EXPECT_TRUE(std::is_sorted(lines.begin() + 1, lines.end(),
                             [](const std::wstring& a, const std::wstring& b) { return recordLineLess(a, b); }));
  const std::wstring upper = toUpper(folder);
  for (const std::wstring& line :
       {L"EFF_FIC=" + folder + L"\\LIRNO.EXE", L"EFF_FIC=" + folder + L"\\Corpus\\folio-1r.txt",
        L"EFF_FIC=" + folder + L"\\DESINST.EXE", L"EFF_REP=" + folder + L"\\Corpus\\",
        L"EFF_ICO=" + group + L"Lirno.LNK", L"EFF_ICO=" + shellFolders.desktop() + L"\\Lirno.LNK",
        L"EFF_FIC=" + driver,
        std::wstring(L"EFF_REG=HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\LIRNO.EXE"),
        std::wstring(L"EFF_ENT_REG=HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lirno\\UninstallString"),
        std::wstring(L"EFF_ENT_REG=HKEY_LOCAL_MACHINE\\Software\\Halvorn\\KXSetup\\1\\Lirno\\REPINST"),
        std::wstring(L"EFF_ENT_REG=HKEY_CURRENT_USER\\Software\\Halvorn\\Lirno\\Version"),
        std::wstring(L"EFF_ENT_REG=HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\Lirno Textes\\Driver")})
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << toUtf8(line);

  // Neither the installer's work folder nor the system folder itself is left to an uninstaller.
  for (const std::wstring& line : lines) {
    EXPECT_EQ(line.find(L"\\KX_"), std::wstring::npos) << toUtf8(line);
    EXPECT_NE(line, L"EFF_REP=" + std::wstring(system) + L"\\") << toUtf8(line);
  }

  deleteFile(driver);
  removeSampleRegistration();
}

}  // namespace
}  // namespace stelvane
