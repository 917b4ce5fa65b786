#include "search/target_recorder.h"

#include <algorithm>
#include <cstring>


namespace lirno {

namespace {
// The tag of the hits whose found text was cut; never a hit's length.
constexpr std::uint32_t kCutTag = UINT32_MAX;
}  // namespace

std::vector<TargetRecorder::Index::Room>& TargetRecorder::Index::spare() {
  thread_local std::vector<Room> rooms;
  return rooms;
}

TargetRecorder::Index::Index() {
  auto& rooms = spare();
  if (rooms.empty()) {
    table_.assign(64, Entry{0, 0});
    return;
  }
  table_ = std::move(rooms.back().table);
  keys_ = std::move(rooms.back().keys);
  rooms.pop_back();
  std::fill(table_.begin(), table_.end(), Entry{0, 0});
  keys_.clear();
}

TargetRecorder::Index::~Index() {
  auto& rooms = spare();
  if (rooms.size() < 8) rooms.push_back({std::move(table_), std::move(keys_)});
}

namespace {

// The room of a finished recorder's lists, for the next one on the thread.
template <typename T>
std::vector<T>& spareRoom() {
  thread_local std::vector<T> room;
  return room;
}

// Keys are mostly words: a short loop beats a call.
inline bool same(const char* a, std::string_view b) {
  if (b.size() > 16) return std::memcmp(a, b.data(), b.size()) == 0;
  for (std::size_t i = 0; i < b.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

}  // namespace

std::uint64_t TargetRecorder::Index::hash(std::string_view key) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull ^ key.size();
  std::size_t i = 0;
  for (; i + 8 <= key.size(); i += 8) {
    std::uint64_t chunk;
    std::memcpy(&chunk, key.data() + i, 8);
    h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  // The last bytes in at most two loads, which may overlap those before.
  const std::size_t n = key.size();
  const auto* p = reinterpret_cast<const unsigned char*>(key.data());
  std::uint64_t tail = 0;
  if (i < n) {
    if (n >= 8) {
      std::memcpy(&tail, p + n - 8, 8);
    } else if (n >= 4) {
      std::uint32_t a, b;
      std::memcpy(&a, p, 4);
      std::memcpy(&b, p + n - 4, 4);
      tail = a | static_cast<std::uint64_t>(b) << 32;
    } else {
      tail = p[0] | static_cast<std::uint64_t>(p[n / 2]) << 8 | static_cast<std::uint64_t>(p[n - 1]) << 16;
    }
  }
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
  return h ^ (h >> 29);
}

std::uint64_t keyShortForm(std::string_view key) {
  const std::size_t n = key.size();
  const auto* p = reinterpret_cast<const unsigned char*>(key.data());
  if (n >= 8) {
    std::uint64_t head;
    std::memcpy(&head, p, 8);
    return head;
  }
  if (n >= 4) {
    // The two loads overlap, and cover every byte between them.
    std::uint32_t a, b;
    std::memcpy(&a, p, 4);
    std::memcpy(&b, p + n - 4, 4);
    return a | static_cast<std::uint64_t>(b) << 32;
  }
  if (n == 0) return 0;
  return p[0] | static_cast<std::uint64_t>(p[n / 2]) << 8 | static_cast<std::uint64_t>(p[n - 1]) << 16;
}

std::uint32_t TargetRecorder::Index::find(std::string_view key, std::uint64_t hash, std::uint32_t tag) {
  const std::size_t mask = table_.size() - 1;
  const auto h = static_cast<std::uint32_t>(hash >> 32);
  const std::uint64_t form = keyShortForm(key);
  for (std::size_t k = hash & mask;; k = (k + 1) & mask) {
    const Entry e = table_[k];
    if (e.key == 0) return kNone;
    if (e.hash != h) continue;
    // A word's key is settled here, without reading the bytes it views.
    Key& known = keys_[e.key - 1];
    if (known.length == key.size() && known.tag == tag && known.form == form &&
        (key.size() <= 8 || same(known.bytes, key))) {
      return known.slot;
    }
  }
}

void TargetRecorder::Index::insert(std::string_view key, std::uint64_t hash, std::uint32_t slot,
                                   std::uint32_t tag) {
  if (2 * (keys_.size() + 1) > table_.size()) grow();
  keys_.push_back({key.data(), static_cast<std::uint32_t>(key.size()), tag, slot, keyShortForm(key)});
  const std::size_t mask = table_.size() - 1;
  std::size_t k = hash & mask;
  while (table_[k].key) k = (k + 1) & mask;
  table_[k] = {static_cast<std::uint32_t>(hash >> 32), static_cast<std::uint32_t>(keys_.size())};
}

void TargetRecorder::Index::grow() {
  std::vector<Entry> bigger(table_.size() * 2, Entry{0, 0});
  const std::size_t mask = bigger.size() - 1;
  for (std::uint32_t n = 0; n < keys_.size(); ++n) {
    const Key& key = keys_[n];
    const std::uint64_t h = hash(std::string_view(key.bytes, key.length));
    std::size_t k = h & mask;
    while (bigger[k].key) k = (k + 1) & mask;
    bigger[k] = {static_cast<std::uint32_t>(h >> 32), n + 1};
  }
  table_.swap(bigger);
}

TargetRecorder::TargetRecorder(cTargetList& list, const Document& doc, const RulesTables& rules,
                               DocumentLabel label, int resultSpelling, bool showSymbols)
    : list_(list),
      doc_(doc),
      rules_(rules),
      label_(std::move(label)),
      resultSpelling_(resultSpelling),
      showSymbols_(showSymbols),
      reducer_(rules),
      entries_(rules),
      places_(doc, Unit::Position, rules.markers.page) {
  if (resultSpelling_ == 2) {
    // The bytes whose upper-case form stands after the first in some entry.
    std::array<bool, 256> continuing{};
    for (const SubstitutionEntry& e : rules.substitutions) {
      lookAhead_ = std::max(lookAhead_, e.find.size() > 0 ? e.find.size() - 1 : 0);
      for (std::size_t k = 1; k < e.find.size(); ++k) continuing[static_cast<unsigned char>(e.find[k])] = true;
    }
    for (int b = 0; b < 256; ++b) {
      continuesEntry_[static_cast<std::size_t>(b)] = continuing[rules.upperOf(static_cast<unsigned char>(b))];
    }
  }
  slots_.swap(spareRoom<Slot>());
  slots_.clear();
  indexExisting();
  added_.swap(spareRoom<Added>());
}

TargetRecorder::~TargetRecorder() {
  commit();
  // Its room serves the next document's occurrences, unless a large one
  // would keep much memory after the search.
  if (added_.capacity() <= (std::size_t{1} << 17)) spareRoom<Added>().swap(added_);
  if (slots_.capacity() <= (std::size_t{1} << 17)) spareRoom<Slot>().swap(slots_);
}

bool TargetRecorder::findRun(std::size_t& lo, std::size_t& hi) {
  const auto& records = list_.records();
  const std::string& label = label_.str();
  if (list_.labelOrdered()) {
    const auto first = std::partition_point(records.begin(), records.end(), [&](const auto& t) {
      return t->document.str().compare(label) < 0;
    });
    const auto last = std::partition_point(first, records.end(), [&](const auto& t) {
      return t->document.str().compare(label) <= 0;
    });
    lo = static_cast<std::size_t>(first - records.begin());
    hi = static_cast<std::size_t>(last - records.begin());
    return true;
  }
  cTargetList::LabelRuns* runs = list_.labelRuns();
  if (!runs) return false;
  const auto it = runs->find(label);
  if (it == runs->end()) {
    lo = hi = records.size();
    return true;
  }
  lo = it->second.first;
  hi = lo + it->second.second;
  // A run that no longer matches the records (they were changed without
  // saying so) is not trusted.
  const auto labelAt = [&](std::size_t k) -> const std::string& { return records[k]->document.str(); };
  return hi <= records.size() && lo < hi && labelAt(lo) == label && labelAt(hi - 1) == label &&
         (lo == 0 || labelAt(lo - 1) != label) && (hi == records.size() || labelAt(hi) != label);
}

void TargetRecorder::placeRun(std::size_t& lo, std::size_t& hi) {
  if (findRun(lo, hi)) return;
  auto& records = list_.records();
  std::stable_sort(records.begin(), records.end(),
                   [](const auto& a, const auto& b) { return a->document.str().compare(b->document.str()) < 0; });
  list_.setLabelOrdered(true);
  findRun(lo, hi);
}

void TargetRecorder::indexExisting() {
  // A list that a sort reordered is put back in label order first:
  // recording keeps it ordered by label, or as runs of labels, and a new
  // search sorts it again anyway.
  auto& records = list_.records();
  std::size_t from = 0, to = 0;
  placeRun(from, to);
  const auto lo = records.begin() + static_cast<std::ptrdiff_t>(from);
  const auto hi = records.begin() + static_cast<std::ptrdiff_t>(to);
  for (auto at = lo; at != hi; ++at) {
    Target* t = at->get();
    std::int32_t maxStart = INT32_MIN;
    for (std::size_t k = 0; k < t->occurrences.size(); ++k) maxStart = std::max(maxStart, t->occurrences.startAt(k));
    slots_.push_back(Slot{t, maxStart, -1, 0});
    byText_.insert(t->text, Index::hash(t->text), static_cast<std::uint32_t>(slots_.size() - 1));
  }
}

std::string TargetRecorder::foundText(const unsigned char* at, std::int32_t n) const {
  std::string text(static_cast<std::size_t>(n), '\0');
  std::size_t length = 0;
  switch (resultSpelling_) {
    case 1:
      // A character whose upper-case form is 0 is left out, as the
      // reduction leaves out what it drops: a found text holds no 0 byte.
      for (std::int32_t k = 0; k < n; ++k) {
        const unsigned char upper = rules_.upperOf(at[k]);
        if (upper != 0 && (showSymbols_ || rules_.classOf(at[k]) != kSymbol)) text[length++] = static_cast<char>(upper);
      }
      break;
    case 2:
      reducer_.reset();
      for (std::int32_t k = 0; k < n; ++k) {
        if (rules_.classOf(at[k]) == kSymbol) continue;
        if (const unsigned char r = entries_.reduce(reducer_, at + k)) text[length++] = static_cast<char>(r);
      }
      break;
    default:
      for (std::int32_t k = 0; k < n; ++k) {
        if (showSymbols_ || rules_.classOf(at[k]) == kWordChar) text[length++] = static_cast<char>(at[k]);
      }
      break;
  }
  text.resize(length);
  return text;
}

TargetRecorder::Lookup TargetRecorder::lookUp(const PendingTarget& hit, std::int32_t n) const {
  const std::size_t from = static_cast<std::size_t>(hit.matchStart);
  n = std::min(n, kMaxFoundTextLength);  // the characters the found text is built from
  // The reduction of the hit's last characters looks at those after it only
  // when an entry could go on into them.
  const std::size_t end = from + static_cast<std::size_t>(n);
  const bool crosses = lookAhead_ > 0 && end < doc_.text.size() &&
                       continuesEntry_[static_cast<unsigned char>(doc_.text[end])];
  const std::string_view bytes(doc_.text.data() + from,
                               std::min(static_cast<std::size_t>(n) + (crosses ? lookAhead_ : 0),
                                        doc_.text.size() - from));
  const std::uint64_t hash = Index::hash(bytes);
  byBytes_.prefetch(hash);
  return {bytes, hash};
}

void TargetRecorder::record(const PendingTarget& hit, std::int32_t n, const Lookup& lookup) {
  const auto* base = reinterpret_cast<const unsigned char*>(doc_.text.c_str());
  const std::string_view bytes = lookup.bytes;
  const std::uint64_t bytesHash = lookup.hash;
  // Hits cut to the same first bytes have the same found text, whatever
  // their lengths: one key for all of them (keys told apart by length only
  // would share one probe sequence, as the hits of a long word do).
  const bool cut = n > kMaxFoundTextLength;
  const std::uint32_t tag = cut ? kCutTag : static_cast<std::uint32_t>(n);
  std::uint32_t number = byBytes_.find(bytes, bytesHash, tag);
  if (number == Index::kNone) {
    if (cut) list_.setTextsCut();
    std::string text = foundText(base + hit.matchStart, std::min(n, kMaxFoundTextLength));
    const std::uint64_t textHash = Index::hash(text);
    number = byText_.find(text, textHash);
    if (number == Index::kNone) {
      TargetRecord created = list_.make();
      created->text = std::move(text);
      created->length = n;
      created->searchString = hit.stringIndex;
      created->document = label_;
      Target* t = created.get();
      created_.push_back(std::move(created));
      number = static_cast<std::uint32_t>(slots_.size());
      slots_.push_back(Slot{t, INT32_MIN, -1, 0});
      byText_.insert(t->text, textHash, number);
    }
    byBytes_.insert(bytes, bytesHash, number, tag);
  }
  Slot* slot = &slots_[number];
  if (hit.startPosition <= slot->maxStart) {
    const cStarts& recorded = slot->target->occurrences;
    for (std::size_t k = 0; k < recorded.size(); ++k) {
      if (recorded.startAt(k) == hit.startPosition) return;  // a hit is recorded once
    }
    for (std::int32_t k = slot->last; k >= 0; k = added_[static_cast<std::size_t>(k)].previous) {
      if (added_[static_cast<std::size_t>(k)].start == hit.startPosition) return;
    }
  }
  slot->maxStart = std::max(slot->maxStart, hit.startPosition);

  const auto at = static_cast<std::int32_t>(added_.size());
  std::int32_t extra = -1;
  if (hit.contextStart != -1 || hit.contextLength != 0 || hit.contextStartIndex != 0 ||
      hit.contextLengthChars != 0 || hit.sentenceEnd != kUnknownEnd || hit.paragraphEnd != kUnknownEnd) {
    extra = static_cast<std::int32_t>(extras_.size());
    extras_.push_back({hit.contextStart, hit.contextLength, hit.contextStartIndex, hit.contextLengthChars,
                       hit.sentenceEnd, hit.paragraphEnd});
  }
  added_.push_back({number, slot->last, hit.matchStart, hit.startPosition, hit.lengthPositions,
                    hit.wordStart, hit.wordEnd, hit.sentenceStart, hit.paragraphStart, extra});
  slot->last = at;
  ++slot->added;
  if (hit.sentenceEnd == kUnknownEnd || hit.wordEnd == kUnknownEnd) sentenceWaiting_ = true;
  if (hit.paragraphEnd == kUnknownEnd) paragraphWaiting_ = true;
}

void TargetRecorder::fillEnds(std::int32_t index, int separatorClass) {
  if (separatorClass < kSentenceSeparator) return;
  const bool paragraph = separatorClass >= kParagraphSeparator;
  // Only a call that some occurrence waits for is kept: the others would
  // set nothing.
  if (sentenceWaiting_ || (paragraph && paragraphWaiting_)) {
    endsCalls_.push_back({added_.size(), index, paragraph});
  }
  sentenceWaiting_ = false;
  if (paragraph) paragraphWaiting_ = false;
}

void TargetRecorder::commit() {
  // The occurrences join their targets, each target's list grown once: a
  // list's own targets take theirs as one run, packed in recording order
  // (so that the hits of one stretch share its place row).
  runEnds_.resize(slots_.size());
  std::uint32_t filled = 0;
  for (std::size_t k = 0; k < slots_.size(); ++k) {
    Slot& slot = slots_[k];
    if (slot.added > 0) slot.target->occurrences.reserve(slot.target->occurrences.size() + slot.added);
    runEnds_[k] = filled;
    if (slot.target->occurrences.inListMemory()) filled += slot.added;
    slot.last = -1;
  }
  runs_.resize(filled);
  OccurrenceTables* tables = list_.packingTables();
  // Each unknown end is that of the first Fill ends after the occurrence
  // (a paragraph end, that of the first for a paragraph).
  std::size_t sentenceCall = 0, paragraphCall = 0;
  const std::size_t calls = endsCalls_.size();
  const std::size_t count = added_.size();
  for (std::size_t k = 0; k < count; ++k) {
    const Added& a = added_[k];
    while (sentenceCall < calls && endsCalls_[sentenceCall].before <= k) ++sentenceCall;
    while (paragraphCall < calls &&
           (endsCalls_[paragraphCall].before <= k || !endsCalls_[paragraphCall].paragraph)) {
      ++paragraphCall;
    }
    const std::int32_t sentenceEnd = sentenceCall < calls ? endsCalls_[sentenceCall].index : kUnknownEnd;
    const std::int32_t paragraphEnd = paragraphCall < calls ? endsCalls_[paragraphCall].index : kUnknownEnd;
    const Location place = places_.at(a.start);
    Occurrence o;
    o.start = a.start;
    o.length = a.length;
    o.page = place.page;
    o.folio = place.folio;
    o.verso = place.side;
    o.paragraphStart = a.paragraphStart;
    o.sentenceStart = a.sentenceStart;
    o.wordStart = a.wordStart;
    o.wordEnd = a.wordEnd == kUnknownEnd ? sentenceEnd : a.wordEnd;
    if (a.extra < 0) {
      o.sentenceEnd = sentenceEnd;
      o.paragraphEnd = paragraphEnd;
    } else {
      const Extra& e = extras_[static_cast<std::size_t>(a.extra)];
      o.contextStart = e.contextStart;
      o.contextLength = e.contextLength;
      o.contextStartIndex = e.contextStartIndex;
      o.contextLengthChars = e.contextLengthChars;
      o.sentenceEnd = e.sentenceEnd == kUnknownEnd ? sentenceEnd : e.sentenceEnd;
      o.paragraphEnd = e.paragraphEnd == kUnknownEnd ? paragraphEnd : e.paragraphEnd;
    }
    cStarts& list = slots_[a.slot].target->occurrences;
    if (list.inListMemory()) {
      runs_[runEnds_[a.slot]++] = packed::pack(o, a.matchStart, *tables);
    } else {
      list.push_back(o);
    }
  }
  for (std::size_t k = 0; k < slots_.size(); ++k) {
    Slot& slot = slots_[k];
    cStarts& list = slot.target->occurrences;
    if (slot.added > 0 && list.inListMemory()) list.appendPacked(runs_.data() + (runEnds_[k] - slot.added), slot.added);
    slot.added = 0;
  }
  runs_.clear();
  added_.clear();
  extras_.clear();
  endsCalls_.clear();
  sentenceWaiting_ = paragraphWaiting_ = false;
  if (created_.empty()) return;
  auto& records = list_.records();
  const std::string& label = label_.str();
  // The label's targets form one run of the list; the new ones join its
  // end, in the order they were made (the search and the word list sort the
  // list when they end).
  std::size_t lo = 0, hi = 0;
  placeRun(lo, hi);
  const bool hadTargets = hi > lo;
  if (list_.labelOrdered() && !hadTargets && hi < records.size()) {
    // A new label that does not come last: rather than move every target
    // after its place (a corpus in reverse order would move the whole list
    // for each document), the list becomes runs of labels, the new one last.
    auto runs = std::make_unique<cTargetList::LabelRuns>();
    for (std::size_t k = 0; k < records.size();) {
      std::size_t end = k + 1;
      while (end < records.size() && records[end]->document.str() == records[k]->document.str()) ++end;
      runs->emplace(records[k]->document.str(), std::make_pair(k, end - k));
      k = end;
    }
    list_.setLabelRuns(std::move(runs));
    lo = hi = records.size();
  }
  const auto added = created_.size();
  records.insert(records.begin() + static_cast<std::ptrdiff_t>(hi), std::make_move_iterator(created_.begin()),
                 std::make_move_iterator(created_.end()));
  created_.clear();
  if (cTargetList::LabelRuns* runs = list_.labelRuns()) {
    if (hadTargets) {
      for (auto& [name, run] : *runs) {
        if (run.first > lo) run.first += added;
      }
      (*runs)[label].second += added;
    } else {
      runs->emplace(label, std::make_pair(hi, added));
    }
  }
}

}  // namespace lirno
