#pragma once
// Page, folio and span of a found text or an extract.
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

}  // namespace lirno
