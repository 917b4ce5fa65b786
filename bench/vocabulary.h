#pragma once
// The vocabulary of the generated corpus, most frequent first, Windows-1252:
// common words of old French prose, then made-up words from syllables. The
// benchmarks take their search strings from it.
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace lirno::bench {

inline std::vector<std::string> vocabulary() {
  static const char* const kCommon[] = {
      "de", "et", "la", "le", "li", "que", "a", "il", "en", "ne", "se", "qui", "les", "si", "du",
      "un", "por", "sa", "son", "mout", "roi", "ot", "dist", "vos", "nos", "dame", "sire", "bien",
      "chevalier", "amour", "cuer", "dieu", "terre", "seignor", "fille", "fils", "chastel", "cort",
      "for\xeat", "\xe9p\xe9" "e", "fr\xe8re", "m\xe8re", "\xe2me", "p\xe9" "ch\xe9", "\xe9t\xe9",
      "vint", "fu", "ert", "avoit", "estoit", "tant", "come", "quant", "puis", "onques", "molt",
      "honor", "armes", "cheval", "escu", "lance", "bataille", "mort", "vie", "jor", "nuit", "ore",
      "ainz", "or", "ici", "la", "ou", "aus", "lor", "ses", "mes", "tes", "ceste", "cil", "cele",
      "grant", "petit", "bel", "bele", "biau", "preu", "sage", "fol", "povre", "riche", "loial",
      "hom", "fame", "enfant", "pere", "oncle", "niece", "reine", "duc", "conte", "baron", "vassal",
      "eglise", "messe", "moine", "abbe", "clerc", "livre", "lettre", "parchemin", "encre", "plume",
      "mer", "nef", "isle", "vent", "pluie", "soleil", "lune", "estoile", "ciel", "enfer", "paradis",
      "aventure", "queste", "graal", "table", "ronde", "lac", "fontaine", "arbre", "pr\xe9", "jardin",
      "or", "argent", "fer", "pierre", "gemme", "anel", "robe", "mantel", "chape", "heaume", "hauberc",
      "\xe9l\xe9ment", "qu'il", "lealment", "durement", "doucement", "hautement", "vraiement"};
  std::vector<std::string> words;
  std::set<std::string> seen;
  for (const char* w : kCommon) {
    if (seen.insert(w).second && std::string(w).find('\'') == std::string::npos) words.emplace_back(w);
  }
  static const char* const kSyllables[] = {
      "ca", "de", "li", "mo", "nu", "pra", "sti", "ter", "vol", "qu\xe9", "ro", "sa", "be", "fi",
      "gra", "ul", "\xe9t", "or", "an", "i\xe8", "pe", "tus", "cum", "ver", "bo", "ma", "ne",
      "\xe0s", "ri", "lo", "che", "val", "gu", "eur", "ois", "ant", "ent", "mes", "ai", "oi"};
  std::mt19937 engine(7);
  while (words.size() < 20000) {
    std::string w;
    const int n = 2 + static_cast<int>(engine() % 3);
    for (int i = 0; i < n; ++i) w += kSyllables[engine() % (sizeof kSyllables / sizeof kSyllables[0])];
    if (seen.insert(w).second) words.push_back(w);
  }
  return words;
}

}  // namespace lirno::bench
