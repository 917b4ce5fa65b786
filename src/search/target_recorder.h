#pragma once
// Record occurrence and Fill ends for the scan of one document.
#include <cstdint>
#include <memory>
#include <string_view>
#include <array>
#include <vector>

#include "documents/document.h"
#include "results/occurrence_place.h"
#include "search/entry_prefilter.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno {

// The bytes of a key of up to 8 bytes packed so that two keys of the same
// length are equal if and only if their forms are; a longer key's first 8.
std::uint64_t keyShortForm(std::string_view key);

class TargetRecorder {
 public:
  // Records into `list` the hits of `doc` (whose text, marks and positions
  // they refer to) under `label`, with the found texts spelled by
  // `resultSpelling` (0 "Identique", 1 "Majuscule", 2 "Modifié") and
  // `showSymbols`. `list`, `doc` and `rules` must outlive the recorder.
  TargetRecorder(cTargetList& list, const Document& doc, const RulesTables& rules,
                 DocumentLabel label, int resultSpelling, bool showSymbols);
  ~TargetRecorder();  // commits

  TargetRecorder(const TargetRecorder&) = delete;
  TargetRecorder& operator=(const TargetRecorder&) = delete;

  // Record occurrence: the found text is built from the `n` document
  // characters from hit.matchStart (at most kMaxFoundTextLength of them:
  // the list is then told that a text was cut); the occurrence joins the target of
  // (label, found text) unless that target already has one at the same
  // start.
  void record(const PendingTarget& hit, std::int32_t n) { record(hit, n, lookUp(hit, n)); }

  // The same in two steps, so that a caller can find its next hit while the
  // index entry of this one is fetched: lookUp() names the document bytes
  // that the occurrence is indexed by, and asks for their entry.
  struct Lookup {
    std::string_view bytes;
    std::uint64_t hash;
  };
  Lookup lookUp(const PendingTarget& hit, std::int32_t n) const;
  void record(const PendingTarget& hit, std::int32_t n, const Lookup& lookup);

  // Fill ends, for the occurrences recorded by this recorder only: sets the
  // sentence end (class 3 or 4), the paragraph end (class 4) and the word
  // end to `index` where they are still unknown.
  void fillEnds(std::int32_t index, int separatorClass);

  // Occurrences of this document still wait for their sentence (or word) end,
  // or for their paragraph end.
  bool waitingForSentenceEnds() const { return sentenceWaiting_; }
  bool waitingForParagraphEnds() const { return paragraphWaiting_; }

  // The found text of `n` characters at `at` under the result spelling.
  std::string foundText(const unsigned char* at, std::int32_t n) const;

 private:
  struct Slot {
    Target* target;
    std::int32_t maxStart;  // highest occurrence start: a later start cannot repeat one
    std::int32_t last;  // its latest occurrence in added_, linked back by `previous`; -1: none
    std::uint32_t added;
  };
  // An occurrence recorded since the last commit, in a compact form: its
  // place and the ends that separators give later are found at the commit,
  // and a hit with a context or with ends already known keeps those in
  // extras_ (a word list's occurrences need none).
  struct Added {
    std::uint32_t slot;
    // Linked backwards, so that recording writes to the new entry only.
    std::int32_t previous;
    std::int32_t matchStart;  // index of the first matched character
    std::int32_t start;
    std::int32_t length;
    std::int32_t wordStart;
    std::int32_t wordEnd;
    std::int32_t sentenceStart;
    std::int32_t paragraphStart;
    std::int32_t extra;  // in extras_; -1: no context, sentence and paragraph ends unknown
  };
  struct Extra {
    std::int32_t contextStart, contextLength, contextStartIndex, contextLengthChars;
    std::int32_t sentenceEnd, paragraphEnd;
  };
  // A Fill ends that some occurrence waited for: those recorded before it
  // (in added_, up to `before`) take `index` for their unknown ends.
  struct EndsCall {
    std::size_t before;
    std::int32_t index;
    bool paragraph;
  };
  // Slots by a byte string that outlives the index (a target's text, or
  // bytes of the document): open addressing, the hash kept with the key.
  class Index {
   public:
    Index();
    ~Index();
    Index(const Index&) = delete;
    Index& operator=(const Index&) = delete;
    // Slots are named by their number in slots_; find() gives kNone for a
    // key not there. `tag` tells apart equal keys that stand for different
    // things (the document bytes of hits of different lengths).
    static constexpr std::uint32_t kNone = UINT32_MAX;
    std::uint32_t find(std::string_view key, std::uint64_t hash, std::uint32_t tag = 0);
    void insert(std::string_view key, std::uint64_t hash, std::uint32_t slot, std::uint32_t tag = 0);
    static std::uint64_t hash(std::string_view key);
    void prefetch(std::uint64_t hash) const { __builtin_prefetch(&table_[hash & (table_.size() - 1)]); }

   private:
    // Probed entries hold a hash and a reference only, so that the table
    // stays small; the key is compared in `keys_` on a hash match.
    struct Entry {
      std::uint32_t hash;
      std::uint32_t key;  // keys_ index + 1; 0: free
    };
    struct Key {
      const char* bytes;
      std::uint32_t length;
      std::uint32_t tag;
      std::uint32_t slot;
      std::uint64_t form;  // keyShortForm(): keys of up to 8 bytes are compared by it alone
    };

    void grow();
    // The tables and key lists of finished recorders are kept for the next
    // ones: a corpus scan makes two per document.
    struct Room {
      std::vector<Entry> table;
      std::vector<Key> keys;
    };
    static std::vector<Room>& spare();
    std::vector<Entry> table_;
    std::vector<Key> keys_;
  };
  // Where the label's targets are in the list, [lo, hi) (empty where the
  // label would go); false when the list is in neither label order nor runs.
  bool findRun(std::size_t& lo, std::size_t& hi);
  // The same, the list put back in label order first when it must be.
  void placeRun(std::size_t& lo, std::size_t& hi);
  void indexExisting();
  // Files the occurrences into their targets, and the targets created since
  // the last commit into the list, which stays ordered by label or in runs
  // of labels (cTargetList::labelRuns). Until then they are not in the
  // list. Done when the recorder ends.
  void commit();

  cTargetList& list_;
  const Document& doc_;
  const RulesTables& rules_;
  DocumentLabel label_;
  int resultSpelling_;
  bool showSymbols_;
  std::vector<Slot> slots_;
  Index byText_;  // keys view the targets' texts
  // The same slots by the document bytes a hit was built from (and those the
  // reduction looks ahead at): a word met again needs no found text.
  Index byBytes_;
  mutable Reducer reducer_;
  std::size_t lookAhead_ = 0;
  std::array<bool, 256> continuesEntry_{};
  EntryPrefilter entries_;
  PlaceCursor places_;
  std::vector<TargetRecord> created_;
  // The occurrences of this document, in recording order, until the commit
  // files them: each target's list is then allocated once.
  std::vector<Added> added_;
  // At the commit: the packed occurrences of each target, one run each.
  std::vector<PackedOccurrence> runs_;
  std::vector<std::uint32_t> runEnds_;
  std::vector<Extra> extras_;
  std::vector<EndsCall> endsCalls_;
  // Whether an occurrence recorded since the last sentence end lacks its
  // sentence or word end; the same for paragraphs.
  bool sentenceWaiting_ = false, paragraphWaiting_ = false;
};

}  // namespace lirno
