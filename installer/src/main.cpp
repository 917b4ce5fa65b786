#include <windows.h>
#include <shellapi.h>

#include "driver.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Libraries load from the system folder only: never from the source folder
  // or the current folder the installer was started in.
  SetDllDirectoryW(L"");
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int code = stelvane::runStelvane(instance, argv ? argc : 0, argv);
  if (argv) LocalFree(argv);
  return code;
}
