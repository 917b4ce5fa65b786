#pragma once
// Record occurrence and Fill ends for the scan of one document.
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "documents/document.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno {

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
  // characters from hit.matchStart; the occurrence joins the target of
  // (label, found text) unless that target already has one at the same
  // start.
  void record(const PendingTarget& hit, std::int32_t n);

  // Fill ends, for the occurrences recorded by this recorder only: sets the
  // sentence end (class 3 or 4), the paragraph end (class 4) and the word
  // end to `index` where they are still unknown.
  void fillEnds(std::int32_t index, int separatorClass);

  // Files the targets created since the last commit into the list, which
  // stays ordered by (label, text). Until then they are not in the list.
  void commit();

  // The found text of `n` characters at `at` under the result spelling.
  std::string foundText(const unsigned char* at, std::int32_t n) const;

 private:
  struct Slot {
    Target* target;
    std::int32_t maxStart;  // highest occurrence start: a later start cannot repeat one
  };
  struct OpenEnd {
    Target* target;
    std::size_t occurrence;
  };

  void indexExisting();

  cTargetList& list_;
  const Document& doc_;
  const RulesTables& rules_;
  DocumentLabel label_;
  int resultSpelling_;
  bool showSymbols_;
  std::unordered_map<std::string_view, Slot> index_;  // keys view the targets' texts
  std::vector<std::unique_ptr<Target>> created_;
  std::vector<OpenEnd> sentenceOpen_;   // sentence or word end unknown
  std::vector<OpenEnd> paragraphOpen_;  // paragraph end unknown
};

}  // namespace lirno
