#include "processes.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "handle.h"

namespace stelvane {

bool runAndWait(const std::wstring& commandLine, const std::wstring& folder, DWORD pollMs) {
  std::wstring line = commandLine;  // CreateProcessW may write into it
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return false;
  Handle processHandle(process.hProcess);
  Handle threadHandle(process.hThread);
  DWORD code = STILL_ACTIVE;
  while (GetExitCodeProcess(processHandle.get(), &code) && code == STILL_ACTIVE) Sleep(pollMs);
  return true;
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
