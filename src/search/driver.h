#pragma once
// The search driver: prepares the strings, generates variants, scans the
// current document or every corpus document, and works out what the window
// shows afterwards (status line, sorted targets, highlighted ranges). The
// workbench's search controller and lirno-batch both run searches through
// runSearch.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_source.h"
#include "platform/translator.h"
#include "search/matcher.h"
#include "search/request.h"
#include "search/rules_tables.h"
#include "search/targets.h"
#include "search/variants.h"

namespace lirno {

// What a search or a word list needs besides the request and the targets.
struct EngineContext {
  const RulesTables& rules;
  DocumentSource& documents;
  const std::vector<std::string>& corpus;  // document paths (UTF-8), in order
  std::string programFolder;               // with its trailing "/"
  Translator translate;                    // empty: identity
  // "Lirno_Genor.txt" in the settings folder; empty: generations are never
  // saved.
  std::string generationFile;
  // The variant dialog, shown on the string list when the search is
  // interactive; false (cancelled) abandons the search.
  std::function<bool(cArrowList&)> reviewVariants;
  // Called before each corpus document is scanned (0-based, count), so that
  // a long search can show progress; false stops the work there.
  std::function<bool(std::size_t, std::size_t)> progress;
  ScanMethod scanMethod = ScanMethod::kFast;
  // The search goes ahead (no variant dialog, or it was confirmed): called
  // once, just before the previous targets are freed, so that a window can
  // let go of them (current target, grid rows, highlighting) first.
  std::function<void()> clearingTargets = {};
};

// How far work over the corpus got: `done` of `total` documents handled
// (read or found missing); interrupted when the progress stopped it.
struct CorpusRun {
  std::size_t done = 0;
  std::size_t total = 0;
  bool interrupted = false;
};

struct SearchOutcome {
  bool searched = false;           // false: the variant dialog was cancelled
  std::string status;              // the status line, Windows-1252
  int sortOrder = 2;               // the order applied to the targets (2 or 4)
  VariantLimits generationLimits;  // the variant bounds that were reached
  CorpusRun corpus;                // with use corpus
};

// A range to colour red in the current pane, in positions.
struct HighlightRange {
  std::int32_t start = 0;
  std::int32_t length = 0;
};

// Runs `scan` over the current document with an empty label or, with
// `useCorpus`, over each corpus document in order with its Document label:
// all documents are closed first and after each one, and a document that
// cannot be read is reported by the source and skipped.
// Returns how far the corpus was worked through (nothing without it).
CorpusRun forEachDocument(EngineContext& context, bool useCorpus,
                          const std::function<void(const Document&, const DocumentLabel&)>& scan);

// What the status line adds when work over the corpus was interrupted:
// after how many of its documents (Windows-1252).
std::string interruptionNote(const CorpusRun& run, const Translator& translate);

// Steps 1 and 2 of a search: each pattern becomes its text, upper-cased or
// reduced unless the spelling is "Identique"; symbols (class 1) are left
// out of the patterns whenever the matcher skips them in the text.
void preparePatterns(cArrowList& strings, const SearchRequest& request, const RulesTables& rules);

// Run search. `interactive` decides whether reviewVariants is shown. The
// previous targets are freed first unless the search is abandoned; after a
// corpus search no document is open.
SearchOutcome runSearch(SearchRequest& request, cTargetList& targets, EngineContext& context,
                        bool interactive);

// The status line of a search: the patterns between double quotes, the
// context and the counts.
std::string searchStatusLine(const SearchRequest& request, const cTargetList& targets,
                             const Translator& translate, const VariantLimits& generationLimits = {});

// What the status line adds when some found text of `targets` was cut
// (kMaxFoundTextLength); empty otherwise.
std::string cutTextsNote(const cTargetList& targets, const Translator& translate);

// Highlight occurrences: every occurrence of the targets that belong to the
// document labelled `currentLabel` (or have no label).
std::vector<HighlightRange> highlightRanges(const cTargetList& targets, std::string_view currentLabel);

}  // namespace lirno
