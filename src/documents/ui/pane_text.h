#pragma once
// A document's text in a pane editor, and the conversions between the
// editor's cursor positions and the document's positions.
//
// The text is loaded with each byte as one character (Windows-1252), LF as
// the paragraph (block) separator and CR as a line separator inside the
// paragraph (U+2028): both count one cursor position, like every other
// byte, so a cursor position is exactly a document index, and
// Document::positionOfIndex / indexOfPosition convert through the line
// table in logarithmic time.
#include <QString>
#include <QTextCharFormat>

#include <cstdint>
#include <utility>
#include <vector>

#include "documents/document.h"

class QTextDocument;

namespace lirno {

QString paneText(const Document& doc);

// Cursor position of a document position, within the text.
int cursorOfPosition(const Document& doc, std::int32_t position);
// Document position of a cursor position.
std::int32_t positionOfCursor(const Document& doc, int cursor);

// Colours ranges of an editor's text through the text layouts' own format
// ranges (as a syntax highlighter does), touching only the paragraphs that
// hold a range: so 100 000 ranges cost what their paragraphs cost, not
// what the document costs.
class RangeColouring {
 public:
  explicit RangeColouring(QTextDocument* document) : document_(document) {}

  // Cursor ranges [first, second), sorted by start (sorted here if not).
  // Replaces the previous colouring.
  void colour(std::vector<std::pair<int, int>> ranges, const QTextCharFormat& format);
  // Back to the plain text colour.
  void clear();
  // The document's text was replaced: its paragraphs carry no colour.
  void forget() { blocks_.clear(); }
  std::size_t colouredParagraphs() const { return blocks_.size(); }

 private:
  QTextDocument* document_;
  std::vector<int> blocks_;  // numbers of the blocks that carry formats
};

}  // namespace lirno
