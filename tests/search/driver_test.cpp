#include "search/driver.h"

#include <gtest/gtest.h>

#include "search/request_builder.h"
#include "shell/command_line.h"
#include "support/engine_fixture.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using testing::FakeDocuments;
using testing::makeDocument;
using testing::makeRequest;
using testing::summary;

class DriverTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules("[Genor]\n1,Y,I,\n");
  FakeDocuments documents;
  std::vector<std::string> corpus;
  EngineContext context{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
  cTargetList targets;

  void open(const std::string& text) { documents.open = makeDocument(text, true, "/doc/current.txt"); }
};

TEST_F(DriverTest, PatternsAreUpperCasedOrReducedWithoutTheirSymbols) {
  auto rq = makeRequest({{"l'\xe9quipe"}, {"phare"}}, kSpellingUpper);
  preparePatterns(rq.strings, rq, rules);
  EXPECT_EQ(rq.strings[0]->pattern, "L\xc9QUIPE");
  rq.spelling = kSpellingReduced;
  preparePatterns(rq.strings, rq, rules);
  EXPECT_EQ(rq.strings[0]->pattern, "L\xc9KIPE");
  EXPECT_EQ(rq.strings[1]->pattern, "FARE");
  rq.spelling = kSpellingSame;
  preparePatterns(rq.strings, rq, rules);
  EXPECT_EQ(rq.strings[0]->pattern, "l'\xe9quipe");
}

TEST_F(DriverTest, ATypedSymbolIsDroppedBeforeTheReduction) {
  open("quinze q'uinze kinze\n");
  auto typed = makeRequest({{"q'uinze"}}, kSpellingReduced);
  const SearchOutcome withSymbol = runSearch(typed, targets, context, false);
  EXPECT_EQ(typed.strings[0]->pattern, "KINZE");
  const std::size_t found = targets.occurrenceCount();
  auto plain = makeRequest({{"quinze"}}, kSpellingReduced);
  runSearch(plain, targets, context, false);
  EXPECT_EQ(plain.strings[0]->pattern, "KINZE");
  EXPECT_EQ(targets.occurrenceCount(), found);
  EXPECT_EQ(found, 2u);
  EXPECT_EQ(withSymbol.status.substr(0, 7), "\"KINZE\"");
}

TEST_F(DriverTest, ACharacterThatUpperCasesToZeroIsLeftOutOfFoundTextsAndPatterns) {
  // The tab is no separator in these rules, and codes below 32 have no
  // upper-case form.
  open("A\tB\n");
  auto rq = makeRequest({{"a"}}, kSpellingUpper);
  runSearch(rq, targets, context, false);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets.records()[0]->text, "AB");
  auto typed = makeRequest({{"a\tb"}}, kSpellingUpper);
  const SearchOutcome out = runSearch(typed, targets, context, false);
  EXPECT_EQ(typed.strings[0]->pattern, "AB");
  EXPECT_EQ(targets.occurrenceCount(), 1u);
  EXPECT_EQ(out.status.find('\0'), std::string::npos);
}

TEST_F(DriverTest, FoundTextsAreCutInALongWordAndTheStatusLineSaysSo) {
  // Every "a" of the word begins a hit that runs to the word's end.
  open("x " + std::string(3000, 'a') + ".\n");
  auto rq = makeRequest({{"a"}}, kSpellingUpper);
  const SearchOutcome out = runSearch(rq, targets, context, false);
  EXPECT_EQ(targets.occurrenceCount(), 3000);
  ASSERT_EQ(targets.size(), 1024u);  // 1976 hits share the cut text
  std::size_t longest = 0;
  for (const auto& t : targets.records()) longest = std::max(longest, t->text.size());
  EXPECT_EQ(longest, static_cast<std::size_t>(kMaxFoundTextLength));
  EXPECT_EQ(targets.records().back()->occurrences.size(), 1977u);
  EXPECT_EQ(out.status, "\"A\"  Mots : 1024  Occurrences : 3000  Textes coup\xe9s \xe0 1024 caract\xe8res");
  open("x " + std::string(1024, 'a') + ".\n");  // a hit of 1024 characters is whole
  EXPECT_EQ(runSearch(rq, targets, context, false).status, "\"A\"  Mots : 1024  Occurrences : 1024");
}

TEST_F(DriverTest, TheStatusLineShowsThePatternsTheContextAndTheCounts) {
  open("le chat et le chien. Un chat.\n");
  auto rq = makeRequest({{"chat"}, {"chien", kPlaceAnywhere, true}}, kSpellingUpper, kContextSentence);
  rq.allStrings = true;
  const SearchOutcome out = runSearch(rq, targets, context, false);
  EXPECT_TRUE(out.searched);
  // The first sentence holds the excluded CHIEN; the second passes, an
  // excluded string being the one that "all strings" lets miss.
  EXPECT_EQ(out.status, "\"CHAT + !CHIEN\" (Contx : Phrase, tout)  Mots : 1  Occurrences : 1");
  context.translate = [](std::string_view s) { return "<" + std::string(s) + ">"; };
  EXPECT_EQ(searchStatusLine(rq, targets, context.translate),
            "\"CHAT + !CHIEN\" (<Contx : ><Phrase>, <tout>)<  Mots : >1<  Occurrences : >1");
  rq.context = kContextText;
  rq.inOrder = true;
  EXPECT_EQ(searchStatusLine(rq, targets, {}), "\"CHAT + !CHIEN\"  Mots : 1  Occurrences : 1");
}

TEST_F(DriverTest, ACorpusSearchSkipsAMissingDocumentAndLabelsTheOthers) {
  documents.files["/c/one.txt"] = "un chat\n";
  documents.files["/prog/three.txt"] = "trois chats\n";
  corpus = {"/c/one.txt", "/c/two.txt", "three.txt"};
  open("chat\n");
  auto rq = makeRequest({{"CHAT"}}, kSpellingUpper);
  rq.useCorpus = true;
  runSearch(rq, targets, context, false);
  EXPECT_EQ(documents.missing, std::vector<std::string>{"/c/two.txt"});
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0].text, "CHAT");
  EXPECT_EQ(targets[0].document.str(), "one.txt | /c/");
  EXPECT_EQ(targets[1].text, "CHATS");
  EXPECT_EQ(targets[1].document.str(), "three.txt | /prog/");
  EXPECT_EQ(documents.open.path, "");  // no document is open afterwards
  EXPECT_TRUE(highlightRanges(targets, "").empty());
  ASSERT_EQ(highlightRanges(targets, "one.txt | /c/").size(), 1u);
}

TEST_F(DriverTest, ProgressThatSaysStopEndsTheCorpusBetweenTwoDocuments) {
  documents.files["/c/one.txt"] = "un chat\n";
  documents.files["/c/two.txt"] = "deux chats\n";
  corpus = {"/c/one.txt", "/c/two.txt", "/c/three.txt"};
  std::vector<std::size_t> asked;
  context.progress = [&](std::size_t k, std::size_t n) {
    asked.push_back(k);
    EXPECT_EQ(n, 3u);
    return k < 1;
  };
  auto rq = makeRequest({{"CHAT"}}, kSpellingUpper);
  rq.useCorpus = true;
  const SearchOutcome out = runSearch(rq, targets, context, false);
  EXPECT_EQ(asked, (std::vector<std::size_t>{0, 1}));
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].document.str(), "one.txt | /c/");
  EXPECT_TRUE(out.corpus.interrupted);
  EXPECT_EQ(out.corpus.done, 1u);
  EXPECT_EQ(out.corpus.total, 3u);
  EXPECT_EQ(out.status, "\"CHAT\"  Mots : 1  Occurrences : 1  Interrompu apr\xe8s 1 documents sur 3");
  EXPECT_EQ(documents.open.path, "");

  // Run to the end, the work says nothing more.
  context.progress = [](std::size_t, std::size_t) { return true; };
  const SearchOutcome whole = runSearch(rq, targets, context, false);
  EXPECT_FALSE(whole.corpus.interrupted);
  EXPECT_EQ(whole.corpus.done, 3u);
  EXPECT_EQ(interruptionNote(whole.corpus, {}), "");
}

TEST_F(DriverTest, EachSearchStartsWithAnEmptyListAndSortsIt) {
  open("zut bah zut\n");
  auto rq = makeRequest({{"ZUT"}, {"BAH"}}, kSpellingUpper);
  runSearch(rq, targets, context, false);
  EXPECT_EQ(summary(targets), "BAH:4;ZUT:0,8");
  rq.strings.pop_back();
  rq.sortFromRight = true;
  const SearchOutcome out = runSearch(rq, targets, context, false);
  EXPECT_EQ(out.sortOrder, 4);
  EXPECT_EQ(summary(targets), "ZUT:0,8");
  const auto ranges = highlightRanges(targets, "");
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[1].start, 8);
  EXPECT_EQ(ranges[1].length, 3);
}

TEST_F(DriverTest, VariantsAreSearchedForTheirStringAndRemovedAfterwards) {
  open("le lys et le lis.\n");
  auto rq = makeRequest({{"LYS"}, {"ET"}}, kSpellingGenerated, kContextSentence);
  rq.resultSpelling = kResultReduced;
  rq.allStrings = true;
  std::size_t seen = 0;
  context.reviewVariants = [&](cArrowList& strings) {
    seen = strings.size();
    return true;
  };
  const SearchOutcome out = runSearch(rq, targets, context, true);
  EXPECT_EQ(seen, 3u);  // LYS, ET and the variant LIS
  EXPECT_EQ(summary(targets), "ET:7;LIS:13;LYS:3");
  EXPECT_EQ(rq.strings.size(), 2u);
  EXPECT_EQ(out.status, "\"LYS + ET\" (Contx : Phrase, tout)  Mots : 3  Occurrences : 3");
}

TEST_F(DriverTest, CancellingTheVariantDialogKeepsThePreviousResults) {
  open("le lys.\n");
  auto first = makeRequest({{"LE"}}, kSpellingUpper);
  runSearch(first, targets, context, false);
  auto rq = makeRequest({{"LYS"}}, kSpellingGenerated);
  context.reviewVariants = [](cArrowList&) { return false; };
  const SearchOutcome out = runSearch(rq, targets, context, true);
  EXPECT_FALSE(out.searched);
  EXPECT_EQ(summary(targets), "LE:0");
  ASSERT_EQ(rq.strings.size(), 1u);
  EXPECT_EQ(rq.strings[0]->parent, nullptr);
  // Without the dialog (a command-line search) the variants are searched.
  runSearch(rq, targets, context, false);
  EXPECT_EQ(summary(targets), "LYS:3");
}

TEST_F(DriverTest, WithoutVariantRulesGeneratedSearchesLikeReduced) {
  rules.variantRules.clear();
  open("quel kel\n");
  auto rq = makeRequest({{"KEL"}}, kSpellingGenerated);
  rq.resultSpelling = kResultReduced;
  runSearch(rq, targets, context, false);
  EXPECT_EQ(summary(targets), "KEL:0,5");
}

TEST_F(DriverTest, GenerationsAreSavedOnlyWhenAsked) {
  testing::TempFolder folder("driver");
  context.generationFile = folder.file("Lirno_Genor.txt");
  open("lys\n");
  auto rq = makeRequest({{"LYS"}}, kSpellingGenerated);
  runSearch(rq, targets, context, false);
  EXPECT_FALSE(folder.exists("Lirno_Genor.txt"));
  rq.saveGenerations = true;
  runSearch(rq, targets, context, false);
  EXPECT_EQ(folder.read("Lirno_Genor.txt"), "LYS\t2\tY->I (1)\tLIS\r\n");
}

TEST_F(DriverTest, ABoundedGenerationSaysSoInTheStatus) {
  rules = testing::testRules("[Genor]\n1,A,AB,\n1,A,AC,\n");
  open("abc\n");
  auto rq = makeRequest({{"A"}}, kSpellingGenerated);
  const SearchOutcome out = runSearch(rq, targets, context, false);
  EXPECT_TRUE(out.generationLimits.perString);
  EXPECT_FALSE(out.generationLimits.perRequest);
  EXPECT_NE(out.status.find("  G\xe9n\xe9ration limit\xe9" "e : 10000 variantes par cha\xeene au plus"),
            std::string::npos);
}

TEST_F(DriverTest, TheStatusLineTellsTheRequestBound) {
  auto rq = makeRequest({{"A"}}, kSpellingGenerated);
  VariantLimits limits;
  limits.perRequest = true;
  EXPECT_EQ(searchStatusLine(rq, targets, {}, limits),
            "\"A\"  Mots : 0  Occurrences : 0  G\xe9n\xe9ration arr\xeat\xe9" "e : 100000 variantes ou "
            "2000000 applications de r\xe8gles par recherche au plus");
}

TEST(CommandLineRequestTest, TakesTheOptionsAndNumbersTheStrings) {
  const CommandLine cl = parseCommandLine("-X2 -D -W0 -Y -S4X B -S A -Ia:c doc.txt");
  const std::vector<std::string> filters = {"A:D\xe9" "but=^B", "B:Fin=T$", "C:Mot=^A$"};
  SearchRequest rq;
  EXPECT_TRUE(buildCommandLineRequest(cl, filters, true, false, rq));
  ASSERT_EQ(rq.strings.size(), 2u);
  EXPECT_EQ(rq.strings[0]->text, "B");
  EXPECT_EQ(rq.strings[0]->place, kPlaceWholeWord);
  EXPECT_TRUE(rq.strings[0]->exclude);
  EXPECT_EQ(rq.strings[1]->order, 1);
  EXPECT_EQ(rq.context, kContextSentence);
  EXPECT_TRUE(rq.inOrder);
  EXPECT_FALSE(rq.ignoreSeparators);
  EXPECT_EQ(rq.spelling, kSpellingReduced);
  EXPECT_EQ(rq.resultSpelling, kResultSame);  // -I sets it to 0 after -W0
  EXPECT_TRUE(rq.showSymbols);
  EXPECT_FALSE(rq.useCorpus);
  EXPECT_EQ(rq.filterDescription, "A:D\xe9" "but, C:Mot");
  ASSERT_EQ(rq.filters.size(), 2u);
  EXPECT_EQ(rq.filters[1].anchor, kAnchorBoth);

  SearchRequest like;
  EXPECT_TRUE(buildCommandLineRequest(parseCommandLine("-S x"), {}, false, true, like));
  EXPECT_TRUE(like.useCorpus);
  EXPECT_EQ(like.resultSpelling, kResultReduced);  // like the spelling "Modifiée"
  EXPECT_FALSE(like.showSymbols);
}

TEST(CommandLineRequestTest, NothingIsSearchedWithoutDocumentOrCorpus) {
  SearchRequest rq;
  EXPECT_FALSE(buildCommandLineRequest(parseCommandLine("-S abc"), {}, false, false, rq));
  EXPECT_EQ(rq.strings.size(), 1u);  // listed for the search dialog all the same
}

TEST_F(DriverTest, InOrderFromTheCommandLineRejectsReversedStrings) {
  SearchRequest rq;
  ASSERT_TRUE(buildCommandLineRequest(parseCommandLine("-X2 -D -M1 -S b -S a"), {}, true, false, rq));
  open("a b. b a.\n");
  runSearch(rq, targets, context, false);
  // The strings are ranked b then a: only the second sentence passes.
  EXPECT_EQ(summary(targets), "A:7;B:5");
}

}  // namespace
}  // namespace lirno
