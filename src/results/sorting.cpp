#include "results/sorting.h"

#include <algorithm>

namespace lirno {

int compareBytes(std::string_view a, std::string_view b) {
  const int c = a.compare(b);  // char_traits<char> compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareRightToLeft(std::string_view a, std::string_view b) {
  std::size_t i = a.size(), j = b.size();
  while (i > 0 && j > 0) {
    --i;
    --j;
    const auto x = static_cast<signed char>(a[i]);
    const auto y = static_cast<signed char>(b[j]);
    if (x != y) return x - y;
  }
  return static_cast<int>(i) - static_cast<int>(j);
}

int compareCount(const Target& a, const Target& b) {
  const std::size_t x = a.occurrences.size(), y = b.occurrences.size();
  return x < y ? -1 : (x > y ? 1 : 0);
}

int compareDocument(const Target& a, const Target& b) {
  // Symmetric, so that the sort always sees a consistent order: within one
  // list the labels are all set or all empty anyway.
  if (a.document.empty() || b.document.empty()) return 0;
  return compareBytes(a.document.str(), b.document.str());
}

namespace {

int comparePrimary(const Target& a, const Target& b, int order) {
  switch (order) {
    case 0: return compareCount(a, b);
    case 1: return compareCount(b, a);
    case 2: return compareBytes(a.text, b.text);
    case 3: return compareBytes(b.text, a.text);
    case 4: return compareRightToLeft(a.text, b.text);
    default: return compareRightToLeft(b.text, a.text);
  }
}

}  // namespace

void sortTargets(cTargetList& list, int order, bool documentFirst) {
  if (order < 0 || order > 5) return;
  auto& records = list.records();
  std::sort(records.begin(), records.end(), [&](const auto& x, const auto& y) {
    int c;
    if (documentFirst) {
      c = compareDocument(*x, *y);
      if (c == 0) c = comparePrimary(*x, *y, order);
    } else {
      c = comparePrimary(*x, *y, order);
      if (c == 0) c = compareDocument(*x, *y);
    }
    return c < 0;
  });
  list.setKeyOrdered(false);
}

int nextNumberOrder(int current) { return current == 0 ? 1 : 0; }

int nextTextOrder(int current) { return current >= 2 && current <= 4 ? current + 1 : 2; }

int orderAfterDocumentClick(int used) { return used + 1 >= 5 ? 0 : used + 1; }

}  // namespace lirno
