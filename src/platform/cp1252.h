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

// Whether `bytes` is valid UTF-8 holding at least one multi-byte sequence
// (plain ASCII is not: it reads the same in both encodings).
bool isMultiByteUtf8(std::string_view bytes);

// The distinct characters of UTF-8 `utf8` that have no Windows-1252 byte,
// in order of first appearance, as UTF-8 separated by spaces (at most
// `limit` of them; a
// malformed byte counts as U+FFFD); empty when every one has one.
// `firstOffset` (when given) gets the byte offset of the first of them.
std::string charactersWithoutCp1252(std::string_view utf8, std::size_t* firstOffset = nullptr,
                                    std::size_t limit = 32);

// Paths are the file system's bytes and must come back exactly from the
// Windows-1252 files that store them (corpus, settings). A path is written
// in its Windows-1252 form when it is UTF-8 text that has one (so files
// stay readable by the Windows program), else as its own bytes; a stored
// line that is multi-byte UTF-8 is taken as it stands, any other as
// Windows-1252. pathFromCp1252File(pathToCp1252File(p)) == p for every
// valid UTF-8 `p` (the only paths the file dialogs hand out).
std::string pathToCp1252File(std::string_view utf8Path);
std::string pathFromCp1252File(std::string_view stored);

}  // namespace lirno
