#include "version_resource.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace stelvane {

namespace {

std::optional<std::wstring> query(std::vector<BYTE>& data, const std::wstring& block) {
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), block.c_str(), &value, &length) || !value || length == 0)
    return std::nullopt;
  std::wstring text(static_cast<const wchar_t*>(value), length);
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

}  // namespace

std::optional<std::wstring> versionString(const std::wstring& file, std::wstring_view name) {
  if (name.size() > 50) return std::nullopt;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;

  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
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
