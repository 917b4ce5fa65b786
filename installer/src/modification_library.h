// The vendor's data-modification library, loaded by path. Every export is
// looked up by name at each call; a missing export makes that call do
// nothing and report failure.
#pragma once

#include <windows.h>

#include <string>

namespace stelvane {

class ModificationLibrary {
 public:
  // Loads `path` (its own folder may provide its dependencies).
  explicit ModificationLibrary(const std::wstring& path);
  // Releases the object and unloads the module.
  ~ModificationLibrary();
  ModificationLibrary(const ModificationLibrary&) = delete;
  ModificationLibrary& operator=(const ModificationLibrary&) = delete;

  bool loaded() const { return module_ != nullptr; }
  // pCreerIModifAuto, then IModifAuto_bInitReussie: true when the object is usable.
  bool create();
  // The library's text for its last failure (IModifAuto_pszGetReportW), kept
  // as a copy; empty when it gives none.
  const std::wstring& report();

  void setAnalysis(const std::wstring& path);
  void setAnalysisPassword(const std::wstring& password);
  void setProgramFolder(const std::wstring& folder);
  void addFolder(const std::wstring& folderWithBackslash);
  void addLocalisationFolder(const std::wstring& folderWithBackslash);
  void addRep();
  void setOpeningPassword(const std::wstring& logicalName, const std::wstring& password);
  void setFinalPassword(const std::wstring& logicalName, const std::wstring& password);
  void saveInSourceSubfolder();
  void setSaveFlag(int flag);
  void execute(HWND owner);

 private:
  template <typename Function>
  Function lookup(const char* name) const;

  HMODULE module_ = nullptr;
  void* object_ = nullptr;
  std::wstring report_;
};

}  // namespace stelvane
