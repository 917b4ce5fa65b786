#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/rules_tables.h"

namespace lirno {
namespace {

// The reducer's output for a whole text, one entry per character, 0 where
// no character stands.
std::vector<int> reduce(const RulesTables& t, const std::string& text) {
  Reducer r(t);
  std::vector<int> out;
  for (std::size_t i = 0; i < text.size(); ++i) out.push_back(r.next(text.c_str() + i));
  return out;
}

RulesTables tables(const std::string& substitutions) {
  RulesTables t;
  t.loadRulesText("[Uppers]\n0xe9=0xc9\n[Substitutions]\n" + substitutions);
  return t;
}

TEST(Reducer, ExamplesOfTheMultiCharacterEntries) {
  const RulesTables t = tables("QU=K\nSS=\nPH=FFF\nEAU=O\n");
  EXPECT_EQ(reduce(t, "QUI"), (std::vector<int>{'K', 0, 'I'}));
  EXPECT_EQ(reduce(t, "ASSA"), (std::vector<int>{'A', 0, 0, 'A'}));
  EXPECT_EQ(reduce(t, "PHI"), (std::vector<int>{'F', 'F', 'I'}));
  EXPECT_EQ(reduce(t, "BEAUX"), (std::vector<int>{'B', 'O', 0, 0, 'X'}));
  // Entries compare the upper-cased text.
  EXPECT_EQ(reduce(t, "qu\xeate"), (std::vector<int>{'K', 0, 0xEA, 'T', 'E'}));
  // Never across the end of the text.
  EXPECT_EQ(reduce(t, "Q"), (std::vector<int>{'Q'}));
  EXPECT_EQ(reduce(t, "AS"), (std::vector<int>{'A', 'S'}));
}

TEST(Reducer, EntriesAreTriedInFileOrder) {
  EXPECT_EQ(reduce(tables("AB=X\nABC=Y\n"), "ABC"), (std::vector<int>{'X', 0, 'C'}));
  EXPECT_EQ(reduce(tables("ABC=Y\nAB=X\n"), "ABC"), (std::vector<int>{'Y', 0, 0}));
}

TEST(Reducer, SingleCharacterMapGoesThroughTheUpperCaseForm) {
  const RulesTables t = tables("H=\nY=I\n\xc9=E\n");
  EXPECT_EQ(reduce(t, "hy\xc9\xe9"), (std::vector<int>{0, 'I', 'E', 'E'}));
}

TEST(Reducer, AfterAnEntryTheStateIsDrainedForTheNextText) {
  const RulesTables t = tables("ABCD=X\n");
  Reducer r(t);
  const std::string text = "ABCDE";
  std::vector<int> out;
  for (std::size_t i = 0; i < text.size(); ++i) out.push_back(r.next(text.c_str() + i));
  EXPECT_EQ(out, (std::vector<int>{'X', 0, 0, 0, 'E'}));
  const std::string again = "ABCD";
  EXPECT_EQ(r.next(again.c_str()), 'X');  // no state left over
}

TEST(Reducer, AnEntryHoldingAZeroByteNeverReadsPastTheText) {
  RulesTables t;
  t.reset();
  t.substitutions.push_back({std::string("A\0B", 3), "Z"});
  const char text[] = {'A', '\0', 'B', '\0'};
  Reducer r(t);
  EXPECT_EQ(r.next(text), 'A');
}

}  // namespace
}  // namespace lirno
