// lirno-batch end to end over the sample corpus: whole reports compared with
// the expected files of tests/data/batch, messages and exit codes.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "support/temp_folder.h"

namespace lirno {
namespace {

struct Outcome {
  int exitCode = -1;
  std::string out;  // bytes as written
  std::string err;
};

std::string quoted(const std::string& arg) {
  std::string q = "'";
  for (const char c : arg) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class BatchTest : public ::testing::Test {
 protected:
  testing::TempFolder folder{"batch"};
  const std::string bin = LIRNO_BATCH_FOLDER;  // the program folder, with "/"

  Outcome run(const std::vector<std::string>& args) {
    std::string command = quoted(bin + "lirno-batch");
    for (const std::string& a : args) command.append(" ").append(quoted(a));
    command.append(" 2>").append(quoted(folder.file("stderr")));
    Outcome r;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = ::pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = folder.read("stderr");
    return r;
  }

  static std::string expected(const std::string& name) {
    return readAll(std::string(LIRNO_TEST_DATA) + "/batch/" + name);
  }
};

TEST_F(BatchTest, ACorpusSearchWithSentenceExtracts) {
  const Outcome r = run({"-C", bin + "sample.cor", "-S", "odo", "-S", "libr", "-X2", "-A", "--extracts", "2"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expected("corpus_phrase_all.txt"));
  EXPECT_EQ(r.err, "\"ODO + LIBR\" (Contx : Phrase, tout)  Mots : 3  Occurrences : 4\n");
}

TEST_F(BatchTest, ADocumentSearchWithDetailedWordExtractsIntoAFile) {
  const std::string report = folder.file("report.txt");
  const std::vector<std::string> args = {bin + "sample/ms_aubert.rtf", "-S", "herb", "-M1", "-W0",
                                         "--extracts", "1", "--detailed", "--sections", "list,refs",
                                         "--report", report};
  Outcome r = run(args);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(readAll(report), expected("aubert_herb_detailed.txt"));
  // Appending adds after the last byte; without --append the file is replaced.
  std::vector<std::string> again = args;
  again.push_back("--append");
  r = run(again);
  EXPECT_EQ(readAll(report), expected("aubert_herb_detailed.txt") + expected("aubert_herb_detailed.txt"));
  run(args);
  EXPECT_EQ(readAll(report), expected("aubert_herb_detailed.txt"));
}

TEST_F(BatchTest, AWordListWithAFilter) {
  const Outcome r = run({bin + "sample/livre_viandes.txt", "--words", "-IP", "-W1"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expected("viandes_words_plurals.txt"));
  EXPECT_EQ(r.err, "Mots : 16  Occurrences : 24\n");
}

TEST_F(BatchTest, AThesaurusGivesTheStringsWhenNoneIsTyped) {
  folder.write("t.the", "flos\r\n  radix \r\nsalvia\r\n");
  const Outcome r = run({bin + "sample/ms_aubert.rtf", "-T", folder.file("t.the"), "-X1", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "FLOS\r\nSALUIA\r\n\r\n");
  EXPECT_EQ(r.err, "\"FLOS + RADIX + SALUIA\" (Contx : Mot)  Mots : 2  Occurrences : 3\n");
}

TEST_F(BatchTest, AMissingCorpusDocumentIsReportedAndSkipped) {
  folder.write("c.cor", bin + "sample/vita_clerici.txt\r\n" + folder.file("gone.txt") + "\r\n");
  const Outcome r = run({"-C", folder.file("c.cor"), "-S4", "odo", "--sections", "list,refs"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "ODO\t5\tvita_clerici.txt\tp:001 f:001r, p:001 f:001v, p:002 f:002r, p:002 f:002v, "
                   "p:003 f:003r\r\n\r\n");
  EXPECT_EQ(r.err, std::string("Fichier non trouvé :\n").append(folder.file("gone.txt")).append(
                       "\n\"ODO\"  Mots : 1  Occurrences : 5\n"));
}

TEST_F(BatchTest, AnEmptyResultIsNoError) {
  const Outcome r = run({bin + "sample/vita_clerici.txt", "-S", "zzz", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "\r\n");
  EXPECT_EQ(r.err, "\"ZZZ\"  Mots : 0  Occurrences : 0\n");
}

TEST_F(BatchTest, FailuresGiveAMessageAndAnExitCode) {
  Outcome r = run({folder.file("none.rtf"), "-S", "a"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, std::string("Fichier non trouvé :\n").append(folder.file("none.rtf")).append("\n"));
  r = run({"-C", folder.file("none.cor"), "-S", "a"});
  EXPECT_EQ(r.exitCode, 1);
  r = run({"-R", folder.file("none.rul"), bin + "sample/vita_clerici.txt", "-S", "a"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(folder.file("none.rul")), std::string::npos);
  r = run({bin + "sample/vita_clerici.txt", "-S", "a", "--extracts", "7"});
  EXPECT_EQ(r.exitCode, 2);
  r = run({bin + "sample/vita_clerici.txt", "--frobnicate"});
  EXPECT_EQ(r.exitCode, 2);
  r = run({bin + "sample/vita_clerici.txt"});  // nothing to search
  EXPECT_EQ(r.exitCode, 2);
  r = run({"-S", "a"});  // nowhere to search
  EXPECT_EQ(r.exitCode, 2);
  r = run({bin + "sample/vita_clerici.txt", "-S", "a", "--report", folder.file("no/such/folder.txt")});
  EXPECT_EQ(r.exitCode, 1);
}

TEST_F(BatchTest, AWorkbenchOptionTakesTheNextArgumentWhateverItIs) {
  // "--words" after -S is the string searched, not the output option (its
  // hyphens are symbols, left out of the pattern).
  const Outcome r = run({bin + "sample/vita_clerici.txt", "-S", "--words", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "\"WORDS\"  Mots : 0  Occurrences : 0\n");
}

TEST_F(BatchTest, TheDocumentModelAsJson) {
  const Outcome r = run({"--dump-doc", bin + "sample/vita_clerici.txt"});
  EXPECT_EQ(r.exitCode, 0);
  std::string want = expected("vita_clerici_dump.json");
  const std::string placeholder = "@SAMPLE@";
  want.replace(want.find(placeholder), placeholder.size(), bin + "sample");
  EXPECT_EQ(r.out, want);
}

TEST_F(BatchTest, HelpNamesEveryOption) {
  const Outcome r = run({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* option : {"-R", "-C", "-T", "-F", "-S", "-M", "-G", "-X", "-P", "-A", "-D", "-W", "-Y",
                             "-I", "-L", "-O", "--report", "--append", "--sections", "--extracts",
                             "--detailed", "--no-extref", "--no-balise", "--words", "--dump-doc"}) {
    EXPECT_NE(r.out.find(std::string("  ").append(option)), std::string::npos) << option;
  }
}

TEST_F(BatchTest, TheConcordanceOfACorpusSortedByTheWordsAroundTheHits) {
  // Modifiée: the right words compare reduced (venit as uenit, before um).
  const Outcome r = run({"-C", bin + "sample.cor", "-S", "odo", "-S", "libr", "-X2", "--kwic", "--sort",
                         "r1,L1", "--width", "30"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expected("corpus_kwic_r1_l1.tsv"));
  EXPECT_EQ(r.err, "\"ODO + LIBR\" (Contx : Phrase)  Mots : 6  Occurrences : 12\n");
}

TEST_F(BatchTest, CountsPerFolioAndPageAsCsv) {
  const Outcome r = run({bin + "sample/ms_aubert.rtf", "-S", "herb", "-M1", "-W0", "--per-folio", "--csv"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expected("aubert_herb_per_folio.csv"));
}

TEST_F(BatchTest, HelpNamesTheConcordanceOptions) {
  const Outcome r = run({"--help"});
  for (const char* option : {"--kwic", "--width", "--cut-words", "--sort", "--per-folio", "--csv"}) {
    EXPECT_NE(r.out.find(std::string("  ").append(option)), std::string::npos) << option;
  }
}

TEST_F(BatchTest, BadConcordanceOptionsAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--kwic", "--sort", "L4"}, {"--kwic", "--sort", "L1,L2,L3,C"},
        {"--kwic", "--width", "-3"}, {"--kwic", "--width"}}) {
    std::vector<std::string> all = {"-C", bin + "sample.cor", "-S", "odo"};
    all.insert(all.end(), args.begin(), args.end());
    const Outcome r = run(all);
    EXPECT_EQ(r.exitCode, 2) << args[1];
    EXPECT_EQ(r.out, "");
  }
}

}  // namespace
}  // namespace lirno
