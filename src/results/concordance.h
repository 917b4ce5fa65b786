#pragma once
// The concordance of a target list: one line per occurrence, the found text
// between its left and right contexts, with the document and its page and
// folio; sorting by the words around the hits, and the tabular export.
//
// Units: contexts are cut in characters of the document text (indexes);
// `start` is the occurrence's position, as the panes select it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "documents/document_source.h"
#include "search/rules_tables.h"
#include "search/targets.h"

namespace lirno {

// Sort keys: the three words left of the found text (L1 nearest), the found
// text itself, the three words right of it.
enum class KwicKey : std::uint8_t { L3, L2, L1, Match, R1, R2, R3 };
inline constexpr int kKwicKeyCount = 7;
inline constexpr const char* kKwicKeyNames[kKwicKeyCount] = {"L3", "L2", "L1", "Cible", "R1", "R2", "R3"};
inline constexpr int kKwicMaxSortKeys = 3;

struct ConcordanceOptions {
  int width = 50;          // characters of context on each side
  bool wholeWords = true;  // never cut a word at the far end of a context
};

// How words compare in a sort: the result spelling of the request (upper-
// cased, reduced or as written) and whether symbols count, as the found
// texts were recorded.
struct WordForm {
  int spelling = 1;  // kResultSame 0, kResultUpper 1, kResultReduced 2
  bool showSymbols = false;
};

struct ConcordanceLine {
  std::uint32_t target = 0;      // index into Concordance::targets
  std::uint32_t occurrence = 0;  // index into that target's occurrences
  std::uint32_t document = 0;    // index into Concordance::documents
  std::int32_t start = 0;        // position of the occurrence
  std::int32_t startIndex = 0;   // index of its first character (-1: document unread)
  std::int32_t page = 0, folio = 0, verso = 0;
  std::uint64_t text = 0;        // offset in Concordance::bytes: left, hit, right
  std::uint32_t leftLength = 0, hitLength = 0, rightLength = 0;
};

struct ConcordanceDocument {
  std::string label;  // the targets' label; empty for the current document
  std::string name;   // file name (UTF-8)
  bool read = true;   // false: could not be loaded; its lines have no context
};

struct ConcordanceTarget {
  std::size_t listIndex = 0;  // index in the target list it was built from
  std::string text;           // found text (Windows-1252)
};

class Concordance {
 public:
  std::vector<ConcordanceDocument> documents;
  std::vector<ConcordanceTarget> targets;
  std::vector<ConcordanceLine> lines;  // in document order, then by position
  std::string bytes;                   // every line's context text, Windows-1252

  std::string_view left(const ConcordanceLine& l) const { return {bytes.data() + l.text, l.leftLength}; }
  std::string_view hit(const ConcordanceLine& l) const {
    return {bytes.data() + l.text + l.leftLength, l.hitLength};
  }
  std::string_view right(const ConcordanceLine& l) const {
    return {bytes.data() + l.text + l.leftLength + l.hitLength, l.rightLength};
  }
  // Bytes held for the lines and their contexts.
  std::size_t memoryUsage() const;
};

// Builds the lines of the targets `selected` (indexes into `list`; empty:
// every target). The documents are read through `documents`: the current one
// for targets without label, the others by their label's path (each loaded
// once; the source is left with the last one loaded). A document that cannot
// be read keeps its occurrences, without context.
Concordance buildConcordance(const cTargetList& list, const std::vector<std::size_t>& selected,
                             DocumentSource& documents, const RulesTables& rules,
                             const ConcordanceOptions& options);

// The context pieces of a hit at [hitStart, hitEnd) (indexes) of `text`: the
// left context begins at the returned first, the right one ends at second.
// Never past the ends of the text; with whole words, a word that the width
// would cut is left out, unless it is the only word there.
std::pair<std::size_t, std::size_t> contextBounds(std::string_view text, std::size_t hitStart,
                                                  std::size_t hitEnd, const ConcordanceOptions& options,
                                                  const RulesTables& rules);

// The sort key of a line: the word in place `key` (empty when the context
// holds no such word), or the found text, in the comparison form.
std::string wordKey(const Concordance& c, const ConcordanceLine& line, KwicKey key, const RulesTables& rules,
                    const WordForm& form);

// A word in its comparison form: symbols left out unless shown (never when
// reduced), upper-cased or reduced as the spelling says.
std::string wordInForm(std::string_view word, const RulesTables& rules, const WordForm& form);

// The order of the lines (indexes into c.lines) by up to three keys, left
// keys compared right to left as the ending sorts compare, the others byte
// by byte; then by document and position. Stable: lines equal on every key
// keep their order in c.lines.
std::vector<std::uint32_t> sortConcordance(const Concordance& c, const std::vector<KwicKey>& keys,
                                           const RulesTables& rules, const WordForm& form);

// "p:012 f:034v", as the report writes references.
std::string placeReference(std::int32_t page, std::int32_t folio, std::int32_t verso);

enum class TableFormat { Tsv, Csv };

// One table field: TSV escapes backslash, tab, line feed and carriage return
// as \\, \t, \n, \r; CSV quotes a field that holds a comma, a quote or a
// line break, and doubles its quotes. `utf8` is the field's text.
std::string tableField(std::string_view utf8, TableFormat format);

// Joins fields into one line of the table, with its end (LF for TSV, CR LF
// for CSV).
std::string tableRow(const std::vector<std::string>& utf8Fields, TableFormat format);

// The column names of the concordance table.
inline constexpr std::array<const char*, 7> kConcordanceColumns = {
    "Gauche", "Pivot", "Droite", "Cible", "Document", "Référence", "Position"};

// The table of the lines `order` (indexes into c.lines; empty: all, in
// c.lines order), UTF-8, with a header line of `columns`, never cut; `bom`
// puts a byte order mark first (spreadsheets take the file as UTF-8 then).
std::string concordanceTable(const Concordance& c, const std::vector<std::uint32_t>& order, TableFormat format,
                             bool bom, const std::array<std::string, 7>& columns);
std::array<std::string, 7> defaultConcordanceColumns();

}  // namespace lirno
