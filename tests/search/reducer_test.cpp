#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <random>

#include "search/entry_prefilter.h"
#include "search/rules_tables.h"

namespace lirno {
namespace {

// The reduction as the rules describe it: the whole list walked, in order,
// at each place. The reducer finds its entries through an index instead.
class PlainReducer {
 public:
  explicit PlainReducer(const RulesTables& t) : t_(t) {}
  unsigned char next(const unsigned char* text) {
    if (emit_ > 0) {
      --emit_;
      if (swallow_ > 0) --swallow_;
      return static_cast<unsigned char>(entry_->replacement[next_++]);
    }
    if (swallow_ > 0) {
      --swallow_;
      return 0;
    }
    if (const SubstitutionEntry* e = firstEntry(text)) {
      entry_ = e;
      next_ = 0;
      swallow_ = static_cast<int>(e->find.size()) - 1;
      if (e->replacement.empty()) return 0;
      emit_ = static_cast<int>(e->replacement.size()) - 1;
      return static_cast<unsigned char>(e->replacement[next_++]);
    }
    return t_.substitution[t_.upper[text[0]]];
  }
  const SubstitutionEntry* firstEntry(const unsigned char* text) const {
    for (const SubstitutionEntry& e : t_.substitutions) {
      std::size_t j = 0;
      while (j < e.find.size() && text[j] != 0 && t_.upper[text[j]] == static_cast<unsigned char>(e.find[j])) ++j;
      if (!e.find.empty() && j == e.find.size()) return &e;
    }
    return nullptr;
  }

 private:
  const RulesTables& t_;
  int swallow_ = 0, emit_ = 0;
  const SubstitutionEntry* entry_ = nullptr;
  std::size_t next_ = 0;
};

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

TEST(Reducer, TheIndexGivesThePlainWalksResultOnGeneratedEntriesAndTexts) {
  // Few characters, so that entries share prefixes, repeat, and contain
  // one another; the control character upper-cases to 0, as does the 0 an
  // entry may hold.
  const std::string alphabet = std::string("aAbBcC\x01x", 8);
  const std::string entryAlphabet = std::string("ABC\0", 4);
  std::mt19937 random(17);
  for (int round = 0; round < 60; ++round) {
    RulesTables t;
    t.reset();
    const int count = 1 + static_cast<int>(random() % (round < 30 ? 12 : 400));
    for (int k = 0; k < count; ++k) {
      std::string find, replacement;
      const std::size_t m = 1 + random() % 5;
      for (std::size_t j = 0; j < m; ++j) find += entryAlphabet[random() % (random() % 8 == 0 ? 4 : 3)];
      const std::size_t r = random() % (m + 1);
      for (std::size_t j = 0; j < r; ++j) replacement += "KLM"[random() % 3];
      t.substitutions.push_back({find, replacement});
    }
    const EntryPrefilter prefilter(t);
    for (int n = 0; n < 20; ++n) {
      std::string text;
      const std::size_t length = random() % 40;
      for (std::size_t j = 0; j < length; ++j) text += alphabet[random() % alphabet.size()];
      const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
      Reducer indexed(t);
      PlainReducer plain(t);
      for (std::size_t i = 0; i < text.size(); ++i) {
        ASSERT_EQ(indexed.next(text.c_str() + i), plain.next(bytes + i)) << "round " << round << " at " << i;
        ASSERT_EQ(prefilter.entryBegins(bytes + i), plain.firstEntry(bytes + i) != nullptr);
      }
    }
  }
}

TEST(Reducer, ManyEntriesAreFoundThroughTheIndex) {
  // 100 000 entries: the last ones still win where no earlier one matches.
  RulesTables t;
  t.reset();
  for (int k = 0; k < 100000; ++k) {
    std::string find;
    for (int v = k; find.size() < 4; v /= 26) find += static_cast<char>('A' + v % 26);
    t.substitutions.push_back({"Q" + find, "Z"});
  }
  const std::string last = "q" + t.substitutions.back().find.substr(1) + "x";
  EXPECT_EQ(reduce(t, last), (std::vector<int>{'Z', 0, 0, 0, 0, 'X'}));
  EXPECT_EQ(reduce(t, "qzzzzx"), (std::vector<int>{'Q', 'Z', 'Z', 'Z', 'Z', 'X'}));
}

}  // namespace
}  // namespace lirno
