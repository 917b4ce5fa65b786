#pragma once
// The search request: search strings (cArrowList), filter patterns
// (cFilterList) and the options of the search dialog. Plain records that the
// results library reads too; the operations on them are in
// request_builder.h, matcher.h and driver.h. Texts are Windows-1252 bytes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lirno {

// The "Position" choice of a search string.
enum Place : int {
  kPlaceAnywhere = 0,    // "Indifférente"
  kPlaceWordStart = 1,   // "Début de mot"
  kPlaceWordEnd = 2,     // "Fin de mot"
  kPlaceWordMiddle = 3,  // "Milieu de mot"
  kPlaceWholeWord = 4,   // "Mot entier"
};

// "Orthographe".
enum Spelling : int {
  kSpellingSame = 0,       // "Identique"
  kSpellingUpper = 1,      // "Majuscule"
  kSpellingReduced = 2,    // "Modifiée"
  kSpellingGenerated = 3,  // "Générée"
};

// "Contexte"; the number is also the highest separator class that stays
// inside the context.
enum Context : int {
  kContextText = 0,       // "Texte"
  kContextWord = 1,       // "Mot"
  kContextSentence = 2,   // "Phrase"
  kContextParagraph = 3,  // "Paragraphe"
};

// Result spellings ("Résultat"): 0 "Identique", 1 "Majuscule", 2 "Modifié".
enum ResultSpelling : int { kResultSame = 0, kResultUpper = 1, kResultReduced = 2 };

struct SearchString {
  std::string text;     // as entered
  std::string pattern;  // as matched: rebuilt from text at each search; a variant's own
  int place = kPlaceAnywhere;
  bool exclude = false;
  std::int32_t order = 0;  // rank for "Dans l'ordre"
  // A generated variant: the string it comes from. A string added in the
  // variant dialog: itself. A typed string: none.
  const SearchString* parent = nullptr;
};

// Owned records with stable addresses (variants point at their parents, and
// the variant dialog reorders the list).
using cArrowList = std::vector<std::unique_ptr<SearchString>>;

enum Anchor : int { kAnchorNone = 0, kAnchorStart = 1, kAnchorEnd = 2, kAnchorBoth = 4 };

struct FilterPattern {
  std::string text;  // without "^" and "$"
  int anchor = kAnchorNone;
};

using cFilterList = std::vector<FilterPattern>;

struct SearchRequest {
  cArrowList strings;
  cFilterList filters;
  std::string filterDescription;  // "key:name" of the chosen filters, ", " between

  int spelling = kSpellingReduced;
  bool ignoreSeparators = true;
  int context = kContextText;
  bool allStrings = true;
  bool inOrder = false;
  bool resultLikeSpelling = true;
  int resultSpelling = kResultUpper;  // in force: capped spelling when like spelling
  bool showSymbols = true;            // in force: only below "Modifié"
  bool sortFromRight = false;
  int generationLevel = 1;
  bool saveGenerations = false;
  bool useCorpus = false;

  bool upperCase() const { return spelling >= kSpellingUpper; }
  bool reduce() const { return spelling >= kSpellingReduced; }
  bool generate() const { return spelling == kSpellingGenerated; }
  bool skipSymbols() const { return spelling >= kSpellingUpper; }
};

// The French names of the option values, as the report and the status line
// write them (UTF-8 program literals).
inline constexpr const char* kSpellingNames[] = {"Identique", "Majuscule", "Modifiée", "Générée"};
inline constexpr const char* kContextNames[] = {"Texte", "Mot", "Phrase", "Paragraphe"};
inline constexpr const char* kPlaceNames[] = {"Indifférente", "Début de mot", "Fin de mot",
                                              "Milieu de mot", "Mot entier"};

}  // namespace lirno
