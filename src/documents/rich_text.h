#pragma once
// Rich text for reading (information files, the about text): an RTF file
// turned into paragraphs of formatted runs, text in UTF-8. The information
// view builds its QTextDocument from this; the folio picture list reads the
// plain text of the same conversion.
//
// Understood: font table and \fN, \fsN, \b, \i, \ul (every underline kind),
// \strike, \super, \sub, colour table and \cfN, \plain; \pard, \ql \qc \qr
// \qj, \sbN \saN \liN \riN \fiN \txN; \par, \line, \tab and the special
// characters; \'hh in Windows-1252, \uN with its \ucN fallback (surrogate
// pairs joined); HYPERLINK fields as links; \protect. Other destinations
// (info, style sheet, pictures, objects, footnotes, headers, "\*" groups)
// are skipped whole. Nothing in the input can make the conversion fail:
// malformed input yields what could be read.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lirno {

struct RichFormat {
  std::string font;     // face name, empty: the view's own
  int halfPoints = 24;  // \fsN
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  int script = 0;  // 1 superscript, -1 subscript
  bool hasColour = false;
  std::uint8_t red = 0, green = 0, blue = 0;
  bool protect = false;  // \protect: may be copied, never changed
  std::string link;      // target of a link run, empty otherwise
  bool operator==(const RichFormat&) const = default;
};

struct RichRun {
  std::string text;  // UTF-8; "\t" a tab, U+2028 a line break
  RichFormat format;
};

enum class RichAlign { Left, Centre, Right, Justify };

struct RichParagraph {
  RichAlign align = RichAlign::Left;
  int spaceBefore = 0;  // twips
  int spaceAfter = 0;
  int leftIndent = 0;
  int rightIndent = 0;
  int firstIndent = 0;
  std::vector<int> tabStops;  // twips, \txN
  std::vector<RichRun> runs;
};

struct RichText {
  std::vector<RichParagraph> paragraphs;
};

// True when the bytes begin (after white space) with "{\rtf".
bool looksLikeRtf(std::string_view bytes);

// The conversion of an RTF file's bytes.
RichText parseRtf(std::string_view rtf);

// A file that is not RTF: Windows-1252 text, one paragraph per line (CR LF,
// LF or CR ends a line), unformatted. Valid UTF-8 with a byte order mark is
// read as UTF-8.
RichText plainRichText(std::string_view bytes);

// parseRtf or plainRichText, whichever the bytes are.
RichText readRichText(std::string_view bytes);

// Finds web and mail addresses in the runs that are not links yet and makes
// them link runs (http://, https://, ftp://, file://, mailto:, "www."
// names, name@host.domain). The link target of "www.x" is "http://www.x",
// of a bare mail address "mailto:" + it.
void detectLinks(RichText& text);

// The text as the picture list reads it: every paragraph followed by CR LF,
// except an empty last one (what follows a final \par). UTF-8.
std::string plainTextOf(const RichText& text);

}  // namespace lirno
