#pragma once
// The six sort orders of a target list, in plain and document-first forms.
//
// Order  primary key                                then
//   0    number of occurrences, ascending           document label
//   1    number of occurrences, descending          document label
//   2    found text, ascending (bytes)              document label
//   3    found text, descending (bytes)             document label
//   4    found text, ascending (right to left)      document label
//   5    found text, descending (right to left)     document label
// The document-first form puts the label first and the primary key second.
#include <string_view>

#include "search/targets.h"

namespace lirno {

inline constexpr int kSortCountAscending = 0;
inline constexpr int kSortTextAscending = 2;
inline constexpr int kSortRightToLeftAscending = 4;

// Bytes compared as unsigned from the first; a prefix is the smaller.
int compareBytes(std::string_view a, std::string_view b);

// From the last byte towards the first, bytes compared as signed 8-bit
// values; the string that runs out first is the smaller.
int compareRightToLeft(std::string_view a, std::string_view b);

// Left count minus right count.
int compareCount(const Target& a, const Target& b);

// Labels compared as bytes; a target without label equals every other.
int compareDocument(const Target& a, const Target& b);

// Apply sort without the grid: reorders the records. An order outside 0..5
// leaves the list as it is. Not stable.
void sortTargets(cTargetList& list, int order, bool documentFirst);

// The stored order that the next number sort and the next text sort use.
int nextNumberOrder(int current);
int nextTextOrder(int current);

// The stored order after a click on the "Document" header sorted document
// first by `used`.
int orderAfterDocumentClick(int used);

}  // namespace lirno
