#include "processes.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "handle.h"
#include "installer.h"

namespace stelvane {

bool runAndWait(const std::wstring& commandLine, const std::wstring& folder) {
  std::wstring line = quoteProgramPart(commandLine);  // CreateProcessW may write into it
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return false;
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);
  // The handle tells the end: an exit code of 259 (STILL_ACTIVE) is a code like any other.
  HANDLE handle = processHandle.get();
  for (;;) {
    const DWORD woke =
        MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) break;  // ended (or the wait failed)
    if (!drainMessages()) {
      // A quit request waits in the queue for its loop: no more serving.
      WaitForSingleObject(handle, INFINITE);
      break;
    }
  }
  return true;
}

std::wstring quoteProgramPart(std::wstring_view commandLine) {
  const size_t start = commandLine.find_first_not_of(L" \t");
  if (start == std::wstring_view::npos || commandLine[start] == L'"') return std::wstring(commandLine);
  const std::wstring_view line = commandLine.substr(start);
  for (size_t dot = line.find(L'.'); dot != std::wstring_view::npos; dot = line.find(L'.', dot + 1)) {
    const size_t end = dot + 4;
    if (end > line.size() || (end < line.size() && line[end] != L' ' && line[end] != L'\t')) continue;
    for (const wchar_t* extension : {L".EXE", L".COM", L".BAT"}) {
      if (CompareStringOrdinal(line.data() + dot, 4, extension, 4, TRUE) == CSTR_EQUAL)
        return L"\"" + std::wstring(line.substr(0, end)) + L"\"" + std::wstring(line.substr(end));
    }
  }
  return std::wstring(commandLine);
}

bool shellOpen(const std::wstring& target, const std::wstring& folder) {
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      nullptr, L"open", target.c_str(), nullptr, folder.empty() ? nullptr : folder.c_str(),
      SW_SHOWNORMAL));
  return result > 32;
}

std::vector<std::wstring> runningProgramPaths() {
  std::vector<std::wstring> paths;
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return paths;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    wchar_t path[32768];
    DWORD size = ARRAYSIZE(path);
    if (QueryFullProcessImageNameW(process.get(), 0, path, &size)) paths.emplace_back(path, size);
  }
  return paths;
}

}  // namespace stelvane
