#include "documents/rtf_reader.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "documents/rtf_control_words.h"
#include "platform/cp1252.h"

namespace lirno {
namespace {

constexpr std::size_t kBlock = 4096;

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Value of a hexadecimal digit, upper or lower case; -1 for any other byte.
constexpr std::array<signed char, 256> kHex = [] {
  std::array<signed char, 256> t{};
  t.fill(-1);
  for (int c = '0'; c <= '9'; ++c) t[static_cast<std::size_t>(c)] = static_cast<signed char>(c - '0');
  for (int c = 0; c < 6; ++c) {
    t[static_cast<std::size_t>('a' + c)] = static_cast<signed char>(10 + c);
    t[static_cast<std::size_t>('A' + c)] = static_cast<signed char>(10 + c);
  }
  return t;
}();

int hexValue(unsigned char c) { return kHex[c]; }

// What a metafile player can start from: the 18-byte header of a Windows
// metafile (memory or disk type, 9-word header, version 1 or 3).
bool isWindowsMetafile(const std::vector<std::uint8_t>& b) {
  if (b.size() < 18) return false;
  const auto word = [&](std::size_t at) { return static_cast<unsigned>(b[at] | (b[at + 1] << 8)); };
  return (word(0) == 1 || word(0) == 2) && word(2) == 9 && (word(4) == 0x0100 || word(4) == 0x0300);
}

// A large text buffer is written once from end to end: with large pages the
// kernel takes a few faults instead of one per 4 KiB, which costs more than
// the reading itself. Only a hint; nothing changes where it is not honoured.
void adviseLargePages(char* data, std::size_t size) {
#ifdef MADV_HUGEPAGE
  constexpr std::size_t kPage = 4096;
  if (size < (std::size_t{4} << 20)) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kPage - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

enum class Lex : std::uint8_t { Text, Escape, Word, Parameter, Hex, Decimal };

// Group state, saved at "{" and restored at "}".
enum : std::uint8_t { kSkip = 1, kInNote = 2, kInPicture = 4 };

class DocumentReader {
 public:
  DocumentReader(Document& doc, const Markers& markers, std::size_t sizeHint);
  void feed(const unsigned char* p, const unsigned char* end);
  void finish();

 private:
  void step(unsigned char ch);
  void textByte(unsigned char ch);
  void escape(unsigned char ch);
  void produced(unsigned char b);
  void endControlWord();
  void perform(const RtfControlWord& w, std::int32_t param);
  void unicode(std::int32_t param);

  void emit(unsigned char ch);
  void mainCharacter(unsigned char ch);
  void lineBreak(unsigned char b);
  void special(unsigned char c);
  void pictureByte(unsigned char c);

  void startSkip();
  void resolveStar();
  void startFootnote();
  void startPicture();
  void groupOpen() { stack_.push_back({group_, unicodeCount_}); }
  void groupClose();
  void endNote();
  void endPicture();

  void closeSpan();
  void addMark(MarkKind kind, std::int32_t number, std::int32_t value);
  void put(unsigned char c, std::int32_t width);
  void putRun(const unsigned char* p, std::size_t n);
  void flush();

  Document& doc_;
  unsigned char pageMarker_, versoMarker_, glyphMarker_;
  // Bytes that need no treatment beyond being copied: in the main text and
  // in a footnote; and the bytes that matter while a group is skipped.
  std::array<bool, 256> plainMain_{}, plainNote_{}, skipStop_{};

  bool rich_ = false;
  std::uint8_t group_ = 0;
  // What "{" saves and "}" restores: the flags and the \ucN count.
  struct SavedGroup {
    std::uint8_t flags;
    std::int32_t unicodeCount;
  };
  std::vector<SavedGroup> stack_;
  bool skipping_ = false, collectingNote_ = false, collectingPicture_ = false;

  Lex lex_ = Lex::Text;
  char word_[32] = {};
  int wordLength_ = 0;
  char param_[32] = {};
  int paramLength_ = 0;
  int escapeValue_ = 0, escapeDigits_ = 0;  // \'hh and \<n>
  bool escapeNegative_ = false;             // \<-n>

  bool pendingStar_ = false;    // "\*" seen, destination not known yet
  std::int32_t unicodeCount_ = 1;  // the group's \ucN
  std::int32_t fallbackLeft_ = 0;  // fallback characters still to drop after a \u
  std::int64_t binaryLeft_ = 0;    // raw bytes of a \bin still to come

  std::int32_t position_ = 0, index_ = 0;
  std::int32_t pages_ = 0, folios_ = 0, glyphs_ = 0;
  bool recto_ = true;  // the folio side flag
  int openSpan_ = -1;  // mark index
  int lastPictureMark_ = -1;

  std::int32_t pictureType_ = 0, pictureWidth_ = 0, pictureHeight_ = 0;
  std::string note_;
  std::vector<std::uint8_t> picture_;
  int pictureNibble_ = -1;

  unsigned char out_[kBlock];
  std::size_t outLength_ = 0;
};

DocumentReader::DocumentReader(Document& doc, const Markers& markers, std::size_t sizeHint)
    : doc_(doc),
      pageMarker_(Markers::usable(markers.page) ? markers.page : Markers::kDefaultPage),
      versoMarker_(Markers::usable(markers.verso) ? markers.verso : Markers::kDefaultVerso),
      glyphMarker_(Markers::usable(markers.glyph) ? markers.glyph : Markers::kDefaultGlyph) {
  // Every text byte is paid for by at least one input byte, the final break
  // apart, so the text never outgrows this.
  doc_.text.reserve(std::min(sizeHint, kMaxDocumentBytes) + 1);
  adviseLargePages(doc_.text.data(), doc_.text.capacity());
  plainNote_.fill(true);
  for (unsigned char c : {'\\', '{', '}', '\r', '\n', '\0'}) plainNote_[c] = false;
  plainMain_ = plainNote_;
  for (unsigned char c : {pageMarker_, versoMarker_, glyphMarker_, Markers::kRecto, Markers::kSpan}) {
    plainMain_[c] = false;
  }
  for (unsigned char c : {'\\', '{', '}'}) skipStop_[c] = true;
}

void DocumentReader::feed(const unsigned char* p, const unsigned char* end) {
  while (p < end) {
    if (binaryLeft_ > 0) {
      const auto n = static_cast<std::size_t>(std::min<std::int64_t>(binaryLeft_, end - p));
      if (collectingPicture_ && !skipping_ && pictureType_ != -1) picture_.insert(picture_.end(), p, p + n);
      binaryLeft_ -= static_cast<std::int64_t>(n);
      p += n;
      continue;
    }
    // Fast paths over runs that need no state change.
    if (lex_ == Lex::Text && !pendingStar_ && fallbackLeft_ == 0) {
      const unsigned char* q = p;
      if (skipping_) {
        while (q < end && !skipStop_[*q]) ++q;
        p = q;
      } else if (collectingPicture_) {
        if (pictureType_ != -1 && pictureNibble_ < 0) {
          // Whole pairs of digits, the bulk of a picture's data.
          while (end - q >= 2 && kHex[q[0]] >= 0 && kHex[q[1]] >= 0) {
            picture_.push_back(static_cast<std::uint8_t>(kHex[q[0]] * 16 + kHex[q[1]]));
            q += 2;
          }
        }
        while (q < end && kHex[*q] >= 0) pictureByte(*q++);
        p = q;
      } else if (collectingNote_) {
        while (q < end && plainNote_[*q]) ++q;
        note_.append(reinterpret_cast<const char*>(p), static_cast<std::size_t>(q - p));
        p = q;
      } else if (pages_ > 0) {
        while (q < end && plainMain_[*q]) ++q;
        putRun(p, static_cast<std::size_t>(q - p));
        p = q;
      }
      if (p == end) break;
    }
    step(*p++);
  }
}

// One byte through the lexer.
void DocumentReader::step(unsigned char ch) {
  if (ch == '\r' || ch == 0) return;  // CR never counts; NUL never enters the text
  switch (lex_) {
    case Lex::Hex: {
      const int d = hexValue(ch);
      if (d < 0) {
        // Not a hexadecimal escape: drop it, the byte is read as it stands.
        lex_ = Lex::Text;
        break;
      }
      escapeValue_ = escapeValue_ * 16 + d;
      if (++escapeDigits_ < 2) return;
      lex_ = Lex::Text;
      produced(static_cast<unsigned char>(escapeValue_));
      return;
    }
    case Lex::Decimal:
      if (ch == '>') {
        lex_ = Lex::Text;
        // A value outside 0 to 255 gives its low byte, as a byte
        // conversion does.
        if (escapeDigits_ > 0) {
          produced(static_cast<unsigned char>(escapeNegative_ ? -escapeValue_ : escapeValue_));
        }
        return;
      }
      if (isDigit(ch)) {
        escapeValue_ = (escapeValue_ * 10 + (ch - '0')) & 0xFF;  // only the low byte is kept
        ++escapeDigits_;
        return;
      }
      if (ch == '-' && escapeDigits_ == 0 && !escapeNegative_) {
        escapeNegative_ = true;
        return;
      }
      lex_ = Lex::Text;  // not a decimal escape: as for a bad hexadecimal one
      break;
    case Lex::Word:
      if (isLetter(ch)) {
        if (wordLength_ < 31) word_[wordLength_++] = static_cast<char>(ch);
        return;
      }
      lex_ = Lex::Parameter;
      paramLength_ = 0;
      [[fallthrough]];
    case Lex::Parameter:
      if (isDigit(ch) || (ch == '-' && paramLength_ == 0)) {
        if (paramLength_ < 31) param_[paramLength_++] = static_cast<char>(ch);
        return;
      }
      lex_ = Lex::Text;
      endControlWord();
      if (ch == ' ') return;
      if (binaryLeft_ > 0) {
        // The data of \bin starts right after its parameter.
        feed(&ch, &ch + 1);
        return;
      }
      break;
    case Lex::Escape:
      escape(ch);
      return;
    case Lex::Text:
      break;
  }
  textByte(ch);
}

// A byte in the Text state: braces, backslash, then text.
void DocumentReader::textByte(unsigned char ch) {
  if (ch == '{' || ch == '}') {
    resolveStar();
    fallbackLeft_ = 0;  // a fallback never spans a group boundary
    if (ch == '{') {
      groupOpen();
    } else {
      groupClose();
    }
    return;
  }
  // A backslash starts an escape even in a skipped group, so that an escaped
  // brace there is never taken for a group brace.
  if (ch == '\\') {
    lex_ = Lex::Escape;
    return;
  }
  if (skipping_) return;
  if (ch == '\n' && rich_) return;  // rich text: lines come from control words
  resolveStar();
  if (skipping_) return;
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  emit(ch);
}

void DocumentReader::escape(unsigned char ch) {
  lex_ = Lex::Text;
  if (ch >= 'a' && ch <= 'z') {
    lex_ = Lex::Word;
    word_[0] = static_cast<char>(ch);
    wordLength_ = 1;
    paramLength_ = 0;
    return;
  }
  if (ch == '\'' || ch == '<') {
    lex_ = ch == '\'' ? Lex::Hex : Lex::Decimal;
    escapeValue_ = escapeDigits_ = 0;
    escapeNegative_ = false;
    return;
  }
  if (skipping_) return;
  if (ch == '*') {
    // Decided by what follows: a known destination is read, any other is
    // skipped.
    if (pendingStar_) {
      resolveStar();
    } else {
      pendingStar_ = true;
    }
    return;
  }
  switch (ch) {
    case '_':
      ch = '-';
      break;
    case '~':
      ch = ' ';
      break;
    case '-':
      ch = 0xAD;  // the optional hyphen, which word processors write for 0xAD
      break;
    default:
      break;
  }
  produced(ch);
}

// A byte produced by an escape: always text, never a brace or a backslash.
void DocumentReader::produced(unsigned char b) {
  if (skipping_) return;
  resolveStar();
  if (skipping_ || b == 0) return;
  if (b == '\n' && rich_) return;
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  emit(b);
}

void DocumentReader::endControlWord() {
  const RtfControlWord w = lookupControlWord(std::string_view(word_, static_cast<std::size_t>(wordLength_)));
  std::int64_t value = 0;
  const bool negative = paramLength_ > 0 && param_[0] == '-';
  for (int i = negative ? 1 : 0; i < paramLength_; ++i) {
    value = std::min<std::int64_t>(value * 10 + (param_[i] - '0'), std::int64_t{INT_MAX} + 1);
  }
  if (negative) value = -value;
  const auto param = static_cast<std::int32_t>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));

  // Binary data is consumed whatever happens to the word.
  if (w.action == RtfAction::Binary) binaryLeft_ = std::max(param, 0);
  if (skipping_) return;
  if (pendingStar_) {
    pendingStar_ = false;
    if (w.action != RtfAction::Footnote && w.action != RtfAction::Picture) {
      startSkip();
      return;
    }
  }
  // A control word met in a fallback is acted on and is no fallback
  // character: those are text bytes, escapes and control symbols.
  perform(w, param);
}

void DocumentReader::perform(const RtfControlWord& w, std::int32_t param) {
  switch (w.action) {
    case RtfAction::None:
    case RtfAction::Binary:
      break;
    case RtfAction::RichText:
      rich_ = true;
      break;
    case RtfAction::Paragraph:
      lineBreak('\n');
      break;
    case RtfAction::Line:
      lineBreak('\r');
      break;
    case RtfAction::Footnote:
      startFootnote();
      break;
    case RtfAction::SkipGroup:
      startSkip();
      break;
    case RtfAction::Special:
      special(w.special);
      break;
    case RtfAction::Picture:
      startPicture();
      break;
    case RtfAction::PictureType:
      pictureType_ = param;
      break;
    case RtfAction::PictureWidth:
      pictureWidth_ = param;
      break;
    case RtfAction::PictureHeight:
      pictureHeight_ = param;
      break;
    case RtfAction::PictureNotKept:
      pictureType_ = -1;
      break;
    case RtfAction::Unicode:
      unicode(param);
      break;
    case RtfAction::UnicodeSkip:
      unicodeCount_ = std::max(param, 0);
      break;
  }
}

// \uN: the Windows-1252 byte of the character when it has one (and then the
// fallback that follows is dropped); otherwise the fallback is the text.
// Control characters are bytes like the others: a tab, a CR (a line break),
// and U+0000, which gives nothing, as a 0 byte does.
void DocumentReader::unicode(std::int32_t param) {
  std::int64_t cp = param;
  if (cp < 0) cp += 65536;  // written as a signed 16-bit number
  if (cp < 0 || cp > 0xFFFF) return;
  const int b = unicodeToCp1252(static_cast<char32_t>(cp));
  if (b < 0) return;
  produced(static_cast<unsigned char>(b));
  fallbackLeft_ = unicodeCount_;
}

// A text character: into the picture, the footnote or the main text.
void DocumentReader::emit(unsigned char ch) {
  if (collectingPicture_) {
    pictureByte(ch);
    return;
  }
  // A CR reaches here only from an escape: it is taken as the line break it
  // names, so that every break byte has its line-table entry.
  if (ch == '\n' || ch == '\r') {
    lineBreak(ch);
    return;
  }
  if (collectingNote_) {
    note_.push_back(static_cast<char>(ch));
    return;
  }
  mainCharacter(ch);
}

void DocumentReader::mainCharacter(unsigned char ch) {
  if (ch == glyphMarker_) {
    closeSpan();
    addMark(MarkKind::Glyph, ++glyphs_, -1);
  } else if (ch == pageMarker_) {
    closeSpan();
    addMark(MarkKind::Page, ++pages_, 0);
  } else if (ch == versoMarker_) {
    closeSpan();
    if (!recto_) ++folios_;
    recto_ = false;
    addMark(MarkKind::Folio, folios_, 1);
  } else if (ch == Markers::kRecto) {
    closeSpan();
    recto_ = true;
    addMark(MarkKind::Folio, ++folios_, 0);
  } else if (ch == Markers::kSpan) {
    if (openSpan_ >= 0) {
      closeSpan();
    } else {
      addMark(MarkKind::Span, 0, 0);
      openSpan_ = static_cast<int>(doc_.marks.size()) - 1;
    }
  }
  if (pages_ == 0) {
    addMark(MarkKind::Page, 1, 0);
    pages_ = 1;
  }
  put(ch, 1);
}

// A paragraph (LF) or line (CR) break.
void DocumentReader::lineBreak(unsigned char b) {
  closeSpan();
  if (collectingNote_) {
    note_.push_back('\n');
    return;
  }
  doc_.lineTable.push_back(position_);
  put(b, 2);
}

void DocumentReader::special(unsigned char c) {
  if (collectingNote_) {
    note_.push_back(static_cast<char>(c));
  } else {
    put(c, 1);
  }
}

void DocumentReader::pictureByte(unsigned char c) {
  if (pictureType_ == -1) return;  // not kept: no need to hold its data
  const int d = hexValue(c);
  if (d < 0) return;  // what is not a hexadecimal digit cannot be decoded
  if (pictureNibble_ < 0) {
    pictureNibble_ = d;
  } else {
    picture_.push_back(static_cast<std::uint8_t>(pictureNibble_ * 16 + d));
    pictureNibble_ = -1;
  }
}

void DocumentReader::startSkip() {
  group_ |= kSkip;
  skipping_ = true;
}

void DocumentReader::resolveStar() {
  if (!pendingStar_) return;
  pendingStar_ = false;
  startSkip();
}

void DocumentReader::startFootnote() {
  closeSpan();
  group_ |= kInNote;
  if (collectingNote_) return;  // a footnote inside a footnote stays part of it
  put(Markers::kNoteAnchor, 1);
  collectingNote_ = true;
  note_.clear();
}

void DocumentReader::startPicture() {
  closeSpan();
  group_ |= kInPicture;
  if (collectingPicture_) return;  // nested: one picture
  collectingPicture_ = true;
  picture_.clear();
  pictureNibble_ = -1;
}

void DocumentReader::groupClose() {
  if (stack_.empty()) return;  // a "}" without "{"
  group_ = stack_.back().flags;
  unicodeCount_ = stack_.back().unicodeCount;
  stack_.pop_back();
  skipping_ = (group_ & kSkip) != 0;
  if (collectingNote_ && !(group_ & kInNote)) endNote();
  if (collectingPicture_ && !(group_ & kInPicture)) endPicture();
}

void DocumentReader::endNote() {
  doc_.notes.push_back(Note{std::move(note_), pages_});
  note_ = std::string();
  collectingNote_ = false;
}

void DocumentReader::endPicture() {
  collectingPicture_ = false;
  // The picture belongs to a glyph mark made for the character just before
  // (the Glyph marker typed in front of it) unless that mark already took a
  // picture; otherwise it gets a glyph mark and a Glyph marker of its own.
  int target = -1;
  for (int i = static_cast<int>(doc_.marks.size()) - 1;
       i >= 0 && doc_.marks[static_cast<std::size_t>(i)].position == position_ - 1; --i) {
    const Mark& m = doc_.marks[static_cast<std::size_t>(i)];
    if (m.kind == MarkKind::Glyph && !m.picture && i != lastPictureMark_) {
      target = i;
      break;
    }
  }
  if (target < 0) {
    closeSpan();
    addMark(MarkKind::Glyph, ++glyphs_, -1);
    put(glyphMarker_, 1);
    target = static_cast<int>(doc_.marks.size()) - 1;
  }
  lastPictureMark_ = target;
  if (pictureType_ != -1 && isWindowsMetafile(picture_)) {
    auto glyph = std::make_unique<GlyphPicture>();
    glyph->metafile = std::move(picture_);
    glyph->metafile.shrink_to_fit();
    glyph->mappingMode = pictureType_;
    glyph->width = pictureWidth_;
    glyph->height = pictureHeight_;
    doc_.marks[static_cast<std::size_t>(target)].picture = std::move(glyph);
  }
  picture_ = std::vector<std::uint8_t>();
  pictureNibble_ = -1;
}

void DocumentReader::closeSpan() {
  if (openSpan_ < 0) return;
  Mark& span = doc_.marks[static_cast<std::size_t>(openSpan_)];
  span.number = index_ - span.index;
  openSpan_ = -1;
}

void DocumentReader::addMark(MarkKind kind, std::int32_t number, std::int32_t value) {
  Mark& m = doc_.marks.emplace_back();
  m.position = position_;
  m.kind = kind;
  m.number = number;
  m.value = value;
  m.index = index_;
}

// Writes one byte to the main text; `width` is its count in positions.
void DocumentReader::put(unsigned char c, std::int32_t width) {
  out_[outLength_++] = c;
  if (outLength_ == kBlock) flush();
  position_ += width;
  ++index_;
}

void DocumentReader::putRun(const unsigned char* p, std::size_t n) {
  position_ += static_cast<std::int32_t>(n);
  index_ += static_cast<std::int32_t>(n);
  while (n > 0) {
    const std::size_t room = std::min(n, kBlock - outLength_);
    std::memcpy(out_ + outLength_, p, room);
    outLength_ += room;
    p += room;
    n -= room;
    if (outLength_ == kBlock) flush();
  }
}

void DocumentReader::flush() {
  doc_.text.append(reinterpret_cast<const char*>(out_), outLength_);
  outLength_ = 0;
}

template <class T>
bool isLoose(const T& v) {
  return v.capacity() > v.size() + v.size() / 2 + 64;
}

template <class T>
void shrinkIfLoose(T& v) {
  if (isLoose(v)) v.shrink_to_fit();
}

// Rich text gives less text than its file: the buffer reserved for the
// file's size is given back when it is over half again the text's size.
void shrinkText(std::string& text) {
  if (!isLoose(text)) return;
  std::string tight;
  tight.reserve(text.size());
  adviseLargePages(tight.data(), tight.capacity());
  tight.assign(text);
  text.swap(tight);
}

void DocumentReader::finish() {
  binaryLeft_ = 0;
  if (lex_ == Lex::Word || lex_ == Lex::Parameter) {
    lex_ = Lex::Text;
    endControlWord();  // the file ends right after a control word
  }
  lex_ = Lex::Text;  // an unfinished escape is dropped
  // Groups left open by a truncated file end here, so that a footnote or a
  // picture still being read is kept.
  while (!stack_.empty()) groupClose();
  if (collectingNote_) endNote();
  if (collectingPicture_) endPicture();
  closeSpan();
  if (index_ > 0) lineBreak('\n');
  flush();
  shrinkText(doc_.text);
  shrinkIfLoose(doc_.marks);
  shrinkIfLoose(doc_.lineTable);
  doc_.indexMarks();
}

}  // namespace

bool readDocumentFromMemory(std::string_view bytes, Document& doc, const Markers& markers) {
  if (bytes.size() > kMaxDocumentBytes) return false;
  doc.clear();
  DocumentReader reader(doc, markers, bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  reader.feed(p, p + bytes.size());
  reader.finish();
  return true;
}

bool readDocument(const std::string& path, Document& doc, const Markers& markers,
                  FileError* error) {
  InputFile in;
  if (!in.open(path, kMaxDocumentBytes)) {
    if (error) *error = in.error();
    return false;
  }
  doc.clear();
  DocumentReader reader(doc, markers, static_cast<std::size_t>(in.size()));
  unsigned char block[kBlock];
  for (;;) {
    const std::ptrdiff_t n = in.read(block, sizeof block);
    if (n == 0) break;
    if (n < 0) {
      // A document read in part would give wrong counts: none is better.
      doc.clear();
      if (error) *error = in.error();
      return false;
    }
    reader.feed(block, block + n);
  }
  reader.finish();
  doc.path = path;
  if (error) *error = {};
  return true;
}

}  // namespace lirno
