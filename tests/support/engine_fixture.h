#pragma once
// Rules, documents and requests built in memory for the engine tests.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "documents/document.h"
#include "documents/document_source.h"
#include "search/request.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno::testing {

// Space and comma separate words, "." "!" "?" sentences, LF and CR
// paragraphs; the apostrophe and "-" are symbols; é upper-cases to É.
inline const char kTestRules[] =
    "[Separators]\n"
    "32=2\n"
    ",=2\n"
    ".=3\n"
    "!=3\n"
    "?=3\n"
    "10=4\n"
    "13=4\n"
    "'=1\n"
    "-=1\n"
    "[Uppers]\n"
    "0xe9=0xc9\n"
    "[Substitutions]\n"
    "QU=K\n"
    "PH=F\n"
    "H=\n";

inline RulesTables testRules(const std::string& extra = {}) {
  RulesTables rules;
  rules.loadRulesText(std::string(kTestRules) + extra);
  rules.loadVariantRulesText(std::string(kTestRules) + extra);
  return rules;
}

// A document as the reader would make it from plain text: the line table
// lists every break; an automatic page-1 mark stands at the first character
// unless `withPageMark` is false.
inline Document makeDocument(const std::string& text, bool withPageMark = true,
                             const std::string& path = {}) {
  Document doc;
  doc.path = path;
  doc.text = text;
  std::int32_t position = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') {
      doc.lineTable.push_back(position);
      position += 2;
    } else {
      position += 1;
    }
  }
  if (withPageMark && !text.empty()) {
    Mark m;
    m.kind = MarkKind::Page;
    m.number = 1;
    doc.marks.push_back(std::move(m));
  }
  return doc;
}

inline Mark makeMark(MarkKind kind, std::int32_t index, std::int32_t position, std::int32_t number,
                     std::int32_t value = 0) {
  Mark m;
  m.kind = kind;
  m.index = index;
  m.position = position;
  m.number = number;
  m.value = value;
  return m;
}

struct StringSpec {
  std::string text;
  int place = kPlaceAnywhere;
  bool exclude = false;
};

// A request with the given strings, numbered, and the search dialog's
// options otherwise; patterns not yet prepared.
inline SearchRequest makeRequest(const std::vector<StringSpec>& strings, int spelling = kSpellingSame,
                                 int context = kContextText) {
  SearchRequest rq;
  rq.spelling = spelling;
  rq.context = context;
  rq.ignoreSeparators = false;
  rq.allStrings = false;
  rq.resultSpelling = spelling > 2 ? 2 : spelling;
  rq.showSymbols = rq.resultSpelling < 2;
  for (std::size_t i = 0; i < strings.size(); ++i) {
    auto s = std::make_unique<SearchString>();
    s->text = strings[i].text;
    s->pattern = strings[i].text;
    s->place = strings[i].place;
    s->exclude = strings[i].exclude;
    s->order = static_cast<std::int32_t>(i);
    rq.strings.push_back(std::move(s));
  }
  return rq;
}

// Documents by path; a path that is not there cannot be read.
class FakeDocuments : public DocumentSource {
 public:
  std::map<std::string, std::string> files;  // path -> text
  std::vector<std::string> missing;           // what load reported
  int loads = 0;
  Document open;

  const Document& current() override { return open; }
  void closeAll() override { open.clear(); }
  const Document* load(const std::string& path) override {
    ++loads;
    open.clear();
    auto it = files.find(path);
    if (it == files.end()) {
      missing.push_back(path);
      return nullptr;
    }
    open = makeDocument(it->second, true, path);
    return &open;
  }
};

// "text:start,start;text:start" of a target list, for compact assertions.
inline std::string summary(const cTargetList& targets) {
  std::string out;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Target& t = targets[i];
    if (i > 0) out += ';';
    out += t.text.str() + ':';
    for (std::size_t k = 0; k < t.occurrences.size(); ++k) {
      if (k > 0) out += ',';
      out += std::to_string(t.occurrences[k].start);
    }
  }
  return out;
}

}  // namespace lirno::testing
