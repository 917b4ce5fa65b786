#pragma once
// A converted rich text (documents/rich_text.h) as the contents of a
// QTextDocument: paragraphs with their alignment, spacing and indents, runs
// with their font, size, weight, slant, underline, colour and script; links
// as anchors (blue and underlined when the file gave them no colour);
// protected runs carry kProtectedProperty.
#include <QTextFormat>

#include "documents/rich_text.h"

class QTextDocument;

namespace lirno {

inline constexpr int kProtectedProperty = QTextFormat::UserProperty + 1;

// Replaces the contents of `document`.
void fillDocument(QTextDocument& document, const RichText& text);

}  // namespace lirno
