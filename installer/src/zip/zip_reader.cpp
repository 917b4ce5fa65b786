#include "zip/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <numeric>

namespace stelvane::zip {

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr uint32_t kZip64EndSignature = 0x06064b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;

constexpr size_t kEndSize = 22;
constexpr size_t kZip64LocatorSize = 20;
constexpr size_t kZip64EndSize = 56;
constexpr size_t kCentralSize = 46;
constexpr size_t kLocalSize = 30;

// The end record lies in the last 65535 bytes; they are searched backwards
// in blocks of 1024 bytes that overlap by the 4 bytes of a signature.
constexpr uint64_t kEndSearchSpan = 65535;
constexpr size_t kSearchBlock = 1024;

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint64_t le64(const unsigned char* p) {
  return static_cast<uint64_t>(le32(p)) | static_cast<uint64_t>(le32(p + 4)) << 32;
}

// a + b <= limit, without overflow.
bool fits(uint64_t a, uint64_t b, uint64_t limit) { return a <= limit && b <= limit - a; }

// Sequential reading of the central directory through one buffer.
class Cursor {
 public:
  Cursor(Source& source, uint64_t start, uint64_t end) : source_(source), position_(start), end_(end) {}

  // Copies the next `length` bytes into `out`; false past the end.
  bool take(size_t length, std::string& out) {
    if (!fits(position_, length, end_)) return false;
    out.resize(length);
    size_t done = 0;
    while (done < length) {
      if (position_ < bufferStart_ || position_ - bufferStart_ >= buffer_.size()) {
        if (!refill()) return false;
      }
      const size_t at = static_cast<size_t>(position_ - bufferStart_);
      const size_t n = std::min(length - done, buffer_.size() - at);
      std::memcpy(out.data() + done, buffer_.data() + at, n);
      done += n;
      position_ += n;
    }
    return true;
  }

 private:
  // Loads the buffer from the next unread byte.
  bool refill() {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(65536, end_ - position_));
    buffer_.clear();
    if (n == 0) return false;
    buffer_.resize(n);
    bufferStart_ = position_;
    if (source_.read(position_, buffer_.data(), n)) return true;
    buffer_.clear();
    return false;
  }

  Source& source_;
  uint64_t position_;  // absolute offset of the next byte to take
  uint64_t end_;
  std::string buffer_;
  uint64_t bufferStart_ = 0;  // absolute offset of buffer_[0]
};

// Reads the ZIP64 extended information of a central entry: only the fields
// whose 32-bit (or 16-bit) slot holds all ones are present, in this order.
bool applyZip64(Entry& entry, const unsigned char* data, size_t length, bool needSize,
                bool needCompressed, bool needOffset, bool needDisk, uint32_t& disk) {
  size_t at = 0;
  auto next64 = [&](uint64_t& value) {
    if (at + 8 > length) return false;
    value = le64(data + at);
    at += 8;
    return true;
  };
  if (needSize && !next64(entry.size)) return false;
  if (needCompressed && !next64(entry.compressedSize)) return false;
  if (needOffset && !next64(entry.localHeaderOffset)) return false;
  if (needDisk) {
    if (at + 4 > length) return false;
    disk = le32(data + at);
  }
  return true;
}

}  // namespace

bool Entry::isDirectory() const {
  return !name.empty() && (name.back() == '/' || name.back() == '\\');
}

uint32_t crc32Of(uint32_t crc, const void* data, size_t length) {
  const auto* bytes = static_cast<const Bytef*>(data);
  while (length > 0) {
    const uInt n = static_cast<uInt>(std::min<size_t>(length, 1u << 30));
    crc = static_cast<uint32_t>(::crc32(crc, bytes, n));
    bytes += n;
    length -= n;
  }
  return crc;
}

void Reader::close() {
  source_ = nullptr;
  base_ = 0;
  directoryStart_ = 0;
  entries_.clear();
  dataLimit_.clear();
}

OpenResult Reader::open(Source& source) {
  close();
  source_ = &source;
  uint64_t position = source.size();
  // Several signatures may appear in the tail (inside a comment or stored
  // data): the last one that reads as a consistent end record wins.
  OpenResult result = OpenResult::NoEndRecord;
  while (findEndRecord(position)) {
    result = readEndRecord(position);
    if (result == OpenResult::Ok) return result;
    if (result == OpenResult::Unreadable) break;
  }
  close();
  return result;
}

// Finds the last end-record signature that starts before `position` (and
// within the search span); on success `position` is its offset.
bool Reader::findEndRecord(uint64_t& position) {
  const uint64_t fileSize = source_->size();
  if (fileSize < kEndSize) return false;
  const uint64_t lowest = fileSize > kEndSearchSpan ? fileSize - kEndSearchSpan : 0;
  // A record needs its 22 bytes: no signature can start after size - 22.
  uint64_t limit = std::min(position, fileSize - kEndSize + 1);  // signatures start below this
  unsigned char block[kSearchBlock + 4];
  while (limit > lowest) {
    const uint64_t start = limit > lowest + kSearchBlock ? limit - kSearchBlock : lowest;
    // The block also holds the 3 bytes after `limit` so that a signature
    // straddling two blocks is seen.
    const size_t length = static_cast<size_t>(std::min<uint64_t>(limit - start + 3, fileSize - start));
    if (!source_->read(start, block, length)) return false;
    for (size_t i = static_cast<size_t>(limit - start); i-- > 0;) {
      if (i + 4 <= length && le32(block + i) == kEndSignature) {
        position = start + i;
        return true;
      }
    }
    limit = start;
  }
  return false;
}

OpenResult Reader::readEndRecord(uint64_t position) {
  unsigned char end[kEndSize];
  if (!source_->read(position, end, kEndSize)) return OpenResult::Unreadable;
  const uint16_t disk = le16(end + 4);
  const uint16_t directoryDisk = le16(end + 6);
  uint64_t entriesOnDisk = le16(end + 8);
  uint64_t count = le16(end + 10);
  uint64_t directorySize = le32(end + 12);
  uint64_t directoryOffset = le32(end + 16);
  uint64_t directoryEnd = position;  // where the central directory's end records begin

  unsigned char locator[kZip64LocatorSize];
  if (position >= kZip64LocatorSize &&
      source_->read(position - kZip64LocatorSize, locator, kZip64LocatorSize) &&
      le32(locator) == kZip64LocatorSignature) {
    if (le32(locator + 4) != 0 || le32(locator + 16) > 1) return OpenResult::BadEndRecord;
    const uint64_t locatorPosition = position - kZip64LocatorSize;
    // The record is where the locator says, or (before a stub) right before the locator.
    uint64_t recordPosition = le64(locator + 8);
    unsigned char record[kZip64EndSize];
    bool found = fits(recordPosition, kZip64EndSize, locatorPosition) &&
                 source_->read(recordPosition, record, kZip64EndSize) &&
                 le32(record) == kZip64EndSignature;
    if (!found && locatorPosition >= kZip64EndSize) {
      recordPosition = locatorPosition - kZip64EndSize;
      found = source_->read(recordPosition, record, kZip64EndSize) &&
              le32(record) == kZip64EndSignature;
    }
    if (!found) return OpenResult::BadEndRecord;
    if (le32(record + 16) != 0 || le32(record + 20) != 0) return OpenResult::BadEndRecord;
    entriesOnDisk = le64(record + 24);
    count = le64(record + 32);
    directorySize = le64(record + 40);
    directoryOffset = le64(record + 48);
    directoryEnd = recordPosition;
  } else if (disk != 0 || directoryDisk != 0) {
    return OpenResult::BadEndRecord;  // spanned archives are not read
  }
  if (entriesOnDisk != count) return OpenResult::BadEndRecord;
  // The central directory ends where the end records begin; any bytes before
  // the archive proper (a stub) shift every offset by the same amount.
  if (!fits(directoryOffset, directorySize, directoryEnd)) return OpenResult::BadEndRecord;
  base_ = directoryEnd - directoryOffset - directorySize;
  directoryStart_ = base_ + directoryOffset;
  if (count > directorySize / kCentralSize) return OpenResult::BadCentralDirectory;
  if (!readCentralDirectory(directoryStart_, directorySize, count))
    return OpenResult::BadCentralDirectory;
  computeBounds();
  return OpenResult::Ok;
}

bool Reader::readCentralDirectory(uint64_t offset, uint64_t length, uint64_t count) {
  entries_.clear();
  entries_.reserve(static_cast<size_t>(count));
  Cursor cursor(*source_, offset, offset + length);
  std::string header, variable;
  for (uint64_t i = 0; i < count; ++i) {
    if (!cursor.take(kCentralSize, header)) return false;
    const auto* h = reinterpret_cast<const unsigned char*>(header.data());
    if (le32(h) != kCentralSignature) return false;
    Entry entry;
    entry.versionMadeBy = le16(h + 4);
    entry.flags = le16(h + 8);
    entry.method = le16(h + 10);
    entry.dosTime = le16(h + 12);
    entry.dosDate = le16(h + 14);
    entry.crc = le32(h + 16);
    const uint32_t compressed32 = le32(h + 20);
    const uint32_t size32 = le32(h + 24);
    const size_t nameLength = le16(h + 28);
    const size_t extraLength = le16(h + 30);
    const size_t commentLength = le16(h + 32);
    const uint16_t disk16 = le16(h + 34);
    entry.externalAttributes = le32(h + 38);
    const uint32_t offset32 = le32(h + 42);
    entry.compressedSize = compressed32;
    entry.size = size32;
    entry.localHeaderOffset = offset32;
    entry.utf8 = (entry.flags & 0x800) != 0;

    if (!cursor.take(nameLength + extraLength + commentLength, variable)) return false;
    entry.name.assign(variable, 0, nameLength);
    // A NUL would cut the name short where the system sees it.
    if (entry.name.find('\0') != std::string::npos) return false;

    uint32_t disk = disk16;
    bool zip64Seen = false;
    const auto* extra = reinterpret_cast<const unsigned char*>(variable.data() + nameLength);
    for (size_t at = 0; at + 4 <= extraLength;) {
      const uint16_t id = le16(extra + at);
      const size_t size = le16(extra + at + 2);
      const unsigned char* data = extra + at + 4;
      if (at + 4 + size > extraLength) break;  // a malformed tail: ignored
      if (id == 0x0001 && !zip64Seen) {
        zip64Seen = true;
        if (!applyZip64(entry, data, size, size32 == 0xFFFFFFFF, compressed32 == 0xFFFFFFFF,
                        offset32 == 0xFFFFFFFF, disk16 == 0xFFFF, disk))
          return false;
      } else if (id == 0x7075 && size >= 5 && data[0] == 1 &&
                 le32(data + 1) == crc32Of(0, entry.name.data(), entry.name.size())) {
        // Info-ZIP's Unicode path: the UTF-8 form of this very name.
        entry.name.assign(reinterpret_cast<const char*>(data + 5), size - 5);
        if (entry.name.find('\0') != std::string::npos) return false;
        entry.utf8 = true;
      }
      at += 4 + size;
    }
    const bool needsZip64 = size32 == 0xFFFFFFFF || compressed32 == 0xFFFFFFFF ||
                            offset32 == 0xFFFFFFFF || disk16 == 0xFFFF;
    if (needsZip64 && !zip64Seen) return false;
    if (disk != 0) return false;
    entries_.push_back(std::move(entry));
  }
  return true;
}

// Each entry's local header and data must end before the next local header
// (in file order) and before the central directory. Entries that share a
// local header are all refused: overlapping entries are how an archive
// makes a little data extract many times over.
void Reader::computeBounds() {
  const size_t n = entries_.size();
  dataLimit_.assign(n, directoryStart_);
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return entries_[a].localHeaderOffset < entries_[b].localHeaderOffset;
  });
  for (size_t i = 0; i < n;) {
    size_t j = i;
    const uint64_t offset = entries_[order[i]].localHeaderOffset;
    while (j < n && entries_[order[j]].localHeaderOffset == offset) ++j;
    uint64_t limit = directoryStart_;
    if (j < n) {
      const uint64_t next = entries_[order[j]].localHeaderOffset;
      limit = fits(base_, next, UINT64_MAX) ? std::min(limit, base_ + next) : limit;
    }
    if (j - i > 1) limit = 0;  // shared: refused
    for (size_t k = i; k < j; ++k) dataLimit_[order[k]] = limit;
    i = j;
  }
}

ExtractResult Reader::extract(size_t index, Sink& sink) {
  if (!source_ || index >= entries_.size()) return ExtractResult::BadData;
  const Entry& entry = entries_[index];
  const uint64_t limit = dataLimit_[index];
  if (!fits(base_, entry.localHeaderOffset, UINT64_MAX)) return ExtractResult::BadData;
  const uint64_t header = base_ + entry.localHeaderOffset;
  unsigned char local[kLocalSize];
  if (!fits(header, kLocalSize, limit) || !source_->read(header, local, kLocalSize) ||
      le32(local) != kLocalSignature)
    return ExtractResult::BadData;
  const uint64_t dataStart = header + kLocalSize + le16(local + 26) + le16(local + 28);
  if (dataStart > limit || !fits(dataStart, entry.compressedSize, limit))
    return ExtractResult::BadData;
  if (entry.flags & 0x0001) return ExtractResult::BadData;  // encrypted: no password here
  if (entry.method != 0 && entry.method != 8) return ExtractResult::BadData;
  if (entry.size == 0) return ExtractResult::Ok;  // an empty file

  std::unique_ptr<unsigned char[]> input(new (std::nothrow) unsigned char[kBlockSize]);
  std::unique_ptr<unsigned char[]> output(new (std::nothrow) unsigned char[kBlockSize]);
  if (!input || !output) return ExtractResult::NoMemory;

  uint64_t readAt = dataStart;
  uint64_t remaining = entry.compressedSize;
  uint64_t produced = 0;
  uint32_t crc = 0;
  // Hands produced bytes on; more than the recorded size is refused before
  // anything past it is written.
  auto deliver = [&](const unsigned char* data, size_t length) {
    if (length > entry.size - produced) return ExtractResult::BadData;
    crc = crc32Of(crc, data, length);
    produced += length;
    return sink.write(data, length) ? ExtractResult::Ok : ExtractResult::SinkFailed;
  };

  if (entry.method == 0) {
    while (remaining > 0) {
      const size_t n = static_cast<size_t>(std::min<uint64_t>(remaining, kBlockSize));
      if (!source_->read(readAt, input.get(), n)) return ExtractResult::BadData;
      readAt += n;
      remaining -= n;
      if (const auto r = deliver(input.get(), n); r != ExtractResult::Ok) return r;
    }
  } else {
    z_stream stream = {};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return ExtractResult::NoMemory;
    // Ends the stream on every way out.
    struct End {
      z_stream& s;
      ~End() { inflateEnd(&s); }
    } end{stream};
    for (;;) {
      if (stream.avail_in == 0 && remaining > 0) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(remaining, kBlockSize));
        if (!source_->read(readAt, input.get(), n)) return ExtractResult::BadData;
        readAt += n;
        remaining -= n;
        stream.next_in = input.get();
        stream.avail_in = static_cast<uInt>(n);
      }
      stream.next_out = output.get();
      stream.avail_out = static_cast<uInt>(kBlockSize);
      const int status = inflate(&stream, Z_NO_FLUSH);
      const size_t n = kBlockSize - stream.avail_out;
      if (n > 0) {
        if (const auto r = deliver(output.get(), n); r != ExtractResult::Ok) return r;
      }
      if (status == Z_STREAM_END) break;
      if (status == Z_MEM_ERROR) return ExtractResult::NoMemory;
      if (status == Z_BUF_ERROR) {
        if (stream.avail_in == 0 && remaining == 0) break;  // the data ends early
        return ExtractResult::BadData;
      }
      if (status != Z_OK) return ExtractResult::BadData;
      if (stream.avail_in == 0 && remaining == 0 && n == 0) break;
    }
  }
  if (produced < entry.size) return ExtractResult::ShortData;
  return crc == entry.crc ? ExtractResult::Ok : ExtractResult::BadData;
}

}  // namespace stelvane::zip
