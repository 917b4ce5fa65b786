#include "search/matcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "search/driver.h"
#include "support/engine_fixture.h"

namespace lirno {
namespace {

using testing::makeDocument;
using testing::makeRequest;
using testing::summary;

// Every case runs with both scan methods: the fast one must find exactly
// what the plain one finds.
class MatcherTest : public ::testing::TestWithParam<ScanMethod> {
 protected:
  RulesTables rules = testing::testRules();

  std::string find(SearchRequest& rq, const std::string& text) {
    targets.clear();
    preparePatterns(rq.strings, rq, rules);
    scanDocument(rq, makeDocument(text), rules, DocumentLabel(), targets, GetParam());
    return summary(targets);
  }

  cTargetList targets;
};

TEST_P(MatcherTest, SeparatorsEndAPartialMatchUnlessIgnored) {
  auto rq = makeRequest({{"AB"}});
  rq.showSymbols = false;  // the found text keeps the letters only
  EXPECT_EQ(find(rq, "A B\n"), "");
  rq.ignoreSeparators = true;
  EXPECT_EQ(find(rq, "A B\n"), "AB:0");
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].occurrences[0].length, 3);  // from A to B, the blank included
  // Recorded at the end of the sentence, not at the blank.
  EXPECT_EQ(find(rq, "A B"), "");
}

TEST_P(MatcherTest, SentenceContextMatchesAcrossWords) {
  auto rq = makeRequest({{"AB"}}, kSpellingSame, kContextSentence);
  rq.ignoreSeparators = false;
  rq.showSymbols = false;
  EXPECT_EQ(find(rq, "XA, BY. A.B\n"), "ABY:1");
  const Occurrence& o = targets[0].occurrences[0];
  EXPECT_EQ(o.contextStart, 0);
  EXPECT_EQ(o.contextLength, 7);  // "XA, BY." up to the full stop
  EXPECT_EQ(o.sentenceStart, 0);
  EXPECT_EQ(o.sentenceEnd, 5);
}

TEST_P(MatcherTest, AnAbandonedPartialMatchIsNotRetriedFromItsSecondCharacter) {
  auto rq = makeRequest({{"AAB"}});
  EXPECT_EQ(find(rq, "AAAB\n"), "");
  EXPECT_EQ(find(rq, "AAAB AAB\n"), "AAB:5");
  auto aab = makeRequest({{"ABAC"}});
  EXPECT_EQ(find(aab, "ABABAC\n"), "");
}

TEST_P(MatcherTest, PlacesConstrainWordStartsAndEnds) {
  auto whole = makeRequest({{"CHAT", kPlaceWholeWord}});
  EXPECT_EQ(find(whole, "CHAT CHATS ACHAT\n"), "CHAT:0");
  auto middle = makeRequest({{"HA", kPlaceWordMiddle}});
  EXPECT_EQ(find(middle, "CHAT HACHE CHA\n"), "HAT:1");
  auto start = makeRequest({{"CH", kPlaceWordStart}});
  EXPECT_EQ(find(start, "CHAT ACHAT\n"), "CHAT:0");
  auto end = makeRequest({{"AT", kPlaceWordEnd}});
  EXPECT_EQ(find(end, "CHAT ATRE\n"), "AT:2");
}

TEST_P(MatcherTest, AllStringsNeedsEveryStringInTheContext) {
  auto rq = makeRequest({{"A"}, {"B"}}, kSpellingSame, kContextSentence);
  rq.allStrings = true;
  EXPECT_EQ(find(rq, "A C. A B.\n"), "A:5;B:7");
}

TEST_P(MatcherTest, AnExcludedStringVetoesItsContext) {
  auto rq = makeRequest({{"A"}, {"B", kPlaceAnywhere, true}}, kSpellingSame, kContextSentence);
  EXPECT_EQ(find(rq, "A B. A C.\n"), "A:5");
  // Without a context there is no test: excluded strings are recorded.
  auto text = makeRequest({{"A"}, {"B", kPlaceAnywhere, true}});
  EXPECT_EQ(find(text, "A B.\n"), "A:0;B:2");
}

TEST_P(MatcherTest, InOrderRejectsAContextWhereTheStringsComeReversed) {
  auto rq = makeRequest({{"A"}, {"B"}}, kSpellingSame, kContextSentence);
  rq.inOrder = true;
  EXPECT_EQ(find(rq, "B A. A B.\n"), "A:5;B:7");
  // Only the first hit of each string counts: a later A does not reject.
  EXPECT_EQ(find(rq, "A B A.\n"), "A:0,4;B:2");
}

TEST_P(MatcherTest, WordContextRecordsEveryWordThatPasses) {
  auto rq = makeRequest({{"A"}, {"T", kPlaceAnywhere, true}}, kSpellingSame, kContextWord);
  rq.ignoreSeparators = true;  // has no effect in the word context
  EXPECT_EQ(find(rq, "CAT CAR\n"), "AR:5");
  EXPECT_EQ(targets[0].occurrences[0].contextStart, 4);
  EXPECT_EQ(targets[0].occurrences[0].contextLength, 4);
}

TEST_P(MatcherTest, HitsOfTheLastWordNeedItsSeparator) {
  auto rq = makeRequest({{"AB"}});
  EXPECT_EQ(find(rq, "AB"), "");
  EXPECT_EQ(find(rq, "AB\n"), "AB:0");
}

TEST_P(MatcherTest, SymbolsAreSkippedInEverySpellingButIdentique) {
  auto upper = makeRequest({{"LAMOUR"}}, kSpellingUpper);
  upper.showSymbols = false;
  EXPECT_EQ(find(upper, "l'amour\n"), "LAMOUR:0");
  auto same = makeRequest({{"LAMOUR"}});
  EXPECT_EQ(find(same, "LAMOUR L'AMOUR\n"), "LAMOUR:0");
  auto literal = makeRequest({{"L'AMOUR"}});
  EXPECT_EQ(find(literal, "L'AMOUR\n"), "L'AMOUR:0");
}

TEST_P(MatcherTest, ATypedSymbolIsLeftOutOfThePattern) {
  // The text skips the apostrophe, so the pattern must as well.
  for (int spelling : {kSpellingUpper, kSpellingReduced}) {
    auto rq = makeRequest({{"l'amour"}}, spelling);
    rq.showSymbols = false;
    EXPECT_EQ(find(rq, "L'AMOUR\n"), "LAMOUR:0") << spelling;
  }
}

TEST_P(MatcherTest, ReductionMatchesReducedForms) {
  auto rq = makeRequest({{"kilo"}}, kSpellingReduced);
  EXPECT_EQ(find(rq, "quilo philo QUILO\n"), "KILO:0,12");
  auto ph = makeRequest({{"FILO"}}, kSpellingReduced);
  EXPECT_EQ(find(ph, "quilo philo\n"), "FILO:6");
  // H is dropped, so the match begins at the o, after the word start.
  auto h = makeRequest({{"OMME"}}, kSpellingReduced);
  EXPECT_EQ(find(h, "homme\n"), "OMME:1");
  auto hStart = makeRequest({{"OMME", kPlaceWordStart}}, kSpellingReduced);
  EXPECT_EQ(find(hStart, "homme\n"), "");
}

TEST_P(MatcherTest, ResultSpellings) {
  auto rq = makeRequest({{"AMOUR"}}, kSpellingUpper);
  rq.resultSpelling = kResultSame;
  rq.showSymbols = false;
  EXPECT_EQ(find(rq, "d'amour\n"), "amour:2");
  rq.resultSpelling = kResultUpper;
  EXPECT_EQ(find(rq, "d'amour\n"), "AMOUR:2");
  auto reduced = makeRequest({{"QUI"}}, kSpellingReduced);
  reduced.resultSpelling = kResultReduced;
  EXPECT_EQ(find(reduced, "quid\n"), "KID:0");
}

TEST_P(MatcherTest, FiltersDecideWhichWordsAreRecorded) {
  // The check sees the hit from its first matched character to its word's end.
  auto rq = makeRequest({{"A"}});
  rq.filters = {{"AR", kAnchorStart}};
  EXPECT_EQ(find(rq, "ART ATE CART\n"), "ART:0,9");
  auto ch = makeRequest({{"CH"}});
  ch.filters = {{"AT", kAnchorEnd}};
  EXPECT_EQ(find(ch, "CHAT CHOU\n"), "CHAT:0");
}

INSTANTIATE_TEST_SUITE_P(BothMethods, MatcherTest,
                         ::testing::Values(ScanMethod::kPlain, ScanMethod::kFast),
                         [](const auto& info) {
                           return info.param == ScanMethod::kPlain ? "Plain" : "Fast";
                         });

class FilterCheckTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules();
  bool passes(const std::string& hit, const cFilterList& filters, bool skipSymbols = true) {
    return filterCheck(reinterpret_cast<const unsigned char*>(hit.c_str()),
                       static_cast<std::int32_t>(hit.size()), skipSymbols, filters, rules);
  }
};

TEST_F(FilterCheckTest, AnchoredPatterns) {
  EXPECT_TRUE(passes("chateau", {{"CHA", kAnchorStart}}));
  EXPECT_FALSE(passes("achat", {{"CHA", kAnchorStart}}));
  EXPECT_TRUE(passes("achat", {{"HAT", kAnchorEnd}}));
  EXPECT_FALSE(passes("chats", {{"HAT", kAnchorEnd}}));
  EXPECT_TRUE(passes("ch'at", {{"CHAT", kAnchorStart}}));       // symbol passed over
  EXPECT_FALSE(passes("ch'at", {{"CHAT", kAnchorStart}}, false));
  EXPECT_TRUE(passes("cha't", {{"AT", kAnchorEnd}}));
  EXPECT_FALSE(passes("cha", {{"CHAT", kAnchorStart}}));  // longer than the hit
}

TEST_F(FilterCheckTest, AComparisonNeverReadsPastTheHit) {
  // "ch'a" is 4 characters, the pattern 4 long: with the symbol passed over
  // the hit holds only CHA, whatever follows it in the text.
  const std::string text = "ch'at";
  EXPECT_FALSE(filterCheck(reinterpret_cast<const unsigned char*>(text.c_str()), 4, true,
                           {{"CHAT", kAnchorStart}}, rules));
}

TEST_F(FilterCheckTest, TheScansCheckerAnswersAsTheCheckForHitsInOrderOfTheirEnds) {
  // Words of few letters, so that patterns match here and there; the hits
  // of a word begin anywhere in it and end at its end, as a scan's do.
  std::uint32_t seed = 11;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (std::uint32_t length = 1 + next() % 200; text.size() < length;) text += "ab'c"[next() % 4];
    cFilterList filters;
    for (std::uint32_t k = 1 + next() % 3; k-- > 0;) {
      std::string pattern;
      for (std::uint32_t m = 1 + next() % 3; m-- > 0;) pattern += "ABC"[next() % 3];
      filters.push_back({pattern, static_cast<int>(std::array<int, 4>{kAnchorNone, kAnchorNone, kAnchorStart, kAnchorEnd}[next() % 4])});
    }
    const bool skipSymbols = next() % 2;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
    FilterChecker checker(filters, skipSymbols, rules);
    std::int32_t end = 0;
    while (end < static_cast<std::int32_t>(text.size())) {
      end = std::min<std::int32_t>(static_cast<std::int32_t>(text.size()), end + 1 + static_cast<std::int32_t>(next() % 60));
      std::vector<std::int32_t> starts;
      for (std::uint32_t h = next() % 8; h-- > 0;) starts.push_back(static_cast<std::int32_t>(next() % static_cast<std::uint32_t>(end)));
      if (next() % 2) std::sort(starts.begin(), starts.end());
      for (const std::int32_t start : starts) {
        ASSERT_EQ(checker.check(bytes + start, end - start),
                  filterCheck(bytes + start, end - start, skipSymbols, filters, rules))
            << text << " from " << start << " to " << end;
      }
    }
  }
}

TEST_F(FilterCheckTest, AnUnanchoredPatternMatchesAnywhereInTheHit) {
  EXPECT_TRUE(passes("amour", {{"MOU", kAnchorNone}}));
  EXPECT_TRUE(passes("am'our", {{"MOU", kAnchorNone}}));
  EXPECT_FALSE(passes("tour", {{"MOU", kAnchorNone}}));
}

TEST_F(FilterCheckTest, APatternAnchoredAtBothEndsMustEqualTheHit) {
  EXPECT_TRUE(passes("chat", {{"CHAT", kAnchorBoth}}));
  EXPECT_TRUE(passes("ch'at", {{"CHAT", kAnchorBoth}}));
  EXPECT_FALSE(passes("chats", {{"CHAT", kAnchorBoth}}));
  EXPECT_FALSE(passes("achat", {{"CHAT", kAnchorBoth}}));
}

TEST_F(FilterCheckTest, TheFirstMatchingPatternPasses) {
  EXPECT_TRUE(passes("rat", {{"CH", kAnchorStart}, {"R", kAnchorStart}}));
  EXPECT_FALSE(passes("rat", {{"CH", kAnchorStart}, {"Z", kAnchorNone}}));
  EXPECT_FALSE(passes("rat", {}));
}

}  // namespace
}  // namespace lirno
