#include "search/substitution_index.h"

#include <algorithm>
#include <map>

namespace lirno {

SubstitutionIndex::SubstitutionIndex(const std::vector<SubstitutionEntry>& entries,
                                     const std::array<std::uint8_t, 256>& upper)
    : upper_(upper) {
  // Built with ordered child maps, then laid out with each node's edges
  // together.
  struct Building {
    std::int32_t entry = kNone;
    std::map<unsigned char, std::int32_t> children;
  };
  std::vector<Building> built(1);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const std::string& find = entries[k].find;
    if (find.empty()) continue;
    std::int32_t at = 0;
    for (const char c : find) {
      const auto b = static_cast<unsigned char>(c);
      const auto it = built[static_cast<std::size_t>(at)].children.find(b);
      if (it != built[static_cast<std::size_t>(at)].children.end()) {
        at = it->second;
      } else {
        const auto made = static_cast<std::int32_t>(built.size());
        built[static_cast<std::size_t>(at)].children.emplace(b, made);
        built.emplace_back();
        at = made;
      }
    }
    Building& end = built[static_cast<std::size_t>(at)];
    end.entry = std::min(end.entry, static_cast<std::int32_t>(k));  // the first of equal strings
  }
  nodes_.resize(built.size());
  for (std::size_t n = 0; n < built.size(); ++n) {
    Node& node = nodes_[n];
    node.entry = built[n].entry;
    node.minBelow = node.entry;
    node.firstEdge = static_cast<std::uint32_t>(edgeByte_.size());
    node.edgeCount = static_cast<std::uint32_t>(built[n].children.size());
    for (const auto& [b, to] : built[n].children) {
      edgeByte_.push_back(b);
      edgeChild_.push_back(to);
    }
  }
  // Children are made after their parents: one pass from the last node up.
  for (std::size_t n = nodes_.size(); n-- > 0;) {
    const Node& node = nodes_[n];
    for (std::uint32_t e = node.firstEdge; e < node.firstEdge + node.edgeCount; ++e) {
      nodes_[n].minBelow = std::min(nodes_[n].minBelow, nodes_[static_cast<std::size_t>(edgeChild_[e])].minBelow);
    }
  }
}

std::int32_t SubstitutionIndex::child(const Node& node, unsigned char b) const {
  const std::uint8_t* first = edgeByte_.data() + node.firstEdge;
  const std::uint8_t* last = first + node.edgeCount;
  if (node.edgeCount <= 8) {
    for (const std::uint8_t* e = first; e != last; ++e) {
      if (*e == b) return edgeChild_[static_cast<std::size_t>(e - edgeByte_.data())];
    }
    return -1;
  }
  const std::uint8_t* e = std::lower_bound(first, last, b);
  if (e == last || *e != b) return -1;
  return edgeChild_[static_cast<std::size_t>(e - edgeByte_.data())];
}

std::int32_t SubstitutionIndex::firstMatch(const unsigned char* p) const {
  std::int32_t best = kNone;
  const Node* node = &nodes_[0];
  // Deeper nodes can only offer a later entry once `best` is at most what
  // lies below.
  for (std::size_t j = 0; p[j] != 0 && node->minBelow < best; ++j) {
    const std::int32_t next = child(*node, upper_[p[j]]);
    if (next < 0) break;
    node = &nodes_[static_cast<std::size_t>(next)];
    best = std::min(best, node->entry);
  }
  return best == kNone ? -1 : best;
}

bool SubstitutionIndex::anyMatch(const unsigned char* p) const {
  const Node* node = &nodes_[0];
  for (std::size_t j = 0; p[j] != 0; ++j) {
    const std::int32_t next = child(*node, upper_[p[j]]);
    if (next < 0) return false;
    node = &nodes_[static_cast<std::size_t>(next)];
    if (node->entry != kNone) return true;
  }
  return false;
}

std::shared_ptr<const SubstitutionIndex> SubstitutionIndex::of(const RulesTables& rules) {
  // A search makes several reducers per document, all over the same
  // tables: comparing the entries costs far less than building the trie.
  struct Made {
    std::vector<SubstitutionEntry> entries;
    std::array<std::uint8_t, 256> upper{};
    std::shared_ptr<const SubstitutionIndex> index;
  };
  thread_local Made last;
  if (!last.index || last.upper != rules.upper || last.entries != rules.substitutions) {
    last.index = std::make_shared<SubstitutionIndex>(rules.substitutions, rules.upper);
    last.entries = rules.substitutions;
    last.upper = rules.upper;
  }
  return last.index;
}

}  // namespace lirno
