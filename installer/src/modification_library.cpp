#include "modification_library.h"

#include <vector>

namespace stelvane {

namespace {

using Create = void*(WINAPI*)();
using WithObject = BOOL(WINAPI*)(void*);
using WithText = void(WINAPI*)(void*, const wchar_t*);
using WithTwoTexts = void(WINAPI*)(void*, const wchar_t*, const wchar_t*);
using AddFolder = BOOL(WINAPI*)(void*, const wchar_t*, int, wchar_t*, int);
using AddRep = BOOL(WINAPI*)(void*, wchar_t*, int);
using WithFlag = void(WINAPI*)(void*, int);
using Execute = BOOL(WINAPI*)(void*, int, HWND);
using Report = const wchar_t*(WINAPI*)(void*);
using ObjectOnly = void(WINAPI*)(void*);

// The size of the output buffers the library fills (characters).
constexpr int kOutputSize = 4096;

}  // namespace

ModificationLibrary::ModificationLibrary(const std::wstring& path) {
  // A full path: the library's dependencies may come from its own folder,
  // never from the current folder.
  module_ = LoadLibraryExW(path.c_str(), nullptr,
                           LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
}

ModificationLibrary::~ModificationLibrary() {
  if (!module_) return;
  if (object_) {
    if (auto release = lookup<ObjectOnly>("LibereIModifAuto")) release(object_);
  }
  FreeLibrary(module_);
}

template <typename Function>
Function ModificationLibrary::lookup(const char* name) const {
  if (!module_) return nullptr;
  // Through void*, as the result of GetProcAddress must be converted.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
}

bool ModificationLibrary::create() {
  auto creator = lookup<Create>("pCreerIModifAuto");
  if (!creator) return false;
  object_ = creator();
  if (!object_) return false;
  auto ready = lookup<WithObject>("IModifAuto_bInitReussie");
  return ready && ready(object_) != 0;
}

const std::wstring& ModificationLibrary::report() {
  report_.clear();
  if (object_) {
    if (auto get = lookup<Report>("IModifAuto_pszGetReportW")) {
      if (const wchar_t* text = get(object_)) report_.assign(text, wcsnlen(text, 32768));
    }
  }
  return report_;
}

#define STELVANE_CALL(type, name, ...)                       \
  do {                                                       \
    if (!object_) return;                                    \
    if (auto call = lookup<type>(name)) call(object_, __VA_ARGS__); \
  } while (0)

void ModificationLibrary::setAnalysis(const std::wstring& path) {
  STELVANE_CALL(WithText, "IModifAuto_SetAnalyseW", path.c_str());
}
void ModificationLibrary::setAnalysisPassword(const std::wstring& password) {
  STELVANE_CALL(WithText, "IModifAuto_SetMdpAnalyseCrypteW", password.c_str());
}
void ModificationLibrary::setProgramFolder(const std::wstring& folder) {
  STELVANE_CALL(WithText, "IModifAuto_SetRepertoireEXEW", folder.c_str());
}
void ModificationLibrary::addFolder(const std::wstring& folderWithBackslash) {
  std::vector<wchar_t> output(kOutputSize + 1, L'\0');  // the text is not used
  STELVANE_CALL(AddFolder, "IModifAuto_bAjouteRepertoireW", folderWithBackslash.c_str(), 1,
                output.data(), kOutputSize);
}
void ModificationLibrary::addLocalisationFolder(const std::wstring& folderWithBackslash) {
  STELVANE_CALL(WithText, "IModifAuto_AjouteRepertoireLocalisationREPW", folderWithBackslash.c_str());
}
void ModificationLibrary::addRep() {
  std::vector<wchar_t> output(kOutputSize + 1, L'\0');
  STELVANE_CALL(AddRep, "IModifAuto_bAjouteREPW", output.data(), kOutputSize);
}
void ModificationLibrary::setOpeningPassword(const std::wstring& logicalName,
                                             const std::wstring& password) {
  STELVANE_CALL(WithTwoTexts, "IModifAuto_SetMotPasseWCrypteOuvertureFichierParNomLogiqueW",
                logicalName.c_str(), password.c_str());
}
void ModificationLibrary::setFinalPassword(const std::wstring& logicalName,
                                           const std::wstring& password) {
  STELVANE_CALL(WithTwoTexts, "IModifAuto_SetMotPasseWCrypteFinalFichierParNomLogiqueW",
                logicalName.c_str(), password.c_str());
}
void ModificationLibrary::saveInSourceSubfolder() {
  if (!object_) return;
  if (auto call = lookup<ObjectOnly>("IModifAuto_SetSauvegardeDansSousRepertoireSource")) call(object_);
}
void ModificationLibrary::setSaveFlag(int flag) {
  STELVANE_CALL(WithFlag, "IModifAuto_SetFlagSauvegarde", flag);
}
void ModificationLibrary::execute(HWND owner) {
  STELVANE_CALL(Execute, "IModifAuto_bExecute", 1, owner);  // its result is not used
}

#undef STELVANE_CALL

}  // namespace stelvane
