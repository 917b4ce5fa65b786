#include "search/request_builder.h"

#include <algorithm>

namespace lirno {

void appendFilterPatterns(std::string_view definition, cFilterList& out) {
  const std::size_t eq = definition.find('=');
  if (eq == std::string_view::npos) return;
  std::string_view rest = definition.substr(eq + 1);
  while (true) {
    const std::size_t comma = rest.find(',');
    std::string_view piece = rest.substr(0, comma);
    if (!piece.empty()) {
      FilterPattern f;
      if (piece.front() == '^') {
        piece.remove_prefix(1);
        f.anchor = kAnchorStart;
      }
      if (!piece.empty() && piece.back() == '$') {
        piece.remove_suffix(1);
        f.anchor = f.anchor == kAnchorStart ? kAnchorBoth : kAnchorEnd;
      }
      f.text = std::string(piece);
      out.push_back(std::move(f));
    }
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
}

std::string_view filterTitle(std::string_view definition) {
  return definition.substr(0, definition.find('='));
}

void addFilter(std::string_view definition, SearchRequest& request) {
  appendFilterPatterns(definition, request.filters);
  if (!request.filterDescription.empty()) request.filterDescription += ", ";
  request.filterDescription += filterTitle(definition);
}

void addFiltersByKeys(const std::vector<std::string>& definitions, std::string_view keys,
                      SearchRequest& request) {
  while (true) {
    const std::size_t colon = keys.find(':');
    const std::string_view key = keys.substr(0, colon);
    if (!key.empty()) {
      for (const std::string& d : definitions) {
        if (std::string_view(d).substr(0, d.find(':')) == key) {
          addFilter(d, request);
          break;
        }
      }
    }
    if (colon == std::string_view::npos) break;
    keys.remove_prefix(colon + 1);
  }
}

void numberStrings(cArrowList& strings) {
  for (std::size_t i = 0; i < strings.size(); ++i) strings[i]->order = static_cast<std::int32_t>(i);
}

void removeParentedStrings(cArrowList& strings) {
  strings.erase(std::remove_if(strings.begin(), strings.end(),
                               [](const auto& s) { return s->parent != nullptr; }),
                strings.end());
}

std::vector<std::string> thesaurusSearchTexts(const std::vector<std::string>& lines) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const std::string& line : lines) {
    std::size_t a = 0, b = line.size();
    while (a < b && blank(line[a])) ++a;
    while (b > a && blank(line[b - 1])) --b;
    if (a < b) out.push_back(line.substr(a, b - a));
  }
  return out;
}

bool buildCommandLineRequest(const CommandLine& cl, const std::vector<std::string>& filterDefinitions,
                             bool documentOpen, bool corpusLoaded, SearchRequest& request) {
  request.strings.clear();
  if (cl.searchStrings) {
    for (const CommandLineString& s : *cl.searchStrings) {
      if (s.text.empty()) continue;
      auto record = std::make_unique<SearchString>();
      record->text = s.text;
      record->place = s.place;
      record->exclude = s.exclude;
      request.strings.push_back(std::move(record));
    }
  }
  // As the dialog's "OK" does, so that "-D" has ranks to compare.
  numberStrings(request.strings);
  request.filters.clear();
  request.filterDescription.clear();
  addFiltersByKeys(filterDefinitions, cl.filterKeys, request);
  if (!documentOpen && !corpusLoaded) return false;

  request.useCorpus = corpusLoaded;
  request.spelling = cl.spelling;
  request.ignoreSeparators = cl.ignoreSeparators;
  request.context = cl.context;
  request.allStrings = cl.allStrings;
  request.inOrder = cl.inOrder;
  request.generationLevel = cl.generationLevel;
  request.resultLikeSpelling = cl.resultLikeSpelling;
  request.resultSpelling =
      cl.resultLikeSpelling ? std::min(cl.spelling, static_cast<int>(kResultReduced)) : cl.resultSpelling;
  request.showSymbols = request.resultSpelling < kResultReduced && cl.showSymbols;
  return !request.strings.empty();
}

}  // namespace lirno
