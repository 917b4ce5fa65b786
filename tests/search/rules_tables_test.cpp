#include "search/rules_tables.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace lirno {
namespace {

using lirno::testing::TempFolder;

RulesTables load(const std::string& text) {
  RulesTables t;
  t.loadRulesText(text);
  return t;
}

unsigned char readOne(const char* written, std::string* rest = nullptr) {
  const char* p = written;
  const unsigned char c = RulesTables::readCharacter(p);
  if (rest) *rest = p;
  return c;
}

TEST(ReadCharacter, TheThreeFormsAndTheirLimits) {
  std::string rest;
  EXPECT_EQ(readOne("A"), 'A');
  EXPECT_EQ(readOne("65"), 'A');
  EXPECT_EQ(readOne("0x41"), 'A');
  EXPECT_EQ(readOne("0x4g", &rest), 4);  // one digit is enough
  EXPECT_EQ(rest, "g");
  EXPECT_EQ(readOne("0xg", &rest), 0);  // no digit after the prefix
  EXPECT_EQ(rest, "g");
  EXPECT_EQ(readOne("0xA", &rest), 0);  // upper-case digits are not hexadecimal here
  EXPECT_EQ(rest, "A");
  EXPECT_EQ(readOne("0x412", &rest), 0x41);  // at most two digits
  EXPECT_EQ(rest, "2");
  EXPECT_EQ(readOne("0X41", &rest), 0);  // "0" then text
  EXPECT_EQ(rest, "X41");
  EXPECT_EQ(readOne("300"), 300 % 256);
  EXPECT_EQ(readOne("=", &rest), '=');
  EXPECT_EQ(rest, "");
  EXPECT_EQ(readOne("", &rest), 0);  // the end of the text is not passed
  EXPECT_EQ(rest, "");
}

TEST(ResetTables, DefaultsBeforeAndAfterReset) {
  RulesTables t;
  // Before any load: all zero, but usable markers.
  EXPECT_EQ(t.upperOf('a'), 0);
  EXPECT_EQ(t.markers.page, 0xB1);
  EXPECT_EQ(t.markers.verso, 0xBE);
  EXPECT_EQ(t.markers.glyph, 0xAD);

  t.filters.push_back("x");
  t.substitutions.push_back({"AB", "C"});
  t.markers.page = 'P';
  t.variantRules.push_back({});
  t.reset();
  EXPECT_EQ(t.upperOf('a'), 'A');
  EXPECT_EQ(t.upperOf('z'), 'Z');
  EXPECT_EQ(t.upperOf('A'), 'A');
  EXPECT_EQ(t.upperOf(0xE9), 0xE9);  // accented letters need [Uppers]
  EXPECT_EQ(t.upperOf(31), 0);
  EXPECT_EQ(t.substitution['q'], 'Q');
  EXPECT_EQ(t.substitution[10], 0);
  EXPECT_EQ(t.classOf(' '), kWordChar);
  EXPECT_TRUE(t.filters.empty());
  EXPECT_TRUE(t.substitutions.empty());
  EXPECT_EQ(t.markers.page, 0xB1);
  EXPECT_EQ(t.variantRules.size(), 1u);  // its own loader's business
}

TEST(LoadRules, SeparatorLines) {
  const RulesTables t = load(
      "[Separators]\n65=1\nB=1\n0x43=1\n0X44=1\n32=5\n9=2\n10=4\n13=4\n.=3\n==2\nE=\nF1\n0=2\n");
  EXPECT_EQ(t.classOf('A'), kSymbol);
  EXPECT_EQ(t.classOf('B'), kSymbol);
  EXPECT_EQ(t.classOf('C'), kSymbol);
  EXPECT_EQ(t.classOf('D'), kWordChar);  // 0X44 reads as 0: not a character here
  EXPECT_EQ(t.classOf(' '), kWordChar);  // class 5 does not exist
  EXPECT_EQ(t.classOf('\t'), kWordSeparator);
  EXPECT_EQ(t.classOf('\n'), kParagraphSeparator);
  EXPECT_EQ(t.classOf('\r'), kParagraphSeparator);
  EXPECT_EQ(t.classOf('.'), kSentenceSeparator);
  EXPECT_EQ(t.classOf('='), kWordSeparator);
  EXPECT_EQ(t.classOf('E'), kWordChar);
  EXPECT_EQ(t.classOf('F'), kWordChar);
  EXPECT_EQ(t.classOf(0), kWordChar);

  EXPECT_EQ(load("[Separators]\n32=2\n").classOf(' '), kWordSeparator);
  // Without the section nothing separates.
  const RulesTables none = load("[Uppers]\n0xe9=0xc9\n");
  for (int c = 0; c < 256; ++c) EXPECT_EQ(none.classOf(static_cast<unsigned char>(c)), 0) << c;
}

TEST(LoadRules, UpperLines) {
  const RulesTables t = load("[Uppers]\n0xe9=0xc9\n\xe0=\xc0\n9=X\nb=\nc=0\n");
  EXPECT_EQ(t.upperOf(0xE9), 0xC9);
  EXPECT_EQ(t.upperOf(0xE0), 0xC0);
  EXPECT_EQ(t.upperOf(9), 0);     // codes below 32 cannot be given
  EXPECT_EQ(t.upperOf('b'), 'B');  // no form after "="
  EXPECT_EQ(t.upperOf('c'), 'C');  // an upper-case form 0 is refused
}

TEST(LoadRules, SubstitutionLines) {
  const RulesTables t = load("[Substitutions]\nQU=K\nPH=FFF\nH=\nY=I\n=X\nSS=\nNoEqual\n0x43H=0x4b\n");
  ASSERT_EQ(t.substitutions.size(), 4u);
  EXPECT_EQ(t.substitutions[0].find, "QU");
  EXPECT_EQ(t.substitutions[0].replacement, "K");
  EXPECT_EQ(t.substitutions[1].find, "PH");
  EXPECT_EQ(t.substitutions[1].replacement, "FF");  // never longer than the string to find
  EXPECT_EQ(t.substitutions[2].find, "SS");
  EXPECT_EQ(t.substitutions[2].replacement, "");
  EXPECT_EQ(t.substitutions[3].find, "CH");
  EXPECT_EQ(t.substitutions[3].replacement, "K");
  EXPECT_EQ(t.substitution['H'], 0);  // dropped by the reduction
  EXPECT_EQ(t.substitution['Y'], 'I');
  EXPECT_EQ(t.substitution['X'], 'X');
}

TEST(LoadRules, MarkerLines) {
  EXPECT_EQ(load("[Markers]\n=0xa7\n").markers.page, 0xA7);  // empty name: first key
  EXPECT_EQ(load("[Markers]\nPa=0xa7\n").markers.page, 0xA7);
  EXPECT_EQ(load("[Markers]\nLines=0xa7\n").markers.page, 0xB1);
  EXPECT_EQ(load("[Markers]\npage=0xa7\n").markers.page, 0xB1);  // names are case-sensitive
  const RulesTables t = load("[Markers]\nV=0xa4\nG=#\nR=0xa5\nNote=0xa6\nLine=0xa9\nPage 0xa7\n");
  EXPECT_EQ(t.markers.verso, 0xA4);
  EXPECT_EQ(t.markers.glyph, '#');
  EXPECT_EQ(t.markers.page, 0xB1);  // Recto, Note, Line change nothing; no "=": ignored
  // A marker that would end the text or be a break without a line-table
  // entry keeps its value.
  const RulesTables bad = load("[Markers]\nGlyph=0\nPage=10\nVerso=13\nGlyph=\n");
  EXPECT_EQ(bad.markers.glyph, 0xAD);
  EXPECT_EQ(bad.markers.page, 0xB1);
  EXPECT_EQ(bad.markers.verso, 0xBE);
}

TEST(LoadRules, SectionLinesCommentsAndLinesBeforeTheFirstSection) {
  const RulesTables t = load(
      "; comment\n"
      "Glyph=*\n"  // before any section: a marker line
      "\n"
      "[markers]\n"  // no section name: ignored up to the next known one
      "Page=+\n"
      "[Separators] \n"  // trailing blank: unknown as well
      "32=2\n"
      "[Separators]\n"
      ";32=2\n"
      "44=3\n"
      "[Genor]\n"
      "46=3\n"
      "[Vowels]\n"
      "aei0x6f 117\n"
      "[Consonants]\n"
      "bc\n");
  EXPECT_EQ(t.markers.glyph, '*');
  EXPECT_EQ(t.markers.page, 0xB1);
  EXPECT_EQ(t.classOf(' '), kWordChar);
  EXPECT_EQ(t.classOf(','), kSentenceSeparator);
  EXPECT_EQ(t.classOf('.'), kWordChar);
  for (unsigned char c : {'a', 'e', 'i', 'o', ' ', 'u'}) EXPECT_EQ(t.vowel[c], 1) << c;
  EXPECT_EQ(t.vowel['b'], 0);
  EXPECT_EQ(t.consonant['b'], 1);
  EXPECT_EQ(t.consonant['c'], 1);
  EXPECT_EQ(t.consonant['a'], 0);
}

TEST(LoadRules, FilterLinesAreKeptAsWrittenInPiecesOf127) {
  const std::string longLine = "L:Long=" + std::string(193, 'x');  // 200 characters
  const RulesTables t = load("[Filters]\r\nA:Adverbes=*ment\r\n" + longLine + "\r\nB:Deux = a,b \r\n");
  ASSERT_EQ(t.filters.size(), 4u);
  EXPECT_EQ(t.filters[0], "A:Adverbes=*ment");
  EXPECT_EQ(t.filters[1], longLine.substr(0, 127));
  EXPECT_EQ(t.filters[2], longLine.substr(127));
  EXPECT_EQ(t.filters[3], "B:Deux = a,b ");
}

TEST(LoadRules, LineOfExactly127CharactersAndLastLineWithoutBreak) {
  const std::string line = "F:" + std::string(125, 'y');
  const RulesTables t = load("[Filters]\n" + line + "\nG:last");
  ASSERT_EQ(t.filters.size(), 2u);  // the lone line feed that follows is skipped
  EXPECT_EQ(t.filters[0], line);
  EXPECT_EQ(t.filters[1], "G:last");
}

TEST(LoadRules, MissingFileChangesNothing) {
  TempFolder dir("rules");
  RulesTables t;
  t.loadRulesText("[Separators]\n32=2\n[Filters]\nA:a=b\n");
  EXPECT_FALSE(t.loadRules(dir.file("absent.rul")));
  EXPECT_FALSE(t.loadRules(dir.path()));  // a folder
  EXPECT_EQ(t.classOf(' '), kWordSeparator);
  EXPECT_EQ(t.filters.size(), 1u);

  dir.write("r.rul", "[Separators]\r\n44=3\r\n");
  EXPECT_TRUE(t.loadRules(dir.file("r.rul")));
  EXPECT_EQ(t.classOf(' '), kWordChar);  // replaced as a whole
  EXPECT_EQ(t.classOf(','), kSentenceSeparator);
  EXPECT_TRUE(t.filters.empty());
}

TEST(LoadVariantRules, FieldsLevelsAndUpperCasing) {
  RulesTables t;
  t.loadRulesText("[Uppers]\n0xe9=0xc9\n");
  t.loadVariantRulesText(
      "[Filters]\n1,x,y,z\n"  // before [Genor]: not a rule
      "[Genor]\n"
      "; comment\n"
      "1,ph,f,x>0\n"
      "3,\"a,b\",\xe9,\"c,d\",e\n"
      "2,ch,k\n"
      "12nothing\n"
      "2,y,i,cond\twith tab\n"
      "   4,not,a,rule\n"
      "[Other]\n"
      "9,after,end,\n");
  ASSERT_EQ(t.variantRules.size(), 5u);
  EXPECT_EQ(t.highestVariantLevel, 12);
  const VariantRule& r0 = t.variantRules[0];
  EXPECT_EQ(r0.level, 1);
  EXPECT_EQ(r0.from, "PH");
  EXPECT_EQ(r0.to, "F");
  EXPECT_EQ(r0.condition, "X>0");
  const VariantRule& r1 = t.variantRules[1];
  EXPECT_EQ(r1.level, 3);
  EXPECT_EQ(r1.from, "A,B");  // the quotes go, the comma inside stays
  EXPECT_EQ(r1.to, "\xc9");
  EXPECT_EQ(r1.condition, "\"C,D\",E");  // the whole rest of the line
  EXPECT_EQ(t.variantRules[2].to, "K");
  EXPECT_EQ(t.variantRules[2].condition, "");
  EXPECT_EQ(t.variantRules[3].level, 12);
  EXPECT_EQ(t.variantRules[3].from, "");
  EXPECT_EQ(t.variantRules[4].condition, "COND");  // the tab ends the line
}

TEST(LoadVariantRules, ReplacesPreviousRulesButAMissingFileKeepsThem) {
  TempFolder dir("genor");
  RulesTables t;
  t.reset();
  t.loadVariantRulesText("[Genor]\n5,a,b,1\n");
  EXPECT_EQ(t.highestVariantLevel, 5);
  EXPECT_FALSE(t.loadVariantRules(dir.file("none.rul")));
  EXPECT_EQ(t.variantRules.size(), 1u);
  EXPECT_EQ(t.highestVariantLevel, 5);

  const std::string longRule = "2," + std::string(300, 'o') + ",u,1";
  dir.write("g.rul", "[Genor] variants\r\n" + longRule + "\r\n");
  EXPECT_TRUE(t.loadVariantRules(dir.file("g.rul")));
  ASSERT_EQ(t.variantRules.size(), 1u);  // the rest of the long line starts with "o"
  EXPECT_EQ(t.highestVariantLevel, 2);
  EXPECT_EQ(t.variantRules[0].from, std::string(253, 'O'));
}

}  // namespace
}  // namespace lirno
