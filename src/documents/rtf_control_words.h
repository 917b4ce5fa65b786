#pragma once
// The control words the document reader acts on; every other word is
// ignored with its parameter.
#include <cstdint>
#include <string_view>

namespace lirno {

enum class RtfAction : std::uint8_t {
  None,
  RichText,      // "rtf"
  Paragraph,     // LF break
  Line,          // CR break
  Footnote,
  SkipGroup,     // an ignored destination
  Special,       // a fixed character (tab, dashes, quotes...)
  Picture,       // "pict"
  PictureType,   // "wmetafile": type = parameter
  PictureWidth,
  PictureHeight,
  PictureNotKept,  // other picture formats: type = -1
  Unicode,       // "u": a character by its code point
  UnicodeSkip,   // "uc": how many fallback characters follow a "u"
  Binary,        // "bin": that many raw bytes follow
};

struct RtfControlWord {
  RtfAction action = RtfAction::None;
  unsigned char special = 0;  // the character of a Special action
};

// The entry of `word` (letters only, at most 31), or action None.
RtfControlWord lookupControlWord(std::string_view word);

}  // namespace lirno
