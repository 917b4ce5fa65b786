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

}  // namespace
}  // namespace lirno
