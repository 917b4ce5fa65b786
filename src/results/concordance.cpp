#include "results/concordance.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unordered_map>

#include "platform/cp1252.h"
#include "platform/paths.h"
#include "results/document_label.h"
#include "results/sorting.h"
#include "search/request.h"

namespace lirno {
namespace {

// Symbols belong to the word they stand in, as the matcher counts words.
bool isWordByte(const RulesTables& rules, char c) {
  const std::uint8_t k = rules.classOf(static_cast<unsigned char>(c));
  return k == kWordChar || k == kSymbol;
}

bool isLeftKey(KwicKey k) { return k == KwicKey::L1 || k == KwicKey::L2 || k == KwicKey::L3; }

// A run of word bytes is a word when it holds a letter: a lone mark,
// hyphen or apostrophe between blanks is no word to sort by.
bool holdsLetter(std::string_view run, const RulesTables& rules) {
  for (const char c : run) {
    if (rules.classOf(static_cast<unsigned char>(c)) == kWordChar) return true;
  }
  return false;
}

// The n-th word (1 nearest) going away from the hit.
std::string_view nthWord(std::string_view context, int n, bool leftward, const RulesTables& rules) {
  int k = 0;
  if (leftward) {
    std::size_t end = context.size();
    while (true) {
      while (end > 0 && !isWordByte(rules, context[end - 1])) --end;
      if (end == 0) return {};
      std::size_t begin = end;
      while (begin > 0 && isWordByte(rules, context[begin - 1])) --begin;
      const std::string_view word = context.substr(begin, end - begin);
      if (holdsLetter(word, rules) && ++k == n) return word;
      end = begin;
    }
  }
  std::size_t begin = 0;
  while (true) {
    while (begin < context.size() && !isWordByte(rules, context[begin])) ++begin;
    if (begin == context.size()) return {};
    std::size_t end = begin;
    while (end < context.size() && isWordByte(rules, context[end])) ++end;
    const std::string_view word = context.substr(begin, end - begin);
    if (holdsLetter(word, rules) && ++k == n) return word;
    begin = end;
  }
}

void appendInForm(std::string& out, std::string_view word, const RulesTables& rules, const WordForm& form,
                  Reducer& reducer, std::string& scratch) {
  if (form.spelling == kResultReduced) {
    scratch.clear();
    for (const char c : word) {
      if (rules.classOf(static_cast<unsigned char>(c)) != kSymbol) scratch += c;
    }
    reducer.reset();
    for (std::size_t i = 0; i < scratch.size(); ++i) {
      if (const unsigned char b = reducer.next(scratch.c_str() + i)) out += static_cast<char>(b);
    }
    return;
  }
  for (const char c : word) {
    const auto u = static_cast<unsigned char>(c);
    const bool symbol = rules.classOf(u) == kSymbol;
    if (symbol && !form.showSymbols) continue;
    if (form.spelling == kResultUpper && rules.upperOf(u) != 0) {
      out += static_cast<char>(rules.upperOf(u));
    } else {
      out += c;
    }
  }
}

void appendKey(std::string& out, const Concordance& c, const ConcordanceLine& line, KwicKey key,
               const RulesTables& rules, const WordForm& form, Reducer& reducer, std::string& scratch) {
  switch (key) {
    case KwicKey::Match: out += c.targets[line.target].text; return;
    case KwicKey::L1: appendInForm(out, nthWord(c.left(line), 1, true, rules), rules, form, reducer, scratch); return;
    case KwicKey::L2: appendInForm(out, nthWord(c.left(line), 2, true, rules), rules, form, reducer, scratch); return;
    case KwicKey::L3: appendInForm(out, nthWord(c.left(line), 3, true, rules), rules, form, reducer, scratch); return;
    case KwicKey::R1: appendInForm(out, nthWord(c.right(line), 1, false, rules), rules, form, reducer, scratch); return;
    case KwicKey::R2: appendInForm(out, nthWord(c.right(line), 2, false, rules), rules, form, reducer, scratch); return;
    case KwicKey::R3: appendInForm(out, nthWord(c.right(line), 3, false, rules), rules, form, reducer, scratch); return;
  }
}

}  // namespace

std::size_t Concordance::memoryUsage() const {
  std::size_t n = bytes.capacity() + lines.capacity() * sizeof(ConcordanceLine);
  for (const ConcordanceTarget& t : targets) n += sizeof t + t.text.capacity();
  for (const ConcordanceDocument& d : documents) n += sizeof d + d.label.capacity() + d.name.capacity();
  return n;
}

std::pair<std::size_t, std::size_t> contextBounds(std::string_view text, std::size_t hitStart,
                                                  std::size_t hitEnd, const ConcordanceOptions& options,
                                                  const RulesTables& rules) {
  const std::size_t n = text.size();
  hitEnd = std::min(hitEnd, n);
  hitStart = std::min(hitStart, hitEnd);
  const auto width = static_cast<std::size_t>(std::max(options.width, 0));
  std::size_t first = hitStart > width ? hitStart - width : 0;
  std::size_t last = std::min(n, hitEnd + width);
  if (options.wholeWords) {
    if (first > 0 && first < hitStart && isWordByte(rules, text[first - 1]) && isWordByte(rules, text[first])) {
      std::size_t k = first;
      while (k < hitStart && isWordByte(rules, text[k])) ++k;
      if (k < hitStart) first = k;
    }
    if (last < n && last > hitEnd && isWordByte(rules, text[last - 1]) && isWordByte(rules, text[last])) {
      std::size_t k = last;
      while (k > hitEnd && isWordByte(rules, text[k - 1])) --k;
      if (k > hitEnd) last = k;
    }
  }
  return {first, last};
}

Concordance buildConcordance(const cTargetList& list, const std::vector<std::size_t>& selected,
                             DocumentSource& documents, const RulesTables& rules,
                             const ConcordanceOptions& options) {
  Concordance c;
  const std::vector<std::size_t> chosen = list.chosen(selected);
  // The documents in the order the targets first name them.
  std::unordered_map<std::string, std::uint32_t> documentOf;
  std::vector<std::vector<std::size_t>> targetsOf;
  std::size_t occurrences = 0;
  for (const std::size_t i : chosen) {
    const std::string& label = list[i].document.str();
    auto [at, added] = documentOf.try_emplace(label, static_cast<std::uint32_t>(targetsOf.size()));
    if (added) {
      targetsOf.emplace_back();
      c.documents.push_back({label, {}, true});
    }
    targetsOf[at->second].push_back(i);
    occurrences += list[i].occurrences.size();
  }
  c.lines.reserve(occurrences);
  const auto perLine = static_cast<std::size_t>(2 * std::max(options.width, 0) + 16);
  c.bytes.reserve(occurrences * perLine);

  for (std::uint32_t d = 0; d < targetsOf.size(); ++d) {
    ConcordanceDocument& cd = c.documents[d];
    const Document* doc = cd.label.empty() ? &documents.current() : documents.load(pathOfLabel(cd.label));
    cd.name = cd.label.empty() ? (doc ? fileNameOf(doc->path) : std::string()) : fileNameOfLabel(cd.label);
    if (doc && cd.label.empty() && doc->path.empty()) doc = nullptr;  // no document open
    cd.read = doc != nullptr;
    const std::size_t firstLine = c.lines.size();
    for (const std::size_t i : targetsOf[d]) {
      const Target& t = list[i];
      const auto ti = static_cast<std::uint32_t>(c.targets.size());
      c.targets.push_back({i, t.text.str()});
      for (std::size_t k = 0; k < t.occurrences.size(); ++k) {
        const Occurrence& o = t.occurrences[k];
        ConcordanceLine line;
        line.target = ti;
        line.occurrence = static_cast<std::uint32_t>(k);
        line.document = d;
        line.start = o.start;
        line.page = o.page;
        line.folio = o.folio;
        line.verso = o.verso;
        line.text = c.bytes.size();
        if (doc) {
          const std::string_view text = doc->text;
          const auto n = static_cast<std::int32_t>(text.size());
          const std::int32_t s = std::clamp(doc->indexOfPosition(o.start), 0, n);
          const std::int32_t e = std::clamp(doc->indexOfPosition(o.start + std::max(o.length, 0)), s, n);
          const auto [first, last] = contextBounds(text, static_cast<std::size_t>(s),
                                                   static_cast<std::size_t>(e), options, rules);
          line.startIndex = s;
          c.bytes.append(text.substr(first, last - first));
          line.leftLength = static_cast<std::uint32_t>(static_cast<std::size_t>(s) - first);
          line.hitLength = static_cast<std::uint32_t>(e - s);
          line.rightLength = static_cast<std::uint32_t>(last - static_cast<std::size_t>(e));
        } else {
          // Nothing lost: the occurrence stays, with its found text alone.
          line.startIndex = -1;
          c.bytes.append(t.text);
          line.hitLength = static_cast<std::uint32_t>(t.text.size());
        }
        c.lines.push_back(line);
      }
    }
    std::stable_sort(c.lines.begin() + static_cast<std::ptrdiff_t>(firstLine), c.lines.end(),
                     [](const ConcordanceLine& a, const ConcordanceLine& b) { return a.start < b.start; });
  }
  return c;
}

std::string wordInForm(std::string_view word, const RulesTables& rules, const WordForm& form) {
  Reducer reducer(rules);
  std::string out, scratch;
  appendInForm(out, word, rules, form, reducer, scratch);
  return out;
}

std::string wordKey(const Concordance& c, const ConcordanceLine& line, KwicKey key, const RulesTables& rules,
                    const WordForm& form) {
  Reducer reducer(rules);
  std::string out, scratch;
  appendKey(out, c, line, key, rules, form, reducer, scratch);
  return out;
}

std::vector<std::uint32_t> sortConcordance(const Concordance& c, const std::vector<KwicKey>& keys,
                                           const RulesTables& rules, const WordForm& form) {
  std::vector<std::uint32_t> order(c.lines.size());
  std::iota(order.begin(), order.end(), 0u);
  const std::size_t k = std::min<std::size_t>(keys.size(), kKwicMaxSortKeys);
  if (k == 0) return order;
  // Every key built once into one block; the comparisons only read it.
  struct Span {
    std::uint64_t offset;
    std::uint32_t length;
  };
  std::vector<Span> spans(c.lines.size() * k);
  std::string arena;
  arena.reserve(c.lines.size() * k * 8);
  Reducer reducer(rules);
  std::string scratch;
  for (std::size_t i = 0; i < c.lines.size(); ++i) {
    for (std::size_t j = 0; j < k; ++j) {
      const std::size_t before = arena.size();
      appendKey(arena, c, c.lines[i], keys[j], rules, form, reducer, scratch);
      spans[i * k + j] = {before, static_cast<std::uint32_t>(arena.size() - before)};
    }
  }
  auto key = [&](std::uint32_t line, std::size_t j) {
    const Span& s = spans[line * k + j];
    return std::string_view(arena.data() + s.offset, s.length);
  };
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    for (std::size_t j = 0; j < k; ++j) {
      const int r = isLeftKey(keys[j]) ? compareRightToLeft(key(a, j), key(b, j)) : compareBytes(key(a, j), key(b, j));
      if (r != 0) return r < 0;
    }
    return false;  // then the lines' own order: document, position
  });
  return order;
}

std::string placeReference(std::int32_t page, std::int32_t folio, std::int32_t verso) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "p:%03d f:%03d%c", static_cast<int>(page), static_cast<int>(folio),
                verso ? 'v' : 'r');
  return buffer;
}

std::string tableField(std::string_view utf8, TableFormat format) {
  std::string out;
  if (format == TableFormat::Tsv) {
    out.reserve(utf8.size());
    for (const char c : utf8) {
      switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
      }
    }
    return out;
  }
  if (utf8.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(utf8);
  out.reserve(utf8.size() + 2);
  out += '"';
  for (const char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
  return out;
}

std::string tableRow(const std::vector<std::string>& utf8Fields, TableFormat format) {
  std::string out;
  for (std::size_t i = 0; i < utf8Fields.size(); ++i) {
    if (i > 0) out += format == TableFormat::Tsv ? '\t' : ',';
    out += tableField(utf8Fields[i], format);
  }
  out += format == TableFormat::Tsv ? "\n" : "\r\n";
  return out;
}

std::array<std::string, 7> defaultConcordanceColumns() {
  std::array<std::string, 7> names;
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = kConcordanceColumns[i];
  return names;
}

std::string concordanceTable(const Concordance& c, const std::vector<std::uint32_t>& order, TableFormat format,
                             bool bom, const std::array<std::string, 7>& columns) {
  std::string out;
  if (bom) out += "\xEF\xBB\xBF";
  out += tableRow(std::vector<std::string>(columns.begin(), columns.end()), format);
  auto row = [&](const ConcordanceLine& l) {
    out += tableRow({cp1252ToUtf8(c.left(l)), cp1252ToUtf8(c.hit(l)), cp1252ToUtf8(c.right(l)),
                     cp1252ToUtf8(c.targets[l.target].text), c.documents[l.document].name,
                     placeReference(l.page, l.folio, l.verso), std::to_string(l.start)},
                    format);
  };
  if (order.empty()) {
    for (const ConcordanceLine& l : c.lines) row(l);
  } else {
    for (const std::uint32_t i : order) {
      if (i < c.lines.size()) row(c.lines[i]);
    }
  }
  return out;
}

}  // namespace lirno
