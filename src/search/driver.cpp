#include "search/driver.h"

#include "results/document_label.h"
#include "results/sorting.h"
#include "search/request_builder.h"
#include "search/variants.h"

namespace lirno {

void preparePatterns(cArrowList& strings, const SearchRequest& request, const RulesTables& rules) {
  for (const auto& s : strings) {
    if (request.spelling == kSpellingSame) {
      s->pattern = s->text;
      continue;
    }
    // The matcher never feeds a symbol in these spellings, so a pattern that
    // kept one could never be found; the reducer looks ahead in the text as
    // typed, as it does in the document.
    std::string pattern;
    Reducer reducer(rules);
    const char* text = s->text.c_str();
    for (std::size_t i = 0; i < s->text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (rules.classOf(c) == kSymbol) continue;
      const unsigned char folded = request.reduce() ? reducer.next(text + i) : rules.upperOf(c);
      if (folded != 0 || !request.reduce()) pattern += static_cast<char>(folded);
    }
    s->pattern = std::move(pattern);
  }
}

void forEachDocument(EngineContext& context, bool useCorpus,
                     const std::function<void(const Document&, const DocumentLabel&)>& scan) {
  if (!useCorpus) {
    scan(context.documents.current(), DocumentLabel());
    return;
  }
  context.documents.closeAll();
  const std::size_t count = context.corpus.size();
  for (std::size_t k = 0; k < count; ++k) {
    if (context.progress) context.progress(k, count);
    if (context.corpus[k].empty()) continue;  // names no document
    const std::string path = resolveDocumentPath(context.corpus[k], context.programFolder);
    if (const Document* doc = context.documents.load(path)) {
      scan(*doc, DocumentLabel(documentLabel(path, context.programFolder), path));
      context.documents.closeAll();
    }
  }
}

SearchOutcome runSearch(SearchRequest& request, cTargetList& targets, EngineContext& context,
                        bool interactive) {
  SearchOutcome outcome;
  preparePatterns(request.strings, request, context.rules);

  if (request.generate()) {
    GenerationLog log;
    const bool logging = request.saveGenerations && !context.generationFile.empty() &&
                         log.open(context.generationFile);
    outcome.generationLimited = createVariantStrings(request.strings, request.generationLevel,
                                                     context.rules.variantRules,
                                                     logging ? &log : nullptr);
    log.close();
    if (interactive && context.reviewVariants && !context.reviewVariants(request.strings)) {
      removeParentedStrings(request.strings);
      return outcome;
    }
  }
  outcome.searched = true;

  if (context.clearingTargets) context.clearingTargets();
  targets.clear();
  forEachDocument(context, request.useCorpus, [&](const Document& doc, const DocumentLabel& label) {
    scanDocument(request, doc, context.rules, label, targets, context.scanMethod);
  });

  removeParentedStrings(request.strings);
  outcome.status =
      searchStatusLine(request, targets, context.translate, outcome.generationLimited);
  outcome.sortOrder = request.sortFromRight ? kSortRightToLeftAscending : kSortTextAscending;
  sortTargets(targets, outcome.sortOrder, false);
  return outcome;
}

std::string searchStatusLine(const SearchRequest& request, const cTargetList& targets,
                             const Translator& translate, bool generationLimited) {
  auto T = [&](std::string_view text) { return translateToAnsi(translate, text); };
  std::string line = "\"";
  for (std::size_t k = 0; k < request.strings.size(); ++k) {
    const SearchString& s = *request.strings[k];
    if (k > 0) line += " + ";
    if (s.exclude) line += '!';
    line += s.pattern;
  }
  line += '"';
  if (request.context != kContextText && request.context <= kContextParagraph) {
    line.append(" (").append(T("Contx : ")).append(T(kContextNames[request.context]));
    if (request.allStrings) line.append(", ").append(T("tout"));
    if (request.inOrder) line.append(", ").append(T("dans l'ordre"));
    line += ')';
  }
  line += T("  Mots : ") + std::to_string(targets.size());
  line += T("  Occurrences : ") + std::to_string(targets.occurrenceCount());
  if (generationLimited) {
    line += T("  Génération limitée : ") + std::to_string(kMaxVariantsPerWord) +
            T(" variantes par chaîne au plus");
  }
  return line;
}

std::vector<HighlightRange> highlightRanges(const cTargetList& targets, std::string_view currentLabel) {
  std::vector<HighlightRange> ranges;
  for (const auto& t : targets.records()) {
    if (!t->document.empty() && t->document.str() != currentLabel) continue;
    for (const Occurrence& o : t->occurrences) ranges.push_back({o.start, o.length});
  }
  return ranges;
}

}  // namespace lirno
