#include "documents/panes.h"

#include <algorithm>

#include "platform/paths.h"

namespace lirno {
namespace {

std::string_view trimmed(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

}  // namespace

int leadingNumber(std::string_view text) {
  const std::string_view t = trimmed(text);
  long long n = 0;
  for (char c : t) {
    if (c < '0' || c > '9') break;
    n = std::min<long long>(n * 10 + (c - '0'), 1'000'000'000);
  }
  return static_cast<int>(n);
}

int folioKey(std::string_view text) {
  const std::string_view t = trimmed(text);
  const int f = leadingNumber(t);
  return 2 * f + (!t.empty() && t.back() == 'v' ? 1 : 0);
}

std::string folioText(std::int32_t folio, std::int32_t side) {
  return std::to_string(folio) + (side == 1 ? "v" : "r");
}

const Mark* findGotoMark(const Document& doc, GotoKind kind, int page, int key, int glyph) {
  for (const Mark& m : doc.marks) {
    switch (kind) {
      case GotoKind::Page:
        if (m.kind == MarkKind::Page && m.number >= page) return &m;
        break;
      case GotoKind::Folio:
        if (m.kind == MarkKind::Folio && 2LL * m.number + m.value >= key) return &m;
        break;
      case GotoKind::Glyph:
        if (m.kind == MarkKind::Glyph && m.number >= glyph) return &m;
        break;
      case GotoKind::None:
        return nullptr;
    }
  }
  return nullptr;
}

std::string footnoteText(const Document& doc, std::int32_t page) {
  std::string out;
  int rank = 0;
  for (const Note* n : doc.notesOfPage(page)) {
    if (rank > 0) out.push_back('\n');
    out += std::to_string(++rank);
    out += ") ";
    out += n->text;
  }
  return out;
}

TranslationPaths translationPaths(const std::string& documentPath) {
  const std::string stem = folderOf(documentPath) + baseNameOf(documentPath);
  const std::string ext = extensionOf(documentPath);
  return {stem + "_trad" + ext, stem + "_trad2" + ext};
}

std::vector<int> paneShares(int extent, int n) {
  std::vector<int> out;
  if (n <= 0) return out;
  const int share = (extent - kPaneSplitter * n + kPaneSplitter) / n;
  for (int i = 0; i < n - 1; ++i) out.push_back(share);
  out.push_back(extent - (n - 1) * (share + kPaneSplitter));
  return out;
}

int swapPanes(std::array<int, 3>& slots, const std::array<bool, 3>& recordOpen, int step) {
  std::vector<std::size_t> open;  // slots holding an open record
  for (std::size_t s = 0; s < slots.size(); ++s) {
    if (recordOpen[static_cast<std::size_t>(slots[s])]) open.push_back(s);
  }
  if (open.size() < 2) return step;
  const std::size_t rank = std::min<std::size_t>(static_cast<std::size_t>(step), open.size() - 2);
  std::swap(slots[open[rank]], slots[open[rank + 1]]);
  return (step == 0 && open.size() == 3) ? 1 : 0;
}

int zoomedIn(int points) { return points < 20 ? points + 2 : points; }
int zoomedOut(int points) { return points >= 9 ? points - 2 : points; }

PositionRange alignedParagraph(const Document& doc, int k) {
  const std::int32_t start = k == -1 ? 0 : doc.lineBreakAt(k) + 2;
  const std::int32_t end = doc.lineBreakAt(k + 1);
  return {start, end - start};
}

}  // namespace lirno
