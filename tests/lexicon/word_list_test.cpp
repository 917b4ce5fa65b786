#include "lexicon/word_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>

#include "support/engine_fixture.h"

namespace lirno {
namespace {

using testing::FakeDocuments;
using testing::makeDocument;
using testing::summary;

class WordListTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules();
  cTargetList targets;

  std::string words(const std::string& text, int spelling = kResultSame, bool symbols = false,
                    const cFilterList& filters = {}) {
    targets.clear();
    wordScan(makeDocument(text), DocumentLabel(), filters, rules, spelling, symbols, targets);
    finishWordList(targets, false, {});  // the order shown: by text
    return summary(targets);
  }
};

TEST_F(WordListTest, EveryWordWithItsOccurrences) {
  EXPECT_EQ(words("le chat, le chien."), "chat:3;chien:12;le:0,9");
  EXPECT_EQ(finishWordList(targets, false, {}), "Mots : 3  Occurrences : 4");
  EXPECT_EQ(words("Le chat, le chien.", kResultUpper), "CHAT:3;CHIEN:12;LE:0,9");
}

TEST_F(WordListTest, AVeryLongWordIsCutAndTheStatusLineSaysSo) {
  const std::string word(5000, 'q');
  words("a " + word + " b " + word + ".", kResultUpper);
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets.records()[2]->text, std::string(kMaxFoundTextLength, 'Q'));
  EXPECT_EQ(targets.records()[2]->length, 5000);
  EXPECT_EQ(targets.records()[2]->occurrences.size(), 2u);
  EXPECT_EQ(finishWordList(targets, false, {}),
            "Mots : 3  Occurrences : 4  Textes coup\xe9s \xe0 1024 caract\xe8res");
  words("a b.");
  EXPECT_EQ(finishWordList(targets, false, {}), "Mots : 2  Occurrences : 2");
}

TEST_F(WordListTest, AWordAtTheEndOfTheTextIsNotCounted) {
  EXPECT_EQ(words("un deux"), "un:0");
}

TEST_F(WordListTest, SymbolsStayInsideAWordButNotBeforeIt) {
  EXPECT_EQ(words("l'amour 'chat \n", kResultSame, true), "chat:9;l'amour:0");
  EXPECT_EQ(words("l'amour 'chat \n", kResultSame, false), "chat:9;lamour:0");
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[1].length, 7);
  EXPECT_EQ(targets[1].occurrences[0].length, 7);
}

TEST_F(WordListTest, FiltersKeepTheWordsThatPassThem) {
  EXPECT_EQ(words("chat rat chien\n", kResultSame, false, {{"CH", kAnchorStart}}), "chat:0;chien:9");
  EXPECT_EQ(words("ch'at rat\n", kResultSame, false, {{"CHAT", kAnchorBoth}}), "chat:0");
}

TEST_F(WordListTest, IndexesOfTheWordSentenceAndParagraph) {
  words("A. B C.\nD\n");
  ASSERT_EQ(targets.size(), 4u);
  const Occurrence& a = targets[0].occurrences[0];
  EXPECT_EQ(a.wordEnd, 0);  // not overwritten by the next sentence's end
  EXPECT_EQ(a.sentenceEnd, 0);
  EXPECT_EQ(a.paragraphEnd, 5);
  EXPECT_EQ(a.contextStart, -1);
  const Occurrence& c = targets[2].occurrences[0];
  EXPECT_EQ(c.wordStart, 5);
  EXPECT_EQ(c.sentenceStart, 3);
  EXPECT_EQ(c.paragraphStart, 0);
  const Occurrence& d = targets[3].occurrences[0];
  EXPECT_EQ(d.paragraphStart, 8);
  EXPECT_EQ(d.start, 9);  // the line break counted 2
}

TEST_F(WordListTest, ALineBreakCountsTwoPositionsWhateverItsClass) {
  rules.loadRulesText("[Separators]\n32=2\n10=4\n");  // CR is a letter here
  words("ab\rcd ef\n");
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[1].text, "ef");
  EXPECT_EQ(targets[1].occurrences[0].start, 7);
}

TEST_F(WordListTest, ACorpusGivesOneTargetPerDocumentAndWord) {
  FakeDocuments documents;
  documents.files["/c/a.txt"] = "le chat\n";
  documents.files["/c/b.txt"] = "le chien\n";
  std::vector<std::string> corpus = {"/c/b.txt", "/c/a.txt", "/c/none.txt"};
  EngineContext context{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
  SearchRequest rq;
  rq.useCorpus = true;
  rq.resultSpelling = kResultSame;
  rq.sortFromRight = true;
  EXPECT_EQ(runWordList(rq, targets, context), "Mots : 4  Occurrences : 4");
  EXPECT_EQ(documents.missing, std::vector<std::string>{"/c/none.txt"});
  ASSERT_EQ(targets.size(), 4u);
  // Right to left, then by label: le (a, b), chien, chat.
  EXPECT_EQ(targets[0].text, "le");
  EXPECT_EQ(targets[0].document.str(), "a.txt | /c/");
  EXPECT_EQ(targets[1].document.str(), "b.txt | /c/");
  EXPECT_EQ(targets[2].text, "chien");
  EXPECT_EQ(targets[3].text, "chat");
}

}  // namespace
}  // namespace lirno

namespace lirno {
namespace {

// The word list as the algorithm reads, with a fresh reduction for every
// word: the recorder's shortcuts (found texts kept by their bytes, the
// reducer asked only where an entry may begin, the ends filled by ranges)
// must change nothing. Each occurrence: start, word end, sentence end,
// paragraph end.
using Ends = std::array<std::int32_t, 4>;
std::map<std::string, std::vector<Ends>> referenceWords(const std::string& text, const RulesTables& rules,
                                                        int spelling) {
  std::map<std::string, std::vector<Ends>> words;
  std::vector<std::pair<std::string, std::size_t>> sentenceOpen, paragraphOpen;
  std::int32_t position = 0, start = -1, startPosition = 0, last = -1;
  for (std::int32_t i = 0; i < static_cast<std::int32_t>(text.size()); ++i) {
    const auto c = static_cast<unsigned char>(text[static_cast<std::size_t>(i)]);
    const int m = rules.classOf(c);
    if (m == kWordChar) {
      if (start < 0) {
        start = i;
        startPosition = position;
      }
      last = i;
    } else if (m >= kWordSeparator) {
      if (start >= 0) {
        std::string form;
        Reducer reducer(rules);
        for (std::int32_t k = start; k <= last; ++k) {
          const auto b = static_cast<unsigned char>(text[static_cast<std::size_t>(k)]);
          if (spelling == kResultReduced) {
            if (rules.classOf(b) == kSymbol) continue;
            if (const unsigned char r = reducer.next(text.c_str() + k)) form += static_cast<char>(r);
          } else if (rules.classOf(b) == kWordChar) {
            form += static_cast<char>(spelling == kResultUpper ? rules.upperOf(b) : b);
          }
        }
        auto& found = words[form];
        found.push_back({startPosition, last, kUnknownEnd, kUnknownEnd});
        sentenceOpen.emplace_back(form, found.size() - 1);
        paragraphOpen.emplace_back(form, found.size() - 1);
      }
      start = -1;
      if (m >= kSentenceSeparator) {
        for (const auto& [form, k] : sentenceOpen) words[form][k][2] = last;
        sentenceOpen.clear();
      }
      if (m >= kParagraphSeparator) {
        for (const auto& [form, k] : paragraphOpen) words[form][k][3] = last;
        paragraphOpen.clear();
      }
    }
    position += c == '\n' || c == '\r' ? 2 : 1;
  }
  return words;
}

TEST(WordListReferenceTest, GeneratedTextsGiveTheReferenceWords) {
  // Entries that run over a comma, a blank or an apostrophe after a word.
  const RulesTables rules = testing::testRules("[Substitutions]\nSS=S\nE,=X\nA =Y\nL'=Z\nEAU=O\n");
  std::mt19937 r(11);
  const char alphabet[] = "aaeeelllssuu AE, .'\n-";
  // Long words that share their first eight letters or more, and letters
  // above 127: the order of the list is that of the bytes, unsigned.
  const char* const stems[] = {"chevaliere", "chevalieres", "chevalie", "chevali\xe9", "\xe9l\xe9ment", "a"};
  for (int c = 0; c < 400; ++c) {
    std::string text;
    const std::size_t length = 20 + r() % 600;
    for (std::size_t i = 0; i < length; ++i) {
      if (c >= 300 && r() % 4 == 0) {
        text += stems[r() % 6];
      } else {
        text += alphabet[r() % (sizeof alphabet - 1)];
      }
    }
    text += '\n';
    for (int spelling : {kResultSame, kResultUpper, kResultReduced}) {
      cTargetList targets;
      wordScan(testing::makeDocument(text), DocumentLabel(), {}, rules, spelling, false, targets);
      finishWordList(targets, false, {});
      std::map<std::string, std::vector<Ends>> got;
      std::vector<std::string> order;
      for (const auto& t : targets.records()) {
        for (const Occurrence& o : t->occurrences) {
          got[t->text.str()].push_back({o.start, o.wordEnd, o.sentenceEnd, o.paragraphEnd});
        }
        order.push_back(t->text.str());
      }
      const auto expected = referenceWords(text, rules, spelling);
      ASSERT_EQ(got, expected) << "spelling " << spelling << " text " << text;
      std::vector<std::string> expectedOrder;
      for (const auto& [word, starts] : expected) expectedOrder.push_back(word);
      ASSERT_EQ(order, expectedOrder) << "spelling " << spelling << " text " << text;
    }
  }
}

}  // namespace
}  // namespace lirno
