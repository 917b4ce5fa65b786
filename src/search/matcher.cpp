#include "search/matcher.h"

#include "search/scanner.h"

namespace lirno {
namespace {

// Compares the hit's characters [from, end) with `pattern`: upper-case
// forms, symbols passed over when asked. With `whole`, every remaining
// character must be a passed-over symbol.
bool compareFrom(const unsigned char* from, const unsigned char* end, const std::string& pattern,
                 bool skipSymbols, const RulesTables& rules, bool whole) {
  std::size_t j = 0;
  const unsigned char* q = from;
  for (; q < end && j < pattern.size(); ++q) {
    if (skipSymbols && rules.classOf(*q) == kSymbol) continue;
    if (rules.upperOf(*q) != static_cast<unsigned char>(pattern[j])) return false;
    ++j;
  }
  if (j < pattern.size()) return false;
  if (whole) {
    for (; q < end; ++q) {
      if (!(skipSymbols && rules.classOf(*q) == kSymbol)) return false;
    }
  }
  return true;
}

}  // namespace

void scanDocument(const SearchRequest& request, const Document& doc, const RulesTables& rules,
                  const DocumentLabel& label, cTargetList& targets, ScanMethod method) {
  Scanner scanner(request, doc, rules, label, targets);
  if (method == ScanMethod::kPlain) {
    scanner.runPlain();
  } else {
    scanner.runFast();
  }
}

namespace {

// One pattern against the hit, anchored or not.
bool anchoredMatch(const FilterPattern& f, const unsigned char* hit, const unsigned char* end, bool skipSymbols,
                   const RulesTables& rules) {
  const auto k = static_cast<std::int32_t>(f.text.size());
  switch (f.anchor) {
    case kAnchorStart:
      return compareFrom(hit, end, f.text, skipSymbols, rules, false);
    case kAnchorEnd: {
      const unsigned char* from = end;
      for (std::int32_t counted = 0; from > hit && counted < k;) {
        if (rules.classOf(*--from) == kWordChar) ++counted;
      }
      return compareFrom(from, end, f.text, skipSymbols, rules, false);
    }
    case kAnchorBoth:
      return compareFrom(hit, end, f.text, skipSymbols, rules, true);
    default:
      return false;
  }
}

}  // namespace

FilterChecker::FilterChecker(const cFilterList& filters, bool skipSymbols, const RulesTables& rules)
    : filters_(filters), skipSymbols_(skipSymbols), rules_(rules), memos_(filters.size()) {}

bool FilterChecker::check(const unsigned char* hit, std::int32_t n) {
  const unsigned char* end = hit + n;
  for (std::size_t i = 0; i < filters_.size(); ++i) {
    const FilterPattern& f = filters_[i];
    if (static_cast<std::int32_t>(f.text.size()) > n) continue;
    if (f.anchor != kAnchorNone) {
      if (anchoredMatch(f, hit, end, skipSymbols_, rules_)) return true;
      continue;
    }
    Memo& m = memos_[i];
    if (m.end != end) m = Memo{end, end, nullptr};
    // Tried downwards from the end: the first match met is the last one.
    while (!m.latest && m.lowest > hit) {
      --m.lowest;
      if (compareFrom(m.lowest, end, f.text, skipSymbols_, rules_, false)) m.latest = m.lowest;
    }
    if (m.latest && m.latest >= hit) return true;
  }
  return false;
}

bool filterCheck(const unsigned char* hit, std::int32_t n, bool skipSymbols,
                 const cFilterList& filters, const RulesTables& rules) {
  const unsigned char* end = hit + n;
  for (const FilterPattern& f : filters) {
    const auto k = static_cast<std::int32_t>(f.text.size());
    if (k > n) continue;
    bool match = false;
    switch (f.anchor) {
      case kAnchorStart:
        match = compareFrom(hit, end, f.text, skipSymbols, rules, false);
        break;
      case kAnchorEnd: {
        const unsigned char* from = end;
        for (std::int32_t counted = 0; from > hit && counted < k;) {
          if (rules.classOf(*--from) == kWordChar) ++counted;
        }
        match = compareFrom(from, end, f.text, skipSymbols, rules, false);
        break;
      }
      case kAnchorBoth:
        match = compareFrom(hit, end, f.text, skipSymbols, rules, true);
        break;
      default:
        for (const unsigned char* from = hit; from < end && !match; ++from) {
          match = compareFrom(from, end, f.text, skipSymbols, rules, false);
        }
        break;
    }
    if (match) return true;
  }
  return false;
}

}  // namespace lirno
