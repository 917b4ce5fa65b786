#include "lexicon/word_list.h"

#include <gtest/gtest.h>

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
    return summary(targets);
  }
};

TEST_F(WordListTest, EveryWordWithItsOccurrences) {
  EXPECT_EQ(words("le chat, le chien."), "chat:3;chien:12;le:0,9");
  EXPECT_EQ(finishWordList(targets, false, {}), "Mots : 3  Occurrences : 4");
  EXPECT_EQ(words("Le chat, le chien.", kResultUpper), "CHAT:3;CHIEN:12;LE:0,9");
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
