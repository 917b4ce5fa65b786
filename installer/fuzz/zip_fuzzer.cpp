// libFuzzer target: the ZIP reader over an archive in memory. Whatever the
// bytes, opening and extracting every entry must stay in bounds, never hand
// the sink more than an entry's recorded size, and report success only for
// exactly that many bytes with the recorded CRC-32.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "zip/zip_reader.h"

namespace {

using namespace stelvane::zip;

void check(bool ok) {
  if (!ok) std::abort();
}

class MemorySource final : public Source {
 public:
  MemorySource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t size() const override { return size_; }
  bool read(uint64_t offset, void* buffer, size_t length) override {
    if (offset > size_ || length > size_ - offset) return false;
    std::memcpy(buffer, data_ + offset, length);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

class CheckingSink final : public Sink {
 public:
  bool write(const void* data, size_t length) override {
    check(length <= Reader::kBlockSize);
    crc = crc32Of(crc, data, length);
    total += length;
    return true;
  }
  uint64_t total = 0;
  uint32_t crc = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemorySource source(data, size);
  Reader reader;
  if (reader.open(source) != OpenResult::Ok) return 0;
  const auto& entries = reader.entries();
  check(entries.size() <= size / 46);
  // A few entries are enough: every one goes through the same code.
  for (size_t i = 0; i < entries.size() && i < 64; ++i) {
    CheckingSink sink;
    const ExtractResult result = reader.extract(i, sink);
    check(sink.total <= entries[i].size);
    if (result == ExtractResult::Ok) {
      check(sink.total == entries[i].size);
      check(entries[i].size == 0 || sink.crc == entries[i].crc);
    }
  }
  return 0;
}
