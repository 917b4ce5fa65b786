#include "platform/ini_file.h"

#include <optional>
#include <vector>

#include "platform/file_read.h"
#include "platform/file_write.h"

namespace lirno {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (isBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// One physical line, without its line end (which is kept separately so that
// rewriting the file preserves it).
struct Line {
  std::string text;
  std::string end;
};

std::optional<std::vector<Line>> readLines(const std::string& path, FileError* error = nullptr) {
  std::string data;
  if (!readFileBytes(path, data, error)) return std::nullopt;
  std::vector<Line> lines;
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t j = data.find_first_of("\r\n", i);
    if (j == std::string::npos) {
      lines.push_back({data.substr(i), {}});
      break;
    }
    std::size_t k = j + 1;
    if (data[j] == '\r' && k < data.size() && data[k] == '\n') ++k;
    lines.push_back({data.substr(i, j - i), data.substr(j, k - j)});
    i = k;
  }
  return lines;
}

// Section name of a line "[name]", if it is one.
std::optional<std::string_view> sectionOf(std::string_view line) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

// Key and value of a line "key=value" (both trimmed), if it is one.
bool splitKey(std::string_view line, std::string_view& key, std::string_view& value) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = trim(line.substr(0, eq));
  value = trim(line.substr(eq + 1));
  return true;
}

struct Found {
  std::size_t sectionLine = std::string::npos;  // line of the first matching section header
  std::size_t keyLine = std::string::npos;      // line of the first matching key in it
  std::size_t lastInSection = std::string::npos;  // last non-blank line of that section
};

Found find(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Found f;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = sectionOf(lines[i].text)) {
      if (inSection) break;  // the first matching section ended
      if (sameName(*name, section)) {
        inSection = true;
        f.sectionLine = i;
        f.lastInSection = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!trim(lines[i].text).empty()) f.lastInSection = i;
    std::string_view k, v;
    if (f.keyLine == std::string::npos && splitKey(lines[i].text, k, v) && sameName(k, key)) {
      f.keyLine = i;
    }
  }
  return f;
}

}  // namespace

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
  const auto lines = readLines(path_);
  if (!lines) return std::string(fallback);
  const Found f = find(*lines, section, key);
  if (f.keyLine == std::string::npos) return std::string(fallback);
  std::string_view k, v;
  splitKey((*lines)[f.keyLine].text, k, v);
  return std::string(v);
}

int IniFile::readInt(std::string_view section, std::string_view key, int fallback) const {
  const auto lines = readLines(path_);
  if (!lines) return fallback;
  const Found f = find(*lines, section, key);
  if (f.keyLine == std::string::npos) return fallback;
  std::string_view k, v;
  splitKey((*lines)[f.keyLine].text, k, v);
  bool negative = false;
  std::size_t i = 0;
  if (i < v.size() && (v[i] == '-' || v[i] == '+')) negative = v[i++] == '-';
  long long value = 0;
  for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
    value = value * 10 + (v[i] - '0');
    if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  }
  return static_cast<int>(negative ? -value : value);
}

bool IniFile::writeString(std::string_view section, std::string_view key,
                          std::string_view value) const {
  // A file that exists but cannot be read is not replaced by one that
  // holds this key only.
  FileError error;
  std::optional<std::vector<Line>> read = readLines(path_, &error);
  if (!read && !error.missing()) return false;  // errno says why
  std::vector<Line> lines = read ? std::move(*read) : std::vector<Line>{};
  // New lines take the file's own line end, CR LF for a new file.
  std::string eol = "\r\n";
  for (const Line& l : lines) {
    if (!l.end.empty()) {
      eol = l.end;
      break;
    }
  }
  const std::string entry = std::string(key) + "=" + std::string(value);
  const Found f = find(lines, section, key);
  if (f.keyLine != std::string::npos) {
    lines[f.keyLine].text = entry;
  } else if (f.sectionLine != std::string::npos) {
    Line& after = lines[f.lastInSection];
    if (after.end.empty()) after.end = eol;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(f.lastInSection) + 1, Line{entry, eol});
  } else {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = eol;
    // Appended piece by piece: GCC 12 warns falsely on "[" + string.
    std::string header(1, '[');
    header.append(section).push_back(']');
    lines.push_back({std::move(header), eol});
    lines.push_back({entry, eol});
  }

  std::string data;
  for (const Line& l : lines) data += l.text + l.end;
  return writeWholeFile(path_, data);
}

bool IniFile::writeInt(std::string_view section, std::string_view key, int value) const {
  return writeString(section, key, std::to_string(value));
}

}  // namespace lirno
