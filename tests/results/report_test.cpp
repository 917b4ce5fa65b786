#include "results/report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "search/driver.h"
#include "support/engine_fixture.h"
#include "support/faults.h"
#include "support/temp_folder.h"

namespace lirno {
namespace {

using testing::FakeDocuments;
using testing::makeDocument;
using testing::makeMark;
using testing::makeRequest;

// "AA BB. AA CC.\nAA DD.\n": page 1 (automatic) from the start, folio 1
// recto from index 6, page 2 from the line break at index 13.
Document sampleDocument() {
  Document doc = makeDocument("AA BB. AA CC.\nAA DD.\n", true, "/doc/ms1.txt");
  doc.marks.push_back(makeMark(MarkKind::Folio, 6, 6, 1, 0));
  doc.marks.push_back(makeMark(MarkKind::Page, 13, 13, 2));
  return doc;
}

class ReportTest : public ::testing::Test {
 protected:
  RulesTables rules = testing::testRules();
  FakeDocuments documents;
  std::vector<std::string> corpus;
  SearchRequest request = makeRequest({{"AA"}, {"BB", kPlaceWholeWord, true}});
  cTargetList targets;
  ReportOptions options;

  void SetUp() override {
    documents.open = sampleDocument();
    search();
  }

  void search() {
    EngineContext context{rules, documents, corpus, "/prog/", {}, {}, {}, {}};
    runSearch(request, targets, context, false);
  }

  std::string report() {
    return buildReport(options, ReportInput{request, targets, corpus, documents, {}, rules.markers.page});
  }
};

TEST_F(ReportTest, HeaderAndListWithReferences) {
  EXPECT_EQ(report(),
            "DOCUMENT: ms1.txt\n"
            "CONTEXTE: Texte\n"
            "ORTHOGRAPHE: Identique, SEPARATEURS: avec\n"
            "FILTRE: sans\n"
            "CHAINES: 1 ou plus, ORDRE: non\n"
            "RESULTATS :Identique, SYMBOLES :oui\n"
            "\n"
            "AA, POSITION :Indiff\xe9rente, EXCLURE :non\n"
            "BB, POSITION :Mot entier, EXCLURE :oui\n"
            "\n"
            "AA\t3\tp:001 f:000r, p:001 f:001r, p:002 f:001r\n"
            "BB\t1\tp:001 f:000r\n"
            "\n");
}

TEST_F(ReportTest, TranslatedWordsAndOptionValues) {
  request.spelling = kSpellingReduced;
  request.ignoreSeparators = true;
  request.allStrings = true;
  request.inOrder = true;
  request.resultSpelling = kResultReduced;
  request.showSymbols = false;
  request.filterDescription = "A:D\xe9" "but";
  options.list = false;
  const std::string r = buildReport(
      options, ReportInput{request, targets, corpus, documents,
                           [](std::string_view s) { return "<" + std::string(s) + ">"; },
                           rules.markers.page});
  EXPECT_EQ(r.substr(0, r.find("\n\n")),
            "<DOCUMENT: >ms1.txt\n"
            "<CONTEXTE: >Texte\n"
            "<ORTHOGRAPHE: >Modifi\xe9" "e, <SEPARATEURS: ><sans>\n"
            "<FILTRE: >A:D\xe9" "but\n"
            "<CHAINES: ><toutes>, <ORDRE: ><oui>\n"
            "<RESULTATS :><Modifi\xe9" "e>, <SYMBOLES :><non>");
}

TEST_F(ReportTest, ReferencesCollapseWhileThePlaceStaysTheSame) {
  documents.open = makeDocument("X X Y X X\n", true, "/doc/x.txt");
  documents.open.marks.push_back(makeMark(MarkKind::Folio, 4, 4, 3, 1));
  documents.open.marks.push_back(makeMark(MarkKind::Folio, 7, 7, 4, 0));
  request = makeRequest({{"X"}});
  search();
  options.information = false;
  EXPECT_EQ(report(), "X\t4\tp:001 f:000r, p:001 f:003v, p:001 f:004r\n\n");
  options.references = false;
  EXPECT_EQ(report(), "X\n\n");
}

TEST_F(ReportTest, AnOccurrenceBeforeAnyMarkIsOnPageZero) {
  documents.open = makeDocument("X\n", false, "/doc/x.txt");
  request = makeRequest({{"X"}});
  search();
  options.information = false;
  EXPECT_EQ(report(), "X\t1\tp:000 f:000r\n\n");
}

TEST_F(ReportTest, GroupedExtractsWriteEachSentenceOnce) {
  options.information = options.list = false;
  options.extracts = 2;
  EXPECT_EQ(report(),
            "AA BB\tms1.txt\tp:001\tf:000r\n\n"
            "AA CC\tms1.txt\tp:001\tf:001r\n\n"
            "AA DD\tms1.txt\tp:002\tf:001r\n\n");
  options.extractReferences = false;
  options.spans = false;
  options.extracts = 1;
  EXPECT_EQ(report(), "AA\t\nBB\t\nAA\t\nAA\t\n");
}

TEST_F(ReportTest, DetailedExtractsWriteTheSentenceUnderEachWord) {
  options.information = options.list = false;
  options.extracts = 2;
  options.detailed = true;
  EXPECT_EQ(report(),
            "AA\n"
            "\tAA BB\tms1.txt\tp:001\tf:000r\n"
            "\tAA CC\tms1.txt\tp:001\tf:001r\n"
            "\tAA DD\tms1.txt\tp:002\tf:001r\n"
            "\n"
            "BB\n"
            "\tAA BB\tms1.txt\tp:001\tf:000r\n"
            "\n");
  EXPECT_EQ(documents.loads, 0);  // the current document serves
  options.extracts = 3;
  options.extractReferences = false;
  // A paragraph ends at its last character before the separators.
  EXPECT_EQ(report(), "AA\n\tAA BB. AA CC\n\tAA DD\n\nBB\n\tAA BB. AA CC\n\n");
}

TEST_F(ReportTest, TheMarkedSpanBeforeAnExtractIsWrittenWithIt) {
  Document doc = makeDocument("\xaetitre\xae. Une phrase.\n", true, "/doc/ms2.txt");
  doc.marks.push_back(makeMark(MarkKind::Span, 0, 0, 6));
  documents.open = std::move(doc);
  request = makeRequest({{"PHRASE"}}, kSpellingUpper);
  search();
  options.information = options.list = false;
  options.extracts = 2;
  EXPECT_EQ(report(), "Une phrase\tms2.txt\tp:001\tf:000r\ttitre\n\n");
  options.extractReferences = false;
  EXPECT_EQ(report(), "Une phrase\ttitre\n\n");
  options.spans = false;
  EXPECT_EQ(report(), "Une phrase\t\n");
  options.detailed = true;
  options.spans = true;
  EXPECT_EQ(report(), "PHRASE\n\tUne phrase\ttitre\n\n");
}

TEST_F(ReportTest, GroupedKeysOrderTheirStartsAsText) {
  documents.open = makeDocument(std::string(9997, 'x') + ". A. B.\n", true, "/doc/long.txt");
  request = makeRequest({{"A"}, {"B"}});
  search();
  options.information = options.list = options.extractReferences = options.spans = false;
  options.extracts = 2;
  EXPECT_EQ(report(), "B\t\nA\t\n");  // 10002 is written before 9999
}

TEST_F(ReportTest, AnExtractWhoseEndWasNeverMetRunsToTheEndOfTheText) {
  documents.open = makeDocument("AA, BB", true, "/doc/open.txt");
  request = makeRequest({{"AA"}});
  search();
  options.information = options.list = options.extractReferences = options.spans = false;
  options.extracts = 2;
  EXPECT_EQ(report(), "AA, BB\t\n");
}

class CorpusReportTest : public ReportTest {
 protected:
  void SetUp() override {
    documents.files["/c/a.txt"] = "AA. BB.\n";
    documents.files["/c/b.txt"] = "BB AA.\n";
    corpus = {"/c/a.txt", "/c/b.txt"};
    request.useCorpus = true;
    search();
    documents.loads = 0;
  }
};

TEST_F(CorpusReportTest, TheHeaderNamesTheCorpusAndTheListItsDocuments) {
  options.information = true;
  const std::string r = report();
  EXPECT_EQ(r.substr(0, r.find('\n')), "DOCUMENT: a.txt, b.txt");
  EXPECT_NE(r.find("\n\nAA\t1\ta.txt\tp:001 f:000r\nAA\t1\tb.txt\tp:001 f:000r\n"
                   "BB\t1\ta.txt\tp:001 f:000r\nBB\t1\tb.txt\tp:001 f:000r\n\n"),
            std::string::npos);
  EXPECT_EQ(documents.loads, 0);  // no extracts: no document is read
}

TEST_F(CorpusReportTest, ExtractsLoadEachDocumentOnceAndCloseItAfterwards) {
  options.information = options.list = false;
  options.extracts = 2;
  EXPECT_EQ(report(),
            "AA\ta.txt\tp:001\tf:000r\n\n"
            "BB\ta.txt\tp:001\tf:000r\n\n"
            "BB AA\tb.txt\tp:001\tf:000r\n\n");
  EXPECT_EQ(documents.loads, 2);
  EXPECT_EQ(documents.open.path, "");
  documents.loads = 0;
  options.detailed = true;
  EXPECT_EQ(report(),
            "AA\n\tAA\ta.txt\tp:001\tf:000r\n\tBB AA\tb.txt\tp:001\tf:000r\n\n"
            "BB\n\tBB\ta.txt\tp:001\tf:000r\n\tBB AA\tb.txt\tp:001\tf:000r\n\n");
  EXPECT_EQ(documents.loads, 2);
}

TEST_F(CorpusReportTest, AFileNameHoldingTheLabelSeparatorKeepsItsNameAndExtracts) {
  documents.files.clear();
  documents.files["/c/a | b.txt"] = "AA one.\n";  // label "a | b.txt | /c/"
  documents.files["/c/b.txt"] = "AA two.\n";
  corpus = {"/c/a | b.txt", "/c/b.txt"};
  search();
  options.information = false;
  options.extracts = 2;  // the sentence without its separator
  EXPECT_EQ(report(),
            "AA\t1\ta | b.txt\tp:001 f:000r\nAA\t1\tb.txt\tp:001 f:000r\n\n"
            "AA one\ta | b.txt\tp:001\tf:000r\n\nAA two\tb.txt\tp:001\tf:000r\n\n");
  options.detailed = true;
  options.list = false;
  EXPECT_EQ(report(), "AA\n\tAA one\ta | b.txt\tp:001\tf:000r\n\tAA two\tb.txt\tp:001\tf:000r\n\n");
  EXPECT_TRUE(documents.missing.empty());
}

TEST_F(CorpusReportTest, TheExtractsOfADocumentThatCannotBeReadAreLeftOut) {
  documents.files.erase("/c/a.txt");
  options.information = options.list = false;
  options.extracts = 2;
  EXPECT_EQ(report(), "BB AA\tb.txt\tp:001\tf:000r\n\n");
  EXPECT_EQ(documents.missing, std::vector<std::string>{"/c/a.txt"});
}

TEST_F(ReportTest, TheFileGetsCrLfAppendingKeepsItAndAFailedWriteLosesNothing) {
  testing::TempFolder folder("report");
  const std::string path = folder.file("out.txt");
  const ReportInput input{request, targets, corpus, documents, {}, rules.markers.page};
  options.information = false;
  const std::string list = "AA\t3\tp:001 f:000r, p:001 f:001r, p:002 f:001r\r\nBB\t1\tp:001 f:000r\r\n\r\n";
  ASSERT_TRUE(writeReportFile(path, options, input));
  EXPECT_EQ(folder.read("out.txt"), list);
  options.append = true;
  ASSERT_TRUE(writeReportFile(path, options, input));
  EXPECT_EQ(folder.read("out.txt"), list + list);
  options.append = false;
  ASSERT_TRUE(writeReportFile(path, options, input));
  EXPECT_EQ(folder.read("out.txt"), list);

  std::string error;
  EXPECT_FALSE(writeReportFile(folder.file("missing/out.txt"), options, input, &error));
  EXPECT_EQ(error, std::strerror(ENOENT));
  {
    testing::ScopedFaults faults;
    faults.diskFullAfter(10);
    options.information = true;
    EXPECT_FALSE(writeReportFile(path, options, input, &error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
  }
  EXPECT_EQ(folder.read("out.txt"), list);
}

// Records what the report writer hands over; refuses everything after
// `room` bytes.
struct PieceSink final : ByteSink {
  std::size_t total = 0, largest = 0, pieces = 0, room = SIZE_MAX, afterRefusal = 0;
  std::string start;
  bool write(std::string_view bytes) override {
    if (total >= room) {
      ++afterRefusal;
      return false;
    }
    total += bytes.size();
    largest = std::max(largest, bytes.size());
    ++pieces;
    if (start.size() < 64) start.append(bytes);
    return true;
  }
};

TEST_F(ReportTest, TheReportIsStreamedInSmallPieces) {
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "AA BB. ";
  documents.open = makeDocument(text + "\n", true, "/doc/long.txt");
  search();
  options.extracts = 2;  // one sentence per occurrence: 20000 extracts
  const ReportInput input{request, targets, corpus, documents, {}, rules.markers.page};
  PieceSink sink;
  ASSERT_TRUE(writeReport(options, input, sink));
  EXPECT_GT(sink.total, 500000u);
  EXPECT_LT(sink.largest, 100u);  // nothing held back to be written at the end
  EXPECT_EQ(sink.start.substr(0, 20), "DOCUMENT: long.txt\r\n");

  PieceSink refusing;
  refusing.room = 1000;
  EXPECT_FALSE(writeReport(options, input, refusing));
  EXPECT_LT(refusing.pieces, 200u);
  EXPECT_LE(refusing.afterRefusal, 1u);  // the rest is not built
}

}  // namespace
}  // namespace lirno
