#include "search/variants.h"

#include <gtest/gtest.h>

#include "support/engine_fixture.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

std::string join(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

RulesTables genor(const std::string& lines) { return testing::testRules("[Genor]\n" + lines); }

TEST(GenerateVariantsTest, ARuleAppliesFromItsLevelOn) {
  const RulesTables rules = genor("1,Y,I,\n");
  EXPECT_EQ(join(generateVariants("YVER", 1, rules.variantRules, nullptr).words), "IVER YVER");
  EXPECT_EQ(join(generateVariants("YVER", 0, rules.variantRules, nullptr).words), "YVER");
}

TEST(GenerateVariantsTest, TwoPlacesGiveBothVariantsThenTheirCombination) {
  const RulesTables rules = genor("1,A,E,\n");
  EXPECT_EQ(join(generateVariants("ABA", 1, rules.variantRules, nullptr).words), "ABA ABE EBA EBE");
}

TEST(GenerateVariantsTest, ConditionsSeeTheWordAroundTheRule) {
  // E becomes AI only before a T; a final S is dropped only at the end.
  const RulesTables rules = genor("1,E,AI,X+1='T'\n2,S,,X+1=' '\n");
  EXPECT_EQ(join(generateVariants("FETES", 1, rules.variantRules, nullptr).words), "FAITES FETES");
  EXPECT_EQ(join(generateVariants("FETES", 2, rules.variantRules, nullptr).words),
            "FAITE FAITES FETE FETES");
  const RulesTables blank = genor("1,E,AI,X+1 = 'T'\n");
  EXPECT_EQ(join(generateVariants("FETES", 1, blank.variantRules, nullptr).words), "FETES");
}

TEST(GenerateVariantsTest, AQuotedFieldHoldsItsCommasWithoutItsQuotes) {
  const RulesTables rules = genor("1,\"A,B\",C,\n1,'X',\"Y,Z\",\n");
  ASSERT_EQ(rules.variantRules.size(), 2u);
  EXPECT_EQ(rules.variantRules[0].from, "A,B");
  EXPECT_EQ(rules.variantRules[0].to, "C");
  EXPECT_EQ(join(generateVariants("A,BD", 1, rules.variantRules, nullptr).words), "A,BD CD");
  EXPECT_EQ(rules.variantRules[1].from, "'X'");  // only double quotes enclose a field
  EXPECT_EQ(rules.variantRules[1].to, "Y,Z");
}

TEST(GenerateVariantsTest, GrowthWithoutEndIsBounded) {
  // Each pass lengthens the word: the length bound stops it.
  const RulesTables longer = genor("1,A,AA,\n");
  GeneratedVariants g = generateVariants("A", 1, longer.variantRules, nullptr);
  EXPECT_TRUE(g.limited);
  EXPECT_EQ(g.words.size(), kMaxVariantLength);
  EXPECT_EQ(g.words.back().size(), kMaxVariantLength);
  // Here the count doubles at each pass: the count bound stops it.
  const RulesTables wider = genor("1,A,AB,\n1,A,AC,\n");
  g = generateVariants("A", 1, wider.variantRules, nullptr);
  EXPECT_TRUE(g.limited);
  EXPECT_EQ(g.words.size(), kMaxVariantsPerWord);
  EXPECT_FALSE(generateVariants("ABA", 1, genor("1,A,E,\n").variantRules, nullptr).limited);
}

TEST(GenerateVariantsTest, TheLogListsEveryApplicationAlsoOfAKnownVariant) {
  const RulesTables rules = genor("1,A,B,\n1,C,B,\n");
  testing::TempFolder folder("genor");
  folder.write("Lirno_Genor.txt", "previous run\r\n");
  GenerationLog log;
  ASSERT_TRUE(log.open(folder.file("Lirno_Genor.txt")));
  const auto g = generateVariants("AC", 1, rules.variantRules, &log);
  // The previous log stays whole until the new one is.
  EXPECT_EQ(folder.read("Lirno_Genor.txt"), "previous run\r\n");
  EXPECT_TRUE(log.close());
  EXPECT_EQ(join(g.words), "AB AC BB BC");
  // BC and AB in the second pass both give BB: two lines, one variant.
  EXPECT_EQ(folder.read("Lirno_Genor.txt"),
            "AC\t1\tA->B (1)\tBC\r\n"
            "AC\t2\tC->B (1)\tAB\r\n"
            "BC\t2\tC->B (1)\tBB\r\n"
            "AB\t1\tA->B (1)\tBB\r\n");
}

struct ConditionCase {
  const char* condition;
  const char* word;
  long long x;
  long long expected;
};

class ConditionTest : public ::testing::TestWithParam<ConditionCase> {};

TEST_P(ConditionTest, Evaluates) {
  const ConditionCase& c = GetParam();
  EXPECT_EQ(evaluateCondition(c.condition, c.word, c.x), c.expected)
      << c.condition << " at " << c.x << " of " << c.word;
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ConditionTest,
    ::testing::Values(
        ConditionCase{"", "ABC", 1, 1},
        ConditionCase{"X='A'", "ABC", 0, 1}, ConditionCase{"X='A'", "ABC", 1, 0},
        ConditionCase{"'B'=X", "ABC", 1, 1},  // either order
        ConditionCase{"X=\"BC\"", "ABC", 1, 1}, ConditionCase{"X='BCD'", "ABC", 1, 0},
        ConditionCase{"X+2#'E'", "ABCE", 0, 1}, ConditionCase{"X+2#'E'", "ABCE", 1, 0},
        ConditionCase{"X-1=' '", "ABC", 0, 1}, ConditionCase{"X-1=' '", "ABC", 1, 0},
        ConditionCase{"X+1=' '", "ABC", 2, 1},
        ConditionCase{"X=1+1", "ABC", 2, 1},          // "+" binds tighter than "="
        ConditionCase{"X=0|X=2", "ABC", 2, 1},         // "|" is the loosest
        ConditionCase{"X=0&X=2", "ABC", 2, 0},
        ConditionCase{"X#'A'&X#'C'", "ABC", 1, 1}, ConditionCase{"X#'A'&X#'C'", "ABC", 2, 0},
        ConditionCase{"6&3", "", 0, 2}, ConditionCase{"4|1", "", 0, 5},
        ConditionCase{"10-3-2", "", 0, 5},             // left to right
        ConditionCase{"-(X+1)", "ABC", 2, -3}, ConditionCase{"-X", "ABC", 2, 2},
        ConditionCase{"X+-1=' '", "ABC", 0, 1},        // one sign after an operator
        ConditionCase{"(X-1)='A'", "ABC", 1, 1},
        ConditionCase{"x='a'", "abc", 0, 1},
        // Errors give 0.
        ConditionCase{"X = 'A'", "ABC", 0, 0},   // a blank outside a literal
        ConditionCase{"X=", "ABC", 0, 0},        // ends after an operator
        ConditionCase{"X'A'", "ABC", 0, 0},      // an operand where an operator is expected
        ConditionCase{"XY", "ABC", 0, 0},        // an unknown character after an operand
        ConditionCase{"X=&'A'", "ABC", 0, 0},    // an operator where an operand is expected
        ConditionCase{"X+--1", "ABC", 2, 0},     // two signs in a row
        ConditionCase{"(X=0", "ABC", 0, 0},      // "(" without ")"
        ConditionCase{"X=0)", "ABC", 0, 0},
        ConditionCase{"X='A", "ABC", 0, 0},      // no closing quote
        ConditionCase{"Y", "ABC", 0, 0},         // an unknown character
        ConditionCase{"()", "ABC", 0, 0},
        ConditionCase{"'A'", "ABC", 0, 0}));     // a literal is no truth value

TEST(ConditionDepthTest, DeepParenthesesAreAnErrorNotAStackOverflow) {
  const auto nested = [](int depth) { return std::string(depth, '(') + "X=1" + std::string(depth, ')'); };
  EXPECT_EQ(evaluateCondition(nested(kMaxConditionDepth), "AB", 1), 1);
  EXPECT_EQ(evaluateCondition(nested(kMaxConditionDepth + 1), "AB", 1), 0);
  EXPECT_EQ(evaluateCondition(nested(100000), "AB", 1), 0);
  EXPECT_EQ(evaluateCondition(std::string(100000, '('), "AB", 1), 0);
  // Depth is counted per nesting, not per parenthesis.
  std::string flat = "X=1";
  for (int k = 0; k < 5000; ++k) flat += "&(X=1)";
  EXPECT_EQ(evaluateCondition(flat, "AB", 1), 1);
}

TEST(CreateVariantStringsTest, TheWholeRequestIsBoundedToo) {
  // A rule that lengthens the word: every string would reach its own bound.
  const RulesTables rules = genor("1,A,AA,\n");
  const auto request = [] {
    cArrowList strings;
    for (int k = 0; k < 50; ++k) {
      auto s = std::make_unique<SearchString>();
      s->pattern = "BAB" + std::to_string(k) + "A";
      strings.push_back(std::move(s));
    }
    return strings;
  };
  cArrowList strings = request();
  VariantLimits limits = createVariantStrings(strings, 1, rules.variantRules, nullptr, {300, 1000000});
  EXPECT_TRUE(limits.perRequest);
  EXPECT_EQ(strings.size(), 50u + 300u);
  // The applications bound stops the generation in the middle of a string,
  // keeping what it found.
  strings = request();
  testing::TempFolder folder("genor");
  GenerationLog log;
  ASSERT_TRUE(log.open(folder.file("Lirno_Genor.txt")));
  limits = createVariantStrings(strings, 1, rules.variantRules, &log, {1000000, 25});
  log.close();
  EXPECT_TRUE(limits.perRequest);
  EXPECT_FALSE(limits.perString);
  const std::string written = folder.read("Lirno_Genor.txt");
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 25);
  EXPECT_GT(strings.size(), 50u);
  EXPECT_LT(strings.size(), 50u + 25u);
  // Within the bounds nothing changes.
  strings = request();
  EXPECT_FALSE(createVariantStrings(strings, 1, genor("1,B,P,\n").variantRules, nullptr, {150, 200}).any());
  EXPECT_EQ(strings.size(), 200u);
}

TEST(CreateVariantStringsTest, VariantsJoinTheListAsChildrenOfTheirString) {
  const RulesTables rules = genor("1,Y,I,\n");
  auto rq = testing::makeRequest({{"YVER", kPlaceWholeWord, true}, {"LYS"}});
  EXPECT_FALSE(createVariantStrings(rq.strings, 1, rules.variantRules, nullptr).any());
  ASSERT_EQ(rq.strings.size(), 4u);
  const SearchString& iver = *rq.strings[2];
  EXPECT_EQ(iver.pattern, "IVER");
  EXPECT_EQ(iver.text, "");
  EXPECT_EQ(iver.parent, rq.strings[0].get());
  EXPECT_EQ(iver.place, kPlaceWholeWord);
  EXPECT_TRUE(iver.exclude);
  EXPECT_EQ(rq.strings[3]->pattern, "LIS");
  EXPECT_EQ(rq.strings[3]->order, 1);
}

TEST(CreateVariantStringsTest, AVariantThatIsAlreadyAPatternAddsNothing) {
  const RulesTables rules = genor("1,Y,I,\n");
  auto rq = testing::makeRequest({{"YVER"}, {"IVER"}});
  createVariantStrings(rq.strings, 1, rules.variantRules, nullptr);
  EXPECT_EQ(rq.strings.size(), 2u);
}

}  // namespace
}  // namespace lirno
