// Thesaurus and corpus files over any bytes: read as their lines, and what
// is written reads back the same.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "lexicon/string_list_file.h"

using lirno::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static const std::string path = lirno::fuzz::scratchFile("list.the");
  static const std::string copy = lirno::fuzz::scratchFile("copy.the");
  lirno::fuzz::writeFile(path, bytes);

  std::vector<std::string> entries;
  if (!lirno::readStringListFile(path, entries)) fail("a thesaurus file that was written cannot be read");
  if (entries != lirno::splitLines(bytes)) fail("a thesaurus file is not its lines");
  if (!lirno::writeStringListFile(copy, entries)) fail("a thesaurus cannot be written");
  std::vector<std::string> again;
  if (!lirno::readStringListFile(copy, again) || again != entries) fail("a thesaurus does not read back");

  std::vector<std::string> paths;
  if (lirno::readCorpusFile(path, paths)) {
    if (lirno::writeCorpusFile(copy, paths)) {
      std::vector<std::string> back;
      if (!lirno::readCorpusFile(copy, back) || back != paths) fail("a corpus does not read back");
    }
  }
  std::remove(path.c_str());
  std::remove(copy.c_str());
  return 0;
}
