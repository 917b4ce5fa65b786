#include "results/occurrence_place.h"

namespace lirno {

Location placeOf(const Document& doc, std::int32_t value, Unit unit, unsigned char pageMarker) {
  Location loc = doc.locate(value, unit);
  if (loc.page != 0) return loc;
  for (const Mark& m : doc.marks) {
    const std::int32_t at = unit == Unit::Position ? m.position : m.index;
    if (at > value) break;
    if (m.kind != MarkKind::Page) continue;
    // A page mark at a page marker character is the transcriber's; the
    // caret rule (a mark at the value does not count) holds for it.
    const bool automatic = m.index >= 0 && static_cast<std::size_t>(m.index) < doc.text.size() &&
                           static_cast<unsigned char>(doc.text[static_cast<std::size_t>(m.index)]) !=
                               pageMarker;
    if (at == value && automatic) loc.page = m.number;
    break;
  }
  return loc;
}

}  // namespace lirno
