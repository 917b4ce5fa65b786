// A whole search: rules, a document and a request from the input. The fast
// scan must record exactly what the plain matcher records, and every found
// text keeps its bounds. The report of the result, with the extracts and
// layout the options pick, is streamed with CR LF line ends and says the
// same as the report built in memory.
//
// Input: 4 option bytes, then rules NUL document NUL strings (one a line,
// its first byte giving place and exclusion).
#include <algorithm>
#include <cstdint>
#include <string>

#include "documents/rtf_reader.h"
#include "fuzz_input.h"
#include "platform/file_write.h"
#include "results/report.h"
#include "search/driver.h"
#include "search/matcher.h"
#include "search/request_builder.h"
#include "search/variants.h"

namespace {

using lirno::fuzz::fail;

// The one document of the search, for the report's extracts.
class OneDocument final : public lirno::DocumentSource {
 public:
  explicit OneDocument(const lirno::Document& doc) : doc_(doc) {}
  const lirno::Document& current() override { return doc_; }
  void closeAll() override {}
  const lirno::Document* load(const std::string&) override { return nullptr; }

 private:
  const lirno::Document& doc_;
};

void checkReport(const lirno::SearchRequest& rq, const lirno::cTargetList& targets, const lirno::Document& doc,
                 const lirno::RulesTables& rules, std::uint8_t option) {
  lirno::ReportOptions options;
  options.extracts = option % 4;
  options.detailed = option & 4;
  options.extractReferences = option & 8;
  options.spans = option & 16;
  options.references = option & 32;
  OneDocument source(doc);
  const std::vector<std::string> corpus;
  const lirno::ReportInput input{rq, targets, corpus, source, {}, rules.markers.page};
  lirno::StringSink streamed;
  if (!lirno::writeReport(options, input, streamed)) fail("the report was refused by a sink that takes all");
  const std::string built = lirno::buildReport(options, input);
  std::string withCrLf;
  for (const char c : built) {
    if (c == '\n') withCrLf += '\r';
    withCrLf += c;
  }
  if (streamed.text != withCrLf) fail("the streamed report and the report built in memory differ");
}

void checkSame(const lirno::cTargetList& fast, const lirno::cTargetList& plain) {
  if (fast.size() != plain.size()) fail("fast and plain scans found different targets");
  for (std::size_t i = 0; i < fast.size(); ++i) {
    const lirno::Target& a = fast[i];
    const lirno::Target& b = plain[i];
    if (a.text != b.text || a.length != b.length || a.searchString != b.searchString ||
        a.document.str() != b.document.str() || a.occurrences.size() != b.occurrences.size()) {
      fail("fast and plain scans made different targets");
    }
    for (std::size_t k = 0; k < a.occurrences.size(); ++k) {
      const lirno::Occurrence& x = a.occurrences[k];
      const lirno::Occurrence& y = b.occurrences[k];
      if (x.start != y.start || x.length != y.length || x.contextStart != y.contextStart ||
          x.contextLength != y.contextLength || x.contextStartIndex != y.contextStartIndex ||
          x.contextLengthChars != y.contextLengthChars || x.page != y.page || x.folio != y.folio ||
          x.verso != y.verso || x.paragraphStart != y.paragraphStart || x.sentenceStart != y.sentenceStart ||
          x.wordStart != y.wordStart || x.paragraphEnd != y.paragraphEnd || x.sentenceEnd != y.sentenceEnd ||
          x.wordEnd != y.wordEnd) {
        fail("fast and plain scans made different occurrences");
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lirno::fuzz::Input in(data, size, 4, 3);
  lirno::RulesTables rules;
  rules.loadRulesText(in.parts[0]);
  rules.loadVariantRulesText(in.parts[0]);
  lirno::Document doc;
  lirno::readDocumentFromMemory(in.parts[1], doc, rules.markers);

  lirno::SearchRequest rq;
  const std::uint8_t o0 = in.options[0], o1 = in.options[1], o2 = in.options[2], o3 = in.options[3];
  rq.spelling = o0 % 4;
  rq.context = (o0 / 4) % 4;
  rq.ignoreSeparators = o1 & 1;
  rq.allStrings = o1 & 2;
  rq.inOrder = o1 & 4;
  rq.resultLikeSpelling = o1 & 8;
  rq.resultSpelling = rq.resultLikeSpelling ? std::min(rq.spelling, 2) : o3 % 3;
  rq.showSymbols = rq.resultSpelling < 2 && (o1 & 16);
  rq.generationLevel = 1 + o2 % 4;
  for (std::size_t k = 0; k < rules.filters.size() && k < 4; ++k) {
    if (o2 >> (4 + k) & 1) lirno::addFilter(rules.filters[k], rq);
  }
  std::string_view strings = in.parts[2];
  while (!strings.empty() && rq.strings.size() < 16) {
    const std::size_t end = std::min(strings.find('\n'), strings.size());
    const std::string_view line = strings.substr(0, end);
    strings.remove_prefix(std::min(end + 1, strings.size()));
    if (line.empty()) continue;
    auto s = std::make_unique<lirno::SearchString>();
    const auto flags = static_cast<unsigned char>(line[0]);
    s->place = flags % 5;
    s->exclude = (flags / 5) % 2;
    for (const char c : line.substr(1, 48)) {
      if (c != '\0') s->text += c;  // no typed string holds one
    }
    rq.strings.push_back(std::move(s));
  }
  lirno::numberStrings(rq.strings);
  lirno::preparePatterns(rq.strings, rq, rules);
  if (rq.generate()) lirno::createVariantStrings(rq.strings, rq.generationLevel, rules.variantRules, nullptr, {64, 4096});

  lirno::cTargetList fast, plain;
  lirno::scanDocument(rq, doc, rules, {}, fast, lirno::ScanMethod::kFast);
  lirno::scanDocument(rq, doc, rules, {}, plain, lirno::ScanMethod::kPlain);
  checkSame(fast, plain);
  for (const auto& t : fast.records()) {
    if (t->text.size() > static_cast<std::size_t>(lirno::kMaxFoundTextLength)) fail("a found text too long");
    if (t->text.view().find('\0') != std::string::npos) fail("a 0 byte in a found text");
    if (t->length < 1 || t->occurrences.empty()) fail("a target without its hit");
  }
  // The scan's filter checker against the plain check, for hits that end
  // at each place of the text's start and begin anywhere before it.
  if (!rq.filters.empty()) {
    const auto* text = reinterpret_cast<const unsigned char*>(doc.text.c_str());
    const auto n = static_cast<std::int32_t>(std::min<std::size_t>(doc.text.size(), 256));
    lirno::FilterChecker checker(rq.filters, rq.skipSymbols(), rules);
    for (std::int32_t end = 1; end <= n; ++end) {
      for (std::int32_t start = end - 1; start >= 0; start -= 1 + (end - start) / 8) {
        if (checker.check(text + start, end - start) !=
            lirno::filterCheck(text + start, end - start, rq.skipSymbols(), rq.filters, rules)) {
          fail("the scan's filter checker and the plain check differ");
        }
      }
    }
  }
  checkReport(rq, fast, doc, rules, o3);
  const std::string status = lirno::searchStatusLine(rq, fast, {});
  if (status.find('\0') != std::string::npos) fail("a 0 byte in the status line");
  return 0;
}
