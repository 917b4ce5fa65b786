#include "results/occurrence_place.h"

namespace lirno {
namespace {

bool automaticPageMark(const Document& doc, const Mark& m, unsigned char pageMarker) {
  return m.index >= 0 && static_cast<std::size_t>(m.index) < doc.text.size() &&
         static_cast<unsigned char>(doc.text[static_cast<std::size_t>(m.index)]) != pageMarker;
}

}  // namespace

Location placeOf(const Document& doc, std::int32_t value, Unit unit, unsigned char pageMarker) {
  Location loc = doc.locate(value, unit);
  if (loc.page != 0) return loc;
  for (const Mark& m : doc.marks) {
    const std::int32_t at = unit == Unit::Position ? m.position : m.index;
    if (at > value) break;
    if (m.kind != MarkKind::Page) continue;
    // A page mark at a page marker character is the transcriber's; the
    // caret rule (a mark at the value does not count) holds for it.
    if (at == value && automaticPageMark(doc, m, pageMarker)) loc.page = m.number;
    break;
  }
  return loc;
}

PlaceCursor::PlaceCursor(const Document& doc, Unit unit, unsigned char pageMarker)
    : doc_(doc), unit_(unit), pageMarker_(pageMarker), firstPage_(doc.marks.size()) {
  for (std::size_t k = 0; k < doc.marks.size(); ++k) {
    if (doc.marks[k].kind == MarkKind::Page) {
      firstPage_ = k;
      firstPageAutomatic_ = automaticPageMark(doc, doc.marks[k], pageMarker);
      break;
    }
  }
}

std::int32_t PlaceCursor::coordinate(std::size_t k) const {
  return unit_ == Unit::Position ? doc_.marks[k].position : doc_.marks[k].index;
}

Location PlaceCursor::at(std::int32_t value) {
  if (value < last_) {
    next_ = 0;
    running_ = Location();
  }
  last_ = value;
  const cMarkList& marks = doc_.marks;
  for (; next_ < marks.size() && coordinate(next_) < value; ++next_) {
    const Mark& m = marks[next_];
    switch (m.kind) {
      case MarkKind::Page:
        running_.page = m.number;
        break;
      case MarkKind::Folio:
        running_.folio = m.number;
        running_.side = m.value;
        break;
      case MarkKind::Glyph:
        running_.glyph = m.number;
        running_.picture = m.picture.get();
        break;
      case MarkKind::Span:
        running_.spanStart = coordinate(next_);
        running_.spanLength = m.number;
        break;
    }
  }
  Location loc = running_;
  if (loc.page == 0 && firstPageAutomatic_ && coordinate(firstPage_) == value) {
    loc.page = marks[firstPage_].number;
  }
  return loc;
}

}  // namespace lirno
