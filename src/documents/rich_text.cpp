#include "documents/rich_text.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "platform/cp1252.h"

namespace lirno {
namespace {

// Deeper groups are read as part of their parent: nesting is not a resource
// a file may spend without bound.
constexpr std::size_t kMaxDepth = 512;

enum class Dest : std::uint8_t { Text, Skip, FontTable, ColourTable, FieldInst };

struct State {
  RichFormat format;
  RichAlign align = RichAlign::Left;
  int spaceBefore = 0, spaceAfter = 0, leftIndent = 0, rightIndent = 0, firstIndent = 0;
  std::vector<int> tabStops;
  int uc = 1;
  Dest dest = Dest::Text;
  int field = -1;  // the field whose instruction or result this group is in
};

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

bool isLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

std::string lowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// The target of a field instruction "HYPERLINK "url" [\l "anchor"]", or
// empty for any other field.
std::string hyperlinkTarget(std::string_view inst) {
  std::size_t i = inst.find_first_not_of(" \t\r\n");
  if (i == std::string_view::npos) return {};
  inst.remove_prefix(i);
  if (inst.size() < 9 || lowerAscii(inst.substr(0, 9)) != "hyperlink") return {};
  inst.remove_prefix(9);
  std::string url, anchor;
  bool anchorNext = false;
  std::size_t p = 0;
  while (p < inst.size()) {
    while (p < inst.size() && (inst[p] == ' ' || inst[p] == '\t' || inst[p] == '\r' || inst[p] == '\n')) ++p;
    if (p >= inst.size()) break;
    std::string token;
    if (inst[p] == '"') {
      const std::size_t end = inst.find('"', p + 1);
      token = std::string(inst.substr(p + 1, end == std::string_view::npos ? std::string_view::npos : end - p - 1));
      p = end == std::string_view::npos ? inst.size() : end + 1;
    } else {
      const std::size_t end = inst.find_first_of(" \t\r\n", p);
      token = std::string(inst.substr(p, end == std::string_view::npos ? std::string_view::npos : end - p));
      p = end == std::string_view::npos ? inst.size() : end;
      if (token.size() == 2 && token[0] == '\\') {
        anchorNext = token[1] == 'l';
        continue;
      }
    }
    if (anchorNext) {
      anchor = token;
      anchorNext = false;
    } else if (url.empty()) {
      url = token;
    }
  }
  if (!anchor.empty()) url += "#" + anchor;
  return url;
}

// Destinations whose text is not part of the document.
bool isSkippedDestination(std::string_view w) {
  static constexpr std::array<std::string_view, 34> kSkipped = {
      "annotation", "atnauthor", "atnid", "author", "buptim", "comment", "creatim", "datastore",
      "doccomm", "footer", "footerf", "footerl", "footerr", "footnote", "header", "headerf",
      "headerl", "headerr", "info", "keywords", "listtable", "listoverridetable", "object",
      "operator", "pict", "printim", "revtim", "rsidtbl", "stylesheet", "subject", "themedata",
      "title", "txe", "xe"};
  return std::find(kSkipped.begin(), kSkipped.end(), w) != kSkipped.end();
}

class Converter {
 public:
  explicit Converter(std::string_view in) : in_(in) { out_.paragraphs.emplace_back(); }

  RichText run() {
    stack_.emplace_back();
    while (pos_ < in_.size()) {
      const unsigned char c = static_cast<unsigned char>(in_[pos_]);
      if (c == '{') {
        ++pos_;
        openGroup();
      } else if (c == '}') {
        ++pos_;
        closeGroup();
      } else if (c == '\\') {
        ++pos_;
        controlWord();
      } else {
        ++pos_;
        if (c == '\r' || c == '\n' || c == 0) continue;
        character(c == '\t' ? U'\t' : cp1252ToUnicode(c), true);
      }
    }
    flushSurrogate();
    endParagraphProperties();
    return std::move(out_);
  }

 private:
  State& st() { return stack_.back(); }

  void openGroup() {
    skipFallback_ = 0;
    if (stack_.size() >= kMaxDepth) {
      ++overflow_;
      return;
    }
    State copy = st();
    stack_.push_back(copy);
    starred_ = false;
  }

  void closeGroup() {
    skipFallback_ = 0;
    starred_ = false;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (stack_.size() <= 1) return;  // unbalanced: stay at the top
    const State closing = st();
    stack_.pop_back();
    if (closing.dest == Dest::FontTable && st().dest != Dest::FontTable) fontName_.clear();
  }

  // Reads the control word or symbol after a backslash.
  void controlWord() {
    if (pos_ >= in_.size()) return;
    const unsigned char c = static_cast<unsigned char>(in_[pos_]);
    if (!isLetter(c)) {
      ++pos_;
      controlSymbol(c);
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_])) && pos_ - start < 32) ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);
    while (pos_ < in_.size() && isLetter(static_cast<unsigned char>(in_[pos_]))) ++pos_;  // overlong
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() &&
        isDigit(static_cast<unsigned char>(in_[pos_ + 1]))) {
      negative = true;
      ++pos_;
    }
    int digits = 0;
    while (pos_ < in_.size() && isDigit(static_cast<unsigned char>(in_[pos_]))) {
      if (digits++ < 10) param = param * 10 + (in_[pos_] - '0');
      hasParam = true;
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    const int p = static_cast<int>(std::clamp<long long>(param, -2147483647LL, 2147483647LL));
    act(word, hasParam, p);
  }

  void controlSymbol(unsigned char c) {
    switch (c) {
      case '\'': {
        int value = 0;
        int n = 0;
        while (n < 2 && pos_ < in_.size()) {
          const char h = in_[pos_];
          int d = -1;
          if (h >= '0' && h <= '9') d = h - '0';
          if (h >= 'a' && h <= 'f') d = h - 'a' + 10;
          if (h >= 'A' && h <= 'F') d = h - 'A' + 10;
          if (d < 0) break;
          value = value * 16 + d;
          ++pos_;
          ++n;
        }
        if (n > 0) character(cp1252ToUnicode(static_cast<unsigned char>(value)), true);
        break;
      }
      case '*':
        starred_ = true;
        break;
      case '~':
        character(0x00A0, true);
        break;
      case '_':
        character(0x2011, true);
        break;
      case '-':
        break;  // optional hyphen: shown only where a line breaks
      case '\\':
      case '{':
      case '}':
        character(c, true);
        break;
      case '\r':
      case '\n':
        paragraph();
        break;
      case '\t':
        character(U'\t', true);
        break;
      default:
        if (skipFallback_ > 0) --skipFallback_;
        break;
    }
  }

  void act(std::string_view w, bool hasParam, int p) {
    const bool starred = starred_;
    starred_ = false;
    if (st().dest == Dest::Skip) {
      if (w == "bin" && hasParam) skipBinary(p);
      return;
    }
    // A control word is one fallback character of a \u.
    if (skipFallback_ > 0 && w != "u") {
      --skipFallback_;
      if (w == "bin" && hasParam) skipBinary(p);
      return;
    }
    State& s = st();
    RichFormat& f = s.format;
    const bool on = !hasParam || p != 0;

    // Destinations.
    if (w == "fonttbl") return void(s.dest = Dest::FontTable);
    if (w == "colortbl") {
      s.dest = Dest::ColourTable;
      colours_.clear();
      colour_ = {};
      return;
    }
    if (w == "field") {
      s.field = static_cast<int>(fields_.size());
      fields_.emplace_back();
      return;
    }
    if (w == "fldinst") return void(s.dest = s.field >= 0 ? Dest::FieldInst : Dest::Skip);
    if (w == "fldrslt") {
      if (s.field >= 0) f.link = hyperlinkTarget(fields_[static_cast<std::size_t>(s.field)]);
      return;
    }
    if (isSkippedDestination(w) || starred) return void(s.dest = Dest::Skip);

    if (s.dest == Dest::FontTable) {
      if (w == "f" && hasParam) {
        fontNumber_ = p;
        fontName_.clear();
      }
      return;
    }
    if (s.dest == Dest::ColourTable) {
      const auto v = static_cast<std::uint8_t>(std::clamp(p, 0, 255));
      if (w == "red") colour_.r = v, colour_.set = true;
      if (w == "green") colour_.g = v, colour_.set = true;
      if (w == "blue") colour_.b = v, colour_.set = true;
      return;
    }

    if (w == "par" || w == "sect" || w == "page" || w == "row") return paragraph();
    if (w == "line") return character(0x2028, false);
    if (w == "tab" || w == "cell") return character(U'\t', false);
    if (w == "u" && hasParam) return unicode(p);
    if (w == "uc" && hasParam) return void(s.uc = std::clamp(p, 0, 16));
    if (w == "bin" && hasParam) return skipBinary(p);

    static const std::map<std::string_view, char32_t> kSpecial = {
        {"emdash", 0x2014}, {"endash", 0x2013}, {"lquote", 0x2018},  {"rquote", 0x2019},
        {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"bullet", 0x2022}, {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005}, {"zwj", 0x200D}, {"zwnj", 0x200C}};
    if (const auto it = kSpecial.find(w); it != kSpecial.end()) return character(it->second, false);

    if (w == "plain") {
      const std::string link = f.link;
      f = RichFormat{};
      f.link = link;  // a link's result keeps its target through \plain
      if (!defaultFont_.empty()) f.font = defaultFont_;
      return;
    }
    if (w == "deff" && hasParam) return void(defaultFontNumber_ = p);
    if (w == "f" && hasParam) {
      const auto it = fonts_.find(p);
      f.font = it == fonts_.end() ? std::string() : it->second;
      return;
    }
    if (w == "fs" && hasParam) return void(f.halfPoints = std::clamp(p, 2, 3276));
    if (w == "b") return void(f.bold = on);
    if (w == "i") return void(f.italic = on);
    if (w == "strike") return void(f.strike = on);
    if (w == "ulnone") return void(f.underline = false);
    if (w.substr(0, 2) == "ul" && w != "ulc") return void(f.underline = on);
    if (w == "super") return void(f.script = 1);
    if (w == "sub") return void(f.script = -1);
    if (w == "nosupersub") return void(f.script = 0);
    if (w == "protect") return void(f.protect = on);
    if (w == "cf" && hasParam) {
      const auto k = static_cast<std::size_t>(std::max(0, p));
      if (k < colours_.size() && colours_[k].set) {
        f.hasColour = true;
        f.red = colours_[k].r;
        f.green = colours_[k].g;
        f.blue = colours_[k].b;
      } else {
        f.hasColour = false;
      }
      return;
    }

    if (w == "pard") {
      s.align = RichAlign::Left;
      s.spaceBefore = s.spaceAfter = s.leftIndent = s.rightIndent = s.firstIndent = 0;
      s.tabStops.clear();
      return;
    }
    if (w == "ql") return void(s.align = RichAlign::Left);
    if (w == "qc") return void(s.align = RichAlign::Centre);
    if (w == "qr") return void(s.align = RichAlign::Right);
    if (w == "qj") return void(s.align = RichAlign::Justify);
    const int twips = std::clamp(p, -31680, 31680);
    if (w == "sb") return void(s.spaceBefore = std::max(0, twips));
    if (w == "sa") return void(s.spaceAfter = std::max(0, twips));
    if (w == "li") return void(s.leftIndent = twips);
    if (w == "ri") return void(s.rightIndent = twips);
    if (w == "fi") return void(s.firstIndent = twips);
    if (w == "tx" && s.tabStops.size() < 64) return void(s.tabStops.push_back(std::max(0, twips)));
  }

  void skipBinary(int n) {
    const std::size_t k = static_cast<std::size_t>(std::max(0, n));
    pos_ = std::min(in_.size(), pos_ + k);
  }

  void unicode(int p) {
    const char32_t u = static_cast<char32_t>(p < 0 ? p + 65536 : p) & 0xFFFF;
    if (u >= 0xD800 && u <= 0xDBFF) {
      flushSurrogate();
      highSurrogate_ = u;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      if (highSurrogate_) {
        const char32_t c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (u - 0xDC00);
        highSurrogate_ = 0;
        emit(c);
      } else {
        emit(0xFFFD);
      }
    } else {
      emit(u == 0 ? 0xFFFD : u);
    }
    skipFallback_ = st().uc;
  }

  void flushSurrogate() {
    if (highSurrogate_) {
      highSurrogate_ = 0;
      emit(0xFFFD);
    }
  }

  // A character of the text. `fallback`: it may be the fallback of a \u.
  void character(char32_t c, bool fallback) {
    if (fallback && skipFallback_ > 0) {
      --skipFallback_;
      return;
    }
    skipFallback_ = 0;
    switch (st().dest) {
      case Dest::Skip:
        return;
      case Dest::FontTable:
        if (c == ';') {
          fonts_[fontNumber_] = fontName_;
          if (fontNumber_ == defaultFontNumber_) defaultFont_ = fontName_;
          fontName_.clear();
        } else if (fontName_.size() < 64) {
          appendUtf8(fontName_, c);
        }
        return;
      case Dest::ColourTable:
        if (c == ';') {
          colours_.push_back(colour_);
          colour_ = {};
        }
        return;
      case Dest::FieldInst: {
        std::string& inst = fields_[static_cast<std::size_t>(st().field)];
        if (inst.size() < 2048) appendUtf8(inst, c);
        return;
      }
      case Dest::Text:
        break;
    }
    flushSurrogate();
    emit(c);
  }

  void emit(char32_t c) {
    if (st().dest != Dest::Text) return;
    RichParagraph& para = out_.paragraphs.back();
    const RichFormat& f = st().format;
    if (para.runs.empty() || !(para.runs.back().format == f)) {
      // A paragraph takes the properties in force at its end (\par); one
      // that never ends takes those of its runs.
      setParagraphProperties(para);
      para.runs.push_back(RichRun{{}, f});
    }
    appendUtf8(para.runs.back().text, c);
  }

  void setParagraphProperties(RichParagraph& p) {
    const State& s = st();
    p.align = s.align;
    p.spaceBefore = s.spaceBefore;
    p.spaceAfter = s.spaceAfter;
    p.leftIndent = s.leftIndent;
    p.rightIndent = s.rightIndent;
    p.firstIndent = s.firstIndent;
    p.tabStops = s.tabStops;
  }

  void endParagraphProperties() {
    if (out_.paragraphs.back().runs.empty() && st().dest == Dest::Text) {
      setParagraphProperties(out_.paragraphs.back());
    }
  }

  void paragraph() {
    skipFallback_ = 0;
    if (st().dest != Dest::Text) return;
    flushSurrogate();
    setParagraphProperties(out_.paragraphs.back());
    out_.paragraphs.emplace_back();
  }

  struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool set = false;
  };

  std::string_view in_;
  std::size_t pos_ = 0;
  RichText out_;
  std::vector<State> stack_;
  std::size_t overflow_ = 0;
  bool starred_ = false;
  int skipFallback_ = 0;
  char32_t highSurrogate_ = 0;
  std::map<int, std::string> fonts_;
  int fontNumber_ = 0;
  std::string fontName_;
  int defaultFontNumber_ = 0;
  std::string defaultFont_;
  std::vector<Colour> colours_;
  Colour colour_;
  std::vector<std::string> fields_;  // instruction text of each field
};

// --- Link detection ---------------------------------------------------------

bool isAlnum(unsigned char c) { return isLetter(c) || isDigit(c); }

// `prefix` is lower-case.
bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view prefix) {
  if (s.size() - at < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = s[at + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// End of an address that starts at `from`: up to white space or a
// delimiter, less the punctuation that closes the sentence around it.
std::size_t addressEnd(std::string_view s, std::size_t from) {
  std::size_t e = from;
  while (e < s.size()) {
    const unsigned char c = static_cast<unsigned char>(s[e]);
    if (c <= ' ' || c == '"' || c == '<' || c == '>' || c == 0x7F) break;
    if (c == 0xE2 || c == 0xC2) break;  // U+2028, typographic quotes, no-break space
    ++e;
  }
  while (e > from && std::string_view(".,;:!?)]}'").find(s[e - 1]) != std::string_view::npos) --e;
  return e;
}

struct Found {
  std::size_t start = 0, end = 0;
  std::string target;
};

std::optional<Found> nextAddress(std::string_view s, std::size_t from) {
  static constexpr std::array<std::string_view, 5> kSchemes = {"http://", "https://", "ftp://",
                                                               "file://", "mailto:"};
  for (std::size_t i = from; i < s.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const bool boundary = i == 0 || !isAlnum(static_cast<unsigned char>(s[i - 1]));
    if (boundary && isLetter(c)) {
      for (std::string_view scheme : kSchemes) {
        if (startsWithNoCase(s, i, scheme)) {
          const std::size_t e = addressEnd(s, i);
          if (e > i + scheme.size()) return Found{i, e, std::string(s.substr(i, e - i))};
        }
      }
      if (startsWithNoCase(s, i, "www.")) {
        const std::size_t e = addressEnd(s, i);
        if (e > i + 4) return Found{i, e, "http://" + std::string(s.substr(i, e - i))};
      }
    }
    if (c == '@' && i > 0) {
      auto local = [](unsigned char x) { return isAlnum(x) || std::string_view("._%+-").find(static_cast<char>(x)) != std::string_view::npos; };
      std::size_t b = i;
      while (b > from && local(static_cast<unsigned char>(s[b - 1]))) --b;
      while (b < i && s[b] == '.') ++b;
      std::size_t e = i + 1;
      while (e < s.size() && (isAlnum(static_cast<unsigned char>(s[e])) || s[e] == '.' || s[e] == '-')) ++e;
      while (e > i + 1 && (s[e - 1] == '.' || s[e - 1] == '-')) --e;
      const std::string_view domain = s.substr(i + 1, e - i - 1);
      const std::size_t dot = domain.find('.');
      if (b < i && dot != std::string_view::npos && dot > 0 && dot + 1 < domain.size()) {
        return Found{b, e, "mailto:" + std::string(s.substr(b, e - b))};
      }
    }
  }
  return std::nullopt;
}

// UTF-8 as it stands, each byte of a malformed sequence replaced by U+FFFD.
std::string validUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t n = 0;
    char32_t min = 0;
    if (c < 0x80) {
      n = 1;
    } else if ((c & 0xE0) == 0xC0) {
      n = 2, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      n = 3, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      n = 4, min = 0x10000;
    }
    bool ok = n > 0 && i + n <= s.size();
    char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; ok && k < n; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      ok = (d & 0xC0) == 0x80;
      cp = (cp << 6) | (d & 0x3F);
    }
    ok = ok && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    if (ok) {
      out.append(s.substr(i, n));
      i += n;
    } else {
      out += "\xEF\xBF\xBD";
      ++i;
    }
  }
  return out;
}

}  // namespace

bool looksLikeRtf(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) ++i;
  return bytes.substr(i, 5) == "{\\rtf";
}

RichText parseRtf(std::string_view rtf) { return Converter(rtf).run(); }

RichText plainRichText(std::string_view bytes) {
  std::string text;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    text = validUtf8(bytes.substr(3));
  } else {
    text = cp1252ToUtf8(bytes);
  }
  RichText out;
  out.paragraphs.emplace_back();
  auto add = [&](std::string_view line) {
    if (!line.empty()) out.paragraphs.back().runs.push_back(RichRun{std::string(line), RichFormat{}});
  };
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    add(std::string_view(text).substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
    out.paragraphs.emplace_back();
  }
  add(std::string_view(text).substr(start));
  return out;
}

RichText readRichText(std::string_view bytes) {
  return looksLikeRtf(bytes) ? parseRtf(bytes) : plainRichText(bytes);
}

void detectLinks(RichText& text) {
  for (RichParagraph& p : text.paragraphs) {
    std::vector<RichRun> runs;
    runs.reserve(p.runs.size());
    for (RichRun& r : p.runs) {
      if (!r.format.link.empty()) {
        runs.push_back(std::move(r));
        continue;
      }
      const std::string_view s = r.text;
      std::size_t done = 0;
      while (auto f = nextAddress(s, done)) {
        if (f->start > done) runs.push_back(RichRun{std::string(s.substr(done, f->start - done)), r.format});
        RichRun link{std::string(s.substr(f->start, f->end - f->start)), r.format};
        link.format.link = f->target;
        runs.push_back(std::move(link));
        done = f->end;
      }
      if (done < s.size()) runs.push_back(RichRun{std::string(s.substr(done)), r.format});
    }
    p.runs = std::move(runs);
  }
}

std::string plainTextOf(const RichText& text) {
  std::string out;
  const std::size_t n = text.paragraphs.size();
  for (std::size_t i = 0; i < n; ++i) {
    const RichParagraph& p = text.paragraphs[i];
    if (i + 1 == n && p.runs.empty()) break;
    for (const RichRun& r : p.runs) {
      const std::string& t = r.text;
      std::size_t from = 0;
      for (std::size_t k; (k = t.find("\xE2\x80\xA8", from)) != std::string::npos; from = k + 3) {
        out.append(t, from, k - from);
        out += "\r\n";
      }
      out.append(t, from, std::string::npos);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace lirno
