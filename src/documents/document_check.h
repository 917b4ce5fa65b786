#pragma once
// A full check of the invariants a read document keeps, for tests, fuzzing
// and inspection tools.
#include <string>

#include "documents/document.h"
#include "documents/markers.h"

namespace lirno {

// Empty when `doc` keeps every invariant; otherwise the first fault found:
// a NUL in the text, a line-break byte without exactly one line-table entry
// at its position, marks out of order or whose position is not that of
// their index, a mark on a character its kind does not allow, a span running
// past the text, a picture on a mark that is not a glyph mark.
std::string checkDocument(const Document& doc, const Markers& markers);

}  // namespace lirno
