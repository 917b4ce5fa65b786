#pragma once
// Building search requests: filter definitions, the strings' order numbers,
// and the request that the command line asks for.
#include <string>
#include <string_view>
#include <vector>

#include "search/request.h"
#include "shell/command_line.h"

namespace lirno {

// A filter definition ("k:name=pat,^pat,pat$") turned into patterns,
// appended to `out`. Nothing without "=" or with nothing after it; empty
// pieces are dropped; blanks inside pieces are kept.
void appendFilterPatterns(std::string_view definition, cFilterList& out);

// The definition's text before its first "=" (key, ":" and name).
std::string_view filterTitle(std::string_view definition);

// Adds a chosen filter: its patterns to the request's filter list and its
// title to the filter description (", " between two).
void addFilter(std::string_view definition, SearchRequest& request);

// Step 5 of the command line: `keys` ("A:B") split at ":", each looked up
// as the text before the definition's ":"; the first definition of each key
// is added. Keys that match nothing are skipped.
void addFiltersByKeys(const std::vector<std::string>& definitions, std::string_view keys,
                      SearchRequest& request);

// The search strings of a thesaurus, as its "Thesaurus" button and
// lirno-batch's "-T" take them: each line without its leading and trailing
// blanks, in order; blank lines give none, since an empty string can never
// be found.
std::vector<std::string> thesaurusSearchTexts(const std::vector<std::string>& lines);

// Every string's order number becomes its index (the search dialog's "OK").
void numberStrings(cArrowList& strings);

// Removes every string with a parent: generated variants and strings added
// in the variant dialog.
void removeParentedStrings(cArrowList& strings);

// The command-line request: the "-S" strings (numbered; empty ones
// dropped) replace the
// request's, and when a document is open or a corpus loaded, the options
// come from the command line and the filters from its "-I" keys. Returns
// whether there is something to search (strings and a document or corpus).
bool buildCommandLineRequest(const CommandLine& cl, const std::vector<std::string>& filterDefinitions,
                             bool documentOpen, bool corpusLoaded, SearchRequest& request);

}  // namespace lirno
