#include "documents/document_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "documents/rtf_reader.h"
#include "platform/cp1252.h"
#include "platform/file_read.h"

namespace lirno {
namespace {

constexpr std::size_t kHeadBytes = 64;
constexpr std::size_t kBlockBytes = 65536;
constexpr std::size_t kListedCharacters = 32;

bool startsWith(const std::string& s, std::string_view prefix) {
  return s.size() >= prefix.size() && std::memcmp(s.data(), prefix.data(), prefix.size()) == 0;
}

std::uint32_t le32(const std::string& s, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(s[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[at + 3])) << 24;
}

// An open file descriptor closed on every way out.
struct Fd {
  int fd = -1;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

// Fills `into` unless the file ends first; -1 on a read error.
ssize_t readFull(int fd, char* into, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, into + got, size - got);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

// Plain text checked as UTF-8, block by block, without keeping it: stops
// at the first malformed sequence, and notes the characters that have no
// Windows-1252 form and where the first stands. Runs of ASCII are skipped
// eight bytes at a time, so a Windows-1252 or ASCII file costs little more
// than its reading.
class Utf8Scan {
 public:
  // `offset` is the file offset of the first byte fed (after a byte order
  // mark).
  explicit Utf8Scan(std::uint64_t offset) : offset_(offset) {}

  // The next bytes; false once the input is not UTF-8.
  bool feed(const char* p, std::size_t n) {
    std::size_t i = 0;
    if (carried_ > 0) {
      // Complete the sequence the previous block ended in.
      const std::size_t need = sequenceLength(static_cast<unsigned char>(carry_[0])) - carried_;
      const std::size_t take = std::min(need, n);
      std::memcpy(carry_ + carried_, p, take);
      carried_ += take;
      if (take < need) {
        offset_ += n;
        return true;
      }
      if (!character(carry_, carried_, offset_ + take - carried_)) return false;
      carried_ = 0;
      i = take;
    }
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    while (i < n) {
      if (i + 8 <= n) {
        std::uint64_t w;
        std::memcpy(&w, u + i, 8);
        if ((w & 0x8080808080808080ULL) == 0) {
          i += 8;
          continue;
        }
      }
      if (u[i] < 0x80) {
        ++i;
        continue;
      }
      // Latin-1 letters, the most of French text beyond ASCII, always have
      // their byte.
      if ((u[i] == 0xC3 || u[i] == 0xC2) && i + 1 < n && (u[i + 1] & 0xC0) == 0x80 &&
          (u[i] == 0xC3 || u[i + 1] >= 0xA0)) {
        multiByte_ = true;
        i += 2;
        continue;
      }
      const std::size_t len = sequenceLength(u[i]);
      if (len == 0) return fail(offset_ + i);
      if (i + len > n) {  // the rest comes with the next block
        carried_ = n - i;
        std::memcpy(carry_, p + i, carried_);
        break;
      }
      if (!character(p + i, len, offset_ + i)) return false;
      i += len;
    }
    offset_ += n;
    return true;
  }

  // The end of the input; false when it cuts a sequence.
  bool finish() { return carried_ == 0 ? valid_ : fail(offset_ - carried_); }

  bool multiByte() const { return multiByte_; }
  std::uint64_t failOffset() const { return failOffset_; }
  // The characters without a Windows-1252 form, separated by spaces; empty
  // when there are none.
  const std::string& missingCharacters() const { return missing_; }
  std::uint64_t firstMissingOffset() const { return firstMissing_; }

 private:
  static std::size_t sequenceLength(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
  }

  // One sequence of `len` bytes, its lead byte valid, at file offset `at`.
  bool character(const char* p, std::size_t len, std::uint64_t at) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    char32_t cp = u[0] & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < len; ++k) {
      if ((u[k] & 0xC0) != 0x80) return fail(at);
      cp = (cp << 6) | (u[k] & 0x3F);
    }
    const char32_t min = len == 2 ? 0x80 : len == 3 ? 0x800 : 0x10000;
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return fail(at);
    multiByte_ = true;
    if (unicodeToCp1252(cp) < 0) missing(std::string_view(p, len), at);
    return true;
  }

  bool fail(std::uint64_t at) {
    if (valid_) failOffset_ = at;
    valid_ = false;
    return false;
  }

  void missing(std::string_view ch, std::uint64_t at) {
    if (missing_.empty()) firstMissing_ = at;
    if (listed_ == kListedCharacters || missing_.find(ch) != std::string::npos) return;
    if (!missing_.empty()) missing_.push_back(' ');
    missing_.append(ch);
    if (++listed_ == kListedCharacters) missing_.append(" …");
  }

  char carry_[4] = {};
  std::size_t carried_ = 0;
  std::uint64_t offset_;
  std::string missing_;
  std::size_t listed_ = 0;
  std::uint64_t firstMissing_ = 0;
  std::uint64_t failOffset_ = 0;
  bool multiByte_ = false;
  bool valid_ = true;
};

// The line (from 1) of file offset `at`: a line ends at LF, CR LF or a
// lone CR. Only for messages, so the file is read again.
int lineAt(const std::string& path, std::uint64_t at) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return 0;
  const std::size_t end = static_cast<std::size_t>(std::min<std::uint64_t>(at, bytes.size()));
  int line = 1;
  for (std::size_t i = 0; i < end; ++i) {
    if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n'))) ++line;
  }
  return line;
}

DocumentLoad notFound(const std::string& path) {
  return {LoadStatus::NotFound, "Fichier non trouvé :\n", path};
}

// The document reader on the file itself: its own errors (missing, too
// large, not a regular file, a read error, each with its reason), its
// streaming.
DocumentLoad readWithReader(const std::string& path, Document& doc, const Markers& markers) {
  FileError error;
  if (!readDocument(path, doc, markers, &error)) {
    return {LoadStatus::NotFound, error.messageText(), error.detail(path)};
  }
  return {};
}

}  // namespace

const char* foreignFormatOf(const std::string& head, std::uint64_t size) {
  // Word-processor documents of today are ZIP packages (docx, odt, pages).
  if (startsWith(head, "PK\x03\x04") || startsWith(head, "PK\x05\x06")) {
    return "document de traitement de texte ou archive ZIP (docx, odt…)";
  }
  if (startsWith(head, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return "document Word 97-2003 (doc)";
  if (startsWith(head, "%PDF-")) return "PDF";
  if (startsWith(head, "\x89PNG\r\n\x1A\n")) return "image PNG";
  if (startsWith(head, "\xFF\xD8\xFF")) return "image JPEG";
  if (startsWith(head, "GIF87a") || startsWith(head, "GIF89a")) return "image GIF";
  if (startsWith(head, std::string_view("II*\0", 4)) || startsWith(head, std::string_view("MM\0*", 4))) {
    return "image TIFF";
  }
  // "BM" also begins words: a bitmap's header gives its own file size.
  if (startsWith(head, "BM") && head.size() >= 10 && le32(head, 2) == size && le32(head, 6) == 0) {
    return "image BMP";
  }
  if (startsWith(head, "\xD7\xCD\xC6\x9A")) return "image WMF";
  if (startsWith(head, "\xFF\xFE") || startsWith(head, "\xFE\xFF")) return "texte UTF-16";
  if (startsWith(head, "\x1F\x8B")) return "archive gzip";
  if (startsWith(head, "7z\xBC\xAF\x27\x1C")) return "archive 7z";
  if (startsWith(head, "Rar!\x1A\x07")) return "archive RAR";
  if (startsWith(head, "\x7F" "ELF")) return "programme";
  return nullptr;
}

DocumentLoad loadDocument(const std::string& path, Document& doc, const Markers& markers) {
  // Without blocking: a FIFO or a device goes to the reader, which says no.
  // Not even opened when it is no regular file: opening a device may act on it.
  if (struct stat kind {}; ::stat(path.c_str(), &kind) == 0 && !S_ISREG(kind.st_mode)) {
    return readWithReader(path, doc, markers);
  }
  Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) return readWithReader(path, doc, markers);  // which says why
  struct stat st {};
  if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > kMaxDocumentBytes) {
    ::close(f.fd);
    f.fd = -1;
    return readWithReader(path, doc, markers);
  }
  const auto size = static_cast<std::uint64_t>(st.st_size);

  std::string block(kBlockBytes, '\0');
  const ssize_t first = readFull(f.fd, block.data(), block.size());
  if (first < 0) return readWithReader(path, doc, markers);
  block.resize(static_cast<std::size_t>(first));
  const std::string head = block.substr(0, kHeadBytes);
  if (const char* format = foreignFormatOf(head, size)) {
    return {LoadStatus::ForeignFormat, kForeignFormatMessage, path + " (" + format + ")"};
  }
  // Rich text is 7-bit by its own rules; only plain text can be UTF-8.
  if (startsWith(head, "{\\rtf")) return readWithReader(path, doc, markers);

  // First a look over the whole file; the text is read after, as the
  // look decides.
  const bool bom = startsWith(head, "\xEF\xBB\xBF");
  const std::size_t skip = bom ? 3 : 0;
  Utf8Scan scan(skip);
  bool utf8 = scan.feed(block.data() + skip, block.size() - skip);
  while (utf8) {
    const ssize_t n = readFull(f.fd, block.data(), kBlockBytes);
    if (n < 0) return readWithReader(path, doc, markers);  // the reader reports it
    if (n == 0) break;
    utf8 = scan.feed(block.data(), static_cast<std::size_t>(n));
  }
  if (utf8) utf8 = scan.finish();
  ::close(f.fd);
  f.fd = -1;

  if (!utf8) {
    // Windows-1252, as transcriptions always were; but a file that
    // announces UTF-8 with its byte order mark and is not is refused.
    if (bom) {
      return {LoadStatus::Unconvertible, kBrokenUtf8Message,
              std::to_string(lineAt(path, scan.failOffset())) + "\n" + path};
    }
    return readWithReader(path, doc, markers);
  }
  if (!scan.multiByte() && !bom) return readWithReader(path, doc, markers);  // plain ASCII
  if (!scan.missingCharacters().empty()) {
    return {LoadStatus::Unconvertible, kUnconvertibleMessage,
            scan.missingCharacters() + " (ligne " + std::to_string(lineAt(path, scan.firstMissingOffset())) +
                ")\n" + path};
  }
  std::string bytes;
  if (!readFileBytes(path, bytes)) return readWithReader(path, doc, markers);
  // Every character has its byte: the conversion loses nothing.
  std::string text = utf8ToCp1252(std::string_view(bytes).substr(std::min(skip, bytes.size())));
  std::string().swap(bytes);
  if (!readDocumentFromMemory(text, doc, markers)) return notFound(path);
  doc.path = path;
  return {};
}

}  // namespace lirno
