// Writes a generated corpus of plain-text transcriptions with a fixed seed:
// the same bytes on every run and every machine.
//
//   lirno-gen-corpus FOLDER [DOCUMENTS [KILOBYTES]]    (default 1000 x 100)
//
// FOLDER receives doc0000.txt ... and corpus.cor (their full paths, CR LF).
// The text is Windows-1252 French-like prose: a Zipf-distributed vocabulary
// of real and made-up words with accented letters, elisions with an
// apostrophe, capitals at sentence starts, commas, sentence and paragraph
// ends, and the page, folio and verso markers of nac.rul.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/vocabulary.h"

namespace {

// mt19937's output is fixed by the standard; its distributions are not, so
// only its raw numbers are used.
class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t below(std::uint32_t n) { return engine_() % n; }
  double unit() { return engine_() / 4294967296.0; }

 private:
  std::mt19937 engine_;
};

bool startsWithVowel(const std::string& w) {
  const char c = w[0];
  return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'h' ||
         static_cast<unsigned char>(c) == 0xE9;
}

std::string document(Random& r, const std::vector<std::string>& words,
                     const std::vector<double>& cumulative, std::size_t bytes, int& page, int& folio) {
  auto pick = [&]() -> const std::string& {
    const double u = r.unit() * cumulative.back();
    std::size_t lo = 0, hi = cumulative.size() - 1;
    while (lo < hi) {
      const std::size_t mid = (lo + hi) / 2;
      if (cumulative[mid] < u) lo = mid + 1; else hi = mid;
    }
    return words[lo];
  };
  std::string text;
  text.reserve(bytes + 4096);
  bool recto = false;
  while (text.size() < bytes) {
    if (r.below(3) == 0) {
      text += '\xb1';  // a new page
      ++page;
      if (recto) {
        text += '\xbe';  // its verso
      } else {
        text += '=';  // a new folio
        ++folio;
      }
      recto = !recto;
    }
    const int sentences = 2 + static_cast<int>(r.below(6));
    for (int s = 0; s < sentences; ++s) {
      const int count = 4 + static_cast<int>(r.below(18));
      for (int k = 0; k < count; ++k) {
        if (k > 0) text += r.below(100) < 8 ? ", " : " ";
        std::string w = pick();
        if (r.below(100) < 6) {
          // An elision before a vowel: "l'amour", "d'or".
          while (!startsWithVowel(w)) w = pick();
          w = (r.below(2) ? "l'" : "d'") + w;
        }
        if (k == 0 && w[0] >= 'a' && w[0] <= 'z') w[0] = static_cast<char>(w[0] - 32);
        text += w;
      }
      const std::uint32_t end = r.below(20);
      text += end == 0 ? "?" : end == 1 ? "!" : ".";
      if (s + 1 < sentences) text += ' ';
    }
    text += "\r\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: lirno-gen-corpus FOLDER [DOCUMENTS [KILOBYTES]]\n");
    return 2;
  }
  const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
  const int documents = argc > 2 ? std::atoi(argv[2]) : 1000;
  const std::size_t kilobytes = argc > 3 ? static_cast<std::size_t>(std::atoi(argv[3])) : 100;
  std::filesystem::create_directories(folder);

  const std::vector<std::string> words = lirno::bench::vocabulary();
  std::vector<double> cumulative;
  double sum = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    sum += 1.0 / static_cast<double>(i + 1);  // Zipf: the word of rank i is 1/i as frequent
    cumulative.push_back(sum);
  }

  Random r(20240611);
  std::string corpus;
  std::size_t total = 0;
  for (int d = 0; d < documents; ++d) {
    char name[32];
    std::snprintf(name, sizeof name, "doc%04d.txt", d);
    int page = 0, folio = 0;
    const std::string text = document(r, words, cumulative, kilobytes * 1000, page, folio);
    const std::filesystem::path path = folder / name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "lirno-gen-corpus: cannot write %s\n", path.c_str());
      return 1;
    }
    total += text.size();
    corpus += path.string() + "\r\n";
  }
  const std::filesystem::path cor = folder / "corpus.cor";
  std::FILE* f = std::fopen(cor.c_str(), "wb");
  if (!f || std::fwrite(corpus.data(), 1, corpus.size(), f) != corpus.size() || std::fclose(f) != 0) {
    std::fprintf(stderr, "lirno-gen-corpus: cannot write %s\n", cor.c_str());
    return 1;
  }
  std::printf("%d documents, %zu bytes in %s\n", documents, total, folder.c_str());
  return 0;
}
