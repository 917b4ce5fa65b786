#pragma once
// The matcher: one pass over a document's text that finds every hit of the
// request's search strings under its spelling, places, context, exclusions,
// order and filters, and records the accepted ones.
#include <cstdint>

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

}  // namespace lirno
