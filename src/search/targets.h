#pragma once
// Targets ("cibles"): one per distinct found text and document, each with
// its occurrences. Plain records that the results library reads too;
// recording is target_recorder.h's.
//
// Units: fields named ...Start/...End without a unit are indexes (offsets in
// the document text) where the comment says so, positions otherwise; see
// documents/document.h.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace lirno {

// An end index that the scan has not met yet.
inline constexpr std::int32_t kUnknownEnd = -1;

struct Occurrence {
  std::int32_t start = 0;   // position of the first matched character
  std::int32_t length = 0;  // positions from the first to the last matched character
  std::int32_t contextStart = -1;       // position; -1 with the context "Texte"
  std::int32_t contextLength = 0;       // positions, up to the closing separator
  std::int32_t contextStartIndex = 0;   // index
  std::int32_t contextLengthChars = 0;  // characters
  std::int32_t page = 0;
  std::int32_t folio = 0;
  std::int32_t verso = 0;  // 0 recto, 1 verso
  // Indexes of the first character of the paragraph, sentence and word in
  // which the hit began, and of their last non-separator characters
  // (kUnknownEnd until the closing separator is met).
  std::int32_t paragraphStart = 0;
  std::int32_t sentenceStart = 0;
  std::int32_t wordStart = 0;
  std::int32_t paragraphEnd = kUnknownEnd;
  std::int32_t sentenceEnd = kUnknownEnd;
  std::int32_t wordEnd = kUnknownEnd;
};

using cStarts = std::vector<Occurrence>;

// The label that every target of one corpus document carries ("file name |
// folder", UTF-8); shared, since a word list makes thousands of targets per
// document. Empty for a search in the current document.
class DocumentLabel {
 public:
  DocumentLabel() = default;
  explicit DocumentLabel(std::string text)
      : text_(text.empty() ? nullptr : std::make_shared<const std::string>(std::move(text))) {}

  const std::string& str() const {
    static const std::string kEmpty;
    return text_ ? *text_ : kEmpty;
  }
  bool empty() const { return !text_; }

 private:
  std::shared_ptr<const std::string> text_;
};

struct Target {
  std::string text;         // found text, Windows-1252
  std::int32_t length = 0;  // document characters covered by the first hit
  cStarts occurrences;      // in recording order
  std::int32_t current = 0; // current occurrence (grid navigation)
  std::int32_t searchString = 0;  // index of the string whose hit created it
  DocumentLabel document;
};

// The targets of a search or word list. Recording keeps it ordered by
// (document label, text), bytes compared unsigned; a sort (results/sorting.h)
// reorders it and clears keyOrdered. Records have stable addresses.
class cTargetList {
 public:
  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  Target& operator[](std::size_t i) { return *items_[i]; }
  const Target& operator[](std::size_t i) const { return *items_[i]; }

  // Clear target list.
  void clear() {
    items_.clear();
    keyOrdered_ = true;
  }

  // Removes target i (the grid's delete), keeping the order of the others.
  void erase(std::size_t i) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i)); }

  // The records, for sorting and recording. Whoever reorders them by any
  // other key must call setKeyOrdered(false).
  std::vector<std::unique_ptr<Target>>& records() { return items_; }
  const std::vector<std::unique_ptr<Target>>& records() const { return items_; }

  bool keyOrdered() const { return keyOrdered_; }
  void setKeyOrdered(bool ordered) { keyOrdered_ = ordered; }

  // Total number of occurrences of all targets.
  std::int64_t occurrenceCount() const {
    std::int64_t n = 0;
    for (const auto& t : items_) n += static_cast<std::int64_t>(t->occurrences.size());
    return n;
  }

 private:
  std::vector<std::unique_ptr<Target>> items_;
  bool keyOrdered_ = true;
};

// A hit as the matcher (or the word list) hands it to Record occurrence.
// Indexes and positions as in Occurrence.
struct PendingTarget {
  std::int32_t stringIndex = 0;
  std::int32_t matchStart = 0;      // index of the first matched character
  std::int32_t startPosition = 0;   // its position
  std::int32_t lengthPositions = 0;
  std::int32_t lengthChars = 0;     // index of the last matched character - matchStart + 1
  std::int32_t contextStart = -1;   // position
  std::int32_t contextStartIndex = 0;
  std::int32_t contextLength = 0;   // 0 until the context closes
  std::int32_t contextLengthChars = 0;
  std::int32_t paragraphStart = 0;
  std::int32_t sentenceStart = 0;
  std::int32_t wordStart = 0;
  std::int32_t paragraphEnd = kUnknownEnd;
  std::int32_t sentenceEnd = kUnknownEnd;
  std::int32_t wordEnd = kUnknownEnd;
  std::int32_t wordEndPointer = kUnknownEnd;  // index of the word's last fed character
  bool atWordStart = false;
};

using cTTargetList = std::vector<PendingTarget>;

}  // namespace lirno
