#pragma once
// The word list: every word of the current document, or of each corpus
// document, with its occurrences, as targets.
#include <string>

#include "documents/document.h"
#include "search/driver.h"
#include "search/request.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno {

// Word scan: one occurrence per word of `doc` (a run from a class-0
// character to the last class-0 character before the next separator; a word
// still open at the end of the text is not counted) that passes `filters`
// (none: every word), under `label`, spelled by `resultSpelling` and
// `showSymbols`.
void wordScan(const Document& doc, const DocumentLabel& label, const cFilterList& filters,
              const RulesTables& rules, int resultSpelling, bool showSymbols, cTargetList& targets);

// Finish: sorts the targets (order 4 when sortFromRight, else 2) and returns
// the status line, Windows-1252.
std::string finishWordList(cTargetList& targets, bool sortFromRight, const Translator& translate);

// The word list command once its dialog is confirmed: the request's result
// spelling, show symbols, use corpus, filters and sort from the right are
// set. Frees the previous targets, scans, and returns Finish's status line.
// After a corpus word list no document is open. `run`, when given, tells
// how far the corpus was worked through.
std::string runWordList(const SearchRequest& request, cTargetList& targets, EngineContext& context,
                        CorpusRun* run = nullptr);

}  // namespace lirno
