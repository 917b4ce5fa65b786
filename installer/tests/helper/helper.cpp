// stelvane_helper: a program for the tests to start.
//   SLEEP ms          sleeps, then exits with 0
//   MARK path [text]  writes `text` (UTF-8) into `path`, exits with 0
//   EXIT code         exits with `code` at once
// Its version resource (helper.rc) gives a program with known version strings.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc >= 3 && _wcsicmp(argv[1], L"SLEEP") == 0) {
    Sleep(static_cast<DWORD>(_wtoi(argv[2])));
    return 0;
  }
  if (argc >= 3 && _wcsicmp(argv[1], L"EXIT") == 0) return _wtoi(argv[2]);
  if (argc >= 3 && _wcsicmp(argv[1], L"MARK") == 0) {
    HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::wstring text = argc >= 4 ? argv[3] : L"";
    char buffer[4096] = {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                      buffer, sizeof(buffer), nullptr, nullptr);
    DWORD written = 0;
    WriteFile(file, buffer, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(file);
    return 0;
  }
  return 2;
}
