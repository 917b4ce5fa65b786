#include "documents/document_check.h"

#include <string_view>

namespace lirno {

std::string checkDocument(const Document& doc, const Markers& markers) {
  const std::string& text = doc.text;
  // The reader's own choice for markers it cannot use.
  const unsigned char glyph = Markers::usable(markers.glyph) ? markers.glyph : Markers::kDefaultGlyph;
  const unsigned char verso = Markers::usable(markers.verso) ? markers.verso : Markers::kDefaultVerso;
  if (text.find('\0') != std::string::npos) return "NUL byte in the text";

  // Positions of every byte, from the text alone.
  std::size_t breaks = 0;
  std::int32_t position = 0;
  std::vector<std::int32_t> positionOf(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    positionOf[i] = position;
    const char c = text[i];
    if (c == '\n' || c == '\r') {
      if (breaks >= doc.lineTable.size() || doc.lineTable[breaks] != position) {
        return "break at index " + std::to_string(i) + " without its line-table entry";
      }
      ++breaks;
      position += 2;
    } else {
      position += 1;
    }
  }
  positionOf[text.size()] = position;
  if (breaks != doc.lineTable.size()) return "line-table entries without a break";

  const Mark* previous = nullptr;
  for (const Mark& m : doc.marks) {
    if (m.index < 0 || static_cast<std::size_t>(m.index) >= text.size()) {
      return "mark outside the text at index " + std::to_string(m.index);
    }
    if (m.position != positionOf[static_cast<std::size_t>(m.index)]) {
      return "mark position does not match its index " + std::to_string(m.index);
    }
    if (previous && (m.index < previous->index || m.position < previous->position)) {
      return "marks out of order at index " + std::to_string(m.index);
    }
    previous = &m;
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(m.index)]);
    if (c == '\n' || c == '\r') return "mark on a break at index " + std::to_string(m.index);
    switch (m.kind) {
      case MarkKind::Page:
        break;  // the automatic page 1 stands at an ordinary character
      case MarkKind::Folio:
        if (c != verso && c != Markers::kRecto) return "folio mark on another character";
        break;
      case MarkKind::Glyph:
        if (c != glyph) return "glyph mark on another character";
        break;
      case MarkKind::Span:
        if (c != Markers::kSpan) return "span mark on another character";
        if (m.number < 0 || static_cast<std::size_t>(m.index) + static_cast<std::size_t>(m.number) > text.size()) {
          return "span runs past the text";
        }
        break;
    }
    if (m.picture && m.kind != MarkKind::Glyph) return "picture on a mark that is not a glyph";
  }
  return {};
}

}  // namespace lirno
