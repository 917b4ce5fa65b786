#include "results/report.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <unordered_map>

#include "platform/cp1252.h"
#include "platform/paths.h"
#include "results/document_label.h"
#include "results/occurrence_place.h"

namespace lirno {
namespace {

std::string threeDigits(std::int32_t n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%03d", static_cast<int>(n));
  return buffer;
}

char sideLetter(std::int32_t verso) { return verso ? 'v' : 'r'; }

// "p:%03d f:%03d%c" in the list, "p:%03d\tf:%03d%c" in the extracts.
std::string reference(std::int32_t page, std::int32_t folio, std::int32_t verso,
                      std::string_view between) {
  std::string r = "p:";
  r.append(threeDigits(page)).append(between).append("f:").append(threeDigits(folio));
  r += sideLetter(verso);
  return r;
}

// Passes bytes on with every LF as CR LF.
class CrLfSink final : public ByteSink {
 public:
  explicit CrLfSink(ByteSink& out) : out_(out) {}
  bool write(std::string_view bytes) override {
    for (;;) {
      const std::size_t lf = bytes.find('\n');
      if (lf == std::string_view::npos) return bytes.empty() || out_.write(bytes);
      if ((lf > 0 && !out_.write(bytes.substr(0, lf))) || !out_.write("\r\n")) return false;
      bytes.remove_prefix(lf + 1);
    }
  }

 private:
  ByteSink& out_;
};

// Writes the report piece by piece as it is built: only the extracts of the
// detailed form are held until written.
class ReportWriter {
 public:
  ReportWriter(const ReportOptions& options, const ReportInput& input, ByteSink& out)
      : options_(options), in_(input), out_(out) {}

  bool run() {
    if (options_.information) header();
    if (ok_ && options_.list) targetList();
    if (ok_ && options_.extracts > 0) {
      if (options_.detailed) {
        detailedExtracts();
      } else {
        groupedExtracts();
      }
    }
    return ok_;
  }

 private:
  template <typename... Parts>
  void put(const Parts&... parts) {
    ((ok_ = ok_ && out_.write(std::string_view(parts))), ...);
  }

  std::string T(std::string_view text) const { return translateToAnsi(in_.translate, text); }
  // File names and program literals: a name without a Windows-1252 form is
  // written as its own bytes rather than with "?" in it.
  static std::string ansi(std::string_view utf8) { return pathToCp1252File(utf8); }
  static std::string name(const char* const* names, int count, int value) {
    return value >= 0 && value < count ? ansi(names[value]) : std::to_string(value);
  }

  void header() {
    const SearchRequest& rq = in_.request;
    put(T("DOCUMENT: "));
    if (rq.useCorpus) {
      for (std::size_t k = 0; k < in_.corpus.size(); ++k) {
        if (k > 0) put(", ");
        put(ansi(fileNameOf(in_.corpus[k])));
      }
    } else {
      put(ansi(fileNameOf(in_.documents.current().path)));
    }
    put("\n");
    put(T("CONTEXTE: "), name(kContextNames, 4, rq.context), "\n");
    put(T("ORTHOGRAPHE: "), name(kSpellingNames, 4, rq.spelling), ", ", T("SEPARATEURS: "),
        T(rq.ignoreSeparators ? "sans" : "avec"), "\n");
    put(T("FILTRE: "), rq.filterDescription.empty() ? T("sans") : rq.filterDescription, "\n");
    put(T("CHAINES: "), T(rq.allStrings ? "toutes" : "1 ou plus"), ", ", T("ORDRE: "),
        T(rq.inOrder ? "oui" : "non"), "\n");
    const int rs = rq.resultSpelling;
    put(T("RESULTATS :"), rs >= 0 && rs < 4 ? T(kSpellingNames[rs]) : std::to_string(rs), ", ",
        T("SYMBOLES :"), T(rq.showSymbols ? "oui" : "non"), "\n\n");
    for (const auto& s : rq.strings) {
      put(s->text, ", ", T("POSITION :"), name(kPlaceNames, 5, s->place), ", ", T("EXCLURE :"),
          T(s->exclude ? "oui" : "non"), "\n");
    }
    put("\n");
  }

  void targetList() {
    for (const auto& t : in_.targets.records()) {
      if (!ok_) return;
      put(t->text);
      if (options_.references) {
        put("\t", std::to_string(t->occurrences.size()));
        // The document's file name, from its path: a name may hold " | ".
        if (!t->document.empty()) put("\t", ansi(documentFileNameOf(t->document)));
        bool any = false;
        std::int32_t page = 0, folio = 0, verso = 0;
        for (const Occurrence& o : t->occurrences) {
          if (any && o.page == page && o.folio == folio && o.verso == verso) continue;
          put(any ? ", " : "\t", reference(o.page, o.folio, o.verso, " "));
          any = true;
          page = o.page;
          folio = o.folio;
          verso = o.verso;
        }
      }
      put("\n");
    }
    put("\n");
  }

  // The bounds of an occurrence's extract, indexes inclusive; an end the
  // scan never met counts as unknown (-1) here and as the text's end later.
  std::pair<std::int32_t, std::int32_t> bounds(const Occurrence& o) const {
    switch (options_.extracts) {
      case 1: return {o.wordStart, o.wordEnd};
      case 2: return {o.sentenceStart, o.sentenceEnd};
      default: return {o.paragraphStart, o.paragraphEnd};
    }
  }

  static std::string extractText(const Document& doc, std::int32_t start, std::int32_t end) {
    const auto size = static_cast<std::int32_t>(doc.text.size());
    if (end == kUnknownEnd || end >= size) end = size - 1;
    if (start < 0 || start > end) return {};
    return doc.text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start + 1));
  }

  // The marked span in force at `start`: the bytes that follow its marker.
  std::string spanText(const Document& doc, std::int32_t start) const {
    const Location loc = placeOf(doc, start, Unit::Index, in_.pageMarker);
    if (loc.spanLength <= 0) return {};
    const auto from = static_cast<std::size_t>(loc.spanStart) + 1;
    if (from > doc.text.size()) return {};
    return doc.text.substr(from, static_cast<std::size_t>(loc.spanLength - 1));
  }

  // Loads the document of a label (the current one for the empty label);
  // null when it cannot be read. A failed path is not tried again.
  const Document* source(const DocumentLabel& label) {
    if (label.empty()) return &in_.documents.current();
    const std::string path = documentPathOf(label);
    if (path != loadedPath_) {
      in_.documents.closeAll();
      loaded_ = in_.documents.load(path);
      loadedPath_ = path;
      loadedAny_ = true;
    }
    return loaded_;
  }

  // The file name written in an extract's references.
  std::string fileNameFor(const DocumentLabel& label) const {
    if (label.empty()) return ansi(fileNameOf(in_.documents.current().path));
    return ansi(documentFileNameOf(label));
  }

  static bool sameDocument(const DocumentLabel& a, const DocumentLabel& b) {
    return a.str() == b.str() && a.path() == b.path();
  }

  // The key "label*start|end" of an extract, held as the label and the
  // rest: the label's text is not copied for every occurrence.
  struct GroupKey {
    DocumentLabel label;
    std::array<char, 32> digits;  // "*%04d|%04d"
    std::int32_t start, end;
    std::string_view rest() const { return digits.data(); }
  };

  // The keys' order: text without regard to case, then bytes, so that two
  // labels that differ in case only stay two extracts; then the path, so
  // that two documents whose labels read alike stay two.
  static int foldedCompare(const GroupKey& a, const GroupKey& b) {
    const std::string_view a1 = a.label.str(), a2 = a.rest(), b1 = b.label.str(), b2 = b.rest();
    const std::size_t na = a1.size() + a2.size(), nb = b1.size() + b2.size();
    auto at = [](std::string_view p, std::string_view q, std::size_t i) {
      return static_cast<unsigned char>(i < p.size() ? p[i] : q[i - p.size()]);
    };
    auto fold = [](unsigned char u) { return u >= 'A' && u <= 'Z' ? u + 32 : static_cast<int>(u); };
    int bytes = 0;
    for (std::size_t i = 0; i < std::min(na, nb); ++i) {
      const unsigned char x = at(a1, a2, i), y = at(b1, b2, i);
      if (fold(x) != fold(y)) return fold(x) - fold(y);
      if (bytes == 0 && x != y) bytes = x < y ? -1 : 1;
    }
    if (na != nb) return na < nb ? -1 : 1;
    if (bytes != 0) return bytes;
    return a.label.path().compare(b.label.path());
  }

  void groupedExtracts() {
    std::vector<GroupKey> keys;
    for (const auto& t : in_.targets.records()) {
      for (const Occurrence& o : t->occurrences) {
        const auto [start, end] = bounds(o);
        GroupKey k{t->document, {}, start, end};
        std::snprintf(k.digits.data(), k.digits.size(), "*%04d|%04d", static_cast<int>(start),
                      static_cast<int>(end));
        keys.push_back(std::move(k));
      }
    }
    std::sort(keys.begin(), keys.end(),
              [](const GroupKey& a, const GroupKey& b) { return foldedCompare(a, b) < 0; });
    const auto same = [](const GroupKey& a, const GroupKey& b) { return foldedCompare(a, b) == 0; };
    keys.erase(std::unique(keys.begin(), keys.end(), same), keys.end());
    for (const GroupKey& k : keys) {
      if (!ok_) break;
      const Document* doc = source(k.label);
      if (!doc) continue;
      put(extractText(*doc, k.start, k.end), "\t");
      if (options_.extractReferences || options_.spans) {
        std::string line;
        if (options_.extractReferences) {
          const Location loc = placeOf(*doc, k.start, Unit::Index, in_.pageMarker);
          line.append(fileNameFor(k.label)).append("\t");
          line.append(reference(loc.page, loc.folio, loc.side, "\t"));
        }
        if (options_.spans) {
          const std::string span = spanText(*doc, k.start);
          if (!span.empty()) {
            if (!line.empty()) line += "\t";
            line += span;
          }
        }
        put(line, "\n\n");
      } else {
        put("\n");
      }
    }
    if (loadedAny_) in_.documents.closeAll();
  }

  struct Extract {
    std::string text;
    DocumentLabel label;
    std::int32_t start;
    std::int32_t page, folio, verso;
    // Shared by the extracts in one span: a long span in force over many
    // extracts is held once.
    std::shared_ptr<const std::string> span;
  };

  void detailedExtracts() {
    std::vector<DocumentLabel> labels;
    for (const auto& t : in_.targets.records()) {
      // Targets of one document come in runs: the last label is the usual match.
      if (!labels.empty() && sameDocument(labels.back(), t->document)) continue;
      if (std::none_of(labels.begin(), labels.end(),
                       [&](const DocumentLabel& l) { return sameDocument(l, t->document); })) {
        labels.push_back(t->document);
      }
    }
    std::vector<std::unique_ptr<Extract>> extracts;
    // The extract of each occurrence, by target and occurrence number (none
    // where its document could not be read).
    std::unordered_map<const Target*, std::vector<const Extract*>> linked;
    for (const DocumentLabel& label : labels) {
      const Document* doc = source(label);
      if (!doc) continue;
      std::map<std::int32_t, const Extract*> byStart;
      std::map<std::int32_t, std::shared_ptr<const std::string>> spans;  // by span start
      for (const auto& t : in_.targets.records()) {
        if (!sameDocument(t->document, label)) continue;
        std::vector<const Extract*>& extractOf = linked[t.get()];
        extractOf.reserve(t->occurrences.size());
        for (const Occurrence& o : t->occurrences) {
          const auto [start, end] = bounds(o);
          auto found = byStart.find(start);
          if (found == byStart.end()) {
            auto e = std::make_unique<Extract>(
                Extract{extractText(*doc, start, end), label, start, o.page, o.folio, o.verso, {}});
            if (options_.spans) {
              const Location loc = placeOf(*doc, start, Unit::Index, in_.pageMarker);
              if (loc.spanLength > 0) {
                auto& shared = spans[loc.spanStart];
                if (!shared) shared = std::make_shared<const std::string>(spanText(*doc, start));
                e->span = shared;
              }
            }
            found = byStart.emplace(start, e.get()).first;
            extracts.push_back(std::move(e));
          }
          extractOf.push_back(found->second);
        }
      }
    }
    if (loadedAny_) in_.documents.closeAll();

    struct WordEntry {
      std::string text;
      std::vector<const Extract*> extracts;
    };
    std::vector<WordEntry> words;
    std::unordered_map<std::string, std::size_t> wordIndex;
    for (const auto& t : in_.targets.records()) {
      auto [it, added] = wordIndex.emplace(t->text.str(), words.size());
      if (added) words.push_back({t->text.str(), {}});
      WordEntry& w = words[it->second];
      const auto found = linked.find(t.get());
      if (found == linked.end()) continue;  // its document could not be read
      const Extract* previous = nullptr;
      for (const Extract* e : found->second) {
        if (e != previous) w.extracts.push_back(e);
        previous = e;
      }
    }
    for (const WordEntry& w : words) {
      if (!ok_) return;
      put(w.text, "\n");
      for (const Extract* e : w.extracts) {
        put("\t", e->text);
        if (options_.extractReferences) {
          put("\t", fileNameFor(e->label), "\t", reference(e->page, e->folio, e->verso, "\t"));
        }
        if (options_.spans && e->span && !e->span->empty()) put("\t", *e->span);
        put("\n");
      }
      put("\n");
    }
  }

  const ReportOptions& options_;
  const ReportInput& in_;
  ByteSink& out_;
  bool ok_ = true;
  std::string loadedPath_;
  const Document* loaded_ = nullptr;
  bool loadedAny_ = false;
};

}  // namespace

bool writeReport(const ReportOptions& options, const ReportInput& input, ByteSink& out) {
  CrLfSink file(out);
  return ReportWriter(options, input, file).run();
}

std::string buildReport(const ReportOptions& options, const ReportInput& input) {
  StringSink text;
  ReportWriter(options, input, text).run();
  return std::move(text.text);
}

bool writeReportFile(const std::string& path, const ReportOptions& options,
                     const ReportInput& input, std::string* error) {
  FileWriter file;
  if (file.open(path, options.append ? FileWriter::Mode::Append : FileWriter::Mode::Replace)) {
    writeReport(options, input, file);
    if (file.commit()) return true;
  }
  if (error) *error = file.error();
  errno = file.errorCode();
  return false;
}

}  // namespace lirno
