#include "search/driver.h"

#include "results/document_label.h"
#include "results/sorting.h"
#include "search/request_builder.h"
#include "search/variants.h"

namespace lirno {

void preparePatterns(cArrowList& strings, const SearchRequest& request, const RulesTables& rules) {
  Reducer reducer(rules);
  for (const auto& s : strings) {
    if (request.spelling == kSpellingSame) {
      s->pattern = s->text;
      continue;
    }
    // The matcher never feeds a symbol in these spellings, so a pattern that
    // kept one could never be found. A typed symbol is dropped before the
    // reduction, which then reads the letters as they are meant
    // ("q'uinze" reduces as "quinze" does).
    std::string visible;
    for (const char c : s->text) {
      if (rules.classOf(static_cast<unsigned char>(c)) != kSymbol) visible += c;
    }
    std::string pattern;
    if (request.reduce()) {
      reducer.reset();
      for (std::size_t i = 0; i < visible.size(); ++i) {
        if (const unsigned char r = reducer.next(visible.c_str() + i)) pattern += static_cast<char>(r);
      }
    } else {
      // What upper-cases to 0 is never fed to the strings.
      for (const char c : visible) {
        if (const unsigned char u = rules.upperOf(static_cast<unsigned char>(c))) pattern += static_cast<char>(u);
      }
    }
    s->pattern = std::move(pattern);
  }
}

CorpusRun forEachDocument(EngineContext& context, bool useCorpus,
                          const std::function<void(const Document&, const DocumentLabel&)>& scan) {
  CorpusRun run;
  if (!useCorpus) {
    scan(context.documents.current(), DocumentLabel());
    return run;
  }
  context.documents.closeAll();
  run.total = context.corpus.size();
  for (; run.done < run.total; ++run.done) {
    if (context.progress && !context.progress(run.done, run.total)) {
      run.interrupted = true;
      break;
    }
    if (context.corpus[run.done].empty()) continue;  // names no document
    const std::string path = resolveDocumentPath(context.corpus[run.done], context.programFolder);
    if (const Document* doc = context.documents.load(path)) {
      scan(*doc, DocumentLabel(documentLabel(path, context.programFolder), path));
      context.documents.closeAll();
    }
  }
  return run;
}

std::string interruptionNote(const CorpusRun& run, const Translator& translate) {
  if (!run.interrupted) return {};
  return translateToAnsi(translate, "  Interrompu après ") + std::to_string(run.done) +
         translateToAnsi(translate, " documents sur ") + std::to_string(run.total);
}

SearchOutcome runSearch(SearchRequest& request, cTargetList& targets, EngineContext& context,
                        bool interactive) {
  SearchOutcome outcome;
  preparePatterns(request.strings, request, context.rules);

  if (request.generate()) {
    GenerationLog log;
    const bool logging = request.saveGenerations && !context.generationFile.empty() &&
                         log.open(context.generationFile);
    outcome.generationLimits = createVariantStrings(request.strings, request.generationLevel,
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
  outcome.corpus =
      forEachDocument(context, request.useCorpus, [&](const Document& doc, const DocumentLabel& label) {
        scanDocument(request, doc, context.rules, label, targets, context.scanMethod);
      });

  removeParentedStrings(request.strings);
  outcome.status = searchStatusLine(request, targets, context.translate, outcome.generationLimits) +
                   interruptionNote(outcome.corpus, context.translate);
  outcome.sortOrder = request.sortFromRight ? kSortRightToLeftAscending : kSortTextAscending;
  sortTargets(targets, outcome.sortOrder, false);
  return outcome;
}

std::string searchStatusLine(const SearchRequest& request, const cTargetList& targets,
                             const Translator& translate, const VariantLimits& generationLimits) {
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
  line += cutTextsNote(targets, translate);
  if (generationLimits.perString) {
    line += T("  Génération limitée : ") + std::to_string(kMaxVariantsPerWord) +
            T(" variantes par chaîne au plus");
  }
  if (generationLimits.perRequest) {
    line += T("  Génération arrêtée : ") + std::to_string(kMaxVariantsPerRequest) +
            T(" variantes ou ") + std::to_string(kMaxApplicationsPerRequest) +
            T(" applications de règles par recherche au plus");
  }
  return line;
}

std::string cutTextsNote(const cTargetList& targets, const Translator& translate) {
  if (!targets.textsCut()) return {};
  return translateToAnsi(translate, "  Textes coupés à ") + std::to_string(kMaxFoundTextLength) +
         translateToAnsi(translate, " caractères");
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
