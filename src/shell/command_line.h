#pragma once
// The workbench's command line: files to load, a document to open and a
// complete search to run at once. Shared by lirno and lirno-batch.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lirno {

// One "-S" string with its flags.
struct CommandLineString {
  std::string text;  // as typed
  int place = 0;     // 0 anywhere .. 4 whole word
  bool exclude = false;
};

struct CommandLine {
  std::string fileToOpen;    // "-F" or a bare argument
  std::string languageFile;  // "-L"
  std::string rulesFile;     // "-R"
  std::string thesaurusFile; // "-T"
  std::string corpusFile;    // "-C"
  std::string filterKeys;    // "-I", upper-cased
  std::optional<std::vector<CommandLineString>> searchStrings;  // "-S"; none until the first
  int spelling = 2;          // 0 Identique .. 3 Générée
  int generationLevel = 1;
  int context = 0;           // 0 Texte .. 3 Paragraphe
  bool ignoreSeparators = false;
  bool allStrings = false;
  bool inOrder = false;
  bool resultLikeSpelling = true;
  int resultSpelling = 1;    // 0 Identique .. 2 Modifié
  bool showSymbols = true;
  // What the 1024-character cut left unread (parseCommandArguments with
  // the cut), as it stood on the command line; empty when all was read.
  std::string dropped;
  // Search strings come from a UTF-8 terminal or script: one that is
  // multi-byte UTF-8 is converted to Windows-1252 when every character has
  // a form there; the others are left out and listed here (UTF-8, one a
  // line) so that the caller can say so. Other bytes are taken as they are.
  std::string unconvertible;
};

// The workbench reads only this many characters of its command line after
// the first token.
inline constexpr std::size_t kCommandLineCut = 1024;

// Parses the text of the command line (the arguments after the program name,
// as one string). Only the first 1024 characters after the first token are
// read.
CommandLine parseCommandLine(std::string_view text);

// Parses the program's arguments (argv[1..]) as they came: each argument is
// one token whatever it holds (blanks, double quotes), so that no argument
// can add options of its own. With `cut` (the workbench), only the first
// 1024 characters after the first argument are read, counted as the
// arguments stand on one command line (blank-separated, quoted when they
// hold a blank): an argument across the limit is read up to it, and what
// was not read is kept in `dropped` so that the caller can say so. Without
// it (lirno-batch) every argument is read.
CommandLine parseCommandArguments(const std::vector<std::string>& arguments, bool cut);

}  // namespace lirno
