#pragma once
// Where the hits fall: for each document, the places of the occurrences of
// the chosen targets and the page and folio boundaries; and the counts of
// occurrences per folio side and per page. Places are positions.
#include <cstdint>
#include <string>
#include <vector>

#include "documents/document_source.h"
#include "results/concordance.h"
#include "search/targets.h"

namespace lirno {

struct DispersionHit {
  std::int32_t position = 0;
  std::uint32_t target = 0;      // index in the target list
  std::uint32_t occurrence = 0;  // index in its occurrences
};

struct DispersionBoundary {
  std::int32_t position = 0;  // of the mark
  bool folio = false;         // false: a page mark
  std::int32_t number = 0;
  std::int32_t verso = 0;
};

struct DispersionStrip {
  std::string label;  // the targets' label; empty for the current document
  std::string name;   // file name (UTF-8)
  std::int32_t length = 0;  // positions; 0 when the document could not be read
  std::vector<DispersionHit> hits;              // by position
  std::vector<DispersionBoundary> boundaries;   // by position
};

// One strip per document of the targets `selected` (empty: all), in the
// order the targets first name them; documents read as buildConcordance
// reads them. A document that cannot be read keeps its hits, with the
// length of its last hit.
std::vector<DispersionStrip> buildDispersion(const cTargetList& list, const std::vector<std::size_t>& selected,
                                             DocumentSource& documents);

// Page, folio and side in force at `position` of a strip (the boundaries
// before it), 0 before any.
struct StripPlace {
  std::int32_t page = 0, folio = 0, verso = 0;
};
StripPlace placeInStrip(const DispersionStrip& strip, std::int32_t position);

// Counts of occurrences per folio side and per page, from the occurrences'
// own page, folio and side (no document is read).
struct PlaceCount {
  std::string document;  // file name (UTF-8); empty for the current document
  bool folio = false;    // false: a page
  std::int32_t number = 0;
  std::int32_t verso = 0;
  std::int64_t count = 0;
};

// Folio rows first, then page rows; each by document (in the order the
// targets first name them), then number and side.
std::vector<PlaceCount> countPlaces(const cTargetList& list, const std::vector<std::size_t>& selected);

// "f:034v" or "p:012".
std::string placeName(const PlaceCount& p);

// The table of counts ("Document", "Unité", "Lieu", "Occurrences"), UTF-8,
// with a header line; `current` names the current document's rows.
std::string placeCountTable(const std::vector<PlaceCount>& counts, TableFormat format, bool bom,
                            const std::string& current);

}  // namespace lirno
