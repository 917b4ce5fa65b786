#pragma once
// Targets ("cibles"): one per distinct found text and document, each with
// its occurrences. Plain records that the results library reads too;
// recording is target_recorder.h's.
//
// Units: fields named ...Start/...End without a unit are indexes (offsets in
// the document text) where the comment says so, positions otherwise; see
// documents/document.h.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <iterator>
#include <memory>
#include <memory_resource>
#include <new>
#include <string>
#include <string_view>
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

// A target's found text (Windows-1252 bytes, any of them, 0 included): up to
// 12 bytes held in the record itself, a longer one on the heap. 16 bytes
// instead of a string's 32: a corpus word list holds millions of them, most
// of them words.
class FoundText {
 public:
  FoundText() = default;
  FoundText(std::string_view text) { assign(text); }
  FoundText(const FoundText& other) { assign(other.view()); }
  FoundText& operator=(const FoundText& other) {
    if (this != &other) assign(other.view());
    return *this;
  }
  FoundText& operator=(std::string_view text) {
    assign(text);
    return *this;
  }
  ~FoundText() { free(); }

  const char* data() const { return size_ <= kInline ? bytes_ : heap(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  std::string_view view() const { return {data(), size_}; }
  operator std::string_view() const { return view(); }
  std::string str() const { return std::string(view()); }

  friend bool operator==(const FoundText& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const FoundText& a, const FoundText& b) { return a.view() == b.view(); }

 private:
  static constexpr std::size_t kInline = 12;
  char* heap() const {
    char* p;
    std::memcpy(&p, bytes_ + 4, sizeof p);
    return p;
  }
  void free() {
    if (size_ > kInline) delete[] heap();
    size_ = 0;
  }
  void assign(std::string_view text) {
    if (text.size() > UINT32_MAX) throw std::bad_alloc();
    if (text.size() <= kInline) {
      free();
      if (!text.empty()) std::memcpy(bytes_, text.data(), text.size());
    } else {
      char* p = new char[text.size()];
      std::memcpy(p, text.data(), text.size());
      free();
      std::memcpy(bytes_ + 4, &p, sizeof p);
    }
    size_ = static_cast<std::uint32_t>(text.size());
  }

  std::uint32_t size_ = 0;
  char bytes_[kInline] = {};  // the text, or from byte 4 the heap block's address
};
static_assert(sizeof(FoundText) == 16);

inline std::ostream& operator<<(std::ostream& out, const FoundText& text) { return out << text.view(); }

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

// The occurrences of a list's own targets, as kept: a corpus word list holds
// tens of millions, and most of their fields are those of the stretch of
// sentence they stand in. A record keeps its start and its shape (length,
// word start and end about the first matched character) and names a place
// row shared by the hits of that stretch; a hit whose fields do not fit
// that form names a whole record instead.
struct PackedOccurrence {
  std::int32_t start;
  std::uint32_t place;  // row in the place table, or kWholeRecord | number of a whole record
  std::uint32_t shape;  // length : 11, first matched index - word start : 10, word length + 1 : 11
};
static_assert(sizeof(PackedOccurrence) == 12);
inline constexpr std::uint32_t kWholeRecord = 0x80000000u;

// Items held in blocks that never move: the tables grow while the scan
// fills them, and a copy of a large table would double it for a moment.
// A block's items are written when added (a small search touches little of
// its first block).
template <typename T>
class BlockTable {
 public:
  std::uint32_t add(const T& item) {
    if (size_ % kBlock == 0) blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlock));
    blocks_.back()[size_ % kBlock] = item;
    return size_++;
  }
  const T& operator[](std::uint32_t i) const { return blocks_[i / kBlock][i % kBlock]; }
  std::uint32_t size() const { return size_; }
  void clear() {
    blocks_.clear();
    size_ = 0;
  }

 private:
  static constexpr std::uint32_t kBlock = 1u << 12;
  std::vector<std::unique_ptr<T[]>> blocks_;
  std::uint32_t size_ = 0;
};

// The place rows and whole records that a list's packed occurrences name.
// A row keeps the side and the context apart from the rest: a word list's
// and most searches' hits have none, and those of a search with a context
// share it with the other hits of their sentence.
class OccurrenceTables {
 public:
  // The row of the place fields of `o` and `indexOffset` (its start
  // position - the index of its first matched character): the last one
  // again when it is the same, as for the hits of one sentence filed one
  // after the other.
  std::uint32_t placeRow(const Occurrence& o, std::int32_t indexOffset) {
    Row row{o.page, o.folio, o.paragraphStart, o.paragraphEnd, o.sentenceStart, o.sentenceEnd, indexOffset, 0};
    const Context context{o.verso, o.contextStart, o.contextLength, o.contextStartIndex, o.contextLengthChars};
    if (context == Context{0, -1, 0, 0, 0} || context == Context{1, -1, 0, 0, 0}) {
      row.sideOrContext = static_cast<std::uint32_t>(o.verso);
    } else {
      if (contexts_.size() == 0 || !(contexts_[contexts_.size() - 1] == context)) contexts_.add(context);
      row.sideOrContext = contexts_.size() - 1 + 2;
    }
    if (places_.size() > 0 && places_[places_.size() - 1] == row) return places_.size() - 1;
    return places_.add(row);
  }
  // Writes the place fields of row `n` into `o`; gives the row's index
  // offset.
  std::int32_t fill(std::uint32_t n, Occurrence& o) const {
    const Row& row = places_[n];
    o.page = row.page;
    o.folio = row.folio;
    o.paragraphStart = row.paragraphStart;
    o.paragraphEnd = row.paragraphEnd;
    o.sentenceStart = row.sentenceStart;
    o.sentenceEnd = row.sentenceEnd;
    if (row.sideOrContext < 2) {
      o.verso = static_cast<std::int32_t>(row.sideOrContext);
      o.contextStart = -1;
      o.contextLength = o.contextStartIndex = o.contextLengthChars = 0;
    } else {
      const Context& context = contexts_[row.sideOrContext - 2];
      o.verso = context.verso;
      o.contextStart = context.contextStart;
      o.contextLength = context.contextLength;
      o.contextStartIndex = context.contextStartIndex;
      o.contextLengthChars = context.contextLengthChars;
    }
    return row.indexOffset;
  }
  std::uint32_t addWhole(const Occurrence& o) { return wholes_.add(o); }
  const Occurrence& whole(std::uint32_t n) const { return wholes_[n]; }
  bool full() const {
    return places_.size() >= kWholeRecord - 1 || wholes_.size() >= kWholeRecord - 1 ||
           contexts_.size() >= UINT32_MAX - 2;
  }
  std::uint32_t placeRows() const { return places_.size(); }
  std::uint32_t wholeRecords() const { return wholes_.size(); }
  void clear() {
    places_.clear();
    contexts_.clear();
    wholes_.clear();
  }

 private:
  struct Row {
    std::int32_t page, folio;
    std::int32_t paragraphStart, paragraphEnd, sentenceStart, sentenceEnd;
    std::int32_t indexOffset;
    std::uint32_t sideOrContext;  // 0 recto, 1 verso, without context; else 2 + its context
    bool operator==(const Row&) const = default;
  };
  struct Context {
    std::int32_t verso, contextStart, contextLength, contextStartIndex, contextLengthChars;
    bool operator==(const Context&) const = default;
  };
  BlockTable<Row> places_;
  BlockTable<Context> contexts_;
  BlockTable<Occurrence> wholes_;
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

  // The rows that the packed occurrences in this memory name.
  OccurrenceTables& tables() { return tables_; }
  const OccurrenceTables& tables() const { return tables_; }

  // The memory that an object it handed out lives in, read from the head
  // of its chunk: a list's own records then need not name it themselves.
  // Only for objects of at most kLargeBytes.
  static TargetMemory& owning(const void* object) {
    const auto chunk = reinterpret_cast<std::uintptr_t>(object) & ~(std::uintptr_t{kChunkBytes} - 1);
    TargetMemory* owner;
    std::memcpy(&owner, reinterpret_cast<const void*>(chunk), sizeof owner);
    return *owner;
  }

  void release() {
    tables_.clear();
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
  // Chunks are aligned on their size (see owning()), and begin with the
  // address of the memory that holds them.
  static constexpr std::size_t kChunkBytes = kLargePageBytes;
  static constexpr std::size_t kHeadBytes = 16;
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
      TargetMemory* self = this;
      std::memcpy(chunk, &self, sizeof self);
      next_ = static_cast<unsigned char*>(chunk) + kHeadBytes;
      left_ = kChunkBytes - kHeadBytes;
      skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
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
  OccurrenceTables tables_;
};

// A target's occurrences, in recording order. Those of a list's own
// targets are packed in the list's memory: the first one in the record
// itself (most targets of a word list have one occurrence), more in a block
// of their exact size where each takes only the bits that its start, place
// row and shape differ by from the least of the list's (a word's
// occurrences in one document are close together and mostly of one
// shape). Those of any other target (made with new) are whole records on
// the heap. Read by value: an occurrence is unpacked when asked for.
class cStarts {
 public:
  cStarts() = default;
  // Packed, in `memory`: the record must live in it too (see
  // TargetMemory::owning).
  explicit cStarts(TargetMemory* memory) : word_(memory ? kInList : 0) {}
  cStarts(const cStarts&) = delete;
  cStarts& operator=(const cStarts&) = delete;
  ~cStarts() { release(); }

  std::size_t size() const { return word_ & kSizeMask; }
  bool empty() const { return size() == 0; }
  Occurrence operator[](std::size_t i) const;
  Occurrence front() const { return (*this)[0]; }
  Occurrence back() const { return (*this)[size() - 1]; }
  // Packed in a list's memory, as a cTargetList's own targets are.
  bool inListMemory() const { return (word_ & kInList) != 0; }
  // The start alone, without unpacking the rest.
  std::int32_t startAt(std::size_t i) const {
    if (!inListMemory()) return static_cast<const Occurrence*>(data())[i].start;
    return packedAt(i).start;
  }

  // A list's own target is rewritten whole at each addition: its
  // occurrences are best added in runs (appendPacked).
  void push_back(const Occurrence& o);
  // The same, told the index of the first matched character, which packs
  // the occurrence in fewer bytes where it differs from its word start.
  void push_back(const Occurrence& o, std::int32_t matchIndex);
  // For a list's own target: `n` occurrences packed for the tables of its
  // list's memory, added after the others.
  void appendPacked(const PackedOccurrence* run, std::size_t n);
  // Room for `n` occurrences; a list's own target takes none ahead.
  void reserve(std::size_t n);
  // New occurrences are default ones.
  void resize(std::size_t n);

  class const_iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = Occurrence;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Occurrence;
    const_iterator(const cStarts* list, std::size_t i) : list_(list), i_(i) {}
    Occurrence operator*() const { return (*list_)[i_]; }
    const_iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const const_iterator& other) const { return i_ == other.i_; }
    bool operator!=(const const_iterator& other) const { return i_ != other.i_; }

   private:
    const cStarts* list_;
    std::size_t i_;
  };
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, size()}; }

 private:
  // word_: the size, whether the list is packed in a list's memory, and
  // whether room_ holds a block (a 4-byte form, then its address) rather
  // than the one packed occurrence that a list's own target keeps there.
  // The form of a packed block: kNarrow and the widths in bits of its
  // entries' start, place row and shape fields (the shape's 0 when all the
  // shapes are the head's, else 32), or 0 for an array of
  // PackedOccurrence. A block of whole records keeps its capacity there.
  static constexpr std::uint32_t kInList = 1u << 31, kArray = 1u << 30, kSizeMask = kArray - 1;
  static constexpr std::uint32_t kNarrow = 1u << 31;
  // A narrow entry is read in one 8-byte load from the byte it begins in.
  static constexpr int kMaxEntryBits = 57;
  struct NarrowHead {
    std::int32_t start;  // the least of each field
    std::uint32_t place;
    std::uint32_t shape;
  };

  void release();
  std::uint32_t form() const {
    std::uint32_t c;
    std::memcpy(&c, room_, sizeof c);
    return c;
  }
  std::uint32_t capacity() const {
    if (!(word_ & kArray)) return 0;
    return form();
  }
  void* data() const {
    if (!(word_ & kArray)) return nullptr;
    void* p;
    std::memcpy(&p, room_ + 4, sizeof p);
    return p;
  }
  void setBlock(void* p, std::uint32_t form) {
    std::memcpy(room_, &form, sizeof form);
    std::memcpy(room_ + 4, &p, sizeof p);
    word_ |= kArray;
  }
  static int entryBits(std::uint32_t form) {
    return static_cast<int>((form & 63) + (form >> 6 & 63) + (form >> 12 & 63));
  }
  static std::size_t blockBytes(std::uint32_t form, std::size_t n) {
    if (!(form & kNarrow)) return n * sizeof(PackedOccurrence);
    const std::size_t bytes = sizeof(NarrowHead) + (n * static_cast<std::size_t>(entryBits(form)) + 7) / 8;
    return (bytes + 3) & ~std::size_t{3};
  }
  PackedOccurrence packedAt(std::size_t i) const;
  // Rewrites the packed list as `all` (n of them).
  void pack(const PackedOccurrence* all, std::size_t n);
  void setSize(std::size_t n) { word_ = (word_ & ~kSizeMask) | static_cast<std::uint32_t>(n); }

  std::uint32_t word_ = 0;
  unsigned char room_[12] = {};
};
static_assert(sizeof(cStarts) == 16);

struct Target {
  Target() = default;
  explicit Target(TargetMemory* memory) : occurrences(memory) {}
  // Not copied: a copy would say it lives in a list's memory.
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  // In this order, so that a record takes 48 bytes.
  DocumentLabel document;
  FoundText text;           // found text, Windows-1252
  cStarts occurrences;      // in recording order
  std::int32_t length = 0;  // document characters covered by the first hit
  std::int32_t searchString = 0;  // index of the string whose hit created it
  // The occurrence the grid shows is its list's (cTargetList::currentOf).
  // Made by a cTargetList in its memory (see TargetDeleter).
  bool pooled() const { return occurrences.inListMemory(); }
};
static_assert(sizeof(Target) <= 48, "a corpus word list holds millions of targets");

namespace packed {
inline constexpr std::uint32_t kLengthBits = 11, kBackBits = 10, kSpanBits = 11;

inline Occurrence unpack(const PackedOccurrence& p, const OccurrenceTables& tables) {
  if (p.place & kWholeRecord) return tables.whole(p.place & ~kWholeRecord);
  Occurrence o;
  const std::int32_t indexOffset = tables.fill(p.place, o);
  o.start = p.start;
  o.length = static_cast<std::int32_t>(p.shape & ((1u << kLengthBits) - 1));
  const auto back = static_cast<std::int32_t>((p.shape >> kLengthBits) & ((1u << kBackBits) - 1));
  const auto span = static_cast<std::int32_t>(p.shape >> (kLengthBits + kBackBits));
  o.wordStart = p.start - indexOffset - back;
  o.wordEnd = static_cast<std::int32_t>(std::int64_t{o.wordStart} + span - 1);
  return o;
}

// `matchIndex`: index of the first matched character. The packed form is
// kept where its fields hold the values exactly (the place fields are kept
// as they are, and the word's ends are found back from start, offset and
// shape within 32 bits); otherwise the whole record.
inline PackedOccurrence pack(const Occurrence& o, std::int32_t matchIndex, OccurrenceTables& tables) {
  const std::int64_t back = static_cast<std::int64_t>(matchIndex) - o.wordStart;
  const std::int64_t span = static_cast<std::int64_t>(o.wordEnd) - o.wordStart + 1;
  const std::int64_t offset = static_cast<std::int64_t>(o.start) - matchIndex;
  if (!tables.full() && o.length >= 0 && o.length < (1 << kLengthBits) && back >= 0 && back < (1 << kBackBits) &&
      span >= 0 && span < (1 << kSpanBits) && offset >= INT32_MIN && offset <= INT32_MAX) {
    return {o.start, tables.placeRow(o, static_cast<std::int32_t>(offset)),
            static_cast<std::uint32_t>(o.length) | static_cast<std::uint32_t>(back) << kLengthBits |
                static_cast<std::uint32_t>(span) << (kLengthBits + kBackBits)};
  }
  return {o.start, kWholeRecord | tables.addWhole(o), 0};
}
}  // namespace packed

inline PackedOccurrence cStarts::packedAt(std::size_t i) const {
  PackedOccurrence p;
  if (!(word_ & kArray)) {
    std::memcpy(&p, room_, sizeof p);
    return p;
  }
  const auto* block = static_cast<const unsigned char*>(data());
  const std::uint32_t f = form();
  if (!(f & kNarrow)) {
    std::memcpy(&p, block + i * sizeof p, sizeof p);
    return p;
  }
  NarrowHead head;
  std::memcpy(&head, block, sizeof head);
  const int startBits = static_cast<int>(f & 63), placeBits = static_cast<int>(f >> 6 & 63);
  const int bits = entryBits(f);
  const std::uint64_t at = static_cast<std::uint64_t>(i) * static_cast<std::uint64_t>(bits);
  const unsigned char* from = block + sizeof head + at / 8;
  const std::size_t left = (size() * static_cast<std::size_t>(bits) + 7) / 8 - at / 8;
  std::uint64_t x = 0;
  if (left >= 8) {
    std::memcpy(&x, from, 8);
  } else {
    for (std::size_t k = 0; k < left; ++k) x |= std::uint64_t{from[k]} << (8 * k);
  }
  x >>= at % 8;
  const auto field = [&](int shift, int width) {
    return static_cast<std::uint32_t>((x >> shift) & ((std::uint64_t{1} << width) - 1));
  };
  p.start = static_cast<std::int32_t>(static_cast<std::uint32_t>(head.start) + field(0, startBits));
  p.place = head.place + field(startBits, placeBits);
  p.shape = (f >> 12 & 63) ? field(startBits + placeBits, 32) : head.shape;
  return p;
}

inline void cStarts::pack(const PackedOccurrence* all, std::size_t n) {
  if (n > kSizeMask) throw std::bad_alloc();
  if (n == 0) release();
  if (n <= 1 && !(word_ & kArray)) {
    if (n == 1) std::memcpy(room_, all, sizeof *all);
    setSize(n);
    return;
  }
  NarrowHead head{all[0].start, all[0].place, all[0].shape};
  std::int32_t maxStart = head.start;
  std::uint32_t maxPlace = head.place;
  bool oneShape = true;
  for (std::size_t k = 1; k < n; ++k) {
    head.start = std::min(head.start, all[k].start);
    maxStart = std::max(maxStart, all[k].start);
    head.place = std::min(head.place, all[k].place);
    maxPlace = std::max(maxPlace, all[k].place);
    oneShape = oneShape && all[k].shape == head.shape;
  }
  const int startBits = std::bit_width(static_cast<std::uint32_t>(maxStart) - static_cast<std::uint32_t>(head.start));
  const int placeBits = std::bit_width(maxPlace - head.place);
  const int shapeBits = oneShape ? 0 : 32;
  const std::uint32_t f = startBits + placeBits + shapeBits <= kMaxEntryBits
                              ? kNarrow | static_cast<std::uint32_t>(startBits) |
                                    static_cast<std::uint32_t>(placeBits) << 6 |
                                    static_cast<std::uint32_t>(shapeBits) << 12
                              : 0;
  const std::size_t bytes = blockBytes(f, n);
  auto* block = static_cast<unsigned char*>(TargetMemory::owning(this).allocate(bytes, 4));
  if (!(f & kNarrow)) {
    std::memcpy(block, all, n * sizeof *all);
  } else {
    std::memcpy(block, &head, sizeof head);
    unsigned char* out = block + sizeof head;
    std::uint64_t pending = 0;
    int held = 0;
    for (std::size_t k = 0; k < n; ++k) {
      const std::uint64_t v =
          (static_cast<std::uint32_t>(all[k].start) - static_cast<std::uint32_t>(head.start)) |
          std::uint64_t{all[k].place - head.place} << startBits |
          (shapeBits ? std::uint64_t{all[k].shape} << (startBits + placeBits) : 0);
      pending |= v << held;
      held += startBits + placeBits + shapeBits;
      while (held >= 8) {
        *out++ = static_cast<unsigned char>(pending);
        pending >>= 8;
        held -= 8;
      }
    }
    if (held > 0) *out++ = static_cast<unsigned char>(pending);
    std::memset(out, 0, static_cast<std::size_t>(block + bytes - out));
  }
  release();
  setBlock(block, f);
  setSize(n);
}

inline Occurrence cStarts::operator[](std::size_t i) const {
  if (!inListMemory()) return static_cast<const Occurrence*>(data())[i];
  return packed::unpack(packedAt(i), TargetMemory::owning(this).tables());
}

inline void cStarts::appendPacked(const PackedOccurrence* run, std::size_t n) {
  if (n == 0) return;
  const std::size_t had = size();
  if (had == 0) {
    pack(run, n);
    return;
  }
  std::vector<PackedOccurrence> all(had + n);
  for (std::size_t k = 0; k < had; ++k) all[k] = packedAt(k);
  std::copy(run, run + n, all.begin() + static_cast<std::ptrdiff_t>(had));
  pack(all.data(), all.size());
}

inline void cStarts::reserve(std::size_t n) {
  if (inListMemory() || n <= capacity()) return;
  if (n > kSizeMask) throw std::bad_alloc();
  auto* whole = new Occurrence[n];
  std::copy(static_cast<const Occurrence*>(data()), static_cast<const Occurrence*>(data()) + size(), whole);
  release();
  setBlock(whole, static_cast<std::uint32_t>(n));
}

inline void cStarts::release() {
  if (!(word_ & kArray)) return;
  if (inListMemory()) {
    TargetMemory::owning(this).deallocate(data(), blockBytes(form(), size()), 4);
  } else {
    delete[] static_cast<Occurrence*>(data());
  }
  word_ &= ~kArray;
}

inline void cStarts::push_back(const Occurrence& o) { push_back(o, o.wordStart); }

inline void cStarts::push_back(const Occurrence& o, std::int32_t matchIndex) {
  if (inListMemory()) {
    const PackedOccurrence p = packed::pack(o, matchIndex, TargetMemory::owning(this).tables());
    appendPacked(&p, 1);
    return;
  }
  const std::size_t n = size();
  if (n == capacity()) reserve(n < 4 ? 4 : n * 2);
  static_cast<Occurrence*>(data())[n] = o;
  setSize(n + 1);
}

inline void cStarts::resize(std::size_t n) {
  const std::size_t had = size();
  if (n < had && inListMemory()) {
    // Rewritten, so that a block is always of its list's size.
    std::vector<PackedOccurrence> kept(n);
    for (std::size_t k = 0; k < n; ++k) kept[k] = packedAt(k);
    release();
    pack(kept.data(), n);
    return;
  }
  if (n <= had) {
    setSize(n);
    return;
  }
  reserve(n);
  while (size() < n) push_back(Occurrence{});
}

// Frees a target record: one that a cTargetList made lives in the list's
// memory and is only destroyed; any other came from new. The target says
// which, so that a record is one pointer (a corpus word list holds
// millions).
class TargetDeleter {
 public:
  TargetDeleter() = default;
  TargetDeleter(std::default_delete<Target>) {}  // records made with new
  void operator()(Target* t) const {
    if (t->pooled()) {
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
      currents_ = std::move(other.currents_);
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
    currents_.clear();
  }

  // The occurrence of `t` that the grid shows (grid navigation): 0 until
  // set. Kept apart from the records, since few targets are ever stepped
  // through and a corpus word list holds millions.
  std::int32_t currentOf(const Target& t) const {
    const auto at = currents_.find(&t);
    return at == currents_.end() ? 0 : at->second;
  }
  void setCurrent(const Target& t, std::int32_t occurrence) {
    if (occurrence == 0) {
      currents_.erase(&t);
    } else {
      currents_[&t] = occurrence;
    }
  }

  // Some found text was cut at kMaxFoundTextLength since the last clear().
  bool textsCut() const { return textsCut_; }
  void setTextsCut() { textsCut_ = true; }

  // Removes target i (the grid's delete), keeping the order of the others.
  void erase(std::size_t i) {
    currents_.erase(items_[i].get());
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

  // The rows that the packed occurrences of the list's own targets name;
  // null before the list made any target.
  const OccurrenceTables* occurrenceTables() const { return memory_ ? &memory_->tables() : nullptr; }
  // The same, for packing occurrences for the list's own targets.
  OccurrenceTables* packingTables() { return memory_ ? &memory_->tables() : nullptr; }

  // The targets a command works on: those of `selected` that are in the
  // list, in its order, or all of them when nothing is selected.
  std::vector<std::size_t> chosen(const std::vector<std::size_t>& selected) const {
    std::vector<std::size_t> out;
    if (selected.empty()) {
      out.resize(items_.size());
      for (std::size_t i = 0; i < out.size(); ++i) out[i] = i;
    } else {
      for (const std::size_t i : selected) {
        if (i < items_.size()) out.push_back(i);
      }
    }
    return out;
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
  std::unordered_map<const Target*, std::int32_t> currents_;
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
