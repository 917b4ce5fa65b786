#pragma once
// Page, folio and span of a found text or an extract.
#include <climits>
#include <cstdint>

#include "documents/document.h"

namespace lirno {

// Locate for something that starts at `value` (in `unit`): the marks placed
// before it, as Document::locate gives them, except that the automatic
// page-1 mark (the one the reader makes at the first ordinary character of a
// document without a page marker) also counts when it stands at that very
// character: a word that opens such a document is on page 1, not page 0.
// `pageMarker` is the rules' page marker character.
Location placeOf(const Document& doc, std::int32_t value, Unit unit, unsigned char pageMarker);

// placeOf for a run of values that mostly grow, as the hits of one scan do:
// the marks are walked on from the last value instead of searched anew.
class PlaceCursor {
 public:
  PlaceCursor(const Document& doc, Unit unit, unsigned char pageMarker);
  Location at(std::int32_t value);

 private:
  std::int32_t coordinate(std::size_t k) const;

  const Document& doc_;
  Unit unit_;
  unsigned char pageMarker_;
  std::size_t next_ = 0;      // marks before the last value: [0, next_)
  std::int32_t last_ = INT32_MIN;
  Location running_;          // what those marks give
  std::size_t firstPage_;     // the first page mark, or marks.size()
  bool firstPageAutomatic_ = false;
};

}  // namespace lirno
