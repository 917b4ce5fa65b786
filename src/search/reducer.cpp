// The orthographic reduction: multi-character substitutions first, in file
// order, then the single-character map of the upper-cased character.
#include "search/rules_tables.h"
#include "search/substitution_index.h"

namespace lirno {

Reducer::Reducer(const RulesTables& tables) : tables_(tables) {
  for (const SubstitutionEntry& e : tables.substitutions) {
    if (!e.find.empty()) startsEntry_[static_cast<unsigned char>(e.find[0])] = true;
  }
  if (!tables.substitutions.empty()) index_ = SubstitutionIndex::of(tables);
}

unsigned char Reducer::next(const char* p) {
  if (emit_ > 0) {
    --emit_;
    if (swallow_ > 0) --swallow_;
    return static_cast<unsigned char>(entry_->replacement[nextReplacement_++]);
  }
  if (swallow_ > 0) {
    --swallow_;
    return 0;
  }
  const auto* text = reinterpret_cast<const unsigned char*>(p);
  const unsigned char first = tables_.upper[text[0]];
  if (startsEntry_[first]) {
    // The first entry in list order that matches here; the index compares
    // up to the text's NUL, whatever the entry holds.
    const std::int32_t found = index_->firstMatch(text);
    if (found >= 0) {
      const SubstitutionEntry& e = tables_.substitutions[static_cast<std::size_t>(found)];
      const std::size_t m = e.find.size();
      entry_ = &e;
      nextReplacement_ = 0;
      const int k = static_cast<int>(e.replacement.size());
      if (k == 0) {
        swallow_ = static_cast<int>(m) - 1;
        emit_ = 0;
        return 0;
      }
      // The first replacement character stands for this character.
      swallow_ = static_cast<int>(m) - 1;
      emit_ = k - 1;
      return static_cast<unsigned char>(e.replacement[nextReplacement_++]);
    }
  }
  return tables_.substitution[first];
}

}  // namespace lirno
