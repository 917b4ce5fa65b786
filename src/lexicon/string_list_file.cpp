#include "lexicon/string_list_file.h"

#include "platform/cp1252.h"
#include "platform/file_read.h"
#include "platform/file_write.h"

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
  FileWriter out;
  if (!out.open(path, append ? FileWriter::Mode::Append : FileWriter::Mode::Replace)) return false;
  for (const std::string& e : entries) {
    if (!out.write(e) || !out.write("\r\n")) break;
  }
  return out.commit();  // errno says why when it failed
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
