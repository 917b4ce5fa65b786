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
#include <memory_resource>
#include <new>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/large_pages.h"

namespace lirno {

// An end index that the scan has not met yet.
inline constexpr std::int32_t kUnknownEnd = -1;

// A found text is built from at most this many characters of its hit: a
// long "word" (a text without separators) would otherwise cost memory with
// the square of its length, one text per hit in it.
inline constexpr std::int32_t kMaxFoundTextLength = 1024;

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

// The occurrences of a list's own targets live in the list's memory (see
// cTargetList::make); those of any other target in the heap.
using cStarts = std::pmr::vector<Occurrence>;

// The label that every target of one corpus document carries ("file name |
// folder", UTF-8); shared, since a word list makes thousands of targets per
// document. Empty for a search in the current document. Its count of
// owners is not atomic (an atomic one stalls the recording of every new
// target): the copies of one label must be used by one thread at a time, as
// the lists that hold them are.
class DocumentLabel {
 public:
  DocumentLabel() = default;
  // `path`: the document's full path, kept for reopening it (a file name
  // may hold " | " itself, so the label's text cannot be split back).
  explicit DocumentLabel(std::string text, std::string path = {})
      : shared_(text.empty() ? nullptr : new Shared{std::move(text), std::move(path), 1}) {}
  DocumentLabel(const DocumentLabel& other) noexcept : shared_(other.shared_) {
    if (shared_) ++shared_->owners;
  }
  DocumentLabel(DocumentLabel&& other) noexcept : shared_(std::exchange(other.shared_, nullptr)) {}
  DocumentLabel& operator=(DocumentLabel other) noexcept {
    std::swap(shared_, other.shared_);
    return *this;
  }
  ~DocumentLabel() {
    if (shared_ && --shared_->owners == 0) delete shared_;
  }

  const std::string& str() const {
    static const std::string kEmpty;
    return shared_ ? shared_->text : kEmpty;
  }
  // The document's full path (UTF-8); empty for the empty label and for a
  // label made without one (see documentPathOf in results/document_label.h).
  const std::string& path() const {
    static const std::string kEmpty;
    return shared_ ? shared_->path : kEmpty;
  }
  bool empty() const { return !shared_; }

 private:
  struct Shared {
    std::string text;
    std::string path;
    std::size_t owners;
  };
  Shared* shared_ = nullptr;
};

struct Target {
  Target() = default;
  explicit Target(std::pmr::memory_resource* memory) : occurrences(memory) {}
  // Not copied: a copy would say it lives in a list's memory.
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  std::string text;         // found text, Windows-1252
  std::int32_t length = 0;  // document characters covered by the first hit
  bool pooled = false;      // made by a cTargetList in its memory (see TargetDeleter)
  cStarts occurrences;      // in recording order
  std::int32_t current = 0; // current occurrence (grid navigation)
  std::int32_t searchString = 0;  // index of the string whose hit created it
  DocumentLabel document;
};

// The memory of a list's targets and their occurrence lists: handed out in
// order from large chunks, and given back all at once. The chunks are kept
// for the thread's next list (a word list makes millions of targets, and a
// heap block for each and for each occurrence list costs as much as the
// scan). Chunks and the largest lists are on huge pages where the system
// has them: a search's occurrences are written once, and their page faults
// cost as much as the scan.
class TargetMemory final : public std::pmr::memory_resource {
 public:
  TargetMemory() = default;
  TargetMemory(const TargetMemory&) = delete;
  TargetMemory& operator=(const TargetMemory&) = delete;
  ~TargetMemory() override { release(); }

  void release() {
    for (const auto& [p, bytes] : large_) freeLarge(p, bytes);
    large_.clear();
    Spare& spare = spareChunks();
    for (void* c : chunks_) {
      if (spare.hot.size() < kHotChunks) {
        spare.hot.push_back(c);
      } else if (spare.parked.size() < kParkedChunks) {
        parkLargePages(c, kChunkBytes);
        spare.parked.push_back(c);
      } else {
        freeLargePages(c, kChunkBytes);
      }
    }
    chunks_.clear();
    next_ = nullptr;
    left_ = 0;
  }

 private:
  static constexpr std::size_t kChunkBytes = kLargePageBytes;
  static constexpr std::size_t kLargeBytes = kChunkBytes / 8;  // beyond: a block of its own
  // Spare chunks: a few kept as they are (a word list's one per document),
  // and up to 256 MiB more that the system may take back, so that a search
  // repeated or refined reuses the memory of the one before without new
  // page faults.
  static constexpr std::size_t kHotChunks = 4;
  static constexpr std::size_t kParkedChunks = 124;
  struct Spare {
    std::vector<void*> hot, parked;
    ~Spare() {
      for (void* c : hot) freeLargePages(c, kChunkBytes);
      for (void* c : parked) freeLargePages(c, kChunkBytes);
    }
  };
  static void* allocateLarge(std::size_t bytes) {
    return bytes >= kLargePageBytes ? allocateLargePages(bytes) : ::operator new(bytes);
  }
  static void freeLarge(void* p, std::size_t bytes) {
    if (bytes >= kLargePageBytes) {
      freeLargePages(p, bytes);
    } else {
      ::operator delete(p);
    }
  }
  static Spare& spareChunks() {
    thread_local Spare spare;
    return spare;
  }

  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    // Targets and occurrences need no more than operator new's alignment.
    if (bytes > kLargeBytes) {
      large_.reserve(large_.size() + 1);
      void* p = allocateLarge(bytes);
      large_.emplace_back(p, bytes);
      return p;
    }
    std::size_t skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
    if (skip + bytes > left_) {
      chunks_.reserve(chunks_.size() + 1);
      Spare& spare = spareChunks();
      void* chunk;
      if (!spare.hot.empty()) {
        chunk = spare.hot.back();
        spare.hot.pop_back();
      } else if (!spare.parked.empty()) {
        chunk = spare.parked.back();
        spare.parked.pop_back();
      } else {
        chunk = allocateLargePages(kChunkBytes);
      }
      chunks_.push_back(chunk);
      next_ = static_cast<unsigned char*>(chunk);
      left_ = kChunkBytes;
      skip = 0;
    }
    void* p = next_ + skip;
    next_ += skip + bytes;
    left_ -= skip + bytes;
    return p;
  }

  void do_deallocate(void* p, std::size_t bytes, std::size_t) override {
    if (bytes <= kLargeBytes) return;  // given back with its chunk
    for (std::size_t k = large_.size(); k-- > 0;) {
      if (large_[k].first == p) {
        freeLarge(p, bytes);
        large_.erase(large_.begin() + static_cast<std::ptrdiff_t>(k));
        return;
      }
    }
  }

  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

  std::vector<void*> chunks_;
  std::vector<std::pair<void*, std::size_t>> large_;
  unsigned char* next_ = nullptr;
  std::size_t left_ = 0;
};

// Frees a target record: one that a cTargetList made lives in the list's
// memory and is only destroyed; any other came from new. The target says
// which, so that a record is one pointer (a corpus word list holds
// millions).
class TargetDeleter {
 public:
  TargetDeleter() = default;
  TargetDeleter(std::default_delete<Target>) {}  // records made with new
  void operator()(Target* t) const {
    if (t->pooled) {
      t->~Target();
    } else {
      delete t;
    }
  }
};

using TargetRecord = std::unique_ptr<Target, TargetDeleter>;
static_assert(sizeof(TargetRecord) == sizeof(Target*));

// The targets of a search or word list. Recording keeps it ordered by
// document label, bytes compared unsigned, or in runs of labels
// (labelRuns), each label's targets in the order they were made; a sort
// (results/sorting.h) gives the order shown, and clears both. Records have
// stable addresses.
class cTargetList {
 public:
  cTargetList() = default;
  cTargetList(cTargetList&&) = default;
  cTargetList& operator=(cTargetList&& other) {
    if (this != &other) {
      items_.clear();  // before the memory that its records may live in
      memory_ = std::move(other.memory_);
      items_ = std::move(other.items_);
      labelOrdered_ = other.labelOrdered_;
      runs_ = std::move(other.runs_);
      textsCut_ = other.textsCut_;
    }
    return *this;
  }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  Target& operator[](std::size_t i) { return *items_[i]; }
  const Target& operator[](std::size_t i) const { return *items_[i]; }

  // Clear target list.
  void clear() {
    items_.clear();
    if (memory_) memory_->release();
    labelOrdered_ = true;
    runs_.reset();
    textsCut_ = false;
  }

  // Some found text was cut at kMaxFoundTextLength since the last clear().
  bool textsCut() const { return textsCut_; }
  void setTextsCut() { textsCut_ = true; }

  // Removes target i (the grid's delete), keeping the order of the others.
  void erase(std::size_t i) {
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
    runs_.reset();
  }

  // The records, for sorting and recording. Whoever reorders them by any
  // other key must call setLabelOrdered(false). A record that make() gave
  // must stay in this list.
  std::vector<TargetRecord>& records() { return items_; }
  const std::vector<TargetRecord>& records() const { return items_; }

  // A new empty target in the list's memory, not yet in the list.
  TargetRecord make() {
    if (!memory_) memory_ = std::make_unique<TargetMemory>();
    void* room = memory_->allocate(sizeof(Target), alignof(Target));
    Target* t = ::new (room) Target(memory_.get());
    t->pooled = true;
    return TargetRecord(t);
  }

  bool labelOrdered() const { return labelOrdered_; }
  void setLabelOrdered(bool ordered) {
    labelOrdered_ = ordered;
    runs_.reset();
  }

  // Recording that meets labels out of order (a corpus in any order) may
  // leave the list, instead of in label order, as one run of each label's
  // targets, the runs in the order the labels came: where
  // each run starts and how long it is, by label. Null: no such runs. Any
  // other change of order forgets them (and whoever removes records through
  // records() must call setLabelOrdered(false)).
  using LabelRuns = std::unordered_map<std::string, std::pair<std::size_t, std::size_t>>;
  LabelRuns* labelRuns() { return runs_.get(); }
  void setLabelRuns(std::unique_ptr<LabelRuns> runs) {
    runs_ = std::move(runs);
    if (runs_) labelOrdered_ = false;
  }

  // Total number of occurrences of all targets.
  std::int64_t occurrenceCount() const {
    std::int64_t n = 0;
    for (const auto& t : items_) n += static_cast<std::int64_t>(t->occurrences.size());
    return n;
  }

 private:
  // Its own block, since the occurrence lists refer to it; declared before
  // items_, which is destroyed first.
  std::unique_ptr<TargetMemory> memory_;
  std::vector<TargetRecord> items_;
  bool labelOrdered_ = true;
  std::unique_ptr<LabelRuns> runs_;
  bool textsCut_ = false;
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
