#include "app/document_dump.h"

#include <cstdio>

#include "platform/cp1252.h"

namespace lirno {
namespace {

// A JSON string of Windows-1252 (or, with `utf8`, UTF-8) bytes.
std::string quoted(const std::string& bytes, bool utf8 = false) {
  const std::string text = utf8 ? bytes : cp1252ToUtf8(bytes);
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

const char* kindName(MarkKind kind) {
  switch (kind) {
    case MarkKind::Page: return "page";
    case MarkKind::Folio: return "folio";
    case MarkKind::Glyph: return "glyph";
    case MarkKind::Span: return "span";
  }
  return "unknown";
}

}  // namespace

std::string documentJson(const Document& doc) {
  std::string out = "{\n  \"path\": " + quoted(doc.path, true) + ",\n";
  out += "  \"characters\": " + std::to_string(doc.text.size()) + ",\n";
  out += "  \"text\": " + quoted(doc.text) + ",\n";
  out += "  \"marks\": [";
  for (std::size_t i = 0; i < doc.marks.size(); ++i) {
    const Mark& m = doc.marks[i];
    out += i ? ",\n    " : "\n    ";
    out += "{\"kind\": \"" + std::string(kindName(m.kind)) + "\", \"index\": " +
           std::to_string(m.index) + ", \"position\": " + std::to_string(m.position) +
           ", \"number\": " + std::to_string(m.number) + ", \"value\": " + std::to_string(m.value);
    if (m.kind == MarkKind::Folio) out += std::string(", \"side\": \"") + (m.value ? "verso" : "recto") + "\"";
    if (m.kind == MarkKind::Span && m.number > 0 &&
        static_cast<std::size_t>(m.index) + static_cast<std::size_t>(m.number) <= doc.text.size()) {
      out += ", \"spanText\": " + quoted(doc.text.substr(static_cast<std::size_t>(m.index) + 1,
                                                        static_cast<std::size_t>(m.number - 1)));
    }
    if (m.picture) {
      out += ", \"picture\": {\"metafileBytes\": " + std::to_string(m.picture->metafile.size()) +
             ", \"mappingMode\": " + std::to_string(m.picture->mappingMode) +
             ", \"width\": " + std::to_string(m.picture->width) +
             ", \"height\": " + std::to_string(m.picture->height) + "}";
    }
    out += "}";
  }
  out += doc.marks.empty() ? "],\n" : "\n  ],\n";
  out += "  \"notes\": [";
  for (std::size_t i = 0; i < doc.notes.size(); ++i) {
    out += i ? ",\n    " : "\n    ";
    out += "{\"page\": " + std::to_string(doc.notes[i].page) + ", \"text\": " + quoted(doc.notes[i].text) + "}";
  }
  out += doc.notes.empty() ? "],\n" : "\n  ],\n";
  out += "  \"lineTable\": [";
  for (std::size_t i = 0; i < doc.lineTable.size(); ++i) {
    if (i) out += ", ";
    out += std::to_string(doc.lineTable[i]);
  }
  out += "]\n}\n";
  return out;
}

}  // namespace lirno
