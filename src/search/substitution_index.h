#pragma once
// The substitution entries of a rules file as a trie of their strings to
// find, so that the reduction finds the entry that matches at a place of a
// text in the time of the entry's length, not of the list's.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "search/rules_tables.h"

namespace lirno {

class SubstitutionIndex {
 public:
  // `upper` is the upper-case map the text is compared through.
  SubstitutionIndex(const std::vector<SubstitutionEntry>& entries, const std::array<std::uint8_t, 256>& upper);

  // REQUIRES: `p` in a NUL-terminated text. The list index of the first
  // entry, in list order, whose string to find equals the upper-case forms
  // of the text's characters from `p` (compared up to the text's NUL, never
  // past it); -1 when none does. Entries with nothing to find are left out.
  std::int32_t firstMatch(const unsigned char* p) const;

  // Whether any entry matches at `p`.
  bool anyMatch(const unsigned char* p) const;

  // The index of `rules`' entries: the one made last on this thread when
  // the entries and the upper-case map are still the same, else a new one.
  static std::shared_ptr<const SubstitutionIndex> of(const RulesTables& rules);

 private:
  static constexpr std::int32_t kNone = INT32_MAX;
  struct Node {
    std::int32_t entry;     // first entry (list index) that ends here; kNone
    std::int32_t minBelow;  // first entry that ends here or below; kNone
    std::uint32_t firstEdge;
    std::uint32_t edgeCount;
  };
  // The child of `node` by byte `b`; -1 when none.
  std::int32_t child(const Node& node, unsigned char b) const;

  std::array<std::uint8_t, 256> upper_;
  std::vector<Node> nodes_;            // nodes_[0] is the root
  std::vector<std::uint8_t> edgeByte_;  // each node's edges sorted by byte
  std::vector<std::int32_t> edgeChild_;
};

}  // namespace lirno
