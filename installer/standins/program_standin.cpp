// The application program of the sample installation, standing in for the
// workbench (which is not built for Windows here): it shows its own path and
// command line. The sample installs it as LIRNO.EXE and as its uninstaller
// DESINST.EXE.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH + 1] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring text = std::wstring(L"Programme d'exemple de l'installation de Lirno.\n\n") + self +
                            L"\n" + GetCommandLineW();
  MessageBoxW(nullptr, text.c_str(), L"Lirno", MB_OK | MB_ICONINFORMATION);
  return 0;
}
