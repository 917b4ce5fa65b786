// lirno-batch end to end over the sample corpus: whole reports compared with
// the expected files of tests/data/batch, messages and exit codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>
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

  // `shell` comes before the command (limits), `redirect` after it.
  Outcome run(const std::vector<std::string>& args, const std::string& shell = {},
              const std::string& redirect = {}) {
    std::string command = shell + "exec " + quoted(bin + "lirno-batch");
    for (const std::string& a : args) command.append(" ").append(quoted(a));
    command.append(" 2>").append(quoted(folder.file("stderr"))).append(redirect);
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

TEST_F(BatchTest, ALanguageFileTranslatesTheHeaderWordsAndTheStatusLine) {
  const Outcome r = run({"-L", bin + "eng.lng", "-C", bin + "sample.cor", "-S", "odo", "-S", "libr", "-X2", "-A",
                         "--extracts", "2"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expected("corpus_phrase_all_eng.txt"));
  EXPECT_EQ(r.err, "\"ODO + LIBR\" (Contx: Sentence, all)  Words: 3  Occurrences: 4\n");

  const Outcome missing = run({"-L", folder.file("none.lng"), "-C", bin + "sample.cor", "-S", "odo"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err, "Fichier non trouvé :\n" + folder.file("none.lng") + "\n");
  const Outcome notLanguage = run({"-L", bin + "sample.cor", "-C", bin + "sample.cor", "-S", "odo"});
  EXPECT_EQ(notLanguage.exitCode, 1);
  EXPECT_EQ(notLanguage.err, bin + "sample.cor\nn'est pas un fichier langue.\n");
  // The messages follow the language too.
  const Outcome corpus = run({"-L", bin + "eng.lng", "-C", folder.file("none.cor"), "-S", "odo"});
  EXPECT_EQ(corpus.exitCode, 1);
  EXPECT_EQ(corpus.err, "File not found:\n" + folder.file("none.cor") + "\n");
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

TEST_F(BatchTest, BlankThesaurusAndCorpusLinesAreSkipped) {
  // As the search dialog's "Thesaurus" button takes them: a blank entry is
  // no search string, a blank corpus line no document.
  folder.write("t.the", "flos\r\n\r\n   \r\nradix\r\n");
  folder.write("c.cor", "\r\n" + bin + "sample/ms_aubert.rtf\r\n\r\n");
  const Outcome r = run({"-C", folder.file("c.cor"), "-T", folder.file("t.the"), "-X1", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "\"FLOS + RADIX\" (Contx : Mot)  Mots : 1  Occurrences : 1\n");
}

TEST_F(BatchTest, Utf8DocumentsAreReadConvertedAndForeignFormatsRefused) {
  folder.write("u.txt", "\xEF\xBB\xBFLes herbes de l'\xC3\xA9t\xC3\xA9, herba\r\n");
  // Search strings are engine text, Windows-1252, as the workbench hands them.
  Outcome r = run({folder.file("u.txt"), "-S", "\xE9t\xE9", "-M0", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "\xE9t\xE9\r\n\r\n");  // found in the converted text
  EXPECT_EQ(r.err, "\"\xC3\xA9t\xC3\xA9\"  Mots : 1  Occurrences : 1\n");

  // Typed in a UTF-8 terminal: the same search, and a string no
  // Windows-1252 document can hold is refused by name.
  r = run({folder.file("u.txt"), "-S", "\xC3\xA9t\xC3\xA9", "-M0", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "\xE9t\xE9\r\n\r\n");
  r = run({folder.file("u.txt"), "-S", "herba", "-S", "\xC5\x82\xC3\xB3" "d\xC5\xBA", "-M0"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("sans forme Windows-1252"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\xC5\x82\xC3\xB3" "d\xC5\xBA\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");

  folder.write("a.pdf", "%PDF-1.4\n%herba\n");
  r = run({folder.file("a.pdf"), "-S", "herba"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err.rfind("Ce document n'est ni du texte enrichi (RTF) ni du texte brut.", 0), 0u) << r.err;
  EXPECT_NE(r.err.find(folder.file("a.pdf") + " (PDF)"), std::string::npos) << r.err;

  // In a corpus the others are still searched, and the run fails.
  folder.write("pl.txt", "herba \xC5\x82\r\n");
  folder.write("c.cor", folder.file("pl.txt") + "\r\n" + folder.file("u.txt") + "\r\n");
  r = run({"-C", folder.file("c.cor"), "-S", "herba", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("\xC5\x82 (ligne 1)\n" + folder.file("pl.txt")), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Mots : 1  Occurrences : 1"), std::string::npos) << r.err;
}

TEST_F(BatchTest, AMissingCorpusDocumentIsReportedAndSkipped) {
  folder.write("c.cor", bin + "sample/vita_clerici.txt\r\n" + folder.file("gone.txt") + "\r\n");
  const Outcome r = run({"-C", folder.file("c.cor"), "-S4", "odo", "--sections", "list,refs"});
  EXPECT_EQ(r.exitCode, 1);  // the search covers the others, and says that one is missing
  EXPECT_EQ(r.out, "ODO\t5\tvita_clerici.txt\tp:001 f:001r, p:001 f:001v, p:002 f:002r, p:002 f:002v, "
                   "p:003 f:003r\r\n\r\n");
  EXPECT_EQ(r.err, std::string("Fichier non trouvé :\n").append(folder.file("gone.txt")).append(
                       "\n\"ODO\"  Mots : 1  Occurrences : 5\n"));
}

TEST_F(BatchTest, FilesThatAreNotRegularAreRefusedWithoutWaiting) {
  // Nobody writes to these FIFOs: opening one to read would wait for ever.
  for (const char* name : {"doc.fifo", "c.fifo", "t.fifo", "r.fifo"}) {
    ASSERT_EQ(::mkfifo(folder.file(name).c_str(), 0600), 0);
  }
  const std::string vita = bin + "sample/vita_clerici.txt";
  const std::string notRegular = "Ce n'est pas un fichier ordinaire :\n";
  Outcome r = run({folder.file("doc.fifo"), "-S", "odo"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, notRegular + folder.file("doc.fifo") + "\n");
  r = run({"-C", folder.file("c.fifo"), "-S", "odo"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, notRegular + folder.file("c.fifo") + "\n");
  r = run({vita, "-T", folder.file("t.fifo")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, notRegular + folder.file("t.fifo") + "\n");
  r = run({vita, "-R", folder.file("r.fifo"), "-S", "odo"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Fichier de règles illisible : " + folder.file("r.fifo") + "\n");

  // Named in a corpus, beside a folder: both reported, the rest searched.
  folder.write("c.cor", folder.file("doc.fifo") + "\r\n" + vita + "\r\n" + folder.path() + "\r\n");
  r = run({"-C", folder.file("c.cor"), "-S4", "odo", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "ODO\r\n\r\n");
  EXPECT_EQ(r.err, notRegular + folder.file("doc.fifo") + "\n" + notRegular + folder.path() + "\n" +
                       std::strerror(EISDIR) + "\n\"ODO\"  Mots : 1  Occurrences : 5\n");
}

TEST_F(BatchTest, ADocumentAboveTheLimitIsSaidToBeTooLarge) {
  folder.write("huge.txt", "");
  std::filesystem::resize_file(folder.file("huge.txt"), 3'000'000'000);  // sparse: no disk used
  const Outcome r = run({folder.file("huge.txt"), "-S", "odo"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Fichier trop volumineux :\n" + folder.file("huge.txt") +
                       "\n3000000000 octets, la limite est de 1073741808 octets\n");
}

TEST_F(BatchTest, AFileNameWithTheLabelSeparatorKeepsItsNameAndExtracts) {
  folder.write("odo | 2.txt", "Odo scripsit.\n");
  folder.write("c.cor", folder.file("odo | 2.txt") + "\r\n");
  const Outcome r = run({"-C", folder.file("c.cor"), "-S4", "odo", "--sections", "list,refs", "--extracts", "2"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "ODO\t1\todo | 2.txt\tp:001 f:000r\r\n\r\nOdo scripsit\todo | 2.txt\tp:001\tf:000r\r\n\r\n");
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

// A disk that fills up: no file may grow beyond 2 or 4 KB (ulimit -f
// counts blocks of 512 or 1024 bytes, depending on the shell), and the
// signal of a file grown too large is ignored so that the write fails.
const std::string kSmallDisk = "trap '' XFSZ; ulimit -f 4; ";

TEST_F(BatchTest, AFailedWriteKeepsThePreviousReportAndSaysWhy) {
  std::string previous;
  for (int i = 0; i < 400; ++i) previous += "line " + std::to_string(i) + "\r\n";
  folder.write("report.txt", previous.substr(0, 1500));
  folder.write("doc.json", "{}");
  const std::string report = folder.file("report.txt");
  Outcome r = run({"-C", bin + "sample.cor", "--words", "--report", report}, kSmallDisk);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Impossible d'écrire le fichier : " + report + "\n" + std::strerror(EFBIG)),
            std::string::npos)
      << r.err;
  EXPECT_EQ(folder.read("report.txt"), previous.substr(0, 1500));
  r = run({"--dump-doc", bin + "sample/ms_aubert.rtf", "--report", folder.file("doc.json")}, kSmallDisk);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(folder.read("doc.json"), "{}");
  // Nothing was left beside them.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                          std::filesystem::directory_iterator()),
            3);  // report.txt, doc.json, stderr
}

TEST_F(BatchTest, AStandardOutputThatCannotBeWrittenIsAnError) {
  Outcome r = run({bin + "sample/vita_clerici.txt", "-S", "odo"}, {}, " >/dev/full");
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find(std::string("Impossible d'écrire sur la sortie standard : ") + std::strerror(ENOSPC)),
            std::string::npos)
      << r.err;
  r = run({bin + "sample/vita_clerici.txt", "-S", "odo", "--report", "/dev/stdout", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "ODO\r\nODONIS\r\n\r\n");
  r = run({"--help"}, {}, " >/dev/full");
  EXPECT_EQ(r.exitCode, 1);
  r = run({"--dump-doc", bin + "sample/vita_clerici.txt"}, {}, " >/dev/full");
  EXPECT_EQ(r.exitCode, 1);
}

TEST_F(BatchTest, AWorkbenchOptionTakesTheNextArgumentWhateverItIs) {
  // "--words" after -S is the string searched, not the output option (its
  // hyphens are symbols, left out of the pattern).
  const Outcome r = run({bin + "sample/vita_clerici.txt", "-S", "--words", "--sections", "list"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err, "\"WORDS\"  Mots : 0  Occurrences : 0\n");
}

TEST_F(BatchTest, AnArgumentIsNeverReadAsMoreOptions) {
  // A double quote in a string searched opens no second option: the search
  // stays in the one document.
  const Outcome r = run({bin + "sample/vita_clerici.txt", "-S", "odo\" -C \"" + bin + "sample.cor",
                         "--sections", "info"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out.substr(0, r.out.find("\r\n")), "DOCUMENT: vita_clerici.txt");
  EXPECT_EQ(r.err.rfind("\"ODO", 0), 0u) << r.err;
  EXPECT_NE(r.err.find("Mots : 0  Occurrences : 0"), std::string::npos) << r.err;
}

TEST_F(BatchTest, EveryStringIsSearchedHoweverLongTheCommandLine) {
  std::vector<std::string> args = {bin + "sample/vita_clerici.txt", "--sections", "list"};
  for (int i = 0; i < 3000; ++i) {
    args.push_back("-S");
    args.push_back("zq" + std::to_string(i));
  }
  args.push_back("-S");
  args.push_back("odo");  // far past 1024 characters
  const Outcome r = run(args);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "ODO\r\nODONIS\r\n\r\n");
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
