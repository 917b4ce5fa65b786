// Malformed and hostile input: every case keeps the document's invariants
// (checked by readText) and gives the text a sound reading would give.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "documents/reader_support.h"

namespace lirno {
namespace {

using lirno::testing::describeMarks;
using lirno::testing::metafileHex;
using lirno::testing::readText;

struct Case {
  const char* name;
  std::string input;
  std::string text;
};

const std::string kAnchor = "\xb9", kGlyph = "\xad";

TEST(MalformedInput, TableOfCases) {
  const std::string letters40(40, 'q'), digits40(40, '7'), zeros40(40, '0');
  const Case cases[] = {
      {"close brace without open", "a}b}", "ab\n"},
      {"groups never closed", "{{{a", "a\n"},
      {"long control word", "\\" + letters40 + " b", "b\n"},
      {"long parameter", "\\par" + digits40 + "x", "\nx\n"},
      {"long decimal escape", "\\<" + zeros40 + "65>x", "Ax\n"},
      {"decimal escape above 255", "\\<300>x", ",x\n"},
      {"decimal escape cut short", "\\<65x", "x\n"},
      {"decimal escape with a blank", "\\<6 5>", " 5>\n"},
      {"empty decimal escape", "a\\<>b", "ab\n"},
      {"bad hexadecimal digits", "\\'zz", "zz\n"},
      {"hexadecimal escape cut by a brace", "{a\\'4}b", "ab\n"},
      {"hexadecimal escape at the end", "a\\'", "a\n"},
      {"upper-case hexadecimal", "\\'E9", "\xe9\n"},
      {"backslash at the end", "ab\\", "ab\n"},
      {"control word at the end", "{\\rtf1 ab\\par", "ab\n\n"},
      {"minus as parameter", "\\fs-x", "x\n"},
      {"footnote never closed", "{\\rtf1 a{\\footnote tail", "a" + kAnchor + "\n"},
      {"footnote outside any group", "a\\footnote b", "a" + kAnchor + "\n"},
      {"footnote in a footnote", "{\\footnote a{\\footnote b}c}", kAnchor + "\n"},
      {"picture never closed", "{\\rtf1 {\\pict\\wmetafile8 " + metafileHex(), kGlyph + "\n"},
      {"picture in a picture", "{\\pict\\wmetafile8 {\\pict " + metafileHex() + "}}x", kGlyph + "x\n"},
      {"binary data past the end", "{\\bin999999999 abc}", ""},
      {"negative binary length", "\\bin-5 x", "x\n"},
      {"huge fallback count", "\\uc2147483647\\u233 abc{}d", "\xe9" "d\n"},
      {"huge unicode number", "\\u99999999999999999999999999?", "?\n"},
      {"star at the end", "a\\*", "a\n"},
      {"two stars", "{\\*\\*x}y", "y\n"},
      {"star before a brace", "{\\*{x}y}z", "z\n"},
      {"only braces", "}}}{{{}}}", ""},
      {"escaped NUL and CR in a picture", "{\\pict\\wmetafile8 \\'00\\'0d" + metafileHex() + "}", kGlyph + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Document d = readText(c.input);
    EXPECT_EQ(d.text, c.text);
  }
}

TEST(MalformedInput, WhatTheTableCasesKeep) {
  EXPECT_EQ(readText("{\\rtf1 a{\\footnote tail").notes.at(0).text, "tail");
  EXPECT_EQ(readText("{\\footnote a{\\footnote b}c}").notes.at(0).text, "abc");
  const Document pict = readText("{\\rtf1 {\\pict\\wmetafile8 " + metafileHex());
  ASSERT_EQ(pict.marks.size(), 1u);
  EXPECT_NE(pict.marks[0].picture, nullptr);
  const Document wide = readText("{\\pict\\wmetafile8\\picw99999999999999999999\\pich-99999999999 " +
                                 metafileHex() + "}");
  ASSERT_NE(wide.marks.at(0).picture, nullptr);
  EXPECT_EQ(wide.marks[0].picture->width, INT_MAX);
  EXPECT_EQ(wide.marks[0].picture->height, INT_MIN);
}

TEST(MalformedInput, DeepNestingAndMarkerStorms) {
  EXPECT_EQ(readText(std::string(100000, '{') + "a" + std::string(100000, '}')).text, "a\n");
  std::string storm;
  for (int i = 0; i < 2000; ++i) {
    storm += std::string(1, "\xb1\xbe\xad\xae=\n\\"[i % 7]) + (i % 3 ? "x" : "") + (i % 11 ? "" : "{\\pict 00}");
  }
  const Document d = readText(storm);
  EXPECT_FALSE(d.marks.empty());
}

TEST(MalformedInput, RandomBytesAndMutatedRichText) {
  std::mt19937 random(20240611);
  const std::string base = "{\\rtf1{\\fonttbl{\\f0 T;}}\\'e9\xb1{\\footnote n\\par m}=a\xbe\xad{\\pict\\wmetafile8 " +
                           metafileHex() + "}\xae" "b\xae\\u233?\\line c}";
  const std::string alphabet = "{}\\'<>*-_~uc0123456789abfpictwmetafileotn \n\r\xb1\xbe\xad\xae=" + std::string(1, '\0');
  for (int round = 0; round < 3000; ++round) {
    std::string input = base;
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits; ++e) {
      const std::size_t at = random() % (input.size() + 1);
      switch (random() % 3) {
        case 0:
          input.insert(at, 1, alphabet[random() % alphabet.size()]);
          break;
        case 1:
          if (at < input.size()) input.erase(at, 1);
          break;
        default:
          if (at < input.size()) input[at] = static_cast<char>(random() % 256);
          break;
      }
    }
    readText(input);
  }
  for (int round = 0; round < 300; ++round) {
    std::string input(static_cast<std::size_t>(random() % 2000), '\0');
    for (char& c : input) c = static_cast<char>(random() % 256);
    readText(input);
  }
}

}  // namespace
}  // namespace lirno
