#pragma once
// The matcher: one pass over a document's text that finds every hit of the
// request's search strings under its spelling, places, context, exclusions,
// order and filters, and records the accepted ones.
#include <cstdint>
#include <vector>

#include "documents/document.h"
#include "search/request.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno {

enum class ScanMethod {
  kFast,   // skips the stretches where nothing can start; the default
  kPlain,  // every character through every string, as the algorithm reads
};

// Scan document. REQUIRES: the strings' patterns are prepared (driver.h's
// preparePatterns), the text is shorter than 1 GiB (positions are 32-bit).
// Hits are recorded into `targets` under `label`, with the request's result
// spelling and show-symbols flag.
void scanDocument(const SearchRequest& request, const Document& doc, const RulesTables& rules,
                  const DocumentLabel& label, cTargetList& targets,
                  ScanMethod method = ScanMethod::kFast);

// Filter check: does the hit of `n` characters at `hit` pass the filter
// patterns? The first pattern that matches passes it; none, it fails. A
// pattern is compared with the upper-case forms of the hit's characters,
// class-1 symbols passed over when `skipSymbols`, and never beyond the hit:
// anchored at the start, from its first character; at the end, from where
// walking back over as many class-0 characters as the pattern is long ends;
// at both ends, with the whole hit; unanchored, from any of its characters.
bool filterCheck(const unsigned char* hit, std::int32_t n, bool skipSymbols,
                 const cFilterList& filters, const RulesTables& rules);

// The same check for the hits of one scan, which come in order of their
// ends: the hits of one word share its end, and an unanchored pattern is
// looked for once per end rather than once per hit (in a long word the
// plain check costs the word's length per hit).
class FilterChecker {
 public:
  FilterChecker(const cFilterList& filters, bool skipSymbols, const RulesTables& rules);
  bool check(const unsigned char* hit, std::int32_t n);

 private:
  // For an unanchored pattern and the last end met: the places from
  // `lowest` to the end were tried, and `latest` is the last of them where
  // the pattern matches (null: none).
  struct Memo {
    const unsigned char* end = nullptr;
    const unsigned char* lowest = nullptr;
    const unsigned char* latest = nullptr;
  };
  const cFilterList& filters_;
  bool skipSymbols_;
  const RulesTables& rules_;
  std::vector<Memo> memos_;
};

}  // namespace lirno
