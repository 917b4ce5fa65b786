// The fast scan: block classification over the quiet stretches, and the
// strings stepped only where a character concerns them (see scanner.h).
#include <algorithm>
#include <bit>

#include "search/scanner.h"

namespace lirno {
namespace {

// Attribute bits of a byte for the block classifier.
enum : std::uint8_t {
  kSep2 = 1,   // separator of class 2 or more
  kSep3 = 2,   // class 3 or more
  kSep4 = 4,   // class 4
  kFed = 8,    // belongs to a word and is fed to the strings
  kLine = 16,  // CR or LF: 2 positions
  kStart = 32, // fed, and as the strings see it (with the reduction idle) a pattern begins with it
  kEntry = 64, // fed, and its upper-case form begins a substitution entry
};
constexpr int kSep2Bit = 0, kSep3Bit = 1, kSep4Bit = 2, kFedBit = 3, kLineBit = 4, kStartBit = 5,
              kEntryBit = 6;

// Bits of the pair classifier, which confirms a byte that may begin a
// longer pattern by the byte after it.
enum : std::uint8_t {
  kBeginsSingle = 1,  // begins a one-character pattern
  kBeginsPair = 2,    // begins a two-character one
  kSecond = 4,        // is the second character of a longer one
  kNotPlain = 8,      // not simply the next character the strings see
  kBeginsLonger = 16, // begins one of three characters or more
};
constexpr int kBeginsSingleBit = 0, kBeginsPairBit = 1, kSecondBit = 2, kNotPlainBit = 3, kBeginsLongerBit = 4;

// With more strings than this, nearly every letter begins one: the pair
// pass would stop the skip as often as the single one.
constexpr std::size_t kMaxPairFiltered = 32;

// A round of kSkipRound skips that passed over fewer than kSkipRoundBytes
// in all did not pay for itself (measured: one and a half bytes a skip is
// about even): the next kSkipPause bytes are read without them.
constexpr int kSkipRound = 32;
constexpr std::int32_t kSkipRoundBytes = 48;
constexpr std::int32_t kSkipPause = 4096;

inline std::uint64_t below(int n) { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }

}  // namespace

// What the fast scan builds from the strings, the spelling and the rules;
// the same for every document of a search, so kept for the next scan.
struct Scanner::FastTables {
  std::unique_ptr<ByteClassifier> attributes;
  // Substitution entries as sequences of codes, one code per distinct
  // character they hold, so that a block's entry matches are found with a
  // few comparisons. Without them (too many characters, too long an entry),
  // every byte that may begin an entry stops the skip.
  std::unique_ptr<ByteClassifier> codes;
  std::vector<std::vector<std::uint8_t>> entries;
  std::vector<std::uint8_t> codeValues;
  bool entryBytesStop = false;

  std::array<std::vector<int>, 256> single;  // strings of one character, by that character
  std::array<std::vector<int>, 256> multi;   // longer ones, by their first character

  std::unique_ptr<ByteClassifier> pairs;  // null: no pair pass
  // With the pair pass, the patterns of three characters or more in up to
  // eight groups: bit g of a plain byte's value in `firsts` (`seconds`,
  // `thirds`) when what the strings see of it is the first (second, third)
  // character of a pattern of group g. A group matches where its three
  // bits follow one another: candidates of class bits alone (any second
  // after any first) stop the skip at most letters of common words.
  std::unique_ptr<ByteClassifier> firsts, seconds, thirds;
  // Without the pair pass (many strings), a byte that may begin a longer
  // pattern is confirmed by the next one, one candidate at a time: what the
  // strings see of a plain byte (0: not plain, see kNotPlain), whether it
  // begins a one-character pattern, and the pairs that begin a pattern.
  // The answer for each pair of bytes, first byte in the low half of the
  // index, is kept as bits; FastPlan::pairsGoOn[k] marks a block's candidates.
  bool confirmPairs = false;
  std::vector<std::uint64_t> pairGoesOn;  // 65536 bits
};

namespace {

// Everything the tables are built from, to tell whether the last ones serve.
struct TablesKey {
  std::vector<StringAutomaton::Pattern> patterns;
  bool upperCase = false, reduce = false, skipSymbols = false;
  std::array<std::uint8_t, 256> classes{}, upper{}, substitution{};
  std::vector<SubstitutionEntry> substitutions;

  bool operator==(const TablesKey&) const = default;
};

}  // namespace

// The tables and one scan's classified blocks.
struct Scanner::FastPlan {
  std::shared_ptr<const FastTables> tables;
  std::uint64_t pairsGoOn[kMaxChunkBlocks] = {};
  std::uint32_t pairsDone = 0;  // the chunk's blocks whose pairsGoOn is made
  BlockBits pairBits[kMaxChunkBlocks];
  BlockBits firstBits[kMaxChunkBlocks], secondBits[kMaxChunkBlocks], thirdBits[kMaxChunkBlocks];

  // Classified blocks from chunkStart on.
  std::int32_t chunkStart = -1;
  int chunkBlocks = 0;
  BlockBits bits[kMaxChunkBlocks];
  std::uint64_t entryStarts[kMaxChunkBlocks] = {};
  std::uint64_t equal[(kMaxChunkBlocks + 1) * 16] = {};
};

void Scanner::PlanDeleter::operator()(FastPlan* plan) const { delete plan; }

void Scanner::buildPlan() {
  plan_.reset(new FastPlan);
  std::size_t longest = 0;
  TablesKey key;
  for (const Pattern& pattern : patterns_) {
    key.patterns.push_back(
        {std::string(reinterpret_cast<const char*>(pattern.text), static_cast<std::size_t>(pattern.length)),
         pattern.place});
    longest = std::max(longest, static_cast<std::size_t>(pattern.length));
  }
  std::size_t slots = 1;
  while (slots < longest) slots *= 2;
  starts_.resize(slots);
  stepMask_ = static_cast<std::uint32_t>(slots - 1);

  key.upperCase = upperCase_;
  key.reduce = reduce_;
  key.skipSymbols = skipSymbols_;
  key.classes = rules_.separatorClass;
  key.upper = rules_.upper;
  key.substitution = rules_.substitution;
  key.substitutions = rules_.substitutions;
  thread_local TablesKey lastKey;
  thread_local std::shared_ptr<const FastTables> lastTables;
  if (!lastTables || lastKey != key) {
    lastTables = makeTables();
    lastKey = key;
  }
  plan_->tables = lastTables;
  automaton_ = StringAutomaton::forPatterns(std::move(key.patterns));
}

std::shared_ptr<const Scanner::FastTables> Scanner::makeTables() const {
  auto made = std::make_shared<FastTables>();
  FastTables& f = *made;
  std::size_t longer = 0;
  for (std::size_t s = 0; s < patterns_.size(); ++s) {
    const Pattern& pattern = patterns_[s];
    if (pattern.length == 0) continue;
    const unsigned char first = pattern.text[0];
    if (pattern.length == 1) {
      f.single[first].push_back(static_cast<int>(s));
    } else {
      f.multi[first].push_back(static_cast<int>(s));
      ++longer;
    }
  }

  std::array<bool, 256> entryFirst{};
  if (reduce_) {
    std::vector<unsigned char> chars;
    for (const SubstitutionEntry& e : rules_.substitutions) {
      if (e.find.empty()) continue;
      entryFirst[static_cast<unsigned char>(e.find[0])] = true;
      if (e.find.size() > 8) f.entryBytesStop = true;
      for (const char c : e.find) {
        if (std::find(chars.begin(), chars.end(), static_cast<unsigned char>(c)) == chars.end()) {
          chars.push_back(static_cast<unsigned char>(c));
        }
      }
    }
    if (chars.size() > 16) f.entryBytesStop = true;
    if (!chars.empty() && !f.entryBytesStop) {
      std::array<std::uint8_t, 256> code{};
      for (int b = 0; b < 256; ++b) {
        const auto at = std::find(chars.begin(), chars.end(), rules_.upperOf(static_cast<unsigned char>(b)));
        if (at != chars.end()) code[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(at - chars.begin() + 1);
      }
      f.codes = std::make_unique<ByteClassifier>(code);
      for (std::size_t k = 0; k < chars.size(); ++k) f.codeValues.push_back(static_cast<std::uint8_t>(k + 1));
      for (const SubstitutionEntry& e : rules_.substitutions) {
        if (e.find.empty()) continue;
        std::vector<std::uint8_t> seq;
        for (const char c : e.find) {
          seq.push_back(static_cast<std::uint8_t>(
              std::find(chars.begin(), chars.end(), static_cast<unsigned char>(c)) - chars.begin()));
        }
        f.entries.push_back(std::move(seq));
      }
    }
  }

  std::array<bool, 256> isSecond{}, beginsPair{}, beginsLonger{};
  for (const Pattern& pattern : patterns_) {
    if (pattern.length >= 2) isSecond[pattern.text[1]] = true;
    if (pattern.length == 2) beginsPair[pattern.text[0]] = true;
    if (pattern.length >= 3) beginsLonger[pattern.text[0]] = true;
  }
  std::array<std::uint8_t, 256> table{}, pairTable{};
  std::array<unsigned char, 256> plainSeen{};  // what the strings see of a plain byte; 0: not plain
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<unsigned char>(b);
    const int m = rules_.classOf(c);
    std::uint8_t v = 0;
    if (m >= kWordSeparator) v |= kSep2;
    if (m >= kSentenceSeparator) v |= kSep3;
    if (m >= kParagraphSeparator) v |= kSep4;
    if (c == '\n' || c == '\r') v |= kLine;
    std::uint8_t pv = kNotPlain;
    if (m == kWordChar || (m == kSymbol && !skipSymbols_)) {
      v |= kFed;
      unsigned char seen = c;
      if (upperCase_) seen = rules_.upperOf(c);
      if (reduce_) seen = rules_.substitution[rules_.upperOf(c)];
      if (seen != 0 && (!f.single[seen].empty() || !f.multi[seen].empty())) v |= kStart;
      if (reduce_ && entryFirst[rules_.upperOf(c)]) v |= kEntry;
      if (seen != 0) {
        pv = 0;
        if (!f.single[seen].empty()) pv |= kBeginsSingle;
        if (beginsPair[seen]) pv |= kBeginsPair;
        if (beginsLonger[seen]) pv |= kBeginsLonger;
        if (isSecond[seen]) pv |= kSecond;
        // An entry that may begin here changes what the strings see; the
        // exact entry matches only exist when the entries are coded.
        if (reduce_ && entryFirst[rules_.upperOf(c)] && f.entryBytesStop) pv |= kNotPlain;
      }
    }
    table[static_cast<std::size_t>(b)] = v;
    pairTable[static_cast<std::size_t>(b)] = pv;
    if (!(pv & kNotPlain)) {
      plainSeen[static_cast<std::size_t>(b)] =
          reduce_ ? rules_.substitution[rules_.upperOf(c)] : upperCase_ ? rules_.upperOf(c) : c;
    }
  }
  f.attributes = std::make_unique<ByteClassifier>(table);
  if (longer > 0 && patterns_.size() <= kMaxPairFiltered) {
    f.pairs = std::make_unique<ByteClassifier>(pairTable);
    std::array<std::uint8_t, 256> firsts{}, seconds{}, thirds{};
    int group = 0;
    for (const Pattern& pattern : patterns_) {
      if (pattern.length < 3) continue;
      const auto bit = static_cast<std::uint8_t>(1u << (group++ % 8));
      // A string that has matched its first two characters does not begin
      // again at the second: where both are the same, a start that fails at
      // the third still decides whether the next byte may begin one, and
      // the third is not asked.
      const bool repeated = pattern.text[0] == pattern.text[1];
      for (std::size_t b = 0; b < 256; ++b) {
        if (repeated) thirds[b] |= bit;
        const unsigned char x = plainSeen[b];
        if (x == 0) continue;
        if (x == pattern.text[0]) firsts[b] |= bit;
        if (x == pattern.text[1]) seconds[b] |= bit;
        if (x == pattern.text[2]) thirds[b] |= bit;
      }
    }
    f.firsts = std::make_unique<ByteClassifier>(firsts);
    f.seconds = std::make_unique<ByteClassifier>(seconds);
    f.thirds = std::make_unique<ByteClassifier>(thirds);
  }
  f.confirmPairs = longer > 0 && !f.pairs;
  if (f.confirmPairs) {
    // A pattern may begin at a plain byte only if it is one character long,
    // or the next byte is not plain, or with it the pattern's first two.
    std::array<bool, 256> single{};
    std::vector<bool> pairs(65536);
    for (const Pattern& pattern : patterns_) {
      if (pattern.length == 1) single[pattern.text[0]] = true;
      if (pattern.length >= 2) pairs[pattern.text[0] * 256u + pattern.text[1]] = true;
    }
    f.pairGoesOn.assign(65536 / 64, 0);
    for (std::size_t first = 0; first < 256; ++first) {
      const unsigned char x = plainSeen[first];
      // Only the bytes that begin a pattern are ever asked about.
      if (x == 0 || (f.single[x].empty() && f.multi[x].empty())) continue;
      for (std::size_t second = 0; second < 256; ++second) {
        const unsigned char y = plainSeen[second];
        if (single[x] || y == 0 || pairs[x * 256u + y]) {
          const std::size_t at = first | second << 8;
          f.pairGoesOn[at / 64] |= std::uint64_t{1} << (at % 64);
        }
      }
    }
  }
  return made;
}

void Scanner::completeFast(std::int32_t emit, std::uint32_t step) {
  const StringAutomaton& a = *automaton_;
  const std::int32_t* done = a.emitted(emit);
  for (std::int32_t k = 1; k <= done[0]; ++k) {
    const int s = done[k];
    markDirty(states_[static_cast<std::size_t>(s)], s);
    const auto length = static_cast<std::uint32_t>(a.patternLength(s));
    complete(s, starts_[(step + 1 - length) & stepMask_], pending_);
  }
}

void Scanner::runFast() {
  buildPlan();
  // One loop for each spelling's treatment of a character, so that none
  // tests the others' at every character.
  if (reduce_) {
    runFastAs<kSpellingReduced>();
  } else if (upperCase_) {
    runFastAs<kSpellingUpper>();
  } else {
    runFastAs<kSpellingSame>();
  }
}

template <int kSpelling>
void Scanner::runFastAs() {
  StringAutomaton& a = *automaton_;
  const std::int32_t* steps = a.steps();
  // The automaton's state and the position live here, and go through the
  // members only around the calls that read or change them: each step
  // would otherwise wait for the store of the one before.
  std::int32_t state = StringAutomaton::kIdle;
  std::int32_t p = p_;
  // Where the skip passes over little, asking it costs more than reading
  // on. With many strings (nearly every letter may begin one, and no pair
  // pass), after a round of skips that passed over too little it is not
  // asked for a stretch.
  std::int32_t skipFrom = 0;
  int calls = 0;
  std::int32_t passed = 0;
  for (std::int32_t i = 0; i < size_; ++i) {
    if (state == StringAutomaton::kIdle && i >= skipFrom && quiescentBesidesStrings()) {
      p_ = p;
      const std::int32_t from = i;
      i = skip(i);
      p = p_;
      if (i >= size_) break;
      passed += i - from;
      if (++calls == kSkipRound) {
        if (plan_->tables->confirmPairs && passed < kSkipRoundBytes) skipFrom = i + kSkipPause;
        calls = 0;
        passed = 0;
      }
    }
    const unsigned char c = text_[i];
    const int m = rules_.classOf(c);
    if (m >= kWordSeparator) {
      state_ = state;
      separator(i, p, m);
      state = state_;
    } else if (m == kWordChar || kSpelling < kSpellingUpper) {  // symbols are skipped from "Majuscule" on
      if (const unsigned char folded = feedAs<kSpelling>(i, p, c)) {
        const int input = a.input(folded, i == wordStart_);
        const std::int32_t code = steps[state + input];
        std::int32_t emit = -1;
        if (code >= 0) {
          if (code & 1) emit = a.emitAt(state, input);
          state = code >> 1;
        } else {
          const StringAutomaton::Step made = a.make(state, input);
          steps = a.steps();
          state = made.next;
          emit = made.emit;
        }
        if (state != StringAutomaton::kIdle || emit >= 0) {
          // A match that began here saves the values of this step.
          const std::uint32_t t = step_++;
          saveStartAt(starts_[t & stepMask_], i, p);
          if (emit >= 0) completeFast(emit, t);
        }
      }
    }
    p += c == '\n' || c == '\r' ? 2 : 1;
  }
  state_ = state;
  p_ = p;
}

std::int32_t Scanner::skip(std::int32_t i) {
  FastPlan& f = *plan_;
  const FastTables& tables = *f.tables;
  while (true) {
    const std::int32_t block = i & ~(kBlockBytes - 1);
    if (block < f.chunkStart || block >= f.chunkStart + f.chunkBlocks * kBlockBytes) {
      // Whole blocks only, with one more readable after them for the
      // entries' look-ahead; the last ones go character by character.
      const std::int32_t room = (size_ - block) / kBlockBytes - 1;
      if (room <= 0) return i;
      f.chunkStart = block;
      f.chunkBlocks = std::min(room, kMaxChunkBlocks);
      tables.attributes->bits(text_ + block, f.chunkBlocks, f.bits);
      if (tables.pairs) {
        tables.pairs->bits(text_ + block, f.chunkBlocks, f.pairBits);
        tables.firsts->bits(text_ + block, f.chunkBlocks, f.firstBits);
        tables.seconds->bits(text_ + block, f.chunkBlocks, f.secondBits);
        tables.thirds->bits(text_ + block, f.chunkBlocks, f.thirdBits);
      }
      f.pairsDone = 0;
      if (tables.codes) {
        const int count = static_cast<int>(tables.codeValues.size());
        tables.codes->equal(text_ + block, f.chunkBlocks + 1, tables.codeValues.data(), count, f.equal);
        for (int k = 0; k < f.chunkBlocks; ++k) {
          std::uint64_t starts = 0;
          for (const auto& e : tables.entries) {
            std::uint64_t m = ~std::uint64_t{0};
            for (std::size_t t = 0; t < e.size() && m; ++t) {
              const std::uint64_t here = f.equal[k * count + e[t]];
              const std::uint64_t next = f.equal[(k + 1) * count + e[t]];
              m &= t == 0 ? here : (here >> t) | (next << (64 - t));
            }
            starts |= m;
          }
          f.entryStarts[k] = starts & f.bits[k].bit[kFedBit];
        }
      }
    }
    const int k = (block - f.chunkStart) / kBlockBytes;
    const BlockBits& b = f.bits[k];
    std::uint64_t stop;
    if (tables.pairs) {
      // A longer pattern can only begin where the next byte is its second
      // character, or is something the strings do not simply see next (a
      // separator, a symbol, a dropped letter, an entry's start). One of
      // three characters or more: where some group's first, second and
      // third follow one another, or its first and second are followed by
      // a byte that is not plain, or the next byte is not plain. What lies
      // past the block is not confirmed.
      const BlockBits& pb = f.pairBits[k];
      const std::uint64_t unplain = pb.bit[kNotPlainBit] | f.entryStarts[k];
      const std::uint64_t following = ((pb.bit[kSecondBit] | unplain) >> 1) | (std::uint64_t{1} << 63);
      const BlockBits& b1 = f.firstBits[k];
      const BlockBits& b2 = f.secondBits[k];
      const BlockBits& b3 = f.thirdBits[k];
      std::uint64_t twos = 0, threes = 0;
      for (int g = 0; g < 8; ++g) {
        const std::uint64_t two = b1.bit[g] & (b2.bit[g] >> 1);
        twos |= two;
        threes |= two & (b3.bit[g] >> 2);
      }
      // In "Texte" without ignored separators, every separator ends the
      // strings' matches: no pattern goes on across one.
      const std::uint64_t goesOn =
          context_ == kContextText && !request_.ignoreSeparators ? unplain & ~b.bit[kSep2Bit] : unplain;
      const std::uint64_t longer = threes | (twos & (goesOn >> 2)) | (goesOn >> 1) | (std::uint64_t{3} << 62);
      stop = pb.bit[kBeginsSingleBit] | (pb.bit[kBeginsPairBit] & following) |
             (pb.bit[kBeginsLongerBit] & longer) | f.entryStarts[k];
    } else {
      stop = b.bit[kStartBit] | f.entryStarts[k];
    }
    if (tables.entryBytesStop) stop |= b.bit[kEntryBit];
    if (recorder_.waitingForSentenceEnds() || !pending_.empty()) {
      stop |= b.bit[kSep3Bit];
    } else if (recorder_.waitingForParagraphEnds()) {
      stop |= b.bit[kSep4Bit];
    }
    const int from = i - block;
    stop &= ~below(from);
    if (tables.confirmPairs) {
      if (!(f.pairsDone >> k & 1)) {
        // Block by block, as asked: where the strings are rarely idle (a
        // context longer than the word), a skip seldom looks further than
        // one. Reads one byte past the block: a block after it is readable.
        const unsigned char* q = text_ + block;
        std::uint64_t goOn = 0;
        for (int j = 0; j < kBlockBytes; ++j) {
          const std::size_t at = q[j] | static_cast<std::size_t>(q[j + 1]) << 8;
          goOn |= (tables.pairGoesOn[at / 64] >> (at % 64) & 1) << j;
        }
        f.pairsGoOn[k] = goOn;
        f.pairsDone |= 1u << k;
      }
      // A candidate that only a pattern's first character stops at goes on
      // unless the pair of bytes there may begin a pattern or an entry
      // begins at the next byte (the last byte of a block is not confirmed).
      const std::uint64_t maybe = b.bit[kStartBit] & ~f.entryStarts[k] & ~(tables.entryBytesStop ? b.bit[kEntryBit] : 0);
      const std::uint64_t confirmed = f.pairsGoOn[k] | (f.entryStarts[k] >> 1) | (std::uint64_t{1} << 63);
      stop &= ~maybe | confirmed;
    }
    const int to = stop ? std::countr_zero(stop) : kBlockBytes;
    advance(block, from, to, b);
    i = block + to;
    if (to < kBlockBytes) return i;
  }
}

void Scanner::advance(std::int32_t block, int from, int to, const BlockBits& b) {
  if (from >= to) return;
  const std::uint64_t valid = below(to) & ~below(from);
  const std::uint64_t fed = b.bit[kFedBit] & valid;
  const std::uint64_t s2 = b.bit[kSep2Bit] & valid;
  const std::uint64_t s3 = b.bit[kSep3Bit] & valid;
  const std::uint64_t s4 = b.bit[kSep4Bit] & valid;
  const std::uint64_t lines = b.bit[kLineBit] & valid;
  auto positionAt = [&](int j) {
    return p_ + (j - from) + fewBits(lines & below(j));
  };
  if (fed) {
    const int last = 63 - std::countl_zero(fed);
    // The latest word (sentence, paragraph) start: the first fed byte after
    // the last separator of that class before the block's last fed byte;
    // without one, the block's first fed byte if the class was met before.
    auto latestStart = [&](std::uint64_t seps, bool carried) {
      const std::uint64_t before = seps & below(last);
      if (before) return std::countr_zero(fed & ~below(64 - std::countl_zero(before)));
      return carried ? std::countr_zero(fed) : -1;
    };
    const int word = latestStart(s2, highest_ != 0);
    const int sentence = latestStart(s3, highest_ >= kSentenceSeparator);
    const int paragraph = latestStart(s4, highest_ == kParagraphSeparator);
    if (paragraph >= 0) {
      paragraphStart_ = block + paragraph;
      paragraphStartPos_ = positionAt(paragraph);
    }
    if (sentence >= 0) {
      sentenceStart_ = block + sentence;
      sentenceStartPos_ = positionAt(sentence);
    }
    if (word >= 0) {
      wordStart_ = block + word;
      wordStartPos_ = positionAt(word);
      startContext();
    }
    lastFed_ = block + last;
    const std::uint64_t after = valid & ~below(last + 1);
    highest_ = (s4 & after) ? 4 : (s3 & after) ? 3 : (s2 & after) ? 2 : 0;
  } else {
    highest_ = std::max(highest_, s4 ? 4 : s3 ? 3 : s2 ? 2 : 0);
  }
  p_ += (to - from) + fewBits(lines);
}

}  // namespace lirno
