// The settings reader over any file: look-ups of any names end, and a write
// gives back its value while every other key keeps its own.
//
// Input: the file's bytes NUL section NUL key NUL value.
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "platform/ini_file.h"

using lirno::fuzz::fail;

namespace {

// A name and a value the profile format can hold as they stand.
bool plainName(std::string_view s) {
  if (s.empty() || s.size() > 32) return false;
  for (const char c : s) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

bool plainValue(std::string_view s) {
  if (s.size() > 64) return false;
  for (const char c : s) {
    if (c == '\r' || c == '\n' || c == '\0') return false;
  }
  return s.empty() || (s.front() != ' ' && s.front() != '\t' && s.back() != ' ' && s.back() != '\t');
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const lirno::fuzz::Input in(data, size, 0, 4);
  static const std::string path = lirno::fuzz::scratchFile("Lirno.ini");
  lirno::fuzz::writeFile(path, in.parts[0]);
  const lirno::IniFile ini(path);
  const std::string_view section = in.parts[1], key = in.parts[2], value = in.parts[3];
  ini.readString(section, key, "none");
  ini.readInt(section, key, -1);
  const std::string rules = ini.readString("Lirno", "Rules", "none");
  const std::string left = ini.readString("Window", "Left", "none");

  if (plainName(section) && plainName(key) && plainValue(value) && ini.writeString(section, key, value)) {
    if (ini.readString(section, key, "none") != value) fail("a written value does not read back");
    if (!(sameName(section, "Lirno") && sameName(key, "Rules")) && ini.readString("Lirno", "Rules", "none") != rules) {
      fail("a write changed another key");
    }
    if (!(sameName(section, "Window") && sameName(key, "Left")) && ini.readString("Window", "Left", "none") != left) {
      fail("a write changed another key");
    }
  }
  std::remove(path.c_str());
  return 0;
}
