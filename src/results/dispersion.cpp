#include "results/dispersion.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <tuple>
#include <unordered_map>

#include "platform/paths.h"
#include "results/document_label.h"

namespace lirno {

std::vector<DispersionStrip> buildDispersion(const cTargetList& list, const std::vector<std::size_t>& selected,
                                             DocumentSource& documents) {
  std::vector<DispersionStrip> strips;
  std::unordered_map<std::string, std::size_t> stripOf;
  for (const std::size_t i : list.chosen(selected)) {
    const Target& t = list[i];
    auto [at, added] = stripOf.try_emplace(t.document.str(), strips.size());
    if (added) strips.push_back({t.document.str(), {}, 0, {}, {}});
    DispersionStrip& s = strips[at->second];
    s.hits.reserve(s.hits.size() + t.occurrences.size());
    for (std::size_t k = 0; k < t.occurrences.size(); ++k) {
      s.hits.push_back({t.occurrences[k].start, static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(k)});
    }
  }
  for (DispersionStrip& s : strips) {
    std::stable_sort(s.hits.begin(), s.hits.end(),
                     [](const DispersionHit& a, const DispersionHit& b) { return a.position < b.position; });
    const Document* doc = s.label.empty() ? &documents.current() : documents.load(pathOfLabel(s.label));
    if (doc && s.label.empty() && doc->path.empty()) doc = nullptr;
    s.name = s.label.empty() ? (doc ? fileNameOf(doc->path) : std::string()) : fileNameOfLabel(s.label);
    if (doc) {
      s.length = doc->positionOfIndex(static_cast<std::int32_t>(doc->text.size()));
      for (const Mark& m : doc->marks) {
        if (m.kind == MarkKind::Page || m.kind == MarkKind::Folio) {
          s.boundaries.push_back({m.position, m.kind == MarkKind::Folio, m.number, m.kind == MarkKind::Folio ? m.value : 0});
        }
      }
      std::stable_sort(s.boundaries.begin(), s.boundaries.end(),
                       [](const DispersionBoundary& a, const DispersionBoundary& b) { return a.position < b.position; });
    }
    // A hit beyond the text (a document changed since) still has a place.
    if (!s.hits.empty()) s.length = std::max(s.length, s.hits.back().position + 1);
  }
  return strips;
}

StripPlace placeInStrip(const DispersionStrip& strip, std::int32_t position) {
  StripPlace p;
  const auto end = std::upper_bound(strip.boundaries.begin(), strip.boundaries.end(), position,
                                    [](std::int32_t v, const DispersionBoundary& b) { return v <= b.position; });
  // The marks before the place, as Locate takes them; walk back from it.
  bool havePage = false, haveFolio = false;
  for (auto it = end; it != strip.boundaries.begin() && !(havePage && haveFolio);) {
    --it;
    if (it->folio && !haveFolio) {
      p.folio = it->number;
      p.verso = it->verso;
      haveFolio = true;
    } else if (!it->folio && !havePage) {
      p.page = it->number;
      havePage = true;
    }
  }
  return p;
}

std::vector<PlaceCount> countPlaces(const cTargetList& list, const std::vector<std::size_t>& selected) {
  std::unordered_map<std::string, std::size_t> documentOf;
  std::vector<std::string> names;
  // (document, folio?, number, side) -> count; folios sort before pages.
  std::map<std::tuple<std::size_t, int, std::int32_t, std::int32_t>, std::int64_t> counts;
  for (const std::size_t i : list.chosen(selected)) {
    const Target& t = list[i];
    auto [at, added] = documentOf.try_emplace(t.document.str(), names.size());
    if (added) names.push_back(fileNameOfLabel(t.document.str()));
    for (const Occurrence& o : t.occurrences) {
      ++counts[{at->second, 0, o.folio, o.verso ? 1 : 0}];
      ++counts[{at->second, 1, o.page, 0}];
    }
  }
  std::vector<PlaceCount> out;
  out.reserve(counts.size());
  for (int kind = 0; kind < 2; ++kind) {
    for (const auto& [key, n] : counts) {
      const auto& [doc, k, number, side] = key;
      if (k == kind) out.push_back({names[doc], kind == 0, number, side, n});
    }
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const PlaceCount& a, const PlaceCount& b) { return a.folio > b.folio; });
  return out;
}

std::string placeName(const PlaceCount& p) {
  char buffer[32];
  if (p.folio) {
    std::snprintf(buffer, sizeof buffer, "f:%03d%c", static_cast<int>(p.number), p.verso ? 'v' : 'r');
  } else {
    std::snprintf(buffer, sizeof buffer, "p:%03d", static_cast<int>(p.number));
  }
  return buffer;
}

std::string placeCountTable(const std::vector<PlaceCount>& counts, TableFormat format, bool bom,
                            const std::string& current) {
  std::string out;
  if (bom) out += "\xEF\xBB\xBF";
  out += tableRow({"Document", "Unité", "Lieu", "Occurrences"}, format);
  for (const PlaceCount& p : counts) {
    out += tableRow({p.document.empty() ? current : p.document, p.folio ? "folio" : "page", placeName(p),
                     std::to_string(p.count)},
                    format);
  }
  return out;
}

}  // namespace lirno
