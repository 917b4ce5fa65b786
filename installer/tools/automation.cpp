#include "automation.h"

#include <set>

namespace stelvane::automation {

namespace {

constexpr int kLanguageList = 102;  // the drop-down list of the language window
constexpr int kFolderField = 108;   // the folder field of the main window

struct Search {
  DWORD processId;
  const wchar_t* windowClass;
  std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[64] = {};
  GetClassNameW(window, name, ARRAYSIZE(name));
  if (owner == search->processId && wcscmp(name, search->windowClass) == 0 && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> windowsOf(DWORD processId, const wchar_t* windowClass) {
  Search search{processId, windowClass, {}};
  EnumWindows(collect, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring textOf(HWND window) {
  wchar_t text[4096] = {};
  SendMessageTimeoutW(window, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 2000, nullptr);
  return text;
}

BOOL CALLBACK boxText(HWND child, LPARAM data) {
  wchar_t name[32] = {};
  GetClassNameW(child, name, ARRAYSIZE(name));
  // The message text is the box's static control with identifier 0xFFFF.
  if (_wcsicmp(name, L"Static") == 0 && GetDlgCtrlID(child) == 0xFFFF) {
    std::wstring text = textOf(child);
    if (!text.empty()) *reinterpret_cast<std::wstring*>(data) = text;
  }
  return TRUE;
}

std::wstring commandLine(const Run& run) {
  std::wstring line = L"\"" + run.program + L"\"";
  for (const auto& a : run.arguments) line += L" " + a;
  return line;
}

}  // namespace

std::wstring setWinIni(const wchar_t* section, const wchar_t* key, const std::wstring& value) {
  wchar_t previous[1024] = {};
  GetProfileStringW(section, key, L"", previous, ARRAYSIZE(previous));
  WriteProfileStringW(section, key, value.empty() ? nullptr : value.c_str());
  return previous;
}

Outcome runInstaller(const Run& run) {
  Outcome outcome;
  const std::wstring previousSilent = setWinIni(L"STELVANE", L"SILENT", run.silent ? L"1" : L"");

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring line = commandLine(run);
  outcome.started = CreateProcessW(run.program.c_str(), line.data(), nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process) != 0;
  if (!outcome.started) {
    setWinIni(L"STELVANE", L"SILENT", previousSilent);
    return outcome;
  }
  CloseHandle(process.hThread);

  std::set<HWND> handled;
  const ULONGLONG deadline = GetTickCount64() + run.timeoutMs;
  for (;;) {
    if (WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0) {
      outcome.finished = true;
      break;
    }
    if (GetTickCount64() > deadline) {
      TerminateProcess(process.hProcess, 255);
      WaitForSingleObject(process.hProcess, 5000);
      break;
    }
    for (HWND box : windowsOf(process.dwProcessId, L"#32770")) {
      if (handled.count(box)) continue;
      handled.insert(box);
      Box seen{textOf(box), L""};
      EnumChildWindows(box, boxText, reinterpret_cast<LPARAM>(&seen.text));
      outcome.boxes.push_back(seen);
      const bool hasYes = GetDlgItem(box, IDYES) != nullptr;
      const int answer = hasYes ? (run.answerNo ? IDNO : IDYES) : IDOK;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    }
    for (HWND window : windowsOf(process.dwProcessId, L"AMORCE_CHOIX")) {
      if (handled.count(window)) continue;
      handled.insert(window);
      outcome.sawLanguageWindow = true;
      if (run.language > 0) {
        SendMessageW(GetDlgItem(window, kLanguageList), CB_SETCURSEL, run.language - 1, 0);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0);
      } else {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0);
      }
    }
    for (HWND window : windowsOf(process.dwProcessId, L"AMORCE")) {
      if (handled.count(window)) continue;
      handled.insert(window);
      outcome.sawMainWindow = true;
      if (!run.folder.empty())
        SendMessageW(GetDlgItem(window, kFolderField), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(run.folder.c_str()));
      switch (run.mainAction) {
        case WindowAction::Ok: PostMessageW(window, WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), 0); break;
        case WindowAction::Cancel: PostMessageW(window, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0); break;
        case WindowAction::Close: PostMessageW(window, WM_CLOSE, 0, 0); break;
      }
    }
  }
  GetExitCodeProcess(process.hProcess, &outcome.exitCode);
  CloseHandle(process.hProcess);
  setWinIni(L"STELVANE", L"SILENT", previousSilent);
  return outcome;
}

}  // namespace stelvane::automation
