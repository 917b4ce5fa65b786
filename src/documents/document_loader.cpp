#include "documents/document_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "documents/rtf_reader.h"
#include "platform/cp1252.h"

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

ssize_t readSome(int fd, char* into, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, into, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

// Plain text decoded as UTF-8 into Windows-1252, block by block. Stops
// being UTF-8 at the first malformed sequence; collects the characters
// that have no Windows-1252 form and the line of the first.
class Utf8Text {
 public:
  explicit Utf8Text(std::size_t size) { out_.reserve(size); }

  // Feeds the next bytes; false once the input is not UTF-8.
  bool feed(std::string_view bytes) {
    std::string in;
    if (!carry_.empty()) {
      in = carry_ + std::string(bytes);
      carry_.clear();
      bytes = in;
    }
    std::size_t i = 0;
    if (first_) {
      first_ = false;
      if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bom_ = true;
        i = 3;
      }
    }
    const std::size_t n = bytes.size();
    while (i < n) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        if (b == '\n' && !afterCr_) ++line_;
        if (b == '\r') ++line_;
        afterCr_ = b == '\r';
        out_.push_back(static_cast<char>(b));
        ++i;
        continue;
      }
      afterCr_ = false;
      std::size_t len;
      char32_t cp, min;
      if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, min = 0x80;
      } else if ((b & 0xF0) == 0xE0) {
        len = 3, cp = b & 0x0F, min = 0x800;
      } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, min = 0x10000;
      } else {
        return fail();
      }
      if (i + len > n) {  // the rest comes with the next block
        carry_.assign(bytes.substr(i));
        return true;
      }
      for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(bytes[i + k]);
        if ((c & 0xC0) != 0x80) return fail();
        cp = (cp << 6) | (c & 0x3F);
      }
      if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return fail();
      multiByte_ = true;
      const int ansi = unicodeToCp1252(cp);
      if (ansi >= 0) {
        out_.push_back(static_cast<char>(ansi));
      } else {
        missing(bytes.substr(i, len));
        out_.push_back('?');  // never used: the document is refused
      }
      i += len;
    }
    return true;
  }

  // The end of the input; false when it cuts a sequence.
  bool finish() { return carry_.empty() || fail(); }

  bool bom() const { return bom_; }
  bool multiByte() const { return multiByte_; }
  bool valid() const { return valid_; }
  int line() const { return line_; }
  // The characters without a Windows-1252 form, separated by spaces; empty
  // when there are none.
  const std::string& missingCharacters() const { return missing_; }
  int firstMissingLine() const { return missingLine_; }
  std::string& text() { return out_; }

 private:
  bool fail() {
    valid_ = false;
    return false;
  }
  void missing(std::string_view ch) {
    if (missingLine_ == 0) missingLine_ = line_;
    if (listed_ == kListedCharacters || missing_.find(ch) != std::string::npos) return;
    if (!missing_.empty()) missing_.push_back(' ');
    missing_.append(ch);
    if (++listed_ == kListedCharacters) missing_.append(" …");
  }

  std::string out_;
  std::string carry_;
  std::string missing_;
  std::size_t listed_ = 0;
  int line_ = 1;
  int missingLine_ = 0;
  bool first_ = true;
  bool afterCr_ = false;
  bool bom_ = false;
  bool multiByte_ = false;
  bool valid_ = true;
};

DocumentLoad notFound(const std::string& path) {
  return {LoadStatus::NotFound, "Fichier non trouvé :\n", path};
}

// The document reader on the file itself: its own errors, its streaming.
DocumentLoad readWithReader(const std::string& path, Document& doc, const Markers& markers) {
  if (!readDocument(path, doc, markers)) return notFound(path);
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
  Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) return notFound(path);
  struct stat st {};
  if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::uint64_t>(st.st_size) > kMaxDocumentBytes) {
    ::close(f.fd);
    f.fd = -1;
    return readWithReader(path, doc, markers);
  }
  const auto size = static_cast<std::uint64_t>(st.st_size);

  std::string block(kBlockBytes, '\0');
  const ssize_t first = readSome(f.fd, block.data(), block.size());
  if (first < 0) return readWithReader(path, doc, markers);
  block.resize(static_cast<std::size_t>(first));
  const std::string head = block.substr(0, kHeadBytes);
  if (const char* format = foreignFormatOf(head, size)) {
    return {LoadStatus::ForeignFormat, kForeignFormatMessage, path + " (" + format + ")"};
  }
  // Rich text is 7-bit by its own rules; only plain text can be UTF-8.
  if (startsWith(head, "{\\rtf")) return readWithReader(path, doc, markers);

  Utf8Text utf8(static_cast<std::size_t>(size));
  bool more = utf8.feed(block);
  std::size_t total = block.size();
  while (more && total < size) {
    block.resize(kBlockBytes);
    const ssize_t n = readSome(f.fd, block.data(), block.size());
    if (n < 0) return readWithReader(path, doc, markers);  // the reader reports it
    if (n == 0) break;
    block.resize(static_cast<std::size_t>(n));
    total += block.size();
    more = utf8.feed(block);
  }
  if (more) more = utf8.finish();

  if (!more) {
    // Windows-1252 text, as transcriptions always were; a file that
    // announced UTF-8 with its byte order mark and is not is refused.
    if (utf8.bom()) {
      return {LoadStatus::Unconvertible, kBrokenUtf8Message, std::to_string(utf8.line()) + "\n" + path};
    }
    return readWithReader(path, doc, markers);
  }
  if (!utf8.missingCharacters().empty()) {
    return {LoadStatus::Unconvertible, kUnconvertibleMessage,
            utf8.missingCharacters() + " (ligne " + std::to_string(utf8.firstMissingLine()) + ")\n" + path};
  }
  // Plain ASCII reads the same in both encodings; it is read from memory
  // all the same, having been read once already.
  if (!readDocumentFromMemory(utf8.text(), doc, markers)) return notFound(path);
  doc.path = path;
  return {};
}

}  // namespace lirno
