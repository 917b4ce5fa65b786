#include "results/sorting.h"

#include <gtest/gtest.h>

#include "results/document_label.h"

namespace lirno {
namespace {

cTargetList listOf(const std::vector<std::pair<std::string, int>>& textsAndCounts,
                   const std::vector<std::string>& labels = {}) {
  cTargetList list;
  for (std::size_t i = 0; i < textsAndCounts.size(); ++i) {
    auto t = std::make_unique<Target>();
    t->text = textsAndCounts[i].first;
    t->occurrences.resize(static_cast<std::size_t>(textsAndCounts[i].second));
    if (!labels.empty()) t->document = DocumentLabel(labels[i]);
    list.records().push_back(std::move(t));
  }
  return list;
}

std::string order(const cTargetList& list) {
  std::string out;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out += ' ';
    out += list[i].text;
    if (!list[i].document.empty()) out.append("@").append(fileNameOfLabel(list[i].document.str()));
  }
  return out;
}

TEST(SortingTest, RightToLeftPutsCommonEndingsTogether) {
  EXPECT_LT(compareRightToLeft("parla", "chanta"), 0);
  EXPECT_LT(compareRightToLeft("chanta", "parlat"), 0);
  EXPECT_LT(compareRightToLeft("chant", "amant"), 0);
  EXPECT_LT(compareRightToLeft("ant", "amant"), 0);
  EXPECT_EQ(compareRightToLeft("ant", "ant"), 0);
  cTargetList list = listOf({{"parlat", 1}, {"chanta", 1}, {"parla", 1}});
  sortTargets(list, 4, false);
  EXPECT_EQ(order(list), "parla chanta parlat");
  sortTargets(list, 5, false);
  EXPECT_EQ(order(list), "parlat chanta parla");
}

TEST(SortingTest, BytesCompareUnsignedFromTheLeftAndSignedFromTheRight) {
  // é is 233: after e from the left, before it from the right.
  cTargetList list = listOf({{"caf\xe9", 1}, {"cafe", 1}});
  sortTargets(list, 2, false);
  EXPECT_EQ(order(list), "cafe caf\xe9");
  sortTargets(list, 4, false);
  EXPECT_EQ(order(list), "caf\xe9 cafe");
  sortTargets(list, 3, false);
  EXPECT_EQ(order(list), "caf\xe9 cafe");
  EXPECT_LT(compareBytes("ab", "abc"), 0);
}

TEST(SortingTest, CountsThenLabels) {
  cTargetList list = listOf({{"a", 2}, {"b", 1}, {"c", 2}, {"d", 3}},
                            {"z.rtf | /", "y.rtf | /", "x.rtf | /", "w.rtf | /"});
  sortTargets(list, 0, false);
  EXPECT_EQ(order(list), "b@y.rtf c@x.rtf a@z.rtf d@w.rtf");
  sortTargets(list, 1, false);
  EXPECT_EQ(order(list), "d@w.rtf c@x.rtf a@z.rtf b@y.rtf");  // the label tie-break stays ascending
}

TEST(SortingTest, DocumentFirstPutsTheLabelBeforeThePrimaryKey) {
  cTargetList list = listOf({{"b", 1}, {"a", 5}, {"c", 2}, {"a", 3}},
                            {"m.rtf | /", "n.rtf | /", "m.rtf | /", "m.rtf | /"});
  sortTargets(list, 1, true);
  EXPECT_EQ(order(list), "a@m.rtf c@m.rtf b@m.rtf a@n.rtf");
  sortTargets(list, 2, true);
  EXPECT_EQ(order(list), "a@m.rtf b@m.rtf c@m.rtf a@n.rtf");
  EXPECT_FALSE(list.keyOrdered());
}

TEST(SortingTest, NextOrdersCycle) {
  int o = 0;
  std::vector<int> seen;
  for (int k = 0; k < 5; ++k) seen.push_back(o = nextTextOrder(o));
  EXPECT_EQ(seen, (std::vector<int>{2, 3, 4, 5, 2}));
  EXPECT_EQ(nextNumberOrder(0), 1);
  EXPECT_EQ(nextNumberOrder(1), 0);
  EXPECT_EQ(nextNumberOrder(4), 0);
  EXPECT_EQ(nextTextOrder(1), 2);
  std::vector<int> clicks;
  o = 0;
  for (int k = 0; k < 6; ++k) clicks.push_back(o = orderAfterDocumentClick(o));
  EXPECT_EQ(clicks, (std::vector<int>{1, 2, 3, 4, 0, 1}));
  EXPECT_EQ(orderAfterDocumentClick(5), 0);
}

TEST(SortingTest, AnOrderOutsideTheSixChangesNothing) {
  cTargetList list = listOf({{"b", 1}, {"a", 1}});
  sortTargets(list, 6, false);
  EXPECT_EQ(order(list), "b a");
  cTargetList empty;
  sortTargets(empty, 2, false);
  EXPECT_TRUE(empty.empty());
}

TEST(DocumentLabelTest, BuildsAndReadsLabels) {
  EXPECT_EQ(documentLabel("/corpus/ms 12.rtf", "/prog/"), "ms 12.rtf | /corpus/");
  EXPECT_EQ(documentLabel("ms12.rtf", "/prog/"), "ms12.rtf | /prog/");
  EXPECT_EQ(documentLabel("sub/ms12.rtf", "/prog/"), "ms12.rtf | /prog/sub/");
  EXPECT_EQ(documentLabel("", "/prog/"), "");
  EXPECT_EQ(pathOfLabel("ms 12.rtf | /corpus/"), "/corpus/ms 12.rtf");
  EXPECT_EQ(fileNameOfLabel("ms 12.rtf | /corpus/"), "ms 12.rtf");
  EXPECT_EQ(fileNameOfLabel("plain"), "plain");
}

}  // namespace
}  // namespace lirno
