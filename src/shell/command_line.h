#pragma once
// The workbench's command line: files to load, a document to open and a
// complete search to run at once. Shared by lirno and lirno-batch.
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
};

// Parses the text of the command line (the arguments after the program name,
// as one string). Only the first 1024 characters after the first token are
// read.
CommandLine parseCommandLine(std::string_view text);

// Joins argv[1..] into the command-line text, quoting arguments that hold a
// blank, so that parseCommandLine sees them as the shell passed them.
std::string joinArguments(int argc, const char* const* argv);

}  // namespace lirno
