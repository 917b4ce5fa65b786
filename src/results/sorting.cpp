#include "results/sorting.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

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

namespace {

// A target's primary key as two numbers that order as the key does wherever
// they differ: the count, or the text's first 12 bytes, or its last 10 from
// the right (each byte's signed value plus 129, in 9 bits, so that running
// out is below every byte). `whole`: the numbers hold the whole key. Two
// numbers, since a corpus word list holds each word once per document and
// texts that share their first 8 bytes would otherwise be read from the
// targets at each comparison. 20 bytes: a word list's millions of keys are
// the largest block of its sort.
struct Keyed {
  std::uint32_t keyHigh, keyLow;
  std::uint32_t rest;
  std::uint32_t document;    // rank of the label among the list's labels
  std::uint32_t index : 31;  // in the records
  std::uint32_t whole : 1;

  std::uint64_t key() const { return std::uint64_t{keyHigh} << 32 | keyLow; }
};
static_assert(sizeof(Keyed) == 20);

void makeKey(Keyed& k, const Target& t, int order) {
  const std::string_view text = t.text;
  const std::size_t n = text.size();
  std::uint64_t key = 0;
  std::uint32_t rest = 0;
  switch (order) {
    case 0:
    case 1:
      key = t.occurrences.size();
      k.whole = 1;
      break;
    case 2:
    case 3: {
      // The first 12 bytes, zeros after a shorter text, read as big-endian
      // numbers.
      unsigned char first[12] = {};
      const std::size_t taken = n < 12 ? n : 12;
      if (taken > 0) std::memcpy(first, text.data(), taken);
      for (std::size_t i = 0; i < 8; ++i) key = key << 8 | first[i];
      for (std::size_t i = 8; i < 12; ++i) rest = rest << 8 | first[i];
      // Zeros pad a shorter text: a text that holds a zero byte is told
      // apart by its bytes.
      k.whole = n <= 12 && std::find(first, first + taken, 0) == first + taken ? 1 : 0;
      break;
    }
    default: {
      const auto fromRight = [&](std::size_t i) {
        return i < n ? static_cast<unsigned>(static_cast<signed char>(text[n - 1 - i]) + 129) : 0u;
      };
      for (std::size_t i = 0; i < 7; ++i) key = key << 9 | fromRight(i);
      for (std::size_t i = 7; i < 10; ++i) rest = rest << 9 | fromRight(i);
      k.whole = n <= 10 ? 1 : 0;
      break;
    }
  }
  if (order % 2 == 1) {  // descending
    key = ~key;
    rest = ~rest;
  }
  k.keyHigh = static_cast<std::uint32_t>(key >> 32);
  k.keyLow = static_cast<std::uint32_t>(key);
  k.rest = rest;
}

// The rank of each label of a list among its labels by their bytes, found
// by the address of the label's shared text (one per document scanned);
// equal labels held apart share their rank.
class LabelRanks {
 public:
  // `labels`: those of the list's targets, each at least once.
  explicit LabelRanks(const std::vector<std::string_view>& labels) {
    labels_.reserve(labels.size());
    for (const std::string_view label : labels) labels_.emplace_back(label, 0);
    std::sort(labels_.begin(), labels_.end(), [](const auto& a, const auto& b) { return a.first.data() < b.first.data(); });
    labels_.erase(std::unique(labels_.begin(), labels_.end(),
                              [](const auto& a, const auto& b) { return a.first.data() == b.first.data(); }),
                  labels_.end());
    std::vector<std::size_t> byText(labels_.size());
    for (std::size_t k = 0; k < byText.size(); ++k) byText[k] = k;
    std::sort(byText.begin(), byText.end(),
              [&](std::size_t a, std::size_t b) { return compareBytes(labels_[a].first, labels_[b].first) < 0; });
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < byText.size(); ++k) {
      if (k > 0 && compareBytes(labels_[byText[k - 1]].first, labels_[byText[k]].first) != 0) ++rank;
      labels_[byText[k]].second = rank;
    }
  }

  // 0 for a target without label.
  std::uint32_t of(const Target& t) const {
    if (t.document.empty()) return 0;
    const char* at = t.document.str().data();
    return std::lower_bound(labels_.begin(), labels_.end(), at,
                            [](const auto& l, const char* p) { return l.first.data() < p; })
        ->second;
  }

 private:
  std::vector<std::pair<std::string_view, std::uint32_t>> labels_;  // by address
};

// Sorts [first, last) by `less`, whose first tests are the order of the
// keys, then of the rests. The keys are put in buckets, in place, by their
// highest bits that differ (then the rests, where the keys are all equal),
// and each bucket is sorted on its own the same way, down to small ones
// that std::sort takes: a corpus word list's millions of targets are mostly
// told apart by those bits, and its common words fill buckets of their own.
template <typename Less>
void sortKeyed(Keyed* first, Keyed* last, const Less& less) {
  const auto n = static_cast<std::size_t>(last - first);
  if (n < 256) {
    std::sort(first, last, less);
    return;
  }
  std::uint64_t differ = 0;
  const std::uint64_t firstKey = first->key();
  for (const Keyed* k = first; k != last; ++k) differ |= k->key() ^ firstKey;
  bool byRest = false;
  if (differ == 0) {
    for (const Keyed* k = first; k != last; ++k) differ |= k->rest ^ first->rest;
    byRest = true;
  }
  if (differ == 0) {
    std::sort(first, last, less);
    return;
  }
  // The bits above the highest that differs are the same in every number,
  // so that the bucket numbers grow with them.
  const int bits = std::clamp(static_cast<int>(std::bit_width(n)) - 3, 1, 16);
  const int shift = std::max(0, static_cast<int>(std::bit_width(differ)) - bits);
  const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;
  const auto bucketOf = [&](const Keyed& k) {
    return static_cast<std::size_t>(((byRest ? std::uint64_t{k.rest} : k.key()) >> shift) & mask);
  };
  const std::size_t buckets = std::size_t{1} << bits;
  std::vector<std::size_t> start(buckets + 1, 0);
  for (const Keyed* k = first; k != last; ++k) ++start[bucketOf(*k) + 1];
  for (std::size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
  std::vector<std::size_t> next(start.begin(), start.end() - 1);
  for (std::size_t b = 0; b < buckets; ++b) {
    while (next[b] < start[b + 1]) {
      Keyed moving = first[next[b]];
      std::size_t to = bucketOf(moving);
      // Each one that is out of its bucket goes there, taking the place of
      // one that goes on to its own, until one for this bucket comes back.
      while (to != b) {
        std::swap(moving, first[next[to]++]);
        to = bucketOf(moving);
      }
      first[next[b]++] = moving;
    }
  }
  for (std::size_t b = 0; b < buckets; ++b) {
    if (start[b + 1] - start[b] > 1) sortKeyed(first + start[b], first + start[b + 1], less);
  }
}

// Sorts records[lo, hi) as sortTargets does, its numbers held in `keyed`.
void sortBucket(std::vector<TargetRecord>& records, std::size_t lo, std::size_t hi, int order,
                const LabelRanks& ranks, bool anyUnlabelled, std::vector<Keyed>& keyed) {
  const std::size_t n = hi - lo;
  keyed.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    // After the bucket pass the records are in no order in memory.
    if (k + 32 < n) __builtin_prefetch(records[lo + k + 32].get());
    const Target& t = *records[lo + k];
    Keyed& e = keyed[k];
    makeKey(e, t, order);
    e.document = ranks.of(t);
    e.index = static_cast<std::uint32_t>(k);
  }
  TargetRecord* const at = records.data() + lo;
  sortKeyed(keyed.data(), keyed.data() + n, [&](const Keyed& x, const Keyed& y) {
    if (x.key() != y.key()) return x.key() < y.key();
    if (x.rest != y.rest) return x.rest < y.rest;
    // Equal whole numbers are equal keys: the labels decide, without
    // reading the targets.
    if (!(x.whole && y.whole)) {
      const int c = comparePrimary(*at[x.index], *at[y.index], order);
      if (c != 0) return c < 0;
    }
    // A target without label equals every other, as compareDocument has it.
    if (anyUnlabelled) return false;
    return x.document < y.document;
  });
  // The records in their new order go through the keys' own room, which
  // serves no more: moving them in place, cycle by cycle, waits for one
  // record after the other.
  static_assert(sizeof(Keyed) >= sizeof(Target*));
  for (Keyed& k : keyed) {
    Target* t = at[k.index].release();
    std::memcpy(static_cast<void*>(&k), &t, sizeof t);
  }
  for (std::size_t k = 0; k < n; ++k) {
    Target* t;
    std::memcpy(&t, static_cast<const void*>(&keyed[k]), sizeof t);
    at[k].reset(t);
  }
}

}  // namespace

void sortTargets(cTargetList& list, int order, bool documentFirst) {
  if (order < 0 || order > 5) return;
  auto& records = list.records();
  if (documentFirst || records.size() >= (std::size_t{1} << 31)) {
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
    list.setLabelOrdered(false);
    return;
  }
  // The list's millions of targets (a corpus word list) are sorted as
  // numbers held side by side; their texts are compared only where the
  // numbers cannot tell, and their labels by rank. The records are first
  // put in place by the top byte of their numbers, then sorted a bucket at
  // a time, so that the numbers of one bucket only are held at once: for
  // a word list they would be the largest block of memory.
  //
  // One pass over the records (which are many) for their labels and
  // buckets; each label is kept once, however mixed the records are.
  const std::size_t n = records.size();
  std::vector<std::uint8_t> top(n);
  std::vector<std::string_view> labels;
  std::unordered_set<const char*> seen;
  const char* last = nullptr;
  bool anyUnlabelled = false;
  for (std::size_t k = 0; k < n; ++k) {
    const Target& t = *records[k];
    if (t.document.empty()) {
      anyUnlabelled = true;
    } else if (const char* label = t.document.str().data(); label != last) {
      last = label;
      if (seen.insert(label).second) labels.push_back(t.document.str());
    }
    Keyed e;
    makeKey(e, t, order);
    top[k] = static_cast<std::uint8_t>(e.key() >> 56);
  }
  const LabelRanks ranks(labels);
  std::vector<std::string_view>().swap(labels);
  std::array<std::size_t, 257> start{};
  for (const std::uint8_t b : top) ++start[b + 1u];
  for (std::size_t b = 0; b < 256; ++b) start[b + 1] += start[b];
  std::array<std::size_t, 256> next;
  std::copy(start.begin(), start.end() - 1, next.begin());
  for (std::size_t b = 0; b < 256; ++b) {
    while (next[b] < start[b + 1]) {
      const std::size_t k = next[b];
      const std::uint8_t to = top[k];
      if (to == b) {
        ++next[b];
        continue;
      }
      const std::size_t there = next[to]++;
      records[k].swap(records[there]);
      std::swap(top[k], top[there]);
    }
  }
  std::vector<std::uint8_t>().swap(top);
  std::vector<Keyed> keyed;
  for (std::size_t b = 0; b < 256; ++b) {
    if (start[b + 1] - start[b] > 1) sortBucket(records, start[b], start[b + 1], order, ranks, anyUnlabelled, keyed);
  }
  list.setLabelOrdered(false);
}

int nextNumberOrder(int current) { return current == 0 ? 1 : 0; }

int nextTextOrder(int current) { return current >= 2 && current <= 4 ? current + 1 : 2; }

int orderAfterDocumentClick(int used) { return used + 1 >= 5 ? 0 : used + 1; }

}  // namespace lirno
