#pragma once
// The marker characters that the document reader recognises in, or writes
// into, a document text. The rules file sets the page, verso and glyph
// markers; the others are fixed.
namespace lirno {

struct Markers {
  // Reset values: in force before any rules file is loaded, so that no 0
  // byte is ever written into a text.
  static constexpr unsigned char kDefaultPage = 0xB1;
  static constexpr unsigned char kDefaultVerso = 0xBE;
  static constexpr unsigned char kDefaultGlyph = 0xAD;

  unsigned char page = kDefaultPage;
  unsigned char verso = kDefaultVerso;
  unsigned char glyph = kDefaultGlyph;
  static constexpr unsigned char kNoteAnchor = 0xB9;
  static constexpr unsigned char kSpan = 0xAE;
  static constexpr unsigned char kRecto = '=';

  // A marker may not be NUL (it would end the text) nor a line-break byte
  // (a written Glyph marker would be a break without a line-table entry).
  static constexpr bool usable(unsigned char c) { return c != 0 && c != '\n' && c != '\r'; }
};

}  // namespace lirno
