#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace lirno {
namespace {

struct SearchCase {
  const char* line;
  int spelling;
  int generationLevel;
  int context;
  int resultSpelling;
  bool resultLikeSpelling;
};

class SearchOptionsTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(SearchOptionsTest, SetsTheSearchValues) {
  const SearchCase& c = GetParam();
  const CommandLine cl = parseCommandLine(c.line);
  EXPECT_EQ(cl.spelling, c.spelling) << c.line;
  EXPECT_EQ(cl.generationLevel, c.generationLevel) << c.line;
  EXPECT_EQ(cl.context, c.context) << c.line;
  EXPECT_EQ(cl.resultSpelling, c.resultSpelling) << c.line;
  EXPECT_EQ(cl.resultLikeSpelling, c.resultLikeSpelling) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchOptionsTest,
    ::testing::Values(
        SearchCase{"", 2, 1, 0, 1, true},
        SearchCase{"-M0", 0, 1, 0, 1, true},
        SearchCase{"-m1", 1, 1, 0, 1, true},
        SearchCase{"-M3", 2, 1, 0, 1, true},    // only 0 to 2
        SearchCase{"-G3 -M0", 3, 3, 0, 1, true},  // -M applies only below 3
        SearchCase{"-M0 -G", 3, 1, 0, 1, true},
        SearchCase{"-G0", 3, 1, 0, 1, true},    // level digit 1 to 9
        SearchCase{"-G9", 3, 9, 0, 1, true},
        SearchCase{"-X2", 2, 1, 2, 1, true},
        SearchCase{"-X3 -X", 2, 1, 0, 1, true},  // -X resets the context
        SearchCase{"-X7", 2, 1, 0, 1, true},    // no such context: ignored
        SearchCase{"-W", 2, 1, 0, 1, false},
        SearchCase{"-W2 -IA", 2, 1, 0, 0, false},
        SearchCase{"-IA -W2", 2, 1, 0, 2, false},
        SearchCase{"-W0", 2, 1, 0, 0, false},
        SearchCase{"-W5", 2, 1, 0, 1, false}));

TEST(CommandLineTest, FlagsAndFilterKeys) {
  CommandLine cl = parseCommandLine("-p -A -d -Y -Ia:b");
  EXPECT_TRUE(cl.ignoreSeparators);
  EXPECT_TRUE(cl.allStrings);
  EXPECT_TRUE(cl.inOrder);
  EXPECT_TRUE(cl.showSymbols);
  EXPECT_EQ(cl.filterKeys, "A:B");
  EXPECT_EQ(cl.resultSpelling, 0);

  cl = parseCommandLine("-Pxyz -Dummy");  // letters after the second character are ignored
  EXPECT_TRUE(cl.ignoreSeparators);
  EXPECT_TRUE(cl.inOrder);
  EXPECT_FALSE(cl.allStrings);
}

TEST(CommandLineTest, FileOptionsTakeTheNextTokenAsTyped) {
  const CommandLine cl =
      parseCommandLine("-Rules My.rul -l Eng.LNG -T t.the -C \"c d.cor\" -O ignored -F Doc.RTF");
  EXPECT_EQ(cl.rulesFile, "My.rul");
  EXPECT_EQ(cl.languageFile, "Eng.LNG");
  EXPECT_EQ(cl.thesaurusFile, "t.the");
  EXPECT_EQ(cl.corpusFile, "c d.cor");
  EXPECT_EQ(cl.fileToOpen, "Doc.RTF");
}

TEST(CommandLineTest, AnArgumentAfterAnOptionIsTakenWhateverItLooksLike) {
  const CommandLine cl = parseCommandLine("-R -G -F -S");
  EXPECT_EQ(cl.rulesFile, "-G");
  EXPECT_EQ(cl.spelling, 2);
  EXPECT_EQ(cl.fileToOpen, "-S");
  EXPECT_FALSE(cl.searchStrings);
}

TEST(CommandLineTest, BareArgumentsOpenAFileQuotedOrNot) {
  EXPECT_EQ(parseCommandLine("/data/ms 12.rtf").fileToOpen, "12.rtf");  // cut at the space
  EXPECT_EQ(parseCommandLine("\"/data/ms 12.rtf\"").fileToOpen, "/data/ms 12.rtf");
  EXPECT_EQ(parseCommandLine("  \"/data/unclosed quote.rtf").fileToOpen, "/data/unclosed quote.rtf");
  EXPECT_TRUE(parseCommandLine("   ").fileToOpen.empty());
}

TEST(CommandLineTest, SearchStringsWithPlaceAndExclusion) {
  const CommandLine cl = parseCommandLine("-S2X abc -S def -s4x9 Ghi -S13 \"un mot\" doc.rtf");
  ASSERT_TRUE(cl.searchStrings);
  ASSERT_EQ(cl.searchStrings->size(), 4u);
  EXPECT_EQ((*cl.searchStrings)[0].text, "abc");
  EXPECT_EQ((*cl.searchStrings)[0].place, 2);
  EXPECT_TRUE((*cl.searchStrings)[0].exclude);
  EXPECT_EQ((*cl.searchStrings)[1].text, "def");
  EXPECT_EQ((*cl.searchStrings)[1].place, 0);
  EXPECT_FALSE((*cl.searchStrings)[1].exclude);
  EXPECT_EQ((*cl.searchStrings)[2].text, "Ghi");  // as typed
  EXPECT_EQ((*cl.searchStrings)[2].place, 4);     // 9 is no place
  EXPECT_TRUE((*cl.searchStrings)[2].exclude);
  EXPECT_EQ((*cl.searchStrings)[3].text, "un mot");
  EXPECT_EQ((*cl.searchStrings)[3].place, 3);  // the last digit wins
  EXPECT_EQ(cl.fileToOpen, "doc.rtf");
  EXPECT_EQ(cl.spelling, 2);
}

TEST(CommandLineTest, OnlyTheFirst1024CharactersAfterTheFirstTokenAreRead) {
  const std::string filler(1023, 'x');
  // "-P", a blank, a 1023-character file name, " -A": the rest after "-P" is
  // cut to 1024 characters, which drops the "-A".
  CommandLine cl = parseCommandLine("-P " + filler + " -A");
  EXPECT_TRUE(cl.ignoreSeparators);
  EXPECT_EQ(cl.fileToOpen, filler);
  EXPECT_FALSE(cl.allStrings);
  cl = parseCommandLine("-P " + std::string(1000, 'y') + " -A");
  EXPECT_TRUE(cl.allStrings);
}

using Args = std::vector<std::string>;

TEST(CommandLineTest, EachArgumentIsOneTokenWhateverItHolds) {
  // A double quote inside an argument opens nothing: no corpus sneaks in.
  const CommandLine cl = parseCommandArguments(
      {"-S", "x\" -C \"/path/sample.cor", "/a b/c.rtf", "-S2X", "  un mot ", "-P", ""}, true);
  ASSERT_TRUE(cl.searchStrings);
  ASSERT_EQ(cl.searchStrings->size(), 2u);
  EXPECT_EQ((*cl.searchStrings)[0].text, "x\" -C \"/path/sample.cor");
  EXPECT_EQ((*cl.searchStrings)[1].text, "un mot");  // trimmed, as every token is
  EXPECT_EQ((*cl.searchStrings)[1].place, 2);
  EXPECT_TRUE((*cl.searchStrings)[1].exclude);
  EXPECT_EQ(cl.corpusFile, "");
  EXPECT_EQ(cl.fileToOpen, "");  // the last, empty argument
  EXPECT_TRUE(cl.ignoreSeparators);
  EXPECT_EQ(cl.dropped, "");
}

TEST(CommandLineTest, TheWorkbenchCutsItsArgumentsAsItsCommandLineAndSaysWhatItDropped) {
  // As on one line: "-P", a blank, 1023 characters, " -A": the "-A" is past
  // the 1024 characters after the first token.
  const std::string filler(1023, 'x');
  CommandLine cl = parseCommandArguments({"-P", filler, "-A", "-D"}, true);
  EXPECT_TRUE(cl.ignoreSeparators);
  EXPECT_EQ(cl.fileToOpen, filler);
  EXPECT_FALSE(cl.allStrings);
  EXPECT_EQ(cl.dropped, "-A -D");
  // A quoted argument across the limit is read up to it, as the text parser
  // reads it.
  const std::string spaced = std::string(600, 'y') + " " + std::string(600, 'z');
  cl = parseCommandArguments({"-F", spaced, "-A"}, true);
  EXPECT_EQ(cl.fileToOpen, parseCommandLine("-F \"" + spaced + "\" -A").fileToOpen);
  EXPECT_EQ(cl.fileToOpen, spaced.substr(0, 1023));  // after its opening quote
  EXPECT_EQ(cl.dropped, spaced.substr(1023) + " -A");
  EXPECT_FALSE(cl.allStrings);
}

TEST(CommandLineTest, WithoutTheCutEveryArgumentIsRead) {
  Args args;
  for (int i = 0; i < 10000; ++i) {
    args.push_back("-S");
    args.push_back("s" + std::to_string(i));
  }
  args.push_back("-A");
  const CommandLine cl = parseCommandArguments(args, false);
  ASSERT_TRUE(cl.searchStrings);
  EXPECT_EQ(cl.searchStrings->size(), 10000u);
  EXPECT_EQ(cl.searchStrings->back().text, "s9999");
  EXPECT_TRUE(cl.allStrings);
  // The workbench's cut keeps what its command line would have read.
  std::string line;
  for (const std::string& a : args) line += (line.empty() ? "" : " ") + a;
  const CommandLine cutOne = parseCommandArguments(args, true);
  EXPECT_EQ(cutOne.searchStrings->size(), parseCommandLine(line).searchStrings->size());
  EXPECT_LT(cutOne.searchStrings->size(), 200u);
  EXPECT_FALSE(cutOne.allStrings);
  EXPECT_EQ(cutOne.dropped.substr(cutOne.dropped.size() - 8), "s9999 -A");
}

TEST(CommandLineTest, Utf8SearchStringsAreConvertedOrNamedAsUnconvertible) {
  const CommandLine cl =
      parseCommandArguments({"-S", "\xC3\xA9t\xC3\xA9", "-S2X", "\xC5\x82\xC3\xB3" "d\xC5\xBA", "-S", "\xE9t\xE9",
                             "-S", "\xE2\x82\xACuro", "doc.txt"},
                            false);
  ASSERT_TRUE(cl.searchStrings);
  ASSERT_EQ(cl.searchStrings->size(), 3u);
  EXPECT_EQ((*cl.searchStrings)[0].text, "\xE9t\xE9");  // UTF-8 "été"
  EXPECT_EQ((*cl.searchStrings)[1].text, "\xE9t\xE9");  // already Windows-1252: kept
  EXPECT_EQ((*cl.searchStrings)[2].text, "\x80uro");     // the euro sign has a byte
  EXPECT_EQ(cl.unconvertible, "\xC5\x82\xC3\xB3" "d\xC5\xBA\n");
  EXPECT_EQ(cl.fileToOpen, "doc.txt");  // the path is never converted
}

}  // namespace
}  // namespace lirno
