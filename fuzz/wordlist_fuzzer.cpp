// The word list over a document and rules from the input: every word once
// per place, found texts within their bounds, the same list twice over.
//
// Input: 1 option byte (result spelling, symbols, filters), then rules NUL
// document.
#include <cstdint>
#include <string>

#include "documents/rtf_reader.h"
#include "fuzz_input.h"
#include "lexicon/word_list.h"
#include "search/request_builder.h"

using lirno::fuzz::fail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lirno::fuzz::Input in(data, size, 1, 2);
  lirno::RulesTables rules;
  rules.loadRulesText(in.parts[0]);
  lirno::Document doc;
  lirno::readDocumentFromMemory(in.parts[1], doc, rules.markers);
  const int spelling = in.options[0] % 3;
  const bool symbols = spelling < 2 && (in.options[0] & 4);
  lirno::SearchRequest rq;
  for (std::size_t k = 0; k < rules.filters.size() && k < 4; ++k) {
    if (in.options[0] >> (4 + k) & 1) lirno::addFilter(rules.filters[k], rq);
  }

  lirno::cTargetList first, second;
  lirno::wordScan(doc, {}, rq.filters, rules, spelling, symbols, first);
  lirno::finishWordList(first, false, {});
  lirno::wordScan(doc, lirno::DocumentLabel("doc | /"), rq.filters, rules, spelling, symbols, second);
  lirno::finishWordList(second, false, {});
  if (first.size() != second.size()) fail("two word lists of one document differ");

  const auto* text = reinterpret_cast<const unsigned char*>(doc.text.c_str());
  const auto positions = doc.positionOfIndex(static_cast<std::int32_t>(doc.text.size()));
  for (std::size_t i = 0; i < first.size(); ++i) {
    const lirno::Target& t = first[i];
    if (t.text != second[i].text || t.occurrences.size() != second[i].occurrences.size()) {
      fail("two word lists of one document differ");
    }
    // Sorted by text: one text, one target.
    if (i > 0 && first[i - 1].text == t.text) fail("one word in two targets");
    if (t.text.size() > static_cast<std::size_t>(lirno::kMaxFoundTextLength)) fail("a found text too long");
    if (t.text.view().find('\0') != std::string::npos) fail("a 0 byte in a found text");
    for (const lirno::Occurrence& o : t.occurrences) {
      if (o.start < 0 || o.start >= positions) fail("an occurrence outside the text");
      // A word begins with a word character.
      if (rules.classOf(text[doc.indexOfPosition(o.start)]) != lirno::kWordChar) fail("a word that begins with no letter");
    }
  }
  return 0;
}
