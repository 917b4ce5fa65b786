#pragma once
// A loaded transcription: one flat Windows-1252 text plus its marks (pages,
// folios, glyphs, spans), its footnotes and its line table.
//
// Two units of place are used, and every field says which one it holds:
//  - index: offset of a byte in `text`, every byte counting 1;
//  - position: the same offset counted as the panes count characters, where
//    a line-break byte (LF ends a paragraph, CR breaks a line inside one)
//    counts 2 and every other byte 1.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lirno {

enum class MarkKind : std::int8_t { Page = 2, Folio = 3, Glyph = 4, Span = 5 };

// A glyph drawing as embedded in the transcription: the bytes of a Windows
// metafile (without placeable header) with the mapping mode and extents the
// file gave for it. Rendering is the panes' business.
struct GlyphPicture {
  std::vector<std::uint8_t> metafile;
  std::int32_t mappingMode = 0;  // value of \wmetafileN
  std::int32_t width = 0;        // \picwN
  std::int32_t height = 0;       // \pichN
};

// 24 bytes: a text can hold a mark at nearly every character.
struct Mark {
  std::int32_t position = 0;  // position of the mark's character
  std::int32_t index = 0;     // index of the mark's character
  // Page, folio, glyph: its number. Span: length in index units from the
  // opening marker up to (not including) the character that closed it.
  std::int32_t number = 0;
  MarkKind kind = MarkKind::Page;
  // Folio: side, 0 recto, 1 verso. Glyph: -1. Page and span: 0.
  std::int8_t value = 0;
  std::unique_ptr<GlyphPicture> picture;  // glyph marks only
};
static_assert(sizeof(Mark) <= 24, "a mark record stays compact");

struct Note {
  std::string text;       // paragraphs separated by LF
  std::int32_t page = 0;  // last page mark's number before the note, 0 before any
};

using cMarkList = std::vector<Mark>;
using cNoteList = std::vector<Note>;

enum class Unit { Position, Index };

// What Locate answers for a place. A quantity without a mark before the
// place is 0 (picture: none).
struct Location {
  std::int32_t page = 0;
  std::int32_t folio = 0;
  std::int32_t side = 0;   // 0 recto, 1 verso
  std::int32_t glyph = 0;
  const GlyphPicture* picture = nullptr;
  std::int32_t spanStart = 0;   // in the unit asked for
  std::int32_t spanLength = 0;  // the span mark's number (index units)
};

class Document {
 public:
  std::string path;  // UTF-8 path of the file read; empty when none
  // The text, Windows-1252, without CR LF pairs and without NUL bytes;
  // text.c_str() is the NUL-terminated buffer the engine scans.
  std::string text;
  cMarkList marks;                     // in document order
  std::vector<std::int32_t> lineTable;  // positions of main-text line breaks, increasing
  cNoteList notes;                      // in document order

  // Empties everything: path, text, marks (and their pictures), notes, line
  // table.
  void clear();

  // Builds the look-up that makes Locate logarithmic in the number of marks.
  // The reader calls it once the marks are complete; Locate builds it itself
  // for a document whose marks were filled by hand.
  void indexMarks() const;

  // The marks before `value` in `unit` (a mark exactly at the value does not
  // count): last page, last folio with its side, last glyph with its
  // picture, last span.
  Location locate(std::int32_t value, Unit unit) const;

  // 0-based number of the last line break at or before `position`; -1 before
  // the first one.
  int lineOfPosition(std::int32_t position) const;

  // Position of line break k; the last one when k is at or past the count;
  // 0 when there is none.
  std::int32_t lineBreakAt(int k) const;

  // The notes of `page`, in document order.
  std::vector<const Note*> notesOfPage(std::int32_t page) const;

  // Conversions between the two units (every line break is in lineTable).
  std::int32_t positionOfIndex(std::int32_t index) const;
  std::int32_t indexOfPosition(std::int32_t position) const;

  // Bytes held by the document: text, marks with their pictures and look-up,
  // line table, notes.
  std::size_t memoryUsage() const;

 private:
  // For every kPrefixStride-th mark k, the list index of the last page /
  // folio / glyph / span mark before k, or -1; Locate walks the few marks
  // from there. Built by indexMarks() for the marks there were then.
  static constexpr std::size_t kPrefixStride = 32;
  struct MarkPrefix {
    std::int32_t page, folio, glyph, span;
  };
  mutable std::vector<MarkPrefix> prefix_;
  mutable std::size_t indexedMarks_ = 0;
};

}  // namespace lirno
