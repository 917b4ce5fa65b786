#include "search/rules_tables.h"

namespace lirno {

void RulesTables::reset() {
  upper.fill(0);
  substitution.fill(0);
  separatorClass.fill(0);
  vowel.fill(0);
  consonant.fill(0);
  for (int c = 32; c < 256; ++c) {
    const auto u = static_cast<std::uint8_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    upper[static_cast<std::size_t>(c)] = u;
    substitution[static_cast<std::size_t>(c)] = u;
  }
  substitutions.clear();
  filters.clear();
  markers = Markers();
}

}  // namespace lirno
