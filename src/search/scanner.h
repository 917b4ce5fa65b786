#pragma once
// The matcher's scan of one document (internal to the search library).
//
// runPlain() is the algorithm as it reads: every character, through every
// search string. runFast() gives the same hits with two shortcuts:
//  - while nothing is under way (no partial match, no pending hit, the
//    reduction idle), whole 64-byte blocks are classified at once and the
//    stretch up to the next byte that could begin a match is passed over,
//    its word, sentence and paragraph bookkeeping taken from the block's
//    masks (skip());
//  - the strings are not stepped one by one: one step of a StringAutomaton
//    takes them all through a character (stepFast()).
// Tests compare the two on generated texts.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "documents/document.h"
#include "search/byte_classifier.h"
#include "search/entry_prefilter.h"
#include "search/matcher.h"
#include "search/request.h"
#include "search/rules_tables.h"
#include "search/string_automaton.h"
#include "search/target_recorder.h"
#include "search/targets.h"

namespace lirno {

class Scanner {
 public:
  Scanner(const SearchRequest& request, const Document& doc, const RulesTables& rules,
          const DocumentLabel& label, cTargetList& targets);

  void runPlain();
  void runFast();

 private:
  // A string's pattern as the scan reads it.
  struct Pattern {
    const unsigned char* text;
    std::int32_t length;
    int place;
  };
  // The matching state of one search string.
  struct StringState {
    std::int32_t matched = 0;
    std::int32_t hits = 0;
    bool counted = false;
    bool dirty = false;   // matched or hits may be non-zero: reset it
    PendingTarget saved;  // the scan values when the partial match began (plain scan)
  };
  struct FastTables;
  struct FastPlan;
  struct PlanDeleter {
    void operator()(FastPlan* plan) const;
  };

  // Step b: word bookkeeping for a character that belongs to a word, and
  // the character as the strings see it (0: none stands here).
  inline unsigned char feed(std::int32_t i, std::int32_t p, unsigned char c);
  // The same for a spelling known when compiled (kSpelling...).
  template <int kSpelling>
  inline unsigned char feedAs(std::int32_t i, std::int32_t p, unsigned char c);
  void startWord(std::int32_t i, std::int32_t p);
  // At a word start the context starts with the word, sentence or paragraph.
  void startContext();
  // Step a: a separator of class m.
  void separator(std::int32_t i, std::int32_t p, int m);
  void endWords(int m);
  bool contextTest();
  bool contextTestInListOrder();
  void flush();
  void resetStrings();

  // The match step of string s; a completed match goes to `out`.
  void matchStep(int s, unsigned char c, cTTargetList& out);
  // The values a match beginning at the current character saves.
  void saveStart(PendingTarget& v) const { saveStartAt(v, current_, currentPos_); }
  // The same for the character at `index` and `position` (the fast scan
  // passes its own, as reading back the members would wait for their stores).
  void saveStartAt(PendingTarget& v, std::int32_t index, std::int32_t position) const {
    v.contextStart = contextStartPos_;
    v.contextStartIndex = contextStart_;
    v.matchStart = index;
    v.startPosition = position;
    v.paragraphStart = paragraphStart_;
    v.sentenceStart = sentenceStart_;
    v.wordStart = wordStart_;
    v.atWordStart = index == wordStart_;
  }
  // Completes the match of s: a pending target from the values saved when
  // it began.
  void complete(int s, const PendingTarget& saved, cTTargetList& out);
  bool placeAllows(int s, bool atWordStart) const {
    const int place = patterns_[static_cast<std::size_t>(s)].place;
    if ((place == kPlaceWordStart || place == kPlaceWholeWord) && !atWordStart) return false;
    return !(place == kPlaceWordMiddle && atWordStart);
  }
  void markDirty(StringState& st, int s) {
    if (st.dirty) return;
    st.dirty = true;
    dirty_.push_back(s);
  }

  // The fast scan.
  void buildPlan();
  std::shared_ptr<const FastTables> makeTables() const;
  template <int kSpelling>
  void runFastAs();
  void completeFast(std::int32_t emit, std::uint32_t step);
  // With the strings idle (the fast scan keeps their state apart and asks
  // it first): nothing under way that the next characters could change but
  // a separator of class 3 or more; the pending hits (if any) know their
  // word end and wait for their sentence.
  bool quiescentBesidesStrings() const { return (pending_.empty() || !pendingWordOpen_) && reducer_.idle(); }
  std::int32_t skip(std::int32_t i);
  void advance(std::int32_t block, int from, int to, const BlockBits& bits);

  const SearchRequest& request_;
  const RulesTables& rules_;
  const unsigned char* text_;
  std::int32_t size_;
  TargetRecorder recorder_;
  Reducer reducer_;
  EntryPrefilter entries_;
  const bool upperCase_, reduce_, skipSymbols_;
  const int context_;
  FilterChecker filters_;

  std::vector<Pattern> patterns_;
  std::vector<StringState> states_;
  std::vector<int> parent_;  // index of each string's parent, -1 for a typed string
  std::vector<int> dirty_;   // strings to reset
  // The context test: the number of strings without a parent that are not
  // excluded; whether some string's parent has a parent; each string's mark
  // of the last test that met it; the plain scan (which keeps to the list).
  std::size_t required_ = 0;
  bool parentChains_ = false;
  std::vector<std::uint32_t> hitIn_;
  std::uint32_t generation_ = 0;
  bool plain_ = false;
  cTTargetList pending_;
  bool pendingWordOpen_ = false;  // a pending hit does not know its word end yet
  std::size_t wordsKnown_ = 0;    // pending_[0, wordsKnown_) know it

  // The scan's counters and marks (indexes, and positions ...Pos).
  std::int32_t p_ = 0;                  // position of the character being read
  int highest_ = kParagraphSeparator;   // the text begins a paragraph
  std::int32_t lastFed_ = -1;
  std::int32_t current_ = -1, currentPos_ = 0;
  std::int32_t wordStart_ = 0, wordStartPos_ = 0;
  std::int32_t sentenceStart_ = 0, sentenceStartPos_ = 0;
  std::int32_t paragraphStart_ = 0, paragraphStartPos_ = 0;
  std::int32_t contextStart_ = 0, contextStartPos_ = -1;

  // Fast scan: the automaton of the strings and its state; the values saved
  // at its last steps, one slot each in turn (a match lives no more steps
  // than there are slots).
  std::unique_ptr<FastPlan, PlanDeleter> plan_;
  std::shared_ptr<StringAutomaton> automaton_;
  std::int32_t state_ = StringAutomaton::kIdle;
  std::vector<PendingTarget> starts_;
  std::uint32_t step_ = 0, stepMask_ = 0;
};

template <int kSpelling>
inline unsigned char Scanner::feedAs(std::int32_t i, std::int32_t p, unsigned char c) {
  lastFed_ = i;
  unsigned char folded = c;
  if constexpr (kSpelling >= kSpellingReduced) {
    folded = entries_.reduce(reducer_, text_ + i);
  } else if constexpr (kSpelling >= kSpellingUpper) {
    folded = rules_.upperOf(c);
  }
  if (highest_ != 0) startWord(i, p);
  if (folded != 0) {
    current_ = i;
    currentPos_ = p;
  }
  return folded;
}

inline unsigned char Scanner::feed(std::int32_t i, std::int32_t p, unsigned char c) {
  if (reduce_) return feedAs<kSpellingReduced>(i, p, c);
  if (upperCase_) return feedAs<kSpellingUpper>(i, p, c);
  return feedAs<kSpellingSame>(i, p, c);
}

}  // namespace lirno
