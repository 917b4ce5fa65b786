#pragma once
// Whether a substitution entry begins at a place of a text: while the
// reduction is idle and none does, its result there is the character's own
// substitution, and the reducer need not be asked.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "search/rules_tables.h"
#include "search/substitution_index.h"

namespace lirno {

class EntryPrefilter {
 public:
  explicit EntryPrefilter(const RulesTables& rules) : rules_(rules) {
    for (const SubstitutionEntry& e : rules.substitutions) {
      if (e.find.empty()) continue;
      const auto first = static_cast<unsigned char>(e.find[0]);
      startsEntry_[first] = true;
      if (e.find.size() == 1) {
        anySecond_[first] = true;
      } else {
        const auto second = static_cast<unsigned char>(e.find[1]);
        seconds_[first][second / 64] |= std::uint64_t{1} << (second % 64);
      }
    }
    // The second byte as the entries compare it: its upper-case form.
    for (int b = 0; b < 256; ++b) upperOf_[static_cast<std::size_t>(b)] = rules.upperOf(static_cast<unsigned char>(b));
    if (!rules.substitutions.empty()) index_ = SubstitutionIndex::of(rules);
  }

  // REQUIRES: `p` in a NUL-terminated text.
  bool entryBegins(const unsigned char* p) const {
    const unsigned char first = upperOf_[*p];
    if (!startsEntry_[first]) return false;
    if (!anySecond_[first]) {
      // Most entries are pairs: the byte after rules out nearly all of them.
      const unsigned char second = upperOf_[p[1]];
      if (!(seconds_[first][second / 64] >> (second % 64) & 1)) return false;
    }
    return index_->anyMatch(p);
  }

  // What the reducer gives at `p`, asking it only when it must.
  unsigned char reduce(Reducer& reducer, const unsigned char* p) const {
    if (reducer.idle() && !entryBegins(p)) return rules_.substitution[rules_.upperOf(*p)];
    return reducer.next(reinterpret_cast<const char*>(p));
  }

 private:
  const RulesTables& rules_;
  std::array<bool, 256> startsEntry_{};  // first bytes of the entries
  std::shared_ptr<const SubstitutionIndex> index_;
  std::array<std::array<std::uint64_t, 4>, 256> seconds_{};  // second bytes of the entries, by first
  std::array<bool, 256> anySecond_{};  // an entry of one byte: any second byte
  std::array<unsigned char, 256> upperOf_{};
};

}  // namespace lirno
