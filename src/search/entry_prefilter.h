#pragma once
// Whether a substitution entry begins at a place of a text: while the
// reduction is idle and none does, its result there is the character's own
// substitution, and the reducer need not be asked.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "search/rules_tables.h"

namespace lirno {

class EntryPrefilter {
 public:
  explicit EntryPrefilter(const RulesTables& rules) : rules_(rules) {
    for (const SubstitutionEntry& e : rules.substitutions) {
      if (!e.find.empty()) byFirst_[static_cast<unsigned char>(e.find[0])].push_back(&e.find);
    }
  }

  // REQUIRES: `p` in a NUL-terminated text.
  bool entryBegins(const unsigned char* p) const {
    const auto& entries = byFirst_[rules_.upperOf(*p)];
    for (const std::string* find : entries) {
      std::size_t j = 1;
      while (j < find->size() && p[j] != 0 &&
             rules_.upperOf(p[j]) == static_cast<unsigned char>((*find)[j])) {
        ++j;
      }
      if (j == find->size()) return true;
    }
    return false;
  }

  // What the reducer gives at `p`, asking it only when it must.
  unsigned char reduce(Reducer& reducer, const unsigned char* p) const {
    if (reducer.idle() && !entryBegins(p)) return rules_.substitution[rules_.upperOf(*p)];
    return reducer.next(reinterpret_cast<const char*>(p));
  }

 private:
  const RulesTables& rules_;
  std::array<std::vector<const std::string*>, 256> byFirst_;
};

}  // namespace lirno
