#pragma once
// The program texts that reach translate() at run time, read from the
// sources: the literals passed to translate(), T(), translateToAnsi(),
// showMessage() and translatable(), and the entries of the constant tables
// (kName[] = {...}) named in those calls.
#include <set>
#include <string>

namespace lirno::testing {

// Every .cpp and .h file under `sourceFolder`; texts as the program holds
// them (UTF-8, escapes decoded).
std::set<std::string> translatedSourceTexts(const std::string& sourceFolder);

// The same for one file's text (for the scanner's own test).
std::set<std::string> translatedTextsOf(const std::string& code);

}  // namespace lirno::testing
