#pragma once
// Helpers of the reader tests: reading from memory, marks written compactly,
// a small valid Windows metafile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "documents/document.h"
#include "documents/document_check.h"
#include "documents/rtf_reader.h"

namespace lirno::testing {

inline Document readText(const std::string& bytes, const Markers& markers = Markers()) {
  Document doc;
  EXPECT_TRUE(readDocumentFromMemory(bytes, doc, markers));
  EXPECT_EQ(checkDocument(doc, markers), "") << "input: " << bytes;
  return doc;
}

// "P1@0/0": kind (P page, F folio with r/v, G glyph with * when it holds a
// picture, S span), number, then position/index.
inline std::vector<std::string> describeMarks(const Document& doc) {
  std::vector<std::string> out;
  for (const Mark& m : doc.marks) {
    std::string s;
    switch (m.kind) {
      case MarkKind::Page:
        s = "P" + std::to_string(m.number);
        break;
      case MarkKind::Folio:
        s = "F" + std::to_string(m.number) + (m.value == 1 ? "v" : "r");
        break;
      case MarkKind::Glyph:
        s = "G" + std::to_string(m.number) + (m.picture ? "*" : "");
        break;
      case MarkKind::Span:
        s = "S" + std::to_string(m.number);
        break;
    }
    out.push_back(s + "@" + std::to_string(m.position) + "/" + std::to_string(m.index));
  }
  return out;
}

// A Windows metafile of one MoveTo record and the end record, in hex as an
// RTF picture holds it; `tag` varies its coordinates.
inline std::string metafileHex(int tag = 1) {
  const std::vector<int> words = {
      1, 9, 0x0300, 17, 0, 0, 5, 0, 0,  // header: 17 words in all, no objects, longest record 5
      5, 0, 0x0214, tag, tag,           // MoveTo(tag, tag)
      3, 0, 0};                         // end
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (int w : words) {
    for (int b : {w & 0xFF, (w >> 8) & 0xFF}) {
      hex.push_back(digits[b >> 4]);
      hex.push_back(digits[b & 15]);
    }
  }
  return hex;
}

inline std::string picture(int tag = 1, const std::string& type = "\\wmetafile8") {
  return "{\\pict" + type + "\\picw120\\pich80 " + metafileHex(tag) + "}";
}

}  // namespace lirno::testing
