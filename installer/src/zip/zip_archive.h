// An archive file as the installer uses it: opened by path, entries listed
// and looked up by their names with "\" separators, each extracted to a
// target file that then gets the entry's stored date, time and attributes.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zip/zip_reader.h"

namespace stelvane {

// Extraction codes (one per file; shown to the user as "(%d)").
enum ExtractionCode : int {
  kExtractPlaced = 0,
  kExtractNoEntry = 1,
  kExtractCannotCreate = 2,  // the archive or the target could not be opened, created or written
  kExtractShortData = 3,
  kExtractNoMemory = 9,
  kExtractCopyFailed = 10,   // copying a file from the source folder (list mode)
  kExtractBadData = 30,      // unreadable, not inflatable, wrong CRC-32 or size
  kExtractNotOpen = 1000,
};

class ZipArchive {
 public:
  ZipArchive();
  ~ZipArchive();
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // 0 when the archive is open; otherwise kExtractCannotCreate (no such
  // file) or kExtractBadData (not a ZIP archive, or a damaged directory).
  int open(const std::wstring& path);
  void close();
  bool isOpen() const;

  size_t count() const;
  // The name of entry `index` with "\" instead of "/" (a folder entry ends with "\").
  const std::wstring& entryName(size_t index) const;
  const zip::Entry& entry(size_t index) const;
  // The entry of that name ("/" or "\" separators): the exact name first,
  // else the first one equal when case is ignored.
  std::optional<size_t> find(std::wstring_view name) const;

  // Extracts the entry named `name` / entry `index` over `target` (created
  // anew; a folder entry creates the folder). A failed extraction leaves no
  // partial file behind. Returns an extraction code.
  int extract(std::wstring_view name, const std::wstring& target);
  int extractIndex(size_t index, const std::wstring& target);

 private:
  class FileSource;
  std::unique_ptr<FileSource> source_;
  zip::Reader reader_;
  std::vector<std::wstring> names_;
  std::unordered_map<std::wstring, size_t> byName_;
};

// Decodes an entry's stored name: UTF-8 when flagged so, else the OEM code
// page; "/" becomes "\".
std::wstring decodeEntryName(const zip::Entry& entry);

// The file attributes an extracted file receives from its central entry:
// MS-DOS origin: the stored attributes; Unix origin: normal when the owner
// may write, else read-only; anything else: none (normal).
DWORD attributesOf(const zip::Entry& entry);

// True when `name` (an entry name with "\" separators) stays inside the
// folder it is extracted into: not empty, not absolute, no drive or other
// colon, no ".." (nor any other component made only of dots and spaces,
// which the system would turn into one), and no device name ("CON", "nul.txt").
bool isContainedEntryName(std::wstring_view name);

}  // namespace stelvane
