// Reads one transcription file with the document reader and prints its
// throughput and the memory of the document it builds.
//
//   lirno-bench-reader FILE [RUNS]
//
// Output, one "key value" per line: bytes, seconds (best run), mbps,
// text_bytes, marks, notes, pictures, document_bytes, bound_bytes (twice the
// text plus the marks), mark_bytes (one mark record) and peak_rss_bytes
// (the whole process, all runs).
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "documents/rtf_reader.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FILE [RUNS]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  struct stat st {};
  if (::stat(argv[1], &st) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  const lirno::Markers markers;
  double best = 1e30;
  lirno::Document doc;
  for (int i = 0; i < runs; ++i) {
    doc.clear();
    const auto start = std::chrono::steady_clock::now();
    if (!lirno::readDocument(argv[1], doc, markers)) {
      std::fprintf(stderr, "cannot read %s\n", argv[1]);
      return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  std::size_t pictures = 0;
  for (const lirno::Mark& m : doc.marks) pictures += m.picture ? 1 : 0;
  struct rusage usage {};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto bytes = static_cast<double>(st.st_size);
  std::printf("bytes %.0f\nseconds %.4f\nmbps %.1f\n", bytes, best, bytes / 1e6 / best);
  std::printf("text_bytes %zu\nmarks %zu\nnotes %zu\npictures %zu\n", doc.text.size(), doc.marks.size(),
              doc.notes.size(), pictures);
  std::printf("document_bytes %zu\nbound_bytes %zu\n", doc.memoryUsage(),
              2 * (doc.text.size() + doc.marks.size() * sizeof(lirno::Mark)));
  std::printf("mark_bytes %zu\n", sizeof(lirno::Mark));
  std::printf("peak_rss_bytes %ld\n", usage.ru_maxrss * 1024L);
  return 0;
}
