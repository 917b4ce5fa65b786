// lirno-batch: the workbench's search, word list and report without a window.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "app/document_dump.h"
#include "app/reader_documents.h"
#include "i18n/language.h"
#include "lexicon/string_list_file.h"
#include "lexicon/word_list.h"
#include "platform/cp1252.h"
#include "platform/file_read.h"
#include "platform/file_write.h"
#include "platform/paths.h"
#include "results/concordance.h"
#include "results/dispersion.h"
#include "results/report.h"
#include "search/driver.h"
#include "search/request_builder.h"
#include "shell/command_line.h"

namespace lirno {
namespace {

const char kUsage[] =
    "Usage: lirno-batch [workbench options] [document] [output options]\n"
    "\n"
    "Runs the workbench's search (or its word list) over a document or a corpus\n"
    "and writes the report. The status line and every message go to standard\n"
    "error; the report (Windows-1252, CR LF) to standard output or --report.\n"
    "\n"
    "Workbench options (case-insensitive, as lirno takes them):\n"
    "  -R FILE      rules file (default nac.rul; a bare name is taken from the\n"
    "               program folder)\n"
    "  -C FILE      corpus file: search every document it lists\n"
    "  -T FILE      thesaurus file: its entries are the search strings when no\n"
    "               -S is given\n"
    "  -F FILE      the document (a bare argument works too)\n"
    "  -S[0-4][X] STRING\n"
    "               a search string; digit: position 0 anywhere, 1 word start,\n"
    "               2 word end, 3 inside a word, 4 whole word; X: excluded\n"
    "  -M0|-M1|-M2  spelling: Identique, Majuscule, Modifiée (default)\n"
    "  -G[1-9]      spelling Générée, with the generation level\n"
    "  -X[1-3]      context: Mot, Phrase, Paragraphe (default Texte)\n"
    "  -P           ignore separators\n"
    "  -A           all strings must be in the context\n"
    "  -D           the strings must come in order\n"
    "  -W[0-2]      result spelling Identique, Majuscule or Modifié instead of\n"
    "               the spelling's\n"
    "  -Y           show symbols in the results\n"
    "  -IKEYS       filters by key, separated by \":\" (-IP:A); result spelling\n"
    "               Identique unless a later -W says otherwise\n"
    "  -L FILE      language file: the report's header words, the status line and\n"
    "               the messages in its language\n"
    "  -O ARG       ignored\n"
    "\n"
    "Output options:\n"
    "  --report FILE    write the report to FILE instead of standard output\n"
    "  --append         append to FILE instead of replacing it\n"
    "  --sections LIST  comma-separated subset of info, list, refs (default all):\n"
    "                   the header, the target list, the list's references\n"
    "  --extracts N     0 none (default), 1 words, 2 sentences, 3 paragraphs\n"
    "  --detailed       extracts listed under each word instead of grouped\n"
    "  --no-extref      no references with the extracts\n"
    "  --no-balise      no marked spans with the extracts\n"
    "  --words          the word list (with -I, -W, -M, -Y) instead of a search\n"
    "  --kwic           the concordance instead of the report: one line per\n"
    "                   occurrence, UTF-8 TSV (see README)\n"
    "  --width N        characters of context on each side (default 50)\n"
    "  --cut-words      cut contexts at the width, even inside a word\n"
    "  --sort KEYS      concordance sort, up to three of L3,L2,L1,C,R1,R2,R3\n"
    "                   (C the found text), then document and position\n"
    "  --per-folio      the occurrences counted per folio side and per page,\n"
    "                   UTF-8 TSV, instead of the report\n"
    "  --csv            --kwic and --per-folio write CSV instead of TSV\n"
    "  --dump-doc FILE  write FILE's document model (text, marks, notes, line\n"
    "                   table) as JSON and stop\n"
    "  --help           this text\n"
    "\n"
    "Exit status: 0 done (an empty result too), 1 a file could not be read or\n"
    "written (a corpus document that cannot be read is reported and the others\n"
    "are still searched), 2 bad usage.\n";

struct BatchOptions {
  std::string reportPath;
  std::string dumpPath;
  bool words = false;
  bool help = false;
  bool kwic = false;
  bool perFolio = false;
  bool csv = false;
  ConcordanceOptions concordance;
  std::vector<KwicKey> sortKeys;
  ReportOptions report;
};

// The language of -L; French until one is loaded.
LanguageTables& language() {
  static LanguageTables tables;
  return tables;
}

std::string T(std::string_view text) { return language().translate(text); }

// Messages go to standard error in UTF-8: the text, then its detail.
void message(const std::string& text, const std::string& detail = {}) {
  std::fprintf(stderr, "%s%s\n", text.c_str(), detail.c_str());
}

// -L: the file as typed. Unlike the workbench, which goes on in French,
// a file that cannot be used is an error here: a script would otherwise get
// a report in another language than it asked for.
bool loadLanguage(const std::string& path) {
  switch (language().load(path)) {
    case LanguageLoad::Loaded:
      return true;
    case LanguageLoad::NotOpened:
      message(T("Fichier non trouvé :\n"), path);
      return false;
    case LanguageLoad::NotLanguageFile:
      message(path, T("\nn'est pas un fichier langue."));
      return false;
  }
  return false;
}

bool takesArgument(std::string_view option) {
  if (option.size() < 2 || option[0] != '-') return false;
  const char c = static_cast<char>(option[1] & ~0x20);
  return c == 'L' || c == 'R' || c == 'T' || c == 'C' || c == 'F' || c == 'O' || c == 'S';
}

bool parseSections(std::string_view list, ReportOptions& report) {
  report.information = report.list = report.references = false;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view item = list.substr(0, comma);
    if (item == "info") {
      report.information = true;
    } else if (item == "list") {
      report.list = true;
    } else if (item == "refs") {
      report.references = true;
    } else if (!item.empty()) {
      return false;
    }
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

bool parseSortKeys(std::string_view list, std::vector<KwicKey>& keys) {
  keys.clear();
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    std::string item(list.substr(0, comma));
    for (char& c : item) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    static const char* const kNames[kKwicKeyCount] = {"L3", "L2", "L1", "C", "R1", "R2", "R3"};
    const auto* at = std::find(std::begin(kNames), std::end(kNames), item);
    if (at == std::end(kNames) || keys.size() == kKwicMaxSortKeys) return false;
    keys.push_back(static_cast<KwicKey>(at - std::begin(kNames)));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return !keys.empty();
}

// Splits the arguments into the output options and the workbench's own,
// which keep their order. An argument that follows a workbench option
// taking one is that option's, whatever it looks like.
bool parseArguments(int argc, char** argv, BatchOptions& batch, std::vector<std::string>& workbench) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (takesArgument(a)) {
      workbench.emplace_back(a);
      if (i + 1 < argc) workbench.emplace_back(argv[++i]);
      continue;
    }
    if (a.substr(0, 2) != "--") {
      workbench.emplace_back(a);
      continue;
    }
    auto value = [&](const char* name) -> const char* {
      if (i + 1 < argc) return argv[++i];
      message(std::string("lirno-batch: ") + name + " needs a value");
      return nullptr;
    };
    if (a == "--help") {
      batch.help = true;
    } else if (a == "--report") {
      const char* v = value("--report");
      if (!v) return false;
      batch.reportPath = v;
    } else if (a == "--append") {
      batch.report.append = true;
    } else if (a == "--sections") {
      const char* v = value("--sections");
      if (!v) return false;
      if (!parseSections(v, batch.report)) {
        message("lirno-batch: --sections takes info, list and refs: ", v);
        return false;
      }
    } else if (a == "--extracts") {
      const char* v = value("--extracts");
      if (!v) return false;
      if (std::strlen(v) != 1 || v[0] < '0' || v[0] > '3') {
        message("lirno-batch: --extracts takes 0, 1, 2 or 3: ", v);
        return false;
      }
      batch.report.extracts = v[0] - '0';
    } else if (a == "--detailed") {
      batch.report.detailed = true;
    } else if (a == "--no-extref") {
      batch.report.extractReferences = false;
    } else if (a == "--no-balise") {
      batch.report.spans = false;
    } else if (a == "--words") {
      batch.words = true;
    } else if (a == "--kwic") {
      batch.kwic = true;
    } else if (a == "--per-folio") {
      batch.perFolio = true;
    } else if (a == "--csv") {
      batch.csv = true;
    } else if (a == "--cut-words") {
      batch.concordance.wholeWords = false;
    } else if (a == "--width") {
      const char* v = value("--width");
      if (!v) return false;
      char* end = nullptr;
      const long n = std::strtol(v, &end, 10);
      if (*v == '\0' || *end != '\0' || n < 0 || n > 100000) {
        message("lirno-batch: --width takes a number of characters from 0 to 100000: ", v);
        return false;
      }
      batch.concordance.width = static_cast<int>(n);
    } else if (a == "--sort") {
      const char* v = value("--sort");
      if (!v) return false;
      if (!parseSortKeys(v, batch.sortKeys)) {
        message("lirno-batch: --sort takes up to three of L3,L2,L1,C,R1,R2,R3: ", v);
        return false;
      }
    } else if (a == "--dump-doc") {
      const char* v = value("--dump-doc");
      if (!v) return false;
      batch.dumpPath = v;
    } else {
      message("lirno-batch: unknown option ", std::string(a));
      return false;
    }
  }
  return true;
}

// The report or the dump goes to the --report file or to the standard
// output; a failure names the file and says why.
bool openOutput(const BatchOptions& batch, FileWriter& out) {
  if (batch.reportPath.empty()) {
    out.attach(STDOUT_FILENO);
    return true;
  }
  const auto mode = batch.report.append ? FileWriter::Mode::Append : FileWriter::Mode::Replace;
  if (out.open(batch.reportPath, mode)) return true;
  message(T("Impossible d'écrire le fichier : "), batch.reportPath + "\n" + out.error());
  return false;
}

bool closeOutput(const BatchOptions& batch, FileWriter& out) {
  if (out.commit()) return true;
  if (batch.reportPath.empty()) {
    message(T("Impossible d'écrire sur la sortie standard : "), out.error());
  } else {
    message(T("Impossible d'écrire le fichier : "), batch.reportPath + "\n" + out.error());
  }
  return false;
}

// Says why `path` could not be read: what opening it says now, else the
// error `code` of the read that failed.
std::string unreadableDetail(const std::string& path, int code, std::string* text = nullptr) {
  InputFile probe;
  FileError e{FileError::Kind::Read, code, 0, 0};
  if (!probe.open(path)) e = probe.error();
  if (text) *text = T(e.messageText());
  return e.detail(path);
}

void reportUnreadable(const std::string& path, int code) {
  std::string text;
  const std::string detail = unreadableDetail(path, code, &text);
  message(T(text), detail);
}

int run(int argc, char** argv) {
  BatchOptions batch;
  std::vector<std::string> args;
  if (!parseArguments(argc, argv, batch, args)) return 2;
  if (batch.help) {
    FileWriter out;
    out.attach(STDOUT_FILENO);
    out.write(kUsage);
    return closeOutput(BatchOptions{}, out) ? 0 : 1;
  }
  // Every argument, each one token: a script's arguments are never cut or
  // read again as options.
  const CommandLine cl = parseCommandArguments(args, false);

  if (!cl.languageFile.empty() && !loadLanguage(cl.languageFile)) return 1;
  if (!cl.unconvertible.empty()) {
    message(T("Ces chaînes de recherche ont des caractères sans forme Windows-1252 ; elles ne sont pas "
              "cherchées :\n"),
            cl.unconvertible);
    return 2;
  }
  const Translator translator = [](std::string_view text) { return T(text); };

  const std::string programFolder = executableFolder();
  RulesTables rules;
  const std::string rulesPath = inFolder(programFolder, cl.rulesFile.empty() ? "nac.rul" : cl.rulesFile);
  if (!rules.loadRules(rulesPath)) {
    message(T("Fichier de règles illisible : "), unreadableDetail(rulesPath, errno));
    return 1;
  }
  rules.loadVariantRules(rulesPath);
  ReaderDocuments documents(rules.markers, [](const std::string& text, const std::string& detail) {
    message(T(text), detail);
  });

  if (!batch.dumpPath.empty()) {
    const Document* doc = documents.load(batch.dumpPath);
    if (!doc) return 1;
    FileWriter out;
    if (!openOutput(batch, out)) return 1;
    out.write(documentJson(*doc));
    return closeOutput(batch, out) ? 0 : 1;
  }

  std::vector<std::string> corpus;
  const bool corpusLoaded = !cl.corpusFile.empty();
  if (corpusLoaded && !readCorpusFile(cl.corpusFile, corpus)) {
    reportUnreadable(cl.corpusFile, errno);
    return 1;
  }
  std::vector<std::string> thesaurus;
  if (!cl.thesaurusFile.empty() && !readStringListFile(cl.thesaurusFile, thesaurus)) {
    reportUnreadable(cl.thesaurusFile, errno);
    return 1;
  }
  const bool documentOpen = !cl.fileToOpen.empty();
  if (documentOpen && !documents.load(cl.fileToOpen)) return 1;
  if (!documentOpen && !corpusLoaded) {
    message("lirno-batch: no document and no corpus (-C) to work on; see --help");
    return 2;
  }

  CommandLine effective = cl;
  if (!effective.searchStrings && !thesaurus.empty()) {
    // Without a dialog, the thesaurus is used as its "Thesaurus" button does.
    effective.searchStrings.emplace();
    for (std::string& text : thesaurusSearchTexts(thesaurus)) {
      effective.searchStrings->push_back({std::move(text), 0, false});
    }
  }
  SearchRequest request;
  const bool hasStrings = buildCommandLineRequest(effective, rules.filters, documentOpen, corpusLoaded, request);

  EngineContext context{rules, documents, corpus, programFolder, translator, {}, {}, {}};
  cTargetList targets;
  if (batch.words) {
    message(cp1252ToUtf8(runWordList(request, targets, context)));
  } else {
    if (!hasStrings) {
      message("lirno-batch: no search string (-S or -T); see --help");
      return 2;
    }
    const SearchOutcome outcome = runSearch(request, targets, context, false);
    message(cp1252ToUtf8(outcome.status));
  }

  if (batch.kwic || batch.perFolio) {
    const TableFormat format = batch.csv ? TableFormat::Csv : TableFormat::Tsv;
    std::string table;
    if (batch.kwic) {
      const Concordance c = buildConcordance(targets, {}, documents, rules, batch.concordance);
      const WordForm form{request.resultSpelling, request.showSymbols};
      table = concordanceTable(c, sortConcordance(c, batch.sortKeys, rules, form), format, false,
                               defaultConcordanceColumns());
    }
    if (batch.perFolio) {
      if (!table.empty()) table += batch.csv ? "\r\n" : "\n";
      table += placeCountTable(countPlaces(targets, {}), format, false, fileNameOf(cl.fileToOpen));
    }
    FileWriter out;
    bool written = openOutput(batch, out);
    if (written) {
      out.write(table);
      written = closeOutput(batch, out);
    }
    const int status = written && documents.failures() == 0 ? 0 : 1;
    std::fflush(nullptr);
    std::_Exit(status);
  }

  FileWriter out;
  bool written = openOutput(batch, out);
  if (written) {
    const ReportInput input{request, targets, corpus, documents, translator, rules.markers.page};
    writeReport(batch.report, input, out);
    written = closeOutput(batch, out);
  }
  // Like grep: the documents that could be read were searched, and the
  // status says that some could not.
  const int status = written && documents.failures() == 0 ? 0 : 1;
  // A corpus word list holds millions of targets: the system takes their
  // memory back at once rather than each being freed. Everything written
  // is flushed and closed by now.
  std::fflush(nullptr);
  std::_Exit(status);
}

}  // namespace
}  // namespace lirno

int main(int argc, char** argv) try {
  return lirno::run(argc, argv);
} catch (const std::bad_alloc&) {
  // Unwound: what the work held is freed, so the message can be written.
  std::fputs("lirno-batch: out of memory; the work was stopped\n", stderr);
  return 1;
}
