#include "lexicon/word_list.h"

#include <algorithm>
#include <array>
#include <bit>

#include "search/byte_classifier.h"

#include "results/sorting.h"
#include "search/target_recorder.h"

namespace lirno {

namespace {

// Attribute bits of a byte for the word scan's block classifier.
enum : std::uint8_t { kLetter = 1, kSep = 2, kSep3 = 4, kSep4 = 8, kLineBreak = 16 };
constexpr int kLetterBit = 0, kSepBit = 1, kSep3Bit = 2, kSep4Bit = 3, kLineBreakBit = 4;

inline std::uint64_t below(int n) { return n >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << n) - 1; }

}  // namespace

// The scan takes the text 64 bytes at a time, as masks of letters,
// separators and line breaks: a word is found from its first letter to the
// separator after it with two bit searches, whatever its length.
void wordScan(const Document& doc, const DocumentLabel& label, const cFilterList& filters,
              const RulesTables& rules, int resultSpelling, bool showSymbols, cTargetList& targets) {
  TargetRecorder recorder(targets, doc, rules, label, resultSpelling, showSymbols);
  const auto* text = reinterpret_cast<const unsigned char*>(doc.text.c_str());
  const auto size = static_cast<std::int32_t>(doc.text.size());

  std::array<std::uint8_t, 256> table{};
  for (int b = 0; b < 256; ++b) {
    const int m = rules.classOf(static_cast<unsigned char>(b));
    std::uint8_t v = 0;
    if (m == kWordChar) v |= kLetter;
    if (m >= kWordSeparator) v |= kSep;
    if (m >= kSentenceSeparator) v |= kSep3;
    if (m >= kParagraphSeparator) v |= kSep4;
    // Positions count a line break 2, as the panes and the matcher do,
    // whatever class the rules give it.
    if (b == '\n' || b == '\r') v |= kLineBreak;
    table[static_cast<std::size_t>(b)] = v;
  }
  const ByteClassifier classifier(table);

  PendingTarget word;  // context start -1, context lengths 0: a word list has no context
  // Each word is recorded once the next one is found, so that its index
  // entry is fetched meanwhile; a sentence end records it first.
  PendingTarget waiting;
  std::int32_t waitingLength = 0;
  TargetRecorder::Lookup waitingLookup{};
  bool hasWaiting = false;
  const auto flush = [&] {
    if (hasWaiting) recorder.record(waiting, waitingLength, waitingLookup);
    hasWaiting = false;
  };
  bool open = false;
  int highest = kParagraphSeparator;  // the first word opens a paragraph
  std::int32_t lastLetter = -1;
  std::int32_t lineBreaks = 0;  // before the current block
  BlockBits bits[kMaxChunkBlocks];
  unsigned char tail[kBlockBytes];
  for (std::int32_t chunk = 0; chunk < size;) {
    const std::int32_t left = size - chunk;
    int blocks = std::min<std::int32_t>(left / kBlockBytes, kMaxChunkBlocks);
    int lastBlockBytes = kBlockBytes;
    if (blocks > 0) {
      classifier.bits(text + chunk, blocks, bits);
    } else {
      // The last bytes, padded; the padding is masked off below.
      lastBlockBytes = left;
      std::fill(std::begin(tail), std::end(tail), 0);
      std::copy_n(text + chunk, left, tail);
      classifier.bits(tail, 1, bits);
      blocks = 1;
    }
    for (int k = 0; k < blocks; ++k) {
      const std::int32_t base = chunk + k * kBlockBytes;
      const std::uint64_t valid = below(lastBlockBytes);
      const std::uint64_t letters = bits[k].bit[kLetterBit] & valid;
      const std::uint64_t seps = bits[k].bit[kSepBit] & valid;
      const std::uint64_t seps3 = bits[k].bit[kSep3Bit] & valid;
      const std::uint64_t seps4 = bits[k].bit[kSep4Bit] & valid;
      const std::uint64_t lines = bits[k].bit[kLineBreakBit] & valid;
      int at = 0;
      while (at < 64) {
        if (!open) {
          // Separators up to the next letter: the highest class, and the ends
          // of the occurrences that wait for their sentence or paragraph.
          const std::uint64_t next = letters & ~below(at);
          const int to = next ? std::countr_zero(next) : 64;
          const std::uint64_t gap = below(to) & ~below(at);
          if (seps & gap) {
            const int m = (seps4 & gap) ? kParagraphSeparator : (seps3 & gap) ? kSentenceSeparator : kWordSeparator;
            if (m >= kSentenceSeparator) {
              flush();
              recorder.fillEnds(lastLetter, m);
            }
            if (m > highest) highest = m;
          }
          if (!next) break;
          const std::int32_t i = base + to;
          open = true;
          if (highest >= kParagraphSeparator) word.paragraphStart = i;
          if (highest >= kSentenceSeparator) word.sentenceStart = i;
          word.wordStart = i;
          word.matchStart = i;
          word.startPosition = i + lineBreaks + fewBits(lines & below(to));
          highest = 0;
          at = to;
        }
        // Letters up to the next separator; symbols change nothing.
        const std::uint64_t next = seps & ~below(at);
        const int to = next ? std::countr_zero(next) : 64;
        const std::uint64_t span = letters & below(to) & ~below(at);
        if (span) lastLetter = base + 63 - std::countl_zero(span);
        if (!next) break;
        const std::int32_t n = lastLetter - word.matchStart + 1;
        word.wordEnd = lastLetter;
        word.lengthChars = n;
        word.lengthPositions = n;  // a word holds no line break
        if (filters.empty() || filterCheck(text + word.matchStart, n, true, filters, rules)) {
          const TargetRecorder::Lookup lookup = recorder.lookUp(word, n);
          flush();
          waiting = word;
          waitingLength = n;
          waitingLookup = lookup;
          hasWaiting = true;
        }
        open = false;
        at = to;  // the separator is the gap's first
      }
      lineBreaks += fewBits(lines);
    }
    chunk += blocks * kBlockBytes;
  }
  flush();
}

std::string finishWordList(cTargetList& targets, bool sortFromRight, const Translator& translate) {
  // Counted before the sort, while the records are in the order of their memory.
  const std::int64_t occurrences = targets.occurrenceCount();
  sortTargets(targets, sortFromRight ? kSortRightToLeftAscending : kSortTextAscending, false);
  return translateToAnsi(translate, "Mots : ") + std::to_string(targets.size()) +
         translateToAnsi(translate, "  Occurrences : ") + std::to_string(occurrences) +
         cutTextsNote(targets, translate);
}

std::string runWordList(const SearchRequest& request, cTargetList& targets, EngineContext& context,
                        CorpusRun* run) {
  if (context.clearingTargets) context.clearingTargets();
  targets.clear();
  const CorpusRun done = forEachDocument(context, request.useCorpus, [&](const Document& doc, const DocumentLabel& label) {
    wordScan(doc, label, request.filters, context.rules, request.resultSpelling, request.showSymbols,
             targets);
  });
  if (run) *run = done;
  return finishWordList(targets, request.sortFromRight, context.translate) +
         interruptionNote(done, context.translate);
}

}  // namespace lirno
