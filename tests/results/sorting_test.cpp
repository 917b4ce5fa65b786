#include "results/sorting.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

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
  EXPECT_FALSE(list.labelOrdered());
}

TEST(SortingTest, EveryOrderIsThatOfTheComparisons) {
  // Texts that share their first or last bytes, are prefixes of each other,
  // run past 8, 10, 12 and 16 bytes and hold bytes above 127 or 0; labels
  // shared and held apart; counts that tie. The result must be a
  // permutation in which no target comes after one the comparisons put
  // behind it.
  std::mt19937 r(12);
  const char bytes[] = {'a', 'b', 'z', '\x7f', '\x80', '\xe9', '\xff', '-', '\0'};
  for (int round = 0; round < 40; ++round) {
    for (const bool labelled : {true, false}) {
      std::vector<std::pair<std::string, int>> texts;
      std::vector<std::string> labels;
      // Some lists long enough for buckets within buckets.
      const int n = 1 + static_cast<int>(r() % (round % 4 == 0 ? 4000 : 300));
      for (int k = 0; k < n; ++k) {
        std::string text(1 + r() % 20, 'a');
        for (char& c : text) c = bytes[r() % 3 == 0 ? r() % sizeof bytes : r() % 2];
        // Long texts told apart only past their first or last 16 bytes.
        if (r() % 4 == 0) {
          const std::string stem = "ab\xe9-zab\x80" "ba-\xff" "zabb";
          const std::string end = text.substr(0, r() % 4);
          text = r() % 2 ? stem + end : end + stem;
        }
        texts.emplace_back(text, static_cast<int>(r() % 4));
        labels.push_back(std::string(1, "xyz"[r() % 3]) + ".rtf | /d/");
      }
      for (int sortOrder = 0; sortOrder <= 5; ++sortOrder) {
        cTargetList list = listOf(texts, labelled ? labels : std::vector<std::string>{});
        std::multiset<std::string> before, after;
        for (std::size_t k = 0; k < list.size(); ++k) before.insert(list[k].text.str() + "@" + list[k].document.str());
        sortTargets(list, sortOrder, false);
        for (std::size_t k = 0; k < list.size(); ++k) after.insert(list[k].text.str() + "@" + list[k].document.str());
        ASSERT_EQ(after, before);
        for (std::size_t k = 1; k < list.size(); ++k) {
          const Target& a = list[k - 1];
          const Target& b = list[k];
          int c;
          switch (sortOrder) {
            case 0: c = compareCount(a, b); break;
            case 1: c = compareCount(b, a); break;
            case 2: c = compareBytes(a.text, b.text); break;
            case 3: c = compareBytes(b.text, a.text); break;
            case 4: c = compareRightToLeft(a.text, b.text); break;
            default: c = compareRightToLeft(b.text, a.text); break;
          }
          if (c == 0) c = compareDocument(a, b);
          ASSERT_LE(c, 0) << "order " << sortOrder << " at " << k << ": " << order(list);
        }
      }
    }
  }
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

#include <random>

#include "results/occurrence_place.h"

namespace lirno {
namespace {

TEST(PlaceCursorTest, GivesWhatPlaceOfGives) {
  std::mt19937 r(3);
  for (int c = 0; c < 100; ++c) {
    Document doc;
    doc.text = std::string(300, 'x');
    if (r() % 2) doc.text[0] = static_cast<char>(0xB1);
    std::int32_t at = 0;
    const MarkKind kinds[] = {MarkKind::Page, MarkKind::Folio, MarkKind::Glyph, MarkKind::Span};
    for (int k = 0; k < 12; ++k) {
      Mark m;
      m.kind = kinds[r() % 4];
      m.index = at;
      m.position = at + at / 7;
      m.number = static_cast<std::int32_t>(k + 1);
      m.value = static_cast<std::int32_t>(r() % 2);
      doc.marks.push_back(std::move(m));
      at += static_cast<std::int32_t>(r() % 30);
    }
    for (const Unit unit : {Unit::Position, Unit::Index}) {
      PlaceCursor cursor(doc, unit, 0xB1);
      for (int q = 0; q < 60; ++q) {
        // Mostly growing, now and then back.
        const auto value = static_cast<std::int32_t>(q % 17 == 16 ? r() % 100 : q * 6 + r() % 6);
        const Location a = cursor.at(value), b = placeOf(doc, value, unit, 0xB1);
        ASSERT_EQ(a.page, b.page);
        ASSERT_EQ(a.folio, b.folio);
        ASSERT_EQ(a.side, b.side);
        ASSERT_EQ(a.glyph, b.glyph);
        ASSERT_EQ(a.spanStart, b.spanStart);
        ASSERT_EQ(a.spanLength, b.spanLength);
      }
    }
  }
}

}  // namespace
}  // namespace lirno
