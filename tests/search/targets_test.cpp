#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>

#include "results/document_label.h"
#include "results/sorting.h"
#include "search/driver.h"
#include "search/matcher.h"
#include "search/target_recorder.h"
#include "support/engine_fixture.h"

namespace lirno {
namespace {

using testing::makeDocument;
using testing::makeMark;
using testing::makeRequest;
using testing::summary;

class TargetsTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules();
  cTargetList targets;

  void scan(SearchRequest& rq, const Document& doc, const std::string& label = {}) {
    preparePatterns(rq.strings, rq, rules);
    scanDocument(rq, doc, rules, DocumentLabel(label), targets);
  }
};

TEST_F(TargetsTest, AHitAtTheSameStartIsRecordedOnce) {
  // Both strings find the word CHAT from its first character.
  auto rq = makeRequest({{"CHA"}, {"CH"}});
  scan(rq, makeDocument("CHAT CHAT\n"));
  EXPECT_EQ(summary(targets), "CHAT:0,5");
  EXPECT_EQ(targets[0].searchString, 1);  // CH completes first
  // Scanning the same document again into the same list adds nothing.
  scan(rq, makeDocument("CHAT CHAT\n"));
  EXPECT_EQ(summary(targets), "CHAT:0,5");
}

TEST_F(TargetsTest, ARepeatedStartIsFoundWhateverOrderTheHitsCameIn) {
  // Hits of one target handed over out of position order: a repeat of any
  // earlier start, not only of the latest, is dropped.
  const Document doc = makeDocument("CHAT CHAT CHAT\n");
  {
    TargetRecorder recorder(targets, doc, rules, DocumentLabel(), kResultSame, true);
    for (const std::int32_t start : {10, 0, 5, 10, 0, 5, 0}) {
      PendingTarget hit;
      hit.matchStart = hit.startPosition = hit.wordStart = start;
      hit.lengthChars = hit.lengthPositions = 4;
      recorder.record(hit, 4);
    }
  }
  ASSERT_EQ(targets.size(), 1u);
  std::vector<std::int32_t> starts;
  for (const Occurrence& o : targets[0].occurrences) starts.push_back(o.start);
  EXPECT_EQ(starts, (std::vector<std::int32_t>{10, 0, 5}));
}

TEST(TargetKeysTest, ShortKeysOfOneLengthHaveDistinctForms) {
  // Keys of up to 8 bytes are told apart by their form alone, so it must
  // hold every byte: all keys over four byte values, lengths 0 to 8.
  const char values[] = {'a', 'b', '\0', '\xff'};
  for (std::size_t length = 0; length <= 8; ++length) {
    std::set<std::uint64_t> forms;
    std::size_t keys = 1;
    for (std::size_t k = 0; k < length; ++k) keys *= 4;
    for (std::size_t n = 0; n < keys; ++n) {
      std::string key;
      for (std::size_t k = 0, v = n; k < length; ++k, v /= 4) key += values[v % 4];
      forms.insert(keyShortForm(key));
    }
    EXPECT_EQ(forms.size(), keys) << "length " << length;
  }
  // A longer key's form is its first 8 bytes.
  EXPECT_EQ(keyShortForm("abcdefghij"), keyShortForm("abcdefgh"));
}

TEST_F(TargetsTest, EachDocumentLabelHasItsOwnTargetsInLabelOrder) {
  auto rq = makeRequest({{"CHAT"}, {"RAT"}});
  scan(rq, makeDocument("CHAT RAT\n"), "a.rtf | /x/");
  scan(rq, makeDocument("RAT CHAT\n"), "b.rtf | /x/");
  ASSERT_EQ(targets.size(), 4u);
  EXPECT_TRUE(targets.labelOrdered());
  EXPECT_EQ(targets[0].document.str(), "a.rtf | /x/");
  EXPECT_EQ(targets[0].text, "CHAT");
  EXPECT_EQ(targets[1].text, "RAT");
  EXPECT_EQ(targets[2].document.str(), "b.rtf | /x/");
  // Within its label, each target where its first hit made it.
  EXPECT_EQ(targets[2].text, "RAT");
  EXPECT_EQ(targets[3].occurrences[0].start, 4);
}

TEST_F(TargetsTest, LabelsOutOfOrderKeepOneRunEach) {
  // A corpus whose labels come out of order: each label's targets stay one
  // run in the order they were made, the runs as the labels came, and a
  // label met again (its run before or after others, which then move) finds
  // its targets.
  auto rq = makeRequest({{"CHAT"}, {"RAT"}});
  const auto labels = [&] {
    std::string out;
    for (std::size_t i = 0; i < targets.size(); ++i) out += fileNameOfLabel(targets[i].document.str()).substr(0, 1);
    return out;
  };
  scan(rq, makeDocument("CHAT RAT\n"), "b.rtf | /x/");
  scan(rq, makeDocument("RAT CHAT\n"), "a.rtf | /x/");
  EXPECT_EQ(labels(), "bbaa");
  EXPECT_EQ(summary(targets), "CHAT:0;RAT:5;RAT:0;CHAT:4");
  scan(rq, makeDocument("CHAT RATE CHAT\n"), "b.rtf | /x/");  // the same label, a new word, one start again
  scan(rq, makeDocument("CHAT\n"), "c.rtf | /x/");
  scan(rq, makeDocument("RAT CHAT RATS\n"), "a.rtf | /x/");
  EXPECT_EQ(labels(), "bbbaaac");
  EXPECT_EQ(summary(targets), "CHAT:0,10;RAT:5;RATE:5;RAT:0;CHAT:4;RATS:9;CHAT:0");
  // The order of the list is the sort's in the end.
  sortTargets(targets, kSortTextAscending, false);
  EXPECT_EQ(labels(), "abcabba");
  EXPECT_EQ(summary(targets), "CHAT:4;CHAT:0,10;CHAT:0;RAT:0;RAT:5;RATE:5;RATS:9");
}

TEST_F(TargetsTest, HiddenSymbolsLeaveTheFoundTextButNotItsLength) {
  auto rq = makeRequest({{"L"}});
  rq.showSymbols = false;
  scan(rq, makeDocument("L'AMOUR\n"));
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].text, "LAMOUR");
  EXPECT_EQ(targets[0].length, 7);
}

TEST_F(TargetsTest, LongFoundTextsAreKeptWhole) {
  const std::string word = "A" + std::string(199, 'B');
  auto rq = makeRequest({{"A", kPlaceWordStart}});
  scan(rq, makeDocument(word + "\n"));
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0].text, word);
}

TEST_F(TargetsTest, PageAndFolioAreThoseOfTheMarksBeforeTheStart) {
  Document doc = makeDocument("AA BB CC DD EE\n");  // automatic page 1 at 0
  doc.marks.push_back(makeMark(MarkKind::Folio, 3, 3, 1, 0));
  doc.marks.push_back(makeMark(MarkKind::Page, 6, 6, 2));
  doc.marks.push_back(makeMark(MarkKind::Folio, 9, 9, 1, 1));
  auto rq = makeRequest({{"AA"}, {"BB"}, {"CC"}, {"DD"}, {"EE"}});
  scan(rq, doc);
  ASSERT_EQ(targets.size(), 5u);
  auto place = [&](int k) {
    const Occurrence& o = targets[static_cast<std::size_t>(k)].occurrences[0];
    return std::to_string(o.page) + "/" + std::to_string(o.folio) + (o.verso ? "v" : "r");
  };
  // A mark at the very start of a word does not count, except the
  // automatic page-1 mark of a document without page marker.
  EXPECT_EQ(place(0), "1/0r");
  EXPECT_EQ(place(1), "1/0r");
  EXPECT_EQ(place(2), "1/1r");
  EXPECT_EQ(place(3), "2/1r");
  EXPECT_EQ(place(4), "2/1v");
}

TEST_F(TargetsTest, ATypedPageMarkerKeepsTheCaretRule) {
  // The transcriber's page marker opens the text; a word that begins with
  // the marker character is before that mark, one that follows it is after.
  Document doc = makeDocument("\xB1" "AB\n", false);
  doc.marks.push_back(makeMark(MarkKind::Page, 0, 0, 1));
  auto rq = makeRequest({{"AB"}, {"\xB1"}});
  scan(rq, doc);
  sortTargets(targets, kSortTextAscending, false);
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0].text, "AB");
  EXPECT_EQ(targets[0].occurrences[0].page, 1);
  EXPECT_EQ(targets[1].occurrences[0].page, 0);
  // Without marks there is no page and no folio.
  targets.clear();
  scan(rq, makeDocument("AB\n", false));
  EXPECT_EQ(targets[0].occurrences[0].page, 0);
  EXPECT_EQ(targets[0].occurrences[0].folio, 0);
}

TEST_F(TargetsTest, SentenceAndParagraphEndsAreFilledWhenTheirSeparatorComes) {
  auto rq = makeRequest({{"A"}});
  scan(rq, makeDocument("A, B"));
  ASSERT_EQ(targets.size(), 1u);
  const Occurrence& open = targets[0].occurrences[0];
  EXPECT_EQ(open.wordEnd, 0);
  EXPECT_EQ(open.sentenceEnd, kUnknownEnd);
  EXPECT_EQ(open.paragraphEnd, kUnknownEnd);
  targets.clear();
  scan(rq, makeDocument("A, B. C\n"));
  const Occurrence& o = targets[0].occurrences[0];
  EXPECT_EQ(o.wordStart, 0);
  EXPECT_EQ(o.sentenceEnd, 3);
  EXPECT_EQ(o.paragraphEnd, 6);
}

TEST_F(TargetsTest, AnEndAtTheFirstCharacterIsKept) {
  auto rq = makeRequest({{"A"}, {"B"}});
  scan(rq, makeDocument("A. B.\n"));
  ASSERT_EQ(targets.size(), 2u);
  const Occurrence& a = targets[0].occurrences[0];
  EXPECT_EQ(a.wordEnd, 0);
  EXPECT_EQ(a.sentenceEnd, 0);
  EXPECT_EQ(a.paragraphEnd, 3);
}

// Fill ends as the plain scanner calls it, once per separator: a sentence
// end and then a paragraph end with no hit between them, hits that knew
// some of their ends, and hits left open at the end.
TEST_F(TargetsTest, EachEndComesFromTheFirstSeparatorOfItsKindAfterTheHit) {
  const Document doc = makeDocument("A B. C.\nD. E");
  {
    TargetRecorder recorder(targets, doc, rules, DocumentLabel(), 0, false);
    const auto hit = [](std::int32_t at, std::int32_t sentenceEnd = kUnknownEnd,
                        std::int32_t contextStart = -1) {
      PendingTarget t;
      t.matchStart = t.startPosition = t.wordStart = at;
      t.lengthPositions = t.lengthChars = 1;
      t.wordEnd = at;
      t.sentenceEnd = sentenceEnd;
      t.contextStart = contextStart;
      return t;
    };
    recorder.record(hit(0), 1);                 // A
    recorder.record(hit(2, 3, 0), 1);           // B, a sentence end of its own, a context
    recorder.fillEnds(2, kSentenceSeparator);   // "."
    recorder.record(hit(5), 1);                 // C
    recorder.fillEnds(5, kSentenceSeparator);   // "."
    recorder.fillEnds(5, kParagraphSeparator);  // "\n", no hit since the "."
    recorder.record(hit(8), 1);                 // D
    recorder.fillEnds(8, kSentenceSeparator);   // "."
    recorder.record(hit(11), 1);                // E, open at the end
    EXPECT_TRUE(recorder.waitingForSentenceEnds());
    EXPECT_TRUE(recorder.waitingForParagraphEnds());
  }
  ASSERT_EQ(targets.size(), 5u);
  const auto ends = [&](std::size_t k) {
    const Occurrence& o = targets[k].occurrences[0];
    return std::vector<std::int32_t>{o.wordEnd, o.sentenceEnd, o.paragraphEnd, o.contextStart};
  };
  EXPECT_EQ(ends(0), (std::vector<std::int32_t>{0, 2, 5, -1}));
  EXPECT_EQ(ends(1), (std::vector<std::int32_t>{2, 3, 5, 0}));
  EXPECT_EQ(ends(2), (std::vector<std::int32_t>{5, 5, 5, -1}));
  EXPECT_EQ(ends(3), (std::vector<std::int32_t>{8, 8, kUnknownEnd, -1}));
  EXPECT_EQ(ends(4), (std::vector<std::int32_t>{11, kUnknownEnd, kUnknownEnd, -1}));
}

TEST(DocumentLabelTest, CopiesShareTheTextUntilTheLastGoes) {
  DocumentLabel kept;
  {
    DocumentLabel original("one | /x/");
    DocumentLabel copy = original;
    DocumentLabel assigned;
    assigned = copy;
    assigned = assigned;  // itself: nothing changes
    EXPECT_EQ(&assigned.str(), &original.str());
    kept = std::move(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(copy.str(), "");
    original = DocumentLabel("two | /x/");
    EXPECT_EQ(original.str(), "two | /x/");
  }
  EXPECT_EQ(kept.str(), "one | /x/");
  EXPECT_TRUE(DocumentLabel("").empty());
}

TEST_F(TargetsTest, EndsOfOneDocumentAreNotWrittenByTheNext) {
  auto rq = makeRequest({{"A"}, {"C"}});
  scan(rq, makeDocument("A,B"), "one | /x/");
  scan(rq, makeDocument("C. D.\n"), "two | /x/");
  ASSERT_EQ(targets.size(), 2u);
  const Occurrence& a = targets[0].occurrences[0];
  EXPECT_EQ(targets[0].document.str(), "one | /x/");
  EXPECT_EQ(a.sentenceEnd, kUnknownEnd);
  EXPECT_EQ(a.paragraphEnd, kUnknownEnd);
  EXPECT_EQ(targets[1].occurrences[0].sentenceEnd, 0);
}

TEST_F(TargetsTest, RecordingIntoASortedListKeepsItsTargets) {
  auto rq = makeRequest({{"B"}, {"A"}});
  scan(rq, makeDocument("B A\n"));
  // A sort by count reorders the list; a later scan still finds the old
  // targets and puts the list back in label order.
  targets.records()[0].swap(targets.records()[1]);
  targets.setLabelOrdered(false);
  scan(rq, makeDocument("A B A\n"));
  EXPECT_EQ(summary(targets), "A:2,0,4;B:0,2");
}

TEST_F(TargetsTest, AListOfManyOccurrencesKeepsThemAllThroughClearing) {
  // 40 000 occurrences of each target: its list outgrows the list memory's
  // chunks and lives in a large block of its own, several times regrown.
  std::string text;
  for (int k = 0; k < 40000; ++k) text += "AB BA ";
  text += "\n";
  auto rq = makeRequest({{"A"}});
  for (int round = 0; round < 2; ++round) {
    scan(rq, makeDocument(text));
    sortTargets(targets, kSortTextAscending, false);
    ASSERT_EQ(targets.size(), 2u);  // "A" of BA and "AB"
    std::int64_t n = 0;
    for (std::size_t t = 0; t < targets.size(); ++t) {
      const cStarts& o = targets[t].occurrences;
      for (std::size_t k = 1; k < o.size(); ++k) ASSERT_EQ(o[k].start - o[k - 1].start, 6);
      n += static_cast<std::int64_t>(o.size());
    }
    EXPECT_EQ(n, 80000);
    EXPECT_EQ(targets[0].occurrences.back().start, 6 * 39999 + 4);
    EXPECT_EQ(targets[1].occurrences.back().start, 6 * 39999);
    targets.clear();
  }
}

TEST(TargetMemoryTest, ChunksOfAClearedListServeTheNextOne) {
  // Enough targets for many chunks, so that the next list takes both chunks
  // kept as they were and parked ones; every value must survive.
  const auto textOf = [](int k) {
    std::string text = std::to_string(k);
    text.append(static_cast<std::size_t>(k % 40), 'x');
    return text;
  };
  cTargetList list;
  for (int round = 0; round < 3; ++round) {
    const int n = 60000 + 20000 * round;
    for (int k = 0; k < n; ++k) {
      TargetRecord t = list.make();
      t->text = textOf(k);
      for (int j = 0; j <= k % 3; ++j) {
        Occurrence o;
        o.start = k * 4 + j;
        o.wordEnd = round;
        t->occurrences.push_back(o);
      }
      list.records().push_back(std::move(t));
    }
    ASSERT_EQ(list.size(), static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
      const Target& t = list[static_cast<std::size_t>(k)];
      ASSERT_EQ(t.text, textOf(k));
      ASSERT_EQ(t.occurrences.size(), static_cast<std::size_t>(k % 3 + 1));
      for (int j = 0; j <= k % 3; ++j) {
        ASSERT_EQ(t.occurrences[static_cast<std::size_t>(j)].start, k * 4 + j);
        ASSERT_EQ(t.occurrences[static_cast<std::size_t>(j)].wordEnd, round);
      }
    }
    list.clear();
  }
}

TEST_F(TargetsTest, FoundTextSpellings) {
  auto spell = [&](const std::string& word, int spelling, bool symbols) {
    const Document doc = makeDocument(word + "\n");
    cTargetList list;
    return TargetRecorder(list, doc, rules, {}, spelling, symbols)
        .foundText(reinterpret_cast<const unsigned char*>(doc.text.c_str()),
                   static_cast<std::int32_t>(word.size()));
  };
  EXPECT_EQ(spell("q'uil", kResultSame, true), "q'uil");
  EXPECT_EQ(spell("q'uil", kResultSame, false), "quil");
  EXPECT_EQ(spell("q'uil", kResultUpper, true), "Q'UIL");
  EXPECT_EQ(spell("q'uil", kResultUpper, false), "QUIL");
  // The reduction never shows symbols, and its entries see the text as it
  // stands: Q'U holds no QU.
  EXPECT_EQ(spell("q'uil", kResultReduced, true), "QUIL");
  EXPECT_EQ(spell("quil", kResultReduced, false), "KIL");
  EXPECT_EQ(spell("phil", kResultReduced, false), "FIL");
}

using Fields = std::array<std::int32_t, 15>;

Fields fieldsOf(const Occurrence& o) {
  return {o.start, o.length, o.contextStart, o.contextLength, o.contextStartIndex, o.contextLengthChars,
          o.page, o.folio, o.verso, o.paragraphStart, o.sentenceStart, o.wordStart,
          o.paragraphEnd, o.sentenceEnd, o.wordEnd};
}

TEST(PackedOccurrencesTest, EveryFieldComesBackWhateverItsForm) {
  // Occurrences of every form, in a list's own target (packed) and in a
  // target made with new (whole records): both give back what was put in,
  // through every way of reading, through regrowth and after the list is
  // cleared and filled again.
  std::mt19937 random(7);
  const auto pick = [&](std::initializer_list<std::int32_t> values) {
    return *(values.begin() + random() % values.size());
  };
  cTargetList list;
  for (int round = 0; round < 2; ++round) {
    TargetRecord packed = list.make();
    auto whole = std::make_unique<Target>();
    std::vector<Occurrence> put;
    std::vector<PackedOccurrence> run;
    std::int32_t sentence = 0;
    for (int k = 0; k < 5000; ++k) {
      Occurrence o;
      if (k % 7 == 0) sentence += 40;  // a new stretch every few hits
      o.start = 3 * k + pick({0, 0, 0, 1, INT32_MAX / 2});
      o.length = pick({1, 5, 2047, 2048, 0, 1 << 20});
      o.page = sentence / 200;
      o.folio = pick({0, 0, 3});
      o.verso = pick({0, 1, 0, 1, 2});  // another side value takes a context row
      o.sentenceStart = sentence;
      o.sentenceEnd = pick({sentence + 39, sentence + 39, kUnknownEnd});
      o.paragraphStart = 0;
      o.paragraphEnd = pick({kUnknownEnd, 100000});
      const std::int32_t match = o.start - pick({0, 0, 2, -5});  // line breaks before count twice
      o.wordStart = match - pick({0, 0, 3, 1023, 1024, -1});
      o.wordEnd = pick({o.wordStart + 4, o.wordStart - 1, o.wordStart + 2046, o.wordStart + 2047, kUnknownEnd});
      if (k % 5 == 0) {
        o.contextStart = sentence;
        o.contextLength = pick({40, 0});
        o.contextStartIndex = sentence;
        o.contextLengthChars = 40;
      }
      // The list's own target takes its occurrences in runs, as from a
      // recorder's commit, and now and then one by one.
      run.push_back(packed::pack(o, match, *list.packingTables()));
      if (random() % 40 == 0) {
        packed->occurrences.appendPacked(run.data(), run.size());
        run.clear();
      } else if (random() % 200 == 0) {
        packed->occurrences.appendPacked(run.data(), run.size());
        run.clear();
        packed->occurrences.push_back(o, match);
        whole->occurrences.push_back(o);
        put.push_back(o);
      }
      whole->occurrences.push_back(o);
      put.push_back(o);
    }
    packed->occurrences.appendPacked(run.data(), run.size());
    for (const Target* t : {packed.get(), whole.get()}) {
      const cStarts& got = t->occurrences;
      ASSERT_EQ(got.size(), put.size());
      std::size_t k = 0;
      for (const Occurrence& o : got) {
        ASSERT_EQ(fieldsOf(o), fieldsOf(put[k])) << "occurrence " << k;
        ASSERT_EQ(fieldsOf(got[k]), fieldsOf(put[k])) << "occurrence " << k;
        ASSERT_EQ(got.startAt(k), put[k].start);
        ++k;
      }
      EXPECT_EQ(fieldsOf(got.front()), fieldsOf(put.front()));
      EXPECT_EQ(fieldsOf(got.back()), fieldsOf(put.back()));
    }
    list.records().push_back(std::move(packed));
    list.clear();
    EXPECT_EQ(list.occurrenceTables()->placeRows(), 0u);
  }
}

TEST(PackedOccurrencesTest, BlocksOfEveryWidthGiveBackEveryField) {
  // Lists of sizes about the byte and 8-byte boundaries of their entries,
  // whose starts and place rows spread over few or many bits, of one shape
  // or several, some with a whole record: narrow entries of every width and
  // whole arrays past them. Each is read back, then shortened and read again.
  std::mt19937 random(11);
  cTargetList list;
  std::int32_t row = 0;
  for (const std::int64_t spread : {std::int64_t{0}, std::int64_t{1}, std::int64_t{255}, std::int64_t{256},
                                    std::int64_t{65535}, std::int64_t{1} << 24, std::int64_t{INT32_MAX}}) {
    for (const int kind : {0, 1, 2}) {  // one shape, several, a whole record among them
      for (const std::size_t n : {2u, 3u, 7u, 8u, 9u, 15u, 64u, 65u, 300u}) {
        TargetRecord t = list.make();
        std::vector<Occurrence> put;
        std::vector<PackedOccurrence> run;
        for (std::size_t k = 0; k < n; ++k) {
          Occurrence o;
          o.start = static_cast<std::int32_t>(-(std::int64_t{1} << 30) +
                                              static_cast<std::int64_t>(random() % (spread + 1)));
          o.length = kind == 0 ? 4 : static_cast<std::int32_t>(1 + random() % 50);
          if (kind == 2 && k == n / 2) o.length = 5000;  // too long for the packed form
          o.wordStart = o.start;
          o.wordEnd = o.start + 3;
          // A new place row now and then, some far from the others.
          if (random() % 3 == 0) row += random() % 4 == 0 ? 1000 : 1;
          o.page = row;
          o.sentenceStart = o.start;
          put.push_back(o);
          run.push_back(packed::pack(o, o.start, *list.packingTables()));
          if (random() % 4 == 0) {
            t->occurrences.appendPacked(run.data(), run.size());
            run.clear();
          }
        }
        t->occurrences.appendPacked(run.data(), run.size());
        for (const std::size_t keep : {n, n - 1, std::size_t{1}}) {
          const cStarts& got = t->occurrences;
          ASSERT_EQ(got.size(), keep);
          std::size_t k = 0;
          for (const Occurrence& o : got) {
            ASSERT_EQ(fieldsOf(o), fieldsOf(put[k])) << "spread " << spread << ", kind " << kind << ", n " << n
                                                     << ", kept " << keep << ", occurrence " << k;
            ASSERT_EQ(got.startAt(k), put[k].start);
            ++k;
          }
          t->occurrences.resize(keep == n ? n - 1 : 1);
        }
        list.records().push_back(std::move(t));
      }
    }
  }
}

TEST_F(TargetsTest, WordsOfOneSentenceShareOnePlaceRow) {
  // Hits of one stretch of sentence (the CR ends a sentence and a
  // paragraph in these rules) name one row; only occurrences that cannot be
  // packed (none here) take a whole record.
  std::string text;
  for (int s = 0; s < 50; ++s) text += "UN DEUX TROIS QUATRE CINQ\rSIX SEPT. ";
  text += "\n";
  auto rq = makeRequest({{"UN"}, {"DEUX"}, {"TROIS"}, {"QUATRE"}, {"CINQ"}, {"SIX"}, {"SEPT"}});
  scan(rq, makeDocument(text));
  ASSERT_EQ(targets.occurrenceCount(), 350);
  const OccurrenceTables* tables = targets.occurrenceTables();
  ASSERT_NE(tables, nullptr);
  EXPECT_EQ(tables->wholeRecords(), 0u);
  EXPECT_EQ(tables->placeRows(), 100u);  // two sentences a line
  // The places still read as the scan found them.
  sortTargets(targets, kSortTextAscending, false);
  const Target& deux = targets[1];
  ASSERT_EQ(deux.text, "DEUX");
  ASSERT_EQ(deux.occurrences.size(), 50u);
  const Occurrence second = deux.occurrences[1];
  // "UN" of the second line at index 36, in the paragraph that began after
  // the CR at 25 (counted twice); page 1 is the automatic first page.
  EXPECT_EQ(fieldsOf(second), (Fields{40, 4, -1, 0, 0, 0, 1, 0, 0, 26, 36, 39, 60, 60, 42}));
  const Occurrence sept = targets[3].occurrences[1];
  ASSERT_EQ(targets[3].text, "SEPT");
  EXPECT_EQ(fieldsOf(sept), (Fields{68, 4, -1, 0, 0, 0, 1, 0, 0, 62, 62, 66, 96, 69, 69}));
}

TEST(FoundTextTest, ShortAndLongTextsKeepTheirBytes) {
  for (const std::size_t n : {0u, 1u, 11u, 12u, 13u, 40u, 1024u}) {
    std::string bytes;
    for (std::size_t k = 0; k < n; ++k) bytes += static_cast<char>(k % 3 == 1 ? 0 : 'a' + k % 26);
    FoundText text(bytes);
    ASSERT_EQ(text.size(), n);
    EXPECT_EQ(text.str(), bytes);
    FoundText copy = text;
    EXPECT_EQ(copy, text);
    copy = "xyz";
    EXPECT_EQ(copy, "xyz");
    EXPECT_EQ(text.str(), bytes);  // the copy had its own bytes
    copy = text;
    copy = copy;
    EXPECT_EQ(copy.str(), bytes);
    copy = std::string(30, 'q');
    EXPECT_EQ(copy.str(), std::string(30, 'q'));
  }
  EXPECT_FALSE(FoundText("abc") == "abcd");
  EXPECT_FALSE(FoundText(std::string_view("ab\0c", 4)) == "ab");
}

}  // namespace
}  // namespace lirno
