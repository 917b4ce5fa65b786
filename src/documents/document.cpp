#include "documents/document.h"

#include <algorithm>

namespace lirno {

void Document::clear() {
  path.clear();
  text.clear();
  text.shrink_to_fit();
  marks.clear();
  marks.shrink_to_fit();
  lineTable.clear();
  lineTable.shrink_to_fit();
  notes.clear();
  notes.shrink_to_fit();
  prefix_.clear();
  prefix_.shrink_to_fit();
  indexedMarks_ = 0;
}

namespace {

void takeMark(const cMarkList& marks, std::size_t i, std::int32_t& page, std::int32_t& folio,
              std::int32_t& glyph, std::int32_t& span) {
  const auto at = static_cast<std::int32_t>(i);
  switch (marks[i].kind) {
    case MarkKind::Page:
      page = at;
      break;
    case MarkKind::Folio:
      folio = at;
      break;
    case MarkKind::Glyph:
      glyph = at;
      break;
    case MarkKind::Span:
      span = at;
      break;
  }
}

}  // namespace

void Document::indexMarks() const {
  prefix_.clear();
  prefix_.reserve(marks.size() / kPrefixStride + 1);
  MarkPrefix last{-1, -1, -1, -1};
  for (std::size_t i = 0; i < marks.size(); ++i) {
    if (i % kPrefixStride == 0) prefix_.push_back(last);
    takeMark(marks, i, last.page, last.folio, last.glyph, last.span);
  }
  indexedMarks_ = marks.size();
}

Location Document::locate(std::int32_t value, Unit unit) const {
  Location loc;
  // Marks never decrease in either unit, so the first mark not below the
  // value splits the list.
  const auto firstNotBelow = std::partition_point(marks.begin(), marks.end(), [&](const Mark& m) {
    return (unit == Unit::Position ? m.position : m.index) < value;
  });
  if (firstNotBelow == marks.begin()) return loc;
  const std::size_t lastBefore = static_cast<std::size_t>(firstNotBelow - marks.begin()) - 1;
  if (indexedMarks_ != marks.size()) indexMarks();  // a hand-built document
  MarkPrefix p = prefix_[lastBefore / kPrefixStride];
  for (std::size_t i = lastBefore / kPrefixStride * kPrefixStride; i <= lastBefore; ++i) {
    takeMark(marks, i, p.page, p.folio, p.glyph, p.span);
  }
  if (p.page >= 0) loc.page = marks[p.page].number;
  if (p.folio >= 0) {
    loc.folio = marks[p.folio].number;
    loc.side = marks[p.folio].value;
  }
  if (p.glyph >= 0) {
    loc.glyph = marks[p.glyph].number;
    loc.picture = marks[p.glyph].picture.get();
  }
  if (p.span >= 0) {
    const Mark& s = marks[p.span];
    loc.spanStart = unit == Unit::Position ? s.position : s.index;
    loc.spanLength = s.number;
  }
  return loc;
}

int Document::lineOfPosition(std::int32_t position) const {
  const auto after = std::upper_bound(lineTable.begin(), lineTable.end(), position);
  return static_cast<int>(after - lineTable.begin()) - 1;
}

std::int32_t Document::lineBreakAt(int k) const {
  if (lineTable.empty()) return 0;
  if (k < 0) k = 0;
  if (static_cast<std::size_t>(k) >= lineTable.size()) return lineTable.back();
  return lineTable[static_cast<std::size_t>(k)];
}

std::vector<const Note*> Document::notesOfPage(std::int32_t page) const {
  std::vector<const Note*> out;
  for (const Note& n : notes) {
    if (n.page > page) break;
    if (n.page == page) out.push_back(&n);
  }
  return out;
}

std::int32_t Document::positionOfIndex(std::int32_t index) const {
  // Break k stands at index lineTable[k] - k; count the breaks before index.
  std::size_t lo = 0, hi = lineTable.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    if (lineTable[mid] - static_cast<std::int32_t>(mid) < index) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return index + static_cast<std::int32_t>(lo);
}

std::int32_t Document::indexOfPosition(std::int32_t position) const {
  // Every break strictly before the position took one extra unit; the second
  // unit of a break maps to the break's own index.
  const auto before = std::lower_bound(lineTable.begin(), lineTable.end(), position);
  return position - static_cast<std::int32_t>(before - lineTable.begin());
}

std::size_t Document::memoryUsage() const {
  std::size_t bytes = sizeof(Document) + text.capacity() + marks.capacity() * sizeof(Mark) +
                      prefix_.capacity() * sizeof(MarkPrefix) + lineTable.capacity() * sizeof(std::int32_t) +
                      notes.capacity() * sizeof(Note);
  for (const Mark& m : marks) {
    if (m.picture) bytes += sizeof(GlyphPicture) + m.picture->metafile.capacity();
  }
  for (const Note& n : notes) bytes += n.text.capacity();
  return bytes;
}

}  // namespace lirno
