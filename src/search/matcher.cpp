#include "search/matcher.h"

#include <algorithm>
#include <unordered_map>

#include "search/target_recorder.h"

namespace lirno {
namespace {

// A line-break byte counts 2 positions.
inline std::int32_t positionWidth(unsigned char c) { return c == '\n' || c == '\r' ? 2 : 1; }

// The matching state of one search string.
struct StringState {
  std::int32_t matched = 0;
  std::int32_t hits = 0;
  bool counted = false;
  bool dirty = false;  // matched or hits may be non-zero: reset it
  PendingTarget saved;  // the scan values when the partial match began
};

class Scanner {
 public:
  Scanner(const SearchRequest& request, const Document& doc, const RulesTables& rules,
          const DocumentLabel& label, cTargetList& targets)
      : request_(request),
        rules_(rules),
        text_(reinterpret_cast<const unsigned char*>(doc.text.c_str())),
        size_(static_cast<std::int32_t>(doc.text.size())),
        recorder_(targets, doc, rules, label, request.resultSpelling, request.showSymbols),
        reducer_(rules),
        upperCase_(request.upperCase()),
        reduce_(request.reduce()),
        skipSymbols_(request.skipSymbols()),
        context_(request.context) {
    const std::size_t n = request.strings.size();
    states_.resize(n);
    parent_.assign(n, -1);
    std::unordered_map<const SearchString*, int> indexOf;
    for (std::size_t s = 0; s < n; ++s) indexOf.emplace(request.strings[s].get(), static_cast<int>(s));
    for (std::size_t s = 0; s < n; ++s) {
      if (const SearchString* p = request.strings[s]->parent) {
        auto it = indexOf.find(p);
        // A parent that is not in the list any more: the string counts for
        // nobody but itself.
        parent_[s] = it != indexOf.end() ? it->second : static_cast<int>(s);
      }
    }
  }

  void runPlain() {
    std::int32_t p = 0;
    for (std::int32_t i = 0; i < size_; ++i) {
      const unsigned char c = text_[i];
      const int m = rules_.classOf(c);
      if (m >= kWordSeparator) {
        separator(i, p, m);
      } else if (m == kWordChar || !skipSymbols_) {
        const unsigned char folded = feed(i, p, c);
        if (folded != 0) {
          for (std::size_t s = 0; s < states_.size(); ++s) matchStep(static_cast<int>(s), folded);
        }
      }
      p += positionWidth(c);
    }
    // Hits still pending at the end of the text are dropped with the scan.
  }

 private:
  // A character that belongs to a word (step b): word bookkeeping, then the
  // character as the strings see it (0: none stands here).
  unsigned char feed(std::int32_t i, std::int32_t p, unsigned char c) {
    lastFed_ = i;
    unsigned char folded = c;
    if (upperCase_) folded = rules_.upperOf(c);
    if (reduce_) folded = reducer_.next(reinterpret_cast<const char*>(text_ + i));
    if (highest_ != 0) {
      if (highest_ == kParagraphSeparator) {
        paragraphStart_ = i;
        paragraphStartPos_ = p;
      }
      if (highest_ >= kSentenceSeparator) {
        sentenceStart_ = i;
        sentenceStartPos_ = p;
      }
      wordStart_ = i;
      wordStartPos_ = p;
      switch (context_) {
        case kContextWord:
          contextStart_ = i;
          contextStartPos_ = p;
          break;
        case kContextSentence:
          contextStart_ = sentenceStart_;
          contextStartPos_ = sentenceStartPos_;
          break;
        case kContextParagraph:
          contextStart_ = paragraphStart_;
          contextStartPos_ = paragraphStartPos_;
          break;
        default:
          break;
      }
      highest_ = 0;
    }
    if (folded != 0) {
      current_ = i;
      currentPos_ = p;
    }
    return folded;
  }

  // Match step of string s with the character c.
  void matchStep(int s, unsigned char c) {
    StringState& st = states_[static_cast<std::size_t>(s)];
    const std::string& pattern = request_.strings[static_cast<std::size_t>(s)]->pattern;
    const auto k = static_cast<std::int32_t>(pattern.size());
    if (k == 0) return;
    if (c != static_cast<unsigned char>(pattern[static_cast<std::size_t>(st.matched)])) {
      if (st.matched == 0) return;
      // The character may begin a new match; the earlier characters of the
      // abandoned one are not tried again.
      st.matched = 0;
      if (c != static_cast<unsigned char>(pattern[0])) return;
    }
    if (st.matched == 0) {
      const bool atWordStart = current_ == wordStart_;
      const int place = request_.strings[static_cast<std::size_t>(s)]->place;
      if ((place == kPlaceWordStart || place == kPlaceWholeWord) && !atWordStart) return;
      if (place == kPlaceWordMiddle && atWordStart) return;
      PendingTarget& v = st.saved;
      v.contextStart = contextStartPos_;
      v.contextStartIndex = contextStart_;
      v.matchStart = current_;
      v.startPosition = currentPos_;
      v.paragraphStart = paragraphStart_;
      v.sentenceStart = sentenceStart_;
      v.wordStart = wordStart_;
      v.atWordStart = atWordStart;
      st.dirty = true;
    }
    if (++st.matched < k) return;
    ++st.hits;
    st.matched = 0;
    PendingTarget t = st.saved;
    t.stringIndex = s;
    t.lengthPositions = currentPos_ - t.startPosition + 1;
    t.lengthChars = current_ - t.matchStart + 1;
    pending_.push_back(t);
  }

  // A separator of class m (step a).
  void separator(std::int32_t i, std::int32_t p, int m) {
    if (m >= kSentenceSeparator && lastFed_ >= 0) recorder_.fillEnds(lastFed_, m);
    if (!pending_.empty()) endWords(m);
    bool closed = false, passed = false;
    if (context_ != kContextText && m > context_) {
      closed = true;
      if (!pending_.empty()) {
        for (PendingTarget& t : pending_) {
          if (t.contextLengthChars == 0) t.contextLengthChars = i - t.contextStartIndex + 1;
          if (t.contextLength == 0) t.contextLength = p - t.contextStart + 1;
        }
        passed = contextTest();
        if (!passed) pending_.clear();
      }
      resetStrings();
    }
    highest_ = std::max(highest_, m);
    if ((context_ == kContextText || (closed && passed)) &&
        (!request_.ignoreSeparators || m >= kSentenceSeparator || context_ == kContextWord)) {
      flush();
      resetStrings();
    }
  }

  // The pending targets' word ends at a separator; the end constraints of
  // the places are decided here.
  void endWords(int m) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < pending_.size(); ++k) {
      PendingTarget& t = pending_[k];
      if (m >= kSentenceSeparator && t.sentenceEnd == kUnknownEnd) t.sentenceEnd = lastFed_;
      if (m == kParagraphSeparator && t.paragraphEnd == kUnknownEnd) t.paragraphEnd = lastFed_;
      if (t.wordEnd == kUnknownEnd) t.wordEnd = lastFed_;
      bool remove = false;
      if (t.wordEndPointer == kUnknownEnd) {
        t.wordEndPointer = lastFed_;
        const bool atWordEnd = t.matchStart + t.lengthChars - 1 == lastFed_;
        switch (request_.strings[static_cast<std::size_t>(t.stringIndex)]->place) {
          case kPlaceWordEnd: remove = !atWordEnd; break;
          case kPlaceWordMiddle: remove = t.atWordStart || atWordEnd; break;
          case kPlaceWholeWord: remove = !(t.atWordStart && atWordEnd); break;
          default: break;
        }
      }
      if (remove) {
        --states_[static_cast<std::size_t>(t.stringIndex)].hits;
      } else {
        if (kept != k) pending_[kept] = t;
        ++kept;
      }
    }
    pending_.resize(kept);
  }

  bool contextTest() {
    if (pending_.empty()) return false;
    const std::size_t n = states_.size();
    for (std::size_t s = 0; s < n; ++s) {
      if (parent_[s] >= 0 && states_[s].hits > 0) {
        StringState& parent = states_[static_cast<std::size_t>(parent_[s])];
        parent.hits = 1;
        parent.dirty = true;
        states_[s].hits = 0;
      }
    }
    for (std::size_t s = 0; s < n; ++s) {
      if (parent_[s] >= 0) continue;
      StringState& st = states_[s];
      const bool excluded = request_.strings[s]->exclude;
      if (st.hits > 0 && excluded) return false;
      if (request_.allStrings && st.hits == 0 && !excluded) return false;
      st.hits = 0;
      st.counted = true;
    }
    if (request_.inOrder) {
      std::int32_t last = 0;
      for (const PendingTarget& t : pending_) {
        const auto s = static_cast<std::size_t>(t.stringIndex);
        if (parent_[s] >= 0 || !states_[s].counted) continue;
        const std::int32_t order = request_.strings[s]->order;
        if (order < last) return false;
        last = order;
        states_[s].counted = false;  // only the first hit of each string counts
      }
    }
    return true;
  }

  void flush() {
    for (const PendingTarget& t : pending_) {
      const std::int32_t n = t.wordEndPointer - t.matchStart + 1;
      if (request_.filters.empty() ||
          filterCheck(text_ + t.matchStart, n, skipSymbols_, request_.filters, rules_)) {
        recorder_.record(t, n);
      }
    }
    pending_.clear();
  }

  void resetStrings() {
    for (StringState& st : states_) {
      if (!st.dirty) continue;
      st.matched = 0;
      st.hits = 0;
      st.dirty = false;
    }
  }

  const SearchRequest& request_;
  const RulesTables& rules_;
  const unsigned char* text_;
  std::int32_t size_;
  TargetRecorder recorder_;
  Reducer reducer_;
  const bool upperCase_, reduce_, skipSymbols_;
  const int context_;

  std::vector<StringState> states_;
  std::vector<int> parent_;  // index of each string's parent, -1 for a typed string
  cTTargetList pending_;

  int highest_ = kParagraphSeparator;  // the text begins a paragraph
  std::int32_t lastFed_ = -1;
  std::int32_t current_ = -1, currentPos_ = 0;
  std::int32_t wordStart_ = 0, wordStartPos_ = 0;
  std::int32_t sentenceStart_ = 0, sentenceStartPos_ = 0;
  std::int32_t paragraphStart_ = 0, paragraphStartPos_ = 0;
  std::int32_t contextStart_ = 0, contextStartPos_ = -1;
};

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
  (void)method;
  scanner.runPlain();
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
