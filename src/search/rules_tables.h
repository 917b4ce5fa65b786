#pragma once
// The character tables of the rules file in force: separator classes,
// upper-case and substitution maps, substitution list, vowel and consonant
// sets, marker characters, filter definitions and variant rules. One object
// per process, owned by the application and passed by reference; only the
// loaders write it.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "documents/markers.h"

namespace lirno {

// Separator class of a byte.
enum SeparatorClass : std::uint8_t {
  kWordChar = 0,
  kSymbol = 1,
  kWordSeparator = 2,
  kSentenceSeparator = 3,
  kParagraphSeparator = 4,
};

// A multi-character substitution: `find` (2 bytes or more) reduces to
// `replacement` (never longer).
struct SubstitutionEntry {
  std::string find;
  std::string replacement;

  bool operator==(const SubstitutionEntry&) const = default;
};

// A [Genor] rule; its texts are upper-cased when read.
struct VariantRule {
  int level = 0;
  std::string from;       // string to replace
  std::string to;         // replacement
  std::string condition;  // expression; empty is true
};

using cGenoaList = std::vector<VariantRule>;

class RulesTables {
 public:
  // Until the first successful load every table is zero (no character
  // separates words, no upper-case forms), except the markers, which start
  // at their reset values so that no 0 byte is ever written into a text.
  RulesTables() = default;

  std::array<std::uint8_t, 256> separatorClass{};
  std::array<std::uint8_t, 256> upper{};
  std::array<std::uint8_t, 256> substitution{};  // reduced form of an upper-cased byte, 0 dropped
  std::array<std::uint8_t, 256> vowel{};
  std::array<std::uint8_t, 256> consonant{};
  std::vector<SubstitutionEntry> substitutions;  // tried in file order
  Markers markers;
  std::vector<std::string> filters;  // [Filters] lines as written
  cGenoaList variantRules;
  int highestVariantLevel = 0;

  // Clears the character tables, the substitutions and the filters and sets
  // the defaults (upper-case and substitution maps the identity from 32 on,
  // a-z upper-cased; markers at their reset values). Variant rules are left
  // alone: they have their own loader.
  void reset();

  // Reads the seven character sections of a rules file. False, with every
  // table unchanged, when the file cannot be opened.
  bool loadRules(const std::string& path);

  // Reads the [Genor] section. False, with the previous rules kept, when the
  // file cannot be opened. Run after loadRules: rule lines are upper-cased
  // through the upper-case map.
  bool loadVariantRules(const std::string& path);

  // The same two loaders over the bytes of a rules file already in memory
  // (tests, fuzzing); they never fail.
  void loadRulesText(std::string_view bytes);
  void loadVariantRulesText(std::string_view bytes);

  // Reads one character as the rules file writes it, at `cursor`, and advances past it:
  // a character that is not a decimal digit stands for itself; "0x" and one
  // or two lower-case hexadecimal digits give their value (0 when none
  // follows); a run of decimal digits gives its value modulo 256. At the end
  // of the text (NUL) returns 0 and leaves the cursor where it is.
  static unsigned char readCharacter(const char*& cursor);

  std::uint8_t classOf(unsigned char c) const { return separatorClass[c]; }
  unsigned char upperOf(unsigned char c) const { return upper[c]; }
};

class SubstitutionIndex;

// The orthographic reduction of the spelling "Modifiée": a transducer fed the
// characters of one text in order, one call per character. Create one per
// text; it holds no global state.
class Reducer {
 public:
  // The tables must outlive the reducer and stay unchanged while it is used.
  explicit Reducer(const RulesTables& tables);

  // REQUIRES: `p` points at the next character of a NUL-terminated text (the
  // entries look ahead, never past the NUL). Returns the reduced byte for
  // this character, or 0 when none stands here.
  unsigned char next(const char* p);

  // No entry in progress: the next call depends on the text alone.
  bool idle() const { return swallow_ == 0 && emit_ == 0; }

  // Forgets an entry in progress, to begin another text.
  void reset() {
    swallow_ = emit_ = 0;
    entry_ = nullptr;
    nextReplacement_ = 0;
  }

 private:
  const RulesTables& tables_;
  // Upper-cased bytes that begin some substitution entry: most characters
  // start none, and then no entry needs to be tried.
  std::array<bool, 256> startsEntry_{};
  std::shared_ptr<const SubstitutionIndex> index_;  // the entries, found by their strings
  int swallow_ = 0;
  int emit_ = 0;
  const SubstitutionEntry* entry_ = nullptr;
  std::size_t nextReplacement_ = 0;
};

}  // namespace lirno
