// The RTF converter of the information view, on the forms word processors
// write, on the sample files and on hostile input; link detection; the
// plain text the picture list reads; where an information file is found.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "documents/information_file.h"
#include "documents/rich_text.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;

// All text of a paragraph.
std::string textOf(const RichParagraph& p) {
  std::string s;
  for (const RichRun& r : p.runs) s += r.text;
  return s;
}

std::vector<std::string> paragraphs(const RichText& t) {
  std::vector<std::string> out;
  for (const RichParagraph& p : t.paragraphs) out.push_back(textOf(p));
  return out;
}

// The run that holds `text`, or nullptr.
const RichRun* runWith(const RichText& t, const std::string& text) {
  for (const RichParagraph& p : t.paragraphs) {
    for (const RichRun& r : p.runs) {
      if (r.text.find(text) != std::string::npos) return &r;
    }
  }
  return nullptr;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

using Strings = std::vector<std::string>;

TEST(RichText, CharacterFormattingIsScopedByGroups) {
  const RichText t = parseRtf(
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fswiss{\\*\\panose 0}Arial;}}"
      "{\\colortbl;\\red160\\green0\\blue0;\\red0\\green0\\blue255;}"
      "\\f0\\fs24 plain {\\b bold {\\i both}} {\\ul\\cf1 red}{\\f1\\fs36 big}\\b\\i\\strike xx1\\plain yy2"
      "{\\ulnone\\ul0 nn3}{\\uldb dd4}{\\super ss5}}");
  ASSERT_EQ(t.paragraphs.size(), 1u);
  EXPECT_EQ(textOf(t.paragraphs[0]), "plain bold both redbigxx1yy2nn3dd4ss5");
  const RichRun* plain = runWith(t, "plain");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->format.font, "Times New Roman");
  EXPECT_EQ(plain->format.halfPoints, 24);
  EXPECT_FALSE(plain->format.bold);
  EXPECT_TRUE(runWith(t, "bold")->format.bold);
  EXPECT_FALSE(runWith(t, "bold")->format.italic);
  EXPECT_TRUE(runWith(t, "both")->format.bold && runWith(t, "both")->format.italic);
  const RichRun* red = runWith(t, "red");
  EXPECT_TRUE(red->format.underline);
  EXPECT_TRUE(red->format.hasColour);
  EXPECT_EQ(red->format.red, 160);
  EXPECT_EQ(runWith(t, "big")->format.font, "Arial");  // the panose group is not part of the name
  EXPECT_EQ(runWith(t, "big")->format.halfPoints, 36);
  const RichRun* x = runWith(t, "xx1");
  EXPECT_TRUE(x->format.bold && x->format.italic && x->format.strike);
  const RichRun* y = runWith(t, "yy2");
  EXPECT_FALSE(y->format.bold || y->format.italic || y->format.strike);
  EXPECT_EQ(y->format.font, "Times New Roman");  // \plain goes back to the default font
  EXPECT_FALSE(runWith(t, "nn3")->format.underline);
  EXPECT_TRUE(runWith(t, "dd4")->format.underline);
  EXPECT_EQ(runWith(t, "ss5")->format.script, 1);
  // Colour 0 of the table is "auto": no colour of its own.
  EXPECT_FALSE(parseRtf("{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf0 a}").paragraphs[0].runs[0].format.hasColour);
  EXPECT_FALSE(parseRtf("{\\rtf1{\\colortbl;}\\cf7 a}").paragraphs[0].runs[0].format.hasColour);
}

TEST(RichText, ParagraphsTakeThePropertiesInForceAtTheirEnd) {
  const RichText t = parseRtf(
      "{\\rtf1\\pard\\qc\\sb120\\sa240 Title\\par\\pard\\qj\\li360\\fi-180\\tx720\\tx1440 Body\\par"
      "\\pard a\\qr\\par\\pard last}");
  ASSERT_EQ(paragraphs(t), (Strings{"Title", "Body", "a", "last"}));
  EXPECT_EQ(t.paragraphs[0].align, RichAlign::Centre);
  EXPECT_EQ(t.paragraphs[0].spaceBefore, 120);
  EXPECT_EQ(t.paragraphs[0].spaceAfter, 240);
  EXPECT_EQ(t.paragraphs[1].align, RichAlign::Justify);
  EXPECT_EQ(t.paragraphs[1].leftIndent, 360);
  EXPECT_EQ(t.paragraphs[1].firstIndent, -180);
  EXPECT_EQ(t.paragraphs[1].tabStops, (std::vector<int>{720, 1440}));
  EXPECT_EQ(t.paragraphs[1].spaceBefore, 0);  // \pard reset it
  EXPECT_EQ(t.paragraphs[2].align, RichAlign::Right);
  EXPECT_EQ(t.paragraphs[3].align, RichAlign::Left);
}

TEST(RichText, EscapesAndUnicode) {
  auto text = [](const std::string& rtf) { return textOf(parseRtf(rtf).paragraphs.at(0)); };
  EXPECT_EQ(text("{\\rtf1 caf\\'e9 \\'80 \\'9c}"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\x93");
  EXPECT_EQ(text("{\\rtf1 \\u8364?x}"), "\xE2\x82\xAC" "x");            // fallback skipped
  EXPECT_EQ(text("{\\rtf1 \\uc2\\u8364\\'80\\'80x}"), "\xE2\x82\xAC" "x");  // two escaped fallbacks
  EXPECT_EQ(text("{\\rtf1 \\uc0\\u233 x}"), "\xC3\xA9" "x");
  EXPECT_EQ(text("{\\rtf1 {\\u233}x}"), "\xC3\xA9" "x");  // the group end ends the fallback
  EXPECT_EQ(text("{\\rtf1 \\u-10179?\\u-8704?}"), "\xF0\x9F\x98\x80");  // a surrogate pair, negative form
  EXPECT_EQ(text("{\\rtf1 \\u-10179?x}"), "\xEF\xBF\xBD" "x");         // a lone high surrogate
  EXPECT_EQ(text("{\\rtf1 a\\tab b\\line c\\~d\\-e\\{\\}\\\\}"), "a\tb\xE2\x80\xA8" "c\xC2\xA0" "de{}\\");
  EXPECT_EQ(text("{\\rtf1 \\ldblquote x\\rdblquote\\emdash}"), "\xE2\x80\x9Cx\xE2\x80\x9D\xE2\x80\x94");
}

TEST(RichText, HyperlinkFieldsBecomeLinkRuns) {
  const RichText t = parseRtf(
      "{\\rtf1 See {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a\"}}{\\fldrslt{\\ul\\cf1 the notice}}} "
      "and {\\field{\\*\\fldinst HYPERLINK \\\\l \"part\"}{\\fldrslt here}} "
      "and {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}.}");
  EXPECT_EQ(textOf(t.paragraphs[0]), "See the notice and here and 3.");
  const RichRun* notice = runWith(t, "the notice");
  ASSERT_TRUE(notice);
  EXPECT_EQ(notice->text, "the notice");
  EXPECT_EQ(notice->format.link, "https://example.org/a");
  EXPECT_EQ(runWith(t, "here")->format.link, "#part");
  EXPECT_EQ(runWith(t, "3")->format.link, "");  // not a hyperlink field
  EXPECT_EQ(runWith(t, " and ")->format.link, "");
}

TEST(RichText, SkippedDestinationsAndProtectedText) {
  const RichText t = parseRtf(
      "{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}{\\*\\generator W;}"
      "{\\pict\\pngblip\\bin4 }}}}x}{\\*\\unknown skipped}{\\footnote note}{\\header h}"
      "a{\\protect kept}b}");
  EXPECT_EQ(textOf(t.paragraphs[0]), "akeptb");
  EXPECT_TRUE(runWith(t, "kept")->format.protect);
  EXPECT_FALSE(runWith(t, "a")->format.protect);
}

TEST(RichText, HostileInputYieldsWhatCanBeRead) {
  // Unbalanced, truncated, nested beyond reason, parameters out of range.
  EXPECT_EQ(paragraphs(parseRtf("{\\rtf1 a}}}b{")), (Strings{"ab"}));
  EXPECT_EQ(paragraphs(parseRtf("{\\rtf1 \\'")), (Strings{""}));
  EXPECT_EQ(paragraphs(parseRtf("{\\rtf1 \\'4")), (Strings{"\x04"}));
  EXPECT_EQ(paragraphs(parseRtf("{\\rtf1 x\\bin99999999999")), (Strings{"x"}));
  EXPECT_EQ(paragraphs(parseRtf("{\\rtf1 \\u99999999999 y}")).size(), 1u);
  EXPECT_EQ(parseRtf("{\\rtf1\\fs-5 a\\fs99999999 b}").paragraphs[0].runs.back().format.halfPoints, 3276);
  std::string deep = "{\\rtf1 ";
  for (int i = 0; i < 100000; ++i) deep += "{\\b ";
  deep += "z";
  for (int i = 0; i < 100000; ++i) deep += "}";
  deep += " end}";
  EXPECT_EQ(paragraphs(parseRtf(deep)), (Strings{"z end"}));
  std::string word = "{\\rtf1 \\" + std::string(5000, 'a') + " q}";
  EXPECT_EQ(paragraphs(parseRtf(word)), (Strings{"q"}));
}

TEST(RichText, PlainTextFiles) {
  EXPECT_FALSE(looksLikeRtf("rtf1"));
  EXPECT_TRUE(looksLikeRtf("\r\n {\\rtf1}"));
  const RichText t = readRichText("caf\xe9\r\nb\nc\rd\r\n");
  EXPECT_EQ(paragraphs(t), (Strings{"caf\xC3\xA9", "b", "c", "d", ""}));
  EXPECT_EQ(plainTextOf(t), "caf\xC3\xA9\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(paragraphs(readRichText("\xEF\xBB\xBF" "caf\xC3\xA9")), (Strings{"caf\xC3\xA9"}));
  // Malformed UTF-8 after the mark: each bad byte a replacement character.
  EXPECT_EQ(paragraphs(readRichText("\xEF\xBB\xBF" "a\xD4" "b\xC0\x80\xED\xA0\x80")),
            (Strings{"a\xEF\xBF\xBD" "b"
                     "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}));
  // The rich text's plain form: a paragraph end is CR LF; a trailing line
  // without end still ends with one.
  EXPECT_EQ(plainTextOf(parseRtf("{\\rtf1 a\\tab b\\par c\\line d}")), "a\tb\r\nc\r\nd\r\n");
  EXPECT_EQ(plainTextOf(parseRtf("{\\rtf1 a\\par}")), "a\r\n");
}

TEST(RichText, DetectedLinks) {
  auto links = [](const std::string& text) {
    RichText t = plainRichText(text);
    detectLinks(t);
    Strings out;
    for (const RichRun& r : t.paragraphs[0].runs) {
      if (!r.format.link.empty()) out.push_back(r.text + "=" + r.format.link);
    }
    return out;
  };
  EXPECT_EQ(links("see https://example.org/a?b=1. Next"), (Strings{"https://example.org/a?b=1=https://example.org/a?b=1"}));
  EXPECT_EQ(links("(www.example.org/x), mail me: a.b@example.org."),
            (Strings{"www.example.org/x=http://www.example.org/x", "a.b@example.org=mailto:a.b@example.org"}));
  EXPECT_EQ(links("mailto:x@y.fr ftp://h/f FILE://c/d"),
            (Strings{"mailto:x@y.fr=mailto:x@y.fr", "ftp://h/f=ftp://h/f", "FILE://c/d=FILE://c/d"}));
  EXPECT_EQ(links("no: x@y, @y.fr, a@.fr, http://, xwww.a.b, www."), Strings{});
  // Text around a link keeps its place and its format.
  RichText t = parseRtf("{\\rtf1 {\\b see www.a.org now}}");
  detectLinks(t);
  ASSERT_EQ(t.paragraphs[0].runs.size(), 3u);
  EXPECT_EQ(t.paragraphs[0].runs[0].text, "see ");
  EXPECT_EQ(t.paragraphs[0].runs[1].text, "www.a.org");
  EXPECT_TRUE(t.paragraphs[0].runs[1].format.bold);
  EXPECT_EQ(t.paragraphs[0].runs[2].text, " now");
  // A field's link is not detected again.
  RichText f = parseRtf("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"http://x.org\"}{\\fldrslt www.y.org}}}");
  detectLinks(f);
  ASSERT_EQ(f.paragraphs[0].runs.size(), 1u);
  EXPECT_EQ(f.paragraphs[0].runs[0].format.link, "http://x.org");
}

TEST(RichText, SampleFilesConvert) {
  // The documents of the sample corpus (a word processor's forms: font and
  // colour tables, info group, pictures, footnotes) and their information
  // files.
  const std::string folder = std::string(LIRNO_SAMPLE_DATA) + "/sample/";
  const RichText doc = readRichText(readFile(folder + "ms_aubert.rtf"));
  const std::string plain = plainTextOf(doc);
  EXPECT_NE(plain.find("Incipit liber Auberti de herbis"), std::string::npos);
  EXPECT_EQ(plain.find("Lirno"), std::string::npos);                // the info group's author
  EXPECT_EQ(plain.find("0100090000"), std::string::npos);           // the pictures' data
  EXPECT_EQ(plain.find("Le copiste a"), std::string::npos);         // the footnotes
  EXPECT_EQ(plain.find("Times New Roman"), std::string::npos);

  RichText info = readRichText(readFile(folder + "ms_aubert_fra.rtf"));
  detectLinks(info);
  EXPECT_EQ(runWith(info, "https://example.org/fonds/aubert")->format.link, "https://example.org/fonds/aubert");
  EXPECT_EQ(runWith(info, "www.example.org/herbiers")->format.link, "http://www.example.org/herbiers");
  EXPECT_TRUE(runWith(info, "diffusion interdite")->format.protect);
  EXPECT_TRUE(runWith(info, "Liber de herbis Auberti")->format.bold);
  EXPECT_EQ(info.paragraphs[0].align, RichAlign::Centre);
  EXPECT_NE(plainTextOf(info).find("[Images]\r\nFolio\tDescription\tImage\r\n1r\t"), std::string::npos);
}

TEST(InformationFile, NameAndPlaces) {
  EXPECT_EQ(informationFileName("/a/b/ms12.rtf", "fra"), "ms12_fra.rtf");
  EXPECT_EQ(informationFileName("/a/b.c/ms12", "eng"), "ms12_eng");  // a dot in the folder is no extension
  EXPECT_EQ(informationFileName("/a/ms.12.txt", "fra"), "ms.12_fra.txt");

  TempFolder program("prog");
  TempFolder docs("docs");
  program.write("infos/ms12_fra.rtf", "shared");
  program.write("infos/ms13_fra.rtf", "shared");
  docs.write("ms12_fra.rtf", "beside");
  EXPECT_EQ(informationFileOf(docs.file("ms12.rtf"), "fra", program.path()), docs.file("ms12_fra.rtf"));
  EXPECT_EQ(informationFileOf(docs.file("ms13.rtf"), "fra", program.path()), program.file("infos/ms13_fra.rtf"));
  EXPECT_EQ(informationFileOf(docs.file("ms13.rtf"), "eng", program.path()), "");
  EXPECT_EQ(informationFileOf(docs.file("ms14.rtf"), "fra", program.path()), "");
}

}  // namespace
}  // namespace lirno
