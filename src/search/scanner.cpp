#include "search/scanner.h"

#include <algorithm>
#include <unordered_map>

#include "search/matcher.h"

namespace lirno {

Scanner::Scanner(const SearchRequest& request, const Document& doc, const RulesTables& rules,
                 const DocumentLabel& label, cTargetList& targets)
    : request_(request),
      rules_(rules),
      text_(reinterpret_cast<const unsigned char*>(doc.text.c_str())),
      size_(static_cast<std::int32_t>(doc.text.size())),
      recorder_(targets, doc, rules, label, request.resultSpelling, request.showSymbols),
      reducer_(rules),
      entries_(rules),
      upperCase_(request.upperCase()),
      reduce_(request.reduce()),
      skipSymbols_(request.skipSymbols()),
      context_(request.context),
      filters_(request.filters, skipSymbols_, rules) {
  const std::size_t n = request.strings.size();
  for (const auto& str : request.strings) {
    patterns_.push_back({reinterpret_cast<const unsigned char*>(str->pattern.c_str()),
                         static_cast<std::int32_t>(str->pattern.size()), str->place});
  }
  states_.resize(n);
  parent_.assign(n, -1);
  // Most searches have no variants: no map of the strings to make for each
  // document.
  const bool parented = std::any_of(request.strings.begin(), request.strings.end(),
                                    [](const auto& str) { return str->parent != nullptr; });
  if (parented) {
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
  hitIn_.assign(n, 0);
  for (std::size_t s = 0; s < n; ++s) {
    const int p = parent_[s];
    if (p >= 0 && static_cast<std::size_t>(p) != s && parent_[static_cast<std::size_t>(p)] >= 0) parentChains_ = true;
    if (parent_[s] < 0 && !request.strings[s]->exclude) ++required_;
  }
}

void Scanner::runPlain() {
  plain_ = true;
  for (std::int32_t i = 0; i < size_; ++i) {
    const unsigned char c = text_[i];
    const int m = rules_.classOf(c);
    if (m >= kWordSeparator) {
      separator(i, p_, m);
    } else if (m == kWordChar || !skipSymbols_) {
      if (const unsigned char folded = feed(i, p_, c)) {
        for (std::size_t s = 0; s < states_.size(); ++s) matchStep(static_cast<int>(s), folded, pending_);
      }
    }
    p_ += c == '\n' || c == '\r' ? 2 : 1;
  }
  // Hits still pending at the end of the text are dropped with the scan.
}

void Scanner::startWord(std::int32_t i, std::int32_t p) {
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
  startContext();
  highest_ = 0;
}

void Scanner::startContext() {
  switch (context_) {
    case kContextWord:
      contextStart_ = wordStart_;
      contextStartPos_ = wordStartPos_;
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
      break;  // "Texte" has no context start
  }
}

void Scanner::complete(int s, const PendingTarget& saved, cTTargetList& out) {
  StringState& st = states_[static_cast<std::size_t>(s)];
  ++st.hits;
  st.matched = 0;
  PendingTarget t = saved;
  t.stringIndex = s;
  t.lengthPositions = currentPos_ - t.startPosition + 1;
  t.lengthChars = current_ - t.matchStart + 1;
  out.push_back(t);
  pendingWordOpen_ = true;
}

void Scanner::matchStep(int s, unsigned char c, cTTargetList& out) {
  StringState& st = states_[static_cast<std::size_t>(s)];
  const Pattern& pattern = patterns_[static_cast<std::size_t>(s)];
  const std::int32_t k = pattern.length;
  if (k == 0) return;
  if (c != pattern.text[st.matched]) {
    if (st.matched == 0) return;
    // The character may begin a new match; the earlier characters of the
    // abandoned one are not tried again.
    st.matched = 0;
    if (c != pattern.text[0]) return;
  }
  if (st.matched == 0) {
    if (!placeAllows(s, current_ == wordStart_)) return;
    saveStart(st.saved);
    markDirty(st, s);
  }
  if (++st.matched == k) complete(s, st.saved, out);
}

void Scanner::separator(std::int32_t i, std::int32_t p, int m) {
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
      if (!passed) {
        pending_.clear();
        wordsKnown_ = 0;
      }
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

void Scanner::endWords(int m) {
  // The hits before wordsKnown_ know their word end: only the end of a
  // sentence or paragraph has anything to tell them.
  const std::size_t from = m >= kSentenceSeparator ? 0 : wordsKnown_;
  std::size_t kept = from;
  for (std::size_t k = from; k < pending_.size(); ++k) {
    PendingTarget& t = pending_[k];
    if (m >= kSentenceSeparator && t.sentenceEnd == kUnknownEnd) t.sentenceEnd = lastFed_;
    if (m == kParagraphSeparator && t.paragraphEnd == kUnknownEnd) t.paragraphEnd = lastFed_;
    if (t.wordEnd == kUnknownEnd) t.wordEnd = lastFed_;
    bool remove = false;
    if (t.wordEndPointer == kUnknownEnd) {
      t.wordEndPointer = lastFed_;
      const bool atWordEnd = t.matchStart + t.lengthChars - 1 == lastFed_;
      switch (patterns_[static_cast<std::size_t>(t.stringIndex)].place) {
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
  wordsKnown_ = kept;
  pendingWordOpen_ = false;
}

bool Scanner::contextTest() {
  if (pending_.empty()) return false;
  // Only the strings that completed a match since the last reset (dirty_)
  // can have hits; every string is reset after the test whatever its
  // outcome, and a counted flag only matters within one walk of the order
  // check below. So the test takes the dirty strings, not the whole list,
  // unless a parent has a parent of its own (whose hits then move on in
  // list order). The plain scan keeps to the list, as a reference.
  if (parentChains_ || plain_) return contextTestInListOrder();
  ++generation_;
  std::size_t present = 0;  // required strings with a hit
  for (const int d : dirty_) {
    const auto s = static_cast<std::size_t>(d);
    if (states_[s].hits <= 0) continue;
    const std::size_t counted = parent_[s] >= 0 ? static_cast<std::size_t>(parent_[s]) : s;
    if (parent_[counted] >= 0 || hitIn_[counted] == generation_) continue;  // its own parent: counts for none
    hitIn_[counted] = generation_;
    if (request_.strings[counted]->exclude) return false;
    ++present;
  }
  if (request_.allStrings && present < required_) return false;
  if (request_.inOrder) {
    // Only the first hit of each string counts.
    ++generation_;
    std::int32_t last = 0;
    for (const PendingTarget& t : pending_) {
      const auto s = static_cast<std::size_t>(t.stringIndex);
      if (parent_[s] >= 0 || hitIn_[s] == generation_) continue;
      hitIn_[s] = generation_;
      const std::int32_t order = request_.strings[s]->order;
      if (order < last) return false;
      last = order;
    }
  }
  return true;
}

bool Scanner::contextTestInListOrder() {
  const std::size_t n = states_.size();
  for (std::size_t s = 0; s < n; ++s) {
    if (parent_[s] >= 0 && states_[s].hits > 0) {
      StringState& parent = states_[static_cast<std::size_t>(parent_[s])];
      parent.hits = 1;
      markDirty(parent, parent_[s]);
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

void Scanner::flush() {
  for (const PendingTarget& t : pending_) {
    const std::int32_t n = t.wordEndPointer - t.matchStart + 1;
    if (request_.filters.empty() || filters_.check(text_ + t.matchStart, n)) {
      recorder_.record(t, n);
    }
  }
  pending_.clear();
  wordsKnown_ = 0;
}

void Scanner::resetStrings() {
  for (const int s : dirty_) {
    StringState& st = states_[static_cast<std::size_t>(s)];
    st.matched = 0;
    st.hits = 0;
    st.dirty = false;
  }
  dirty_.clear();
  state_ = StringAutomaton::kIdle;
}

}  // namespace lirno
