// A stand-in for the data-access setup program "mdac_type.exe": it leaves
// "mdac_type.marker" in its current folder, holding its own path (UTF-8),
// and exits after a short while so that the installer has to wait for it.
#include <windows.h>

int wmain() {
  wchar_t self[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  Sleep(200);
  HANDLE file = CreateFileW(L"mdac_type.marker", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  char buffer[4 * MAX_PATH] = {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, self, static_cast<int>(n), buffer,
                                         sizeof(buffer), nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, buffer, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  return 0;
}
