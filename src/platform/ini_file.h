#pragma once
// A settings file with the semantics of the Windows profile functions:
// section and key names compare without regard to ASCII case, the first
// matching section and key win, values are trimmed of blanks, a missing file
// reads as all defaults, and a write replaces the first matching key line (or
// adds the key, and the section when missing) while every other line and
// comment stays byte for byte as it was.
//
// Values are bytes as stored in the file (Windows-1252 for the workbench's
// own files); callers convert.
#include <string>
#include <string_view>

namespace lirno {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}

  const std::string& path() const { return path_; }

  // Value of [section] key, or `fallback` when the file, the section or the
  // key is missing.
  std::string readString(std::string_view section, std::string_view key,
                         std::string_view fallback = {}) const;

  // The leading decimal number of the value (an optional sign, then digits;
  // none gives 0), or `fallback` when the key is missing.
  int readInt(std::string_view section, std::string_view key, int fallback) const;

  // Writes [section] key=value. The whole file is replaced through
  // writeWholeFile (file_write.h), so an interrupted write never loses it;
  // a symbolic link is written through to its target. Returns false, with
  // errno set, when the file cannot be written (missing or read-only
  // folder, full disk) or when it exists but cannot be read (no right, not
  // a regular file): its other keys would be lost.
  bool writeString(std::string_view section, std::string_view key, std::string_view value) const;
  bool writeInt(std::string_view section, std::string_view key, int value) const;

 private:
  std::string path_;
};

}  // namespace lirno
