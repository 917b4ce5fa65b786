// Variant generation and conditions: [Genor] rules, a word and a condition
// from the input. The generation ends within its bounds and gives the word
// and distinct variants in order; a condition never fails to end.
//
// Input: 1 option byte (the level), then rules NUL word NUL condition.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "search/variants.h"

using lirno::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lirno::fuzz::Input in(data, size, 1, 3);
  lirno::RulesTables rules;
  rules.reset();
  rules.loadVariantRulesText(in.parts[0]);
  const int level = in.options[0] % 10;
  const std::string word(in.parts[1].substr(0, 64));

  lirno::GenerationBudget budget{4096, 512};
  const lirno::GeneratedVariants g = lirno::generateVariants(word, level, rules.variantRules, nullptr, &budget);
  if (!std::is_sorted(g.words.begin(), g.words.end()) ||
      std::adjacent_find(g.words.begin(), g.words.end()) != g.words.end()) {
    fail("variants not sorted and distinct");
  }
  if (!std::binary_search(g.words.begin(), g.words.end(), word)) fail("the word is not among its variants");
  if (g.words.size() > lirno::kMaxVariantsPerWord || g.words.size() > 513) fail("too many variants");
  for (const std::string& v : g.words) {
    if (v != word && v.size() > lirno::kMaxVariantLength) fail("a variant too long");
  }

  // The rules' own conditions and the input's, at every place of the word
  // and just outside it.
  const std::string_view condition = in.parts[2];
  for (long long x = -2; x <= static_cast<long long>(word.size()) + 1; ++x) {
    lirno::evaluateCondition(condition, word, x);
    for (const lirno::VariantRule& r : rules.variantRules) lirno::evaluateCondition(r.condition, word, x);
  }
  if (lirno::evaluateCondition("", word, 0) != 1) fail("an empty condition does not hold");

  // Variant strings for a small request.
  lirno::cArrowList strings;
  for (const std::string_view text : {std::string_view(word), std::string_view(word).substr(0, 3)}) {
    auto s = std::make_unique<lirno::SearchString>();
    s->pattern = std::string(text);
    strings.push_back(std::move(s));
  }
  const lirno::VariantLimits limits =
      lirno::createVariantStrings(strings, level, rules.variantRules, nullptr, {100, 2000});
  if (strings.size() > 102) fail("the request bound let more variants in");
  if (strings.size() == 102 && g.words.size() > 101 && !limits.perRequest) fail("a bound reached unsaid");
  for (std::size_t k = 2; k < strings.size(); ++k) {
    if (!strings[k]->parent || strings[k]->pattern == strings[k]->parent->pattern) fail("a variant string without its parent");
  }
  return 0;
}
