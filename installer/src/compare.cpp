#include "compare.h"

#include <windows.h>

namespace stelvane {

namespace {

DWORD flagsFor(bool ignoreAccents) {
  DWORD flags = NORM_IGNORECASE | NORM_IGNOREWIDTH;
  if (ignoreAccents) flags |= NORM_IGNORENONSPACE;
  return flags;
}

}  // namespace

int Collator::compare(std::wstring_view a, std::wstring_view b, bool ignoreAccents) const {
  const int result = CompareStringEx(LOCALE_NAME_USER_DEFAULT, flagsFor(ignoreAccents), a.data(),
                                     static_cast<int>(a.size()), b.data(),
                                     static_cast<int>(b.size()), nullptr, nullptr, 0);
  if (result == 0) {
    // The system refused the text: fall back to ordinal comparison ignoring case.
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                static_cast<int>(b.size()), TRUE) -
           CSTR_EQUAL;
  }
  return result - CSTR_EQUAL;
}

bool Collator::startsWith(std::wstring_view text, std::wstring_view prefix,
                          bool ignoreAccents) const {
  if (text.size() < prefix.size()) return false;
  return equal(text.substr(0, prefix.size()), prefix, ignoreAccents);
}

std::string Collator::key(std::wstring_view text, bool ignoreAccents) const {
  const DWORD flags = LCMAP_SORTKEY | flagsFor(ignoreAccents);
  const int length = static_cast<int>(text.size());
  const int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), length, nullptr, 0,
                              nullptr, nullptr, 0);
  if (n <= 0) {
    // No sort key from the system: the text upper-cased code unit by code unit.
    std::wstring upper(text);
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return std::string(reinterpret_cast<const char*>(upper.data()), upper.size() * sizeof(wchar_t));
  }
  std::string key(static_cast<size_t>(n), '\0');
  LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), length,
                reinterpret_cast<LPWSTR>(key.data()), n, nullptr, nullptr, 0);
  return key;
}

}  // namespace stelvane
