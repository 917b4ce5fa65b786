#include "lexicon/string_list_file.h"

#include <cstdio>

#include <unistd.h>

#include "platform/cp1252.h"
#include "platform/file_read.h"

namespace lirno {

std::vector<std::string> splitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') continue;
    lines.emplace_back(bytes.substr(start, i - start));
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

bool readStringListFile(const std::string& path, std::vector<std::string>& entries) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) return false;
  entries = splitLines(bytes);
  return true;
}

bool writeStringListFile(const std::string& path, const std::vector<std::string>& entries,
                         bool append) {
  std::string bytes;
  for (const std::string& e : entries) bytes.append(e).append("\r\n");
  if (append) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
  }
  const std::string aside = path + ".tmp" + std::to_string(::getpid());
  std::FILE* f = std::fopen(aside.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (ok) ok = std::rename(aside.c_str(), path.c_str()) == 0;
  if (!ok) std::remove(aside.c_str());
  return ok;
}

bool readCorpusFile(const std::string& path, std::vector<std::string>& utf8Paths) {
  std::vector<std::string> entries;
  if (!readStringListFile(path, entries)) return false;
  utf8Paths.clear();
  for (const std::string& e : entries) {
    // A blank line names no document.
    if (e.find_first_not_of(" \t") != std::string::npos) utf8Paths.push_back(pathFromCp1252File(e));
  }
  return true;
}

bool writeCorpusFile(const std::string& path, const std::vector<std::string>& utf8Paths) {
  std::vector<std::string> entries;
  entries.reserve(utf8Paths.size());
  for (const std::string& p : utf8Paths) entries.push_back(pathToCp1252File(p));
  return writeStringListFile(path, entries);
}

}  // namespace lirno
