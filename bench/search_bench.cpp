// Scan and word-list throughput over a corpus held in memory.
//
//   lirno-bench-search CORPUS.cor RULES.rul [RUNS [ONLY]]   measure
//     ONLY: "scan N SPELLING CONTEXT" (numbers) or "words": that one alone
//   lirno-bench-search --strings N                    print the N search strings
//
// The corpus documents are read once with the document reader; each
// configuration then scans all of them as a corpus search does (one target
// list, one label per document) and prints, one line each:
//   scan <strings> <spelling> <context> <mbps> <targets> <occurrences>
//   plain <strings> <spelling> <context> <mbps> <targets> <occurrences>
//   words <mbps> <targets per document, summed> <occurrences>
//   memory <peak resident bytes> <corpus text bytes>
// The best of RUNS (default 3) runs counts. "plain" is the reference
// matcher, for the ratio of the fast one to it.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/vocabulary.h"
#include "documents/rtf_reader.h"
#include "lexicon/string_list_file.h"
#include "lexicon/word_list.h"
#include "results/document_label.h"
#include "search/driver.h"
#include "search/matcher.h"

namespace {

using namespace lirno;

// The search strings of a run of n: words of middling frequency, short and
// long, taken at fixed ranks of the vocabulary.
std::vector<std::string> searchStrings(std::size_t n) {
  const std::vector<std::string> words = bench::vocabulary();
  std::vector<std::string> out;
  if (n == 1) return {"chevalier"};
  for (std::size_t rank = 20; out.size() < n && rank < words.size(); rank += 3) {
    if (words[rank].size() >= 3) out.push_back(words[rank]);
  }
  return out;
}

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Corpus {
  std::vector<std::unique_ptr<Document>> documents;
  std::vector<DocumentLabel> labels;
  std::size_t bytes = 0;
};

struct Result {
  double mbps;
  std::size_t targets;
  std::int64_t occurrences;
};

Result scanAll(const Corpus& corpus, const RulesTables& rules, const std::vector<std::string>& strings,
               int spelling, int context, ScanMethod method, int runs) {
  Result best{0, 0, 0};
  for (int run = 0; run < runs; ++run) {
    SearchRequest rq;
    rq.spelling = spelling;
    rq.context = context;
    rq.ignoreSeparators = false;
    rq.allStrings = false;
    rq.resultSpelling = std::min(spelling, 2);
    rq.showSymbols = rq.resultSpelling < 2;
    for (const std::string& s : strings) {
      auto record = std::make_unique<SearchString>();
      record->text = s;
      rq.strings.push_back(std::move(record));
    }
    preparePatterns(rq.strings, rq, rules);
    cTargetList targets;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t d = 0; d < corpus.documents.size(); ++d) {
      scanDocument(rq, *corpus.documents[d], rules, corpus.labels[d], targets, method);
    }
    const double mbps = static_cast<double>(corpus.bytes) / 1e6 / seconds(start);
    if (mbps > best.mbps) best = {mbps, targets.size(), targets.occurrenceCount()};
  }
  return best;
}

Result wordsAll(const Corpus& corpus, const RulesTables& rules, int runs) {
  Result best{0, 0, 0};
  for (int run = 0; run < runs; ++run) {
    std::size_t targets = 0;
    std::int64_t occurrences = 0;
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t d = 0; d < corpus.documents.size(); ++d) {
      // One document's list at a time, as the memory of a word list is the
      // targets' and not the scan's.
      cTargetList list;
      wordScan(*corpus.documents[d], corpus.labels[d], {}, rules, kResultReduced, false, list);
      targets += list.size();
      occurrences += list.occurrenceCount();
    }
    const double mbps = static_cast<double>(corpus.bytes) / 1e6 / seconds(start);
    if (mbps > best.mbps) best = {mbps, targets, occurrences};
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--strings") == 0) {
    for (const std::string& s : searchStrings(static_cast<std::size_t>(std::atoi(argv[2])))) {
      std::printf("%s\n", s.c_str());
    }
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: lirno-bench-search CORPUS.cor RULES.rul [RUNS]\n");
    return 2;
  }
  static const char* const kSpellings[] = {"Identique", "Majuscule", "Modifiee"};
  static const char* const kContexts[] = {"Texte", "Mot", "Phrase"};
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
  const std::string only = argc > 4 ? argv[4] : "";
  RulesTables rules;
  if (!rules.loadRules(argv[2])) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  std::vector<std::string> paths;
  if (!readCorpusFile(argv[1], paths)) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  Corpus corpus;
  for (const std::string& p : paths) {
    auto doc = std::make_unique<Document>();
    if (!readDocument(p, *doc, rules.markers)) {
      std::fprintf(stderr, "cannot read %s\n", p.c_str());
      return 1;
    }
    corpus.bytes += doc->text.size();
    corpus.labels.emplace_back(documentLabel(p, "/"));
    corpus.documents.push_back(std::move(doc));
  }

  if (!only.empty()) {
    unsigned n = 0;
    int spelling = 0, context = 0;
    if (only == "words") {
      const Result w = wordsAll(corpus, rules, runs);
      std::printf("words %.1f %zu %lld\n", w.mbps, w.targets, static_cast<long long>(w.occurrences));
    } else if (std::sscanf(only.c_str(), "scan %u %d %d", &n, &spelling, &context) == 3) {
      const Result r = scanAll(corpus, rules, searchStrings(n), spelling, context, ScanMethod::kFast, runs);
      std::printf("scan %u %s %s %.1f %zu %lld\n", n, kSpellings[spelling], kContexts[context], r.mbps,
                  r.targets, static_cast<long long>(r.occurrences));
    }
    return 0;
  }
  for (std::size_t n : {1, 10, 100}) {
    const std::vector<std::string> strings = searchStrings(n);
    for (int spelling : {kSpellingSame, kSpellingUpper, kSpellingReduced}) {
      for (int context : {kContextText, kContextSentence}) {
        const Result r = scanAll(corpus, rules, strings, spelling, context, ScanMethod::kFast, runs);
        std::printf("scan %zu %s %s %.1f %zu %lld\n", n, kSpellings[spelling], kContexts[context], r.mbps,
                    r.targets, static_cast<long long>(r.occurrences));
        std::fflush(stdout);
      }
    }
  }
  for (std::size_t n : {1, 100}) {
    const Result r = scanAll(corpus, rules, searchStrings(n), kSpellingReduced, kContextText,
                             ScanMethod::kPlain, 1);
    std::printf("plain %zu Modifiee Texte %.1f %zu %lld\n", n, r.mbps, r.targets,
                static_cast<long long>(r.occurrences));
    std::fflush(stdout);
  }
  const Result w = wordsAll(corpus, rules, runs);
  std::printf("words %.1f %zu %lld\n", w.mbps, w.targets, static_cast<long long>(w.occurrences));
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  std::printf("memory %lld %zu\n", static_cast<long long>(usage.ru_maxrss) * 1024, corpus.bytes);
  return 0;
}
