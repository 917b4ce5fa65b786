// The document reader over any bytes: no crash, no read out of bounds, and
// the document it builds keeps every invariant. The first three bytes, when
// they come with a 0x01 tag, choose the page, verso and glyph markers, so
// that odd marker choices are tried too.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/document_check.h"
#include "documents/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lirno::Markers markers;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (size >= 4 && data[0] == 0x01) {
    markers.page = data[1];
    markers.verso = data[2];
    markers.glyph = data[3];
    bytes.remove_prefix(4);
  }
  lirno::Document doc;
  if (!lirno::readDocumentFromMemory(bytes, doc, markers)) std::abort();
  const std::string fault = lirno::checkDocument(doc, markers);
  if (!fault.empty()) {
    std::fprintf(stderr, "invariant broken: %s\n", fault.c_str());
    std::abort();
  }
  // The model's look-ups over every place of a small text.
  const auto end = static_cast<std::int32_t>(doc.text.size());
  for (std::int32_t i = 0; i <= end && i < 4096; ++i) {
    const std::int32_t position = doc.positionOfIndex(i);
    if (doc.indexOfPosition(position) != i) std::abort();
    const lirno::Location byPosition = doc.locate(position, lirno::Unit::Position);
    const lirno::Location byIndex = doc.locate(i, lirno::Unit::Index);
    if (byPosition.page != byIndex.page || byPosition.glyph != byIndex.glyph) std::abort();
    doc.lineOfPosition(position);
    doc.lineBreakAt(i);
  }
  return 0;
}
