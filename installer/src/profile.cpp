#include "profile.h"

#include <windows.h>

#include <vector>

#include "installer.h"

namespace stelvane {

std::wstring readProfile(const std::wstring& file, std::wstring_view section,
                         std::wstring_view key, std::wstring_view defaultValue, size_t capacity) {
  std::vector<wchar_t> buffer(capacity, L'\0');
  const std::wstring s(section), k(key), d(defaultValue);
  const DWORD n = GetPrivateProfileStringW(s.c_str(), k.c_str(), d.c_str(), buffer.data(),
                                           static_cast<DWORD>(buffer.size()), file.c_str());
  return std::wstring(buffer.data(), n);
}

int readProfileInt(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                   int defaultValue) {
  const std::wstring s(section), k(key);
  return static_cast<int>(GetPrivateProfileIntW(s.c_str(), k.c_str(), defaultValue, file.c_str()));
}

bool writeProfile(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                  std::wstring_view value) {
  const std::wstring s(section), k(key), v(value);
  return WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), file.c_str()) != 0;
}

int readWinIniInt(std::wstring_view section, std::wstring_view key, int defaultValue) {
  const std::wstring s(section), k(key);
  return static_cast<int>(GetProfileIntW(s.c_str(), k.c_str(), defaultValue));
}

std::wstring localizedSection(std::wstring_view section, std::wstring_view suffix) {
  std::wstring name(section);
  if (!suffix.empty()) {
    name += L'_';
    name += suffix;
  }
  return name;
}

std::wstring readLocalized(const Installer& installer, std::wstring_view section,
                           std::wstring_view key, std::wstring_view defaultValue, size_t capacity,
                           const std::wstring* file) {
  return readProfile(file ? *file : installer.scriptPath,
                     localizedSection(section, installer.languageSuffix), key, defaultValue,
                     capacity);
}

std::wstring numberedKey(std::wstring_view prefix, int n) {
  return std::wstring(prefix) + std::to_wstring(n);
}

std::wstring fiveDigitKey(std::wstring_view prefix, int n) {
  wchar_t digits[16];
  swprintf(digits, ARRAYSIZE(digits), L"%05d", n);
  return std::wstring(prefix) + digits;
}

bool firstCharIs(std::wstring_view value, wchar_t c) { return !value.empty() && value[0] == c; }

}  // namespace stelvane
