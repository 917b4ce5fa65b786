// A stand-in for the vendor's data-modification library: it exports the
// functions the installer calls and appends one line per call, with its
// arguments, to the file named by the environment variable
// STELVANE_MODIF_LOG (UTF-8, fields separated by "|"). With
// STELVANE_MODIF_FAIL=1 its object reports that it could not initialise.
#include <windows.h>

#include <string>

namespace {

struct Object {
  bool ready = true;
  std::wstring report;
};

void log(const std::wstring& line) {
  wchar_t path[MAX_PATH + 1] = {};
  if (!GetEnvironmentVariableW(L"STELVANE_MODIF_LOG", path, MAX_PATH)) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::wstring text = line + L"\n";
  char buffer[8192];
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), buffer,
                                    sizeof(buffer), nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, buffer, static_cast<DWORD>(n), &written, nullptr);
  CloseHandle(file);
}

std::wstring text(const wchar_t* value) { return value ? value : L"(null)"; }

std::wstring currentFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  return folder;
}

}  // namespace

#define EXPORT extern "C" __declspec(dllexport)

EXPORT void* WINAPI pCreerIModifAuto() {
  auto* object = new Object;
  wchar_t fail[8] = {};
  if (GetEnvironmentVariableW(L"STELVANE_MODIF_FAIL", fail, 8) && fail[0] == L'1') {
    object->ready = false;
    object->report = L"Initialisation refusée";
  }
  log(L"pCreerIModifAuto|" + currentFolder());
  return object;
}

EXPORT BOOL WINAPI IModifAuto_bInitReussie(void* object) {
  log(L"IModifAuto_bInitReussie");
  return static_cast<Object*>(object)->ready;
}

EXPORT void WINAPI IModifAuto_SetAnalyseW(void*, const wchar_t* path) {
  const bool exists = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
  log(L"IModifAuto_SetAnalyseW|" + text(path) + (exists ? L"|present" : L"|absent"));
}

EXPORT void WINAPI IModifAuto_SetMdpAnalyseCrypteW(void*, const wchar_t* password) {
  log(L"IModifAuto_SetMdpAnalyseCrypteW|" + text(password));
}

EXPORT void WINAPI IModifAuto_SetRepertoireEXEW(void*, const wchar_t* folder) {
  log(L"IModifAuto_SetRepertoireEXEW|" + text(folder));
}

EXPORT BOOL WINAPI IModifAuto_bAjouteRepertoireW(void*, const wchar_t* folder, int flag,
                                                 wchar_t* output, int size) {
  log(L"IModifAuto_bAjouteRepertoireW|" + text(folder) + L"|" + std::to_wstring(flag) + L"|" +
      std::to_wstring(size));
  if (output && size > 0) lstrcpynW(output, L"répertoire ajouté", size);
  return TRUE;
}

EXPORT void WINAPI IModifAuto_AjouteRepertoireLocalisationREPW(void*, const wchar_t* folder) {
  log(L"IModifAuto_AjouteRepertoireLocalisationREPW|" + text(folder));
}

EXPORT BOOL WINAPI IModifAuto_bAjouteREPW(void*, wchar_t* output, int size) {
  log(L"IModifAuto_bAjouteREPW|" + std::to_wstring(size));
  if (output && size > 0) lstrcpynW(output, L"REP ajouté", size);
  return TRUE;
}

EXPORT void WINAPI IModifAuto_SetMotPasseWCrypteOuvertureFichierParNomLogiqueW(
    void*, const wchar_t* name, const wchar_t* password) {
  log(L"IModifAuto_SetMotPasseWCrypteOuvertureFichierParNomLogiqueW|" + text(name) + L"|" +
      text(password));
}

EXPORT void WINAPI IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW(
    void*, const wchar_t* name, const wchar_t* password) {
  log(L"IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW|" + text(name) + L"|" +
      text(password));
}

EXPORT void WINAPI IModifAuto_SetSauvegardeDansSousRepertoireSource(void*) {
  log(L"IModifAuto_SetSauvegardeDansSousRepertoireSource");
}

EXPORT void WINAPI IModifAuto_SetFlagSauvegarde(void*, int flag) {
  log(L"IModifAuto_SetFlagSauvegarde|" + std::to_wstring(flag));
}

EXPORT BOOL WINAPI IModifAuto_bExecute(void*, int flag, HWND) {
  log(L"IModifAuto_bExecute|" + std::to_wstring(flag) + L"|" + currentFolder());
  return TRUE;
}

EXPORT const wchar_t* WINAPI IModifAuto_pszGetReportW(void* object) {
  log(L"IModifAuto_pszGetReportW");
  return static_cast<Object*>(object)->report.c_str();
}

EXPORT void WINAPI LibereIModifAuto(void* object) {
  log(L"LibereIModifAuto");
  delete static_cast<Object*>(object);
}
