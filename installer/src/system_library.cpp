#include "system_library.h"

#include <string>

namespace stelvane {

HMODULE systemLibrary(const wchar_t* name) {
  // The system folder only; a manifest's side-by-side choice (the common
  // controls version 6) still applies.
  HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // A system without the search flags: the full path in the system folder.
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, n) + L"\\" + name).c_str());
}

}  // namespace stelvane
