#include "driver.h"

#include <objbase.h>

#include <vector>

#include "checks.h"
#include "fs.h"
#include "handle.h"
#include "installer.h"
#include "integration.h"
#include "language.h"
#include "macros.h"
#include "messages.h"
#include "paths.h"
#include "profile.h"
#include "section_actions.h"
#include "source_set.h"
#include "text.h"
#include "windows/language_window.h"
#include "windows/main_window.h"
#include "windows/window_classes.h"

namespace stelvane {

namespace {

std::wstring systemPath(UINT (*get)(LPWSTR, UINT)) {
  wchar_t path[MAX_PATH + 1] = {};
  const UINT n = get(path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(path, n) : std::wstring();
}

UINT windowsDirectory(LPWSTR buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); }
UINT systemDirectory(LPWSTR buffer, UINT size) { return GetSystemDirectoryW(buffer, size); }

// Quotes an argument for the child's command line; a trailing backslash is
// doubled so that it does not escape the closing quote.
std::wstring quoted(const std::wstring& argument) {
  std::wstring text = L"\"" + argument;
  if (!argument.empty() && argument.back() == L'\\') text += L'\\';
  return text + L"\"";
}

}  // namespace

void locateFolders(Installer& installer) {
  wchar_t program[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (n > 0 && n < MAX_PATH) installer.sourceFolder = folderOf(std::wstring(program, n));
  installer.windowsFolder = systemPath(windowsDirectory);
  installer.systemFolder = systemPath(systemDirectory);
  installer.scriptPath = installer.sourceFolder + L"INSTALL.INI";
  installer.workFolder = createWorkFolder(L"KX_");
}

int runStelvane(HINSTANCE instance, int argc, wchar_t** argv) {
  Installer installer;
  installer.instance = instance;
  installer.integration = createIntegration();
  registerWindowClasses(instance);
  installer.silent = readWinIniInt(L"STELVANE", L"SILENT", 0) != 0;
  locateFolders(installer);

  // Cleanup mode: a temporary copy started with a process handle and a folder.
  const bool cleanup = argc == 3;
  int exitCode = 1;
  if (cleanup) {
    runCleanupMode(argv[1], argv[2]);
    exitCode = 0;
  }

  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (!cleanup) {
    const std::wstring vzf =
        readProfile(installer.scriptPath, L"OPTION_INSTALL", L"INSTALL_VZF", L"", kPathSize);
    if (!vzf.empty()) installer.descriptionPath = expandMacros(installer, vzf);
    // Files left out make the installation incomplete, even where it went on.
    if (fileExists(installer.scriptPath))
      exitCode = installRun(installer) && installer.failedFiles == 0 ? 0 : 1;
  }

  if (!installer.workFolder.empty()) removeFolderUnlessKept(installer.workFolder);
  if (SUCCEEDED(com)) CoUninitialize();

  Handle cleanupProcess;
  if (!cleanup && !installer.descriptionPath.empty() &&
      firstCharIs(readProfile(installer.descriptionPath, L"GEN", L"SUPPORT", L"0"), L'4'))
    cleanupProcess.reset(startCleanupCopy(installer));

  installer.integration.reset();
  return exitCode;
}

bool installRun(Installer& installer) {
  const bool chosen = chooseLanguage(installer, [&](const std::vector<std::wstring>& labels) {
    return pickLanguage(installer.instance, installer.scriptPath, labels);
  });
  if (chosen) {
    runSectionActions(installer, L"AVANT_INSTALLATION", true);
    if (checkProductInstalled(installer) && prepareVersionCheck(installer)) {
      installer.success = false;
      MainWindow window(installer, [&](MainWindow& w) { installationSequence(installer, w); });
      if (window.create(screenIsHighResolution())) window.run();
      if (installer.success) return true;
    }
  }
  const std::wstring caption = readLocalized(installer, L"ERREUR_INSTALLATION", L"TITRE");
  if (!caption.empty())
    errorBox(installer, caption, readLocalized(installer, L"ERREUR_INSTALLATION", L"MESSAGE"));
  return false;
}

void installationSequence(Installer& installer, MainWindow& window) {
  window.enableInstallControls(false);
  window.enableCancel(window.texts().cancelWhileBusy);
  installer.busy = true;
  installer.stopRequested = false;

  auto stay = [&] {
    installer.busy = false;
    window.enableInstallControls(true);
    window.enableCancel(true);
  };
  auto finish = [&] {
    stay();
    window.close();
  };

  if (!confirmVersion(installer) || !checkProgramNotRunning(installer)) return finish();

  const std::wstring caption = readLocalized(installer, L"DIALOGUE", L"TITRE");
  std::wstring folder = window.folderText();
  if (folder.empty()) {
    warningBox(installer, caption, readLocalized(installer, L"DIALOGUE", L"T_REPNONVIDE"));
    return stay();
  }
  folder = normaliseInstallFolder(folder);
  installer.installFolder = folder;
  if (!folderExists(folder)) {
    if (!question(installer, caption, readLocalized(installer, L"DIALOGUE", L"T_REPINEXISTANT")))
      return stay();
    if (!createFolderTree(folder)) {
      warningBox(installer, caption, readLocalized(installer, L"DIALOGUE", L"T_REPNONCREE"));
      return stay();
    }
  }

  installer.integration->openUninstallRecord(installer);
  installer.installDrive = driveOf(folder);
  drainMessages();

  const std::wstring archive = readProfile(installer.scriptPath, L"ARCHIVE", L"NOM_KXZ");
  const bool placed = archive.empty() ||
                      installer.integration->placeMainArchive(installer, installer.sourceFolder + archive);
  if (placed) {
    drainMessages();
    runSectionActions(installer, L"OPTION1", window.optionChecked(1));
    runSectionActions(installer, L"OPTION2", window.optionChecked(2));
    installer.integration->createShortcutSet(installer);
    runSectionActions(installer, L"FIN_INSTALLATION", true);
    installer.success = true;
  }
  installer.integration->writeUninstallRecord(installer);
  finish();
}

void removeFolderUnlessKept(const std::wstring& folder) {
  if (readWinIniInt(L"INSTALL", L"GARDETEMP", 0) == 1) return;
  deleteFolderTree(folder);
}

bool runCleanupMode(const std::wstring& handleText, const std::wstring& folder) {
  long long value = 0;
  if (!parseDecimal(handleText, value) || value <= 0) return false;
  Handle process(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)));
  // Only a process handle counts: any other object that happens to carry this
  // value must not lead to a folder being removed.
  if (GetProcessId(process.get()) == 0 ||
      WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) {
    process.release();  // not ours to close: it was not a handle we can wait for
    return false;
  }
  process.reset();
  if (isRootFolder(folder)) return false;
  if (readWinIniInt(L"INSTALL", L"GARDETEMP", 0) == 1) return true;
  // Only the installation's own files go: the folder may hold the user's too
  // (a download folder). Without a list only an empty folder is removed.
  std::vector<wchar_t> list(32768);
  const DWORD n = GetEnvironmentVariableW(kSourceSetVariable, list.data(), static_cast<DWORD>(list.size()));
  removeSourceSet(folder, splitSourceSet(n < list.size() ? std::wstring_view(list.data(), n)
                                                         : std::wstring_view()));
  return true;
}

HANDLE startCleanupCopy(const Installer& installer) {
  wchar_t self[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  const std::wstring copy = createTempFile(L"DEL");
  if (copy.empty()) return nullptr;
  if (!copyFileOver(self, copy)) {
    deleteFile(copy);
    return nullptr;
  }
  // The copy disappears once its last handle closes (after the copy has ended).
  Handle file;
  {
    CriticalErrorMode mode;
    file.reset(CreateFileW(copy.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING,
                           FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING | FILE_FLAG_DELETE_ON_CLOSE,
                           nullptr));
  }
  // Synchronize to wait for it; query to let the copy check it is a process.
  HANDLE process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, GetCurrentProcessId());
  if (!process) return nullptr;
  // The copy inherits the list of what it may remove.
  SetEnvironmentVariableW(kSourceSetVariable, joinSourceSet(sourceSetNames(installer)).c_str());
  std::wstring command = quoted(copy) + L" " + decimal(reinterpret_cast<INT_PTR>(process)) + L" " +
                         quoted(installer.sourceFolder) + L" ";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child = {};
  if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &child)) {
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
  }
  Sleep(1000);
  return process;
}

}  // namespace stelvane
