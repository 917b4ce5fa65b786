#pragma once
// The document reader: turns a transcription file, rich text or plain text,
// into a Document. A single-pass lexer of its own that keeps the characters,
// makes paragraph and line ends single break bytes, records the page, folio,
// glyph and span markers as marks, collects footnotes as notes and keeps the
// embedded Windows metafile glyph drawings on their glyph marks.
#include <cstddef>
#include <string>
#include <string_view>

#include "documents/document.h"
#include "documents/markers.h"
#include "platform/file_read.h"

namespace lirno {

// Largest input read: every position (a break counts 2) must fit 32 bits.
inline constexpr std::size_t kMaxDocumentBytes = (std::size_t{1} << 30) - 16;

// Reads the file at `path` (UTF-8) into `doc` with the given marker
// characters. False, with `*error` (when given) saying why, when the file
// cannot be opened, is not a regular file (never waited on) or is larger
// than kMaxDocumentBytes (`doc` untouched), or when a read fails on the way
// (`doc` left empty: part of a document is no document). Otherwise `doc`
// is cleared, filled (text without NUL bytes, marks, notes, line table,
// glyph pictures), its path set and its marks indexed, and the result is
// true.
bool readDocument(const std::string& path, Document& doc, const Markers& markers,
                  FileError* error = nullptr);

// The same over bytes in memory (tests, fuzzing); `doc.path` stays empty.
// False only for input larger than kMaxDocumentBytes.
bool readDocumentFromMemory(std::string_view bytes, Document& doc, const Markers& markers);

}  // namespace lirno
