#include "platform/cp1252.h"

#include <array>

namespace lirno {
namespace {

// 0x80..0x9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

char32_t cp1252ToUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
  return byte;
}

int unicodeToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
  }
  return -1;
}

std::string cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out.push_back(c);
    } else {
      appendUtf8(out, cp1252ToUnicode(b));
    }
  }
  return out;
}

std::string utf8ToCp1252(std::string_view in, char replacement, bool* lossless) {
  std::string out;
  out.reserve(in.size());
  bool ok = true;
  std::size_t i = 0;
  while (i < in.size()) {
    // Runs of ASCII are copied whole; they are most of any French text.
    std::size_t run = i;
    while (run < in.size() && static_cast<unsigned char>(in[run]) < 0x80) ++run;
    if (run > i) {
      out.append(in.data() + i, run - i);
      i = run;
      continue;
    }
    const auto b = static_cast<unsigned char>(in[i]);
    // Latin-1 letters (U+00C0..U+00FF, and U+00A0..U+00BF) are the same byte.
    if (b == 0xC3 || b == 0xC2) {
      if (i + 1 < in.size()) {
        const auto c = static_cast<unsigned char>(in[i + 1]);
        if ((c & 0xC0) == 0x80 && (b == 0xC3 || c >= 0xA0)) {
          out.push_back(static_cast<char>(b == 0xC3 ? c + 0x40 : c));
          i += 2;
          continue;
        }
      }
    }
    int extra = 0;
    char32_t cp = 0;
    if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    } else {
      out.push_back(replacement);
      ok = false;
      ++i;
      continue;
    }
    if (i + static_cast<std::size_t>(extra) >= in.size()) {
      out.push_back(replacement);
      ok = false;
      break;
    }
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto cb = static_cast<unsigned char>(in[i + k]);
      if ((cb & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      cp = (cp << 6) | (cb & 0x3F);
    }
    if (!valid) {
      out.push_back(replacement);
      ok = false;
      ++i;
      continue;
    }
    i += static_cast<std::size_t>(extra) + 1;
    const int byte = unicodeToCp1252(cp);
    if (byte < 0) {
      out.push_back(replacement);
      ok = false;
    } else {
      out.push_back(static_cast<char>(byte));
    }
  }
  if (lossless) *lossless = ok;
  return out;
}

namespace {

// Length of the valid UTF-8 sequence at `i` (overlong forms, surrogates and
// code points above U+10FFFF are invalid), 0 when there is none; `cp` gets
// its code point.
std::size_t utf8Sequence(std::string_view in, std::size_t i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(in[i]);
  if (b < 0x80) {
    cp = b;
    return 1;
  }
  std::size_t extra;
  char32_t min;
  if (b >= 0xC2 && b <= 0xDF) {
    extra = 1, min = 0x80, cp = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    extra = 2, min = 0x800, cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    extra = 3, min = 0x10000, cp = b & 0x07;
  } else {
    return 0;
  }
  if (i + extra >= in.size()) return 0;
  for (std::size_t k = 1; k <= extra; ++k) {
    const auto cb = static_cast<unsigned char>(in[i + k]);
    if ((cb & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cb & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return extra + 1;
}

}  // namespace

bool isMultiByteUtf8(std::string_view bytes) {
  bool multiByte = false;
  char32_t cp;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = utf8Sequence(bytes, i, cp);
    if (n == 0) return false;
    multiByte = true;
    i += n;
  }
  return multiByte;
}

std::string charactersWithoutCp1252(std::string_view utf8, std::size_t* firstOffset,
                                    std::size_t limit) {
  std::string out;
  std::size_t count = 0;
  char32_t cp;
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = utf8Sequence(utf8, i, cp);
    std::string_view ch;
    if (n == 0) {
      n = 1;
      ch = "\xEF\xBF\xBD";  // a malformed byte shows as the replacement character
    } else if (unicodeToCp1252(cp) < 0) {
      ch = utf8.substr(i, n);
    }
    if (!ch.empty()) {
      if (out.empty() && firstOffset) *firstOffset = i;
      if (out.find(ch) == std::string::npos) {
        if (count == limit) break;
        if (!out.empty()) out.push_back(' ');
        out.append(ch);
        ++count;
      }
    }
    i += n;
  }
  return out;
}

std::string pathToCp1252File(std::string_view utf8Path) {
  if (!isMultiByteUtf8(utf8Path)) return std::string(utf8Path);  // ASCII, or not UTF-8 text
  bool lossless = false;
  std::string ansi = utf8ToCp1252(utf8Path, '?', &lossless);
  // A Windows-1252 form that reads as UTF-8 would come back as another path.
  if (!lossless || isMultiByteUtf8(ansi)) return std::string(utf8Path);
  return ansi;
}

std::string pathFromCp1252File(std::string_view stored) {
  if (isMultiByteUtf8(stored)) return std::string(stored);
  return cp1252ToUtf8(stored);
}

}  // namespace lirno
