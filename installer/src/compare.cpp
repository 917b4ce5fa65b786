#include "compare.h"

#include <windows.h>

namespace stelvane {

int Collator::compare(std::wstring_view a, std::wstring_view b, bool ignoreAccents) const {
  DWORD flags = NORM_IGNORECASE | NORM_IGNOREWIDTH;
  if (ignoreAccents) flags |= NORM_IGNORENONSPACE;
  const int result = CompareStringEx(LOCALE_NAME_USER_DEFAULT, flags, a.data(),
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

}  // namespace stelvane
