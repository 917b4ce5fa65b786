// The rules loaders over any bytes, then the tables in use: Read character
// over the input, and the reducer over it as a text.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/rules_tables.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  lirno::RulesTables t;
  t.loadRulesText(bytes);
  t.loadVariantRulesText(bytes);

  for (std::uint8_t c : t.separatorClass) {
    if (c > 4) std::abort();
  }
  for (const lirno::SubstitutionEntry& e : t.substitutions) {
    if (e.find.size() < 2 || e.replacement.size() > e.find.size()) std::abort();
  }
  if (!lirno::Markers::usable(t.markers.page) || !lirno::Markers::usable(t.markers.verso) ||
      !lirno::Markers::usable(t.markers.glyph)) {
    std::abort();
  }
  for (const std::string& f : t.filters) {
    if (f.size() > 127 || f.find_first_of("\r\n") != std::string::npos) std::abort();
  }
  if (t.highestVariantLevel < 0) std::abort();

  const char* p = bytes.c_str();
  while (*p != '\0') {
    const char* before = p;
    lirno::RulesTables::readCharacter(p);
    if (p <= before) std::abort();
  }

  // The reducer reads ahead but never past the text's NUL; its state is
  // drained at the end of a text.
  lirno::Reducer reducer(t);
  const std::string text = bytes.substr(0, bytes.find('\0'));
  for (std::size_t i = 0; i < text.size(); ++i) reducer.next(text.c_str() + i);
  return 0;
}
