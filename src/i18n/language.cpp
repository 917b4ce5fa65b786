#include "i18n/language.h"

#include "platform/cp1252.h"
#include "platform/file_read.h"

namespace lirno {
namespace {

constexpr std::string_view kHeader = "Lirno:";
constexpr std::string_view kFieldBreak = "\":\"";

// A file saved as UTF-8 by a modern editor (a byte order mark, or valid
// multi-byte sequences) is taken as UTF-8 rather than turned into
// Windows-1252 mojibake.
bool isUtf8Text(std::string_view bytes) {
  bool multiByte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    std::size_t n = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
    } else {
      return false;
    }
    for (std::size_t k = 1; k <= n; ++k) {
      if (i + k >= bytes.size()) return false;
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multiByte = true;
    i += n + 1;
  }
  return multiByte;
}

bool skipped(std::string_view line) {
  return line.empty() || line.front() == '\n' || line.front() == '\r' || line.front() == ';';
}

// "source"="translation", both non-empty and without quotes; anything after
// the closing quote is ignored.
bool parseTranslation(std::string_view line, std::string& source, std::string& translation) {
  const std::size_t endSource = line.find('"', 1);
  if (endSource == std::string_view::npos || endSource == 1) return false;
  if (line.substr(endSource + 1, 2) != "=\"") return false;
  const std::size_t startTranslation = endSource + 3;
  const std::size_t endTranslation = line.find('"', startTranslation);
  if (endTranslation == std::string_view::npos || endTranslation == startTranslation) return false;
  source = unescapeLanguageText(line.substr(1, endSource - 1));
  translation = unescapeLanguageText(line.substr(startTranslation, endTranslation - startTranslation));
  return true;
}

}  // namespace

LanguageLoad LanguageTables::load(const std::string& path) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return LanguageLoad::NotOpened;
  return loadBytes(bytes);
}

LanguageLoad LanguageTables::loadBytes(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const bool utf8 = isUtf8Text(bytes);

  bool headerSeen = false;
  LanguageTables next;
  std::size_t from = 0;
  // Only lines ending in a line feed are read: a last line without one is
  // not part of the file.
  for (std::size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', from)) {
    std::string_view raw = bytes.substr(from, lf - from);
    from = lf + 1;
    // Files written on Windows end their lines in CR LF.
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (skipped(raw)) continue;
    const std::string line = utf8 ? std::string(raw) : cp1252ToUtf8(raw);

    if (!headerSeen) {
      const std::size_t colon = line.find(':', kHeader.size());
      if (line.compare(0, kHeader.size(), kHeader) != 0 || colon == std::string::npos) {
        return LanguageLoad::NotLanguageFile;
      }
      next.code_ = line.substr(kHeader.size(), colon - kHeader.size());
      next.loaded_ = true;
      headerSeen = true;
      continue;
    }
    if (line.front() == '"') {
      std::string source, translation;
      if (parseTranslation(line, source, translation)) {
        next.firstIndex_.try_emplace(source, next.sources_.size());
        next.sources_.push_back(std::move(source));
        next.translations_.push_back(std::move(translation));
      }
      continue;
    }
    next.controlLines_.push_back(line + '\n');
  }
  if (!headerSeen) return LanguageLoad::NotLanguageFile;
  *this = std::move(next);
  return LanguageLoad::Loaded;
}

void LanguageTables::reset() { *this = LanguageTables(); }

std::string LanguageTables::translate(std::string_view text) const {
  if (!loaded_) return std::string(text);
  const auto it = firstIndex_.find(std::string(text));
  return it == firstIndex_.end() ? std::string(text) : translations_[it->second];
}

ControlLine LanguageTables::findControlLine(std::string_view key) const {
  ControlLine out;
  if (!loaded_) return out;
  for (const std::string& line : controlLines_) {
    if (line.compare(0, key.size(), key) != 0) continue;
    out.found = true;
    // Without the key, the caption's opening quote and the line feed.
    std::string_view s = std::string_view(line).substr(key.size());
    if (!s.empty()) s.remove_prefix(1);
    if (!s.empty()) s.remove_suffix(1);
    const std::size_t captionEnd = s.find(kFieldBreak);
    if (captionEnd == std::string_view::npos) {
      // A caption alone: its closing quote goes too.
      if (!s.empty() && s.back() == '"') s.remove_suffix(1);
      out.caption = std::string(s);
      return out;
    }
    out.caption = std::string(s.substr(0, captionEnd));
    std::string_view rest = s.substr(captionEnd + kFieldBreak.size());
    if (!rest.empty()) rest.remove_suffix(1);
    const std::size_t hintEnd = rest.find(kFieldBreak);
    if (hintEnd == std::string_view::npos) {
      out.hint = std::string(rest);
    } else {
      out.hint = std::string(rest.substr(0, hintEnd));
      out.items = std::string(rest.substr(hintEnd + kFieldBreak.size()));
    }
    return out;
  }
  return out;
}

std::string unescapeLanguageText(std::string_view field) {
  std::string out;
  out.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 1 < field.size() && field[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::string escapeLanguageText(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string> splitRadioItems(std::string_view items) {
  std::vector<std::string> out;
  if (items.empty()) return out;
  constexpr std::string_view kSeparator = "\\r\\n";
  while (true) {
    const std::size_t at = items.find(kSeparator);
    out.emplace_back(items.substr(0, at));
    if (at == std::string_view::npos) return out;
    items.remove_prefix(at + kSeparator.size());
  }
}

}  // namespace lirno
