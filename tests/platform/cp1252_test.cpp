#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace lirno {
namespace {

TEST(Cp1252Test, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  bool lossless = false;
  EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all), '?', &lossless), all);
  EXPECT_TRUE(lossless);
}

TEST(Cp1252Test, MapsTheSpecialRangeAndTheUnassignedCodes) {
  EXPECT_EQ(cp1252ToUnicode(0x80), U'\u20AC');  // euro
  EXPECT_EQ(cp1252ToUnicode(0x9C), U'\u0153');  // oe
  EXPECT_EQ(cp1252ToUnicode(0x81), U'\u0081');
  EXPECT_EQ(cp1252ToUnicode(0xE9), U'\u00E9');
  EXPECT_EQ(unicodeToCp1252(U'\u2019'), 0x92);
  EXPECT_EQ(unicodeToCp1252(U'\u009D'), 0x9D);
  EXPECT_EQ(unicodeToCp1252(U'\u0080'), -1);  // C1 control with an assigned code in the page
  EXPECT_EQ(unicodeToCp1252(U'\u4E2D'), -1);
}

TEST(Cp1252Test, ConvertsFrenchTextBothWays) {
  const std::string utf8 = "Fichier non trouvé : « cœur » – €";
  const std::string ansi = utf8ToCp1252(utf8);
  EXPECT_EQ(ansi, "Fichier non trouv\xE9 : \xAB c\x9Cur \xBB \x96 \x80");
  EXPECT_EQ(cp1252ToUtf8(ansi), utf8);
}

TEST(Cp1252Test, UnmappableAndMalformedInputIsReplacedAndReported) {
  bool lossless = true;
  EXPECT_EQ(utf8ToCp1252("a\xE4\xB8\xAD" "b", '?', &lossless), "a?b");  // U+4E2D
  EXPECT_FALSE(lossless);
  EXPECT_EQ(utf8ToCp1252("a\xC3", '?', &lossless), "a?");  // cut sequence
  EXPECT_FALSE(lossless);
  EXPECT_EQ(utf8ToCp1252("\xFFx\xC3(", '#', &lossless), "#x#(");
}

TEST(Cp1252Test, PathsComeBackExactlyFromAWindows1252File) {
  const char* const paths[] = {
      "/corpus/plain.rtf",
      "/corpus/d\xC3\xA9" "but.rtf",                  // has a Windows-1252 form
      "/corpus/\xC5\x82\xC3\xB3" "d\xC5\xBA.txt",   // łódź: has none
      "/corpus/\xC3\x83\xC2\xA9.txt",               // Ã©: its Windows-1252 form reads as UTF-8
      "/corpus/\xE2\x82\xAC \xE4\xB8\xAD.rtf",      // € and a CJK character
  };
  for (const char* p : paths) {
    EXPECT_EQ(pathFromCp1252File(pathToCp1252File(p)), p) << p;
  }
  // What the Windows program writes and reads stays Windows-1252.
  EXPECT_EQ(pathToCp1252File("/corpus/d\xC3\xA9" "but.rtf"), "/corpus/d\xE9" "but.rtf");
  EXPECT_EQ(pathFromCp1252File("C:\\Donn\xE9" "es\\a.rtf"), "C:\\Donn\xC3\xA9" "es\\a.rtf");
  EXPECT_EQ(pathToCp1252File("/\xC5\x82.txt"), "/\xC5\x82.txt");
}

TEST(Cp1252Test, NamesTheCharactersWithoutAWindows1252Form) {
  std::size_t first = 99;
  EXPECT_EQ(charactersWithoutCp1252("caf\xC3\xA9 \xE2\x82\xAC", &first), "");
  EXPECT_EQ(first, 99u);
  // ł ó d ź ł: each missing character once, in order; ó has a form.
  EXPECT_EQ(charactersWithoutCp1252("ab\xC5\x82\xC3\xB3" "d\xC5\xBA\xC5\x82", &first),
            "\xC5\x82 \xC5\xBA");
  EXPECT_EQ(first, 2u);
  EXPECT_EQ(charactersWithoutCp1252("a\xFF"), "\xEF\xBF\xBD");  // malformed
  EXPECT_EQ(charactersWithoutCp1252("\xC5\x82\xC5\xBA", nullptr, 1), "\xC5\x82");
  EXPECT_TRUE(isMultiByteUtf8("d\xC3\xA9"));
  EXPECT_FALSE(isMultiByteUtf8("plain"));
  EXPECT_FALSE(isMultiByteUtf8("d\xE9" "but"));
  EXPECT_FALSE(isMultiByteUtf8("\xC0\xAF"));      // overlong
  EXPECT_FALSE(isMultiByteUtf8("\xED\xA0\x80"));  // surrogate
}

}  // namespace
}  // namespace lirno
