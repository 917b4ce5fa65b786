#pragma once
// Thesaurus (".the") and corpus (".cor") files: one entry per line, no
// header, no comments, no escapes.
#include <string>
#include <string_view>
#include <vector>

namespace lirno {

// Splits file bytes into entries at CR, LF or CR LF; every line, blank ones
// included, is an entry, and a last line needs no break.
std::vector<std::string> splitLines(std::string_view bytes);

// Reads a thesaurus file: entries as they stand (Windows-1252). False, with
// `entries` unchanged and errno set, when the file cannot be read (also a
// FIFO or a device, which is never waited on).
bool readStringListFile(const std::string& path, std::vector<std::string>& entries);

// Writes every entry followed by CR LF, replacing the file through
// FileWriter (a failed write loses nothing) or appending to it. False, with
// errno set, when the file cannot be written.
bool writeStringListFile(const std::string& path, const std::vector<std::string>& entries,
                         bool append = false);

// Corpus files hold Windows-1252 paths; in memory paths are UTF-8. Each path
// comes back exactly as it was written (pathToCp1252File); blank lines are
// skipped, since they name no document.
bool readCorpusFile(const std::string& path, std::vector<std::string>& utf8Paths);
bool writeCorpusFile(const std::string& path, const std::vector<std::string>& utf8Paths);

}  // namespace lirno
