// The comparison service: locale-aware text comparison under the user's
// default locale, ignoring case (and accents when asked).
#pragma once

#include <string>
#include <string_view>

namespace stelvane {

class Collator {
 public:
  // < 0, 0 or > 0 as `a` sorts before, equal to or after `b`.
  int compare(std::wstring_view a, std::wstring_view b, bool ignoreAccents = false) const;
  bool equal(std::wstring_view a, std::wstring_view b, bool ignoreAccents = false) const {
    return compare(a, b, ignoreAccents) == 0;
  }
  // True when `text` begins with `prefix` under the same rules.
  bool startsWith(std::wstring_view text, std::wstring_view prefix, bool ignoreAccents = false) const;
  // A key that is the same for two texts exactly when compare() finds them
  // equal, for sets of texts that must be told apart quickly.
  std::string key(std::wstring_view text, bool ignoreAccents = false) const;
};

}  // namespace stelvane
