#pragma once
// Windows-1252 <-> Unicode. The five codes that Windows-1252 leaves
// unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the
// same value, so the mapping is a bijection between the 256 byte values and
// 256 code points and every byte string survives a round trip.
#include <string>
#include <string_view>

namespace lirno {

// Code point of a Windows-1252 byte.
char32_t cp1252ToUnicode(unsigned char byte);

// Windows-1252 byte of a code point, or -1 when the code point has none.
int unicodeToCp1252(char32_t codePoint);

// Windows-1252 bytes to UTF-8.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252. Code points without a Windows-1252 byte and
// malformed UTF-8 become `replacement`; `lossless` (when given) tells
// whether that happened.
std::string utf8ToCp1252(std::string_view utf8, char replacement = '?', bool* lossless = nullptr);

}  // namespace lirno
