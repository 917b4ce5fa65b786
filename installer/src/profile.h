// Reading the install script and the description file through the system's
// private-profile functions, into buffers of fixed size.
#pragma once

#include <string>
#include <string_view>

namespace stelvane {

struct Installer;

inline constexpr size_t kValueSize = 1024;  // characters of a value
inline constexpr size_t kPathSize = 260;    // characters of a folder or file value
inline constexpr size_t kListSize = 20000;  // the [KXF] INI and REG lists

// Reads one value; at most `capacity` - 1 characters are kept.
std::wstring readProfile(const std::wstring& file, std::wstring_view section,
                         std::wstring_view key, std::wstring_view defaultValue = {},
                         size_t capacity = kValueSize);
int readProfileInt(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                   int defaultValue);
bool writeProfile(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                  std::wstring_view value);
// WIN.INI.
int readWinIniInt(std::wstring_view section, std::wstring_view key, int defaultValue);

// The name under which a localized section is read: SECTION_suffix, or the
// plain name when no suffix is set (never a fallback from one to the other).
std::wstring localizedSection(std::wstring_view section, std::wstring_view suffix);
// Reads `key` of the localized `section` of `file` (the install script by default).
std::wstring readLocalized(const Installer& installer, std::wstring_view section,
                           std::wstring_view key, std::wstring_view defaultValue = {},
                           size_t capacity = kValueSize, const std::wstring* file = nullptr);

// Numbered keys: PREFIX + n ("COPY1") and PREFIX + n in five digits ("F00001").
std::wstring numberedKey(std::wstring_view prefix, int n);
std::wstring fiveDigitKey(std::wstring_view prefix, int n);

// A key whose value is "Y" (or "O" where the key says so) is tested on its
// first character only.
bool firstCharIs(std::wstring_view value, wchar_t c);

}  // namespace stelvane
