// Wide-text helpers of the installer. Every text is UTF-16 (std::wstring);
// conversions to UTF-8 exist only for test output and logs.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stelvane {

std::wstring trim(std::wstring_view text);
// Removes every white-space character (space, tab, CR, LF, ...).
std::wstring removeWhiteSpace(std::wstring_view text);
// Upper case under the user's default locale (LCMapStringEx).
std::wstring toUpper(std::wstring_view text);

// Replaces every occurrence of `from` (exact, case-sensitive) in `text`.
void replaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to);
// Splits at each occurrence of `separator`; an empty text gives one empty field.
std::vector<std::wstring> split(std::wstring_view text, std::wstring_view separator);
// Field `index` (from 0) of `text` split at `separator`; empty when missing.
std::wstring field(std::wstring_view text, std::wstring_view separator, size_t index);

bool startsWith(std::wstring_view text, std::wstring_view prefix);
bool endsWith(std::wstring_view text, std::wstring_view suffix);

// Fills a printf-style format with texts, safely: %s, %d, %i, %u, %c, %x with
// the flags "-+#0", a width and length modifiers each take the next argument as text
// (missing ones give empty text), "%%" gives "%", anything else is kept as it
// stands. Formats come from script files, so nothing here can read past the
// arguments given.
std::wstring formatText(std::wstring_view format, std::span<const std::wstring> args);

// Decimal text of a number, for the arguments of formatText.
std::wstring decimal(long long value);
// Parses a whole decimal text (optional sign); false for anything else.
bool parseDecimal(std::wstring_view text, long long& value);

std::wstring fromUtf8(std::string_view text);
std::string toUtf8(std::wstring_view text);

}  // namespace stelvane
