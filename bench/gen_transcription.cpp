// Writes a large generated transcription, as rich text and as plain text,
// with a fixed seed: the same bytes on every run and every machine.
//
//   lirno-gen-transcription OUT.rtf OUT.txt [MEGABYTES]
//
// The rich text looks like a word processor's: font and colour tables, an
// information group, formatting groups, escaped accented letters, page,
// folio, span and glyph markers, footnotes and small Windows metafile glyph
// pictures. The plain text has the same paragraphs without the markup.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// A word from syllables; accented letters appear as Windows-1252 bytes.
const char* const kSyllables[] = {"ca", "de", "li", "mo", "nu", "pra", "sti", "ter", "vol", "qu\xe6",
                                  "ro", "sa", "be", "fi", "gra", "ul", "\xe9t", "or", "an", "i\xe8",
                                  "pe", "tus", "cum", "ver", "bo", "ma", "ne", "\xe0s", "ri", "lo"};
constexpr int kSyllableCount = sizeof kSyllables / sizeof kSyllables[0];

// mt19937's output is fixed by the standard; the distributions are not, so
// only its raw numbers are used.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t below(std::uint32_t n) { return engine_() % n; }

 private:
  std::mt19937 engine_;
};

std::string word(Random& r) {
  std::string w;
  const int n = 1 + static_cast<int>(r.below(4));
  for (int i = 0; i < n; ++i) w += kSyllables[r.below(kSyllableCount)];
  return w;
}

// A small glyph drawing: header, pen and brush, a polygon, an ellipse, end.
std::string glyphMetafileHex(Random& r) {
  std::vector<std::uint16_t> words;
  auto record = [&](std::uint16_t function, std::vector<std::uint16_t> params) {
    const std::uint32_t size = 3 + static_cast<std::uint32_t>(params.size());
    words.push_back(static_cast<std::uint16_t>(size & 0xFFFF));
    words.push_back(static_cast<std::uint16_t>(size >> 16));
    words.push_back(function);
    words.insert(words.end(), params.begin(), params.end());
  };
  record(0x020B, {0, 0});      // SetWindowOrg
  record(0x020C, {100, 100});  // SetWindowExt
  record(0x02FA, {0, 2, 0, static_cast<std::uint16_t>(r.below(65536)), 0});  // CreatePenIndirect
  record(0x02FC, {0, static_cast<std::uint16_t>(r.below(65536)), 0, 0});     // CreateBrushIndirect
  record(0x012D, {0});                                                      // SelectObject
  record(0x012D, {1});
  std::vector<std::uint16_t> polygon = {5};
  for (int i = 0; i < 5; ++i) {
    polygon.push_back(static_cast<std::uint16_t>(r.below(100)));
    polygon.push_back(static_cast<std::uint16_t>(r.below(100)));
  }
  record(0x0324, polygon);              // Polygon
  record(0x0418, {80, 80, 20, 20});     // Ellipse
  record(0x01F0, {1});                  // DeleteObject
  record(0x01F0, {0});
  record(0x0000, {});                   // end
  const std::uint32_t total = 9 + static_cast<std::uint32_t>(words.size());
  const std::vector<std::uint16_t> header = {1, 9, 0x0300, static_cast<std::uint16_t>(total & 0xFFFF),
                                             static_cast<std::uint16_t>(total >> 16), 2, 14, 0, 0};
  words.insert(words.begin(), header.begin(), header.end());
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < words.size(); ++i) {
    for (int b : {words[i] & 0xFF, words[i] >> 8}) {
      hex += digits[b >> 4];
      hex += digits[b & 15];
    }
    if (i % 32 == 31) hex += '\n';
  }
  return hex;
}

std::string rtfEscaped(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x80) {
      out += "\\'";
      out += digits[c >> 4];
      out += digits[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

constexpr const char* kRtfHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
    "{\\f1\\fswiss\\fcharset0 Arial;}}\n{\\colortbl;\\red0\\green0\\blue0;\\red160\\green0\\blue0;}\n"
    "{\\stylesheet{\\s0 Normal;}{\\s1 Rubrique;}}\n{\\info{\\title Transcription g\\'e9n\\'e9r\\'e9e}}\n"
    "\\paperw11906\\paperh16838\\margl1417\\margr1417\\pard\\plain\\f0\\fs24\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUT.rtf OUT.txt [MEGABYTES]\n", argv[0]);
    return 2;
  }
  const double megabytes = argc > 3 ? std::atof(argv[3]) : 50.0;
  const auto target = static_cast<std::size_t>(megabytes * 1e6);
  FILE* rtf = std::fopen(argv[1], "wb");
  FILE* txt = std::fopen(argv[2], "wb");
  if (!rtf || !txt) {
    std::perror("lirno-gen-transcription");
    return 1;
  }
  // Each file is written on its own from the same seed, so that both reach
  // the size asked for and hold the same paragraphs.
  const auto generate = [&](bool rich, FILE* file) {
    Random r(20240611);
    std::string out = rich ? std::string(kRtfHeader) : std::string();
    std::size_t written = 0;
    bool recto = true;
    for (long paragraph = 0; written + out.size() < target; ++paragraph) {
      std::string rtfPara = "\\pard\\plain\\f0\\fs24 ";
      std::string txtPara;
      auto both = [&](const std::string& plain, const std::string& richText) {
        txtPara += plain;
        rtfPara += richText;
      };
      if (paragraph % 40 == 0) both("\xb1", "\\'b1");  // a new page
      if (paragraph % 20 == 0) {
        both(recto ? "=" : "\xbe", recto ? "=" : "\\'be");
        recto = !recto;
      }
      if (paragraph % 25 == 0) {
        const std::string rubric = word(r) + " " + word(r);
        both("\xae" + rubric + "\xae ", "{\\cf2\\b \\'ae" + rtfEscaped(rubric) + "\\'ae}\\b0 ");
      }
      const int sentences = 2 + static_cast<int>(r.below(4));
      for (int s = 0; s < sentences; ++s) {
        const int words = 6 + static_cast<int>(r.below(12));
        for (int i = 0; i < words; ++i) {
          std::string w = word(r);
          if (i == 0 && w[0] >= 'a' && w[0] <= 'z') w[0] = static_cast<char>(w[0] - 32);
          const std::uint32_t style = r.below(40);
          if (style == 0) {
            both(w, "{\\i " + rtfEscaped(w) + "}");
          } else if (style == 1) {
            both(w, "\\b " + rtfEscaped(w) + "\\b0 ");
          } else {
            both(w, rtfEscaped(w));
          }
          if (r.below(150) == 0) {
            both("\xad", "\\'ad{\\pict\\wmetafile8\\picw529\\pich529\\picwgoal300\\pichgoal300\n" +
                             glyphMetafileHex(r) + "}");
          }
          if (i + 1 < words) {
            const char* gap = r.below(12) == 0 ? ", " : " ";
            both(gap, gap);
          }
        }
        both(". ", ". ");
        if (r.below(30) == 0) {
          const std::string note = word(r) + " " + word(r) + " " + word(r);
          rtfPara += "{\\super\\chftn}{\\footnote\\pard\\plain\\f0\\fs20 {\\super\\chftn} " + rtfEscaped(note) + "}";
        }
      }
      out += rich ? rtfPara + "\\par\n" : txtPara + "\r\n";
      if (out.size() > (1 << 20)) {
        written += std::fwrite(out.data(), 1, out.size(), file);
        out.clear();
      }
    }
    if (rich) out += "}\n";
    std::fwrite(out.data(), 1, out.size(), file);
  };
  generate(true, rtf);
  generate(false, txt);
  const bool ok = std::fclose(rtf) == 0 && std::fclose(txt) == 0;
  if (!ok) {
    std::perror("lirno-gen-transcription");
    return 1;
  }
  return 0;
}
