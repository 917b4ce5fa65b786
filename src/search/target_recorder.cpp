#include "search/target_recorder.h"

#include <algorithm>

#include "results/occurrence_place.h"

namespace lirno {
namespace {

bool keyLess(const Target& a, const Target& b) {
  const int c = a.document.str().compare(b.document.str());
  return c != 0 ? c < 0 : a.text.compare(b.text) < 0;
}

}  // namespace

TargetRecorder::TargetRecorder(cTargetList& list, const Document& doc, const RulesTables& rules,
                               DocumentLabel label, int resultSpelling, bool showSymbols)
    : list_(list),
      doc_(doc),
      rules_(rules),
      label_(std::move(label)),
      resultSpelling_(resultSpelling),
      showSymbols_(showSymbols) {
  indexExisting();
}

TargetRecorder::~TargetRecorder() { commit(); }

void TargetRecorder::indexExisting() {
  // A list that a sort reordered is put back in key order first: recording
  // keeps it ordered by (label, text), and a new search sorts it again anyway.
  auto& records = list_.records();
  if (!list_.keyOrdered()) {
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return keyLess(*a, *b); });
    list_.setKeyOrdered(true);
  }
  const std::string& label = label_.str();
  auto lo = std::partition_point(records.begin(), records.end(), [&](const auto& t) {
    return t->document.str().compare(label) < 0;
  });
  for (; lo != records.end() && (*lo)->document.str() == label; ++lo) {
    Target* t = lo->get();
    std::int32_t maxStart = INT32_MIN;
    for (const Occurrence& o : t->occurrences) maxStart = std::max(maxStart, o.start);
    index_.emplace(std::string_view(t->text), Slot{t, maxStart});
  }
}

std::string TargetRecorder::foundText(const unsigned char* at, std::int32_t n) const {
  std::string text;
  text.reserve(static_cast<std::size_t>(n));
  switch (resultSpelling_) {
    case 1:
      for (std::int32_t k = 0; k < n; ++k) {
        if (showSymbols_ || rules_.classOf(at[k]) != kSymbol) {
          text += static_cast<char>(rules_.upperOf(at[k]));
        }
      }
      break;
    case 2: {
      Reducer reducer(rules_);
      for (std::int32_t k = 0; k < n; ++k) {
        if (rules_.classOf(at[k]) == kSymbol) continue;
        if (const unsigned char r = reducer.next(reinterpret_cast<const char*>(at + k))) {
          text += static_cast<char>(r);
        }
      }
      break;
    }
    default:
      for (std::int32_t k = 0; k < n; ++k) {
        if (showSymbols_ || rules_.classOf(at[k]) == kWordChar) text += static_cast<char>(at[k]);
      }
      break;
  }
  return text;
}

void TargetRecorder::record(const PendingTarget& hit, std::int32_t n) {
  const auto* base = reinterpret_cast<const unsigned char*>(doc_.text.c_str());
  std::string text = foundText(base + hit.matchStart, n);

  Target* target;
  auto found = index_.find(std::string_view(text));
  if (found != index_.end()) {
    Slot& slot = found->second;
    target = slot.target;
    if (hit.startPosition <= slot.maxStart) {
      for (const Occurrence& o : target->occurrences) {
        if (o.start == hit.startPosition) return;  // a hit is recorded once
      }
    }
    slot.maxStart = std::max(slot.maxStart, hit.startPosition);
  } else {
    auto created = std::make_unique<Target>();
    created->text = std::move(text);
    created->length = n;
    created->searchString = hit.stringIndex;
    created->document = label_;
    target = created.get();
    created_.push_back(std::move(created));
    index_.emplace(std::string_view(target->text), Slot{target, hit.startPosition});
  }

  const Location place = placeOf(doc_, hit.startPosition, Unit::Position, rules_.markers.page);
  Occurrence& o = target->occurrences.emplace_back();
  o.start = hit.startPosition;
  o.length = hit.lengthPositions;
  o.contextStart = hit.contextStart;
  o.contextLength = hit.contextLength;
  o.contextStartIndex = hit.contextStartIndex;
  o.contextLengthChars = hit.contextLengthChars;
  o.page = place.page;
  o.folio = place.folio;
  o.verso = place.side;
  o.paragraphStart = hit.paragraphStart;
  o.sentenceStart = hit.sentenceStart;
  o.wordStart = hit.wordStart;
  o.paragraphEnd = hit.paragraphEnd;
  o.sentenceEnd = hit.sentenceEnd;
  o.wordEnd = hit.wordEnd;
  const std::size_t at = target->occurrences.size() - 1;
  if (o.sentenceEnd == kUnknownEnd || o.wordEnd == kUnknownEnd) sentenceOpen_.push_back({target, at});
  if (o.paragraphEnd == kUnknownEnd) paragraphOpen_.push_back({target, at});
}

void TargetRecorder::fillEnds(std::int32_t index, int separatorClass) {
  if (separatorClass < kSentenceSeparator) return;
  const bool paragraph = separatorClass >= kParagraphSeparator;
  auto fill = [&](std::vector<OpenEnd>& open) {
    for (const OpenEnd& e : open) {
      Occurrence& o = e.target->occurrences[e.occurrence];
      if (o.sentenceEnd == kUnknownEnd) o.sentenceEnd = index;
      if (paragraph && o.paragraphEnd == kUnknownEnd) o.paragraphEnd = index;
      if (o.wordEnd == kUnknownEnd) o.wordEnd = index;
    }
    open.clear();
  };
  fill(sentenceOpen_);
  if (paragraph) fill(paragraphOpen_);
}

void TargetRecorder::commit() {
  if (created_.empty()) return;
  std::sort(created_.begin(), created_.end(),
            [](const auto& a, const auto& b) { return a->text.compare(b->text) < 0; });
  auto& records = list_.records();
  const std::string& label = label_.str();
  // The label's targets form one run of the ordered list; the new ones are
  // merged into it.
  const auto lo = std::partition_point(records.begin(), records.end(), [&](const auto& t) {
    return t->document.str().compare(label) < 0;
  });
  const auto hi = std::partition_point(lo, records.end(), [&](const auto& t) {
    return t->document.str().compare(label) <= 0;
  });
  const std::ptrdiff_t from = lo - records.begin();
  const std::ptrdiff_t middle = hi - records.begin();
  const auto added = static_cast<std::ptrdiff_t>(created_.size());
  records.insert(hi, std::make_move_iterator(created_.begin()),
                 std::make_move_iterator(created_.end()));
  created_.clear();
  std::inplace_merge(records.begin() + from, records.begin() + middle,
                     records.begin() + middle + added,
                     [](const auto& a, const auto& b) { return a->text.compare(b->text) < 0; });
}

}  // namespace lirno
