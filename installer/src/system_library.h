// Libraries that are not among the system's known DLLs (version.dll,
// comctl32.dll), loaded at run time from the system folder. A static import
// of them would be resolved from the program's own folder first, before the
// program can restrict where libraries come from: a library planted beside
// the installer in a download folder would run with its rights.
#pragma once

#include <windows.h>

namespace stelvane {

// The module of `name` (a bare file name) from the system folder, kept
// loaded for the rest of the process; null when it cannot be loaded.
HMODULE systemLibrary(const wchar_t* name);

// The function `function` of the system library `name`, or null.
template <typename Function>
Function systemFunction(const wchar_t* name, const char* function) {
  HMODULE module = systemLibrary(name);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, function)))
                : nullptr;
}

}  // namespace stelvane
