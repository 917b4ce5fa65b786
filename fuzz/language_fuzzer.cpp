// The language file loader over any bytes, then its tables in use: every
// line found, translated and split as the forms would.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "i18n/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  lirno::LanguageTables t;
  const lirno::LanguageLoad result = t.loadBytes(bytes);
  if ((result == lirno::LanguageLoad::Loaded) != t.loaded()) std::abort();
  if (t.sources().size() != t.translations().size()) std::abort();
  for (std::size_t i = 0; i < t.sources().size(); ++i) {
    if (t.sources()[i].empty() || t.translations()[i].empty()) std::abort();
    // The first line of a source wins.
    const std::string translated = t.translate(t.sources()[i]);
    std::size_t first = 0;
    while (t.sources()[first] != t.sources()[i]) ++first;
    if (translated != t.translations()[first]) std::abort();
  }
  for (const std::string& line : t.controlLines()) {
    if (line.empty() || line.back() != '\n') std::abort();
    // Every prefix of a line is a key that finds some line.
    const std::size_t second = line.find(':', line.find(':') + 1);
    const std::string key = line.substr(0, second == std::string::npos ? line.size() - 1 : second + 1);
    const lirno::ControlLine c = t.findControlLine(key);
    if (!c.found) std::abort();
    lirno::splitRadioItems(c.items);
  }
  return 0;
}
