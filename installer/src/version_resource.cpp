#include "version_resource.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "system_library.h"

namespace stelvane {

namespace {

// version.dll's functions, from the system folder.
struct VersionFunctions {
  using Size = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using Info = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using Query = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  Size size = systemFunction<Size>(L"version.dll", "GetFileVersionInfoSizeW");
  Info info = systemFunction<Info>(L"version.dll", "GetFileVersionInfoW");
  Query query = systemFunction<Query>(L"version.dll", "VerQueryValueW");
  bool loaded() const { return size && info && query; }
};

const VersionFunctions& versionFunctions() {
  static const VersionFunctions functions;
  return functions;
}

std::optional<std::wstring> query(std::vector<BYTE>& data, const std::wstring& block) {
  void* value = nullptr;
  UINT length = 0;
  if (!versionFunctions().query(data.data(), block.c_str(), &value, &length) || !value || length == 0)
    return std::nullopt;
  std::wstring text(static_cast<const wchar_t*>(value), length);
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

}  // namespace

std::optional<std::wstring> versionString(const std::wstring& file, std::wstring_view name) {
  const VersionFunctions& functions = versionFunctions();
  if (name.size() > 50 || !functions.loaded()) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = functions.size(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!functions.info(file.c_str(), 0, size, data.data())) return std::nullopt;

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (functions.query(data.data(), L"\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translations), &length) &&
      translations && length >= sizeof(Translation)) {
    wchar_t block[128];
    swprintf(block, ARRAYSIZE(block), L"\\StringFileInfo\\%04x%04x\\%.*ls",
             translations[0].language, translations[0].codePage, static_cast<int>(name.size()),
             name.data());
    if (auto text = query(data, block)) return text;
  }
  return query(data, L"\\StringFileInfo\\040904E4\\" + std::wstring(name));
}

}  // namespace stelvane
