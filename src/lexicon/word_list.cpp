#include "lexicon/word_list.h"

#include "results/sorting.h"
#include "search/target_recorder.h"

namespace lirno {

void wordScan(const Document& doc, const DocumentLabel& label, const cFilterList& filters,
              const RulesTables& rules, int resultSpelling, bool showSymbols, cTargetList& targets) {
  TargetRecorder recorder(targets, doc, rules, label, resultSpelling, showSymbols);
  const auto* text = reinterpret_cast<const unsigned char*>(doc.text.c_str());
  const auto size = static_cast<std::int32_t>(doc.text.size());

  PendingTarget word;  // context start -1, context lengths 0: a word list has no context
  bool open = false;
  int highest = kParagraphSeparator;  // the first word opens a paragraph
  std::int32_t lastLetter = -1;
  std::int32_t position = 0;
  for (std::int32_t i = 0; i < size; ++i) {
    const unsigned char c = text[i];
    const int m = rules.classOf(c);
    if (m == kWordChar) {
      if (!open) {
        open = true;
        if (highest >= kParagraphSeparator) word.paragraphStart = i;
        if (highest >= kSentenceSeparator) word.sentenceStart = i;
        word.wordStart = i;
        word.matchStart = i;
        word.startPosition = position;
        highest = 0;
      }
      lastLetter = i;
    } else if (m >= kWordSeparator) {
      if (open) {
        const std::int32_t n = lastLetter - word.matchStart + 1;
        word.wordEnd = lastLetter;
        word.lengthChars = n;
        word.lengthPositions = n;  // a word holds no line break
        if (filters.empty() || filterCheck(text + word.matchStart, n, true, filters, rules)) {
          recorder.record(word, n);
        }
      }
      if (m >= kSentenceSeparator) recorder.fillEnds(lastLetter, m);
      if (m > highest) highest = m;
      open = false;
    }
    // Positions count a line break 2, as the panes and the matcher do,
    // whatever class the rules give it.
    position += c == '\n' || c == '\r' ? 2 : 1;
  }
}

std::string finishWordList(cTargetList& targets, bool sortFromRight, const Translator& translate) {
  sortTargets(targets, sortFromRight ? kSortRightToLeftAscending : kSortTextAscending, false);
  return translateToAnsi(translate, "Mots : ") + std::to_string(targets.size()) +
         translateToAnsi(translate, "  Occurrences : ") + std::to_string(targets.occurrenceCount());
}

std::string runWordList(const SearchRequest& request, cTargetList& targets, EngineContext& context) {
  if (context.clearingTargets) context.clearingTargets();
  targets.clear();
  forEachDocument(context, request.useCorpus, [&](const Document& doc, const DocumentLabel& label) {
    wordScan(doc, label, request.filters, context.rules, request.resultSpelling, request.showSymbols,
             targets);
  });
  return finishWordList(targets, request.sortFromRight, context.translate);
}

}  // namespace lirno
