// The two readers of a rules file: the character sections (loadRules) and
// the [Genor] section (loadVariantRules).
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/file_read.h"
#include "search/rules_tables.h"

namespace lirno {
namespace {

bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }

int lowerHexValue(unsigned char c) {
  if (isDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The file as a text-mode read delivers it: CR LF pairs become LF.
std::string textModeBytes(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    out.push_back(raw[i]);
  }
  return out;
}

// Hands out the file in the pieces a fixed-size line buffer gets: up to and
// including the next LF, at most `limit` characters; a longer line continues
// as the next piece. Each piece is NUL-terminated and, like a C string, ends
// at its first NUL byte.
class PieceReader {
 public:
  PieceReader(std::string_view text, std::size_t limit) : text_(text), limit_(limit) {}

  bool next(std::string& piece) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = std::min(pos_ + limit_, text_.size());
    std::size_t stop = end;
    if (const void* lf = std::memchr(text_.data() + pos_, '\n', end - pos_)) {
      stop = static_cast<std::size_t>(static_cast<const char*>(lf) - text_.data()) + 1;
    }
    piece.assign(text_.data() + pos_, stop - pos_);
    pos_ = stop;
    const std::size_t nul = piece.find('\0');
    if (nul != std::string::npos) piece.resize(nul);
    return true;
  }

 private:
  std::string_view text_;
  std::size_t limit_;
  std::size_t pos_ = 0;
};

enum class Section { Markers, Separators, Uppers, Substitutions, Vowels, Consonants, Filters, Unknown };

Section sectionNamed(const std::string& line) {
  static constexpr std::pair<const char*, Section> kSections[] = {
      {"[Markers]", Section::Markers},   {"[Separators]", Section::Separators},
      {"[Uppers]", Section::Uppers},     {"[Substitutions]", Section::Substitutions},
      {"[Vowels]", Section::Vowels},     {"[Consonants]", Section::Consonants},
      {"[Filters]", Section::Filters}};
  for (const auto& [name, section] : kSections) {
    if (line == name) return section;
  }
  return Section::Unknown;
}

}  // namespace

unsigned char RulesTables::readCharacter(const char*& cursor) {
  const auto c = static_cast<unsigned char>(*cursor);
  if (c == 0) return 0;
  if (!isDigit(c)) {
    ++cursor;
    return c;
  }
  if (c == '0' && cursor[1] == 'x') {
    cursor += 2;
    int value = 0;
    int digit = lowerHexValue(static_cast<unsigned char>(*cursor));
    if (digit >= 0) {
      value = digit;
      ++cursor;
      digit = lowerHexValue(static_cast<unsigned char>(*cursor));
      if (digit >= 0) {
        value = value * 16 + digit;
        ++cursor;
      }
    }
    return static_cast<unsigned char>(value);
  }
  int value = 0;
  while (isDigit(static_cast<unsigned char>(*cursor))) {
    value = (value * 10 + (*cursor - '0')) % 256;
    ++cursor;
  }
  return static_cast<unsigned char>(value);
}

namespace {

// One line of each character section, already cut at its line break.
void readMarkerLine(RulesTables& t, const std::string& line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos) return;
  static constexpr const char* kKeys[] = {"Page", "Recto", "Verso", "Glyph", "Note", "Line"};
  const char* key = nullptr;
  for (const char* k : kKeys) {
    if (std::strncmp(line.c_str(), k, eq) == 0) {
      key = k;
      break;
    }
  }
  if (!key) return;
  const char* p = line.c_str() + eq + 1;
  const unsigned char value = RulesTables::readCharacter(p);
  // A NUL or line-break marker would corrupt every text read with it: such
  // a line does not give a marker.
  if (!Markers::usable(value)) return;
  if (std::strcmp(key, "Page") == 0) t.markers.page = value;
  if (std::strcmp(key, "Verso") == 0) t.markers.verso = value;
  if (std::strcmp(key, "Glyph") == 0) t.markers.glyph = value;
}

void readSeparatorLine(RulesTables& t, const std::string& line) {
  const char* p = line.c_str();
  const unsigned char c = RulesTables::readCharacter(p);
  if (c == 0 || *p != '=') return;
  const char n = p[1];
  if (n >= '1' && n <= '4') t.separatorClass[c] = static_cast<std::uint8_t>(n - '0');
}

void readUpperLine(RulesTables& t, const std::string& line) {
  const char* p = line.c_str();
  const unsigned char c = RulesTables::readCharacter(p);
  if (c < 32 || *p != '=') return;
  ++p;
  // "c=" names no upper-case form; an upper-case form 0 would end the
  // strings built from it.
  const unsigned char u = RulesTables::readCharacter(p);
  if (u == 0) return;
  t.upper[c] = u;
}

void readSubstitutionLine(RulesTables& t, const std::string& line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0) return;
  const char* p = line.c_str();
  const char* const end = p + eq;
  std::string find;
  while (p < end) find.push_back(static_cast<char>(RulesTables::readCharacter(p)));
  std::string replacement;
  const char* q = end + 1;
  while (replacement.size() < find.size() && *q != '\0') {
    replacement.push_back(static_cast<char>(RulesTables::readCharacter(q)));
  }
  if (find.size() == 1) {
    t.substitution[static_cast<unsigned char>(find[0])] =
        replacement.empty() ? 0 : static_cast<std::uint8_t>(replacement[0]);
  } else {
    t.substitutions.push_back({std::move(find), std::move(replacement)});
  }
}

void readSetLine(std::array<std::uint8_t, 256>& set, const std::string& line) {
  const char* p = line.c_str();
  while (*p != '\0') set[RulesTables::readCharacter(p)] = 1;
}

}  // namespace

bool RulesTables::loadRules(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  loadRulesText(bytes);
  return true;
}

void RulesTables::loadRulesText(std::string_view bytes) {
  reset();
  const std::string text = textModeBytes(bytes);
  PieceReader reader(text, 127);
  Section section = Section::Markers;  // lines before the first section
  std::string line;
  while (reader.next(line)) {
    if (line.empty() || line[0] == '\n' || line[0] == '\r' || line[0] == ';') continue;
    line.resize(std::min(line.find_first_of("\r\n"), line.size()));
    if (line[0] == '[') {
      section = sectionNamed(line);
      continue;
    }
    switch (section) {
      case Section::Markers:
        readMarkerLine(*this, line);
        break;
      case Section::Separators:
        readSeparatorLine(*this, line);
        break;
      case Section::Uppers:
        readUpperLine(*this, line);
        break;
      case Section::Substitutions:
        readSubstitutionLine(*this, line);
        break;
      case Section::Vowels:
        readSetLine(vowel, line);
        break;
      case Section::Consonants:
        readSetLine(consonant, line);
        break;
      case Section::Filters:
        filters.push_back(line);
        break;
      case Section::Unknown:
        break;
    }
  }
}

bool RulesTables::loadVariantRules(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  loadVariantRulesText(bytes);
  return true;
}

namespace {

// The end of a field that starts at `i`: a quoted field runs to its closing
// quote first; then to the next comma or the end.
std::size_t fieldEnd(const std::string& line, std::size_t i) {
  if (i < line.size() && line[i] == '"') {
    const std::size_t close = line.find('"', i + 1);
    i = close == std::string::npos ? line.size() : close + 1;
  }
  return std::min(line.find(',', i), line.size());
}

VariantRule parseVariantLine(const std::string& line, int level) {
  VariantRule rule;
  rule.level = level;
  std::string* fields[] = {nullptr, &rule.from, &rule.to};
  std::size_t i = 0;
  for (std::string* field : fields) {
    const std::size_t end = fieldEnd(line, i);
    if (field) field->assign(line, i, end - i);
    if (end >= line.size()) return rule;  // fewer than three commas: no condition
    i = end + 1;
  }
  rule.condition.assign(line, i, std::string::npos);
  return rule;
}

}  // namespace

void RulesTables::loadVariantRulesText(std::string_view bytes) {
  variantRules.clear();
  highestVariantLevel = 0;
  const std::string text = textModeBytes(bytes);
  PieceReader reader(text, 255);
  std::string line;
  bool inGenor = false;
  while (reader.next(line)) {
    if (!inGenor) {
      inGenor = line.compare(0, 7, "[Genor]") == 0;
      continue;
    }
    if (!line.empty() && line[0] == '[') break;
    if (line.empty() || !isDigit(static_cast<unsigned char>(line[0]))) continue;
    long long level = 0;
    for (std::size_t i = 0; i < line.size() && isDigit(static_cast<unsigned char>(line[i])); ++i) {
      level = std::min<long long>(level * 10 + (line[i] - '0'), INT_MAX);
    }
    highestVariantLevel = std::max(highestVariantLevel, static_cast<int>(level));
    // Upper-cased in place; a character that maps to 0 (every code below 32)
    // ends the line.
    for (std::size_t i = 0; i < line.size(); ++i) {
      const std::uint8_t u = upper[static_cast<unsigned char>(line[i])];
      if (u == 0) {
        line.resize(i);
        break;
      }
      line[i] = static_cast<char>(u);
    }
    variantRules.push_back(parseVariantLine(line, static_cast<int>(level)));
  }
}

}  // namespace lirno
