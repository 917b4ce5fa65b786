// The command-line parser over any text, and over any arguments as the
// programs receive them, with and without the workbench's cut: every value
// within its range.
//
// Input: the command-line text; the same bytes cut at NUL bytes are the
// arguments.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "shell/command_line.h"

using lirno::fuzz::fail;

namespace {

void check(const lirno::CommandLine& cl) {
  if (cl.spelling < 0 || cl.spelling > 3) fail("spelling out of range");
  if (cl.context < 0 || cl.context > 3) fail("context out of range");
  if (cl.resultSpelling < 0 || cl.resultSpelling > 2) fail("result spelling out of range");
  if (cl.generationLevel < 0 || cl.generationLevel > 9) fail("generation level out of range");
  if (cl.searchStrings) {
    for (const lirno::CommandLineString& s : *cl.searchStrings) {
      if (s.place < 0 || s.place > 4) fail("place out of range");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  check(lirno::parseCommandLine(text));

  std::vector<std::string> args;
  std::string_view rest = text;
  while (args.size() < 64) {
    const std::size_t nul = rest.find('\0');
    args.emplace_back(rest.substr(0, nul));
    if (nul == std::string_view::npos) break;
    rest.remove_prefix(nul + 1);
  }
  check(lirno::parseCommandArguments(args, true));
  check(lirno::parseCommandArguments(args, false));
  return 0;
}
