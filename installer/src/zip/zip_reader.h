// A reader of ZIP archives (one file, no password): the end record and its
// ZIP64 form, the central directory, and the data of stored and deflated
// entries, streamed through zlib in 32 KiB blocks with the CRC-32 and size
// checked. Plain C++ over a byte source and a byte sink, so that the parsing
// builds and is fuzzed natively too; names stay the archive's bytes here
// (zip_archive.h decodes them for the installer).
//
// Nothing in an archive is trusted: every offset and length is checked
// against the file before it is used, entries whose data would overlap
// another entry or the central directory are refused, and no declared size
// ever decides how much memory is taken.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace stelvane::zip {

// Random-access reading of the archive's bytes.
class Source {
 public:
  virtual ~Source() = default;
  virtual uint64_t size() const = 0;
  // Reads exactly `length` bytes at `offset`; false when it cannot.
  virtual bool read(uint64_t offset, void* buffer, size_t length) = 0;
};

// Where an entry's data goes.
class Sink {
 public:
  virtual ~Sink() = default;
  virtual bool write(const void* data, size_t length) = 0;
};

struct Entry {
  std::string name;  // as stored: "/" separators, UTF-8 when `utf8`, else OEM bytes
  bool utf8 = false;  // general-purpose flag bit 11, or an Info-ZIP Unicode path field
  uint16_t versionMadeBy = 0;  // high byte: 0 MS-DOS, 3 Unix, ...
  uint16_t flags = 0;
  uint16_t method = 0;
  uint16_t dosTime = 0;
  uint16_t dosDate = 0;
  uint32_t crc = 0;
  uint64_t compressedSize = 0;
  uint64_t size = 0;  // uncompressed
  uint32_t externalAttributes = 0;
  uint64_t localHeaderOffset = 0;  // from the start of the archive proper

  bool isDirectory() const;
};

// The result of extracting one entry.
enum class ExtractResult {
  Ok,
  SinkFailed,     // the sink refused data
  ShortData,      // fewer bytes than the recorded size
  NoMemory,       // no copy buffer
  BadData,        // unreadable, not inflatable, too long, wrong CRC, unsupported or overlapping
};

enum class OpenResult { Ok, Unreadable, NoEndRecord, BadEndRecord, BadCentralDirectory };

class Reader {
 public:
  // Reads the end record and the central directory of `source`, which must
  // outlive the reader.
  OpenResult open(Source& source);
  bool isOpen() const { return source_ != nullptr; }
  void close();

  const std::vector<Entry>& entries() const { return entries_; }

  // Streams entry `index`'s data into `sink`.
  ExtractResult extract(size_t index, Sink& sink);

  // The block size of the copy (both the read and the inflate output).
  static constexpr size_t kBlockSize = 32768;

 private:
  bool findEndRecord(uint64_t& position);
  OpenResult readEndRecord(uint64_t position);
  bool readCentralDirectory(uint64_t offset, uint64_t length, uint64_t count);
  void computeBounds();

  Source* source_ = nullptr;
  uint64_t base_ = 0;              // bytes before the archive proper (a stub)
  uint64_t directoryStart_ = 0;    // absolute position of the central directory
  std::vector<Entry> entries_;
  std::vector<uint64_t> dataLimit_;  // per entry: where its local data must end (absolute)
};

// The CRC-32 of `data` continued from `crc` (zlib's).
uint32_t crc32Of(uint32_t crc, const void* data, size_t length);

}  // namespace stelvane::zip
