// The concordance: contexts cut at the width and the document ends, word
// keys in the request's spelling, the KWIC sort, the TSV and CSV tables;
// and where the hits fall: strips, boundaries and counts per folio and page.
#include "results/concordance.h"

#include <gtest/gtest.h>

#include "results/dispersion.h"
#include "search/driver.h"
#include "support/engine_fixture.h"

namespace lirno {
namespace {

using testing::FakeDocuments;
using testing::makeDocument;
using testing::makeMark;
using testing::makeRequest;

class ConcordanceTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules();
  FakeDocuments documents;
  std::vector<std::string> corpus;
  cTargetList targets;
  ConcordanceOptions options;

  void search(const std::string& text, std::vector<testing::StringSpec> strings, int spelling = kSpellingSame) {
    documents.open = makeDocument(text, true, "/doc/ms.txt");
    SearchRequest request = makeRequest(strings, spelling);
    EngineContext context{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
    runSearch(request, targets, context, false);
  }

  Concordance build() { return buildConcordance(targets, {}, documents, rules, options); }
  std::string first() {
    const Concordance c = build();
    return c.lines.empty() ? std::string("(none)") : line(c, c.lines[0]);
  }

  static std::string line(const Concordance& c, const ConcordanceLine& l) {
    return std::string(c.left(l)) + "[" + std::string(c.hit(l)) + "]" + std::string(c.right(l));
  }

};

TEST_F(ConcordanceTest, ContextsStopAtTheDocumentEndsAndAtTheWidth) {
  search("ab cd ef gh ij\n", {{"ab"}, {"ij"}, {"ef"}});
  options.width = 3;
  const Concordance c = build();
  ASSERT_EQ(c.lines.size(), 3u);
  // In document order, whatever the target order.
  EXPECT_EQ(line(c, c.lines[0]), "[ab] cd");
  EXPECT_EQ(line(c, c.lines[1]), "cd [ef] gh");
  EXPECT_EQ(line(c, c.lines[2]), "gh [ij]\n");
  EXPECT_EQ(c.documents.at(0).name, "ms.txt");

  options.width = 0;
  const Concordance bare = build();
  EXPECT_EQ(line(bare, bare.lines[1]), "[ef]");
}

TEST_F(ConcordanceTest, WholeWordsLeaveOutAWordTheWidthWouldCut) {
  search("alpha beta gamma X delta epsilon", {{"X", kPlaceWholeWord}});
  options.width = 8;
  EXPECT_EQ(first(), " gamma [X] delta ");
  options.wholeWords = false;
  EXPECT_EQ(first(), "a gamma [X] delta e");
  // A hit inside one long word: nothing but the cut word stands there.
  targets.clear();
  search("abcdefghijklmnopXqrstuvwxyz.", {{"X"}});
  options.wholeWords = true;
  options.width = 4;
  EXPECT_EQ(first(), "mnop[X]qrst");
}

TEST_F(ConcordanceTest, PlacesAfterLineBreaksFindTheirCharacters) {
  // Every break counts 2 positions: the hit must still be its own text.
  search("un\r\ndeux\n\ntrois X\nfin", {{"X"}, {"deux"}});
  options.width = 6;
  const Concordance c = build();
  ASSERT_EQ(c.lines.size(), 2u);
  EXPECT_EQ(line(c, c.lines[0]), "un\r\n[deux]\n\n");
  EXPECT_EQ(line(c, c.lines[1]), "trois [X]\nfin");
  EXPECT_EQ(c.lines[1].startIndex, 16);
}

TEST_F(ConcordanceTest, LeftKeysCompareFromTheirEnd) {
  search("amant X. chant X. ant X. Ant X.", {{"X", kPlaceWholeWord}});
  const Concordance c = build();
  // As the ending sorts: ant before chant (the shorter first), chant before
  // amant (h before m from the right); "Ant" and "ant" are one word
  // upper-cased, in document order.
  std::vector<std::string> l1;
  for (const std::uint32_t i : sortConcordance(c, {KwicKey::L1}, rules, {kResultUpper, false})) {
    l1.push_back(wordKey(c, c.lines[i], KwicKey::L1, rules, {kResultUpper, false}));
  }
  EXPECT_EQ(l1, (std::vector<std::string>{"ANT", "ANT", "CHANT", "AMANT"}));
  // Ties keep document order: "ant" (index 18) before "Ant" (index 25).
  const auto order = sortConcordance(c, {KwicKey::L1}, rules, {kResultUpper, false});
  EXPECT_LT(c.lines[order[0]].start, c.lines[order[1]].start);
  // As written, "Ant" (A before a) comes first.
  EXPECT_EQ(wordKey(c, c.lines[sortConcordance(c, {KwicKey::L1}, rules, {kResultSame, false})[0]],
                    KwicKey::L1, rules, {kResultSame, false}),
            "Ant");
}

TEST_F(ConcordanceTest, RightKeysCompareTheirReducedFormFromTheStart) {
  search("X phil. X bil. X fil. X l'ami.", {{"X", kPlaceWholeWord}});
  const Concordance c = build();
  auto r1 = [&](WordForm form) {
    std::vector<std::string> out;
    for (const std::uint32_t i : sortConcordance(c, {KwicKey::R1}, rules, form)) {
      out.push_back(wordKey(c, c.lines[i], KwicKey::R1, rules, form));
    }
    return out;
  };
  // PH reduces to F: "phil" and "fil" are one word, in document order.
  EXPECT_EQ(r1({kResultReduced, false}), (std::vector<std::string>{"BIL", "FIL", "FIL", "LAMI"}));
  EXPECT_EQ(sortConcordance(c, {KwicKey::R1}, rules, {kResultReduced, false})[1], 0u);
  EXPECT_EQ(r1({kResultUpper, false}), (std::vector<std::string>{"BIL", "FIL", "LAMI", "PHIL"}));
  // Symbols count only when the results show them.
  EXPECT_EQ(r1({kResultSame, true}), (std::vector<std::string>{"bil", "fil", "l'ami", "phil"}));
}

TEST_F(ConcordanceTest, SecondKeysDecideAmongEqualFirstOnesAndMarksAreNoWords) {
  search("X b z. X a y. X b - y. X a z.", {{"X", kPlaceWholeWord}});
  const Concordance c = build();
  // R2 skips the lone "-" (a symbol between blanks is no word).
  EXPECT_EQ(wordKey(c, c.lines[2], KwicKey::R2, rules, {kResultSame, false}), "y");
  EXPECT_EQ(sortConcordance(c, {KwicKey::R1, KwicKey::R2}, rules, {kResultSame, false}),
            (std::vector<std::uint32_t>{1, 3, 2, 0}));
  // No key: document and position.
  EXPECT_EQ(sortConcordance(c, {}, rules, {}), (std::vector<std::uint32_t>{0, 1, 2, 3}));
  // A word beyond the context is empty, and empty sorts first.
  options.width = 3;
  const Concordance narrow = build();
  EXPECT_EQ(wordKey(narrow, narrow.lines[0], KwicKey::R3, rules, {}), "");
}

TEST_F(ConcordanceTest, ADocumentThatCannotBeReadKeepsItsOccurrences) {
  auto add = [&](const char* text, const char* label, std::int32_t start, std::int32_t folio) {
    TargetRecord t = targets.make();
    t->text = text;
    t->document = DocumentLabel(label);
    Occurrence o;
    o.start = start;
    o.length = 2;
    o.page = 3;
    o.folio = folio;
    o.verso = 1;
    t->occurrences.push_back(o);
    targets.records().push_back(std::move(t));
  };
  documents.files["/c/a.txt"] = "xx AA yy";
  add("AA", "a.txt | /c/", 3, 7);
  add("BB", "gone.txt | /c/", 0, 8);
  add("AA", "a.txt | /c/", 3, 7);  // a second target of the same document
  const Concordance c = build();
  ASSERT_EQ(c.lines.size(), 3u);
  EXPECT_EQ(documents.loads, 2);  // each document once
  EXPECT_EQ(c.documents[1].name, "gone.txt");
  EXPECT_FALSE(c.documents[1].read);
  EXPECT_EQ(line(c, c.lines[2]), "[BB]");
  EXPECT_EQ(c.lines[2].startIndex, -1);
  const std::string table = concordanceTable(c, {2, 0}, TableFormat::Tsv, false, defaultConcordanceColumns());
  EXPECT_EQ(table,
            "Gauche\tPivot\tDroite\tCible\tDocument\tR\xc3\xa9" "f\xc3\xa9rence\tPosition\n"
            "\tBB\t\tBB\tgone.txt\tp:003 f:008v\t0\n"
            "xx \tAA\t yy\tAA\ta.txt\tp:003 f:007v\t3\n");
}

TEST(ConcordanceTable, TsvEscapesAndCsvQuotes) {
  EXPECT_EQ(tableField("a\tb\\c\nd\re", TableFormat::Tsv), "a\\tb\\\\c\\nd\\re");
  EXPECT_EQ(tableField("plain text", TableFormat::Csv), "plain text");
  EXPECT_EQ(tableField("say \"oui\", then\nno", TableFormat::Csv), "\"say \"\"oui\"\", then\nno\"");
  EXPECT_EQ(tableField("tab\tstays", TableFormat::Csv), "tab\tstays");
  EXPECT_EQ(tableRow({"a,b", "", "c"}, TableFormat::Csv), "\"a,b\",,c\r\n");
  EXPECT_EQ(tableRow({"a,b", "", "c"}, TableFormat::Tsv), "a,b\t\tc\n");
}

TEST_F(ConcordanceTest, TablesAreUtf8WithTheirBreaksAndTheMarkFirst) {
  // The quote is a letter of these rules: the found text is X".
  search("d\xe9j\xe0 \"X\",\ndit-il.", {{"X"}});
  const Concordance c = build();
  const std::string csv = concordanceTable(c, {}, TableFormat::Csv, true, defaultConcordanceColumns());
  EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(csv.find("\r\n\"d\xc3\xa9j\xc3\xa0 \"\"\",X,\"\"\",\ndit-il.\",\"X\"\"\",ms.txt,p:001 f:000r,6\r\n"),
            std::string::npos)
      << csv;
  const std::string tsv = concordanceTable(c, {}, TableFormat::Tsv, false, defaultConcordanceColumns());
  EXPECT_NE(tsv.find("\nd\xc3\xa9j\xc3\xa0 \"\tX\t\",\\ndit-il.\tX\"\tms.txt\tp:001 f:000r\t6\n"), std::string::npos)
      << tsv;
}

TEST_F(ConcordanceTest, ContextsTakeLittleMemory) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "lorem ipsum dolor sit amet consectetur X adipiscing elit sed do. ";
  search(text, {{"X", kPlaceWholeWord}});
  const Concordance c = build();
  ASSERT_EQ(c.lines.size(), 2000u);
  EXPECT_LT(c.memoryUsage() / c.lines.size(), 200u);
}

TEST(Dispersion, StripsHoldTheHitsAndThePageAndFolioBoundaries) {
  FakeDocuments documents;
  documents.open = makeDocument("AA BB. AA CC.\nAA DD.\n", true, "/doc/ms1.txt");
  documents.open.marks.push_back(makeMark(MarkKind::Folio, 6, 6, 1, 0));
  documents.open.marks.push_back(makeMark(MarkKind::Folio, 10, 10, 1, 1));
  documents.open.marks.push_back(makeMark(MarkKind::Page, 13, 13, 2));
  RulesTables rules = testing::testRules();
  std::vector<std::string> corpus;
  cTargetList targets;
  SearchRequest request = makeRequest({{"AA"}, {"DD"}});
  EngineContext context{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
  runSearch(request, targets, context, false);
  ASSERT_EQ(targets.size(), 2u);

  const auto strips = buildDispersion(targets, {}, documents);
  ASSERT_EQ(strips.size(), 1u);
  const DispersionStrip& s = strips[0];
  EXPECT_EQ(s.name, "ms1.txt");
  EXPECT_EQ(s.length, 23);  // two breaks of two positions
  std::vector<std::int32_t> hits;
  for (const DispersionHit& h : s.hits) hits.push_back(h.position);
  EXPECT_EQ(hits, (std::vector<std::int32_t>{0, 7, 15, 18}));
  EXPECT_EQ(s.boundaries.size(), 4u);
  const StripPlace at = placeInStrip(s, 15);
  EXPECT_EQ(at.page, 2);
  EXPECT_EQ(at.folio, 1);
  EXPECT_EQ(at.verso, 1);
  EXPECT_EQ(placeInStrip(s, 6).folio, 0);  // a mark at the place itself is not before it
  EXPECT_EQ(placeInStrip(s, 0).page, 0);

  // Only the chosen target: DD.
  const auto dd = buildDispersion(targets, {1}, documents);
  ASSERT_EQ(dd[0].hits.size(), 1u);
  EXPECT_EQ(dd[0].hits[0].target, 1u);

  const auto counts = countPlaces(targets, {});
  std::string table = placeCountTable(counts, TableFormat::Tsv, false, "ms1.txt");
  EXPECT_EQ(table,
            "Document\tUnit\xc3\xa9\tLieu\tOccurrences\n"
            "ms1.txt\tfolio\tf:000r\t1\n"
            "ms1.txt\tfolio\tf:001r\t1\n"
            "ms1.txt\tfolio\tf:001v\t2\n"
            "ms1.txt\tpage\tp:001\t2\n"
            "ms1.txt\tpage\tp:002\t2\n");
}

}  // namespace
}  // namespace lirno
